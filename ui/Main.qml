import QtQuick.Controls.Basic
import Verlo

// The one window: 1000 by 600 to start with, never smaller than 800 by 500.
ApplicationWindow {
    id: root

    required property ContentViewModel viewModel

    width: 1000
    height: 600
    minimumWidth: 800
    minimumHeight: 500
    visible: true
    title: "Verlo"
    color: Theme.windowBackground
    font.family: Theme.fontFamily
    font.pixelSize: Theme.bodySize

    // A tool installed or removed while Verlo was in the background is noticed on return.
    onActiveChanged: if (active) root.viewModel.refreshToolAvailability()

    ContentView {
        anchors.fill: parent
        viewModel: root.viewModel
    }
}
