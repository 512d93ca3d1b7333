// What a seven-segment display shows and where: the symbol set, a caption
// read into digit cells, and the size of the cells. Free of widgets, so that
// every face of the display reads captions and lays out cells alike.
#pragma once

#include <QStringView>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zent {

// ------------------------------------------------------------ symbol set

// The 21 symbols a cell can show, numbered from 1. "\xB0" is the degree
// sign, ending its literal: "\xB0A" would read as one escape. The point
// (symbol 21) only ever appears as a decimal point.
// clang-format off
inline constexpr std::string_view GlyphChars = "0123456789-+:\xB0" "ABCDEF.";
// clang-format on
inline constexpr int GlyphCount = 21;
static_assert(GlyphChars.size() == GlyphCount);

// ------------------------------------------------------------ caption cells

inline constexpr int MaxDigits = 32;

// One digit cell: Symbol is the 1-based index into GlyphChars (0: the cell
// stays empty), Point whether a decimal point is laid over its corner.
struct TDigitCell {
    uint8_t Symbol = 0;
    bool Point = false;
    friend bool operator==(const TDigitCell&, const TDigitCell&) = default;
};

struct TCaptionCells {
    std::array<TDigitCell, MaxDigits> Cells{};  // empty beyond Count
    int Count = 0;                              // cells used, from the left
    friend bool operator==(const TCaptionCells&, const TCaptionCells&) = default;
};

// Reads Caption left to right into at most NumDigits cells (NumDigits is
// limited to 0..MaxDigits). A '.' or ',' after a symbol joins its cell as a
// decimal point; any other point takes a cell of its own. Letters a..f are
// upper-cased; bytes outside GlyphChars give an empty cell that still counts.
// Reads no further than the last cell needs.
TCaptionCells ReadCaption(std::string_view Caption, int NumDigits);
// The same for a Unicode caption: a character outside Latin-1 (a surrogate
// pair is one character) gives an empty cell, as an unknown byte does.
TCaptionCells ReadCaption(QStringView Caption, int NumDigits);

// What the cells show, as text (ISO-8859-1): each cell's symbol as it is
// drawn (the letters A, b, C, d, E, F), then its decimal point; an empty
// cell is a space. A cell with only a point is the point.
std::string ShownText(const TCaptionCells& Cells);

// ------------------------------------------------------------ cell geometry

// Cell geometry for a display of Width x Height; computed in 64 bits so that
// no property value can overflow it. Valid() tells whether cells can be drawn.
struct TCellGeometry {
    int64_t Pitch = 0, GlyphWidth = 0, GlyphHeight = 0;
    static TCellGeometry Of(int32_t Width, int32_t Height, int32_t Margin, int32_t InterDigDist,
                            int32_t NumDigits);
    // A positive size of at most MaxCellPixels device pixels at Ratio.
    bool Valid(int32_t Ratio = 1) const;
    friend bool operator==(const TCellGeometry&, const TCellGeometry&) = default;
};

// Upper bound on one cell (device pixels), far beyond any screen. A larger
// cell is left empty and the display shows background and frame only; one
// that passes it only in device pixels is drawn in logical pixels, which Qt
// scales up.
inline constexpr int64_t MaxCellPixels = int64_t(1) << 26;

// The cell a size hint gives every digit: the default display's, 4:5, which
// holds the 312 x 432 artwork with room for its slant. The minimum size hint
// gives a quarter of it, where the segments still show apart.
inline constexpr int HintCellWidth = 48, HintCellHeight = 60;

}  // namespace zent
