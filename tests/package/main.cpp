#include <QApplication>

#include "Zent_sevenseg.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    QWidget Window;
    zent::TSevenSeg Display(&Window);
    Display.SetCaption("12:34");
    Window.show();
    return Display.Caption() == "12:34" ? 0 : 1;
}
