import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Verlo

// The search row above a list: it edits the view model's searchQuery and filters the list on
// every keystroke; the clear button empties it and shows the whole list again.
Item {
    id: root

    required property ContentViewModel viewModel
    property string placeholder

    implicitHeight: row.implicitHeight + 2 * Theme.spacingL

    Rectangle {
        anchors.fill: parent
        anchors.leftMargin: Theme.spacingM
        anchors.rightMargin: Theme.spacingM
        anchors.topMargin: 7
        anchors.bottomMargin: 7
        radius: 7
        color: field.activeFocus ? Theme.fieldBackground : Theme.searchFieldBackground
        border.width: field.activeFocus ? 2 : 0
        border.color: Theme.alpha(Theme.accent, 0.45)
    }

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.margins: Theme.spacingL
        spacing: Theme.spacingM

        Symbol {
            name: "magnifyingglass"
            size: Theme.iconS
            color: Theme.secondaryText
        }

        TextField {
            id: field
            objectName: "searchField"
            Layout.fillWidth: true
            placeholderText: root.placeholder
            placeholderTextColor: Theme.tertiaryText
            color: Theme.primaryText
            selectionColor: Theme.alpha(Theme.accent, 0.3)
            selectedTextColor: Theme.primaryText
            font.family: Theme.fontFamily
            font.pixelSize: Theme.bodySize
            padding: 0
            background: null
            Component.onCompleted: text = root.viewModel.searchQuery
            onTextEdited: root.viewModel.search(text)

            Connections {
                target: root.viewModel
                function onSearchQueryChanged() {
                    if (field.text !== root.viewModel.searchQuery)
                        field.text = root.viewModel.searchQuery
                }
            }
        }

        VerloButton {
            objectName: "clearSearchButton"
            look: "plain"
            visible: root.viewModel.searchQuery !== ""
            symbol: "xmark.circle.fill"
            symbolSize: Theme.iconS
            tint: Theme.secondaryText
            Accessible.name: "Clear search"
            onClicked: {
                root.viewModel.searchQuery = ""
                root.viewModel.search("")
            }
        }
    }
}
