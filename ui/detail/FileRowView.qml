import QtQuick
import QtQuick.Layouts
import Verlo

// One found file: its checkbox, a folder or document symbol, name and path (and its last change
// where known), and its size coloured by how large it is. Only the checkbox changes the
// selection; a large folder's row opens it to its own largest entries.
Rectangle {
    id: root

    // {fileId, name, path, size, sizeText, isSelected, isDirectory, isPackageFile,
    //  unremovableReason, alsoUsedBy, lastModifiedText, canOpen}
    required property var file
    // The checkbox was clicked; the row (a large folder) asks to be opened.
    signal toggled(string fileId)
    signal folderOpened(string path)

    readonly property bool removable: file.unremovableReason === ""

    objectName: "fileRow_" + file.name
    implicitHeight: row.implicitHeight + 2 * Theme.spacingS
    radius: Theme.radiusSM
    color: file.isSelected ? Theme.alpha(Theme.accent, 0.1)
                           : hover.hovered ? Theme.hover : "transparent"

    Behavior on color {
        ColorAnimation {
            duration: Theme.animationDuration
            easing.type: Easing.InOutQuad
        }
    }

    HoverHandler {
        id: hover
    }

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: Theme.spacingM
        anchors.rightMargin: Theme.spacingM
        anchors.topMargin: Theme.spacingS
        anchors.bottomMargin: Theme.spacingS
        spacing: Theme.spacingL

        VerloCheckBox {
            objectName: "fileCheckBox"
            enabled: root.removable
            checked: root.file.isSelected
            Accessible.name: root.file.name
            onClicked: root.toggled(root.file.fileId)
        }
        Symbol {
            Layout.preferredWidth: Theme.iconM
            name: root.file.isDirectory ? "folder.fill" : "doc.fill"
            size: Theme.iconM
            color: root.file.isDirectory ? Theme.folderBlue : Theme.secondaryText
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.spacingXXS
            Text {
                textFormat: Text.PlainText
                Layout.fillWidth: true
                text: root.file.name
                color: Theme.primaryText
                font.family: Theme.fontFamily
                font.pixelSize: Theme.bodySize
                elide: Text.ElideRight
                maximumLineCount: 1
            }
            Text {
                textFormat: Text.PlainText
                objectName: "fileDetail"
                Layout.fillWidth: true
                text: !root.removable ? root.file.unremovableReason
                      : root.file.isPackageFile ? qsTr("Removed via package manager")
                      : root.file.alsoUsedBy !== ""
                        ? qsTr("Also used by %1 \u00B7 %2").arg(root.file.alsoUsedBy).arg(root.file.path)
                      : root.file.lastModifiedText !== ""
                        ? qsTr("%1 \u00B7 changed %2").arg(root.file.path).arg(root.file.lastModifiedText)
                        : root.file.path
                color: root.removable ? Theme.secondaryText : Theme.orange
                font.family: Theme.fontFamily
                font.pixelSize: Theme.captionSize
                elide: Text.ElideMiddle
                maximumLineCount: 1
            }
        }
        Text {
            textFormat: Text.PlainText
            objectName: "fileSize"
            text: root.file.sizeText
            color: root.file.isSelected ? Theme.sizeColorOnSelection(root.file.size)
                                        : Theme.sizeColor(root.file.size)
            font.family: Theme.fontFamily
            font.pixelSize: Theme.captionSize
            font.weight: root.file.size > 10 * 1048576 ? Font.DemiBold : Font.Normal
        }
        Symbol {
            objectName: "openFolderMark"
            visible: root.file.canOpen
            name: "chevron.right"
            size: Theme.iconS
            color: Theme.tertiaryText
        }
    }

    TapHandler {
        enabled: root.file.canOpen
        onTapped: root.folderOpened(root.file.path)
    }
}
