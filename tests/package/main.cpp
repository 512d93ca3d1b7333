// A consumer of the installed package: the README's example, built with the
// consumer's own compiler and warning flags, and its connections at work.
#include <QApplication>
#include <QSlider>
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

    auto* Slider = new QSlider(Qt::Horizontal, &window);
    Slider->setRange(1, 32);                       // NumDigits ignores other values
    QObject::connect(Slider, &QSlider::valueChanged, Display, &zent::TSevenSeg::SetNumDigits);

    auto* Temperature = new zent::TNumLab(&window);
    Temperature->SetLeftText("Inside");
    Temperature->SetRightText("\xB0" "C");
    Temperature->SetDisplayType(zent::dtFixP);
    Temperature->SetPrecision(1);
    Temperature->SetValue(21.5);                    // shows "21.5"

    auto* Resistance = new zent::TNumLab(&window);
    Resistance->SetLeftText(QStringLiteral("R1"));
    Resistance->SetRightText(QStringLiteral("kΩ"));  // any Unicode text, as a QString
    Resistance->SetValue(4.7);                      // shows "4.70"

    auto* Colour = new zent::TColSel(&window);
    Colour->SetNumColors(16);
    // SetColorText takes a TColor or a QColor; the signal carries a QColor.
    QObject::connect(Colour, &zent::TColSel::SelColorChanged, Display,
                     qOverload<const QColor&>(&zent::TSevenSeg::SetColorText));

    layout->addWidget(Slider);
    layout->addWidget(Temperature);
    layout->addWidget(Resistance);
    layout->addWidget(Colour);
    window.adjustSize();
    window.show();
    App.processEvents();

    Slider->setValue(5);
    Colour->SetSelColor(QColor(Qt::blue));
    const bool Connected = Display->NumDigits() == 5 && Display->ColorText() == zent::clBlue;
    const bool Shown = Display->Caption() == "-12:45\xB0" "C" &&
                       Display->height() >= Display->minimumSizeHint().height();
    return Connected && Shown ? 0 : 1;
}
