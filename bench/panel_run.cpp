#include "panel_run.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "bench_support.h"
#include "panel_cpu.h"

namespace zent::bench {

namespace {

constexpr int Gap = 2;  // pixels between readouts

// Lets the event loop run for Time: timers, input and paints go on.
void RunEventLoop(std::chrono::milliseconds Time) {
    QEventLoop Loop;
    QTimer::singleShot(Time, Qt::PreciseTimer, &Loop, &QEventLoop::quit);
    Loop.exec();
}

void AwaitExposed(const QWidget& Window) {
    QElapsedTimer Waited;
    Waited.start();
    while (!Window.windowHandle() || !Window.windowHandle()->isExposed()) {
        if (Waited.hasExpired(10'000))
            throw std::runtime_error("the panel window was not exposed within 10 s");
        RunEventLoop(std::chrono::milliseconds(20));
    }
}

// Places Count widgets of Cell size in rows across the screen, from its
// top-left corner; the window's size.
QSize LayOutGrid(const std::vector<QWidget*>& Readouts, QSize Cell, QSize Screen) {
    const int Columns = std::max(1, (Screen.width() + Gap) / (Cell.width() + Gap));
    const int Rows = (int(Readouts.size()) + Columns - 1) / Columns;
    const QSize Window(std::min<int>(Columns, int(Readouts.size())) * (Cell.width() + Gap) - Gap,
                       Rows * (Cell.height() + Gap) - Gap);
    if (Window.height() > Screen.height())
        throw std::runtime_error(QStringLiteral("%1 readouts of %2 x %3 need a screen %4 pixels high, not %5")
                                     .arg(Readouts.size())
                                     .arg(Cell.width())
                                     .arg(Cell.height())
                                     .arg(Window.height())
                                     .arg(Screen.height())
                                     .toStdString());
    for (int i = 0; i < int(Readouts.size()); ++i)
        Readouts[i]->setGeometry((i % Columns) * (Cell.width() + Gap), (i / Columns) * (Cell.height() + Gap),
                                 Cell.width(), Cell.height());
    return Window;
}

double XServerSeconds(const TPanelSettings& Settings) {
    if (!Settings.XServer) return 0;
    const auto Seconds = ProcessCpuSeconds(*Settings.XServer);
    if (!Seconds)
        throw std::runtime_error("cannot read the CPU time of the X server, pid " +
                                 std::to_string(*Settings.XServer));
    return *Seconds;
}

}  // namespace

TPanelRates RatesOf(const TPanelSample& S, int Readouts) {
    const double Cpu = S.ProgramCpu + S.XServerCpu, Ticks = double(std::max<int64_t>(1, S.Ticks));
    return {.Program = S.ProgramCpu / S.Wall,
            .XServer = S.XServerCpu / S.Wall,
            .Total = Cpu / S.Wall,
            .TicksPerSecond = double(S.Ticks) / S.Wall,
            .PaintsPerReadoutTick = double(S.Paints) / (Ticks * Readouts),
            .CpuMsPerTick = Cpu * 1000 / Ticks};
}

TPanelSample RunPanel(const TVariant& Variant, const TPanelSettings& Settings) {
    SetRepaintPolicy(Variant.Policy.value_or(TRepaintPolicy::Immediate));
    TPaintCounter Counter;
    auto Window = std::make_unique<QWidget>();
    Window->setWindowTitle(QString::fromStdString("Zent panel: " + Variant.Name));
    std::vector<QWidget*> Readouts;
    for (int i = 0; i < Settings.Readouts; ++i) {
        Readouts.push_back(Variant.Make(Window.get()));
        Variant.Write(Readouts.back(), ReadoutValue(0, i));
        Counter.Watch(Readouts.back());
    }
    QScreen* Screen = QGuiApplication::primaryScreen();
    Window->setGeometry(
        QRect(Screen->geometry().topLeft(), LayOutGrid(Readouts, Variant.Size, Screen->size())));
    Window->show();
    AwaitExposed(*Window);

    int64_t Ticks = 0;
    QTimer Timer;
    Timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&Timer, &QTimer::timeout, [&] {
        ++Ticks;
        for (int i = 0; i < int(Readouts.size()); ++i) Variant.Write(Readouts[i], ReadoutValue(Ticks, i));
    });
    Timer.start(Settings.TickInterval);
    RunEventLoop(Settings.Warmup);

    const int64_t Ticks0 = Ticks, Paints0 = Counter.Paints;
    const double Program0 = OwnCpuSeconds(), XServer0 = XServerSeconds(Settings);
    QElapsedTimer Wall;
    Wall.start();
    RunEventLoop(Settings.Measured);
    TPanelSample Sample;
    Sample.Wall = double(Wall.nsecsElapsed()) * 1e-9;
    Sample.ProgramCpu = OwnCpuSeconds() - Program0;
    Sample.XServerCpu = XServerSeconds(Settings) - XServer0;
    Sample.Ticks = Ticks - Ticks0;
    Sample.Paints = Counter.Paints - Paints0;

    Timer.stop();
    if (!Settings.Screenshot.isEmpty()) {
        RunEventLoop(std::chrono::milliseconds(50));  // the last tick on the screen
        Screen->grabWindow(0).save(Settings.Screenshot, "PNG");
    }
    SetRepaintPolicy(TRepaintPolicy::Immediate);
    return Sample;
}

}  // namespace zent::bench
