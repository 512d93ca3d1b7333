// A clock: the time on a seven-segment display, the seconds since start on
// a numeric label, and a colour list that recolours the digits.
//   /usr/lib/qt6/bin/qml -I build/qml examples/qml/clock.qml
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zent

ApplicationWindow {
    id: window
    width: 440
    height: 330
    visible: true
    title: "Zent clock"
    property int seconds: 0
    background: Rectangle { color: window.palette.window }

    ColumnLayout {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 10
        spacing: 8

        SevenSegment {
            id: clock
            Layout.fillWidth: true
            Layout.preferredHeight: 90
            numDigits: 8
            caption: Qt.formatTime(new Date(), "hh:mm:ss")
            colorText: colors.selColor
            frameStyle: Zent.FsLowered
        }

        RowLayout {
            spacing: 12
            NumericLabel {
                Layout.preferredWidth: 170
                leftText: "up"
                rightText: "s"
                displayType: Zent.DtInt
                value: window.seconds
            }
            ComboBox {
                id: picker
                Layout.fillWidth: true
                model: ColorListModel { id: colors; selColor: "red" }
                textRole: "name"
                popup.y: height  // below the box, clear of the clock
                popup.height: 180
                currentIndex: colors.currentIndex
                onActivated: (index) => colors.currentIndex = index
                delegate: ItemDelegate {
                    id: row
                    required property int index
                    required property string name
                    required property color color
                    required property bool noColor
                    width: picker.width
                    height: 22
                    highlighted: picker.highlightedIndex === index
                    contentItem: ColorRow { name: row.name; color: row.color; noColor: row.noColor }
                }
                contentItem: ColorRow {
                    leftPadding: 0
                    name: colors.entryName(colors.currentIndex + 1)
                    color: colors.selColor
                    noColor: false
                }
            }
        }
    }

    // One list entry as the colour selector draws it: a 30 pixel bar three
    // pixels from the left and two from the top and bottom, outlined in
    // black (no colour: the window colour, struck through), then the name.
    component ColorRow: Item {
        id: entry
        property string name
        property color color
        property bool noColor
        property int leftPadding: 3
        implicitHeight: 22
        Rectangle {
            id: bar
            x: entry.leftPadding
            y: 2
            width: 30
            height: entry.height - 4
            color: entry.noColor ? window.palette.base : entry.color
            border.color: "black"
            Canvas {
                anchors.fill: parent
                visible: entry.noColor
                onPaint: {
                    const g = getContext("2d")
                    g.strokeStyle = "black"
                    g.beginPath(); g.moveTo(1, height - 1); g.lineTo(width - 1, 0); g.stroke()
                }
            }
        }
        Text {
            x: bar.x + bar.width + 3
            anchors.verticalCenter: parent.verticalCenter
            text: entry.name
        }
    }

    // "-- --screenshot FILE" after the file name: opens the colour list,
    // saves a picture of the window to FILE and quits.
    Timer {
        property int at: Qt.application.arguments.indexOf("--screenshot")
        running: at >= 0
        interval: 1200
        onTriggered: {
            if (!picker.popup.opened) { picker.popup.open(); restart(); return }
            window.contentItem.parent.grabToImage(result => {
                result.saveToFile(Qt.application.arguments[at + 1]); Qt.quit() })
        }
    }

    Timer {
        interval: 1000
        running: true
        repeat: true
        onTriggered: {
            clock.caption = Qt.formatTime(new Date(), "hh:mm:ss")
            window.seconds += 1
        }
    }
}
