pragma Singleton
import QtQuick

// The window's one palette and type scale: a light desktop look with one accent colour.
QtObject {
    // Colours
    readonly property color accent: "#0A6CF5"
    readonly property color accentHover: "#0A5FD8"
    readonly property color windowBackground: "#FFFFFF"
    readonly property color sidebarBackground: "#F5F6F8"
    readonly property color controlBackground: "#FFFFFF"
    readonly property color groupBackground: "#F6F7F9"
    readonly property color primaryText: "#1D1D1F"
    readonly property color secondaryText: "#6E6E76"
    readonly property color tertiaryText: "#A1A1A8"
    readonly property color separator: "#E3E4E8"
    readonly property color border: "#D4D6DC"
    readonly property color hover: "#0F000000"
    readonly property color pressed: "#1A000000"
    readonly property color fieldBackground: "#FFFFFF"
    readonly property color green: "#2BA84A"
    readonly property color yellow: "#D9A300"
    readonly property color orange: "#F08300"
    readonly property color red: "#E5372D"
    readonly property color blue: "#2F7CF6"
    readonly property color folderBlue: "#4A9EF0"
    // Colours of single controls
    readonly property color groupBorder: "#ECEDF0"
    readonly property color buttonHover: "#F6F7F9"
    readonly property color buttonPressed: "#ECEDF0"
    readonly property color buttonShadow: "#14000000"
    readonly property color checkBoxBorder: "#C2C5CC"
    readonly property color checkBoxBorderHover: "#A9ADB6"
    readonly property color searchFieldBackground: "#EBECEF"
    readonly property color scrollBar: "#40000000"
    readonly property color scrollBarHover: "#66000000"
    readonly property color scrollBarPressed: "#80000000"
    readonly property color dialogDim: "#33000000"
    readonly property color dialogBorder: "#D8DAE0"

    // Type scale (pixels)
    // Where it is missing, the font machinery falls back to the system's sans-serif face.
    readonly property string fontFamily: "DejaVu Sans"
    readonly property int title2Size: 17
    readonly property int headlineSize: 12
    readonly property int bodySize: 12
    readonly property int calloutSize: 12
    readonly property int captionSize: 11
    readonly property int caption2Size: 10

    // Spacing: gaps, margins and paddings (pixels)
    readonly property int spacingXXS: 2
    readonly property int spacingXS: 4
    readonly property int spacingS: 6
    readonly property int spacingM: 8
    readonly property int spacingL: 12
    readonly property int spacingXL: 16

    // Corner radii (pixels)
    readonly property int radiusS: 4
    readonly property int radiusSM: 5
    readonly property int radiusM: 6
    readonly property int radiusL: 8

    // Symbol and icon sizes (pixels)
    readonly property int iconS: 14
    readonly property int iconM: 16
    readonly property int iconL: 48

    // Motion
    readonly property int animationDuration: 200

    // The colour with its alpha replaced (opacity 0..1).
    function alpha(c, opacity) {
        return Qt.rgba(c.r, c.g, c.b, opacity)
    }

    // Colour of a file's size: red above 500 MB, orange above 100 MB, yellow above 10 MB
    // (megabytes of 1048576 bytes, strictly greater), else secondary.
    function sizeColor(bytes) {
        const mb = bytes / 1048576
        if (mb > 500)
            return red
        if (mb > 100)
            return orange
        if (mb > 10)
            return yellow
        return secondaryText
    }

    // The same on a selected (pale blue) row, where yellow and orange text is hard to read: they
    // are drawn darker there.
    function sizeColorOnSelection(bytes) {
        const mb = bytes / 1048576
        if (mb > 500)
            return red
        if (mb > 10)
            return Qt.darker(mb > 100 ? orange : yellow, 1.45)
        return secondaryText
    }
}
