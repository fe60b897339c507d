import QtQuick
import QtQuick.Layouts
import Verlo

// The package cache figure under a package list's search row.
Rectangle {
    id: root

    property string symbol
    property string label
    property string sizeText

    implicitHeight: row.implicitHeight + 2 * Theme.spacingM
    color: Theme.alpha(Theme.controlBackground, 0.5)

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: Theme.spacingL
        anchors.rightMargin: Theme.spacingL
        anchors.topMargin: Theme.spacingM
        anchors.bottomMargin: Theme.spacingM
        spacing: Theme.spacingM

        Symbol {
            name: root.symbol
            size: 13
            color: Theme.secondaryText
        }
        Text {
            textFormat: Text.PlainText
            text: root.label
            color: Theme.secondaryText
            font.family: Theme.fontFamily
            font.pixelSize: Theme.captionSize
        }
        Item {
            Layout.fillWidth: true
        }
        Text {
            textFormat: Text.PlainText
            objectName: "cacheSize"
            text: root.sizeText
            color: Theme.primaryText
            font.family: Theme.fontFamily
            font.pixelSize: Theme.captionSize
            font.weight: Font.Medium
        }
    }
}
