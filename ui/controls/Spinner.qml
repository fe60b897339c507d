pragma ComponentBehavior: Bound
import QtQuick
import Verlo

// An indeterminate progress indicator: twelve spokes fading round, 20 points square.
Item {
    id: root

    property color color: Theme.secondaryText
    property bool running: visible

    implicitWidth: 20
    implicitHeight: 20

    Item {
        id: wheel
        anchors.centerIn: parent
        width: Math.min(root.width, root.height)
        height: width

        Repeater {
            model: 12
            Rectangle {
                id: spoke
                required property int index
                x: wheel.width / 2 - width / 2
                y: 0
                width: Math.max(1.5, wheel.width * 0.09)
                height: wheel.height * 0.28
                radius: width / 2
                color: root.color
                opacity: 0.15 + 0.85 * (spoke.index / 11)
                transform: Rotation {
                    origin.x: spoke.width / 2
                    origin.y: wheel.height / 2
                    angle: spoke.index * 30
                }
            }
        }

        RotationAnimator on rotation {
            from: 0
            to: 360
            duration: 1000
            loops: Animation.Infinite
            running: root.running
        }
    }
}
