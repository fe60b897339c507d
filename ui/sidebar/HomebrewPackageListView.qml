pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Verlo

// The Homebrew formulae and casks, with the download cache figure.
ItemListFrame {
    id: root

    readonly property bool hasQueryOrPackages: root.viewModel.searchQuery !== ""
                                               || root.viewModel.homebrew.allCount > 0

    searchPlaceholder: qsTr("Search packages...")
    showCacheBar: true
    cacheSymbol: "arrow.down.circle.fill"
    cacheLabel: qsTr("Homebrew Cache:")
    cacheSizeText: root.viewModel.homebrew.cacheSizeText
    shownCount: root.viewModel.homebrew.packages.count
    emptySymbol: !root.viewModel.homebrew.isAvailable ? "xmark.circle"
                                                     : hasQueryOrPackages ? "magnifyingglass" : "cup.and.saucer.fill"
    emptyTitle: !root.viewModel.homebrew.isAvailable ? qsTr("Homebrew not found")
                                                    : hasQueryOrPackages ? qsTr("No results") : qsTr("No packages")
    emptyDetail: !root.viewModel.homebrew.isAvailable
                 ? qsTr("Homebrew is not installed on this system")
                 : hasQueryOrPackages ? qsTr("No packages match '%1'").arg(root.viewModel.searchQuery)
                                      : qsTr("No Homebrew packages installed")

    ListView {
        objectName: "brewList"
        anchors.fill: parent
        clip: true
        model: root.viewModel.homebrew.packages
        spacing: Theme.spacingXXS
        topMargin: Theme.spacingXS
        bottomMargin: Theme.spacingXS
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: VerloScrollBar {}

        delegate: HomebrewPackageRowView {
            id: brewRow
            width: ListView.view.width
            onClicked: root.viewModel.selectHomebrewPackage(brewRow.name, brewRow.typeName)
        }
    }
}
