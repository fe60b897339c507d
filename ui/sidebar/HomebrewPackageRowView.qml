import QtQuick
import QtQuick.Layouts
import Verlo

// One Homebrew formula or cask: icon, name, the type badge and the version.
ItemRow {
    id: root

    required property string name
    required property string typeName
    required property bool isCask
    required property string version
    required property bool hasVersion
    required iconSource
    required isSelected

    objectName: "brewRow_" + name
    title: name
    fallbackSymbol: isCask ? "shippingbox.fill" : "terminal.fill"

    RowLayout {
        Layout.fillWidth: true
        spacing: Theme.spacingXS
        Badge {
            objectName: "typeBadge"
            text: root.typeName
            textColor: root.isCask ? Theme.blue : Theme.green
            fill: Theme.alpha(root.isCask ? Theme.blue : Theme.green, 0.2)
        }
        Text {
            textFormat: Text.PlainText
            visible: root.hasVersion
            // Casks carry "latest", which reads badly as "vlatest".
            text: /^[0-9]/.test(root.version) ? "v" + root.version : root.version
            color: Theme.secondaryText
            font.family: Theme.fontFamily
            font.pixelSize: Theme.captionSize
            elide: Text.ElideRight
            maximumLineCount: 1
            Layout.fillWidth: true
        }
    }
}
