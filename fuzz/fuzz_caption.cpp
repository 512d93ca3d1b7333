// Any byte string read into any number of cells must give what the plain,
// character-by-character reading gives, and never fault.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Zent_segcells.h"

namespace {
// The reading written out with 1-based indexes, one step per rule.
zent::TCaptionCells Reference(std::string_view Caption, int NumDigits) {
    zent::TCaptionCells R;
    const auto n = int64_t(Caption.size());
    const auto At = [&](int64_t i) { return Caption[size_t(i - 1)]; };
    const auto IsPoint = [](char c) { return c == '.' || c == ','; };
    int64_t i = 0;
    int j = 0;
    while (j < std::min(NumDigits, zent::MaxDigits) && i < n) {
        ++j;
        ++i;
        char ch = At(i);
        bool Point = false;
        if (IsPoint(ch)) {
            ch = ' ';
            Point = true;
        } else if (i + 1 <= n && IsPoint(At(i + 1))) {
            Point = true;
            ++i;
        }
        if (ch >= 'a' && ch <= 'z') ch = char(ch - 32);
        uint8_t k = 0;
        for (size_t p = 1; p <= zent::GlyphChars.size(); ++p)
            if (zent::GlyphChars[p - 1] == ch) {
                k = uint8_t(p);
                break;
            }
        R.Cells[size_t(j - 1)] = {k, Point};
    }
    R.Count = j;
    return R;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 1) return 0;
    const int NumDigits = int(int8_t(Data[0]));  // out-of-range counts too
    const std::string_view Caption(reinterpret_cast<const char*>(Data + 1), Size - 1);
    const zent::TCaptionCells Got = zent::ReadCaption(Caption, NumDigits);
    const zent::TCaptionCells Want = Reference(Caption, NumDigits);
    if (Got.Count != Want.Count || !std::equal(Got.Cells.begin(), Got.Cells.end(), Want.Cells.begin()))
        std::abort();
    return 0;
}
