pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Verlo

// The global npm packages, with the npm cache figure.
ItemListFrame {
    id: root

    readonly property bool hasQueryOrPackages: root.viewModel.searchQuery !== ""
                                               || root.viewModel.npm.allCount > 0

    searchPlaceholder: qsTr("Search packages...")
    showCacheBar: true
    cacheSymbol: "externaldrive.fill"
    cacheLabel: qsTr("npm Cache:")
    cacheSizeText: root.viewModel.npm.cacheSizeText
    shownCount: root.viewModel.npm.packages.count
    emptySymbol: !root.viewModel.npm.isAvailable ? "xmark.circle"
                                                : hasQueryOrPackages ? "magnifyingglass" : "terminal.fill"
    emptyTitle: !root.viewModel.npm.isAvailable ? qsTr("npm not found")
                                               : hasQueryOrPackages ? qsTr("No results") : qsTr("No global packages")
    emptyDetail: !root.viewModel.npm.isAvailable
                 ? qsTr("npm is not installed on this system")
                 : hasQueryOrPackages ? qsTr("No packages match '%1'").arg(root.viewModel.searchQuery)
                                      : qsTr("No globally installed npm packages")

    ListView {
        objectName: "npmList"
        anchors.fill: parent
        clip: true
        model: root.viewModel.npm.packages
        spacing: Theme.spacingXXS
        topMargin: Theme.spacingXS
        bottomMargin: Theme.spacingXS
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: VerloScrollBar {}

        delegate: NPMPackageRowView {
            id: npmRow
            width: ListView.view.width
            onClicked: root.viewModel.selectNPMPackage(npmRow.name)
        }
    }
}
