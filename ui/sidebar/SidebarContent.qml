import QtQuick
import Verlo

// Under the section switcher: the list of the current section, or the System Data pane.
Loader {
    id: root

    required property ContentViewModel viewModel

    sourceComponent: {
        switch (viewModel.section) {
        case ContentViewModel.NPM:
            return npmList
        case ContentViewModel.Homebrew:
            return brewList
        case ContentViewModel.SystemData:
            return systemData
        default:
            return appList
        }
    }

    Component {
        id: appList
        AppListView {
            viewModel: root.viewModel
        }
    }
    Component {
        id: npmList
        NPMPackageListView {
            viewModel: root.viewModel
        }
    }
    Component {
        id: brewList
        HomebrewPackageListView {
            viewModel: root.viewModel
        }
    }
    Component {
        id: systemData
        SystemDataView {
            viewModel: root.viewModel
        }
    }
}
