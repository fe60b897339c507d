import QtQuick
import Verlo

// Under the section switcher: the list of the current section, or the System Data pane.
Loader {
    id: root

    required property ContentViewModel viewModel

    sourceComponent: {
        switch (viewModel.section) {
        case Section.NPM:
            return npmList
        case Section.Homebrew:
            return brewList
        case Section.SystemData:
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
