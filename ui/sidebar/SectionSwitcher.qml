pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Verlo

// The section buttons at the top of the sidebar, one per row of the view model's section table.
// A section whose tool is missing (npm, Brew) is disabled and dimmed. In a narrow sidebar the
// labels shrink a little; when even that does not fit, the buttons show their symbols only, with
// the label as a tooltip.
Rectangle {
    id: root

    required property ContentViewModel viewModel
    // The widest label, at its smallest size, fits each button's share of the row.
    readonly property bool showsLabels: {
        let widest = 0
        for (let i = 0; i < buttons.count; ++i) {
            const button = buttons.itemAt(i) as SectionButton
            if (button)
                widest = Math.max(widest, button.labelWidth)
        }
        return buttons.count === 0
               || widest * root.smallestLabelSize / Theme.caption2Size + Theme.spacingXS
                  <= row.width / buttons.count
    }

    readonly property int smallestLabelSize: 8

    implicitHeight: row.implicitHeight + 2 * Theme.spacingXS
    color: Theme.controlBackground

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.margins: Theme.spacingXS
        spacing: 0

        Repeater {
            id: buttons
            model: root.viewModel.sections

            delegate: SectionButton {
                required property int section
                required title
                required label
                required symbol
                required isAvailable
                Layout.fillWidth: true
                Layout.preferredWidth: 1
                showsLabel: root.showsLabels
                isSelected: root.viewModel.section === section
                onClicked: root.viewModel.showSection(section)
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
        property bool showsLabel: true
        readonly property real labelWidth: caption.implicitWidth
        readonly property color foreground: isSelected ? Theme.accent
                                                       : !isAvailable ? Theme.alpha(Theme.secondaryText, 0.5)
                                                                      : Theme.primaryText
        signal clicked

        objectName: "sectionButton_" + title
        enabled: isAvailable
        // The same height with or without the label.
        implicitHeight: symbol.size + content.spacing + caption.implicitHeight + Theme.spacingXL
        implicitWidth: content.implicitWidth

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
            id: content
            anchors.centerIn: parent
            spacing: Theme.spacingXS
            Symbol {
                id: symbol
                anchors.horizontalCenter: parent.horizontalCenter
                name: button.symbol
                size: 18
                color: button.foreground
            }
            Text {
                id: caption
                textFormat: Text.PlainText
                anchors.horizontalCenter: parent.horizontalCenter
                width: Math.min(implicitWidth, button.width - Theme.spacingXS)
                visible: button.showsLabel
                text: button.label
                color: button.foreground
                font.family: Theme.fontFamily
                font.pixelSize: Theme.caption2Size
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: root.smallestLabelSize
                horizontalAlignment: Text.AlignHCenter
            }
        }

        HoverHandler {
            id: hover
        }
        ToolTip.visible: hover.hovered && !button.showsLabel
        ToolTip.text: button.label
        ToolTip.delay: 500
        TapHandler {
            onTapped: button.clicked()
        }
        Accessible.role: Accessible.Button
        Accessible.name: title
    }
}
