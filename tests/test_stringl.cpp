#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "Zent_stringl.h"

using namespace zent;

namespace {

struct FixedCase {
    int32_t Width, Decimals;
    long double Value;
    const char* Text;
};

TEST(FormatFixed, WorkedExamplesAndEdges) {
    const FixedCase Cases[] = {
        {6, 3, 5.25L, " 5.250"},
        {6, 3, 45296.1237L, "45296.124"},  // longer than Width: never cut
        {1, 0, 2.5L, "3"},                 // halves away from zero
        {1, 0, 0.5L, "1"},
        {1, 0, 1.5L, "2"},
        {1, 0, -2.5L, "-3"},
        {1, 2, 0.125L, "0.13"},
        {1, 0, 0.0L, "0"},
        {1, 0, -0.0L, "0"},
        {1, 3, -0.0001L, "-0.000"},               // negative values keep their sign
        {8, 2, -1.005L, "   -1.01"},              // just below the half, but 18 digits round up to it
        {1, 20, 0.1L, "0.10000000000000000000"},  // 17 decimals, then zeros
        {1, 18, 4.9e-18L, "0.000000000000000000"},
        {1, 17, 5.1e-18L, "0.00000000000000001"},
        {1, 0, 1e20L, "100000000000000000000"},
        {1, 0, 123456789012345678901234.0L, "123456789012345679000000"},  // 18 digits kept
        {1, 0, 0.99999999999999999999L, "1"},
        {-5, 1, 7.0L, "7.0"},
        // Exponent form from 2^120 on.
        {1, 0, 1e38L, " 1.0E+0038"},
        {1, 5, -1e38L, "-1.0E+0038"},
        {12, 0, 1e38L, " 1.000E+0038"},
        {30, 0, 1.18e4932L, "     1.18000000000000000E+4932"},
        {10, 0, 9.96e40L, " 1.0E+0041"},  // mantissa rounds up into the next decade
        {1, 0, 0x1p120L, " 1.3E+0036"},
        {INT32_MIN, 0, 1e40L, " 1.0E+0040"},  // no width arithmetic overflows
        // Non-finite values.
        {5, 0, std::numeric_limits<long double>::quiet_NaN(), "  NAN"},
        {1, 0, std::numeric_limits<long double>::infinity(), "INF"},
        {5, 0, -std::numeric_limits<long double>::infinity(), " -INF"},
    };
    for (const FixedCase& C : Cases)
        EXPECT_EQ(FormatFixed(C.Width, C.Decimals, C.Value), C.Text)
            << "width " << C.Width << " decimals " << C.Decimals << " value " << double(C.Value);
}

TEST(FormatFixed, LimitsDecimalsAndWidth) {
    EXPECT_EQ(FormatFixed(1, -3, 2.75L), "3");
    EXPECT_EQ(FormatFixed(1, 1000, 1.0L), FormatFixed(1, 216, 1.0L));
    EXPECT_EQ(FormatFixed(1, 216, 1.0L).size(), 218u);
    EXPECT_EQ(FormatFixed(1'000'000, 0, 1.0L).size(), 255u);
    // The longest text: 37 integer digits, sign, point and 216 decimals.
    EXPECT_EQ(FormatFixed(1, 1000, -0x1p120L * 0.9999L).size(), 255u);
}

// Exact decimal digits of Mantissa * 2^Exponent, computed with base-10^9 limbs.
class BigDecimal {
public:
    BigDecimal(uint64_t Mantissa, int Exponent) {
        Limbs = {uint32_t(Mantissa % Base), uint32_t(Mantissa / Base % Base),
                 uint32_t(Mantissa / Base / Base)};
        for (; Exponent > 0; Exponent -= std::min(Exponent, 29))
            Multiply(uint32_t(1) << std::min(Exponent, 29));
        // m / 2^k = m * 5^k / 10^k
        for (; Exponent < 0; ++Exponent, ++FractionDigits) Multiply(5);
    }
    // Integer digits (at least "0") and exactly FractionDigits fraction digits.
    std::string Digits() const {
        std::string Text;
        for (std::size_t i = Limbs.size(); i-- > 0;) {
            std::string Part = std::to_string(Limbs[i]);
            Text += std::string(9 - Part.size(), '0') + Part;
        }
        Text.insert(0, std::size_t(FractionDigits) + 1, '0');
        return Text;
    }
    int FractionDigits = 0;

private:
    void Multiply(uint32_t Factor) {
        uint64_t Carry = 0;
        for (uint32_t& L : Limbs) {
            const uint64_t Cur = uint64_t(L) * Factor + Carry;
            L = uint32_t(Cur % Base);
            Carry = Cur / Base;
        }
        while (Carry) {
            Limbs.push_back(uint32_t(Carry % Base));
            Carry /= Base;
        }
    }
    static constexpr uint64_t Base = 1'000'000'000;
    std::vector<uint32_t> Limbs;
};

// Keeps the first Keep digits of Digits and rounds by the rest; returns the
// kept digits, one longer after a carry out of the first digit.
std::string RoundDigits(const std::string& Digits, std::size_t Keep, bool TiesToEven) {
    std::string Kept = Digits.substr(0, Keep);
    const std::string Rest = Digits.substr(Keep);
    bool Up = false;
    if (!Rest.empty() && Rest[0] >= '5') {
        const bool Exact = Rest[0] == '5' && Rest.find_first_not_of('0', 1) == std::string::npos;
        Up = !TiesToEven || !Exact || (!Kept.empty() && (Kept.back() - '0') % 2 == 1);
    }
    if (Up) {
        std::size_t i = Kept.size();
        while (i > 0 && Kept[i - 1] == '9') Kept[--i] = '0';
        if (i == 0)
            Kept.insert(0, "1");
        else
            ++Kept[i - 1];
    }
    return Kept;
}

std::string ReferenceFixed(uint64_t Mantissa, int Exponent, bool Negative, int Width, int Decimals) {
    const BigDecimal Exact(Mantissa, Exponent);
    std::string All = Exact.Digits();
    const std::size_t Lead = std::min(All.find_first_not_of('0'), All.size() - Exact.FractionDigits - 1);
    All.erase(0, Lead);
    const int IntDigits = int(All.size()) - Exact.FractionDigits;
    const bool Huge = std::ldexp(static_cast<long double>(Mantissa), Exponent) >= 0x1p120L;
    std::string Text;
    if (Huge) {
        int Exp10 = IntDigits - 1;
        std::string Sig = RoundDigits(All, 18, true);
        if (Sig.size() > 18) {
            Sig.pop_back();
            ++Exp10;
        }
        const int G = std::clamp(Width - 8, 2, 18);
        std::string Kept = RoundDigits(Sig, std::size_t(G), false);
        if (Kept.size() > std::size_t(G)) {
            Kept.pop_back();
            ++Exp10;
        }
        char Exp[8];
        std::snprintf(Exp, sizeof Exp, "%04d", Exp10);
        Text = std::string(Negative ? "-" : " ") + Kept[0] + "." + Kept.substr(1) + "E+" + Exp;
    } else {
        // Stage one: 17 decimals below 10, else 18 significant digits, ties to even.
        const int Places = IntDigits <= 1 ? 17 : 18 - IntDigits;
        std::string Stage1 = RoundDigits(All, std::size_t(IntDigits + Places), true);
        Stage1.append(std::size_t(std::max(0, Decimals - Places)), '0');
        // Stage two: cut after Decimals places, halves away from zero.
        std::string Kept = Decimals >= Places
                               ? Stage1
                               : RoundDigits(Stage1, Stage1.size() - std::size_t(Places - Decimals), false);
        if (Kept.size() < std::size_t(Decimals) + 1)
            Kept.insert(0, std::size_t(Decimals) + 1 - Kept.size(), '0');
        const std::size_t Lead0 = std::min(Kept.find_first_not_of('0'), Kept.size() - Decimals - 1);
        Kept.erase(0, Lead0);
        Text = (Negative ? "-" : "") + Kept.substr(0, Kept.size() - Decimals);
        if (Decimals > 0) Text += "." + Kept.substr(Kept.size() - Decimals);
    }
    if (int(Text.size()) < Width) Text.insert(0, std::size_t(Width) - Text.size(), ' ');
    return Text;
}

TEST(FormatFixed, MatchesExactDecimalExpansion) {
    std::mt19937 Rng(20240611);
    for (int Case = 0; Case < 20000; ++Case) {
        uint64_t Mantissa = (uint64_t(Rng()) << 32 | Rng()) | (uint64_t(1) << 63);
        // Short mantissas give exact halves, where the two roundings differ.
        if (Rng() % 3 == 0) Mantissa &= ~((uint64_t(1) << (Rng() % 60)) - 1);
        const int Exponent = -63 + int(Rng() % 260) - 130;  // 2^-130 .. 2^130
        const bool Negative = Rng() % 2;
        const int Width = int(Rng() % 32);
        const int Decimals = int(Rng() % 40);
        long double Value = std::ldexp(static_cast<long double>(Mantissa), Exponent);
        if (Negative) Value = -Value;
        ASSERT_EQ(FormatFixed(Width, Decimals, Value),
                  ReferenceFixed(Mantissa, Exponent, Negative, Width, Decimals))
            << "mantissa " << Mantissa << " exponent " << Exponent << " width " << Width << " decimals "
            << Decimals;
    }
    // Exponent form up to the largest extended values.
    for (int Case = 0; Case < 300; ++Case) {
        const uint64_t Mantissa = (uint64_t(Rng()) << 32 | Rng()) | (uint64_t(1) << 63);
        const int Exponent = 57 + int(Rng() % (16320 - 57 + 1));
        const int Width = int(Rng() % 32);
        const long double Value = std::ldexp(static_cast<long double>(Mantissa), Exponent);
        ASSERT_EQ(FormatFixed(Width, 0, Value), ReferenceFixed(Mantissa, Exponent, false, Width, 0))
            << "mantissa " << Mantissa << " exponent " << Exponent << " width " << Width;
    }
}

}  // namespace
