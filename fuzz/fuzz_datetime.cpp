// Any pattern with any value: the text stays within 256 characters, a value
// outside the calendar's range gives the empty text, and nothing faults.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "Zent_dateutils.h"

namespace {

// Half of the inputs take the value from a day number and a millisecond count
// inside the range, so that the pattern code sees real dates.
double ValueFrom(const uint8_t*& Data, std::size_t& Size) {
    if (Size < 9) return 0.0;
    uint64_t Bits;
    std::memcpy(&Bits, Data + 1, 8);
    const bool Raw = Data[0] & 1;
    Data += 9;
    Size -= 9;
    if (Raw) {
        double Value;
        std::memcpy(&Value, &Bits, 8);
        return Value;
    }
    const int64_t Day = int64_t(Bits % 3'700'000) - 720'000;
    const double Fraction = double((Bits >> 32) % 86'400'000) / 86'400'000;
    return (Bits >> 63) ? Day - Fraction : Day + Fraction;
}

const zent::TFormatSettings& OddSettings() {
    static const zent::TFormatSettings S = [] {
        zent::TFormatSettings T = zent::DefaultFormatSettings();
        T.DateSeparator = "";
        T.TimeSeparator = "::";
        T.ShortDateFormat = "dddddd c t 'q";  // composites inside composites
        T.LongTimeFormat = std::string(300, 'h');
        T.TimeAMString = "";
        return T;
    }();
    return S;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    const double Value = ValueFrom(Data, Size);
    const std::string_view Pattern(reinterpret_cast<const char*>(Data), Size);
    zent::TDateTimeFields Fields;
    const bool Valid = zent::DecodeDateTime(Value, Fields);
    for (const zent::TFormatSettings* S : {&zent::FormatSettings(), &OddSettings()}) {
        const std::string Text = zent::DateTimeToText(Pattern, Value, *S);
        if (Text.size() > 256) std::abort();
        if (!Valid && !Text.empty()) std::abort();
    }
    return 0;
}
