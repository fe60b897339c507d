import QtQuick
import QtQuick.Templates as T
import Verlo

// A checkbox in the accent colour, with an optional caption-size label. It never flips itself:
// owners bind checked to their model and change the model in onClicked, so the box always shows
// the model's state.
T.CheckBox {
    id: root

    property int fontSize: Theme.captionSize

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitContentWidth + leftPadding + rightPadding,
                            implicitIndicatorWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset,
                             implicitContentHeight + topPadding + bottomPadding,
                             implicitIndicatorHeight + topPadding + bottomPadding)
    padding: 0
    checkable: false
    spacing: Theme.spacingS
    hoverEnabled: true
    opacity: enabled ? 1 : 0.45

    indicator: Rectangle {
        x: root.leftPadding
        y: root.topPadding + (root.availableHeight - height) / 2
        implicitWidth: 16
        implicitHeight: 16
        radius: Theme.radiusS
        color: root.checked ? (root.hovered ? Theme.accentHover : Theme.accent) : "white"
        border.width: root.checked ? 0 : 1
        border.color: root.hovered ? Theme.checkBoxBorderHover : Theme.checkBoxBorder

        Symbol {
            anchors.centerIn: parent
            visible: root.checked
            name: "checkmark"
            size: 11
            color: "white"
        }
    }

    contentItem: Text {
        textFormat: Text.PlainText
        leftPadding: root.text !== "" ? root.indicator.width + root.spacing : root.indicator.width
        verticalAlignment: Text.AlignVCenter
        text: root.text
        color: Theme.primaryText
        font.family: Theme.fontFamily
        font.pixelSize: root.fontSize
    }
}
