#include "panel_variants.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLCDNumber>
#include <QLabel>
#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "Zent_NumLab.h"
#include "Zent_sevenseg.h"

namespace zent::bench {

namespace {

constexpr QSize LabelSize{160, 28}, DisplaySize{120, 40};
// Five cells: a decimal point joins the digit before it.
constexpr int DisplayDigits = 5;
const QString Dseg7Family = QStringLiteral("DSEG7 Classic");

// The label's text as a user would make it for a QLabel (the numeric label
// shows its default two decimals).
QString LabelText(double Value) {
    return QString::number(Value, 'f', 2);
}

// The display's caption: right-aligned in the five cells.
std::string DisplayText(double Value) {
    char Text[32];
    std::snprintf(Text, sizeof Text, "%6.2f", Value);
    return Text;
}

void Frame(QFrame& Widget) {
    Widget.setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

// The display's own colours, from a display as constructed, for a Qt
// widget that fills its background.
QPalette DisplayColours() {
    const TSevenSeg Defaults;
    QPalette Colours;
    Colours.setColor(QPalette::Window, QColor::fromRgb(RGBToPixel(Defaults.ColorBackGnd())));
    Colours.setColor(QPalette::WindowText, QColor::fromRgb(RGBToPixel(Defaults.ColorText())));
    return Colours;
}

void PaintLike(QWidget& Widget, const QPalette& Colours) {
    Widget.setPalette(Colours);
    Widget.setAutoFillBackground(true);
}

// DSEG7 Classic at the largest pixel size whose widest caption fits inside
// the frame with 3 pixels to spare on every side, as the display's margin
// leaves room around its cells.
QFont Dseg7Font() {
    if (!QFontDatabase::families().contains(Dseg7Family))
        throw std::runtime_error("the font DSEG7 Classic is not installed (Debian: fonts-dseg)");
    QFont Font(Dseg7Family);
    const QSize Room = DisplaySize - QSize(8, 8);
    for (int Pixels = Room.height(); Pixels > 4; --Pixels) {
        Font.setPixelSize(Pixels);
        const QFontMetrics Metrics(Font);
        const int Widest = std::max(Metrics.horizontalAdvance(QStringLiteral("888.88")),
                                    Metrics.horizontalAdvance(QStringLiteral(" 88.88")));
        if (Widest <= Room.width() && Metrics.height() <= Room.height()) break;
    }
    return Font;
}

// The benchmark compares the same texts: the label's own value text and the
// QLabel's must agree.
void CheckLabelText() {
    QWidget Window;
    auto* Label = new TNumLab(&Window);
    for (const double Value : {ReadoutValue(1, 0), ReadoutValue(2, 7), 10.0, 999.99}) {
        Label->SetValue(Value);
        if (Label->ValueText() != LabelText(Value).toStdString())
            throw std::runtime_error("TNumLab shows " + Label->ValueText() + " where the QLabel shows " +
                                     LabelText(Value).toStdString());
    }
}

template <class TWidget>
TWidget& As(QWidget* Readout) {
    return *static_cast<TWidget*>(Readout);
}

}  // namespace

double ReadoutValue(int64_t Tick, int Index) {
    return 10.0 + double((Tick * 1013 + int64_t(Index) * 7919) % 99000) / 100.0;
}

std::vector<TVariant> PanelVariants() {
    CheckLabelText();
    const QFont Dseg7 = Dseg7Font();
    const QPalette Colours = DisplayColours();
    auto NumLab = [](QWidget* Parent) -> QWidget* { return new TNumLab(Parent); };
    auto SetValue = [](QWidget* R, double V) { As<TNumLab>(R).SetValue(V); };
    auto SevenSeg = [](QWidget* Parent) -> QWidget* {
        auto* Display = new TSevenSeg(Parent);
        Display->SetNumDigits(DisplayDigits);
        return Display;
    };
    auto SetCaption = [](QWidget* R, double V) { As<TSevenSeg>(R).SetCaption(DisplayText(V)); };
    using enum TRepaintPolicy;

    std::vector<TVariant> Variants(VariantCount);
    Variants[NumLabImmediate] = {"TNumLab/Immediate", LabelSize, Immediate, NumLab, SetValue};
    Variants[NumLabCoalesced] = {"TNumLab/Coalesced", LabelSize, Coalesced, NumLab, SetValue};
    Variants[FramedQLabel] = {"QLabel/framed", LabelSize, std::nullopt,
                              [](QWidget* Parent) -> QWidget* {
                                  auto* Label = new QLabel(Parent);
                                  Frame(*Label);
                                  Label->setAlignment(Qt::AlignCenter);
                                  return Label;
                              },
                              [](QWidget* R, double V) { As<QLabel>(R).setText(LabelText(V)); }};
    Variants[SevenSegImmediate] = {"TSevenSeg/Immediate", DisplaySize, Immediate, SevenSeg, SetCaption};
    Variants[SevenSegCoalesced] = {"TSevenSeg/Coalesced", DisplaySize, Coalesced, SevenSeg, SetCaption};
    Variants[Dseg7QLabel] = {
        "QLabel/DSEG7", DisplaySize, std::nullopt,
        [Dseg7, Colours](QWidget* Parent) -> QWidget* {
            auto* Label = new QLabel(Parent);
            Frame(*Label);
            PaintLike(*Label, Colours);
            Label->setFont(Dseg7);
            Label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Label->setIndent(3);
            return Label;
        },
        [](QWidget* R, double V) { As<QLabel>(R).setText(QString::fromLatin1(DisplayText(V))); }};
    Variants[LcdNumber] = {
        "QLCDNumber", DisplaySize, std::nullopt,
        [Colours](QWidget* Parent) -> QWidget* {
            auto* Lcd = new QLCDNumber(DisplayDigits, Parent);
            Frame(*Lcd);
            PaintLike(*Lcd, Colours);
            Lcd->setSmallDecimalPoint(true);
            Lcd->setSegmentStyle(QLCDNumber::Filled);
            return Lcd;
        },
        [](QWidget* R, double V) { As<QLCDNumber>(R).display(QString::fromLatin1(DisplayText(V))); }};
    return Variants;
}

}  // namespace zent::bench
