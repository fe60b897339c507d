import QtQuick
import QtQuick.Layouts
import Verlo

// The layout the three item lists share: the search row, for package lists the cache bar, then
// the rows or, when the shown list is empty, an empty state (a spinner while the list loads).
ColumnLayout {
    id: root

    required property ContentViewModel viewModel
    property string searchPlaceholder
    property bool showCacheBar: false
    property string cacheSymbol
    property string cacheLabel
    property string cacheSizeText
    property int shownCount
    property string emptySymbol
    property string emptyTitle
    property string emptyDetail
    // What the load is reading now, under the spinner ("" for nothing).
    property string loadingText
    // The ListView (or anything else) that shows the rows.
    default property alias body: bodyArea.data

    spacing: 0

    SearchBar {
        Layout.fillWidth: true
        viewModel: root.viewModel
        placeholder: root.searchPlaceholder
    }
    Separator {
        Layout.fillWidth: true
    }
    CacheBar {
        objectName: "cacheBar"
        Layout.fillWidth: true
        visible: root.showCacheBar
        symbol: root.cacheSymbol
        label: root.cacheLabel
        sizeText: root.cacheSizeText
    }
    Separator {
        Layout.fillWidth: true
        visible: root.showCacheBar
    }
    Item {
        id: bodyArea
        Layout.fillWidth: true
        Layout.fillHeight: true
        visible: root.shownCount > 0
    }
    Item {
        Layout.fillWidth: true
        Layout.fillHeight: true
        visible: root.shownCount === 0

        Column {
            anchors.centerIn: parent
            width: parent.width - 2 * Theme.spacingXL
            visible: root.viewModel.isLoadingList
            spacing: Theme.spacingM
            Spinner {
                anchors.horizontalCenter: parent.horizontalCenter
            }
            Text {
                objectName: "loadingText"
                width: parent.width
                visible: text !== ""
                textFormat: Text.PlainText
                text: root.loadingText
                color: Theme.secondaryText
                font.family: Theme.fontFamily
                font.pixelSize: Theme.caption2Size
                horizontalAlignment: Text.AlignHCenter
                elide: Text.ElideMiddle
            }
        }
        EmptyState {
            objectName: "listEmptyState"
            anchors.fill: parent
            visible: !root.viewModel.isLoadingList
            symbol: root.emptySymbol
            symbolSize: 40
            title: root.emptyTitle
            detail: root.emptyDetail
        }
    }
}
