import QtQuick
import QtQuick.Templates as T
import Verlo

// A push button in one of four looks: "bordered" (white with a hairline border), "borderless"
// (text only, a light fill on hover), "prominent" (filled with tint, white text) and "plain"
// (content only). An optional symbol stands before the text.
T.Button {
    id: root

    property string look: "bordered"
    property string symbol
    property color tint: Theme.accent
    property int fontSize: Theme.bodySize
    property real symbolSize: Theme.iconS

    readonly property color foreground: {
        if (look === "prominent")
            return "white"
        if (look === "borderless")
            return tint
        return Theme.primaryText
    }

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset,
                             implicitContentHeight + topPadding + bottomPadding)
    leftPadding: look === "plain" ? 0 : 10
    rightPadding: look === "plain" ? 0 : 10
    topPadding: look === "plain" ? 0 : 4
    bottomPadding: look === "plain" ? 0 : 4
    hoverEnabled: true
    focusPolicy: Qt.TabFocus
    opacity: enabled ? 1 : 0.4

    HoverHandler {
        cursorShape: Qt.PointingHandCursor
        enabled: root.look === "plain" && root.enabled
    }

    // Centred, so a label stays in the middle when a minimum width makes the button wider.
    // No id inside: contentItem is deferred, and an id would make it immediate.
    contentItem: Item {
        implicitWidth: children[0].implicitWidth
        implicitHeight: children[0].implicitHeight

        Row {
            anchors.centerIn: parent
            spacing: Theme.spacingS
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                visible: root.symbol !== ""
                name: root.symbol
                size: root.symbolSize
                color: root.foreground
            }
            Text {
                textFormat: Text.PlainText
                anchors.verticalCenter: parent.verticalCenter
                visible: root.text !== ""
                text: root.text
                color: root.foreground
                font.family: Theme.fontFamily
                font.pixelSize: root.fontSize
                font.weight: root.look === "prominent" ? Font.DemiBold : Font.Normal
            }
        }
    }

    background: Rectangle {
        implicitHeight: root.look === "plain" ? 0 : 26
        visible: root.look !== "plain"
        radius: Theme.radiusM
        color: {
            if (root.look === "prominent")
                return root.down ? Qt.darker(root.tint, 1.2)
                                 : root.hovered ? Qt.darker(root.tint, 1.08) : root.tint
            if (root.look === "borderless")
                return root.down ? Theme.alpha(root.tint, 0.16)
                                 : root.hovered ? Theme.alpha(root.tint, 0.08) : "transparent"
            return root.down ? Theme.buttonPressed : root.hovered ? Theme.buttonHover : Theme.controlBackground
        }
        border.width: root.look === "bordered" ? 1 : 0
        border.color: Theme.border

        // A faint lower edge gives bordered and prominent buttons some depth.
        Rectangle {
            visible: root.look === "bordered" || root.look === "prominent"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 1
            height: 1
            radius: 1
            color: Theme.buttonShadow
            z: -1
        }
    }
}
