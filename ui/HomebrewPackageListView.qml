pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Verlo

// The Homebrew formulae and casks, with the download cache figure.
ItemListFrame {
    id: root

    readonly property bool hasQueryOrPackages: root.viewModel.searchQuery !== ""
                                               || root.viewModel.allHomebrewPackagesCount > 0

    searchPlaceholder: "Search packages..."
    showCacheBar: true
    cacheSymbol: "arrow.down.circle.fill"
    cacheLabel: "Homebrew Cache:"
    cacheSizeText: root.viewModel.homebrewCacheSizeText
    shownCount: root.viewModel.filteredHomebrewPackages.count
    emptySymbol: !root.viewModel.isHomebrewAvailable ? "xmark.circle"
                                                     : hasQueryOrPackages ? "magnifyingglass" : "cup.and.saucer.fill"
    emptyTitle: !root.viewModel.isHomebrewAvailable ? "Homebrew not found"
                                                    : hasQueryOrPackages ? "No results" : "No packages"
    emptyDetail: !root.viewModel.isHomebrewAvailable
                 ? "Homebrew is not installed on this system"
                 : hasQueryOrPackages ? "No packages match '" + root.viewModel.searchQuery + "'"
                                      : "No Homebrew packages installed"

    ListView {
        objectName: "brewList"
        anchors.fill: parent
        clip: true
        model: root.viewModel.filteredHomebrewPackages
        spacing: 2
        topMargin: 4
        bottomMargin: 4
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: VerloScrollBar {}

        delegate: HomebrewPackageRowView {
            width: ListView.view.width
            viewModel: root.viewModel
        }
    }
}
