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

TSevenSeg::TSevenSeg(QWidget* Owner) : TFramedControl(Owner, TRepaint::Later) {
    SetOpaque(true);  // every paint covers the whole area with SRCCOPY
    InstallSevenSegAccessible();
    FGlyphs = std::make_unique<TGlyphFactory>();
    SetWidth(TDisplayDefaults::Width);
    SetHeight(TDisplayDefaults::Height);
    FLastWidth = TDisplayDefaults::Width;
    FLastHeight = TDisplayDefaults::Height;
    FCells = ReadCaption(FCaption, FNumDigits);
    OnResize = [this](QObject* Sender) { SizeChanged(Sender); };
}

TSevenSeg::~TSevenSeg() {
    OnResize = nullptr;  // QWidget's destructor must not reach SizeChanged
}

// ------------------------------------------------------------ properties

void TSevenSeg::SetCaption(const QString& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    ShownChanged();
    ContentChanged(ChangedArea(FCells));
    emit CaptionChanged(Value);
}

std::string TSevenSeg::Caption() const {
    return QStringToLatin1(FCaption);
}

void TSevenSeg::SetCaption(const std::string& Value) {
    SetCaption(Latin1ToQString(Value));
}

void TSevenSeg::SetColorBackGnd(TColor Value) {
    if (Value == FColorBackGnd) return;
    FColorBackGnd = Value;
    Changed(TStale::Sources);
    emit ColorBackGndChanged(ToQColor(Value));
}

void TSevenSeg::SetColorBackGnd(const QColor& Value) {
    if (Value.isValid()) SetColorBackGnd(FromQColor(Value));
}

QColor TSevenSeg::ColorBackGndQ() const {
    return ToQColor(FColorBackGnd);
}

void TSevenSeg::SetColorText(TColor Value) {
    if (Value == FColorText) return;
    FColorText = Value;
    Changed(TStale::Sources);
    emit ColorTextChanged(ToQColor(Value));
}

void TSevenSeg::SetColorText(const QColor& Value) {
    if (Value.isValid()) SetColorText(FromQColor(Value));
}

QColor TSevenSeg::ColorTextQ() const {
    return ToQColor(FColorText);
}

void TSevenSeg::SetInterDigDist(int Value) {
    const std::optional<int32_t> Stored = InterDigDistToStore(FInterDigDist, Value);
    if (!Stored) return;
    FInterDigDist = *Stored;
    updateGeometry();  // a new size hint
    Changed(TStale::Sources);
    emit InterDigDistChanged(FInterDigDist);
}

void TSevenSeg::SetMargin(int Value) {
    const std::optional<int32_t> Stored = MarginToStore(FMargin, Value, Height());
    if (!Stored) return;
    const int32_t Old = std::exchange(FMargin, *Stored);
    updateGeometry();
    Changed(TStale::Sources);
    if (FMargin != Old) emit MarginChanged(FMargin);
}

void TSevenSeg::SetNumDigits(int Value) {
    const std::optional<int32_t> Stored = NumDigitsToStore(FNumDigits, Value);
    if (!Stored) return;  // ignored silently
    FNumDigits = *Stored;
    ShownChanged();
    updateGeometry();
    Changed(TStale::Sources);
    emit NumDigitsChanged(Value);
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

void TSevenSeg::SizeChanged(QObject* /*Sender*/) {
    if (Width() == FLastWidth && Height() == FLastHeight) return;
    FLastWidth = Width();
    FLastHeight = Height();
    Changed(TStale::Sources);
}

// ------------------------------------------------------------ size hints

QSize TSevenSeg::HintFor(int CellWidth, int CellHeight) const {
    const TDisplaySize S = DisplaySizeFor(CellWidth, CellHeight, FMargin, FInterDigDist, FNumDigits, MaxCoordinate);
    return QSize(S.Width, S.Height);
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
    // Plain field copies, no setter's checks.
    CopyFields(*this, *Other, &TSevenSeg::FColorBackGnd, &TSevenSeg::FColorText, &TSevenSeg::FNumDigits,
               &TSevenSeg::FCaption, &TSevenSeg::FMargin, &TSevenSeg::FInterDigDist);
    CopyFrameFields(*Other);
    ShownChanged();
    updateGeometry();
    Changed(TStale::Sources, TRepaint::Later);
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

int32_t TSevenSeg::PictureRatio(int32_t ScreenRatio) const {
    return DisplayPictureRatio(Geometry(), Width(), Height(), ScreenRatio);
}

TSevenSeg::TPictureColors TSevenSeg::PictureColors() const {
    return {FColorBackGnd, FColorText};
}

void TSevenSeg::UpdateGlyphs(int32_t Ratio, bool Renew) {
    const TCellGeometry Cells = Geometry();
    const TGlyphLook& Look = FGlyphs->Look();
    if (Renew || !(Look.Cells == Cells) || Look.Ratio != Ratio)
        FGlyphs->Reset({FColorText, FColorBackGnd, Cells, Ratio});
}

bool TSevenSeg::CellsApart() const {
    return zent::CellsApart(Geometry(), FMargin);
}

namespace {
bool Meet(const TRect& A, const TRect& B) {
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}
}  // namespace

// Area lies within the span of the cells a caption change renews: every
// pixel of it is in a cell or in the gap after one. The gaps are drawn too,
// since what covered the display for a while leaves its pixels on the screen
// until the display's next paint; a kept glyph carries its gap, so a cell
// and its gap cost one copy. The picture can wait.
bool TSevenSeg::PaintContent(TCanvas& Screen, const TRect& Area) {
    if (!CellsApart()) return false;
    const TCaptionCells& Cells = FCells;
    const uint32_t Shown = SymbolsOf(Cells);
    uint32_t Drawn = 0;  // bit j: cell j, with the gap after it, meets the area
    for (int j = 0; j < FNumDigits; ++j) {
        if (!Meet(CellRect(j, j + 1 < FNumDigits), Area)) continue;
        const TDigitCell Cell = Cells.Cells[j];
        // A glyph that is not kept is scaled on a bitmap: the picture's work.
        if (Cell.Symbol != 0 && !FGlyphs->Glyph(Cell.Symbol, Shown).Canvas) return false;
        if (Cell.Point && !FGlyphs->Glyph(GlyphCount, Shown).Canvas) return false;
        Drawn |= uint32_t(1) << j;
    }
    Screen.CopyMode = SRCCOPY;
    for (; Drawn; Drawn &= Drawn - 1) {
        const int j = std::countr_zero(Drawn);
        ComposeCell(Screen, j, Cells.Cells[j], false, Shown, j + 1 < FNumDigits);
    }
    FShownCells = Cells;
    return true;
}

// The cells that changed, or all of the picture.
void TSevenSeg::Compose(TCanvas& C, TStale What) {
    UpdateGlyphs(C.PixelRatio(), What >= TStale::Sources);
    if (What >= TStale::Picture || !CellsApart()) {
        ComposePicture(C, FCells);
        return;
    }
    const uint32_t Shown = SymbolsOf(FCells);
    for (uint32_t Changed = ChangedCells(FCells, FPictureCells); Changed; Changed &= Changed - 1) {
        const int j = std::countr_zero(Changed);
        ComposeCell(C, j, FCells.Cells[j], false, Shown);
    }
    FPictureCells = FCells;
}

void TSevenSeg::Transfer(TCanvas& Screen, const TBitmap& Picture) {
    TFramedControl::Transfer(Screen, Picture);
    FShownCells = FPictureCells;
}

TRect TSevenSeg::CellRect(int Index, bool WithGap) const {
    const TCellGeometry G = Geometry();
    const auto Left = int32_t(FMargin + Index * G.Pitch);  // inside the control when CellsApart
    return Rect(Left, FMargin, Left + int32_t(WithGap ? G.Pitch : G.GlyphWidth), Height() - FMargin);
}

TRect TSevenSeg::ChangedArea(const TCaptionCells& Cells) const {
    if (Stale() >= TStale::Picture || !CellsApart()) return Rect(0, 0, Width(), Height());
    const uint32_t Changed = ChangedCells(Cells, FShownCells);
    if (!Changed) return Rect(0, 0, 0, 0);
    const TRect A = CellRect(std::countr_zero(Changed)), B = CellRect(31 - std::countl_zero(Changed));
    return Rect(A.Left, A.Top, B.Right, B.Bottom);
}

void TSevenSeg::ComposePicture(TCanvas& C, const TCaptionCells& Cells) {
    const int32_t W = Width(), H = Height();
    C.CopyMode = SRCCOPY;
    C.Pen.Color = FColorBackGnd;
    C.Brush.SetColor(FColorBackGnd);
    C.Rectangle(0, 0, W, H);
    if (Geometry().Valid()) {
        const uint32_t Shown = SymbolsOf(Cells);
        for (int j = 0; j < Cells.Count; ++j)
            if (Cells.Cells[j] != TDigitCell{}) ComposeCell(C, j, Cells.Cells[j], true, Shown);
    }
    DrawFrame(C, FrameStyle(), 0, 0, W - 1, H - 1, StandardFrameColors);
    FPictureCells = Cells;
}

// One cell: its symbol (or background, unless the cell is known to be
// background already), then its point, whose lower right sixth is laid over
// the same corner of the cell. WithGap: the gap after the cell as well.
void TSevenSeg::ComposeCell(TCanvas& C, int Index, TDigitCell Cell, bool OnBackground, uint32_t Shown,
                            bool WithGap) {
    const TCellGeometry G = Geometry();
    const int64_t Left = int64_t(FMargin) + Index * G.Pitch;
    if (Left >= Width() || Left + G.GlyphWidth <= 0) return;  // wholly outside
    const auto x = int32_t(Left), cw = int32_t(G.GlyphWidth), s = int32_t(G.GlyphHeight);
    const int32_t Top = FMargin, Bottom = Height() - FMargin;
    const int32_t Wide = WithGap ? int32_t(std::max<int64_t>(G.Pitch, cw)) : cw;
    int32_t Done = 0;  // columns drawn from the left of the cell
    if (Cell.Symbol != 0) {
        const TGlyphSource Source = FGlyphs->Glyph(Cell.Symbol, Shown);
        Done = std::min(Wide, Source.Width);
        if (Source.Canvas)
            C.CopyRect(Rect(x, Top, x + Done, Bottom), *Source.Canvas,
                       Rect(Source.X, Source.Y, Source.X + Done, Source.Y + s));
        else
            FGlyphs->ScaleGlyph(Cell.Symbol, C, x, Top);  // the cell is all of the symbol's rectangle
    }
    if (Done < Wide && !OnBackground) {
        C.Brush.SetColor(FColorBackGnd);
        C.FillRect(Rect(x + Done, Top, x + Wide, Bottom));
    }
    if (Cell.Point) {
        const auto [d, e] = PointCorner(cw, s);
        TGlyphSource Source = FGlyphs->Glyph(GlyphCount, Shown);
        TBitmap Corner;  // only for a point too large to keep
        if (!Source.Canvas) {
            Corner.SetPixelRatio(FGlyphs->Look().Ratio);
            Corner.SetSize(cw - d, s - e);
            FGlyphs->ScaleGlyph(GlyphCount, Corner.Canvas(), -d, -e);
            Source = {&Corner.Canvas(), -d, -e, cw};
        }
        C.CopyRect(Rect(x + d, Top + e, x + cw, Bottom), *Source.Canvas,
                   Rect(Source.X + d, Source.Y + e, Source.X + cw, Source.Y + s));
    }
}

void TSevenSeg::PaintWithoutBuffer(TCanvas& Screen) {
    Screen.Brush.SetColor(FColorBackGnd);
    Screen.FillRect(Rect(0, 0, Width(), Height()));
    DrawFrame(Screen, FrameStyle(), 0, 0, Width() - 1, Height() - 1, StandardFrameColors);
}

// ------------------------------------------------------------ glyphs

void TSevenSeg::BuildGlyphStrip() {
    // From the present colours, also when no setter changed them.
    UpdateGlyphs(FGlyphs->Look().Ratio, true);
    SourcesRenewed();
    FGlyphs->BuildStrip();
}

const TBitmap& TSevenSeg::GlyphStrip() {
    // Drops a strip of other colours or another cell size.
    UpdateGlyphs(FGlyphs->Look().Ratio, Stale() >= TStale::Sources);
    SourcesRenewed();
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

TGlyphCacheStats TSevenSeg::GlyphCacheStats() const {
    return FGlyphs->Stats();
}

}  // namespace zent
