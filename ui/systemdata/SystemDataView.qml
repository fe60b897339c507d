import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Verlo

// The System Data sidebar: how far the scan has measured the home, then how much of the home it
// accounts for; the categories of the last scan, largest first (each one as soon as it is
// measured), with their total, a safety badge each, and the small categories left out, shown as
// rows on request.
ColumnLayout {
    id: root

    required property ContentViewModel viewModel
    readonly property int groupCount: viewModel.systemData.groups.count
    // The list shows the rows, or only the small categories once the user asked for them.
    readonly property bool showsList: groupCount > 0
                                      || (viewModel.systemData.showHidden
                                          && viewModel.systemData.hiddenGroups.count > 0)
    readonly property HomeCoverage coverage: viewModel.systemData.homeCoverage

    spacing: 0

    // ---- Header -------------------------------------------------------------------------------
    RowLayout {
        Layout.fillWidth: true
        Layout.leftMargin: Theme.spacingL
        Layout.rightMargin: Theme.spacingL
        Layout.topMargin: 10
        Layout.bottomMargin: 10
        Text {
            textFormat: Text.PlainText
            Layout.fillWidth: true
            text: qsTr("System Data")
            color: Theme.primaryText
            font.family: Theme.fontFamily
            font.pixelSize: Theme.headlineSize
            font.bold: true
        }
        VerloButton {
            objectName: "refreshButton"
            look: "borderless"
            tint: Theme.secondaryText
            symbol: "arrow.clockwise"
            symbolSize: Theme.iconS
            leftPadding: Theme.spacingS
            rightPadding: Theme.spacingS
            enabled: !root.viewModel.isScanning
            ToolTip.visible: hovered
            ToolTip.delay: 600
            ToolTip.text: qsTr("Refresh scan")
            onClicked: root.viewModel.startSystemDataScan()
        }
    }

    // While scanning: the bytes of the home measured so far against what it is expected to hold.
    ColumnLayout {
        objectName: "homeProgress"
        Layout.fillWidth: true
        Layout.leftMargin: Theme.spacingL
        Layout.rightMargin: Theme.spacingL
        Layout.bottomMargin: Theme.spacingM
        visible: root.coverage.isMeasuring
        spacing: Theme.spacingXS
        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 4
            radius: 2
            color: Theme.separator
            Rectangle {
                objectName: "homeProgressBar"
                width: parent.width * root.coverage.fraction
                height: parent.height
                radius: parent.radius
                color: Theme.accent
                Behavior on width {
                    NumberAnimation {
                        duration: Theme.animationDuration
                        easing.type: Easing.InOutQuad
                    }
                }
            }
        }
        Text {
            textFormat: Text.PlainText
            objectName: "homeProgressText"
            Layout.fillWidth: true
            text: root.coverage.progressText
            color: Theme.secondaryText
            font.family: Theme.fontFamily
            font.pixelSize: Theme.caption2Size
            elide: Text.ElideRight
        }
    }

    // After a scan: how much of the home the categories name or list.
    Text {
        textFormat: Text.PlainText
        objectName: "coverageLine"
        Layout.fillWidth: true
        Layout.leftMargin: Theme.spacingL
        Layout.rightMargin: Theme.spacingL
        Layout.bottomMargin: Theme.spacingM
        visible: !root.coverage.isMeasuring && text !== ""
        text: root.coverage.coverageText
        color: Theme.secondaryText
        font.family: Theme.fontFamily
        font.pixelSize: Theme.captionSize
        elide: Text.ElideRight
    }

    Separator {
        Layout.fillWidth: true
    }

    // ---- Scanning state -----------------------------------------------------------------------
    Item {
        objectName: "systemScanningState"
        Layout.fillWidth: true
        Layout.fillHeight: true
        visible: !root.showsList && root.viewModel.isScanning

        ColumnLayout {
            anchors.centerIn: parent
            width: parent.width - 32
            spacing: Theme.spacingXL
            Spinner {
                Layout.alignment: Qt.AlignHCenter
                Layout.preferredWidth: 20
                Layout.preferredHeight: 20
            }
            Text {
                textFormat: Text.PlainText
                Layout.alignment: Qt.AlignHCenter
                text: qsTr("Scanning system data...")
                color: Theme.secondaryText
                font.family: Theme.fontFamily
                font.pixelSize: Theme.bodySize
            }
            Text {
                textFormat: Text.PlainText
                objectName: "systemProgressText"
                Layout.fillWidth: true
                Layout.topMargin: -Theme.spacingM
                horizontalAlignment: Text.AlignHCenter
                text: root.viewModel.scanProgressText
                color: Theme.tertiaryText
                font.family: Theme.fontFamily
                font.pixelSize: Theme.caption2Size
                elide: Text.ElideMiddle
            }
        }
    }

    // ---- Empty state --------------------------------------------------------------------------
    EmptyState {
        objectName: "systemEmptyState"
        Layout.fillWidth: true
        Layout.fillHeight: true
        visible: !root.showsList && !root.viewModel.isScanning
        symbol: "checkmark.circle"
        symbolColor: Theme.green
        symbolSize: 40
        title: qsTr("Nothing significant found")
        detail: qsTr("No system data categories\nexceed 100 MB.")

        SmallerCategoriesButton {
            objectName: "emptyStateSmallerCategoriesButton"
            Layout.alignment: Qt.AlignHCenter
            systemData: root.viewModel.systemData
        }
    }

    // ---- Total and rows -----------------------------------------------------------------------
    Rectangle {
        objectName: "systemTotalBar"
        Layout.fillWidth: true
        visible: root.groupCount > 0
        implicitHeight: totalRow.implicitHeight + 2 * Theme.spacingM
        color: Theme.alpha(Theme.controlBackground, 0.5)

        RowLayout {
            id: totalRow
            anchors.fill: parent
            anchors.leftMargin: Theme.spacingL
            anchors.rightMargin: Theme.spacingL
            anchors.topMargin: Theme.spacingM
            anchors.bottomMargin: Theme.spacingM
            spacing: Theme.spacingM
            Symbol {
                name: "internaldrive.fill"
                size: Theme.iconS
                color: Theme.accent
            }
            Text {
                textFormat: Text.PlainText
                text: qsTr("Total System Data:")
                color: Theme.secondaryText
                font.family: Theme.fontFamily
                font.pixelSize: Theme.captionSize
            }
            Item {
                Layout.fillWidth: true
            }
            Text {
                textFormat: Text.PlainText
                objectName: "systemTotal"
                text: root.viewModel.systemData.totalSizeText
                color: Theme.primaryText
                font.family: Theme.fontFamily
                font.pixelSize: Theme.captionSize
                font.weight: Font.DemiBold
            }
        }
    }

    Separator {
        Layout.fillWidth: true
        visible: root.groupCount > 0
    }

    ListView {
        id: categoryList
        objectName: "systemCategoryList"
        Layout.fillWidth: true
        Layout.fillHeight: true
        visible: root.showsList
        clip: true
        spacing: Theme.spacingXXS
        topMargin: Theme.spacingXS
        bottomMargin: Theme.spacingXS
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: VerloScrollBar {}
        model: root.viewModel.systemData.groups

        delegate: SystemCategoryRowView {
            width: ListView.view.width
            onChosen: category => root.viewModel.showSystemCategory(category)
        }

        // This file is not ComponentBehavior: Bound, as Qt 6.4 cannot create a bound footer; the
        // footer reaches the list and the view model by id all the same.
        // qmllint disable unqualified
        footer: SmallerCategoriesView {
            width: categoryList.width
            viewModel: root.viewModel
        }
        // qmllint enable unqualified
    }
}
