// Seven-segment glyphs: each of the 21 symbols composed from the segment
// artwork at design size, in a text and a background colour, and scaled with
// area averaging to any cell size and device pixel ratio. Not installed: the
// display widget draws from it, and any other face of the display can ask it
// for the same glyphs without a widget.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "Zent_graphics.h"
#include "Zent_segcells.h"

namespace zent {

// ------------------------------------------------------------ segment tables

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

// Design resolution of one symbol (the master).
inline constexpr int MasterWidth = 312;
inline constexpr int MasterHeight = 432;

struct TSegmentOrigin {
    int32_t X, Y;
};
// Top-left corner of each piece of artwork on the master: segments 1..7,
// then 8 point, 9 plus, 10 colon, 11 degree. Index 0 is unused so that the
// numbers read as the pieces are numbered.
// clang-format off
inline constexpr std::array<TSegmentOrigin, 12> SegmentOrigin = {{
    {0, 0},
    {94, 0}, {37, 23}, {244, 23}, {57, 197}, {0, 220}, {207, 220}, {20, 394},
    {269, 394}, {57, 120}, {122, 121}, {150, 0},
}};
// clang-format on
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

// Where a decimal point's part of a cw x h cell begins: its lower right
// sixth, the one part of the point symbol a cell ever shows. No other
// symbol reaches into that corner, so a point can be laid over any of them.
struct TCorner {
    int32_t Left, Top;
};
constexpr TCorner PointCorner(int32_t cw, int32_t h) {
    return {5 * cw / 6, 5 * h / 6};
}

// ------------------------------------------------------------ the factory

// Bytes of scaled glyphs a factory keeps unless told otherwise.
inline constexpr int64_t DefaultGlyphCacheLimit = int64_t(32) << 20;

// What a factory has done since construction, and what the glyphs it draws
// from hold now.
struct TGlyphCacheStats {
    int Rebuilds = 0;       // times the factory was Reset to a look (new colours or a new cell size)
    int SymbolsScaled = 0;  // symbols this factory composed and scaled, whether kept or not
    int64_t Bytes = 0;      // glyphs kept now in its shared set (a strip built on request not included)
    int32_t Ratio = 1;      // device pixels per logical pixel of the glyphs
};

// What the glyphs are made for. A symbol fills GlyphWidth x GlyphHeight
// logical pixels of Cells; a kept one also carries the gap up to Pitch, in
// the background colour.
struct TGlyphLook {
    TColor Text = clRed, Back = clBlack;
    TCellGeometry Cells;
    int32_t Ratio = 1;  // device pixels per logical pixel
};

// Where a symbol's scaled cell is kept: a canvas and the cell's top-left
// corner on it, and how many columns from there it holds: the cell, and for
// a kept symbol the gap after it. Null when the symbol is not kept.
struct TGlyphSource {
    TCanvas* Canvas = nullptr;
    int32_t X = 0, Y = 0;
    int32_t Width = 0;
};

struct TGlyphSet;

// Makes each symbol scaled to the cell size the first time it is asked for,
// and keeps it as far as the limit allows; or all 21 in one strip, when that
// is built. Symbols are numbered k = 1..GlyphCount as in GlyphChars; a
// symbol set of 32 bits names symbol k by bit k - 1.
//
// Factories share what they make: those whose looks (the colours as they
// resolve when Reset, the cells, the ratio) and limits are equal draw from
// one set of glyphs and one strip, which lives while one of them uses it. So
// a panel of equal displays composes and scales each symbol once. The limit
// is part of what is shared, so every factory keeps exactly its own: one
// with a limit the others do not have gets a set of its own. All factories
// compose on one master from one copy of the artworks, decoded at the first
// factory and kept for the process; use them on the GUI thread only.
class TGlyphFactory {
public:
    // Loads the six segment artworks, the first time; raises "Resource %s
    // not found" when one is missing.
    TGlyphFactory();
    ~TGlyphFactory();
    TGlyphFactory(const TGlyphFactory&) = delete;
    TGlyphFactory& operator=(const TGlyphFactory&) = delete;

    // Makes glyphs of Look from now on, resolving its colours anew (a
    // system colour may resolve to another value now): draws from the set
    // of that look, which keeps its glyphs and strip when it is the present
    // one. Counts as a rebuild.
    void Reset(const TGlyphLook& Look);
    const TGlyphLook& Look() const { return FLook; }

    // Symbol k's scaled cell: from the strip when it is built, else kept,
    // scaled first if need be. When the glyphs kept would pass the limit,
    // those not named in Keep make room, also those another factory of the
    // set shows (it scales them again when it needs them). Null when k is
    // outside 1..GlyphCount, the cell is not Valid at the look's ratio, or
    // the glyph does not fit the limit or memory.
    TGlyphSource Glyph(int k, uint32_t Keep = 0);
    // Composes symbol k and scales it into the cell whose top-left corner is
    // at (X, Y) of Dest, a canvas of the look's ratio; pixels outside Dest
    // are skipped. Nothing for k outside 1..GlyphCount.
    void ScaleGlyph(int k, TCanvas& Dest, int32_t X, int32_t Y);

    // Renders all 21 symbols side by side into the set's strip, cell k at
    // x = (k - 1) x GlyphWidth, which then replaces the kept glyphs for every
    // factory of the set. An invalid cell, or a strip too large for memory,
    // leaves it empty.
    void BuildStrip();
    bool StripBuilt() const;
    const TBitmap& Strip() const;

    // Composes one symbol of GlyphChars on the master in the look's colours;
    // any other character gives the background.
    void RenderGlyph(char Symbol);
    // The master every factory composes on; it holds the last symbol any of
    // them composed.
    const TBitmap& Master() const;

    // The most bytes of scaled glyphs kept (at least 0). A new limit moves
    // the factory to the set of its look with that limit; glyphs it alone
    // used stay, unless they pass the limit, which drops all of them at once.
    int64_t Limit() const { return FLimit; }
    void SetLimit(int64_t Bytes);
    TGlyphCacheStats Stats() const;

private:
    TGlyphLook FLook;
    bool FCellsValid = false;  // FLook.Cells can be drawn at FLook.Ratio
    int64_t FLimit = DefaultGlyphCacheLimit;
    TGlyphCacheStats FStats;          // Bytes aside: that is the set's
    std::shared_ptr<TGlyphSet> FSet;  // never null
};

}  // namespace zent
