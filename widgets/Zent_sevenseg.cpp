#include "Zent_sevenseg.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "Zent_SevenSegAccessible.h"
#include "Zent_latin1.h"
#include "Zent_segglyphs.h"
#include "Zent_sysutils.h"

namespace zent {

namespace {
// Bit j set: cell j differs between A and B.
uint32_t ChangedCells(const TCaptionCells& A, const TCaptionCells& B) {
    static_assert(MaxDigits <= 32);
    uint32_t Changed = 0;
    for (int j = 0; j < std::max(A.Count, B.Count); ++j)
        if (A.Cells[j] != B.Cells[j]) Changed |= uint32_t(1) << j;
    return Changed;
}

// Bit k - 1 set: some cell shows symbol k; the point counts for a decimal point.
uint32_t SymbolsOf(const TCaptionCells& Cells) {
    uint32_t Symbols = 0;
    for (int j = 0; j < Cells.Count; ++j) {
        if (Cells.Cells[j].Symbol) Symbols |= uint32_t(1) << (Cells.Cells[j].Symbol - 1);
        if (Cells.Cells[j].Point) Symbols |= uint32_t(1) << (GlyphCount - 1);
    }
    return Symbols;
}
}  // namespace

// ------------------------------------------------------------ life cycle

namespace {
constexpr int32_t DefaultWidth = 216, DefaultHeight = 76;
}  // namespace

TSevenSeg::TSevenSeg(QWidget* Owner) : TGraphicControl(Owner) {
    SetOpaque(true);  // every paint covers the whole area with SRCCOPY
    InstallSevenSegAccessible();
    FGlyphs = std::make_unique<TGlyphFactory>();
    FPicture = std::make_unique<TBitmap>();
    SetWidth(DefaultWidth);
    SetHeight(DefaultHeight);
    FBuiltFor = CurrentKey(1);  // the size SizeChanged compares with; FStale holds the rest
    FCells = ReadCaption(FCaption, FNumDigits);
    OnResize = [this](QObject* Sender) { SizeChanged(Sender); };
}

TSevenSeg::~TSevenSeg() {
    OnResize = nullptr;  // QWidget's destructor must not reach SizeChanged
}

// ------------------------------------------------------------ properties

void TSevenSeg::SetCaption(const std::string& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    ShownChanged();
    const TRect Area = ChangedArea(FCells);
    FRenewArea = Area;
    try {
        RepaintChanged(Area);
    } catch (...) {
        FRenewArea = {};
        throw;
    }
    FRenewArea = {};
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
    FStale = true;
    RepaintChanged();
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
    FStale = true;
    RepaintChanged();
}

void TSevenSeg::SetFrameStyle(TFrameStyle Value) {
    if (Value == FFrameStyle) return;
    FFrameStyle = Value;
    Invalidate();  // the next paint finds the picture made for another frame
}

void TSevenSeg::SetFrameStyleValue(int Value) {
    if (Value < fsNone || Value > fsEngraved) return;
    SetFrameStyle(TFrameStyle(Value));
}

void TSevenSeg::SetInterDigDist(int32_t Value) {
    Value = std::min(Value, 255);
    if (Value == FInterDigDist) return;
    FInterDigDist = Value;
    FStale = true;
    updateGeometry();  // a new size hint
    RepaintChanged();
}

void TSevenSeg::SetMargin(int32_t Value) {
    if (Value == FMargin) return;  // compared before the limit on purpose
    FMargin = std::min(Value, Height() / 2 - 1);
    FStale = true;
    updateGeometry();
    RepaintChanged();
}

void TSevenSeg::SetNumDigits(int32_t Value) {
    if (Value == FNumDigits || Value < 1 || Value > MaxDigits) return;  // ignored silently
    FNumDigits = Value;
    FStale = true;
    ShownChanged();
    updateGeometry();
    RepaintChanged();
}

std::string TSevenSeg::ShownText() const {
    return zent::ShownText(FCells);
}

void TSevenSeg::ShownChanged() {
    const TCaptionCells Cells = ReadCaption(FCaption, FNumDigits);
    if (Cells == FCells) return;
    FCells = Cells;
    SevenSegNameChanged(*this);
}

// ------------------------------------------------------------ size hints

QSize TSevenSeg::HintFor(int CellWidth, int CellHeight) const {
    const int64_t M = std::clamp<int64_t>(FMargin, 0, MaxCoordinate),
                  Gap = std::clamp<int64_t>(FInterDigDist, 0, 255);
    const int64_t W = 2 * M + int64_t(FNumDigits) * (CellWidth + Gap), H = 2 * M + CellHeight;
    return QSize(int(std::min<int64_t>(W, MaxCoordinate)), int(std::min<int64_t>(H, MaxCoordinate)));
}

QSize TSevenSeg::sizeHint() const {
    return HintFor(HintCellWidth, HintCellHeight);
}

QSize TSevenSeg::minimumSizeHint() const {
    return HintFor(HintCellWidth / 4, HintCellHeight / 4);
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
    FStale = true;
    ShownChanged();
    updateGeometry();
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

TSevenSeg::TCacheKey TSevenSeg::CurrentKey(int32_t Ratio) const {
    return {Width(), Height(), FMargin, Geometry(), FFrameStyle, Ratio};
}

int32_t TSevenSeg::PaintRatio(int32_t ScreenRatio) const {
    if (ScreenRatio <= 1) return 1;
    const TCellGeometry G = Geometry();
    const int64_t PictureBytes = 4 * int64_t(Width()) * Height() * ScreenRatio * ScreenRatio;
    // Logical pixels then, which Qt scales up, rather than nothing at all.
    if ((G.Valid() && !G.Valid(ScreenRatio)) || PictureBytes > MaxBitmapBytes) return 1;
    return ScreenRatio;
}

void TSevenSeg::SizeChanged(QObject* /*Sender*/) {
    if (Width() == FBuiltFor.Width && Height() == FBuiltFor.Height) return;
    FStale = true;
    // A control not yet placed has no picture to renew; sizing it before it
    // gets its parent must not report an error.
    if (parentWidget()) RepaintChanged();
}

void TSevenSeg::UpdateCaches(const TCacheKey& Now) {
    // A size set while loading, or OnResize taken over by the application,
    // changes the cell size without marking anything stale.
    if (FStale || Now.Cells.GlyphWidth != FBuiltFor.Cells.GlyphWidth ||
        Now.Cells.GlyphHeight != FBuiltFor.Cells.GlyphHeight || Now.Ratio != FBuiltFor.Ratio) {
        FGlyphs->Reset({FColorText, FColorBackGnd, Now.Cells, Now.Ratio});
        FStale = false;
        FPictureValid = false;
    }
    if (Now != FBuiltFor) {
        FBuiltFor = Now;
        FPictureValid = false;
    }
}

bool TSevenSeg::PictureCurrent(const TCacheKey& Now) const {
    // The bevelled frames cover the two outermost pixel rings.
    return FPictureValid && !FStale && Now == FBuiltFor && Now.Cells.Valid() && Now.Margin >= 2 &&
           Now.Cells.Pitch >= Now.Cells.GlyphWidth;
}

namespace {
bool Within(const TRect& Inner, const TRect& Outer) {
    return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
           Inner.Bottom <= Outer.Bottom;
}
bool Meet(const TRect& A, const TRect& B) {
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}
}  // namespace

void TSevenSeg::Paint() {
    if (!Visible() && !(ComponentState() & csDesigning)) return;
    const TRect Renew = std::exchange(FRenewArea, TRect{});
    UpdateCaches(CurrentKey(PaintRatio(Canvas().PixelRatio())));
    const TCaptionCells& Cells = FCells;
    try {
        // A caption change repaints only its cells, and the screen keeps the
        // rest: the cells go straight from the glyphs, the picture can wait.
        const TRect Area = Canvas().PaintArea();
        if (PictureCurrent(FBuiltFor) && Within(Area, Renew) && PaintCells(Cells, Area)) {
            FShownCells = Cells;
            return;
        }
        UpdatePicture(Cells);
    } catch (const EOutOfResources&) {
        FPictureValid = false;
        PaintWithoutBuffer();
        return;
    }
    Canvas().CopyMode = SRCCOPY;
    Canvas().Draw(0, 0, *FPicture);
    FShownCells = Cells;
}

// Area lies within the span of the cells a caption change renews: every
// pixel of it is in a cell or in the gap after one. The gaps are drawn too,
// since what covered the display for a while leaves its pixels on the screen
// until the display's next paint; a kept glyph carries its gap, so a cell
// and its gap cost one copy.
bool TSevenSeg::PaintCells(const TCaptionCells& Cells, const TRect& Area) {
    const uint32_t Shown = SymbolsOf(Cells);
    uint32_t Drawn = 0;  // bit j: cell j, with the gap after it, meets the area
    for (int j = 0; j < FNumDigits; ++j) {
        if (!Meet(CellRect(FBuiltFor, j, j + 1 < FNumDigits), Area)) continue;
        const TDigitCell Cell = Cells.Cells[j];
        // A glyph that is not kept is scaled on a bitmap: the picture's work.
        if (Cell.Symbol != 0 && !FGlyphs->Glyph(Cell.Symbol, Shown).Canvas) return false;
        if (Cell.Point && !FGlyphs->Glyph(GlyphCount, Shown).Canvas) return false;
        Drawn |= uint32_t(1) << j;
    }
    Canvas().CopyMode = SRCCOPY;
    for (; Drawn; Drawn &= Drawn - 1) {
        const int j = std::countr_zero(Drawn);
        ComposeCell(Canvas(), j, Cells.Cells[j], false, Shown, j + 1 < FNumDigits);
    }
    return true;
}

void TSevenSeg::UpdatePicture(const TCaptionCells& Cells) {
    if (!PictureCurrent(FBuiltFor)) {
        ComposePicture(Cells);
        return;
    }
    const uint32_t Shown = SymbolsOf(Cells);
    for (uint32_t Changed = ChangedCells(Cells, FPictureCells); Changed; Changed &= Changed - 1) {
        const int j = std::countr_zero(Changed);
        ComposeCell(FPicture->Canvas(), j, Cells.Cells[j], false, Shown);
    }
    FPictureCells = Cells;
}

TRect TSevenSeg::CellRect(const TCacheKey& K, int Index, bool WithGap) const {
    const auto Left = int32_t(K.Margin + Index * K.Cells.Pitch);  // inside the control when PictureCurrent
    return Rect(Left, K.Margin, Left + int32_t(WithGap ? K.Cells.Pitch : K.Cells.GlyphWidth), K.Height - K.Margin);
}

TRect TSevenSeg::ChangedArea(const TCaptionCells& Cells) const {
    const TCacheKey Now = CurrentKey();
    if (!PictureCurrent(Now)) return Rect(0, 0, Width(), Height());
    const uint32_t Changed = ChangedCells(Cells, FShownCells);
    if (!Changed) return Rect(0, 0, 0, 0);
    const TRect A = CellRect(Now, std::countr_zero(Changed)), B = CellRect(Now, 31 - std::countl_zero(Changed));
    return Rect(A.Left, A.Top, B.Right, B.Bottom);
}

// The whole picture: background, every cell, the frame.
void TSevenSeg::ComposePicture(const TCaptionCells& Cells) {
    const TCacheKey& K = FBuiltFor;
    FPictureValid = false;
    TCanvas& C = FPicture->Canvas();
    C.CopyMode = SRCCOPY;
    C.Pen.Color = FColorBackGnd;
    C.Brush.SetColor(FColorBackGnd);
    if (FPicture->Width() != K.Width || FPicture->Height() != K.Height || FPicture->PixelRatio() != K.Ratio) {
        FPicture->SetSize(0, 0);  // a new size: no old pixels worth carrying over
        FPicture->SetPixelRatio(K.Ratio);
    }
    FPicture->SetSize(K.Width, K.Height);
    C.Rectangle(0, 0, K.Width, K.Height);
    if (K.Cells.Valid()) {
        const uint32_t Shown = SymbolsOf(Cells);
        for (int j = 0; j < Cells.Count; ++j)
            if (Cells.Cells[j] != TDigitCell{}) ComposeCell(C, j, Cells.Cells[j], true, Shown);
    }
    DrawFrame(C, K.Frame, 0, 0, K.Width - 1, K.Height - 1, StandardFrameColors);
    FPictureCells = Cells;
    FPictureValid = true;
}

// One cell: its symbol (or background, unless the cell is known to be
// background already), then its point, whose lower right sixth is laid over
// the same corner of the cell. WithGap: the gap after the cell as well.
void TSevenSeg::ComposeCell(TCanvas& C, int Index, TDigitCell Cell, bool OnBackground, uint32_t Shown,
                            bool WithGap) {
    const TCacheKey& K = FBuiltFor;
    const int64_t Left = int64_t(K.Margin) + Index * K.Cells.Pitch;
    if (Left >= K.Width || Left + K.Cells.GlyphWidth <= 0) return;  // wholly outside
    const auto x = int32_t(Left), cw = int32_t(K.Cells.GlyphWidth), s = int32_t(K.Cells.GlyphHeight);
    const int32_t Top = K.Margin, Bottom = K.Height - K.Margin;
    const int32_t Wide = WithGap ? int32_t(std::max<int64_t>(K.Cells.Pitch, cw)) : cw;
    int32_t Done = 0;  // columns drawn from the left of the cell
    if (Cell.Symbol != 0) {
        const TGlyphSource G = FGlyphs->Glyph(Cell.Symbol, Shown);
        Done = std::min(Wide, G.Width);
        if (G.Canvas)
            C.CopyRect(Rect(x, Top, x + Done, Bottom), *G.Canvas, Rect(G.X, G.Y, G.X + Done, G.Y + s));
        else
            FGlyphs->ScaleGlyph(Cell.Symbol, C, x, Top);  // the cell is all of the symbol's rectangle
    }
    if (Done < Wide && !OnBackground) {
        C.Brush.SetColor(FColorBackGnd);
        C.FillRect(Rect(x + Done, Top, x + Wide, Bottom));
    }
    if (Cell.Point) {
        const auto [d, e] = PointCorner(cw, s);
        TGlyphSource G = FGlyphs->Glyph(GlyphCount, Shown);
        TBitmap Corner;  // only for a point too large to keep
        if (!G.Canvas) {
            Corner.SetPixelRatio(K.Ratio);
            Corner.SetSize(cw - d, s - e);
            FGlyphs->ScaleGlyph(GlyphCount, Corner.Canvas(), -d, -e);
            G = {&Corner.Canvas(), -d, -e, cw};
        }
        C.CopyRect(Rect(x + d, Top + e, x + cw, Bottom), *G.Canvas, Rect(G.X + d, G.Y + e, G.X + cw, G.Y + s));
    }
}

// Too large for a picture in memory: background and frame straight onto the control.
void TSevenSeg::PaintWithoutBuffer() {
    TCanvas& C = Canvas();
    C.Brush.SetColor(FColorBackGnd);
    C.FillRect(Rect(0, 0, Width(), Height()));
    DrawFrame(C, FFrameStyle, 0, 0, Width() - 1, Height() - 1, StandardFrameColors);
}

// ------------------------------------------------------------ glyphs

void TSevenSeg::BuildGlyphStrip() {
    FStale = true;  // from the present colours, also when no setter changed them
    UpdateCaches(CurrentKey());
    FGlyphs->BuildStrip();
}

const TBitmap& TSevenSeg::GlyphStrip() {
    UpdateCaches(CurrentKey());  // drops a strip of other colours or another cell size
    if (!FGlyphs->StripBuilt()) FGlyphs->BuildStrip();
    return FGlyphs->Strip();
}

const TBitmap& TSevenSeg::MasterGlyph() const {
    return FGlyphs->Master();
}

int64_t TSevenSeg::GlyphCacheLimit() const {
    return FGlyphs->Limit();
}

void TSevenSeg::SetGlyphCacheLimit(int64_t Bytes) {
    FGlyphs->SetLimit(Bytes);
}

const TGlyphCacheStats& TSevenSeg::GlyphCacheStats() const {
    return FGlyphs->Stats();
}

}  // namespace zent
