import QtQuick
import Verlo

// A hairline between two parts of a pane.
Rectangle {
    property bool vertical: false

    implicitWidth: vertical ? 1 : 1
    implicitHeight: 1
    color: Theme.separator
}
