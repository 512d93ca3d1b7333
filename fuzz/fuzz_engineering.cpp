// Any digits and double: no exception escapes (Log10 is never called with an
// invalid argument), and the text has the shape of a number with a prefix.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Zent_math1.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    if (Size < 12) return 0;
    int32_t Digits;
    double Value;
    std::memcpy(&Digits, Data, 4);
    std::memcpy(&Value, Data + 4, 8);

    std::string Text;
    try {
        Text = zent::FormatEngineering(Digits, Value);
    } catch (...) {
        std::abort();
    }
    if (Text.empty() || Text.size() > 260) std::abort();
    // Only mantissas of 2^120 and more (values beyond 1.3e48) take the exponent form.
    if (std::isinf(Value) || std::fabs(Value) >= 1.3e48) return 0;
    const std::string Allowed = "0123456789.-afpnumkMGT";
    for (char C : Text)
        if (Allowed.find(C) == std::string::npos) std::abort();
    return 0;
}
