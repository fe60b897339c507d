import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Verlo

// The window's content: the sidebar (section switcher and the section's list) beside the
// detail pane, in a split view whose divider position is kept across launches, and the two
// alerts of the program.
Item {
    id: root

    required property ContentViewModel viewModel

    SplitView {
        id: splitView
        objectName: "splitView"
        anchors.fill: parent
        orientation: Qt.Horizontal

        handle: Item {
            id: handleItem
            implicitWidth: 1
            Rectangle {
                anchors.fill: parent
                color: Theme.separator
            }
            // A wider grip than the visible hairline.
            containmentMask: Item {
                x: -3
                width: 7
                height: handleItem.height
            }
        }

        Rectangle {
            id: sidebar
            objectName: "sidebar"
            SplitView.minimumWidth: 200
            SplitView.preferredWidth: 280
            SplitView.maximumWidth: 400
            color: Theme.sidebarBackground

            ColumnLayout {
                anchors.fill: parent
                spacing: 0

                SectionSwitcher {
                    Layout.fillWidth: true
                    viewModel: root.viewModel
                }
                Separator {
                    Layout.fillWidth: true
                }
                SidebarContent {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    viewModel: root.viewModel
                }
            }
        }

        FileDetailView {
            objectName: "detailPane"
            SplitView.minimumWidth: 400
            SplitView.fillWidth: true
            viewModel: root.viewModel
        }

        onResizingChanged: {
            if (!resizing)
                autosave.save(saveState())
        }
        Component.onCompleted: {
            const saved = autosave.savedState()
            if (saved)
                restoreState(saved)
        }
    }

    SplitViewAutosave {
        id: autosave
        autosaveName: "VerloSplitView"
    }

    AlertDialog {
        id: errorDialog
        objectName: "errorDialog"
        title: qsTr("Error")
        message: root.viewModel.hasErrorMessage ? root.viewModel.errorMessage
                                                : qsTr("An unknown error occurred")
        cancelTitle: qsTr("OK")
        onClosed: root.viewModel.showErrorAlert = false
    }

    AlertDialog {
        id: confirmDialog
        objectName: "confirmDialog"
        title: qsTr("Confirm")
        // Read only while asked for: it looks for the application among the running processes.
        message: root.viewModel.removal.showDeleteConfirmation ? root.viewModel.removal.deleteConfirmationMessage
                                                       : ""
        actionTitle: root.viewModel.removal.deleteButtonTitle
        actionIsDestructive: true
        onAccepted: root.viewModel.removal.deleteSelected()
        onClosed: root.viewModel.removal.showDeleteConfirmation = false
    }

    // The flags open their alert; closing an alert clears its flag.
    Connections {
        target: root.viewModel
        function onShowErrorAlertChanged() {
            root.syncAlert(errorDialog, root.viewModel.showErrorAlert)
        }
    }
    Connections {
        target: root.viewModel.removal
        function onShowDeleteConfirmationChanged() {
            root.syncAlert(confirmDialog, root.viewModel.removal.showDeleteConfirmation)
        }
    }
    Component.onCompleted: {
        syncAlert(errorDialog, viewModel.showErrorAlert)
        syncAlert(confirmDialog, viewModel.removal.showDeleteConfirmation)
    }

    function syncAlert(dialog, shown) {
        if (shown && !dialog.opened)
            dialog.open()
        else if (!shown && dialog.visible)
            dialog.close()
    }
}
