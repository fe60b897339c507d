import Verlo

// "Show 3 smaller categories" while the categories under the threshold are hidden, "Hide
// smaller categories" while they are shown; absent when there are none.
VerloButton {
    id: root

    required property SystemDataSection systemData
    readonly property int smallerCount: systemData.hiddenGroups.count
    readonly property bool isRevealed: systemData.showHidden

    objectName: "smallerCategoriesButton"
    visible: smallerCount > 0
    look: "borderless"
    fontSize: Theme.captionSize
    symbol: isRevealed ? "chevron.down" : "chevron.right"
    symbolSize: Theme.captionSize
    text: {
        if (isRevealed)
            return qsTr("Hide smaller categories")
        return smallerCount === 1 ? qsTr("Show 1 smaller category")
                                  : qsTr("Show %1 smaller categories").arg(smallerCount)
    }
    onClicked: systemData.showHidden = !isRevealed
}
