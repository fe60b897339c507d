pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import Verlo

// The four section buttons at the top of the sidebar. npm and Brew are disabled (and dimmed)
// while their tool is missing.
Rectangle {
    id: root

    required property ContentViewModel viewModel

    implicitHeight: row.implicitHeight + 2 * Theme.spacingXS
    color: Theme.controlBackground

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.margins: Theme.spacingXS
        spacing: 0

        Repeater {
            model: [
                { section: Section.Applications, title: "Applications", label: qsTr("Applications"), symbol: "app.fill" },
                { section: Section.NPM, title: "npm", label: qsTr("npm"), symbol: "terminal.fill" },
                { section: Section.Homebrew, title: "Brew", label: qsTr("Brew"), symbol: "cup.and.saucer.fill" },
                { section: Section.SystemData, title: "System Data", label: qsTr("System Data"), symbol: "internaldrive.fill" }
            ]

            delegate: SectionButton {
                required property var modelData
                Layout.fillWidth: true
                Layout.preferredWidth: 1
                title: modelData.title
                label: modelData.label
                symbol: modelData.symbol
                isSelected: root.viewModel.section === modelData.section
                isAvailable: modelData.section === Section.NPM ? root.viewModel.npm.isAvailable
                           : modelData.section === Section.Homebrew ? root.viewModel.homebrew.isAvailable
                           : true
                onClicked: root.viewModel.showSection(modelData.section)
            }
        }
    }

    component SectionButton: Item {
        id: button

        // title names the section for the view model; label is what the button shows.
        property string title
        property string label
        property string symbol
        property bool isSelected
        property bool isAvailable: true
        readonly property color foreground: isSelected ? Theme.accent
                                                       : !isAvailable ? Theme.alpha(Theme.secondaryText, 0.5)
                                                                      : Theme.primaryText
        signal clicked

        objectName: "sectionButton_" + title
        enabled: isAvailable
        implicitHeight: label.implicitHeight + Theme.spacingXL
        implicitWidth: label.implicitWidth

        Rectangle {
            anchors.fill: parent
            radius: Theme.radiusM
            color: button.isSelected ? Theme.alpha(Theme.accent, 0.1)
                                     : hover.hovered && button.enabled ? Theme.hover : "transparent"
            Behavior on color {
                ColorAnimation {
                    duration: Theme.animationDuration
                    easing.type: Easing.InOutQuad
                }
            }
        }

        Column {
            id: label
            anchors.centerIn: parent
            spacing: Theme.spacingXS
            Symbol {
                anchors.horizontalCenter: parent.horizontalCenter
                name: button.symbol
                size: 18
                color: button.foreground
            }
            Text {
                textFormat: Text.PlainText
                anchors.horizontalCenter: parent.horizontalCenter
                text: button.label
                color: button.foreground
                font.family: Theme.fontFamily
                font.pixelSize: Theme.caption2Size
            }
        }

        HoverHandler {
            id: hover
        }
        TapHandler {
            onTapped: button.clicked()
        }
        Accessible.role: Accessible.Button
        Accessible.name: title
    }
}
