#include "Zent_sevenseg.h"

#include <algorithm>
#include <limits>
#include <new>

#include "Zent_latin1.h"
#include "Zent_resources.h"
#include "Zent_sysutils.h"

namespace zent {

// ------------------------------------------------------------ caption cells

namespace {

constexpr bool IsPoint(char Ch) {
    return Ch == '.' || Ch == ',';
}

// Symbol index (1..21, 0 for none) of every byte, letters a..z upper-cased.
constexpr std::array<uint8_t, 256> SymbolTable = [] {
    std::array<uint8_t, 256> T{};
    for (int b = 0; b < 256; ++b) {
        const auto Pos = GlyphChars.find(UpperCase(char(b)));
        T[b] = Pos == std::string_view::npos ? 0 : uint8_t(Pos + 1);
    }
    return T;
}();

}  // namespace

TCaptionCells ReadCaption(std::string_view Caption, int NumDigits) {
    TCaptionCells Result;
    const int Limit = std::clamp(NumDigits, 0, MaxDigits);
    std::size_t i = 0;
    while (Result.Count < Limit && i < Caption.size()) {
        const char Ch = Caption[i++];
        TDigitCell& Cell = Result.Cells[Result.Count++];
        if (IsPoint(Ch)) {
            Cell.Point = true;  // a point of its own: no symbol
            continue;
        }
        if (i < Caption.size() && IsPoint(Caption[i])) {
            Cell.Point = true;
            ++i;
        }
        Cell.Symbol = SymbolTable[uint8_t(Ch)];
    }
    return Result;
}

// ------------------------------------------------------------ geometry

TCellGeometry TCellGeometry::Of(int32_t Width, int32_t Height, int32_t Margin, int32_t InterDigDist,
                                int32_t NumDigits) {
    TCellGeometry G;
    if (NumDigits < 1) return G;
    G.Pitch = (int64_t(Width) - 2 * int64_t(Margin)) / NumDigits;
    G.GlyphWidth = G.Pitch - InterDigDist;
    G.GlyphHeight = int64_t(Height) - 2 * int64_t(Margin);
    return G;
}

bool TCellGeometry::Valid() const {
    if (GlyphWidth <= 0 || GlyphHeight <= 0) return false;
    const int64_t StripWidth = GlyphCount * GlyphWidth;  // |GlyphWidth| < 2^34: no overflow
    return StripWidth <= MaxStripPixels && GlyphHeight <= MaxStripPixels / StripWidth;
}

// ------------------------------------------------------------ life cycle

namespace {
std::unique_ptr<TBitmap> LoadArtwork(const char* Name) {
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->LoadFromResource(0, Name);
    return Bitmap;
}
}  // namespace

TSevenSeg::TSevenSeg(QWidget* Owner) : TGraphicControl(Owner) {
    SetOpaque(true);  // every paint covers the whole area with SRCCOPY
    InitResources();
    FMasterGlyph = std::make_unique<TBitmap>();
    FMasterGlyph->SetSize(MasterWidth, MasterHeight);
    FGlyphStrip = std::make_unique<TBitmap>();
    FPicture = std::make_unique<TBitmap>();
    FSegVert = LoadArtwork("SEGVERT");
    FSegHorz = LoadArtwork("SEGHORZ");
    FSegDot = LoadArtwork("SEGDOT");
    FSegPlus = LoadArtwork("SEGPLUS");
    FSegDeg = LoadArtwork("SEGDEG");
    FSegColon = LoadArtwork("SEGCOLON");
    SetWidth(216);
    SetHeight(76);
    FLastWidth = 216;
    FLastHeight = 76;
    OnResize = [this](QObject* Sender) { SizeChanged(Sender); };
    BuildGlyphStrip();
}

TSevenSeg::~TSevenSeg() {
    OnResize = nullptr;  // QWidget's destructor must not reach SizeChanged
    FSegDot.reset();
    FSegPlus.reset();
    FSegDeg.reset();
    FSegColon.reset();
    FSegHorz.reset();
    FSegVert.reset();
    FGlyphStrip.reset();
    FMasterGlyph.reset();
    FPicture.reset();
}

// ------------------------------------------------------------ properties

void TSevenSeg::SetCaption(const std::string& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    RepaintNow(ChangedArea(ReadCaption(FCaption, FNumDigits)));
}

QString TSevenSeg::CaptionText() const {
    return Latin1ToQString(FCaption);
}

void TSevenSeg::SetCaptionText(const QString& Value) {
    SetCaption(QStringToLatin1(Value));
}

void TSevenSeg::SetColorBackGnd(TColor Value) {
    if (Value == FColorBackGnd) return;
    FColorBackGnd = Value;
    BuildGlyphStrip();
    RepaintNow();
}

void TSevenSeg::SetColorScheme(TColorScheme Value) {
    if (Value == FColorScheme) return;
    FColorScheme = Value;
    const TSchemeColors Colors = SchemeColors(Value);
    FSchemeShadow = Colors.Shadow;
    FSchemeHighlight = Colors.Highlight;
    Invalidate();
}

void TSevenSeg::SetColorSchemeValue(int Value) {
    if (Value < csBWG || Value > csSystem) return;
    SetColorScheme(TColorScheme(Value));
}

void TSevenSeg::SetColorText(TColor Value) {
    if (Value == FColorText) return;
    FColorText = Value;
    BuildGlyphStrip();
    RepaintNow();
}

void TSevenSeg::SetFrameStyle(TFrameStyle Value) {
    if (Value == FFrameStyle) return;
    FFrameStyle = Value;
    FPictureValid = false;
    Invalidate();
}

void TSevenSeg::SetFrameStyleValue(int Value) {
    if (Value < fsNone || Value > fsEngraved) return;
    SetFrameStyle(TFrameStyle(Value));
}

void TSevenSeg::SetInterDigDist(int32_t Value) {
    Value = std::min(Value, 255);
    if (Value == FInterDigDist) return;
    FInterDigDist = Value;
    BuildGlyphStrip();
    RepaintNow();
}

void TSevenSeg::SetMargin(int32_t Value) {
    if (Value == FMargin) return;  // compared before the limit on purpose
    FMargin = std::min(Value, Height() / 2 - 1);
    BuildGlyphStrip();
    RepaintNow();
}

void TSevenSeg::SetNumDigits(int32_t Value) {
    if (Value == FNumDigits || Value < 1 || Value > MaxDigits) return;  // ignored silently
    FNumDigits = Value;
    BuildGlyphStrip();
    RepaintNow();
}

// ------------------------------------------------------------ copying

void TSevenSeg::Assign(QObject* Source) {
    auto* Other = qobject_cast<TSevenSeg*>(Source);
    if (!Other) {
        TGraphicControl::Assign(Source);
        return;
    }
    FColorBackGnd = Other->FColorBackGnd;
    FColorText = Other->FColorText;
    FNumDigits = Other->FNumDigits;
    FCaption = Other->FCaption;
    FFrameStyle = Other->FFrameStyle;
    FSchemeDark = Other->FSchemeDark;
    FSchemeShadow = Other->FSchemeShadow;
    FSchemeHighlight = Other->FSchemeHighlight;
    FColorScheme = Other->FColorScheme;
    FMargin = Other->FMargin;
    FInterDigDist = Other->FInterDigDist;
    BuildGlyphStrip();
    Invalidate();
}

void TSevenSeg::AssignTo(QObject* Dest) {
    if (auto* Other = qobject_cast<TSevenSeg*>(Dest)) {
        Other->Assign(this);
        return;
    }
    TGraphicControl::AssignTo(Dest);
}

// ------------------------------------------------------------ painting

TCellGeometry TSevenSeg::Geometry() const {
    return TCellGeometry::Of(Width(), Height(), FMargin, FInterDigDist, FNumDigits);
}

void TSevenSeg::SizeChanged(QObject* /*Sender*/) {
    if (Width() == FLastWidth && Height() == FLastHeight) return;
    FLastWidth = Width();
    FLastHeight = Height();
    BuildGlyphStrip();
    // A control not yet placed has no picture to renew; sizing it before it
    // gets its parent must not report an error.
    if (parentWidget()) RepaintNow();
}

void TSevenSeg::Paint() {
    if (!Visible() && !(ComponentState() & csDesigning)) return;
    const TCellGeometry G = Geometry();
    // A strip built for another size (a size set while loading, or OnResize
    // taken over by the application) would give slices of the wrong symbols.
    if (G.GlyphWidth != FStripWidth || G.GlyphHeight != FStripHeight) BuildGlyphStrip();

    const TCaptionCells Cells = ReadCaption(FCaption, FNumDigits);
    if (!PictureCurrent(G)) {
        try {
            ComposePicture(G, Cells);
        } catch (const EOutOfResources&) {
            PaintWithoutBuffer();
            return;
        }
    } else {
        for (int j = 0; j < std::max(Cells.Count, FShownCells.Count); ++j)
            if (Cells.Cells[j] != FShownCells.Cells[j]) ComposeCell(G, j, Cells.Cells[j], false);
        FShownCells = Cells;
    }
    Canvas().CopyMode = SRCCOPY;
    Canvas().Draw(0, 0, *FPicture);
}

bool TSevenSeg::CellsStandAlone(const TCellGeometry& G) const {
    // The bevelled frames cover the two outermost pixel rings.
    return G.Valid() && !FGlyphStrip->Empty() && FMargin >= 2 && FInterDigDist >= 0;
}

bool TSevenSeg::PictureCurrent(const TCellGeometry& G) const {
    return FPictureValid && G.GlyphWidth == FStripWidth && G.GlyphHeight == FStripHeight &&
           FPicture->Width() == Width() && FPicture->Height() == Height() && CellsStandAlone(G);
}

TRect TSevenSeg::CellRect(const TCellGeometry& G, int Index) const {
    const auto Left = int32_t(FMargin + Index * G.Pitch);  // inside the control when CellsStandAlone
    return Rect(Left, FMargin, Left + int32_t(G.GlyphWidth), Height() - FMargin);
}

TRect TSevenSeg::ChangedArea(const TCaptionCells& Cells) const {
    const TCellGeometry G = Geometry();
    if (!PictureCurrent(G)) return Rect(0, 0, Width(), Height());
    int First = -1, Last = -1;
    for (int j = 0; j < std::max(Cells.Count, FShownCells.Count); ++j)
        if (Cells.Cells[j] != FShownCells.Cells[j]) {
            if (First < 0) First = j;
            Last = j;
        }
    if (First < 0) return Rect(0, 0, 0, 0);
    const TRect A = CellRect(G, First), B = CellRect(G, Last);
    return Rect(A.Left, A.Top, B.Right, B.Bottom);
}

// The whole picture: background, every cell, the frame.
void TSevenSeg::ComposePicture(const TCellGeometry& G, const TCaptionCells& Cells) {
    const int32_t W = Width(), H = Height();
    FPictureValid = false;
    TCanvas& C = FPicture->Canvas();
    C.CopyMode = SRCCOPY;
    C.Pen.Color = FColorBackGnd;
    C.Brush.SetColor(FColorBackGnd);
    FPicture->SetSize(W, H);
    C.Rectangle(0, 0, W, H);
    if (G.Valid() && !FGlyphStrip->Empty())
        for (int j = 0; j < Cells.Count; ++j)
            if (Cells.Cells[j] != TDigitCell{}) ComposeCell(G, j, Cells.Cells[j], true);
    DrawFrame(C, FFrameStyle, 0, 0, W - 1, H - 1, StandardFrameColors);
    FShownCells = Cells;
    FPictureValid = true;
}

// One cell: its symbol from the strip (or background, unless the cell is
// known to be background already), then its point, whose lower right sixth
// is laid over the same corner of the cell.
void TSevenSeg::ComposeCell(const TCellGeometry& G, int Index, TDigitCell Cell, bool OnBackground) {
    const int64_t Left = int64_t(FMargin) + Index * G.Pitch;
    if (Left >= Width() || Left + G.GlyphWidth <= 0) return;  // wholly outside
    const auto x = int32_t(Left), cw = int32_t(G.GlyphWidth), s = int32_t(G.GlyphHeight);
    const int32_t Top = FMargin, Bottom = Height() - FMargin;
    TCanvas& C = FPicture->Canvas();
    TCanvas& Strip = FGlyphStrip->Canvas();
    if (Cell.Symbol != 0) {
        const int32_t k = Cell.Symbol;
        C.CopyRect(Rect(x, Top, x + cw, Bottom), Strip, Rect((k - 1) * cw, 0, k * cw, s));
    } else if (!OnBackground) {
        C.Brush.SetColor(FColorBackGnd);
        C.FillRect(Rect(x, Top, x + cw, Bottom));
    }
    if (Cell.Point) {
        const int32_t d = 5 * cw / 6, e = 5 * s / 6;
        C.CopyRect(Rect(x + d, Top + e, x + cw, Bottom), Strip,
                   Rect((GlyphCount - 1) * cw + d, e, GlyphCount * cw, s));
    }
}

// Too large for a picture in memory: background and frame straight onto the control.
void TSevenSeg::PaintWithoutBuffer() {
    TCanvas& C = Canvas();
    C.Brush.SetColor(FColorBackGnd);
    C.FillRect(Rect(0, 0, Width(), Height()));
    DrawFrame(C, FFrameStyle, 0, 0, Width() - 1, Height() - 1, StandardFrameColors);
}

// ------------------------------------------------------------ glyph rendering

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

void TSevenSeg::ColorizeSegments(TColor Color) {
    // Pure white would later vanish into the surround. Checked on the
    // resolved value, so a system colour that is white is caught too.
    TColor c = Stored(Color);
    if (c == clWhite) c = 0xFEFEFE;
    for (TBitmap* Art : {FSegVert.get(), FSegHorz.get(), FSegDot.get(), FSegPlus.get()}) {
        Art->Canvas().Brush.SetColor(c);
        FillFromSeed(Art->Canvas(), Art->Width() / 2, Art->Height() / 2);
    }
    TCanvas& Colon = FSegColon->Canvas();
    Colon.Brush.SetColor(c);
    FillFromSeed(Colon, 18, FSegColon->Height() - 18);
    FillFromSeed(Colon, FSegColon->Width() - 18, 18);
    TCanvas& Deg = FSegDeg->Canvas();
    Deg.Brush.SetColor(c);
    FillFromSeed(Deg, 25, FSegDeg->Height() / 2);
}

void TSevenSeg::RenderGlyph(char Symbol) {
    TCanvas& M = FMasterGlyph->Canvas();
    M.Pen.Color = clWhite;
    M.Brush.SetColor(clWhite);
    M.Rectangle(0, 0, MasterWidth, MasterHeight);
    M.CopyMode = SRCAND;  // white leaves the master as it is: pieces go on like stencils
    M.Brush.SetColor(FColorBackGnd);

    const auto Lay = [&M](TBitmap& Art, int Piece) {
        const TSegmentOrigin O = SegmentOrigin[Piece];
        M.CopyRect(Rect(O.X, O.Y, O.X + Art.Width(), O.Y + Art.Height()), Art.Canvas(),
                   Rect(0, 0, Art.Width(), Art.Height()));
    };
    switch (Symbol) {
        case ':':
            Lay(*FSegColon, PieceColon);
            break;
        case '\xB0':
            Lay(*FSegDeg, PieceDegree);
            FillFromSeed(M, SegmentOrigin[PieceDegree].X + 80, SegmentOrigin[PieceDegree].Y + 70);
            break;
        case '+':
            Lay(*FSegPlus, PiecePlus);
            break;
        case '.':
            Lay(*FSegDot, PiecePoint);
            break;
        default:
            for (const uint8_t Segment : SegmentMap[SegmentRow(Symbol)]) {
                if (Segment == 0) continue;
                if (SegmentKind[Segment] == 0)
                    Lay(*FSegVert, Segment);
                else if (SegmentKind[Segment] == 1)
                    Lay(*FSegHorz, Segment);
            }
            break;
    }
    FillFromSeed(M, 1, 1);  // the surround becomes the background
}

void TSevenSeg::BuildGlyphStrip() {
    const TCellGeometry G = Geometry();
    FPictureValid = false;
    FStripWidth = G.GlyphWidth;
    FStripHeight = G.GlyphHeight;
    TBitmap& Strip = *FGlyphStrip;
    if (!G.Valid()) {
        Strip.SetSize(0, 0);  // nothing to draw: Paint shows background and frame
        return;
    }
    const auto cw = int32_t(G.GlyphWidth), h = int32_t(G.GlyphHeight);
    TCanvas& S = Strip.Canvas();
    S.Pen.Color = FColorBackGnd;
    S.Brush.SetColor(FColorBackGnd);
    try {
        Strip.SetSize(GlyphCount * cw, h);
    } catch (const EOutOfResources&) {
        Strip.SetSize(0, 0);
    } catch (const std::bad_alloc&) {
        Strip.SetSize(0, 0);
    }
    if (Strip.Width() != GlyphCount * cw || Strip.Height() != h) {
        Strip.SetSize(0, 0);  // the image could not be allocated
        return;
    }
    S.Rectangle(0, 0, GlyphCount * cw, h);

    ColorizeSegments(FColorText);
    for (int k = 1; k <= GlyphCount; ++k) {
        RenderGlyph(GlyphChars[k - 1]);
        SetStretchBltMode(S.Handle(), HALFTONE);
        StretchBlt(S.Handle(), (k - 1) * cw, 0, cw, h, FMasterGlyph->Canvas().Handle(), 0, 0, MasterWidth,
                   MasterHeight, SRCCOPY);
    }
}

}  // namespace zent
