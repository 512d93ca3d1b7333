// Repainting a shown control that draws one finished bitmap, against a plain
// QWidget drawing the same QImage: the cost of the control layer itself.
#include "bench_support.h"

namespace {
using namespace zent::bench;

QImage Picture() {
    QImage Image(W, H, QImage::Format_RGB32);
    Image.fill(0xFF202020);
    QPainter P(&Image);
    for (int X = 10; X < W - 40; X += 44) P.fillRect(X, 10, 30, H - 20, QColor(255, 0, 0));
    return Image;
}

void BM_Repaint_TGraphicControl(benchmark::State& State) {
    TWindow Win;
    auto* Control = new TFinishedBitmapControl(&Win.Window, Picture());
    RepaintLoop(State, Win, *Control);
}
BENCHMARK(BM_Repaint_TGraphicControl);

void BM_Repaint_QWidgetDrawImage(benchmark::State& State) {
    TWindow Win;
    auto* Plain = new TFinishedPicture(&Win.Window, Picture(), false);
    RepaintLoop(State, Win, *Plain);
}
BENCHMARK(BM_Repaint_QWidgetDrawImage);
}  // namespace
