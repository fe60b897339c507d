pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Verlo

// The right pane: what is selected in the sidebar with its files in collapsible groups, the
// footer with the totals and the removal button, and the result banner after a removal. With
// nothing selected it explains what to do in the current section.
Rectangle {
    id: root

    required property ContentViewModel viewModel

    readonly property bool isSystemData: viewModel.section === Section.SystemData
    readonly property bool hasItem: viewModel.selectedItemHeader.title !== ""
    readonly property bool hasCategory: !hasItem && viewModel.systemData.selectedCategory !== ""
    readonly property bool hasSelection: hasItem || hasCategory
    // The header's title, subtitle and image (a DetailHeader) for what is selected.
    readonly property detailHeader header: hasItem ? viewModel.selectedItemHeader
                                                     : viewModel.systemData.selectedCategoryHeader
    readonly property int groupCount: viewModel.detail.fileGroups.count

    // Collapsed groups by group id. Group ids change with every scan, so new groups start
    // expanded; keeping the flags here lets them survive a change of sort order.
    property var collapsedGroups: ({})

    function setExpanded(groupId, expanded) {
        const next = Object.assign({}, collapsedGroups)
        if (expanded)
            delete next[groupId]
        else
            next[groupId] = true
        collapsedGroups = next
    }

    color: Theme.windowBackground

    // ---- Placeholder: nothing selected --------------------------------------------------------
    EmptyState {
        objectName: "detailPlaceholder"
        anchors.fill: parent
        visible: !root.hasSelection
        padding: 0
        symbolSize: Theme.iconL
        symbol: {
            switch (root.viewModel.section) {
            case Section.NPM: return "terminal.fill"
            case Section.Homebrew: return "cup.and.saucer.fill"
            case Section.SystemData: return "internaldrive.fill"
            case Section.Leftovers: return "leftovers.fill"
            default: return "arrow.left.circle"
            }
        }
        title: {
            switch (root.viewModel.section) {
            case Section.NPM:
            case Section.Homebrew: return qsTr("Select a package")
            case Section.SystemData: return qsTr("Scan System Data")
            case Section.Leftovers: return qsTr("Select a leftover")
            default: return qsTr("Select an app")
            }
        }
        detail: {
            switch (root.viewModel.section) {
            case Section.NPM: return qsTr("Choose a package from the sidebar to scan\nfor npm-related files")
            case Section.Homebrew: return qsTr("Choose a package from the sidebar to scan\nfor Homebrew-related files")
            case Section.SystemData: return qsTr("Click 'Scan System Data' in the sidebar\nto analyze storage usage by category.")
            case Section.Leftovers: return qsTr("Choose what a removed program left behind\nto see its files")
            default: return qsTr("Choose an app from the sidebar to scan\nfor associated files")
            }
        }
    }

    ColumnLayout {
        anchors.fill: parent
        visible: root.hasSelection
        spacing: 0

        // ---- Header ---------------------------------------------------------------------------
        RowLayout {
            Layout.fillWidth: true
            Layout.margins: Theme.spacingXL
            spacing: Theme.spacingXL

            ItemImage {
                Layout.preferredWidth: 64
                Layout.preferredHeight: 64
                frameSize: 64
                symbolSize: 40
                iconSource: root.header.iconSource
                fallbackSymbol: root.header.symbol
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: Theme.spacingXS
                Text {
                    textFormat: Text.PlainText
                    objectName: "detailTitle"
                    Layout.fillWidth: true
                    text: root.header.title
                    color: Theme.primaryText
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.title2Size
                    font.weight: Font.DemiBold
                    elide: Text.ElideRight
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "detailSubtitle"
                    Layout.fillWidth: true
                    visible: text !== ""
                    text: root.header.subtitle
                    color: Theme.secondaryText
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.captionSize
                    elide: Text.ElideRight
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "detailNote"
                    Layout.fillWidth: true
                    visible: text !== ""
                    text: root.header.note
                    color: Theme.secondaryText
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.captionSize
                    wrapMode: Text.Wrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                }
            }
            // A leftover row the user wants left alone goes to the Keep list.
            VerloButton {
                objectName: "keepButton"
                visible: root.hasItem && root.viewModel.section === Section.Leftovers
                enabled: !root.viewModel.isScanning
                text: qsTr("Keep")
                fontSize: Theme.calloutSize
                onClicked: root.viewModel.leftovers.keep(root.header.title)
            }
            VerloButton {
                objectName: "sortButton"
                visible: root.groupCount > 0 && !root.isSystemData
                enabled: !root.viewModel.isScanning
                text: root.viewModel.detail.sortBySize ? qsTr("Sort by Name") : qsTr("Sort by Size")
                symbol: root.viewModel.detail.sortBySize ? "textformat.abc" : "arrow.up.arrow.down"
                fontSize: Theme.calloutSize
                onClicked: root.viewModel.detail.sortBySize = !root.viewModel.detail.sortBySize
            }
        }

        Separator {
            Layout.fillWidth: true
        }

        // ---- Result banner --------------------------------------------------------------------
        Rectangle {
            objectName: "resultBanner"
            Layout.fillWidth: true
            Layout.leftMargin: Theme.spacingXL
            Layout.rightMargin: Theme.spacingXL
            Layout.topMargin: Theme.spacingM
            visible: root.viewModel.removal.hasLastDeleteSummary
            implicitHeight: bannerRow.implicitHeight + 24
            radius: Theme.radiusL
            color: Theme.alpha(Theme.green, 0.08)
            border.width: 1
            border.color: Theme.alpha(Theme.green, 0.18)

            RowLayout {
                id: bannerRow
                anchors.fill: parent
                anchors.margins: Theme.spacingL
                spacing: Theme.spacingM
                Symbol {
                    name: "checkmark.circle.fill"
                    size: 18
                    color: Theme.green
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "resultText"
                    Layout.fillWidth: true
                    text: root.viewModel.removal.lastDeleteSummary
                    color: Theme.primaryText
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.calloutSize
                    wrapMode: Text.Wrap
                }
                // Offered while the line stands for a removal that moved files to the Trash; the
                // line then stays until the user goes on (see ContentViewModel.canPutBack).
                VerloButton {
                    objectName: "putBackButton"
                    visible: root.viewModel.removal.canPutBack
                    text: qsTr("Put Back")
                    fontSize: Theme.calloutSize
                    onClicked: root.viewModel.removal.putBackLastRemoval()
                }
                VerloButton {
                    objectName: "openTrashButton"
                    text: qsTr("Open Trash")
                    fontSize: Theme.calloutSize
                    onClicked: Desktop.openTrash()
                }
            }
        }

        // ---- Opened folders: the way back up a Large Folders row -----------------------------
        RowLayout {
            objectName: "folderTrail"
            Layout.fillWidth: true
            Layout.leftMargin: Theme.spacingXL
            Layout.rightMargin: Theme.spacingXL
            Layout.topMargin: Theme.spacingM
            visible: root.viewModel.detail.openedFolders.length > 0
            spacing: Theme.spacingM
            VerloButton {
                objectName: "folderBackButton"
                look: "borderless"
                symbol: "arrow.left.circle"
                text: qsTr("Back")
                fontSize: Theme.calloutSize
                enabled: !root.viewModel.isScanning
                onClicked: root.viewModel.detail.closeFolder()
            }
            Text {
                textFormat: Text.PlainText
                objectName: "folderTrailText"
                Layout.fillWidth: true
                text: {
                    const parts = [root.header.title]
                    for (const path of root.viewModel.detail.openedFolders)
                        parts.push(path.substring(path.lastIndexOf("/") + 1))
                    return parts.join("  \u203A  ")
                }
                color: Theme.secondaryText
                font.family: Theme.fontFamily
                font.pixelSize: Theme.calloutSize
                elide: Text.ElideMiddle
            }
        }

        // ---- Body -----------------------------------------------------------------------------
        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            ColumnLayout {
                objectName: "detailBusyState"
                anchors.centerIn: parent
                width: Math.min(parent.width - 48, 460)
                visible: root.viewModel.isScanning
                spacing: Theme.spacingXL
                Spinner {
                    Layout.alignment: Qt.AlignHCenter
                    Layout.preferredWidth: 20
                    Layout.preferredHeight: 20
                }
                Text {
                    textFormat: Text.PlainText
                    Layout.alignment: Qt.AlignHCenter
                    text: root.isSystemData ? qsTr("Measuring...")
                                            : qsTr("Scanning for associated files...")
                    color: Theme.secondaryText
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.bodySize
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "progressText"
                    Layout.fillWidth: true
                    Layout.topMargin: -Theme.spacingM
                    horizontalAlignment: Text.AlignHCenter
                    text: root.viewModel.scanProgressText
                    color: Theme.tertiaryText
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.captionSize
                    elide: Text.ElideMiddle
                }
            }

            ListView {
                id: groupList
                objectName: "fileGroupList"
                anchors.fill: parent
                visible: !root.viewModel.isScanning && root.groupCount > 0
                clip: true
                spacing: Theme.spacingXL
                topMargin: Theme.spacingXL
                bottomMargin: Theme.spacingXL
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: VerloScrollBar {}
                model: FileGroupSortModel {
                    sourceModel: root.viewModel.detail.fileGroups
                    bySize: root.viewModel.detail.sortBySize
                }
                delegate: FileGroupView {
                    id: groupView
                    x: Theme.spacingXL
                    width: groupList.width - 2 * Theme.spacingXL
                    sortBySize: root.viewModel.detail.sortBySize
                    isExpanded: !root.collapsedGroups[groupView.groupId]
                    onExpansionToggled: root.setExpanded(groupView.groupId, !groupView.isExpanded)
                    onGroupSelectionRequested: (groupId, selected) => root.viewModel.detail.setGroupSelection(groupId, selected)
                    onFileToggled: fileId => root.viewModel.detail.toggleFile(fileId)
                    onFolderOpened: path => root.viewModel.detail.openFolder(path)
                }
            }

            EmptyState {
                objectName: "noFilesState"
                anchors.fill: parent
                visible: !root.viewModel.isScanning && root.groupCount === 0
                symbol: "tray"
                symbolSize: Theme.iconL
                title: qsTr("No associated files found")
                detail: {
                    switch (root.viewModel.section) {
                    case Section.NPM: return qsTr("No npm cache, node_modules, or NVM\nfiles found for this package.")
                    case Section.Homebrew: return qsTr("No Cellar, Caskroom, or cache files\nfound for this package.")
                    case Section.SystemData: return qsTr("Select a category from the sidebar to view system files.")
                    case Section.Leftovers: return qsTr("Everything this row listed is gone.")
                    default: return qsTr("No leftover Preference, Application Support,\nor Cache files were found for this app.")
                    }
                }
            }
        }

        Separator {
            Layout.fillWidth: true
        }

        // ---- Footer ---------------------------------------------------------------------------
        Rectangle {
            Layout.fillWidth: true
            implicitHeight: footerRow.implicitHeight + 2 * Theme.spacingXL
            color: Theme.sidebarBackground

            RowLayout {
                id: footerRow
                anchors.fill: parent
                anchors.margins: Theme.spacingXL
                spacing: Theme.spacingM

                Text {
                    textFormat: Text.PlainText
                    objectName: "footerSummary"
                    Layout.fillWidth: true
                    text: {
                        const detail = root.viewModel.detail
                        if (detail.totalSelectedCount > 0)
                            return qsTr("%1 file(s) selected (%2)").arg(detail.totalSelectedCount).arg(detail.totalSelectedSizeText)
                        if (root.groupCount > 0)
                            return qsTr("Total: %1 in %2 file(s)").arg(detail.fileGroupsTotalSizeText).arg(detail.fileGroupsFileCount)
                        return ""
                    }
                    color: Theme.secondaryText
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.bodySize
                    elide: Text.ElideRight
                }
                VerloButton {
                    objectName: "selectAllButton"
                    visible: root.groupCount > 0 && !root.isSystemData
                    enabled: !root.viewModel.isScanning
                    look: "borderless"
                    text: qsTr("Select All")
                    fontSize: Theme.calloutSize
                    onClicked: root.viewModel.detail.setAllSelected(true)
                }
                VerloButton {
                    objectName: "deselectAllButton"
                    visible: root.groupCount > 0 && !root.isSystemData
                    enabled: !root.viewModel.isScanning
                    look: "borderless"
                    text: qsTr("Deselect All")
                    fontSize: Theme.calloutSize
                    onClicked: root.viewModel.detail.setAllSelected(false)
                }
                VerloButton {
                    objectName: "moveToTrashButton"
                    look: "prominent"
                    tint: Theme.red
                    text: qsTr("Move to Trash")
                    symbol: "trash"
                    enabled: root.viewModel.detail.totalSelectedCount > 0 && !root.viewModel.isScanning
                    onClicked: root.viewModel.removal.showDeleteConfirmation = true
                }
            }
        }
    }
}
