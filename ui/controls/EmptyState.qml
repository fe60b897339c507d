import QtQuick
import QtQuick.Layouts
import Verlo

// A symbol, a title and a detail line, centred in whatever space the parent gives; anything
// declared inside (a button) goes under them.
Item {
    id: root

    default property alias content: column.data

    property string symbol
    property color symbolColor: Theme.secondaryText
    property real symbolSize: 44
    property string title
    property string detail
    property int padding: Theme.spacingXL

    implicitWidth: column.implicitWidth + 2 * padding
    implicitHeight: column.implicitHeight + 2 * padding

    ColumnLayout {
        id: column
        anchors.centerIn: parent
        width: Math.min(implicitWidth, root.width - 2 * root.padding)
        spacing: Theme.spacingL

        Symbol {
            Layout.alignment: Qt.AlignHCenter
            name: root.symbol
            size: root.symbolSize
            color: root.symbolColor
            opacity: 0.85
        }
        Text {
            textFormat: Text.PlainText
            objectName: "emptyStateTitle"
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: root.width - 2 * root.padding
            text: root.title
            color: Theme.secondaryText
            font.family: Theme.fontFamily
            font.pixelSize: Theme.headlineSize
            font.bold: true
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
        }
        Text {
            textFormat: Text.PlainText
            objectName: "emptyStateDetail"
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: root.width - 2 * root.padding
            text: root.detail
            color: Theme.secondaryText
            font.family: Theme.fontFamily
            font.pixelSize: Theme.captionSize
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            lineHeight: 1.15
        }
    }
}
