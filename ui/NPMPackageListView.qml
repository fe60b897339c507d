pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Verlo

// The global npm packages, with the npm cache figure.
ItemListFrame {
    id: root

    readonly property bool hasQueryOrPackages: root.viewModel.searchQuery !== ""
                                               || root.viewModel.allNPMPackagesCount > 0

    searchPlaceholder: "Search packages..."
    showCacheBar: true
    cacheSymbol: "externaldrive.fill"
    cacheLabel: "npm Cache:"
    cacheSizeText: root.viewModel.npmCacheSizeText
    shownCount: root.viewModel.filteredNPMPackages.count
    emptySymbol: !root.viewModel.isNPMAvailable ? "xmark.circle"
                                                : hasQueryOrPackages ? "magnifyingglass" : "terminal.fill"
    emptyTitle: !root.viewModel.isNPMAvailable ? "npm not found"
                                               : hasQueryOrPackages ? "No results" : "No global packages"
    emptyDetail: !root.viewModel.isNPMAvailable
                 ? "npm is not installed on this system"
                 : hasQueryOrPackages ? "No packages match '" + root.viewModel.searchQuery + "'"
                                      : "No globally installed npm packages"

    ListView {
        objectName: "npmList"
        anchors.fill: parent
        clip: true
        model: root.viewModel.filteredNPMPackages
        spacing: 2
        topMargin: 4
        bottomMargin: 4
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: VerloScrollBar {}

        delegate: NPMPackageRowView {
            width: ListView.view.width
            viewModel: root.viewModel
        }
    }
}
