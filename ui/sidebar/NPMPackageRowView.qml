import QtQuick
import QtQuick.Layouts
import Verlo

// One global npm package: icon, name and version.
ItemRow {
    id: root

    required property string name
    required property string version
    required property bool hasVersion
    required iconSource
    required isSelected

    objectName: "npmRow_" + name
    title: name
    fallbackSymbol: "terminal.fill"

    Text {
        Layout.fillWidth: true
        visible: root.hasVersion
        textFormat: Text.PlainText
        text: "v" + root.version
        color: Theme.secondaryText
        font.family: Theme.fontFamily
        font.pixelSize: Theme.captionSize
        elide: Text.ElideRight
        maximumLineCount: 1
    }
}
