// Any format byte, digit count and double bit pattern (NaNs, denormals,
// negative zero): the text is the same on every call, no longer than its
// format allows, made of the expected characters, and equal to the text
// rounded from the value's exact decimal expansion.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../tests/decimal_oracle.h"
#include "Zent_stringl.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    if (Size < 13) return 0;
    const auto Format = zent::TFloatFormat(Data[0]);
    int32_t Digits;
    double Value;
    std::memcpy(&Digits, Data + 1, 4);
    std::memcpy(&Value, Data + 5, 8);
    if (Size > 13 && (Data[13] & 1)) Digits %= 24;  // often a precision as the label passes it

    const std::string Text = zent::FloatToText(Format, Value, Digits);
    if (zent::FloatToText(Format, Value, Digits) != Text) std::abort();
    // Fixed: sign, 309 integer digits, point, 341 decimals. The others: sign,
    // 18 digits, point and at most five more (zeros or an exponent).
    if (Text.size() > (Format == zent::TFloatFormat::Fixed ? 652u : 25u)) std::abort();
    if (std::isnan(Value) || std::isinf(Value)) {
        if (Text != (std::isnan(Value) ? "NAN" : Value < 0 ? "-INF" : "INF")) std::abort();
        return 0;
    }
    if (Text.find_first_not_of("0123456789.-+E") != std::string::npos) std::abort();

    int Exp = 0;
    const double Frac = std::frexp(std::fabs(Value), &Exp);
    const auto Mantissa = zent::oracle::u128(std::ldexp(Frac, 53));
    if (Text != zent::oracle::ReferenceFloatText(Format, Mantissa, Exp - 53, std::signbit(Value), Digits))
        std::abort();
    return 0;
}
