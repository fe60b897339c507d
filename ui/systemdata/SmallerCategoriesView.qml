pragma ComponentBehavior: Bound
import QtQuick
import Verlo

// Under the System Data rows: how many categories the 100 MB threshold leaves out, a button that
// shows them as rows and hides them again, and those rows, each opened like any other.
Column {
    id: root

    required property ContentViewModel viewModel
    readonly property int hiddenCount: viewModel.systemData.hiddenCount
    readonly property int smallerCount: viewModel.systemData.hiddenGroups.count
    readonly property bool isRevealed: viewModel.systemData.showHidden && smallerCount > 0

    spacing: Theme.spacingXXS

    Text {
        textFormat: Text.PlainText
        objectName: "hiddenCategoriesLine"
        width: root.width
        visible: root.hiddenCount > 0
        topPadding: Theme.spacingS
        horizontalAlignment: Text.AlignHCenter
        text: {
            if (root.isRevealed)
                return root.hiddenCount === 1 ? qsTr("1 category under 100 MB")
                                              : qsTr("%1 categories under 100 MB").arg(root.hiddenCount)
            return root.hiddenCount === 1 ? qsTr("1 category under 100 MB hidden")
                                          : qsTr("%1 categories under 100 MB hidden").arg(root.hiddenCount)
        }
        color: Theme.secondaryText
        font.family: Theme.fontFamily
        font.pixelSize: Theme.caption2Size
    }

    SmallerCategoriesButton {
        anchors.horizontalCenter: parent.horizontalCenter
        systemData: root.viewModel.systemData
    }

    Item {
        width: root.width
        height: Theme.spacingXS
    }

    Repeater {
        model: root.isRevealed ? root.viewModel.systemData.hiddenGroups : null

        delegate: SystemCategoryRowView {
            width: root.width
            onChosen: category => root.viewModel.showSystemCategory(category)
        }
    }
}
