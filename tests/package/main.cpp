// A consumer of the installed package: the README's example, built with the
// consumer's own compiler and warning flags.
#include <QApplication>
#include <QVBoxLayout>

#include "Zent_Colsel.h"
#include "Zent_NumLab.h"
#include "Zent_sevenseg.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);

    auto* Display = new zent::TSevenSeg(&window);  // a child widget of any QWidget
    Display->SetNumDigits(8);
    Display->SetCaption("-12:45\xB0" "C");
    layout->addWidget(Display);                    // hints 216 x 76 for 4 digits

    auto* Temperature = new zent::TNumLab(&window);
    Temperature->SetLeftText("Inside");
    Temperature->SetRightText("\xB0" "C");
    Temperature->SetDisplayType(zent::dtFixP);
    Temperature->SetPrecision(1);
    Temperature->SetValue(21.5);                    // shows "21.5"

    auto* Colour = new zent::TColSel(&window);
    Colour->SetNumColors(16);
    Colour->OnChange = [=](QObject*) { Display->SetColorBackGnd(Colour->SelColor()); };

    layout->addWidget(Temperature);
    layout->addWidget(Colour);
    window.adjustSize();
    window.show();
    App.processEvents();
    return Display->Caption() == "-12:45\xB0" "C" && Display->height() >= Display->minimumSizeHint().height() ? 0 : 1;
}
