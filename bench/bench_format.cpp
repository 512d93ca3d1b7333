// Number and date-time text against the conversions a Qt program would use
// otherwise: QDateTime::toString and snprintf.
#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QString>
#include <array>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "Zent_dateutils.h"
#include "Zent_math1.h"
#include "Zent_stringl.h"

namespace {

// Seconds of the day with milliseconds, as the counter mode shows them, and
// a spread of magnitudes for the engineering notation.
template <bool Spread>
const std::array<double, 1024>& Values() {
    static const std::array<double, 1024> V = [] {
        std::array<double, 1024> A{};
        std::mt19937 Rng(42);
        for (double& X : A) {
            X = double(Rng() % 86'400'000) / 1000;
            if (Spread) X *= std::pow(10.0, int(Rng() % 30) - 15);
        }
        return A;
    }();
    return V;
}

void BM_DateTimeToText_Clock(benchmark::State& State) {
    const double Now = zent::CurrentDateTime();
    zent::FormatSettings();  // read the locale outside the loop
    for (auto _ : State) {
        std::string Text = zent::DateTimeToText("HH:MM:SS", Now);
        benchmark::DoNotOptimize(Text);
    }
}
BENCHMARK(BM_DateTimeToText_Clock);

// The Unicode face gives the same QString that QDateTime::toString gives.
void BM_DateTimeToText_Unicode_Clock(benchmark::State& State) {
    const double Now = zent::CurrentDateTime();
    zent::UnicodeFormatSettings();
    for (auto _ : State) {
        QString Text = zent::DateTimeToText(u"HH:MM:SS", Now);
        benchmark::DoNotOptimize(Text);
    }
}
BENCHMARK(BM_DateTimeToText_Unicode_Clock);

void BM_QDateTime_toString_Clock(benchmark::State& State) {
    const QDateTime Now = QDateTime::currentDateTime();
    const QString Pattern = QStringLiteral("HH:mm:ss");
    for (auto _ : State) {
        QString Text = Now.toString(Pattern);
        benchmark::DoNotOptimize(Text);
    }
}
BENCHMARK(BM_QDateTime_toString_Clock);

void BM_FormatFixed_6_3(benchmark::State& State) {
    const auto& V = Values<false>();
    std::size_t i = 0;
    for (auto _ : State) {
        std::string Text = zent::FormatFixed(6, 3, V[i++ & 1023]);
        benchmark::DoNotOptimize(Text);
    }
}
BENCHMARK(BM_FormatFixed_6_3);

void BM_snprintf_6_3f(benchmark::State& State) {
    const auto& V = Values<false>();
    std::size_t i = 0;
    for (auto _ : State) {
        char Buf[64];
        const int N = std::snprintf(Buf, sizeof Buf, "%6.3f", V[i++ & 1023]);
        std::string Text(Buf, std::size_t(N));
        benchmark::DoNotOptimize(Text);
    }
}
BENCHMARK(BM_snprintf_6_3f);

void BM_FormatEngineering_3(benchmark::State& State) {
    const auto& V = Values<true>();
    std::size_t i = 0;
    for (auto _ : State) {
        std::string Text = zent::FormatEngineering(3, V[i++ & 1023]);
        benchmark::DoNotOptimize(Text);
    }
}
BENCHMARK(BM_FormatEngineering_3);

// Three significant digits in exponent form: the nearest plain C conversion.
void BM_snprintf_3g(benchmark::State& State) {
    const auto& V = Values<true>();
    std::size_t i = 0;
    for (auto _ : State) {
        char Buf[64];
        const int N = std::snprintf(Buf, sizeof Buf, "%.3g", V[i++ & 1023]);
        std::string Text(Buf, std::size_t(N));
        benchmark::DoNotOptimize(Text);
    }
}
BENCHMARK(BM_snprintf_3g);

// The numeric label's general, exponent and fixed texts against the printf
// conversions a program would use instead (which round ties to even and
// write at most 17 exact digits rather than 18, so they are near peers).
template <zent::TFloatFormat Format, int Digits, bool Spread>
void BM_FloatToText(benchmark::State& State) {
    const auto& V = Values<Spread>();
    std::size_t i = 0;
    for (auto _ : State) {
        std::string Text = zent::FloatToText(Format, V[i++ & 1023], Digits);
        benchmark::DoNotOptimize(Text);
    }
}

template <char Conversion, int Precision, bool Spread>
void BM_snprintf(benchmark::State& State) {
    constexpr char Pattern[] = {'%', '.', '*', Conversion, 0};
    const auto& V = Values<Spread>();
    std::size_t i = 0;
    for (auto _ : State) {
        char Buf[400];
        const int N = std::snprintf(Buf, sizeof Buf, Pattern, Precision, V[i++ & 1023]);
        std::string Text(Buf, std::size_t(N));
        benchmark::DoNotOptimize(Text);
    }
}

// General with 4 digits: "%.4g"; Exponent with 3 digits: "%.2e"; Fixed with
// 2 decimals: "%.2f". The first two over the spread of magnitudes.
BENCHMARK(BM_FloatToText<zent::TFloatFormat::General, 4, true>)->Name("BM_FloatToText_General_4");
BENCHMARK(BM_snprintf<'g', 4, true>)->Name("BM_snprintf_4g");
BENCHMARK(BM_FloatToText<zent::TFloatFormat::Exponent, 3, true>)->Name("BM_FloatToText_Exponent_3");
BENCHMARK(BM_snprintf<'e', 2, true>)->Name("BM_snprintf_2e");
BENCHMARK(BM_FloatToText<zent::TFloatFormat::Fixed, 2, false>)->Name("BM_FloatToText_Fixed_2");
BENCHMARK(BM_snprintf<'f', 2, false>)->Name("BM_snprintf_2f");

}  // namespace
