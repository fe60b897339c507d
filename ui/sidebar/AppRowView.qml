import QtQuick
import QtQuick.Layouts
import Verlo

// One application in the list: icon, name and bundle identifier (or how it was installed). A click selects it and starts
// the search for its files.
ItemRow {
    id: root

    required property string name
    required property string path
    required property string detail
    required iconSource
    required isSelected

    objectName: "appRow_" + name
    title: name
    fallbackSymbol: "app.fill"

    Text {
        Layout.fillWidth: true
        visible: root.detail !== ""
        textFormat: Text.PlainText
        text: root.detail
        color: Theme.secondaryText
        font.family: Theme.fontFamily
        font.pixelSize: Theme.captionSize
        elide: Text.ElideRight
        maximumLineCount: 1
    }
}
