// TSevenSeg: a caption change with its repaint against QLCDNumber and against
// the floor (a widget that only draws a finished picture), and the cost of
// rebuilding the glyph strip. Compare the three repaint figures as ratios.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QLCDNumber>
#include <QWidget>

#include "Zent_segglyphs.h"
#include "Zent_sevenseg.h"
#include "bench_support.h"

namespace {
using namespace zent::bench;

// Bytes of the glyphs the display keeps to paint from.
double CacheBytes(const zent::TSevenSeg& Seg) {
    return double(Seg.GlyphCacheStats().Bytes);
}

// Two caption sequences: every cell changes, or one cell changes (a clock tick).
const char* const Texts[2][2] = {{"12345678", "87654321"}, {"12:34:56", "12:34:57"}};

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
    Counter.Report(State);
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
    Counter.Report(State);
}
BENCHMARK(BM_CaptionRepaint_QLCDNumber)->ArgName("one_cell")->Arg(0)->Arg(1);

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
    // Opaque, as the display is: Qt draws nothing underneath first.
    auto* Plain = new TFinishedPicture(&Win.Window, Picture, true);
    RepaintLoop(State, Win, *Plain);
}
BENCHMARK(BM_CaptionRepaint_Floor);

// A display in a window that is never shown: its setters build the strip
// and find nothing to repaint.
struct THiddenDisplay {
    QWidget Window;
    zent::TSevenSeg* Seg = new zent::TSevenSeg(&Window);
    THiddenDisplay(int Width, int Height, int Cells) {
        Seg->SetBounds(0, 0, Width, Height);
        Seg->SetNumDigits(Cells);
        Seg->SetMargin(10);
        Seg->SetInterDigDist(4);
    }
};

// Width, height, cells.
void BM_BuildGlyphStrip(benchmark::State& State) {
    THiddenDisplay D(int(State.range(0)), int(State.range(1)), int(State.range(2)));
    zent::TSevenSeg& Seg = *D.Seg;
    for (auto _ : State) Seg.BuildGlyphStrip();
    State.counters["strip_px"] = double(Seg.GlyphStrip().Width()) * Seg.GlyphStrip().Height();
}
BENCHMARK(BM_BuildGlyphStrip)
    ->Args({216, 76, 4})
    ->Args({374, 96, 6})
    ->Args({374, 96, 8})
    ->Args({1920, 540, 8})
    ->Unit(benchmark::kMillisecond);

// Memory of a full-screen display with one cell showing "8." at a device
// pixel ratio: the glyphs it keeps, its picture, and the largest strip (all
// 21 symbols) a tool may ask for. Painted once into an image of that ratio,
// which sets the ratio of its caches.
void BM_StripMemory_1920x1080_OneCell(benchmark::State& State) {
    const int Ratio = int(State.range(0));
    THiddenDisplay D(1920, 1080, 1);
    zent::TSevenSeg& Seg = *D.Seg;
    Seg.SetCaption("8.");
    QImage Screen(1920 * Ratio, 1080 * Ratio, QImage::Format_RGB32);
    Screen.setDevicePixelRatio(Ratio);
    Seg.render(&Screen);
    State.counters["cache_bytes"] = CacheBytes(Seg);
    State.counters["ratio"] = Seg.GlyphCacheStats().Ratio;
    State.counters["picture_bytes"] = 4.0 * 1920 * 1080 * Ratio * Ratio;
    for (auto _ : State) Seg.BuildGlyphStrip();
    const auto& Strip = Seg.GlyphStrip();
    State.counters["strip_bytes"] = double(zent::TPlatformAccess::Image(Strip).sizeInBytes());
    State.counters["strip_w"] = Strip.Width();
    State.counters["strip_h"] = Strip.Height();
}
BENCHMARK(BM_StripMemory_1920x1080_OneCell)->ArgName("ratio")->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);
}  // namespace

namespace {
// The window's display as a layout loader makes it: constructed with a
// parent that is shown already, its bounds and stored properties written in
// their stored order while loading, then shown and painted once.
void BM_StartUp_My7Seg(benchmark::State& State) {
    TWindow Win;
    Win.Show();
    TPaintCounter Counter;
    int64_t Rebuilds = 0, Scaled = 0;
    for (auto _ : State) {
        zent::TSevenSeg* Seg;
        {
            zent::TLayoutLoading Loading;
            Seg = new zent::TSevenSeg(&Win.Window);
            Seg->SetBounds(1, 1, 374, 96);
            Seg->setProperty("Caption", QStringLiteral("8.8.8.8.8.8.8.8."));
            Seg->setProperty("ColorBackGnd", 0x202020);
            Seg->setProperty("ColorText", int(zent::clRed));
            Seg->setProperty("ColorScheme", int(zent::csBWG));
            Seg->setProperty("FrameStyle", int(zent::fsLowered));
            Seg->setProperty("InterDigDist", 4);
            Seg->setProperty("Margin", 10);
            Seg->setProperty("NumDigits", 6);
        }
        Counter.Watch(Seg);
        Seg->show();
        Seg->repaint();  // the first paint
        Rebuilds += Seg->GlyphCacheStats().Rebuilds;
        Scaled += Seg->GlyphCacheStats().SymbolsScaled;
        delete Seg;
    }
    Counter.Report(State);
    State.counters["rebuilds_per_iter"] = double(Rebuilds) / double(State.iterations());
    State.counters["symbols_scaled_per_iter"] = double(Scaled) / double(State.iterations());
}
BENCHMARK(BM_StartUp_My7Seg)->Unit(benchmark::kMicrosecond);

// A display across a full-HD screen with Cells cells: each iteration resizes
// it (the heights alternate, so every resize is a real one) and so paints it
// for the first time at its new size.
void BM_BigDisplay_ResizePaint(benchmark::State& State) {
    QWidget Window;
    Window.resize(1920, 1080);
    auto* Seg = new zent::TSevenSeg(&Window);
    Seg->SetBounds(0, 0, 1920, 1080);
    Window.show();
    QApplication::processEvents();
    Seg->SetNumDigits(int(State.range(0)));
    Seg->SetMargin(10);
    Seg->SetInterDigDist(4);
    Seg->SetColorBackGnd(0x202020);
    Seg->SetCaption("8.8.8.8.8.8.8.8.");
    TPaintCounter Counter(Seg);
    int i = 0;
    for (auto _ : State) Seg->SetBounds(0, 0, 1920, 1080 - (++i & 1));
    Counter.Report(State);
    State.counters["cache_bytes"] = CacheBytes(*Seg);
}
BENCHMARK(BM_BigDisplay_ResizePaint)->ArgName("cells")->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);
}  // namespace
