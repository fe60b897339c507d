pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Verlo

// The Homebrew formulae and casks, with the download cache figure.
ItemListFrame {
    id: root

    readonly property bool hasQueryOrPackages: root.viewModel.searchQuery !== ""
                                               || root.viewModel.allHomebrewPackagesCount > 0

    searchPlaceholder: qsTr("Search packages...")
    showCacheBar: true
    cacheSymbol: "arrow.down.circle.fill"
    cacheLabel: qsTr("Homebrew Cache:")
    cacheSizeText: root.viewModel.homebrewCacheSizeText
    shownCount: root.viewModel.filteredHomebrewPackages.count
    emptySymbol: !root.viewModel.isHomebrewAvailable ? "xmark.circle"
                                                     : hasQueryOrPackages ? "magnifyingglass" : "cup.and.saucer.fill"
    emptyTitle: !root.viewModel.isHomebrewAvailable ? qsTr("Homebrew not found")
                                                    : hasQueryOrPackages ? qsTr("No results") : qsTr("No packages")
    emptyDetail: !root.viewModel.isHomebrewAvailable
                 ? qsTr("Homebrew is not installed on this system")
                 : hasQueryOrPackages ? qsTr("No packages match '%1'").arg(root.viewModel.searchQuery)
                                      : qsTr("No Homebrew packages installed")

    ListView {
        objectName: "brewList"
        anchors.fill: parent
        clip: true
        model: root.viewModel.filteredHomebrewPackages
        spacing: Theme.spacingXXS
        topMargin: Theme.spacingXS
        bottomMargin: Theme.spacingXS
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: VerloScrollBar {}

        delegate: HomebrewPackageRowView {
            width: ListView.view.width
            viewModel: root.viewModel
        }
    }
}
