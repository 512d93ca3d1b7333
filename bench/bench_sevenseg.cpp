// TSevenSeg: a caption change with its repaint against QLCDNumber and against
// the floor (a widget that only draws a finished picture), and the cost of
// rebuilding the glyph strip. Compare the three repaint figures as ratios.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QEvent>
#include <QLCDNumber>
#include <QPainter>
#include <QWidget>

#include "Zent_sevenseg.h"

namespace {
constexpr int W = 374, H = 96;
// Two caption sequences: every cell changes, or one cell changes (a clock tick).
const char* const Texts[2][2] = {{"12345678", "87654321"}, {"12:34:56", "12:34:57"}};

struct TWindow {
    QWidget Window;
    TWindow() { Window.resize(W + 20, H + 20); }
    void Show() {
        Window.show();
        QApplication::processEvents();  // exposed: repaint() paints from here on
    }
};

// Counts the paint events a widget receives, to prove each iteration painted.
class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QWidget* Widget) { Widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* E) override {
        Paints += E->type() == QEvent::Paint;
        return false;
    }
    int64_t Paints = 0;
};

void ReportPaints(benchmark::State& State, const TPaintCounter& Counter) {
    State.counters["paints_per_iter"] = double(Counter.Paints) / double(State.iterations());
}

void ConfigureDisplay(zent::TSevenSeg& Seg) {
    Seg.SetBounds(10, 10, W, H);
    Seg.SetNumDigits(8);
    Seg.SetMargin(10);
    Seg.SetInterDigDist(4);
    Seg.SetColorBackGnd(0x202020);
    Seg.SetColorText(zent::clRed);
}

void BM_CaptionRepaint_TSevenSeg(benchmark::State& State) {
    TWindow Win;
    auto* Seg = new zent::TSevenSeg(&Win.Window);
    Win.Show();
    ConfigureDisplay(*Seg);
    TPaintCounter Counter(Seg);
    int i = 0;
    const auto& T = Texts[State.range(0)];
    for (auto _ : State) Seg->SetCaption(T[++i & 1]);  // repaints before returning
    ReportPaints(State, Counter);
}
BENCHMARK(BM_CaptionRepaint_TSevenSeg)->ArgName("one_cell")->Arg(0)->Arg(1);

void BM_CaptionRepaint_QLCDNumber(benchmark::State& State) {
    TWindow Win;
    auto* Lcd = new QLCDNumber(8, &Win.Window);
    Lcd->setSegmentStyle(QLCDNumber::Filled);
    Lcd->setGeometry(10, 10, W, H);
    Win.Show();
    TPaintCounter Counter(Lcd);
    int i = 0;
    const auto& T = Texts[State.range(0)];
    for (auto _ : State) {
        Lcd->display(QString::fromLatin1(T[++i & 1]));
        Lcd->repaint();
    }
    ReportPaints(State, Counter);
}
BENCHMARK(BM_CaptionRepaint_QLCDNumber)->ArgName("one_cell")->Arg(0)->Arg(1);

class TFinishedPicture : public QWidget {
public:
    TFinishedPicture(QWidget* Parent, QImage Image) : QWidget(Parent), Picture(std::move(Image)) {
        setAttribute(Qt::WA_OpaquePaintEvent);  // it covers every pixel, as the display does
    }
    void paintEvent(QPaintEvent*) override {
        QPainter P(this);
        P.drawImage(0, 0, Picture);
    }
    QImage Picture;
};

void BM_CaptionRepaint_Floor(benchmark::State& State) {
    TWindow Win;
    // The picture the display shows, drawn once.
    QImage Picture;
    {
        TWindow Source;
        auto* Seg = new zent::TSevenSeg(&Source.Window);
        Source.Show();
        ConfigureDisplay(*Seg);
        Seg->SetCaption(Texts[0][0]);
        Picture = Seg->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    auto* Plain = new TFinishedPicture(&Win.Window, Picture);
    Plain->setGeometry(10, 10, W, H);
    Win.Show();
    TPaintCounter Counter(Plain);
    for (auto _ : State) Plain->repaint();
    ReportPaints(State, Counter);
}
BENCHMARK(BM_CaptionRepaint_Floor);

// The control layer alone: a TGraphicControl whose Paint draws one finished
// bitmap, so the display's own share is the difference to this.
class TFinishedBitmapControl : public zent::TGraphicControl {
public:
    TFinishedBitmapControl(QWidget* Parent, const QImage& Image) : TGraphicControl(Parent) {
        Picture.SetSize(Image.width(), Image.height());
        Picture.Image() = Image.convertToFormat(QImage::Format_RGB32);
    }
    void Paint() override {
        Canvas().CopyMode = zent::SRCCOPY;
        Canvas().Draw(0, 0, Picture);
    }
    zent::TBitmap Picture;
};

void BM_CaptionRepaint_ControlDrawOnly(benchmark::State& State) {
    TWindow Win;
    QImage Picture(W, H, QImage::Format_RGB32);
    Picture.fill(0xFF202020);
    auto* Control = new TFinishedBitmapControl(&Win.Window, Picture);
    Control->SetBounds(10, 10, W, H);
    Win.Show();
    TPaintCounter Counter(Control);
    for (auto _ : State) Control->repaint();
    ReportPaints(State, Counter);
}
BENCHMARK(BM_CaptionRepaint_ControlDrawOnly);

// Width, height, cells.
void BM_BuildGlyphStrip(benchmark::State& State) {
    zent::TSevenSeg Seg;
    Seg.SetBounds(0, 0, int(State.range(0)), int(State.range(1)));
    try {
        Seg.SetNumDigits(int(State.range(2)));  // no parent: the repaint fails, the strip is built
    } catch (const std::exception&) {
    }
    try {
        Seg.SetMargin(10);
        Seg.SetInterDigDist(4);
    } catch (const std::exception&) {
    }
    for (auto _ : State) Seg.BuildGlyphStrip();
    State.counters["strip_px"] = double(Seg.GlyphStrip().Width()) * Seg.GlyphStrip().Height();
}
BENCHMARK(BM_BuildGlyphStrip)
    ->Args({216, 76, 4})
    ->Args({374, 96, 6})
    ->Args({374, 96, 8})
    ->Args({1920, 540, 8})
    ->Unit(benchmark::kMillisecond);

// Memory of the largest strip a full-screen display with one cell needs.
void BM_StripMemory_1920x1080_OneCell(benchmark::State& State) {
    zent::TSevenSeg Seg;
    Seg.SetBounds(0, 0, 1920, 1080);
    try {
        Seg.SetNumDigits(1);
    } catch (const std::exception&) {
    }
    for (auto _ : State) Seg.BuildGlyphStrip();
    const auto& Strip = Seg.GlyphStrip();
    State.counters["strip_bytes"] = double(Strip.Image().sizeInBytes());
    State.counters["strip_w"] = Strip.Width();
    State.counters["strip_h"] = Strip.Height();
}
BENCHMARK(BM_StripMemory_1920x1080_OneCell)->Iterations(1)->Unit(benchmark::kMillisecond);
}  // namespace
