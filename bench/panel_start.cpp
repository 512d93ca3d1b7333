// The start of a panel of seven-segment displays: the wall and CPU time from
// constructing N displays of 120 x 40 in one window to the end of their first
// paint, and the memory the process holds before and after. Runs on any
// platform (offscreen unless QT_QPA_PLATFORM says otherwise). Under
// `valgrind --tool=callgrind --instr-atstart=no` only the start is counted.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Zent_sevenseg.h"
#include "panel_cpu.h"
#include "panel_variants.h"

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

namespace {
using namespace zent;

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM"); 0 when unreadable.
long StatusKiB(const std::string& Field) {
    std::ifstream Status("/proc/self/status");
    for (std::string Line; std::getline(Status, Line);)
        if (Line.rfind(Field + ":", 0) == 0) return std::stol(Line.substr(Field.size() + 1));
    return 0;
}

struct TPaints : QObject {
    int Count = 0;
    bool eventFilter(QObject*, QEvent* E) override {
        Count += E->type() == QEvent::Paint;
        return false;
    }
};

// --name=value as a whole number of at least 1, or Default.
int Option(int argc, char** argv, const std::string& Name, int Default) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]).rfind(Name + "=", 0) == 0)
            return std::max(1, std::stoi(argv[i] + Name.size() + 1));
    return Default;
}
}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    const int Readouts = Option(argc, argv, "--readouts", 300);
    // Displays with K text colours in turn: K looks that cannot share glyphs.
    const int Looks = Option(argc, argv, "--looks", 1);
    constexpr int Columns = 15, Width = 120, Height = 40, Gap = 2;
    const long RssBefore = StatusKiB("VmRSS");

    CALLGRIND_START_INSTRUMENTATION;
    const double Cpu0 = bench::OwnCpuSeconds();
    QElapsedTimer Wall;
    Wall.start();
    QWidget Window;
    Window.resize(Columns * (Width + Gap), (Readouts + Columns - 1) / Columns * (Height + Gap));
    TPaints Paints;
    for (int i = 0; i < Readouts; ++i) {
        auto* Display = new TSevenSeg(&Window);
        Display->SetNumDigits(5);
        Display->SetBounds((i % Columns) * (Width + Gap), (i / Columns) * (Height + Gap), Width, Height);
        if (Looks > 1) Display->SetColorText(TColor(0x0000FF + 0x100 * (i % Looks)));
        char Caption[32];
        std::snprintf(Caption, sizeof Caption, "%6.2f", bench::ReadoutValue(0, i));
        Display->SetCaption(Caption);
        Display->installEventFilter(&Paints);
    }
    const double Built = double(Wall.nsecsElapsed()) / 1e6;
    Window.show();
    while (Paints.Count < Readouts && !Wall.hasExpired(60'000)) QApplication::processEvents();
    const double Shown = double(Wall.nsecsElapsed()) / 1e6, Cpu = (bench::OwnCpuSeconds() - Cpu0) * 1e3;
    CALLGRIND_STOP_INSTRUMENTATION;

    const long RssAfter = StatusKiB("VmRSS");
    std::printf(
        "%d displays, %d look(s): constructed in %.1f ms, first paint done at %.1f ms (%d paints), "
        "CPU %.1f ms; RSS %.1f MiB before, %.1f MiB after (+%.1f), peak %.1f MiB\n",
        Readouts, Looks, Built, Shown, Paints.Count, Cpu, RssBefore / 1024.0, RssAfter / 1024.0,
        (RssAfter - RssBefore) / 1024.0, StatusKiB("VmHWM") / 1024.0);
    return Paints.Count >= Readouts ? 0 : 1;
}
