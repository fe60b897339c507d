pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Verlo

// What programs that are gone left in the home, certain ones first, then by size; the rows show
// while the rest are still being found. Under them, the names the user keeps.
ColumnLayout {
    id: root

    required property ContentViewModel viewModel
    readonly property LeftoversSection leftovers: viewModel.leftovers
    readonly property bool hasQueryOrRows: root.viewModel.searchQuery !== ""
                                           || root.leftovers.allCount > 0

    spacing: 0

    ItemListFrame {
        Layout.fillWidth: true
        Layout.fillHeight: true
        viewModel: root.viewModel
        searchPlaceholder: qsTr("Search leftovers...")
        shownCount: root.leftovers.rows.count
        loadingText: root.leftovers.progressText
        emptySymbol: root.hasQueryOrRows ? "magnifyingglass" : "checkmark.circle"
        emptyTitle: root.hasQueryOrRows ? qsTr("No results") : qsTr("No leftovers found")
        emptyDetail: root.hasQueryOrRows
                     ? qsTr("No leftovers match '%1'").arg(root.viewModel.searchQuery)
                     : qsTr("Everything in the places Verlo searches belongs to something installed")

        ListView {
            objectName: "leftoverList"
            anchors.fill: parent
            clip: true
            model: root.leftovers.rows
            spacing: Theme.spacingXXS
            topMargin: Theme.spacingXS
            bottomMargin: Theme.spacingXS
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: VerloScrollBar {}

            delegate: LeftoverRowView {
                id: leftoverRow
                width: ListView.view.width
                onClicked: root.viewModel.selectLeftover(leftoverRow.name)
            }
        }
    }

    // Rows already shown while the search goes on.
    RowLayout {
        objectName: "leftoversBusyLine"
        Layout.fillWidth: true
        Layout.margins: Theme.spacingS
        visible: root.viewModel.isLoadingList && root.leftovers.rows.count > 0
        spacing: Theme.spacingS
        Spinner {
            Layout.preferredWidth: Theme.iconM
            Layout.preferredHeight: Theme.iconM
        }
        Text {
            Layout.fillWidth: true
            textFormat: Text.PlainText
            text: qsTr("Still searching...")
            color: Theme.secondaryText
            font.family: Theme.fontFamily
            font.pixelSize: Theme.caption2Size
            elide: Text.ElideMiddle
        }
    }

    KeptLeftoversView {
        Layout.fillWidth: true
        leftovers: root.leftovers
    }
}
