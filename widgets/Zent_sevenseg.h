// TSevenSeg: a row of slanted seven-segment digit cells, drawn from a strip
// of pre-rendered, colour-matched glyphs.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zent {

// ------------------------------------------------------------ symbol tables

// The 21 symbols a cell can show; symbol k (from 1) is cell k of the glyph
// strip. "\xB0" is the degree sign. The point (symbol 21) only ever appears
// as a decimal point.
inline constexpr std::string_view GlyphChars = "0123456789-+:\xB0" "ABCDEF.";
inline constexpr int GlyphCount = 21;
static_assert(GlyphChars.size() == GlyphCount);

// Segments: 1 top, 2 upper left, 3 upper right, 4 middle, 5 lower left,
// 6 lower right, 7 bottom. One row per symbol 0..9, '-', A..F in that order,
// lit segments ascending and padded with 0; the last row (no segments)
// serves the point and every symbol drawn from its own artwork.
inline constexpr std::array<std::array<uint8_t, 7>, 18> SegmentMap = {{
    {1, 2, 3, 5, 6, 7, 0},  // 0
    {3, 6, 0, 0, 0, 0, 0},  // 1
    {1, 3, 4, 5, 7, 0, 0},  // 2
    {1, 3, 4, 6, 7, 0, 0},  // 3
    {2, 3, 4, 6, 0, 0, 0},  // 4
    {1, 2, 4, 6, 7, 0, 0},  // 5
    {1, 2, 4, 5, 6, 7, 0},  // 6
    {1, 3, 6, 0, 0, 0, 0},  // 7
    {1, 2, 3, 4, 5, 6, 7},  // 8
    {1, 2, 3, 4, 6, 7, 0},  // 9
    {4, 0, 0, 0, 0, 0, 0},  // -
    {1, 2, 3, 4, 5, 6, 0},  // A
    {2, 4, 5, 6, 7, 0, 0},  // b
    {1, 2, 5, 7, 0, 0, 0},  // C
    {3, 4, 5, 6, 7, 0, 0},  // d
    {1, 2, 4, 5, 7, 0, 0},  // E
    {1, 2, 4, 5, 0, 0, 0},  // F
    {0, 0, 0, 0, 0, 0, 0},  // no segments
}};

// Design resolution of one symbol (MasterGlyph).
inline constexpr int MasterWidth = 312;
inline constexpr int MasterHeight = 432;

struct TSegmentOrigin {
    int32_t X, Y;
};
// Top-left corner of each piece of artwork on the master: segments 1..7,
// then 8 point, 9 plus, 10 colon, 11 degree. Index 0 is unused so that the
// numbers read as the pieces are numbered.
inline constexpr std::array<TSegmentOrigin, 12> SegmentOrigin = {{
    {0, 0},
    {94, 0}, {37, 23}, {244, 23}, {57, 197}, {0, 220}, {207, 220}, {20, 394},
    {269, 394}, {57, 120}, {122, 121}, {150, 0},
}};
// Artwork of segments 1..7: 1 horizontal, 0 vertical. Index 0 is unused.
inline constexpr std::array<uint8_t, 8> SegmentKind = {0, 1, 0, 0, 1, 0, 0, 1};
inline constexpr int PiecePoint = 8, PiecePlus = 9, PieceColon = 10, PieceDegree = 11;

// The SegmentMap row of a symbol character (after upper-casing), or the
// empty row for '+', ':', the degree sign, '.' and anything else.
constexpr int SegmentRow(char Symbol) {
    if (Symbol >= '0' && Symbol <= '9') return Symbol - '0';
    if (Symbol == '-') return 10;
    if (Symbol >= 'A' && Symbol <= 'F') return 11 + (Symbol - 'A');
    return 17;
}

}  // namespace zent
