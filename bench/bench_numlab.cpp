// TNumLab: a value change with its repaint, against QLabel::setNum plus
// repaint() of a sunken, centred QLabel of the same size. Two sizes: the
// window's 64 x 22 integer labels and a default 160 x 28 fixed-point label.
#include <benchmark/benchmark.h>
#include <QLabel>

#include "Zent_NumLab.h"
#include "bench_support.h"

namespace {
using namespace zent::bench;

struct TCase {
    int Width, Height;
    bool Integer;
};
constexpr TCase WindowLabel{64, 22, true}, DefaultLabel{160, 28, false};

// Consecutive values always differ, so every write repaints.
double NextValue(const TCase& C, int i) {
    return C.Integer ? double(i & 31) : (i % 1000) * 0.37;
}

void BM_ValueRepaint_TNumLab(benchmark::State& State, const TCase& C) {
    TWindow Win;
    auto* Lab = new zent::TNumLab(&Win.Window);
    Lab->SetBounds(10, 10, C.Width, C.Height);
    if (C.Integer) {  // as the window's labels are stored
        Lab->SetLeftSpace(0);
        Lab->SetLabelWidth(60);
        Lab->SetDisplayType(zent::dtInt);
    }
    Win.Show();
    TPaintCounter Counter(Lab);
    int i = 0;
    for (auto _ : State) Lab->SetValue(NextValue(C, ++i));  // repaints before returning
    Counter.Report(State);
}
BENCHMARK_CAPTURE(BM_ValueRepaint_TNumLab, dtInt_64x22, WindowLabel);
BENCHMARK_CAPTURE(BM_ValueRepaint_TNumLab, dtFixP_160x28, DefaultLabel);

void BM_ValueRepaint_QLabel(benchmark::State& State, const TCase& C) {
    TWindow Win;
    auto* Label = new QLabel(&Win.Window);
    Label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label->setAlignment(Qt::AlignCenter);
    Label->setGeometry(10, 10, C.Width, C.Height);
    Win.Show();
    TPaintCounter Counter(Label);
    int i = 0;
    for (auto _ : State) {
        if (C.Integer)
            Label->setNum(int(NextValue(C, ++i)));
        else
            Label->setNum(NextValue(C, ++i));
        Label->repaint();
    }
    Counter.Report(State);
}
BENCHMARK_CAPTURE(BM_ValueRepaint_QLabel, setNum_int_64x22, WindowLabel);
BENCHMARK_CAPTURE(BM_ValueRepaint_QLabel, setNum_double_160x28, DefaultLabel);

}  // namespace
