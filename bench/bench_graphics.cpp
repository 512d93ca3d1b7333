// Canvas pixel work at the sizes the widgets use, each next to the Qt call a
// user would otherwise reach for.
#include <benchmark/benchmark.h>
#include <QImage>
#include <QPainter>
#include <memory>
#include <random>

#include "Zent_graphics.h"
#include "Zent_internal.h"

namespace {

using namespace zent;

std::unique_ptr<TBitmap> Bitmap(int32_t W, int32_t H, TColor Color) {
    auto B = std::make_unique<TBitmap>();
    B->Canvas().Brush.SetColor(Color);
    B->SetSize(W, H);
    return B;
}

// Artwork-like source: large flat shapes with noise at their edges.
std::unique_ptr<TBitmap> Artwork() {
    auto B = Bitmap(312, 432, clWhite);
    std::mt19937 Rnd(1);
    TCanvas& C = B->Canvas();
    C.Brush.SetColor(clBlack);
    for (int I = 0; I < 40; ++I) {
        const int32_t X = int32_t(Rnd() % 300), Y = int32_t(Rnd() % 420);
        C.FillRect(Rect(X, Y, X + int32_t(Rnd() % 60), Y + int32_t(Rnd() % 60)));
    }
    for (int I = 0; I < 2000; ++I)
        C.SetPixels(int32_t(Rnd() % 312), int32_t(Rnd() % 432), TColor(Rnd() & 0xFFFFFF));
    return B;
}

// Fills the whole 312 x 432 picture, alternating colours so each run fills it all.
void BM_FloodFill_312x432(benchmark::State& State) {
    auto B = Bitmap(312, 432, clWhite);
    TCanvas& C = B->Canvas();
    TColor From = clWhite, To = clBlack;
    for (auto _ : State) {
        C.Brush.SetColor(To);
        C.FloodFill(150, 200, From, fsSurface);
        std::swap(From, To);
        benchmark::ClobberMemory();
    }
    State.SetItemsProcessed(State.iterations() * 312 * 432);
}
BENCHMARK(BM_FloodFill_312x432)->UseRealTime();

// Peer (floor): filling the same pixels when the region is known beforehand.
void BM_Peer_QImageFill_312x432(benchmark::State& State) {
    QImage Image(312, 432, QImage::Format_RGB32);
    uint32_t Pixel = 0xFFFFFFFFu;
    for (auto _ : State) {
        Image.fill(Pixel);
        Pixel ^= 0x00FFFFFFu;
        benchmark::ClobberMemory();
    }
    State.SetItemsProcessed(State.iterations() * 312 * 432);
}
BENCHMARK(BM_Peer_QImageFill_312x432)->UseRealTime();

void BM_Halftone_312x432(benchmark::State& State) {
    const auto W = int32_t(State.range(0)), H = int32_t(State.range(1));
    auto Src = Artwork();
    auto Dst = Bitmap(W, H, clWhite);
    SetStretchBltMode(Dst->Canvas().Handle(), HALFTONE);
    for (auto _ : State) {
        StretchBlt(Dst->Canvas().Handle(), 0, 0, W, H, Src->Canvas().Handle(), 0, 0, 312, 432, SRCCOPY);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Halftone_312x432)->Args({48, 60})->Args({55, 76})->Unit(benchmark::kMicrosecond)->UseRealTime();

// Peer: Qt's smooth scaling of the same picture (Qt may spread it over threads,
// hence real time).
void BM_Peer_QImageSmoothScaled_312x432(benchmark::State& State) {
    const auto W = int32_t(State.range(0)), H = int32_t(State.range(1));
    auto Src = Artwork();
    const QImage& Image = TPlatformAccess::Image(*Src);
    for (auto _ : State) {
        QImage Scaled = Image.scaled(W, H, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(Scaled.constBits());
    }
}
BENCHMARK(BM_Peer_QImageSmoothScaled_312x432)
    ->Args({48, 60})
    ->Args({55, 76})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

void BM_CopyRectAnd_200x190(benchmark::State& State) {
    auto Src = Artwork();
    auto Dst = Bitmap(200, 190, clSilver);
    Dst->Canvas().CopyMode = SRCAND;
    for (auto _ : State) {
        Dst->Canvas().CopyRect(Rect(0, 0, 200, 190), Src->Canvas(), Rect(10, 10, 210, 200));
        benchmark::ClobberMemory();
    }
    State.SetItemsProcessed(State.iterations() * 200 * 190);
}
BENCHMARK(BM_CopyRectAnd_200x190)->UseRealTime();

// Peer: a QPainter on the same kind of image with the AND raster operation.
void BM_Peer_QPainterRasterOpAnd_200x190(benchmark::State& State) {
    auto Src = Artwork();
    QImage Dst(200, 190, QImage::Format_RGB32);
    Dst.fill(0xFFC0C0C0u);
    for (auto _ : State) {
        QPainter P(&Dst);
        P.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        P.drawImage(QPoint(0, 0), TPlatformAccess::Image(*Src), QRect(10, 10, 200, 190));
        P.end();
        benchmark::ClobberMemory();
    }
    State.SetItemsProcessed(State.iterations() * 200 * 190);
}
BENCHMARK(BM_Peer_QPainterRasterOpAnd_200x190)->UseRealTime();

}  // namespace
