#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Zent_math1.h"
#include "decimal_oracle.h"

using namespace zent;

namespace {

struct EngCase {
    int32_t Digits;
    double Value;
    const char* Text;
};

TEST(FormatEngineering, WorkedExamplesAndEdges) {
    constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double Inf = std::numeric_limits<double>::infinity();
    const EngCase Cases[] = {
        {3, 12345, "12.3k"},
        {-3, 12345, "12k3"},
        {2, 12345, "12k"},
        {2, 123456, "123k"},
        {1, 1500, "2k"},
        {3, 0.000471, "471u"},
        {3, -2.5, "-2.50"},
        {4, 0, "0.000"},
        {-4, 0, "0.000"},
        {-3, 0, "0.00"},
        {3, NaN, "0.00"},       // NaN is written like zero
        {3, 999.96, "1000"},    // rounds up but keeps the lower prefix
        {3, 2.5e16, "25000T"},  // beyond T the integer part grows
        {3, 1e15, "1000T"},
        {3, 5e-20, "0.0500a"},
        {3, 1.5e-40, "0.000000000000000000000000a"},  // 17 decimals, then zeros
        {-1, 12345, "12k"},                           // no point to replace: appended
        {0, 12345, "12k"},
        {-3, 12, "12.0"},  // no prefix at g = 0, the point stays
        {-3, -0.0471, "-47m1"},
        {12, 1.234567891234, "1.23456789"},  // Digits limited to 9
        {-12, 1234.567891234, "1k23456789"},
        {3, 1e-18, "1.00a"},
        {3, 1e12, "1.00T"},
        {3, 1e3, "1.00k"},  // powers of ten have whole logarithms
        {3, 1e-3, "1.00m"},
        // One power of ten per prefix letter, at each place within its group.
        {3, 4.7e-18, "4.70a"},
        {3, 4.7e-14, "47.0f"},
        {3, 4.7e-10, "470p"},
        {3, 4.7e-9, "4.70n"},
        {3, 4.7e-5, "47.0u"},
        {3, 0.47, "470m"},
        {3, 4.7e3, "4.70k"},
        {3, 3.5e6, "3.50M"},
        {3, 4.7e10, "47.0G"},
        {3, 4.7e14, "470T"},
        {3, Inf, "INF"},
        {-3, -Inf, "-INF"},
    };
    for (const EngCase& C : Cases)
        EXPECT_EQ(FormatEngineering(C.Digits, C.Value), C.Text)
            << "digits " << C.Digits << " value " << C.Value;
}

TEST(FormatEngineering, ExtremeMagnitudesStayWellFormed) {
    EXPECT_EQ(FormatEngineering(3, 5e-324).back(), 'a');
    EXPECT_EQ(FormatEngineering(3, 5e-324).size(), 2u + 216u + 1u);  // decimals limited to 216
    // The mantissa of the largest doubles reaches the exponent form.
    EXPECT_EQ(FormatEngineering(3, 1.7e308), " 1.7E+0296T");
}

// Against the exact mantissa Value / 10^(3g); the group and the decimals
// come from Log10 and Floor, which have tests of their own.
TEST(FormatEngineering, MatchesExactDecimalExpansion) {
    for (const oracle::EngineeringSample& S : oracle::EngineeringSamples())
        ASSERT_EQ(FormatEngineering(S.Digits, S.Value), oracle::ReferenceEngineering(S.Digits, S.Value))
            << "digits " << S.Digits << " value " << std::hexfloat << S.Value;
}

TEST(Log10, PowersOfTenAreWhole) {
    for (int e = -300; e <= 300; ++e) {
        const double x = std::pow(10.0, e);
        EXPECT_EQ(Log10(x), double(e)) << "1e" << e;
    }
    EXPECT_DOUBLE_EQ(Log10(2.0), 0.30102999566398120);
    EXPECT_EQ(Log10(std::numeric_limits<double>::infinity()), std::numeric_limits<double>::infinity());
}

TEST(Log10, RejectsArgumentsAtOrBelowZero) {
    for (double x : {0.0, -0.0, -1.0, -std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
        try {
            Log10(x);
            ADD_FAILURE() << "no exception for " << x;
        } catch (const EMathError& E) {
            EXPECT_EQ(E.Message(), "logarithm: invalid argument");
        }
    }
}

TEST(Floor, RoundsDownToInt32) {
    EXPECT_EQ(Floor(2.5), 2);
    EXPECT_EQ(Floor(3.5), 3);
    EXPECT_EQ(Floor(-2.5), -3);
    EXPECT_EQ(Floor(-0.5), -1);
    EXPECT_EQ(Floor(-3.0), -3);
    EXPECT_EQ(Floor(0.9999999999999999), 0);
    EXPECT_EQ(Floor(1e300), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Floor(-1e300), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Floor(std::numeric_limits<double>::quiet_NaN()), 0);
}

}  // namespace
