import QtQuick
import QtQuick.Layouts
import Verlo

// One probable former program: its name, how sure the finder is, its size, in how many places
// it left entries and when they last changed.
ItemRow {
    id: root

    required property string name
    required property int certainty
    required property string certaintyText
    required property string sizeText
    required property string placesText
    required property string lastChangedText
    required isSelected

    objectName: "leftoverRow_" + name
    title: name
    fallbackSymbol: "leftovers.fill"

    RowLayout {
        Layout.fillWidth: true
        spacing: Theme.spacingS

        Badge {
            objectName: "certaintyBadge"
            text: root.certaintyText
            textColor: root.certainty === Certainty.Certain ? Theme.orange : Theme.secondaryText
        }
        Text {
            Layout.fillWidth: true
            textFormat: Text.PlainText
            text: root.sizeText + " \u00B7 " + root.placesText
                  + (root.lastChangedText !== "" ? " \u00B7 " + root.lastChangedText : "")
            color: Theme.secondaryText
            font.family: Theme.fontFamily
            font.pixelSize: Theme.captionSize
            elide: Text.ElideRight
            maximumLineCount: 1
        }
    }
}
