// Any width, decimals and 80-bit pattern (NaNs, denormals, unnormals): the
// text is at most 255 characters, padded to the width, with exactly the
// decimals asked for, and it reads back as the value within the rounding.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Zent_stringl.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    if (Size < 18) return 0;
    int32_t Width, Decimals;
    std::memcpy(&Width, Data, 4);
    std::memcpy(&Decimals, Data + 4, 4);
    if (Size > 18 && (Data[18] & 1)) {  // often small fields, as callers pass them
        Width %= 40;
        Decimals %= 40;
    }
    long double Value = 0;
    std::memcpy(&Value, Data + 8, 10);

    const std::string Text = zent::FormatFixed(Width, Decimals, Value);
    if (Text.size() > 255) std::abort();
    if (Width > 0 && Text.size() < std::size_t(std::min(Width, 255))) std::abort();
    if (std::isnan(Value) || std::isinf(Value) || std::fabs(Value) >= 0x1p120L) return 0;

    const int Places = std::clamp(Decimals, 0, 216);
    const std::size_t Point = Text.find('.');
    if ((Places > 0) != (Point != std::string::npos)) std::abort();
    if (Places > 0 && Text.size() - Point - 1 != std::size_t(Places)) std::abort();
    // 18 significant digits, then the cut: the error is at most half a unit
    // of the last decimal plus the 18-digit rounding.
    const long double Back = std::strtold(Text.c_str(), nullptr);
    const long double Tolerance =
        0.5L * std::pow(10.0L, -std::min(Places, 4000)) + std::fabs(Value) * 1e-17L + 1e-17L;
    if (!(std::fabs(Back - Value) <= Tolerance)) std::abort();
    return 0;
}
