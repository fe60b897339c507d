import QtQuick
import Verlo

// A small label on a tinted rounded rectangle ("Cask", "Safe to clean").
Rectangle {
    id: root

    property string text
    property color textColor: Theme.secondaryText
    property color fill: Theme.alpha(textColor, 0.1)

    implicitWidth: label.implicitWidth + 2 * Theme.spacingS
    implicitHeight: label.implicitHeight + 2 * Theme.spacingXXS
    radius: Theme.radiusS
    color: fill

    Text {
        textFormat: Text.PlainText
        id: label
        anchors.centerIn: parent
        text: root.text
        color: root.textColor
        font.family: Theme.fontFamily
        font.pixelSize: Theme.caption2Size
        font.weight: Font.Medium
    }
}
