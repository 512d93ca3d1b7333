// What a seven-segment display shows and where: the symbol set, a caption
// read into digit cells, and the size of the cells. Free of widgets, so that
// every face of the display reads captions and lays out cells alike.
#pragma once

#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Zent_graphics.h"

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

// ------------------------------------------------------------ display properties

// What a new display holds: 216 x 76 pixels, the size hint of its four cells.
struct TDisplayDefaults {
    static constexpr int32_t Width = 216, Height = 76;
    static constexpr TColor ColorBackGnd = 0x333333, ColorText = clRed;
    static constexpr int32_t NumDigits = 4, Margin = 8, InterDigDist = 2;
    static constexpr std::u16string_view Caption = u"8.8.8.8.";
};

// The rules of the display's setters: the value stored for Value, none when
// the setter ignores it (Value equal to Present, or outside the limits).
// NumDigits: 1 to MaxDigits. InterDigDist: above 255 becomes 255, no lower
// bound. Margin: limited to (Height div 2) - 1, no lower bound, and compared
// with Present before the limit.
std::optional<int32_t> NumDigitsToStore(int32_t Present, int Value);
std::optional<int32_t> InterDigDistToStore(int32_t Present, int Value);
std::optional<int32_t> MarginToStore(int32_t Present, int Value, int32_t Height);

// The size of NumDigits cells of CellWidth x CellHeight with Margin round
// them and a gap of InterDigDist after each (negative values count as 0),
// limited to 0..MaxExtent on either side.
struct TDisplaySize {
    int32_t Width, Height;
};
TDisplaySize DisplaySizeFor(int CellWidth, int CellHeight, int32_t Margin, int32_t InterDigDist,
                            int32_t NumDigits, int32_t MaxExtent);

// Whether cells of G with Margin round them keep off the frame (the
// bevelled frames cover the two outermost pixel rings) and off each other,
// so each may be drawn alone.
bool CellsApart(const TCellGeometry& G, int32_t Margin);

// The device pixel ratio a display of Width x Height with cells G draws its
// glyphs and picture at on a screen of ScreenRatio: logical pixels when the
// cells or the picture would pass their limits in device pixels.
int32_t DisplayPictureRatio(const TCellGeometry& G, int32_t Width, int32_t Height, int32_t ScreenRatio);

}  // namespace zent
