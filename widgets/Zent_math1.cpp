#include "Zent_math1.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "Zent_stringl.h"

namespace zent {

namespace {

// ln 10 rounded to the 64-bit mantissa of an extended real.
constexpr long double Ln10 = 2.302585092994045684017991454684364208L;

constexpr int MinGroup = -6;
constexpr int MaxGroup = 4;
// Prefix letters of the groups 1e-18 .. 1e12; the blank of group 0 is never written.
constexpr char PrefixTable[MaxGroup - MinGroup + 1] = {'a', 'f', 'p', 'n', 'u', 'm', ' ', 'k', 'M', 'G', 'T'};

// 10^(3g) as exp(3g ln 10) in extended precision, computed once per group.
const std::array<long double, MaxGroup - MinGroup + 1>& GroupFactors() {
    static const auto Factors = [] {
        std::array<long double, MaxGroup - MinGroup + 1> F{};
        for (int g = MinGroup; g <= MaxGroup; ++g) F[std::size_t(g - MinGroup)] = std::exp(3 * g * Ln10);
        return F;
    }();
    return Factors;
}

}  // namespace

double Log10(double x) {
    if (!(x > 0)) throw EMathError("logarithm: invalid argument");
    return double(std::log(static_cast<long double>(x)) / Ln10);
}

int32_t Floor(double x) {
    if (std::isnan(x)) return 0;
    if (x <= double(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    if (x >= double(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    // Round to nearest (ties to even), then step down when that overshot.
    double Rounded = std::nearbyint(x);
    if (Rounded > x) Rounded -= 1;
    return int32_t(Rounded);
}

std::string FormatEngineering(int32_t Digits, double Value) {
    Digits = std::clamp(Digits, -9, 9);
    const int Base = Digits >= 2 ? Digits - 1 : (Digits <= -2 ? Digits + 1 : 0);
    const int Places = Base < 0 ? -Base : Base;
    // A NaN compares as zero here.
    if (Value == 0 || std::isnan(Value)) return FormatFixed(1, Places, 0);
    if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";

    const bool Negative = Value < 0;
    const double Magnitude = std::fabs(Value);
    const double Log = Log10(Magnitude);
    const int Exp10 = Floor(Log);
    const int Group = std::clamp(Floor(double(static_cast<long double>(Log) / 3)), MinGroup, MaxGroup);
    const int Decimals = std::max(Places + 3 * Group - Exp10, 0);
    const long double Mantissa = Magnitude / GroupFactors()[std::size_t(Group - MinGroup)];

    std::string Text = FormatFixed(1, Decimals, Mantissa);
    if (Group != 0) {
        const char Prefix = PrefixTable[Group - MinGroup];
        const std::size_t Point = Text.find('.');
        if (Base < 0 && Point != std::string::npos)
            Text[Point] = Prefix;
        else
            Text += Prefix;
    }
    if (Negative) Text.insert(Text.begin(), '-');
    return Text;
}

}  // namespace zent
