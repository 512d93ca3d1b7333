// Until the full demonstration window exists: a seven-segment display in a
// window, running as a clock.
#include <QApplication>
#include <QWidget>

#include "Zent_dateutils.h"
#include "Zent_forms.h"
#include "Zent_sevenseg.h"

int main(int argc, char** argv) {
    QApplication App(argc, argv);
    QApplication::setApplicationDisplayName("Seven Segment Display");
    QWidget Window;
    Window.setWindowTitle("Seven Segment Display");
    Window.resize(394, 116);

    zent::TSevenSeg Display(&Window);
    Display.SetName("SevenSeg1");
    Display.SetBounds(10, 10, 374, 96);
    Display.SetNumDigits(8);
    Display.SetMargin(10);
    Display.SetInterDigDist(4);
    Display.SetColorBackGnd(0x202020);

    zent::TTimer Timer;
    Timer.SetInterval(100);
    Timer.OnTimer = [&](QObject*) {
        Display.SetCaption(zent::DateTimeToText("HH:MM:SS", zent::CurrentDateTime()));
    };
    Window.show();
    Timer.Tick();
    return App.exec();
}
