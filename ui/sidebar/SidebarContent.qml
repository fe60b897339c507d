import QtQuick
import Verlo

// Under the section switcher: the list of the current section, or the System Data pane. Each
// view is loaded by its file with the view model as its initial property, so it is built only
// while its section is shown.
Loader {
    id: root

    required property ContentViewModel viewModel
    readonly property url sectionView: {
        switch (root.viewModel.section) {
        case Section.NPM:
            return Qt.resolvedUrl("NPMPackageListView.qml")
        case Section.Homebrew:
            return Qt.resolvedUrl("HomebrewPackageListView.qml")
        case Section.SystemData:
            return Qt.resolvedUrl("../systemdata/SystemDataView.qml")
        case Section.Leftovers:
            return Qt.resolvedUrl("../leftovers/LeftoverListView.qml")
        default:
            return Qt.resolvedUrl("AppListView.qml")
        }
    }

    onSectionViewChanged: root.setSource(root.sectionView, { viewModel: root.viewModel })
    Component.onCompleted: root.setSource(root.sectionView, { viewModel: root.viewModel })
}
