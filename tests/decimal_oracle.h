// Exact decimal references for the number texts, and the seeded samples they
// are compared on. Shared by the unit tests and the arm64 self-check, so it
// needs neither Qt nor GoogleTest.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "Zent_math1.h"
#include "Zent_stringl.h"

namespace zent::oracle {

__extension__ typedef unsigned __int128 u128;

// The exact value of a binary number as a digit string: Digits[i] stands at
// place Lead - i. Zero has no digits.
struct Exact {
    std::string Digits;
    int Lead = 0;
};

// Mantissa * 2^Exponent, multiplied out with base-10^9 limbs.
inline Exact ExactValue(u128 Mantissa, int Exponent) {
    constexpr uint64_t Base = 1'000'000'000;
    std::vector<uint32_t> Limbs;  // the value times 10^FractionDigits
    for (; Mantissa != 0; Mantissa /= Base) Limbs.push_back(uint32_t(Mantissa % Base));
    const auto Multiply = [&](uint32_t Factor) {
        uint64_t Carry = 0;
        for (uint32_t& L : Limbs) {
            const uint64_t Cur = uint64_t(L) * Factor + Carry;
            L = uint32_t(Cur % Base);
            Carry = Cur / Base;
        }
        for (; Carry != 0; Carry /= Base) Limbs.push_back(uint32_t(Carry % Base));
    };
    int FractionDigits = 0;
    for (; Exponent > 0; Exponent -= std::min(Exponent, 29)) Multiply(uint32_t(1) << std::min(Exponent, 29));
    for (; Exponent < 0; Exponent += std::min(-Exponent, 13)) {  // m / 2^k = m * 5^k / 10^k
        const int Step = std::min(-Exponent, 13);
        uint32_t Factor = 1;
        for (int i = 0; i < Step; ++i) Factor *= 5;
        Multiply(Factor);
        FractionDigits += Step;
    }
    std::string All;
    for (std::size_t i = Limbs.size(); i-- > 0;) {
        const std::string Part = std::to_string(Limbs[i]);
        All += std::string(9 - Part.size(), '0') + Part;
    }
    const std::size_t First = All.find_first_not_of('0');
    if (First == std::string::npos) return {};
    Exact X{All.substr(First), int(All.size() - First) - 1 - FractionDigits};
    X.Digits.erase(X.Digits.find_last_not_of('0') + 1);
    return X;
}

// The digit at Place (0 beyond the expansion).
inline int DigitAt(const Exact& X, int Place) {
    const int i = X.Lead - Place;
    return i >= 0 && i < int(X.Digits.size()) ? X.Digits[std::size_t(i)] - '0' : 0;
}

// X rounded to a multiple of 10^Place, halves away from zero or to even.
inline Exact RoundAt(const Exact& X, int Place, bool TiesToEven) {
    const int Last = X.Lead - int(X.Digits.size()) + 1;  // the place of the last (non-zero) digit
    if (X.Digits.empty() || Last >= Place) return X;
    std::string Kept;
    for (int At = std::max(X.Lead, Place); At >= Place; --At) Kept += char('0' + DigitAt(X, At));
    const int Next = DigitAt(X, Place - 1);
    const bool Beyond = Last < Place - 1;
    if (Next > 5 || (Next == 5 && (Beyond || !TiesToEven || DigitAt(X, Place) % 2 == 1))) {
        std::size_t i = Kept.size();
        while (i > 0 && Kept[i - 1] == '9') Kept[--i] = '0';
        if (i == 0)
            Kept = std::string(1, '1').append(Kept);
        else
            ++Kept[i - 1];
    }
    const std::size_t First = Kept.find_first_not_of('0');
    if (First == std::string::npos) return {};
    Exact R{Kept.substr(First), Place + int(Kept.size() - First) - 1};
    R.Digits.erase(R.Digits.find_last_not_of('0') + 1);
    return R;
}

// X with its integer digits (at least "0") and exactly Decimals decimals.
inline std::string FixedDigits(const Exact& X, int Decimals) {
    std::string Text;
    for (int At = std::max(X.Digits.empty() ? 0 : X.Lead, 0); At >= -Decimals; --At) {
        if (At == -1) Text += '.';
        Text += char('0' + DigitAt(X, At));
    }
    return Text;
}

// Count significant digits of X from its lead, a '.' after the first.
inline std::string MantissaDigits(const Exact& X, int Count) {
    std::string Text(1, char('0' + DigitAt(X, X.Lead)));
    if (Count > 1) Text += '.';
    for (int i = 1; i < Count; ++i) Text += char('0' + DigitAt(X, X.Lead - i));
    return Text;
}

// The texts are put together by appending only: GCC 12 at -O3 warns
// wrongly about std::string insertions at the front (-Wrestrict).
inline std::string Cat(std::initializer_list<std::string> Parts) {
    std::string Text;
    for (const std::string& Part : Parts) Text.append(Part);
    return Text;
}

inline std::string ExponentDigits(int Exp10, bool PlusSign, std::size_t MinDigits) {
    const std::string Digits = std::to_string(Exp10 < 0 ? -Exp10 : Exp10);
    const char* Sign = Exp10 < 0 ? "-" : PlusSign ? "+" : "";
    return Cat({"E", Sign, std::string(MinDigits - std::min(MinDigits, Digits.size()), '0'), Digits});
}

inline std::string PadLeft(const std::string& Text, int Width) {
    return Cat({std::string(std::size_t(std::max(Width - int(Text.size()), 0)), ' '), Text});
}

// FormatFixed of an exact value: 18 significant digits but at most 17
// decimals, ties to even, then the cut halves away; exponent form when Huge.
inline std::string ReferenceFixed(const Exact& X, bool Negative, bool Huge, int Width, int Decimals) {
    Width = std::clamp(Width, 0, 255);
    Decimals = std::clamp(Decimals, 0, 216);
    if (Huge) {
        const int G = std::clamp(Width - 8, 2, 18);
        const Exact Sig = RoundAt(X, X.Lead - 17, true);
        const Exact Kept = RoundAt(Sig, Sig.Lead - G + 1, false);
        return PadLeft(
            Cat({Negative ? "-" : " ", MantissaDigits(Kept, G), ExponentDigits(Kept.Lead, true, 4)}), Width);
    }
    const Exact Kept = RoundAt(RoundAt(X, std::max(X.Lead - 17, -17), true), -Decimals, false);
    return PadLeft(Cat({Negative ? "-" : "", FixedDigits(Kept, Decimals)}), Width);
}

inline std::string ReferenceFixed(u128 Mantissa, int Exponent, bool Negative, int Width, int Decimals) {
    const bool Huge = std::ldexp(static_cast<long double>(Mantissa), Exponent) >= 0x1p120L;
    return ReferenceFixed(ExactValue(Mantissa, Exponent), Negative, Huge, Width, Decimals);
}

// The three label texts, rounded once on the exact value, halves away.
inline std::string ReferenceFloatText(TFloatFormat Format, u128 Mantissa, int Exponent, bool Negative,
                                      int P) {
    const Exact X = ExactValue(Mantissa, Exponent);
    if (Format == TFloatFormat::Fixed) {
        const int Decimals = std::clamp(P, 0, 341);
        const Exact R = RoundAt(X, std::max(X.Lead - 17, -Decimals), false);
        return Cat({Negative && !R.Digits.empty() ? "-" : "", FixedDigits(R, Decimals)});
    }
    const int W = std::clamp(P, 2, 18);
    const Exact R = RoundAt(X, X.Lead - W + 1, false);
    const std::string Sign = Negative && !R.Digits.empty() ? "-" : "";
    if (Format == TFloatFormat::Exponent)
        return Cat({Sign, MantissaDigits(R, W), ExponentDigits(R.Lead, true, 3)});
    if (R.Digits.empty()) return "0";
    const int e = R.Lead + 1, Shown = int(R.Digits.size());
    if (e >= -3 && e <= W) return Cat({Sign, FixedDigits(R, std::max(0, Shown - e))});
    return Cat({Sign, MantissaDigits(R, Shown), ExponentDigits(R.Lead, false, 3)});
}

// FormatEngineering with an exact mantissa: the group and the decimals come
// from Log10 and Floor, the mantissa is Value / 10^(3g) without rounding.
inline std::string ReferenceEngineering(int Digits, double Value) {
    Digits = std::clamp(Digits, -9, 9);
    const int B = Digits >= 2 ? Digits - 1 : Digits <= -2 ? Digits + 1 : 0;
    const int P = B < 0 ? -B : B;
    if (Value == 0 || std::isnan(Value)) return FixedDigits({}, P);
    if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
    const double L = Log10(std::fabs(Value));
    const int e = Floor(L);
    int g = Floor(L / 3);  // then exactly floor(L / 3)
    if (3.0 * g > L) --g;
    if (3.0 * (g + 1) <= L) ++g;
    g = std::clamp(g, -6, 4);
    int Exp = 0;
    const double Frac = std::frexp(std::fabs(Value), &Exp);
    Exact M = ExactValue(u128(std::ldexp(Frac, 53)), Exp - 53);
    M.Lead -= 3 * g;
    std::string Text = ReferenceFixed(M, false, false, 1, std::max(P + 3 * g - e, 0));
    if (g != 0) {
        const char Prefix = "afpnum kMGT"[g + 6];
        const std::size_t Point = Text.find('.');
        if (B < 0 && Point != std::string::npos)
            Text[Point] = Prefix;
        else
            Text += Prefix;
    }
    return Cat({Value < 0 ? "-" : "", Text});
}

// ---- Seeded samples -------------------------------------------------------

// MantissaBits-bit mantissas (top bit set; a third of them short, which
// gives exact halves) at magnitudes 2^-130..2^130, then 300 positive ones
// from 2^120 up to the largest long double, then 300 ties of the 18-digit
// rounding, (k + 1/2) 10^m with k of 18 digits, moved by one unit of the
// last mantissa bit up, down or not at all: only a read of every bit of the
// mantissa gets them right.
struct FixedSample {
    u128 Mantissa;
    int Exponent;
    bool Negative;
    int Width, Decimals;
    long double Value() const {
        const long double V = std::ldexp(static_cast<long double>(Mantissa), Exponent);
        return Negative ? -V : V;
    }
};

inline u128 DrawMantissa(std::mt19937& Rng, int Bits) {
    u128 M = 0;
    for (int Have = 0; Have < Bits; Have += 32) M = M << 32 | Rng();
    M >>= (Bits + 31) / 32 * 32 - Bits;
    return M | u128(1) << (Bits - 1);
}

inline std::vector<FixedSample> FixedSamples(int MantissaBits) {
    std::vector<FixedSample> Samples;
    std::mt19937 Rng(20240611);
    for (int Case = 0; Case < 20000; ++Case) {
        FixedSample S{};
        S.Mantissa = DrawMantissa(Rng, MantissaBits);
        if (Rng() % 3 == 0) S.Mantissa &= ~((u128(1) << (Rng() % (MantissaBits - 4))) - 1);
        S.Exponent = -(MantissaBits - 1) + int(Rng() % 260) - 130;
        S.Negative = Rng() % 2;
        S.Width = int(Rng() % 32);
        S.Decimals = int(Rng() % 40);
        Samples.push_back(S);
    }
    const int Lowest = 121 - MantissaBits,
              Highest = std::numeric_limits<long double>::max_exponent - MantissaBits;
    for (int Case = 0; Case < 300; ++Case) {
        FixedSample S{};
        S.Mantissa = DrawMantissa(Rng, MantissaBits);
        S.Exponent = Lowest + int(Rng() % unsigned(Highest - Lowest + 1));
        S.Width = int(Rng() % 32);
        Samples.push_back(S);
    }
    for (int Case = 0; Case < 300; ++Case) {
        FixedSample S{};
        const uint64_t High = Rng(), Low = Rng();
        const uint64_t K = (High << 32 | Low) % 900'000'000'000'000'000 + 100'000'000'000'000'000;
        // (2k + 1) 5^m 2^(m - 1), with m as large as the mantissa allows.
        const int MaxM = (MantissaBits - 61) * 3 / 7;
        const int M = int(Rng() % unsigned(MaxM + 1));
        S.Mantissa = 2 * K + 1;
        for (int i = 0; i < M; ++i) S.Mantissa *= 5;
        int Bits = 0;
        while (Bits < 128 && (S.Mantissa >> Bits) != 0) ++Bits;
        S.Mantissa <<= MantissaBits - Bits;
        S.Exponent = M - 1 - (MantissaBits - Bits);
        S.Mantissa += u128(int(Rng() % 3) - 1);
        S.Negative = Rng() % 2;
        S.Width = int(Rng() % 32);
        S.Decimals = int(Rng() % 4);
        Samples.push_back(S);
    }
    return Samples;
}

// Doubles over the whole range, half of them between 2^-70 and 2^70 where
// the positional forms are, some denormal; short mantissas give exact
// halves. P from -1 to 20.
struct FloatSample {
    TFloatFormat Format;
    u128 Mantissa;
    int Exponent;
    bool Negative;
    int P;
    double Value() const {
        const double V = std::ldexp(double(uint64_t(Mantissa)), Exponent);
        return Negative ? -V : V;
    }
};

inline std::vector<FloatSample> FloatSamples() {
    std::vector<FloatSample> Samples;
    std::mt19937 Rng(20240612);
    for (int Case = 0; Case < 6000; ++Case) {
        FloatSample S{};
        S.Format = TFloatFormat(Rng() % 3);
        S.Mantissa = DrawMantissa(Rng, 53);
        if (Rng() % 3 == 0) S.Mantissa &= ~((u128(1) << (Rng() % 50)) - 1);
        switch (Rng() % 4) {
            case 0:
            case 1:
                S.Exponent = -52 + int(Rng() % 141) - 70;
                break;
            case 2:
                S.Exponent = -1074 + int(Rng() % (971 + 1074 + 1));
                break;
            default:  // denormal
                S.Exponent = -1074;
                S.Mantissa >>= Rng() % 53;
        }
        S.Negative = Rng() % 2;
        S.P = int(Rng() % 22) - 1;
        Samples.push_back(S);
    }
    return Samples;
}

// Engineering notation over 2^-110..2^89 with every Digits from -12 to 12.
// Higher up the mantissa (Value / 10^12) shows more than 15 integer digits,
// and its 18th digit comes from a division in extended precision, not from
// the exact quotient.
struct EngineeringSample {
    int Digits;
    double Value;
};

inline std::vector<EngineeringSample> EngineeringSamples() {
    std::vector<EngineeringSample> Samples;
    std::mt19937 Rng(20240613);
    for (int Case = 0; Case < 5000; ++Case) {
        u128 M = DrawMantissa(Rng, 53);
        if (Rng() % 3 == 0) M &= ~((u128(1) << (Rng() % 50)) - 1);
        const int Exponent = -52 + int(Rng() % 200) - 110;
        const double V = std::ldexp(double(uint64_t(M)), Exponent);
        Samples.push_back({int(Rng() % 25) - 12, Rng() % 2 ? -V : V});
    }
    return Samples;
}

// ---- The numeric label's examples, and the extremes -------------------------

struct FloatTextCase {
    TFloatFormat Format;
    int P;
    double Value;
    const char* Text;
};

inline constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double Inf = std::numeric_limits<double>::infinity();

inline constexpr FloatTextCase FloatTextExamples[] = {
    {TFloatFormat::General, 4, 1234.5678, "1235"},
    {TFloatFormat::General, 4, 12345.678, "1.235E004"},
    {TFloatFormat::General, 4, 0.0003, "0.0003"},
    {TFloatFormat::General, 4, 0.00003, "3E-005"},
    {TFloatFormat::General, 4, 2.5, "2.5"},
    {TFloatFormat::General, 4, 0, "0"},
    {TFloatFormat::General, 0, 1234.5678, "1.2E003"},
    {TFloatFormat::Fixed, 2, 3.14159, "3.14"},
    {TFloatFormat::Fixed, 2, -0.001, "0.00"},
    {TFloatFormat::Fixed, 0, 2.5, "3"},
    {TFloatFormat::Fixed, 0, -2.5, "-3"},
    {TFloatFormat::Exponent, 3, 1234.5, "1.23E+003"},
    {TFloatFormat::Exponent, 3, 0.00015, "1.50E-004"},
    {TFloatFormat::Exponent, 3, -1234.5, "-1.23E+003"},
    {TFloatFormat::Exponent, 0, 1234.5, "1.2E+003"},
    {TFloatFormat::Exponent, 3, 0, "0.00E+000"},
    // Halves away from zero on the exact value, where snprintf goes to even.
    {TFloatFormat::Fixed, 2, 0.125, "0.13"},
    {TFloatFormat::General, 2, 0.125, "0.13"},
    {TFloatFormat::Exponent, 2, -0.125, "-1.3E-001"},
    {TFloatFormat::Fixed, 2, 1.005, "1.00"},  // 1.00499999999999989...
    // The positional range of General: -3 <= e <= working precision.
    {TFloatFormat::General, 4, 9999.4, "9999"},
    {TFloatFormat::General, 4, 9999.5, "1E004"},  // the carry moves it out
    {TFloatFormat::General, 18, 0.1, "0.100000000000000006"},
    {TFloatFormat::General, 2, -1e100, "-1E100"},
    // Beyond 18 significant digits every digit is 0.
    {TFloatFormat::Fixed, 20, 0.1, "0.10000000000000000600"},
    {TFloatFormat::Fixed, 0, 123456789012345678901.0, "123456789012345684000"},  // 1...683968
    // Extremes.
    {TFloatFormat::General, 4, NaN, "NAN"},
    {TFloatFormat::Fixed, 2, Inf, "INF"},
    {TFloatFormat::Exponent, 3, -Inf, "-INF"},
    {TFloatFormat::General, 15, -0.0, "0"},
    {TFloatFormat::Exponent, 2, -0.0, "0.0E+000"},
    {TFloatFormat::Fixed, 1, -0.0, "0.0"},
    {TFloatFormat::General, 4, 5e-324, "4.941E-324"},
    {TFloatFormat::Exponent, 18, 5e-324, "4.94065645841246544E-324"},
    {TFloatFormat::General, 17, 1.7976931348623157e308, "1.7976931348623157E308"},
    {TFloatFormat::Exponent, 2, 9.96e307, "1.0E+308"},
    {TFloatFormat::General, 1000, 1.0 / 3, "0.333333333333333315"},  // P limited to 18
    {TFloatFormat::Exponent, -5, 1.0 / 3, "3.3E-001"},               // and to 2
    {TFloatFormat::Fixed, -5, 2.5, "3"},
    {TFloatFormat(7), 4, 1234.5678, "1235"},  // an unnamed format is General
};

}  // namespace zent::oracle
