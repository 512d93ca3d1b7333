#include "Zent_qmlsevenseg.h"

#include <QQuickWindow>
#include <QSGImageNode>
#include <algorithm>
#include <utility>

#include "Zent_controls.h"
#include "Zent_qmltexture.h"
#include "Zent_sysutils.h"
#include "Zent_segglyphs.h"
#include "Zent_zentbase.h"

namespace zent {

TQmlSevenSeg::TQmlSevenSeg(QQuickItem* Parent)
    : QQuickItem(Parent),
      FCaption(QString::fromUtf16(TDisplayDefaults::Caption.data(), TDisplayDefaults::Caption.size())),
      FGlyphs(std::make_unique<TGlyphFactory>()) {
    setFlag(ItemHasContents);
    InstallQuickTextAccessible();
    FCells = ReadCaption(FCaption, FNumDigits);
    UpdateImplicitSize();
    // A size of its own, as the widget's: following the implicit size (the
    // size hint) would let a margin or left space limited by the size
    // change the size it is limited by.
    setSize(QSizeF(TDisplayDefaults::Width, TDisplayDefaults::Height));
}

TQmlSevenSeg::~TQmlSevenSeg() = default;

// ------------------------------------------------------------ properties

void TQmlSevenSeg::setCaption(const QString& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    CaptionOrCountChanged();
    emit captionChanged(Value);
}

void TQmlSevenSeg::setColorBackGnd(const QColor& Value) {
    if (!Value.isValid() || FromQColor(Value) == FColorBackGnd) return;
    FColorBackGnd = FromQColor(Value);
    MarkDirty(Glyphs | Frame);
    emit colorBackGndChanged(colorBackGnd());
}

void TQmlSevenSeg::setColorText(const QColor& Value) {
    if (!Value.isValid() || FromQColor(Value) == FColorText) return;
    FColorText = FromQColor(Value);
    MarkDirty(Glyphs);
    emit colorTextChanged(colorText());
}

void TQmlSevenSeg::setInterDigDist(int Value) {
    const std::optional<int32_t> Stored = InterDigDistToStore(FInterDigDist, Value);
    if (!Stored) return;
    FInterDigDist = *Stored;
    UpdateImplicitSize();
    MarkDirty(Glyphs | Frame);
    emit interDigDistChanged(FInterDigDist);
}

void TQmlSevenSeg::setMargin(int Value) {
    const std::optional<int32_t> Stored = MarginToStore(FMargin, Value, qRound(height()));
    if (!Stored) return;
    const int32_t Old = std::exchange(FMargin, *Stored);
    UpdateImplicitSize();
    MarkDirty(Glyphs | Frame);
    if (FMargin != Old) emit marginChanged(FMargin);
}

void TQmlSevenSeg::setNumDigits(int Value) {
    const std::optional<int32_t> Stored = NumDigitsToStore(FNumDigits, Value);
    if (!Stored) return;
    FNumDigits = *Stored;
    CaptionOrCountChanged();
    UpdateImplicitSize();
    MarkDirty(Glyphs | Frame);
    emit numDigitsChanged(FNumDigits);
}

void TQmlSevenSeg::setFrameStyle(TFrameStyle Value) {
    if (Value == FFrameStyle || !InRange(Value)) return;
    FFrameStyle = Value;
    MarkDirty(Frame);
    emit frameStyleChanged(Value);
}

void TQmlSevenSeg::setColorScheme(TColorScheme Value) {
    if (Value == FColorScheme || !InRange(Value)) return;
    FColorScheme = Value;
    emit colorSchemeChanged(Value);
}

QString TQmlSevenSeg::shownText() const {
    return QString::fromLatin1(ShownText(FCells));
}

void TQmlSevenSeg::CaptionOrCountChanged() {
    const TCaptionCells Cells = ReadCaption(FCaption, FNumDigits);
    if (Cells == FCells) return;
    FCells = Cells;
    MarkDirty(TDirty::Cells);
    emit shownTextChanged(shownText());
    AnnounceShownText(this);
}

void TQmlSevenSeg::UpdateImplicitSize() {
    const TDisplaySize S =
        DisplaySizeFor(HintCellWidth, HintCellHeight, FMargin, FInterDigDist, FNumDigits, MaxCoordinate);
    setImplicitSize(S.Width, S.Height);
}

TCellGeometry TQmlSevenSeg::Geometry() const {
    return TCellGeometry::Of(qRound(width()), qRound(height()), FMargin, FInterDigDist, FNumDigits);
}

void TQmlSevenSeg::MarkDirty(uint8_t What) {
    FDirty |= What;
    polish();
    update();
}

void TQmlSevenSeg::geometryChange(const QRectF& NewGeometry, const QRectF& OldGeometry) {
    QQuickItem::geometryChange(NewGeometry, OldGeometry);
    if (NewGeometry.size() != OldGeometry.size()) MarkDirty(Cells | Frame | Glyphs);
}

void TQmlSevenSeg::itemChange(ItemChange Change, const ItemChangeData& Value) {
    QQuickItem::itemChange(Change, Value);
    if (Change == ItemSceneChange || Change == ItemDevicePixelRatioHasChanged) MarkDirty(Cells | Frame | Glyphs);
}

// ------------------------------------------------------------ pictures

namespace {
// The frame alone on a transparent picture: what lies over cells that may
// reach into the frame's rings. The frame colours are black, grey, silver
// and white, so a fuchsia surround is never frame.
QImage FrameOnly(TFrameStyle Style, int32_t W, int32_t H, int32_t Ratio) {
    TBitmap Over;
    Over.SetPixelRatio(Ratio);
    Over.Canvas().Brush.SetColor(clFuchsia);
    Over.SetSize(W, H);
    DrawFrame(Over.Canvas(), Style, 0, 0, W - 1, H - 1, StandardFrameColors);
    return SeeThrough(Over.ToImage(), qRgb(255, 0, 255));
}
}  // namespace

void TQmlSevenSeg::updatePolish() {
    const int32_t W = qRound(width()), H = qRound(height());
    const int32_t Screen = window() ? PaintPixelRatio(window()->effectiveDevicePixelRatio()) : 1;
    const TCellGeometry G = Geometry();
    const int32_t Ratio = DisplayPictureRatio(G, W, H, Screen);
    if (W != FW || H != FH || Ratio != FRatio) FDirty |= Cells | Frame | Glyphs;
    FW = W;
    FH = H;
    FRatio = Ratio;
    if (W <= 0 || H <= 0) {
        FStrip = FBack = FFrameOver = QImage();
        FNewImages |= std::exchange(FDirty, 0);
        return;
    }
    try {
        if (FDirty & Glyphs) {
            FGlyphs->Reset({FColorText, FColorBackGnd, G, Ratio});
            if (!FGlyphs->StripBuilt()) FGlyphs->BuildStrip();
            FStrip = FGlyphs->StripBuilt() ? FGlyphs->Strip().ToImage() : QImage();
            FDrawnCells = G;
            FCellsApart = CellsApart(G, FMargin);
            FDirty |= Frame;  // the overlay follows the cells
        }
        if (FDirty & Frame) {
            // As the widget composes its picture: background, (cells,) frame.
            TBitmap Back;
            Back.SetPixelRatio(Ratio);
            Back.SetSize(W, H);
            TCanvas& C = Back.Canvas();
            C.CopyMode = SRCCOPY;
            C.Pen.Color = FColorBackGnd;
            C.Brush.SetColor(FColorBackGnd);
            C.Rectangle(0, 0, W, H);
            DrawFrame(C, FFrameStyle, 0, 0, W - 1, H - 1, StandardFrameColors);
            FBack = Back.ToImage();
            FFrameOver = FCellsApart || FFrameStyle == fsNone || FStrip.isNull()
                             ? QImage()
                             : FrameOnly(FFrameStyle, W, H, Ratio);
        }
    } catch (const EOutOfResources&) {
        FStrip = FBack = FFrameOver = QImage();  // too large for memory: nothing shows
    }
    FNewImages |= std::exchange(FDirty, 0);
}

namespace {
// Dest (logical) clipped to 0..W x 0..H, and the part of the texture at
// (SX, SY) (logical, of a texture of Ratio) that lands there.
struct TPiece {
    QRectF Dest, Source;
};
TPiece Clipped(int64_t L, int64_t T, int64_t R, int64_t B, int64_t SX, int64_t SY, int32_t W, int32_t H,
               int32_t Ratio) {
    const int64_t CL = std::max<int64_t>(L, 0), CT = std::max<int64_t>(T, 0), CR = std::min<int64_t>(R, W),
                  CB = std::min<int64_t>(B, H);
    if (CL >= CR || CT >= CB) return {};
    return {QRectF(CL, CT, CR - CL, CB - CT),
            QRectF(double(SX + CL - L) * Ratio, double(SY + CT - T) * Ratio, double(CR - CL) * Ratio,
                   double(CB - CT) * Ratio)};
}
}  // namespace

// Children: the background and frame, two nodes per cell (the symbol, the
// point's corner), and the frame again when cells may reach into it.
QSGNode* TQmlSevenSeg::updatePaintNode(QSGNode* Old, UpdatePaintNodeData*) {
    auto* Root = static_cast<TTextureHolderNode*>(Old);
    QQuickWindow* Window = window();
    if (!Root) {
        Root = new TTextureHolderNode;
        FNewImages |= Cells | Frame | Glyphs;
    }
    const uint8_t New = std::exchange(FNewImages, 0);
    if (New & (Frame | Glyphs)) {
        DeleteChildNodes(*Root);  // they were made from textures of another look
        Root->Textures[0] = WindowTexture(Window, FBack);
        Root->Textures[1] = WindowTexture(Window, FStrip);
        Root->Textures[2] = WindowTexture(Window, FFrameOver);
        if (!Root->Textures[0]) {
            Root->Textures[1] = Root->Textures[2] = nullptr;
            return Root;
        }
        QSGImageNode* Back = ImageNode(Window, Root->Textures[0].get());
        Back->setRect(0, 0, FW, FH);
        Back->setSourceRect(0, 0, FBack.width(), FBack.height());
        Root->appendChildNode(Back);
        if (Root->Textures[1])
            for (int i = 0; i < 2 * FNumDigits; ++i) Root->appendChildNode(ImageNode(Window, Root->Textures[1].get()));
        if (Root->Textures[2]) {
            QSGImageNode* Over = ImageNode(Window, Root->Textures[2].get());
            Over->setRect(0, 0, FW, FH);
            Over->setSourceRect(0, 0, FFrameOver.width(), FFrameOver.height());
            Root->appendChildNode(Over);
        }
    }
    if (!Root->Textures[1] || !(New & (Cells | Frame | Glyphs))) return Root;
    // Fresh nodes show nothing yet; kept ones need only the cells that changed.
    if (New & (Frame | Glyphs)) FNodeCells = TCaptionCells{{}, -1};

    // Each cell as the widget composes it: the symbol's cell from the
    // strip, then the lower right corner of the point over it.
    const TCellGeometry& G = FDrawnCells;
    const int64_t cw = G.GlyphWidth, s = G.GlyphHeight, Top = FMargin;
    const auto [d, e] = PointCorner(int32_t(cw), int32_t(s));
    QSGNode* Child = Root->firstChild()->nextSibling();
    for (int j = 0; j < FNumDigits; ++j) {
        auto* Symbol = static_cast<QSGImageNode*>(Child);
        auto* Point = static_cast<QSGImageNode*>(Child->nextSibling());
        Child = Point->nextSibling();
        const TDigitCell Cell = FCells.Cells[j];
        if (FNodeCells.Count >= 0 && Cell == FNodeCells.Cells[j]) continue;
        const int64_t Left = int64_t(FMargin) + j * G.Pitch;
        TPiece S, P;
        if (Cell.Symbol != 0)
            S = Clipped(Left, Top, Left + cw, Top + s, (Cell.Symbol - 1) * cw, 0, FW, FH, FRatio);
        if (Cell.Point)
            P = Clipped(Left + d, Top + e, Left + cw, Top + s, (GlyphCount - 1) * cw + d, e, FW, FH, FRatio);
        Symbol->setRect(S.Dest);
        Symbol->setSourceRect(S.Source);
        Point->setRect(P.Dest);
        Point->setSourceRect(P.Source);
    }
    FNodeCells = FCells;
    return Root;
}

}  // namespace zent
