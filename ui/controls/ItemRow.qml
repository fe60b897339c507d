import QtQuick
import QtQuick.Layouts
import Verlo

// The frame every list row shares: the icon in a 32 point frame, two lines of text, the hover
// and selection backgrounds, and a click anywhere on the row.
Item {
    id: root

    property bool isSelected
    property string iconSource
    property string fallbackSymbol
    property string title
    // What goes under the title (the row's own children); nothing visible shows a single line.
    default property alias subtitle: subtitleArea.data

    signal clicked

    implicitHeight: row.implicitHeight + 2 * Theme.spacingM

    Rectangle {
        anchors.fill: parent
        anchors.leftMargin: Theme.spacingS
        anchors.rightMargin: Theme.spacingS
        radius: Theme.radiusM
        color: root.isSelected ? Theme.alpha(Theme.accent, 0.15)
                               : hover.hovered ? Theme.hover : "transparent"
        Behavior on color {
            ColorAnimation {
                duration: Theme.animationDuration
                easing.type: Easing.InOutQuad
            }
        }
    }

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: Theme.spacingL
        anchors.rightMargin: Theme.spacingL
        anchors.topMargin: Theme.spacingM
        anchors.bottomMargin: Theme.spacingM
        spacing: Theme.spacingL

        ItemImage {
            Layout.preferredWidth: 32
            Layout.preferredHeight: 32
            iconSource: root.iconSource
            fallbackSymbol: root.fallbackSymbol
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.spacingXXS

            Text {
                textFormat: Text.PlainText
                objectName: "rowTitle"
                Layout.fillWidth: true
                text: root.title
                color: Theme.primaryText
                font.family: Theme.fontFamily
                font.pixelSize: Theme.bodySize
                elide: Text.ElideRight
                maximumLineCount: 1
            }
            ColumnLayout {
                id: subtitleArea
                Layout.fillWidth: true
                visible: visibleChildren.length > 0
                spacing: 0
            }
        }
    }

    HoverHandler {
        id: hover
    }
    TapHandler {
        onTapped: root.clicked()
    }
}
