// TSevenSeg: a row of slanted seven-segment digit cells, drawn from a strip
// of pre-rendered, colour-matched glyphs.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "Zent_controls.h"
#include "Zent_graphics.h"
#include "Zent_zentbase.h"

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
    std::array<TDigitCell, MaxDigits> Cells{};
    int Count = 0;  // cells used, from the left
};

// Reads Caption left to right into at most NumDigits cells (NumDigits is
// limited to 0..MaxDigits). A '.' or ',' after a symbol joins its cell as a
// decimal point; any other point takes a cell of its own. Letters a..f are
// upper-cased; bytes outside GlyphChars give an empty cell that still counts.
// Reads no further than the last cell needs.
TCaptionCells ReadCaption(std::string_view Caption, int NumDigits);

// ------------------------------------------------------------ the widget

// Cell geometry for a control of Width x Height; computed in 64 bits so that
// no property value can overflow it. Valid() tells whether cells can be drawn.
struct TCellGeometry {
    int64_t Pitch = 0, GlyphWidth = 0, GlyphHeight = 0;
    static TCellGeometry Of(int32_t Width, int32_t Height, int32_t Margin, int32_t InterDigDist,
                            int32_t NumDigits);
    bool Valid() const;  // positive size, and a strip of 21 cells small enough to allocate
};

// Upper bound on the glyph strip (pixels); a larger strip is left empty and
// the display shows background and frame only.
inline constexpr int64_t MaxStripPixels = int64_t(1) << 26;

// A windowless control that shows its Caption as a row of slanted
// seven-segment cells: ColorText segments on ColorBackGnd, framed by
// FrameStyle. Every symbol is pre-rendered at the cell size into a glyph
// strip, so a caption change only copies rectangles; the strip is rebuilt
// when a colour, the geometry or the size changes.
//
// Setters ignore unchanged values. Caption, the colours, Margin,
// InterDigDist and NumDigits repaint before they return (which needs a
// parent: without one they store the value and then raise "Control '%s' has
// no parent window"); FrameStyle and ColorScheme repaint later.
class TSevenSeg : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ CaptionText WRITE SetCaptionText)
    Q_PROPERTY(int ColorBackGnd READ ColorBackGnd WRITE SetColorBackGnd)
    Q_PROPERTY(int ColorScheme READ ColorSchemeValue WRITE SetColorSchemeValue)
    Q_PROPERTY(int ColorText READ ColorText WRITE SetColorText)
    Q_PROPERTY(int FrameStyle READ FrameStyleValue WRITE SetFrameStyleValue)
    Q_PROPERTY(int InterDigDist READ InterDigDist WRITE SetInterDigDist)
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    Q_PROPERTY(int NumDigits READ NumDigits WRITE SetNumDigits)

public:
    // Loads the six segment artworks; raises "Resource %s not found" when one is missing.
    explicit TSevenSeg(QWidget* Owner = nullptr);
    ~TSevenSeg() override;

    // Byte string in ISO-8859-1; the degree sign is "\xB0".
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    TColor ColorBackGnd() const { return FColorBackGnd; }
    void SetColorBackGnd(TColor Value);
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme Value);
    TColor ColorText() const { return FColorText; }
    void SetColorText(TColor Value);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle Value);
    // Above 255 becomes 255; no lower bound.
    int32_t InterDigDist() const { return FInterDigDist; }
    void SetInterDigDist(int32_t Value);
    // Limited to (Height div 2) - 1 when written; no lower bound.
    int32_t Margin() const { return FMargin; }
    void SetMargin(int32_t Value);
    // 1 to 32; other values are ignored.
    int32_t NumDigits() const { return FNumDigits; }
    void SetNumDigits(int32_t Value);

    TColor SchemeDark() const { return FSchemeDark; }
    TColor SchemeShadow() const { return FSchemeShadow; }
    TColor SchemeHighlight() const { return FSchemeHighlight; }

    void Paint() override;
    // The widget's own OnResize handler: rebuilds and repaints when the size
    // differs from the last one seen.
    void SizeChanged(QObject* Sender);
    // Renders all 21 symbols at the current cell size into the glyph strip.
    void BuildGlyphStrip();

    void Assign(QObject* Source) override;
    void AssignTo(QObject* Dest) override;

    TCellGeometry Geometry() const;
    // Read-only views for tests and tools.
    const TBitmap& GlyphStrip() const { return *FGlyphStrip; }
    const TBitmap& MasterGlyph() const { return *FMasterGlyph; }

protected:
    // Recolours the shapes of the six artworks to Color.
    void ColorizeSegments(TColor Color);
    // Composes one symbol of GlyphChars on the master in the current colours.
    void RenderGlyph(char Symbol);

private:
    QString CaptionText() const;
    void SetCaptionText(const QString& Value);
    int ColorSchemeValue() const { return FColorScheme; }
    void SetColorSchemeValue(int Value);
    int FrameStyleValue() const { return FFrameStyle; }
    void PaintWithoutBuffer();
    // The picture on screen is kept between paints: a new caption only
    // renews the cells that changed. Cells may be renewed one by one only
    // while they touch neither the frame nor each other.
    bool CellsStandAlone(const TCellGeometry& G) const;
    // Whether the kept picture matches the strip, the size and the geometry,
    // so that only changed cells need renewing.
    bool PictureCurrent(const TCellGeometry& G) const;
    TRect CellRect(const TCellGeometry& G, int Index) const;
    void ComposePicture(const TCellGeometry& G, const TCaptionCells& Cells);
    void ComposeCell(const TCellGeometry& G, int Index, TDigitCell Cell, bool OnBackground);
    // The area of the cells that differ from those on the picture, or the
    // whole control when the picture must be composed anew.
    TRect ChangedArea(const TCaptionCells& Cells) const;
    void SetFrameStyleValue(int Value);

    TColor FColorBackGnd = 0x333333;
    TColor FColorText = clRed;
    std::unique_ptr<TBitmap> FMasterGlyph;
    int32_t FNumDigits = 4;
    std::string FCaption = "8.8.8.8.";
    TFrameStyle FFrameStyle = fsLowered;
    int32_t FMargin = 8;
    int32_t FInterDigDist = 2;
    int32_t FLastWidth = 216, FLastHeight = 76;
    std::unique_ptr<TBitmap> FSegHorz, FSegVert, FSegDot, FSegPlus, FSegColon, FSegDeg;
    std::unique_ptr<TBitmap> FGlyphStrip;
    TColor FSchemeDark = clBlack, FSchemeShadow = clGray, FSchemeHighlight = clWhite;
    TColorScheme FColorScheme = csBWG;
    int64_t FStripWidth = 0, FStripHeight = 0;  // cell size the strip was last built for
    std::unique_ptr<TBitmap> FPicture;  // what the control shows, composed off screen
    TCaptionCells FShownCells;          // the cells on FPicture
    bool FPictureValid = false;         // false: compose the whole picture anew
};

}  // namespace zent
