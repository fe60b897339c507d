import QtQuick
import Verlo

// A named symbol ("terminal.fill") drawn in one colour, size points square.
Item {
    id: root

    property string name
    property color color: Theme.primaryText
    property real size: Theme.iconM

    implicitWidth: size
    implicitHeight: size

    Image {
        anchors.centerIn: parent
        width: root.size
        height: root.size
        sourceSize.width: Math.ceil(root.size * Screen.devicePixelRatio)
        sourceSize.height: Math.ceil(root.size * Screen.devicePixelRatio)
        source: Icons.symbolUrl(root.name, root.color)
        fillMode: Image.PreserveAspectFit
        smooth: true
        cache: true
    }
}
