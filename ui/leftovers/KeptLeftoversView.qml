pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import Verlo

// The names the user keeps out of the leftovers, folded under the list as "Kept (N)"; each can
// be listed again.
ColumnLayout {
    id: root

    required property LeftoversSection leftovers
    property bool isOpen: false

    visible: root.leftovers.keptNames.length > 0
    spacing: 0

    Separator {
        Layout.fillWidth: true
    }
    Item {
        objectName: "keptToggle"
        Layout.fillWidth: true
        implicitHeight: toggleRow.implicitHeight + 2 * Theme.spacingM

        RowLayout {
            id: toggleRow
            anchors.fill: parent
            anchors.leftMargin: Theme.spacingL
            anchors.rightMargin: Theme.spacingL
            spacing: Theme.spacingS
            Symbol {
                name: root.isOpen ? "chevron.down" : "chevron.right"
                size: Theme.iconS - 4
                color: Theme.secondaryText
            }
            Text {
                Layout.fillWidth: true
                textFormat: Text.PlainText
                text: qsTr("Kept (%1)").arg(root.leftovers.keptNames.length)
                color: Theme.secondaryText
                font.family: Theme.fontFamily
                font.pixelSize: Theme.captionSize
                font.weight: Font.Medium
            }
        }
        TapHandler {
            onTapped: root.isOpen = !root.isOpen
        }
        Accessible.role: Accessible.Button
        Accessible.name: qsTr("Kept (%1)").arg(root.leftovers.keptNames.length)
    }
    Repeater {
        model: root.isOpen ? root.leftovers.keptNames : []

        delegate: RowLayout {
            id: keptRow
            required property string modelData
            objectName: "keptRow_" + modelData
            Layout.fillWidth: true
            Layout.leftMargin: Theme.spacingL + Theme.spacingXL
            Layout.rightMargin: Theme.spacingL
            Layout.bottomMargin: Theme.spacingXS
            spacing: Theme.spacingS

            Text {
                Layout.fillWidth: true
                textFormat: Text.PlainText
                text: keptRow.modelData
                color: Theme.primaryText
                font.family: Theme.fontFamily
                font.pixelSize: Theme.captionSize
                elide: Text.ElideRight
            }
            VerloButton {
                objectName: "stopKeeping_" + keptRow.modelData
                text: qsTr("List Again")
                fontSize: Theme.captionSize
                onClicked: root.leftovers.stopKeeping(keptRow.modelData)
            }
        }
    }
}
