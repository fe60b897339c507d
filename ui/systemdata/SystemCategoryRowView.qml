import QtQuick
import QtQuick.Layouts
import Verlo

// One System Data category: its symbol in the colour of how safe it is to clean, its name and
// item count, its size and its safety badge. A click opens its entries in the detail pane.
Item {
    id: root

    required property int category // a Category value
    required property string categoryName
    required property string title
    required property string iconName
    required property string formattedSize
    required property real totalSize
    required property int fileCount
    required property bool isSelected

    // A click: open this category.
    signal chosen(int category)

    // A Safety value (Safety.None: no badge), and the badge's text.
    required property int safety
    required property string safetyText
    readonly property color safetyColor: {
        switch (safety) {
        case Safety.Safe: return Theme.green
        case Safety.Review: return Theme.yellow
        case Safety.Caution: return Theme.orange
        default: return Theme.secondaryText
        }
    }

    objectName: "systemCategoryRow_" + categoryName
    implicitHeight: row.implicitHeight + 2 * Theme.spacingM

    Rectangle {
        anchors.fill: parent
        anchors.leftMargin: Theme.spacingS
        anchors.rightMargin: Theme.spacingS
        radius: Theme.radiusM
        color: root.isSelected ? Theme.alpha(Theme.accent, 0.15)
                               : hover.hovered ? Theme.hover : "transparent"
        Behavior on color {
            ColorAnimation {
                duration: Theme.animationDuration
                easing.type: Easing.InOutQuad
            }
        }
    }

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: Theme.spacingL
        anchors.rightMargin: Theme.spacingL
        anchors.topMargin: Theme.spacingM
        anchors.bottomMargin: Theme.spacingM
        spacing: Theme.spacingL

        Item {
            Layout.preferredWidth: 32
            Layout.preferredHeight: 32
            Rectangle {
                anchors.fill: parent
                radius: Theme.radiusL
                color: Theme.alpha(root.safetyColor, 0.12)
            }
            Symbol {
                anchors.centerIn: parent
                name: root.iconName
                size: 20
                color: root.safetyColor
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.spacingXXS
            Text {
                textFormat: Text.PlainText
                Layout.fillWidth: true
                text: root.title
                color: Theme.primaryText
                font.family: Theme.fontFamily
                font.pixelSize: Theme.bodySize
                elide: Text.ElideRight
                maximumLineCount: 1
            }
            Text {
                textFormat: Text.PlainText
                objectName: "categoryDetail"
                Layout.fillWidth: true
                readonly property bool isDocker: root.category === Category.DockerData
                visible: isDocker || root.fileCount >= 2
                text: isDocker ? qsTr("Containers, images & volumes (Docker Desktop data)")
                               : qsTr("%1 items").arg(root.fileCount)
                color: Theme.secondaryText
                font.family: Theme.fontFamily
                font.pixelSize: isDocker ? Theme.caption2Size : Theme.captionSize
                elide: Text.ElideRight
                maximumLineCount: 1
            }
        }

        ColumnLayout {
            spacing: Theme.spacingXXS
            Text {
                textFormat: Text.PlainText
                objectName: "categorySize"
                Layout.alignment: Qt.AlignRight
                readonly property bool hasSize: Number(root.totalSize) > 0
                readonly property bool isSnapshots: root.category === Category.TimeMachineSnapshots
                visible: hasSize || isSnapshots
                text: hasSize ? root.formattedSize
                              : root.fileCount === 1 ? qsTr("%1 snapshot").arg(root.fileCount)
                                                    : qsTr("%1 snapshots").arg(root.fileCount)
                color: hasSize ? Theme.primaryText : Theme.secondaryText
                font.family: Theme.fontFamily
                font.pixelSize: hasSize ? Theme.bodySize : Theme.captionSize
                font.weight: hasSize ? Font.Medium : Font.Normal
            }
            Badge {
                objectName: "safetyBadge"
                Layout.alignment: Qt.AlignRight
                visible: root.safety !== Safety.None
                text: root.safetyText
                textColor: root.safetyColor
            }
        }
    }

    HoverHandler {
        id: hover
    }
    TapHandler {
        onTapped: root.chosen(root.category)
    }
}
