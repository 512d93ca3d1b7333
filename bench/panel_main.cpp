// The panel benchmark: a window of many readouts, each written ten times a
// second, in a real X window. It measures the CPU seconds per wall second of
// this program and of the X server for each variant: the library's widgets
// under both repaint policies and the Qt widgets a user would pick instead.
// The variants take turns, round after round, so drift affects all alike;
// each turn is one Google Benchmark run with manual time and the rates as
// counters, and the end of the run prints the rates over all rounds and the
// ratios to the Qt peers. tools/run-panel-bench.sh starts an X server for it.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "panel_run.h"

namespace {
using namespace zent::bench;

struct TOptions {
    TPanelSettings Panel;
    int Rounds = 3;
    QString ScreenshotDir;
};

void PrintHelp() {
    std::printf(
        "zent_panel_bench [--readouts=N] [--seconds=S] [--warmup=S] [--rounds=R] [--screenshots=DIR]\n"
        "                 [Google Benchmark flags, e.g. --benchmark_filter=TSevenSeg]\n"
        "  N readouts (default 300) per window, each written every 100 ms; S seconds measured\n"
        "  (default 5) after a warm-up (default 1) in each of R rounds (default 3). DIR receives a\n"
        "  screenshot of each variant's window in the first round. Runs on X (QT_QPA_PLATFORM=xcb);\n"
        "  ZENT_XSERVER_PID names the X server whose CPU time is counted with the program's.\n"
        "  tools/run-panel-bench.sh starts Xvfb and passes these on.\n\n");
    benchmark::PrintDefaultHelp();
}

// Reads --name=value options; anything else is an error.
TOptions ParseOptions(const QStringList& Arguments) {
    TOptions Options;
    for (const QString& Argument : Arguments) {
        const QString Name = Argument.section('=', 0, 0), Value = Argument.section('=', 1);
        bool Ok = !Value.isEmpty();
        auto Number = [&](double Low, double High) {
            const double N = Value.toDouble(&Ok);
            Ok = Ok && N >= Low && N <= High;
            return N;
        };
        auto Millis = [](double Seconds) { return std::chrono::milliseconds(std::llround(Seconds * 1000)); };
        if (Name == "--readouts")
            Options.Panel.Readouts = int(Number(1, 100000));
        else if (Name == "--seconds")
            Options.Panel.Measured = Millis(Number(0.5, 3600));
        else if (Name == "--warmup")
            Options.Panel.Warmup = Millis(Number(0, 3600));
        else if (Name == "--rounds")
            Options.Rounds = int(Number(1, 1000));
        else if (Name == "--screenshots")
            Options.ScreenshotDir = Value;
        else
            Ok = false;
        if (!Ok) throw std::runtime_error("unknown option or bad value: " + Argument.toStdString());
    }
    return Options;
}

std::optional<pid_t> XServerFromEnvironment() {
    if (qEnvironmentVariableIsEmpty("ZENT_XSERVER_PID")) return std::nullopt;
    bool Ok = false;
    const int Pid = qEnvironmentVariableIntValue("ZENT_XSERVER_PID", &Ok);
    if (!Ok || Pid <= 0) throw std::runtime_error("ZENT_XSERVER_PID is no process id");
    return Pid;
}

// All rounds of one variant.
struct TTotals {
    TPanelSample Sum;
    double LowestRate = 1e300, HighestRate = 0;  // total s/s of a single round
    int Rounds = 0;
    void Add(const TPanelSample& S, int Readouts) {
        Sum.Wall += S.Wall;
        Sum.ProgramCpu += S.ProgramCpu;
        Sum.XServerCpu += S.XServerCpu;
        Sum.Ticks += S.Ticks;
        Sum.Paints += S.Paints;
        LowestRate = std::min(LowestRate, RatesOf(S, Readouts).Total);
        HighestRate = std::max(HighestRate, RatesOf(S, Readouts).Total);
        ++Rounds;
    }
};

void ReportCounters(benchmark::State& State, const TPanelSample& S, int Readouts) {
    const TPanelRates R = RatesOf(S, Readouts);
    State.counters["program_s/s"] = R.Program;
    State.counters["xserver_s/s"] = R.XServer;
    State.counters["total_s/s"] = R.Total;
    State.counters["ticks/s"] = R.TicksPerSecond;
    State.counters["paints/readout/tick"] = R.PaintsPerReadoutTick;
    State.counters["cpu_ms/tick"] = R.CpuMsPerTick;
}

struct TComparison {
    const char* Name;
    std::array<TVariantId, 2> Library;  // Immediate, Coalesced
    TVariantId Peer;
};
constexpr TComparison Comparisons[] = {
    {"TNumLab / QLabel", {NumLabImmediate, NumLabCoalesced}, FramedQLabel},
    {"TSevenSeg / DSEG7 QLabel", {SevenSegImmediate, SevenSegCoalesced}, Dseg7QLabel},
    {"TSevenSeg / QLCDNumber", {SevenSegImmediate, SevenSegCoalesced}, LcdNumber},
};

void PrintSummary(const std::vector<TVariant>& Variants, const std::vector<TTotals>& Totals,
                  const TOptions& Options) {
    const TPanelSettings& Panel = Options.Panel;
    const double TimerRate = 1000.0 / double(Panel.TickInterval.count());
    std::printf(
        "\nPanel of %d readouts, each written every %lld ms; %d rounds of %.1f s after %.1f s of warm-up.\n",
        Panel.Readouts, (long long)Panel.TickInterval.count(), Options.Rounds,
        Panel.Measured.count() / 1000.0, Panel.Warmup.count() / 1000.0);
    if (Panel.XServer)
        std::printf("CPU seconds per wall second over all rounds, this program and the X server (pid %d):\n",
                    int(*Panel.XServer));
    else
        std::printf(
            "CPU seconds per wall second over all rounds, this program only (ZENT_XSERVER_PID not set):\n");
    std::printf("%-20s %8s %8s %8s %14s %8s %8s %8s\n", "variant", "program", "X server", "total",
                "rounds' total", "ticks/s", "paints", "ms/tick");
    bool Behind = false;
    std::vector<TPanelRates> Rates;
    for (size_t v = 0; v < Variants.size(); ++v) {
        Rates.push_back(RatesOf(Totals[v].Sum, Panel.Readouts));
        const TPanelRates& R = Rates.back();
        if (Totals[v].Rounds == 0) continue;
        Behind = Behind || R.TicksPerSecond < 0.95 * TimerRate;
        std::printf("%-20s %8.3f %8s %8.3f %6.3f..%-6.3f %8.2f %8.2f %8.2f\n", Variants[v].Name.c_str(),
                    R.Program, Panel.XServer ? QByteArray::number(R.XServer, 'f', 3).constData() : "-",
                    R.Total, Totals[v].LowestRate, Totals[v].HighestRate, R.TicksPerSecond,
                    R.PaintsPerReadoutTick, R.CpuMsPerTick);
    }
    std::printf(
        "(paints: paint events per readout and tick; ms/tick: CPU milliseconds per tick, both processes)\n");
    if (Behind)
        std::printf(
            "Some variants handled fewer than %.1f ticks a second: they fell behind (or the machine was\n"
            "busy), and their s/s understate the cost; compare their ms/tick.\n",
            0.95 * TimerRate);
    std::printf("\nRatio of total s/s to the Qt peer (program alone in brackets):\n%-26s %16s %16s\n", "",
                "Immediate", "Coalesced");
    for (const TComparison& C : Comparisons) {
        std::printf("%-26s", C.Name);
        for (const TVariantId Library : C.Library) {
            const TPanelRates &L = Rates[Library], &P = Rates[C.Peer];
            if (Totals[Library].Rounds && Totals[C.Peer].Rounds)
                std::printf(" %7.2f (%6.2f)", L.Total / P.Total, L.Program / P.Program);
            else
                std::printf(" %16s", "-");
        }
        std::printf("\n");
    }
}

QString ScreenshotPath(const TOptions& Options, const TVariant& Variant) {
    QString File = QString::fromStdString(Variant.Name).replace('/', '-') + ".png";
    return QDir(Options.ScreenshotDir).filePath(File);
}

}  // namespace

int main(int argc, char** argv) {
    // Google Benchmark takes its flags (and --help) from a copy, before
    // there is a display; the application then takes its own from argv.
    int Count = argc;
    std::vector<char*> Arguments(argv, argv + argc + 1);
    benchmark::Initialize(&Count, Arguments.data(), PrintHelp);
    QApplication App(argc, argv);
    bool Failed = false;
    try {
        QStringList Own;  // what neither took
        for (int i = 1; i < Count; ++i)
            if (QCoreApplication::arguments().contains(QString::fromLocal8Bit(Arguments[i])))
                Own << QString::fromLocal8Bit(Arguments[i]);
        const TOptions Options = [&] {
            TOptions O = ParseOptions(Own);
            O.Panel.XServer = XServerFromEnvironment();
            return O;
        }();
        if (QGuiApplication::platformName() != "xcb")
            throw std::runtime_error(
                "needs a real X window: run with QT_QPA_PLATFORM=xcb (tools/run-panel-bench.sh)");
        if (!Options.ScreenshotDir.isEmpty()) QDir().mkpath(Options.ScreenshotDir);
        const std::vector<TVariant> Variants = PanelVariants();
        std::vector<TTotals> Totals(Variants.size());
        for (int Round = 1; Round <= Options.Rounds; ++Round)
            for (size_t k = 0; k < Variants.size(); ++k) {
                const size_t v = (k + Round - 1) % Variants.size();  // each round starts one further on
                const std::string Name = Variants[v].Name + "/round:" + std::to_string(Round);
                benchmark::RegisterBenchmark(
                    Name.c_str(),
                    [&, v, Round](benchmark::State& State) {
                        TPanelSettings Settings = Options.Panel;
                        if (Round == 1 && !Options.ScreenshotDir.isEmpty())
                            Settings.Screenshot = ScreenshotPath(Options, Variants[v]);
                        for (auto _ : State) {
                            try {
                                const TPanelSample Sample = RunPanel(Variants[v], Settings);
                                State.SetIterationTime(Sample.Wall);
                                Totals[v].Add(Sample, Settings.Readouts);
                                ReportCounters(State, Sample, Settings.Readouts);
                            } catch (const std::exception& Error) {
                                State.SkipWithError(Error.what());
                                Failed = true;
                                break;
                            }
                        }
                    })
                    ->Iterations(1)
                    ->UseManualTime()
                    ->Unit(benchmark::kMillisecond);
            }
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        PrintSummary(Variants, Totals, Options);
    } catch (const std::exception& Error) {
        std::fprintf(stderr, "zent_panel_bench: %s\n", Error.what());
        return 1;
    }
    return Failed ? 1 : 0;
}
