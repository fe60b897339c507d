import QtQuick
import QtQuick.Templates as T
import Verlo

// A slim overlay scroll bar, shown whenever there is something to scroll.
T.ScrollBar {
    id: root

    implicitWidth: 10
    implicitHeight: 10
    padding: 2
    minimumSize: 0.08
    policy: size < 1.0 ? T.ScrollBar.AlwaysOn : T.ScrollBar.AlwaysOff
    visible: policy === T.ScrollBar.AlwaysOn
    hoverEnabled: true

    contentItem: Rectangle {
        implicitWidth: 6
        implicitHeight: 6
        radius: 3
        color: root.pressed ? Theme.scrollBarPressed : root.hovered ? Theme.scrollBarHover : Theme.scrollBar
    }
}
