#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>

#include "Zent_stringl.h"
#include "decimal_oracle.h"

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
        // 1.473415025e-9 + 7.3e-36: a tie at the 17th decimal, broken 19 places further on.
        {1, 17, 0xca812eb711114abfp-93L, "0.00000000147341503"},
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

TEST(FormatFixed, MatchesExactDecimalExpansion) {
    // The exponent form is reached up to the largest long double.
    for (const oracle::FixedSample& S : oracle::FixedSamples(64))
        ASSERT_EQ(FormatFixed(S.Width, S.Decimals, S.Value()),
                  oracle::ReferenceFixed(S.Mantissa, S.Exponent, S.Negative, S.Width, S.Decimals))
            << "mantissa " << uint64_t(S.Mantissa) << " exponent " << S.Exponent << " width " << S.Width
            << " decimals " << S.Decimals;
}

TEST(FloatToText, LabelExamplesAndExtremes) {
    for (const oracle::FloatTextCase& C : oracle::FloatTextExamples)
        EXPECT_EQ(FloatToText(C.Format, C.Value, C.P), C.Text)
            << "format " << int(C.Format) << " P " << C.P << " value " << C.Value;
}

TEST(FloatToText, LongestTextsAreWhole) {
    const std::string Big = FloatToText(TFloatFormat::Fixed, 1e308, 0);
    EXPECT_EQ(Big, "100000000000000001" + std::string(291, '0'));
    // The 18 digits of the smallest denormal are the last of 341 decimals.
    const std::string Tiny = FloatToText(TFloatFormat::Fixed, -5e-324, 1'000'000);
    EXPECT_EQ(Tiny.size(), 3u + 341u);  // "-0." and the decimals
    EXPECT_EQ(Tiny.substr(Tiny.size() - 18), "494065645841246544");
    EXPECT_EQ(FloatToText(TFloatFormat::Fixed, -1.7976931348623157e308, INT32_MAX).size(), 652u);
}

TEST(FloatToText, MatchesExactDecimalExpansion) {
    for (const oracle::FloatSample& S : oracle::FloatSamples())
        ASSERT_EQ(FloatToText(S.Format, S.Value(), S.P),
                  oracle::ReferenceFloatText(S.Format, S.Mantissa, S.Exponent, S.Negative, S.P))
            << "format " << int(S.Format) << " P " << S.P << " mantissa " << uint64_t(S.Mantissa)
            << " exponent " << S.Exponent;
}

}  // namespace
