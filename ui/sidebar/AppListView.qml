import QtQuick
import QtQuick.Controls.Basic
import Verlo

// The applications of the sidebar: the user's own ("User Applications") above the system's
// ("Applications"), filtered by the search row.
ItemListFrame {
    id: root

    searchPlaceholder: qsTr("Search apps...")
    shownCount: root.viewModel.applications.filteredApps.count
    emptySymbol: hasQueryOrApps ? "magnifyingglass" : "app.fill"
    emptyTitle: hasQueryOrApps ? qsTr("No results") : qsTr("No apps found")
    emptyDetail: hasQueryOrApps ? qsTr("No apps match '%1'").arg(root.viewModel.searchQuery)
                                : qsTr("No applications found")

    readonly property bool hasQueryOrApps: root.viewModel.searchQuery !== ""
                                           || root.viewModel.applications.allCount > 0

    ApplicationSectionsModel {
        id: sections
        userApplications: root.viewModel.applications.userApplications
        systemApplications: root.viewModel.applications.systemApplications
    }

    ListView {
        objectName: "appList"
        anchors.fill: parent
        clip: true
        model: sections
        spacing: Theme.spacingXXS
        topMargin: Theme.spacingXS
        bottomMargin: Theme.spacingXS
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: VerloScrollBar {}

        section.property: "sectionTitle"
        section.criteria: ViewSection.FullString
        section.delegate: sectionHeader

        // This file is not ComponentBehavior: Bound, as Qt 6.4 cannot create a bound section
        // delegate; the row's click reaches the view model by id all the same.
        delegate: AppRowView {
            id: appRow
            width: ListView.view.width
            // qmllint disable unqualified
            onClicked: root.viewModel.selectApplication(appRow.path)
            // qmllint enable unqualified
        }
    }

    Component {
        id: sectionHeader

        Item {
            id: header
            required property string section
            width: ListView.view ? ListView.view.width : 0
            implicitHeight: label.implicitHeight + Theme.spacingL
            Text {
                textFormat: Text.PlainText
                id: label
                objectName: "sectionHeader"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.leftMargin: Theme.spacingL
                anchors.rightMargin: Theme.spacingL
                anchors.top: parent.top
                anchors.topMargin: Theme.spacingM
                text: header.section
                color: Theme.secondaryText
                font.family: Theme.fontFamily
                font.pixelSize: Theme.captionSize
                font.weight: Font.DemiBold
            }
        }
    }
}
