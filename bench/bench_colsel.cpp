// TColSel against the colour list Qt programs build today: a QComboBox whose
// 255 items carry a QIcon swatch and the name. Two figures: opening the list,
// painting it and closing it; and selecting an item with the repaint of the
// closed box. Compare them as ratios within one run.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QPixmap>
#include <QProxyStyle>
#include <benchmark/benchmark.h>

#include "Zent_Colsel.h"
#include "bench_support.h"

namespace {
using namespace zent::bench;

constexpr int Entries = 255;

// The rows of a plain QComboBox list with the same style hint TColSel uses:
// the list drops down below the box with maxVisibleItems rows.
class TListBelowStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget,
                  QStyleHintReturn* Return) const override {
        return Hint == SH_ComboBox_Popup ? 0 : QProxyStyle::styleHint(Hint, Option, Widget, Return);
    }
};

zent::TColSel* NewSelector(TWindow& Win, int Rows) {
    auto* Sel = new zent::TColSel(&Win.Window);
    Sel->SetBounds(10, 10, 180, 24);
    Sel->SetNumColors(Entries);
    Sel->SetDropDownCount(Rows);
    return Sel;
}

// Swatch and name for each of the selector's entries.
QComboBox* NewIconCombo(TWindow& Win) {
    auto* Combo = new QComboBox(&Win.Window);
    Combo->setGeometry(10, 10, 180, 24);
    zent::TColSel Names;
    for (int Number = 1; Number <= Entries; ++Number) {
        QPixmap Swatch(Combo->iconSize());
        Swatch.fill(QColor::fromRgb(zent::RGBToPixel(zent::ColorToRGB(Names.EntryColor(Number)))));
        Combo->addItem(QIcon(Swatch), QString::fromStdString(Names.EntryName(Number)));
    }
    return Combo;
}

// Opens the list, lets it paint as the event loop does when the list window
// is exposed, and closes it again.
void OpenPaintClose(benchmark::State& State, TWindow& Win, QComboBox& Box) {
    Win.Show();
    Box.showPopup();  // the first opening builds the list window
    Box.hidePopup();
    QApplication::processEvents();
    QWidget* Viewport = Box.view()->viewport();
    TPaintCounter Counter(Viewport);
    for (auto _ : State) {
        Box.showPopup();
        QApplication::processEvents();
        Box.hidePopup();
        QApplication::processEvents();
    }
    Counter.Report(State);
    State.counters["rows"] = double(Viewport->height()) / Box.view()->sizeHintForRow(0);
}

void BM_OpenPaintClose_TColSel(benchmark::State& State) {
    TWindow Win;
    OpenPaintClose(State, Win, *NewSelector(Win, int(State.range(0))));
}
BENCHMARK(BM_OpenPaintClose_TColSel)->ArgName("rows")->Arg(8)->Arg(48);

// As Qt programs have it: the application style decides how the list opens.
void BM_OpenPaintClose_QComboBoxIcons(benchmark::State& State) {
    TWindow Win;
    OpenPaintClose(State, Win, *NewIconCombo(Win));
}
BENCHMARK(BM_OpenPaintClose_QComboBoxIcons);

// The same rows as the selector shows, for a like-for-like figure.
void BM_OpenPaintClose_QComboBoxIconsListBelow(benchmark::State& State) {
    TWindow Win;
    QComboBox* Combo = NewIconCombo(Win);
    TListBelowStyle Style(QApplication::style()->name());
    Combo->setStyle(&Style);
    Combo->setMaxVisibleItems(int(State.range(0)));
    OpenPaintClose(State, Win, *Combo);
}
BENCHMARK(BM_OpenPaintClose_QComboBoxIconsListBelow)->ArgName("rows")->Arg(8)->Arg(48);

// The closed box is drawn with the focus (after a pick by the keyboard) or
// without it (a program setting the colour); State.range(0) chooses.
void Focus(benchmark::State& State, TWindow& Win, QWidget& Box) {
    Win.Show();
    if (State.range(0))
        Box.setFocus();
    else
        Box.clearFocus();
    QApplication::processEvents();
    if (Box.hasFocus() != bool(State.range(0))) State.SkipWithError("focus not as asked");
}

// SelColor finds the colour among the 255 entries, selects it and repaints.
void BM_SelectRepaint_TColSel(benchmark::State& State) {
    TWindow Win;
    zent::TColSel* Sel = NewSelector(Win, 8);
    Focus(State, Win, *Sel);
    TPaintCounter Counter(Sel);
    int i = 0;
    for (auto _ : State) Sel->SetSelColor(++i & 1 ? zent::clRed : zent::clSkyBlue);
    Counter.Report(State);
}
BENCHMARK(BM_SelectRepaint_TColSel)->ArgName("focused")->Arg(0)->Arg(1);

void BM_SelectRepaint_TColSelItemIndex(benchmark::State& State) {
    TWindow Win;
    zent::TColSel* Sel = NewSelector(Win, 8);
    Focus(State, Win, *Sel);
    TPaintCounter Counter(Sel);
    int i = 0;
    for (auto _ : State) {
        Sel->SetItemIndex(++i & 1 ? 9 : 17);
        Sel->RepaintNow();
    }
    Counter.Report(State);
}
BENCHMARK(BM_SelectRepaint_TColSelItemIndex)->ArgName("focused")->Arg(0)->Arg(1);

void BM_SelectRepaint_QComboBoxIcons(benchmark::State& State) {
    TWindow Win;
    QComboBox* Combo = NewIconCombo(Win);
    Focus(State, Win, *Combo);
    TPaintCounter Counter(Combo);
    int i = 0;
    for (auto _ : State) {
        Combo->setCurrentIndex(++i & 1 ? 9 : 17);
        Combo->repaint();
    }
    Counter.Report(State);
}
BENCHMARK(BM_SelectRepaint_QComboBoxIcons)->ArgName("focused")->Arg(0)->Arg(1);
}  // namespace
