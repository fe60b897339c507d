import QtQuick
import QtQuick.Controls

ApplicationWindow {
    id: root
    width: 1000
    height: 600
    minimumWidth: 800
    minimumHeight: 500
    visible: true
    title: "Verlo"
}
