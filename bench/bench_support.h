// Pieces the repaint benchmarks share: a shown window, a paint counter that
// proves each iteration painted, and the floor widgets that only draw a
// finished picture.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <benchmark/benchmark.h>

#include "Zent_controls.h"
#include "Zent_internal.h"

namespace zent::bench {

constexpr int W = 374, H = 96;

struct TWindow {
    QWidget Window;
    TWindow() { Window.resize(W + 20, H + 20); }
    void Show() {
        Window.show();
        QApplication::processEvents();  // exposed: repaint() paints from here on
    }
};

class TPaintCounter : public QObject {
public:
    TPaintCounter() = default;
    explicit TPaintCounter(QWidget* Widget) { Watch(Widget); }
    void Watch(QWidget* Widget) { Widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* E) override {
        Paints += E->type() == QEvent::Paint;
        return false;
    }
    void Report(benchmark::State& State) const {
        State.counters["paints_per_iter"] = double(Paints) / double(State.iterations());
    }
    int64_t Paints = 0;
};

// A plain QWidget that draws one finished QImage.
class TFinishedPicture : public QWidget {
public:
    TFinishedPicture(QWidget* Parent, QImage Image, bool Opaque)
        : QWidget(Parent), Picture(std::move(Image)) {
        setAttribute(Qt::WA_OpaquePaintEvent, Opaque);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter P(this);
        P.drawImage(0, 0, Picture);
    }
    QImage Picture;
};

// A TGraphicControl whose Paint draws one finished bitmap: the control layer alone.
class TFinishedBitmapControl : public TGraphicControl {
public:
    TFinishedBitmapControl(QWidget* Parent, const QImage& Image) : TGraphicControl(Parent) {
        Picture.SetSize(Image.width(), Image.height());
        TPlatformAccess::Image(Picture) = Image.convertToFormat(QImage::Format_RGB32);
    }
    void Paint() override {
        Canvas().CopyMode = SRCCOPY;
        Canvas().Draw(0, 0, Picture);
    }
    TBitmap Picture;
};

// Repaints a shown widget State's iterations times.
inline void RepaintLoop(benchmark::State& State, TWindow& Win, QWidget& Widget) {
    Widget.setGeometry(10, 10, W, H);
    Win.Show();
    TPaintCounter Counter(&Widget);
    for (auto _ : State) Widget.repaint();
    Counter.Report(State);
}

}  // namespace zent::bench
