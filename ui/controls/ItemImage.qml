import QtQuick
import Verlo

// An item's icon in a square frame: its image (a bundle icon, a folder) scaled to fit, or its
// symbol when the icon is a symbol, or fallbackSymbol at symbolSize when it has no icon at all.
Item {
    id: root

    property string iconSource
    property string fallbackSymbol
    property real frameSize: 32
    property real symbolSize: 24
    property color symbolColor: Theme.secondaryText

    readonly property string imageUrl: Icons.itemUrl(iconSource)
    readonly property string ownSymbol: Icons.symbolName(iconSource)

    implicitWidth: frameSize
    implicitHeight: frameSize

    Image {
        anchors.fill: parent
        visible: root.imageUrl !== ""
        source: root.imageUrl
        sourceSize.width: Math.ceil(root.frameSize * Screen.devicePixelRatio)
        sourceSize.height: Math.ceil(root.frameSize * Screen.devicePixelRatio)
        fillMode: Image.PreserveAspectFit
        asynchronous: true
        smooth: true
    }

    // A record whose icon is a symbol draws it across the frame, like an image.
    Symbol {
        anchors.centerIn: parent
        visible: root.imageUrl === "" && root.ownSymbol !== ""
        name: root.ownSymbol
        size: root.frameSize * 0.8
        color: Theme.secondaryText
    }

    Symbol {
        anchors.centerIn: parent
        visible: root.imageUrl === "" && root.ownSymbol === ""
        name: root.fallbackSymbol
        size: root.symbolSize
        color: root.symbolColor
    }
}
