// The seeded number-text comparisons of the unit tests, without Qt or
// GoogleTest, for a cross-compiled build run under an emulator (aarch64,
// where long double is an IEEE quad): FormatFixed with the tests' 64-bit
// mantissas and with mantissas as wide as this long double, FormatEngineering,
// and the three texts of FloatToText with their examples.
#include <cstdio>
#include <limits>
#include <string>

#include "Zent_math1.h"
#include "Zent_stringl.h"
#include "decimal_oracle.h"

namespace {

using namespace zent;

struct TTally {
    const char* Name;
    int Cases = 0, Failures = 0;

    void Check(const std::string& Got, const std::string& Want, const std::string& Input) {
        ++Cases;
        if (Got == Want) return;
        if (++Failures <= 5)
            std::printf("  %s(%s): \"%s\", expected \"%s\"\n", Name, Input.c_str(), Got.c_str(),
                        Want.c_str());
    }
    bool Report() const {
        std::printf("%-40s %6d cases, %d wrong\n", Name, Cases, Failures);
        return Failures == 0;
    }
};

std::string Hex(oracle::u128 X) {
    char Buf[40];
    std::snprintf(Buf, sizeof Buf, "0x%016llx%016llx", (unsigned long long)(X >> 64), (unsigned long long)X);
    return Buf;
}

bool CheckFixed(int MantissaBits) {
    const std::string Name = "FormatFixed, " + std::to_string(MantissaBits) + "-bit mantissas";
    TTally T{Name.c_str()};
    for (const oracle::FixedSample& S : oracle::FixedSamples(MantissaBits))
        T.Check(FormatFixed(S.Width, S.Decimals, S.Value()),
                oracle::ReferenceFixed(S.Mantissa, S.Exponent, S.Negative, S.Width, S.Decimals),
                std::to_string(S.Width) + ", " + std::to_string(S.Decimals) + ", " + (S.Negative ? "-" : "") +
                    Hex(S.Mantissa) + "p" + std::to_string(S.Exponent));
    return T.Report();
}

bool CheckEngineering() {
    TTally T{"FormatEngineering"};
    for (const oracle::EngineeringSample& S : oracle::EngineeringSamples()) {
        char Value[40];
        std::snprintf(Value, sizeof Value, "%a", S.Value);
        T.Check(FormatEngineering(S.Digits, S.Value), oracle::ReferenceEngineering(S.Digits, S.Value),
                std::to_string(S.Digits) + ", " + Value);
    }
    return T.Report();
}

bool CheckFloatText() {
    TTally Examples{"FloatToText, label examples and extremes"};
    for (const oracle::FloatTextCase& C : oracle::FloatTextExamples)
        Examples.Check(
            FloatToText(C.Format, C.Value, C.P), C.Text,
            std::to_string(int(C.Format)) + ", " + std::to_string(C.Value) + ", " + std::to_string(C.P));
    TTally Seeded{"FloatToText, seeded"};
    for (const oracle::FloatSample& S : oracle::FloatSamples())
        Seeded.Check(FloatToText(S.Format, S.Value(), S.P),
                     oracle::ReferenceFloatText(S.Format, S.Mantissa, S.Exponent, S.Negative, S.P),
                     std::to_string(int(S.Format)) + ", " + (S.Negative ? "-" : "") + Hex(S.Mantissa) + "p" +
                         std::to_string(S.Exponent) + ", " + std::to_string(S.P));
    const bool ExamplesRight = Examples.Report();
    return Seeded.Report() && ExamplesRight;
}

}  // namespace

int main() {
    constexpr int LongDigits = std::numeric_limits<long double>::digits;
    std::printf("long double: %d-bit significand, %zu bytes\n", LongDigits, sizeof(long double));
    bool Right = CheckFixed(64);
    if (LongDigits > 64) Right = CheckFixed(LongDigits) && Right;
    Right = CheckEngineering() && Right;
    Right = CheckFloatText() && Right;
    std::puts(Right ? "all right" : "FAILED");
    return Right ? 0 : 1;
}
