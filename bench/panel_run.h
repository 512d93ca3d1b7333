// One measurement of the panel benchmark: a real window with a grid of
// readouts of one variant, every readout written at each tick of a 100 ms
// timer, and the CPU time this program and the X server spend on it.
#pragma once

#include <sys/types.h>
#include <QString>
#include <chrono>
#include <cstdint>
#include <optional>

#include "panel_variants.h"

namespace zent::bench {

struct TPanelSettings {
    int Readouts = 300;
    std::chrono::milliseconds Warmup{1000}, Measured{5000};
    std::chrono::milliseconds TickInterval{100};
    std::optional<pid_t> XServer;  // counted when given
    QString Screenshot;            // where to save the screen at the end, when not empty
};

// What one measured stretch cost. Without an X server pid, XServerCpu stays 0.
struct TPanelSample {
    double Wall = 0, ProgramCpu = 0, XServerCpu = 0;
    int64_t Ticks = 0;   // timer ticks handled
    int64_t Paints = 0;  // paint events of all readouts
};

// What a sample comes to per wall second and per tick.
struct TPanelRates {
    double Program, XServer, Total;  // CPU seconds per wall second
    double TicksPerSecond;           // below the timer's rate when the program fell behind
    double PaintsPerReadoutTick;     // 1 when every write was painted once
    double CpuMsPerTick;             // program and X server
};
TPanelRates RatesOf(const TPanelSample& Sample, int Readouts);

// Shows the panel, lets it run for the warm-up, then measures. Raises
// std::runtime_error when the grid does not fit on the screen, the window is
// not exposed within 10 s, or the X server's CPU time cannot be read.
TPanelSample RunPanel(const TVariant& Variant, const TPanelSettings& Settings);

}  // namespace zent::bench
