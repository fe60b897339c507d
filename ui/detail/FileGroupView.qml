pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import Verlo

// One category of found files: a header that folds the group, a Select All / Deselect All
// toggle, and the file rows while expanded.
Rectangle {
    id: root

    required property string groupId
    required property string categoryName
    required property string title
    required property string iconName
    required property string formattedSize
    required property int fileCount
    required property bool allSelected
    required property FileListModel files
    property bool sortBySize: false
    property bool isExpanded: true

    signal expansionToggled
    // Select All / Deselect All, and what its file rows ask for.
    signal groupSelectionRequested(string groupId, bool selected)
    signal fileToggled(string fileId)
    signal folderOpened(string path)

    objectName: "fileGroup_" + categoryName
    implicitHeight: column.implicitHeight + 24
    radius: Theme.radiusL
    color: Theme.groupBackground
    border.width: 1
    border.color: Theme.groupBorder

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: Theme.spacingL
        spacing: Theme.spacingM

        // Header: folds and unfolds the group.
        Item {
            objectName: "groupHeader_" + root.categoryName
            Layout.fillWidth: true
            implicitHeight: headerRow.implicitHeight

            RowLayout {
                id: headerRow
                anchors.fill: parent
                spacing: Theme.spacingM
                Symbol {
                    name: root.iconName
                    size: Theme.iconM
                    color: Theme.accent
                }
                Text {
                    textFormat: Text.PlainText
                    Layout.fillWidth: true
                    text: root.title
                    color: Theme.primaryText
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.headlineSize
                    font.bold: true
                    elide: Text.ElideRight
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "groupCount"
                    text: qsTr("%1 items").arg(root.fileCount)
                    color: Theme.secondaryText
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.captionSize
                }
                Text {
                    textFormat: Text.PlainText
                    text: "(" + root.formattedSize + ")"
                    color: Theme.secondaryText
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.captionSize
                }
                Symbol {
                    name: root.isExpanded ? "chevron.down" : "chevron.right"
                    size: 10
                    color: Theme.secondaryText
                }
            }
            TapHandler {
                onTapped: root.expansionToggled()
            }
            HoverHandler {
                cursorShape: Qt.PointingHandCursor
            }
        }

        VerloCheckBox {
            objectName: "groupToggle_" + root.categoryName
            visible: root.fileCount > 0
            checked: root.allSelected
            text: root.allSelected ? qsTr("Deselect All") : qsTr("Select All")
            onClicked: root.groupSelectionRequested(root.groupId, !root.allSelected)
        }

        // The rows fold away smoothly; collapsed, the area takes no room at all.
        Item {
            Layout.fillWidth: true
            Layout.preferredHeight: root.isExpanded ? rows.implicitHeight : 0
            visible: Layout.preferredHeight > 0
            clip: true

            Behavior on Layout.preferredHeight {
                NumberAnimation {
                    duration: Theme.animationDuration
                    easing.type: Easing.InOutQuad
                }
            }

            ColumnLayout {
                id: rows
                width: parent.width
                spacing: Theme.spacingXXS

                Repeater {
                    // Largest first while sorting by size; ties keep the scan order.
                    model: FileGroupSortModel {
                        sourceModel: root.files
                        bySize: root.sortBySize
                    }
                    delegate: FileRowView {
                        Layout.fillWidth: true
                        onToggled: fileId => root.fileToggled(fileId)
                        onFolderOpened: path => root.folderOpened(path)
                    }
                }
            }
        }
    }
}
