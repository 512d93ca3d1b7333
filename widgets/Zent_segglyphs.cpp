#include "Zent_segglyphs.h"

#include <algorithm>
#include <utility>

#include "Zent_resources.h"
#include "Zent_sysutils.h"

namespace zent {

namespace {
// The 0x00BBGGRR value a canvas stores for Color: system colours resolve,
// and only the three colour bytes reach the pixels.
TColor Stored(TColor Color) {
    return TColor(uint32_t(ColorToRGB(Color)) & 0xFFFFFFu);
}

// Fills the region of the seed's present colour with the brush. A region
// that already has the brush colour is left alone: the fill could change
// nothing there.
void FillFromSeed(TCanvas& Canvas, int32_t X, int32_t Y) {
    const TColor Present = Canvas.Pixels(X, Y);
    if (Present == Stored(Canvas.Brush.Color())) return;
    Canvas.FloodFill(X, Y, Present, fsSurface);
}
}  // namespace

// ------------------------------------------------------------ life cycle

TGlyphFactory::TGlyphFactory() {
    InitResources();
    FMaster.SetSize(MasterWidth, MasterHeight);
    FSegVert.LoadFromResource(0, "SEGVERT");
    FSegHorz.LoadFromResource(0, "SEGHORZ");
    FSegDot.LoadFromResource(0, "SEGDOT");
    FSegPlus.LoadFromResource(0, "SEGPLUS");
    FSegDeg.LoadFromResource(0, "SEGDEG");
    FSegColon.LoadFromResource(0, "SEGCOLON");
}

TGlyphFactory::~TGlyphFactory() = default;

void TGlyphFactory::Reset(const TGlyphLook& Look) {
    DropGlyphs(0);
    FStrip.SetSize(0, 0);
    FStripBuilt = false;
    FLook = Look;
    FCellsValid = Look.Cells.Valid(Look.Ratio);
    ColorizeSegments(Look.Text);
    FStats.Ratio = Look.Ratio;
    ++FStats.Rebuilds;
}

// ------------------------------------------------------------ glyph cache

void TGlyphFactory::ScaleGlyph(int k, TCanvas& Dest, int32_t X, int32_t Y) {
    if (k < 1 || k > GlyphCount) return;
    RenderGlyph(GlyphChars[k - 1]);
    SetStretchBltMode(Dest.Handle(), HALFTONE);
    StretchBlt(Dest.Handle(), X, Y, int32_t(FLook.Cells.GlyphWidth), int32_t(FLook.Cells.GlyphHeight),
               FMaster.Canvas().Handle(), 0, 0, MasterWidth, MasterHeight, SRCCOPY);
    ++FStats.SymbolsScaled;
}

TGlyphSource TGlyphFactory::Glyph(int k, uint32_t Keep) {
    const TCellGeometry& G = FLook.Cells;
    const auto cw = int32_t(G.GlyphWidth), h = int32_t(G.GlyphHeight);
    if (k < 1 || k > GlyphCount || !FCellsValid) return {nullptr, 0, 0, cw};
    if (FStripBuilt) return {&FStrip.Canvas(), (k - 1) * cw, 0, cw};
    const TCorner Kept = k == GlyphCount ? PointCorner(cw, h) : TCorner{0, 0};
    const int32_t X = -Kept.Left, Y = -Kept.Top;
    // A symbol keeps the gap after its cell, in the background colour.
    const int32_t Width = k == GlyphCount ? cw : int32_t(std::max<int64_t>(G.Pitch, cw));
    std::unique_ptr<TBitmap>& Slot = FGlyphs[k - 1];
    if (!Slot) {
        const int64_t r = FLook.Ratio, Bytes = 4 * int64_t(Width + X) * (h + Y) * r * r;
        if (FStats.Bytes + Bytes > FLimit) DropGlyphs(Keep);
        if (FStats.Bytes + Bytes > FLimit) return {nullptr, 0, 0, cw};
        auto Bitmap = std::make_unique<TBitmap>();
        try {
            Bitmap->SetPixelRatio(int32_t(r));
            Bitmap->Canvas().Brush.SetColor(FLook.Back);
            Bitmap->SetSize(Width + X, h + Y);
        } catch (const EOutOfResources&) {
            return {nullptr, 0, 0, cw};
        }
        ScaleGlyph(k, Bitmap->Canvas(), X, Y);
        Slot = std::move(Bitmap);
        FStats.Bytes += Bytes;
    }
    return {&Slot->Canvas(), X, Y, Width};
}

void TGlyphFactory::DropGlyphs(uint32_t Keep) {
    for (int k = 1; k <= GlyphCount; ++k) {
        std::unique_ptr<TBitmap>& Slot = FGlyphs[k - 1];
        if (!Slot || (Keep >> (k - 1) & 1)) continue;
        const int64_t r = Slot->PixelRatio();
        FStats.Bytes -= 4 * int64_t(Slot->Width()) * Slot->Height() * r * r;
        Slot.reset();
    }
}

void TGlyphFactory::SetLimit(int64_t Bytes) {
    FLimit = std::max<int64_t>(Bytes, 0);
    if (FStats.Bytes > FLimit) DropGlyphs(0);
}

void TGlyphFactory::BuildStrip() {
    const TCellGeometry& G = FLook.Cells;
    FStripBuilt = false;
    if (!G.Valid()) {
        FStrip.SetSize(0, 0);
        return;
    }
    const auto cw = int32_t(G.GlyphWidth), h = int32_t(G.GlyphHeight);
    TCanvas& S = FStrip.Canvas();
    S.Pen.Color = FLook.Back;
    S.Brush.SetColor(FLook.Back);
    try {
        FStrip.SetSize(0, 0);  // no old pixels to carry over
        FStrip.SetPixelRatio(FLook.Ratio);
        FStrip.SetSize(GlyphCount * cw, h);
    } catch (const EOutOfResources&) {
        return;  // too large: the strip stays empty and Glyph keeps symbols one by one
    }
    S.Rectangle(0, 0, GlyphCount * cw, h);
    for (int k = 1; k <= GlyphCount; ++k) ScaleGlyph(k, S, (k - 1) * cw, 0);
    // The strip replaces the kept glyphs as the source of every cell.
    DropGlyphs(0);
    FStripBuilt = true;
}

// ------------------------------------------------------------ composition

void TGlyphFactory::ColorizeSegments(TColor Color) {
    // Pure white would later vanish into the surround. Checked on the
    // resolved value, so a system colour that is white is caught too.
    TColor c = Stored(Color);
    if (c == clWhite) c = 0xFEFEFE;
    for (TBitmap* Art : {&FSegVert, &FSegHorz, &FSegDot, &FSegPlus}) {
        Art->Canvas().Brush.SetColor(c);
        FillFromSeed(Art->Canvas(), Art->Width() / 2, Art->Height() / 2);
    }
    TCanvas& Colon = FSegColon.Canvas();
    Colon.Brush.SetColor(c);
    FillFromSeed(Colon, 18, FSegColon.Height() - 18);
    FillFromSeed(Colon, FSegColon.Width() - 18, 18);
    TCanvas& Deg = FSegDeg.Canvas();
    Deg.Brush.SetColor(c);
    FillFromSeed(Deg, 25, FSegDeg.Height() / 2);
}

void TGlyphFactory::RenderGlyph(char Symbol) {
    TCanvas& M = FMaster.Canvas();
    M.Pen.Color = clWhite;
    M.Brush.SetColor(clWhite);
    M.Rectangle(0, 0, MasterWidth, MasterHeight);
    M.CopyMode = SRCAND;  // white leaves the master as it is: pieces go on like stencils
    M.Brush.SetColor(FLook.Back);

    const auto Lay = [&M](TBitmap& Art, int Piece) {
        const TSegmentOrigin O = SegmentOrigin[Piece];
        M.CopyRect(Rect(O.X, O.Y, O.X + Art.Width(), O.Y + Art.Height()), Art.Canvas(),
                   Rect(0, 0, Art.Width(), Art.Height()));
    };
    switch (Symbol) {
        case ':':
            Lay(FSegColon, PieceColon);
            break;
        case '\xB0':
            Lay(FSegDeg, PieceDegree);
            FillFromSeed(M, SegmentOrigin[PieceDegree].X + 80, SegmentOrigin[PieceDegree].Y + 70);
            break;
        case '+':
            Lay(FSegPlus, PiecePlus);
            break;
        case '.':
            Lay(FSegDot, PiecePoint);
            break;
        default:
            for (const uint8_t Segment : SegmentMap[SegmentRow(Symbol)]) {
                if (Segment == 0) continue;
                if (SegmentKind[Segment] == 0)
                    Lay(FSegVert, Segment);
                else if (SegmentKind[Segment] == 1)
                    Lay(FSegHorz, Segment);
            }
            break;
    }
    FillFromSeed(M, 1, 1);  // the surround becomes the background
}

}  // namespace zent
