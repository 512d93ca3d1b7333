// Repainting a shown control that draws one finished bitmap, against a plain
// QWidget drawing the same QImage: the cost of the control layer itself.
#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <benchmark/benchmark.h>

#include "Zent_controls.h"

namespace {
constexpr int W = 374, H = 96;

void FillPicture(zent::TBitmap& Bmp) {
    Bmp.SetSize(W, H);
    auto& C = Bmp.Canvas();
    C.Brush.SetColor(0x202020);
    C.FillRect(zent::Rect(0, 0, W, H));
    C.Brush.SetColor(0x0000FF);
    for (int X = 10; X < W - 40; X += 44) C.FillRect(zent::Rect(X, 10, X + 30, H - 10));
}

class TPictureControl : public zent::TGraphicControl {
public:
    explicit TPictureControl(QWidget* Parent) : TGraphicControl(Parent) { FillPicture(Picture); }
    void Paint() override {
        Canvas().CopyMode = zent::SRCCOPY;
        Canvas().Draw(0, 0, Picture);
    }
    zent::TBitmap Picture;
};

class TPlainPicture : public QWidget {
public:
    explicit TPlainPicture(QWidget* Parent, QImage Image) : QWidget(Parent), Picture(std::move(Image)) {}
    void paintEvent(QPaintEvent*) override {
        QPainter P(this);
        P.drawImage(0, 0, Picture);
    }
    QImage Picture;
};

void BM_Repaint_TGraphicControl(benchmark::State& State) {
    QWidget Window;
    Window.resize(W + 20, H + 20);
    TPictureControl Control(&Window);
    Control.SetBounds(10, 10, W, H);
    Window.show();
    QApplication::processEvents();  // exposed: repaint() paints from here on
    for (auto _ : State) Control.repaint();
}
BENCHMARK(BM_Repaint_TGraphicControl);

void BM_Repaint_QWidgetDrawImage(benchmark::State& State) {
    QWidget Window;
    Window.resize(W + 20, H + 20);
    zent::TBitmap Bmp;
    FillPicture(Bmp);
    TPlainPicture Plain(&Window, Bmp.Image());
    Plain.setGeometry(10, 10, W, H);
    Window.show();
    QApplication::processEvents();
    for (auto _ : State) Plain.repaint();
}
BENCHMARK(BM_Repaint_QWidgetDrawImage);
}  // namespace
