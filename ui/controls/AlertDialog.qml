import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Verlo

// A modal alert in the middle of the window: a title, a message and one or two buttons, the
// cancel button first. Escape and the cancel button reject; the action button accepts.
Dialog {
    id: root

    property string message
    property string cancelTitle: qsTr("Cancel")
    // Empty: no action button (the alert only informs).
    property string actionTitle
    property bool actionIsDestructive: false

    anchors.centerIn: T.Overlay.overlay
    width: Math.min(440, (parent ? parent.width : 440) - 64)
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    padding: 20
    topPadding: 18
    bottomPadding: Theme.spacingXL

    T.Overlay.modal: Rectangle {
        color: Theme.dialogDim
    }

    enter: Transition {
        NumberAnimation { property: "opacity"; from: 0; to: 1; duration: 120; easing.type: Easing.OutQuad }
        NumberAnimation { property: "scale"; from: 0.96; to: 1; duration: 120; easing.type: Easing.OutQuad }
    }
    exit: Transition {
        NumberAnimation { property: "opacity"; from: 1; to: 0; duration: 90 }
    }

    background: Item {
        // A soft shadow made of a few widening translucent outlines.
        Repeater {
            model: 6
            Rectangle {
                required property int index
                anchors.fill: parent
                anchors.margins: -(index + 1) * 2
                anchors.topMargin: -(index + 1) * 2 + 4
                radius: 12 + (index + 1) * 2
                color: "transparent"
                border.width: 2
                border.color: Qt.rgba(0, 0, 0, 0.05 - index * 0.008)
            }
        }
        Rectangle {
            anchors.fill: parent
            radius: 12
            color: "white"
            border.width: 1
            border.color: Theme.dialogBorder
        }
    }

    header: Text {
        textFormat: Text.PlainText
        objectName: "dialogTitle"
        leftPadding: 20
        rightPadding: 20
        topPadding: 20
        text: root.title
        color: Theme.primaryText
        font.family: Theme.fontFamily
        font.pixelSize: 15
        font.bold: true
    }

    contentItem: Text {
        textFormat: Text.PlainText
        objectName: "dialogMessage"
        text: root.message
        color: Theme.primaryText
        font.family: Theme.fontFamily
        font.pixelSize: Theme.bodySize
        wrapMode: Text.Wrap
        lineHeight: 1.2
    }

    footer: Item {
        implicitHeight: buttons.implicitHeight + 20
        RowLayout {
            id: buttons
            anchors.right: parent.right
            anchors.rightMargin: 20
            anchors.top: parent.top
            spacing: Theme.spacingM
            VerloButton {
                objectName: "dialogCancelButton"
                Layout.minimumWidth: 84
                text: root.cancelTitle
                onClicked: root.reject()
            }
            VerloButton {
                objectName: "dialogActionButton"
                Layout.minimumWidth: 84
                visible: root.actionTitle !== ""
                look: "prominent"
                tint: root.actionIsDestructive ? Theme.red : Theme.accent
                text: root.actionTitle
                onClicked: root.accept()
            }
        }
    }
}
