#include "Zent_Colsel.h"

#include <QFontMetrics>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "Zent_latin1.h"
#include "Zent_zentcolors.h"

namespace zent {

TColSel::TColSel(QWidget* Owner) : TCustomComboBox(Owner) {
    SetSorted(false);
}

TColSel::~TColSel() = default;

std::string TColSel::EntryName(int32_t Number) const {
    return QStringToLatin1(EntryNameQ(Number));
}

// ------------------------------------------------------------ properties

void TColSel::SetColorBarWidth(int Value) {
    if (Value == FColorBarWidth || Value < 0) return;  // ignored silently
    FColorBarWidth = Value;
    updateGeometry();
    RepaintChanged();
    emit ColorBarWidthChanged(Value);
}

void TColSel::SetNumColors(int Value) {
    if (Value < 1 || Value > MaxEntries) return;  // ignored silently; an equal value rebuilds
    const TColor Old = SelColor();
    const int32_t OldCount = FList.NumColors();
    FList.SetNumColors(Value);
    RebuildItems();
    updateGeometry();
    if (Value != OldCount) emit NumColorsChanged(Value);
    SelColorSet(Old);
}

void TColSel::SetEnabled(bool Value) {
    const bool Old = std::exchange(FEnabled, Value);  // no equality test: always repaints
    setEnabled(Value);
    RepaintChanged();
    if (Value != Old) emit EnabledChanged(Value);
}

void TColSel::SetSelColor(TColor Value) {
    const TColor Old = SelColor();
    if (const int32_t Renamed = FList.SelectColor(Value, OnColorNameChange, this)) {
        updateGeometry();
        // The item text is what screen readers read and typing searches.
        if (Renamed <= Items().Count()) Items().SetStrings(Renamed - 1, FList.EntryName(Renamed));
    } else {
        SetItemIndex(CurrentEntry() - 1);
    }
    RepaintChanged();
    SelColorSet(Old);
}

void TColSel::SetSelColor(const QColor& Value) {
    if (Value.isValid()) SetSelColor(FromQColor(Value));
}

void TColSel::SelColorSet(TColor Old) {
    if (SelColor() != Old) emit SelColorChanged(ToQColor(SelColor()));
}

// ------------------------------------------------------------ list

void TColSel::RebuildItems() {
    QStringList Names;
    Names.reserve(NumColors());
    for (int32_t Number = 1; Number <= NumColors(); ++Number) Names.push_back(FList.EntryName(Number));
    Items().Clear();
    Items().AddStrings(Names);
    SetItemIndex(CurrentEntry() - 1);
}

void TColSel::LayoutLoaded() {
    TCustomComboBox::LayoutLoaded();
    RebuildItems();
}

void TColSel::Click() {
    FColorBeforePick = SelColor();
    const int32_t Index = ItemIndex();
    if (Index >= 0) FList.Pick(Index + 1);
    TCustomComboBox::Click();
}

void TColSel::Picked() {
    SelColorSet(FColorBeforePick);
}

// ------------------------------------------------------------ drawing

void TColSel::DrawColorBar(TColor Value, const TRect& Bar) {
    TCanvas& C = Canvas();
    const bool NoColor = TColorList::IsNoColor(Value);
    C.Pen.Color = clBlack;
    C.Brush.SetColor(NoColor ? clWindow : Value);
    C.Rectangle(Bar.Left, Bar.Top, Bar.Right, Bar.Bottom);
    if (!NoColor || int64_t(Bar.Right) - Bar.Left < 3 || int64_t(Bar.Bottom) - Bar.Top < 3) return;
    // From the inside's lower left corner to the outline's upper right one,
    // which LineTo leaves out.
    C.MoveTo(Bar.Left + 1, Bar.Bottom - 2);
    C.LineTo(Bar.Right - 1, Bar.Top);
}

void TColSel::DrawItem(int32_t Index, const TRect& R, TOwnerDrawState) {
    if (Index < 0 || Index >= MaxEntries) return;
    const TColor EColor = FList.EntryColor(Index + 1);
    const QString EName = FList.EntryName(Index + 1);
    TCanvas& C = Canvas();
    const TColor KeptBrush = C.Brush.Color(), KeptFont = C.Font.Color;
    // In 64 bits, saturated to coordinates: ColorBarWidth has no upper bound.
    const int64_t L = R.Left, T = R.Top, B = R.Bottom;
    const int32_t BarLeft = Saturate(L + 3), BarRight = Saturate(L + 3 + FColorBarWidth);

    if (FColorBarWidth > 0) {
        if (FEnabled) {
            DrawColorBar(EColor, Rect(BarLeft, Saturate(T + 2), BarRight, Saturate(B - 2)));
        } else {
            C.Pen.Color = clSilver;
            C.Brush.SetColor(clSilver);
            C.Rectangle(Saturate(L - 1), Saturate(T - 1), BarRight, Saturate(B + 1));
            C.Pen.Color = clGray;
            C.Rectangle(BarLeft, Saturate(T + 2), BarRight, Saturate(B - 2));
            C.Pen.Color = clBlack;
        }
    }

    C.Font.Color = FEnabled ? clBlack : clGray;
    C.Brush.SetColor(FEnabled ? Color() : clSilver);
    const int64_t TextTop = T + (B - T - C.TextHeight(EName)) / 2;
    C.TextRect(Rect(BarRight, R.Top, R.Right, R.Bottom), Saturate(L + 6 + FColorBarWidth), Saturate(TextTop),
               EName);

    C.Brush.SetColor(KeptBrush);
    C.Font.Color = KeptFont;
}

// What QComboBox gives for a list of the names NumColors lists, whether
// the list is built yet or not (the style's frame and arrow around the
// widest name and one line of text), and the bar with the three pixels on
// either side that DrawItem leaves it. Computed afresh: QComboBox keeps its
// hint once it has asked, however the items change.
QSize TColSel::sizeHint() const {
    const QFontMetrics Metrics = fontMetrics();
    int64_t Widest = 0;
    for (int32_t Number = 1; Number <= NumColors(); ++Number)
        Widest = std::max<int64_t>(Widest, Metrics.boundingRect(FList.EntryName(Number)).width());
    const int64_t Width = std::min<int64_t>(Widest + FColorBarWidth + 6, QWIDGETSIZE_MAX);
    return SizeFromContent(
        QSize(int(Width), std::max(int(std::ceil(QFontMetricsF(Metrics).height())), 14) + 2));
}

// As QComboBox's: the names are not shortened.
QSize TColSel::minimumSizeHint() const {
    return sizeHint();
}

}  // namespace zent
