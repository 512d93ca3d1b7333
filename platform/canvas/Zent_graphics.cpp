#include "Zent_graphics.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPalette>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>
#include <vector>

#include "Zent_internal.h"
#include "Zent_latin1.h"
#include "Zent_numglyphs.h"
#include "Zent_pixels.h"
#include "Zent_sysutils.h"

namespace zent {

using pixels::Box;
using pixels::PixelRows;

const std::array<TColorIdent, 52> ColorIdents = {{
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clActiveBorder", clActiveBorder},
    {"clActiveCaption", clActiveCaption},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clBackground", clBackground},
    {"clBtnFace", clBtnFace},
    {"clBtnHighlight", clBtnHighlight},
    {"clBtnShadow", clBtnShadow},
    {"clBtnText", clBtnText},
    {"clCaptionText", clCaptionText},
    {"clDefault", clDefault},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clGrayText", clGrayText},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clHotLight", clHotLight},
    {"clInactiveBorder", clInactiveBorder},
    {"clInactiveCaption", clInactiveCaption},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clInfoBk", clInfoBk},
    {"clInfoText", clInfoText},
    {"clMenu", clMenu},
    {"clMenuBar", clMenuBar},
    {"clMenuHighlight", clMenuHighlight},
    {"clMenuText", clMenuText},
    {"clNone", clNone},
    {"clScrollBar", clScrollBar},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clWindowText", clWindowText},
}};

namespace {

// System colour index -> palette entry. The fallback is used only when no
// application (and so no palette) exists.
struct SystemColorEntry {
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
    TColor Fallback;
};
constexpr std::array<SystemColorEntry, 31> kSystemColors = {{
    {QPalette::Active, QPalette::Button, 0xC8C8C8},             // 0 clScrollBar
    {QPalette::Active, QPalette::Window, 0x000000},             // 1 clBackground
    {QPalette::Active, QPalette::Highlight, 0xD1B499},          // 2 clActiveCaption
    {QPalette::Inactive, QPalette::Highlight, 0xDBCDBF},        // 3 clInactiveCaption
    {QPalette::Active, QPalette::Window, 0xF0F0F0},             // 4 clMenu
    {QPalette::Active, QPalette::Base, 0xFFFFFF},               // 5 clWindow
    {QPalette::Active, QPalette::Shadow, 0x646464},             // 6 clWindowFrame
    {QPalette::Active, QPalette::WindowText, 0x000000},         // 7 clMenuText
    {QPalette::Active, QPalette::Text, 0x000000},               // 8 clWindowText
    {QPalette::Active, QPalette::HighlightedText, 0x000000},    // 9 clCaptionText
    {QPalette::Active, QPalette::Window, 0xB4B4B4},             // 10 clActiveBorder
    {QPalette::Inactive, QPalette::Window, 0xFCF7F4},           // 11 clInactiveBorder
    {QPalette::Active, QPalette::Mid, 0xABABAB},                // 12 clAppWorkSpace
    {QPalette::Active, QPalette::Highlight, 0xD77800},          // 13 clHighlight
    {QPalette::Active, QPalette::HighlightedText, 0xFFFFFF},    // 14 clHighlightText
    {QPalette::Active, QPalette::Button, 0xF0F0F0},             // 15 clBtnFace
    {QPalette::Active, QPalette::Dark, 0xA0A0A0},               // 16 clBtnShadow
    {QPalette::Disabled, QPalette::Text, 0x6D6D6D},             // 17 clGrayText
    {QPalette::Active, QPalette::ButtonText, 0x000000},         // 18 clBtnText
    {QPalette::Inactive, QPalette::HighlightedText, 0x000000},  // 19 clInactiveCaptionText
    {QPalette::Active, QPalette::Light, 0xFFFFFF},              // 20 clBtnHighlight
    {QPalette::Active, QPalette::Shadow, 0x696969},             // 21 cl3DDkShadow
    {QPalette::Active, QPalette::Midlight, 0xE3E3E3},           // 22 cl3DLight
    {QPalette::Active, QPalette::ToolTipText, 0x000000},        // 23 clInfoText
    {QPalette::Active, QPalette::ToolTipBase, 0xE1FFFF},        // 24 clInfoBk
    {QPalette::Active, QPalette::AlternateBase, 0xF0F0F0},      // 25 (no identifier)
    {QPalette::Active, QPalette::Link, 0xCC6600},               // 26 clHotLight
    {QPalette::Active, QPalette::Highlight, 0xEAD1B9},          // 27 clGradientActiveCaption
    {QPalette::Inactive, QPalette::Highlight, 0xF2E4D7},        // 28 clGradientInactiveCaption
    {QPalette::Active, QPalette::Highlight, 0xFF9933},          // 29 clMenuHighlight
    {QPalette::Active, QPalette::Window, 0xF0F0F0},             // 30 clMenuBar
}};

// The surface pixel a pen, brush or font colour draws.
uint32_t DrawPixel(TColor Color) {
    return RGBToPixel(ColorToRGB(Color));
}

PixelRows RowsOf(QImage& Image) {
    if (Image.isNull()) return {};
    return {reinterpret_cast<uint32_t*>(Image.bits()), Image.width(), Image.height(),
            std::ptrdiff_t(Image.bytesPerLine() / 4)};
}

// Reading only; the const_cast keeps PixelRows one type.
PixelRows RowsOf(const QImage& Image) {
    if (Image.isNull()) return {};
    return {const_cast<uint32_t*>(reinterpret_cast<const uint32_t*>(Image.constBits())), Image.width(),
            Image.height(), std::ptrdiff_t(Image.bytesPerLine() / 4)};
}

QRect ToQRect(const Box& B) {
    return QRect(B.left, B.top, B.width(), B.height());
}

pixels::Rop RopOf(uint32_t CopyMode) {
    return CopyMode == SRCAND ? pixels::Rop::And : pixels::Rop::Copy;
}

// Painter state for our own text: exact pixels, plain source-over, and
// whatever the control had set comes back afterwards.
class PainterScope {
public:
    explicit PainterScope(QPainter& P) : FPainter(P) {
        FPainter.save();
        FPainter.setRenderHint(QPainter::Antialiasing, false);
        FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    ~PainterScope() { FPainter.restore(); }
    PainterScope(const PainterScope&) = delete;
    PainterScope& operator=(const PainterScope&) = delete;

private:
    QPainter& FPainter;
};

// The same for fills and copies, which change only the composition and the
// render hints: just those are kept and put back, at a fraction of the cost
// of QPainter::save and restore (a caption change makes a dozen such calls).
// Fills are opaque, so Source composes them as SourceOver would.
class PainterMode {
public:
    PainterMode(QPainter& P, QPainter::CompositionMode Mode, bool Smooth = false)
        : FPainter(P), FMode(P.compositionMode()), FHints(P.renderHints()) {
        const QPainter::RenderHints Ours = QPainter::Antialiasing | QPainter::SmoothPixmapTransform;
        const QPainter::RenderHints Want = Smooth ? QPainter::SmoothPixmapTransform : QPainter::RenderHints();
        if ((FHints & Ours) != Want) {
            FPainter.setRenderHints(Ours, false);
            FPainter.setRenderHints(Want, true);
        }
        if (FMode != Mode) FPainter.setCompositionMode(Mode);
    }
    ~PainterMode() {
        if (FPainter.compositionMode() != FMode) FPainter.setCompositionMode(FMode);
        if (FPainter.renderHints() != FHints) {
            FPainter.setRenderHints(~FHints, false);
            FPainter.setRenderHints(FHints, true);
        }
    }
    PainterMode(const PainterMode&) = delete;
    PainterMode& operator=(const PainterMode&) = delete;

private:
    QPainter& FPainter;
    const QPainter::CompositionMode FMode;
    const QPainter::RenderHints FHints;
};

}  // namespace

// ---------------------------------------------------------------- colours

TColor ColorToRGB(TColor Color) {
    if (Color >= 0) return Color;
    const auto Index = std::size_t(Color & 0xFF);
    if (Index >= kSystemColors.size()) return clBlack;  // no such system colour
    const SystemColorEntry& E = kSystemColors[Index];
    if (!qGuiApp) return E.Fallback;
    return PixelToRGB(QGuiApplication::palette().color(E.Group, E.Role).rgb());
}

QColor ToQColor(TColor Color) {
    return QColor::fromRgb(RGBToPixel(ColorToRGB(Color)));
}

TColor FromQColor(const QColor& Color) {
    return PixelToRGB(Color.rgb());
}

std::string ColorToText(TColor Color) {
    for (const TColorIdent& I : ColorIdents)
        if (I.Value == Color) return std::string(I.Name);
    char Buf[16];
    std::snprintf(Buf, sizeof Buf, "$%08X", unsigned(uint32_t(Color)));
    return Buf;
}

namespace {
// The font an unnamed face and size 0 stand for.
QFont DefaultFont() {
    return qGuiApp ? QGuiApplication::font() : QFont();
}

QFont ToQFont(const TFont& Font, QFont F) {
    if (!Font.Name.empty()) F.setFamilies({Latin1ToQString(Font.Name)});
    if (Font.Size > 0) F.setPointSize(Font.Size);
    if (Font.Size < 0) F.setPixelSize(Font.Size == std::numeric_limits<int32_t>::min() ? 1 : -Font.Size);
    F.setBold(Font.Style & fsBold);
    F.setItalic(Font.Style & fsItalic);
    F.setUnderline(Font.Style & fsUnderline);
    F.setStrikeOut(Font.Style & fsStrikeOut);
    return F;
}
}  // namespace

QFont ToQFont(const TFont& Font) {
    return ToQFont(Font, DefaultFont());
}

int32_t PaintPixelRatio(double Dpr) {
    if (!(Dpr > 1)) return 1;  // NaN too
    return int32_t(std::min(std::ceil(Dpr - 1.0 / 64), double(MaxPixelRatio)));
}

// ---------------------------------------------------------------- canvas

// Building a QFont and a QFontMetrics, and the font engine lookup a new
// QFontMetrics makes, cost more than drawing a short text; so does shaping
// it. A canvas keeps them for its font and its surface's resolution, with
// the widths and shaped glyphs of the texts it measured last: a control
// measures a text just before it draws it, and repaints the same few texts.
// A number needs no shaping: its glyphs come from the number glyphs of the
// font, shared by all canvases.
struct TCanvas::TTextCache {
    // What the font and metrics were made from. Metrics depend on the
    // surface only through its resolution; the painter scales glyphs to
    // device pixels itself.
    std::string Name;
    int32_t Size = 0;
    uint8_t Style = 0;
    QFont Base;
    int Dpi = -1;  // 0: measured without a surface
    QFont Font;
    QFontMetrics Metrics{QFont()};
    // The surface of the present call, set by every TextCache().
    const QPaintDevice* Device = nullptr;
    // Fetched at the first number measured.
    std::shared_ptr<const TNumberGlyphs> Numbers;
    bool NumbersFetched = false;

    struct TMeasure {
        QString Chars;
        int32_t Width = 0;
        bool Number = false;                  // drawn from the number glyphs
        std::string Bytes;                    // then its Latin-1 bytes
        std::unique_ptr<QTextLayout> Glyphs;  // otherwise shaped at the first draw
    };
    std::array<TMeasure, 4> Recent;
    std::size_t Count = 0, Next = 0;  // Recent[Next] is replaced next

    TMeasure& Measure(QStringView Text) {
        for (std::size_t i = 0; i < Count; ++i)
            if (Recent[i].Chars == Text) return Recent[i];
        TMeasure& M = Recent[Next];
        Next = (Next + 1) % Recent.size();
        Count = std::max(Count, Next == 0 ? Recent.size() : Next);
        M.Chars = Text.toString();
        M.Glyphs.reset();
        M.Width = -1;
        M.Bytes.clear();
        const bool Latin1 = std::all_of(Text.begin(), Text.end(), [](QChar C) { return C.unicode() <= 0xFF; });
        if (Latin1) {
            M.Bytes = QStringToLatin1(M.Chars);
            if (TNumberGlyphs::Writes(M.Bytes)) {
                if (!std::exchange(NumbersFetched, true)) Numbers = TNumberGlyphs::For(Font, Device);
                if (Numbers) M.Width = Numbers->Width(M.Bytes);
            }
        }
        M.Number = M.Width >= 0;
        if (!M.Number) M.Width = Metrics.horizontalAdvance(M.Chars);
        return M;
    }

    // Draws M with its baseline at Baseline, in the painter's pen. The glyphs
    // are shaped once and drawn as drawText draws them; underline and strike
    // out lines are left to drawText, which places them differently at
    // device pixel ratios above 1.
    void Draw(QPainter& P, TMeasure& M, int32_t X, int32_t Baseline) {
        if (M.Number) {
            Numbers->Draw(P, M.Bytes, X, Baseline);
            return;
        }
        if (Style & (fsUnderline | fsStrikeOut)) {
            P.setFont(Font);
            P.drawText(QPoint(X, Baseline), M.Chars);
            return;
        }
        if (!M.Glyphs) {
            M.Glyphs = std::make_unique<QTextLayout>(M.Chars, Font, P.device());
            M.Glyphs->setCacheEnabled(true);
            M.Glyphs->beginLayout();
            M.Glyphs->createLine();
            M.Glyphs->endLayout();
        }
        // The line puts its baseline its own ascent below the given point.
        M.Glyphs->draw(&P, QPointF(X, Baseline - M.Glyphs->lineAt(0).ascent()));
    }
};

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

TCanvas::TTextCache& TCanvas::TextCache() const {
    const QPaintDevice* Device = FImage && !FImage->isNull() ? FImage : FPainter ? FPainter->device() : nullptr;
    const int Dpi = Device ? Device->logicalDpiY() : 0;
    QFont Base = DefaultFont();
    if (!FTextCache) FTextCache = std::make_unique<TTextCache>();
    TTextCache& C = *FTextCache;
    C.Device = Device;
    if (C.Dpi == Dpi && C.Size == Font.Size && C.Style == Font.Style && C.Name == Font.Name && C.Base == Base)
        return C;
    C.Name = Font.Name;
    C.Size = Font.Size;
    C.Style = Font.Style;
    C.Base = std::move(Base);
    C.Dpi = Dpi;
    C.Font = ToQFont(Font, C.Base);
    C.Metrics = Device ? QFontMetrics(C.Font, Device) : QFontMetrics(C.Font);
    C.Count = C.Next = 0;
    C.Numbers.reset();
    C.NumbersFetched = false;
    return C;
}

void TCanvas::BindPainter(QPainter* Painter, int32_t Width, int32_t Height) {
    FImage = nullptr;
    FPainter = Painter;
    FPainterWidth = std::max(Width, 0);
    FPainterHeight = std::max(Height, 0);
    // Device pixels per logical pixel where this paint lands: the widget's
    // device pixel ratio on screen and in grab(), 1 when it is rendered into
    // an image of ratio 1.
    const QTransform T = Painter ? Painter->deviceTransform() : QTransform();
    FRatio = PaintPixelRatio(std::max(std::hypot(T.m11(), T.m12()), std::hypot(T.m21(), T.m22())));
}

void TCanvas::Unbind() {
    FImage = nullptr;
    FPainter = nullptr;
    FPainterWidth = FPainterHeight = 0;
    FRatio = 1;
}

bool TCanvas::ExactRatio() const {
    if (!FPainter) return true;
    const QTransform T = FPainter->deviceTransform();
    return T.type() <= QTransform::TxScale && T.m11() == FRatio && T.m22() == FRatio &&
           T.dx() == std::floor(T.dx()) && T.dy() == std::floor(T.dy());
}

TRect TCanvas::PaintArea() const {
    const TRect Whole = Rect(0, 0, SurfaceWidth(), SurfaceHeight());
    if (!FPainter || !FPainter->paintEngine()) return Whole;
    // Qt clips a widget's paint to the region it repaints, in device pixels
    // of the backing store or pixmap; the painter's transform maps it back.
    const QRegion Clip = FPainter->paintEngine()->systemClip();
    bool Invertible = false;
    const QTransform ToLogical = FPainter->deviceTransform().inverted(&Invertible);
    if (Clip.isEmpty() || !Invertible) return Whole;
    const QRect R = ToLogical.mapRect(QRectF(Clip.boundingRect())).toAlignedRect() &
                    QRect(0, 0, Whole.Right, Whole.Bottom);
    if (R.isEmpty()) return {};
    return Rect(R.left(), R.top(), R.left() + R.width(), R.top() + R.height());
}

void TCanvas::RequireSurface() const {
    if (!IsBound()) throw EInvalidOperation("Canvas does not allow drawing");
}

int32_t TCanvas::SurfaceWidth() const {
    return FImage ? FImage->width() / FRatio : FPainter ? FPainterWidth : 0;
}
int32_t TCanvas::SurfaceHeight() const {
    return FImage ? FImage->height() / FRatio : FPainter ? FPainterHeight : 0;
}

void TCanvas::FillArea(int64_t L, int64_t T, int64_t R, int64_t B, uint32_t Pixel) {
    if (FImage) {
        const int64_t r = FRatio;  // logical coordinates fit 32 bits, so r times them fits 64
        pixels::Fill(RowsOf(*FImage), L * r, T * r, R * r, B * r, Pixel);
    } else if (FPainter) {
        const Box Clipped = pixels::Clip(L, T, R, B, FPainterWidth, FPainterHeight);
        if (Clipped.empty()) return;
        PainterMode Mode(*FPainter, QPainter::CompositionMode_Source);
        FPainter->fillRect(ToQRect(Clipped), QColor::fromRgb(Pixel));
    }
}

void TCanvas::MoveTo(int32_t X, int32_t Y) {
    FPenPos = {X, Y};
}

void TCanvas::LineTo(int32_t X, int32_t Y) {
    RequireSurface();
    const TPoint From = FPenPos;
    FPenPos = {X, Y};
    if (Pen.Style == psClear) return;
    const uint32_t Pixel = DrawPixel(Pen.Color);
    if (FImage && FRatio == 1) {
        pixels::Line(RowsOf(*FImage), From.X, From.Y, X, Y, Pixel);
        return;
    }
    if (FImage) {  // the same logical pixels, each a block of device pixels
        pixels::ForEachLinePixel(From.X, From.Y, X, Y, SurfaceWidth(), SurfaceHeight(),
                                 [&](int32_t PX, int32_t PY) { FillArea(PX, PY, PX + 1, PY + 1, Pixel); });
        return;
    }
    // On a screen the line goes as runs of pixels, so it keeps the same rule,
    // stepped only where this paint reaches: a control may be far larger
    // than what is visible of it.
    const TRect Area = PaintArea();
    std::vector<QRect> Runs;
    pixels::ForEachLinePixel(From.X, From.Y, X, Y, Box{Area.Left, Area.Top, Area.Right, Area.Bottom},
                             [&](int32_t PX, int32_t PY) {
                                 if (!Runs.empty()) {
                                     QRect& Last = Runs.back();
                                     if (Last.height() == 1 && Last.top() == PY &&
                                         (PX == Last.right() + 1 || PX == Last.left() - 1)) {
                                         Last.setLeft(std::min(Last.left(), PX));
                                         Last.setRight(std::max(Last.right(), PX));
                                         return;
                                     }
                                     if (Last.width() == 1 && Last.left() == PX &&
                                         (PY == Last.bottom() + 1 || PY == Last.top() - 1)) {
                                         Last.setTop(std::min(Last.top(), PY));
                                         Last.setBottom(std::max(Last.bottom(), PY));
                                         return;
                                     }
                                 }
                                 Runs.emplace_back(PX, PY, 1, 1);
                             });
    if (Runs.empty()) return;
    PainterMode Mode(*FPainter, QPainter::CompositionMode_Source);
    const QColor C = QColor::fromRgb(Pixel);
    for (const QRect& R : Runs) FPainter->fillRect(R, C);
}

void TCanvas::Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
    RequireSurface();
    const int64_t L = std::min(X1, X2), R = std::max(X1, X2), T = std::min(Y1, Y2), B = std::max(Y1, Y2);
    if (R == L || B == T) return;
    const bool Outline = Pen.Style != psClear;
    if (Brush.Style() != bsClear) {
        const int64_t Inset = Outline ? 1 : 0;
        FillArea(L + Inset, T + Inset, R - Inset, B - Inset, DrawPixel(Brush.Color()));
    }
    if (Outline) {
        const uint32_t Pixel = DrawPixel(Pen.Color);
        pixels::ForEachFrameBox(L, T, R, B, [&](int64_t FL, int64_t FT, int64_t FR, int64_t FB) {
            FillArea(FL, FT, FR, FB, Pixel);
        });
    }
}

void TCanvas::FillRect(const TRect& R) {
    RequireSurface();
    if (Brush.Style() == bsClear) return;
    FillArea(R.Left, R.Top, R.Right, R.Bottom, DrawPixel(Brush.Color()));
}

void TCanvas::SetPixels(int32_t X, int32_t Y, TColor Color) {
    RequireSurface();
    FillArea(X, Y, int64_t(X) + 1, int64_t(Y) + 1, DrawPixel(Color));
}

TColor TCanvas::Pixels(int32_t X, int32_t Y) const {
    constexpr auto kUnreadable = TColor(0xFFFFFFFF);
    if (!FImage) return kUnreadable;
    const PixelRows Rows = RowsOf(std::as_const(*FImage));
    const int64_t DX = int64_t(X) * FRatio, DY = int64_t(Y) * FRatio;  // the top-left device pixel
    if (Rows.empty() || !Rows.contains(DX, DY)) return kUnreadable;
    return PixelToRGB(Rows.at(int32_t(DX), int32_t(DY)));
}

void TCanvas::PaintText(int64_t ClipL, int64_t ClipT, int64_t ClipR, int64_t ClipB, int32_t X, int32_t Y,
                        QStringView Text) {
    const Box Clip = pixels::Clip(ClipL, ClipT, ClipR, ClipB, SurfaceWidth(), SurfaceHeight());
    if (Clip.empty()) return;
    if (Brush.Style() != bsClear)
        FillArea(Clip.left, Clip.top, Clip.right, Clip.bottom, DrawPixel(Brush.Color()));
    if (Text.empty()) return;

    TTextCache& T = TextCache();
    TTextCache::TMeasure& M = T.Measure(Text);
    // Only a cell that meets the clip box is drawn, which keeps the painter's
    // coordinates near the surface whatever X and Y are.
    const Box Cell = pixels::Clip(X, Y, int64_t(X) + M.Width, int64_t(Y) + T.Metrics.height(), SurfaceWidth(),
                                  SurfaceHeight());
    const Box Visible = pixels::Clip(std::max(Cell.left, Clip.left), std::max(Cell.top, Clip.top),
                                     std::min(Cell.right, Clip.right), std::min(Cell.bottom, Clip.bottom),
                                     SurfaceWidth(), SurfaceHeight());
    if (Cell.empty() || Visible.empty()) return;

    // On a bitmap's solid background a number's glyphs are pasted: no
    // painter, and the blending done once per glyph.
    const int32_t Baseline = Y + T.Metrics.ascent();
    const int32_t r = FRatio;  // Visible lies inside the surface: its device pixels fit 32 bits
    if (FImage && M.Number && Brush.Style() != bsClear &&
        T.Numbers->Paste(RowsOf(*FImage),
                         Box{Visible.left * r, Visible.top * r, Visible.right * r, Visible.bottom * r}, r,
                         M.Bytes, X, Baseline, DrawPixel(Font.Color), DrawPixel(Brush.Color())))
        return;

    const auto Draw = [&](QPainter& P) {
        P.setClipRect(ToQRect(Visible), Qt::IntersectClip);
        P.setPen(QColor::fromRgb(DrawPixel(Font.Color)));
        P.setBackgroundMode(Qt::TransparentMode);
        T.Draw(P, M, X, Baseline);
    };
    if (FImage) {
        QPainter P(FImage);
        Draw(P);
    } else {
        PainterScope Scope(*FPainter);
        Draw(*FPainter);
    }
}

void TCanvas::TextOut(int32_t X, int32_t Y, QStringView Text) {
    RequireSurface();
    TTextCache& T = TextCache();
    const int64_t W = T.Measure(Text).Width, H = T.Metrics.height();
    PaintText(X, Y, X + W, Y + H, X, Y, Text);
    FPenPos = {Saturate(X + W), Y};
}

void TCanvas::TextRect(const TRect& R, int32_t X, int32_t Y, QStringView Text) {
    RequireSurface();
    PaintText(R.Left, R.Top, R.Right, R.Bottom, X, Y, Text);
}

int32_t TCanvas::TextWidth(QStringView Text) const {
    return TextCache().Measure(Text).Width;
}

int32_t TCanvas::TextHeight(QStringView) const {
    return TextCache().Metrics.height();
}

// The byte-string face: Latin-1 texts, the same glyphs.
void TCanvas::TextOut(int32_t X, int32_t Y, const std::string& Text) {
    TextOut(X, Y, Latin1ToQString(Text));
}
void TCanvas::TextRect(const TRect& R, int32_t X, int32_t Y, const std::string& Text) {
    TextRect(R, X, Y, Latin1ToQString(Text));
}
int32_t TCanvas::TextWidth(const std::string& Text) const {
    return TextWidth(Latin1ToQString(Text));
}
int32_t TCanvas::TextHeight(const std::string&) const {
    return TextCache().Metrics.height();
}

void TCanvas::Draw(int32_t X, int32_t Y, const TBitmap& Bitmap) {
    RequireSurface();
    if (Bitmap.Empty()) return;
    CopyFrom(X, Y, TPlatformAccess::Image(Bitmap), Bitmap.PixelRatio(), 0, 0, Bitmap.Width(), Bitmap.Height());
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect) {
    RequireSurface();
    Source.RequireSurface();
    if (!Source.FImage || Source.FImage->isNull()) return;
    const int64_t W = std::min(int64_t(Dest.Right) - Dest.Left, int64_t(SourceRect.Right) - SourceRect.Left);
    const int64_t H = std::min(int64_t(Dest.Bottom) - Dest.Top, int64_t(SourceRect.Bottom) - SourceRect.Top);
    if (W <= 0 || H <= 0) return;
    CopyFrom(Dest.Left, Dest.Top, std::as_const(*Source.FImage), Source.FRatio, SourceRect.Left, SourceRect.Top,
             W, H);
}

void TCanvas::CopyFrom(int64_t DX, int64_t DY, const QImage& Source, int32_t SourceRatio, int64_t SX,
                       int64_t SY, int64_t W, int64_t H) {
    const int64_t rs = SourceRatio;
    if (FImage && FRatio == rs) {
        const PixelRows Dst = RowsOf(*FImage);  // first: it may detach the image
        pixels::Copy(Dst, DX * rs, DY * rs, RowsOf(Source), SX * rs, SY * rs, W * rs, H * rs, RopOf(CopyMode));
        return;
    }
    // The logical pixels to copy, clipped to both surfaces.
    const Box B = pixels::CopyBox(SurfaceWidth(), SurfaceHeight(), DX, DY, int32_t(Source.width() / rs),
                                  int32_t(Source.height() / rs), SX, SY, W, H);
    if (B.empty()) return;
    const int64_t FromX = (B.left - DX + SX) * rs, FromY = (B.top - DY + SY) * rs;
    if (FImage) {
        const int64_t rd = FRatio;
        QImage Scaled(int32_t(B.width() * rd), int32_t(B.height() * rd), QImage::Format_RGB32);
        if (Scaled.isNull()) throw EOutOfResources("Not enough memory to copy between pixel ratios");
        pixels::StretchNearest(RowsOf(Scaled), 0, 0, Scaled.width(), Scaled.height(), RowsOf(Source), FromX,
                               FromY, B.width() * rs, B.height() * rs);
        const PixelRows Dst = RowsOf(*FImage);
        pixels::Copy(Dst, B.left * rd, B.top * rd, RowsOf(Scaled), 0, 0, Scaled.width(), Scaled.height(),
                     RopOf(CopyMode));
        return;
    }
    // Qt draws an image of ratio rs at its logical size: one to one on a
    // screen of that ratio; elsewhere a bitmap of ratio 1 grows by pixel
    // repetition and one of a higher ratio is scaled smoothly.
    PainterMode Mode(*FPainter,
                     RopOf(CopyMode) == pixels::Rop::And ? QPainter::RasterOp_SourceAndDestination
                                                         : QPainter::CompositionMode_Source,
                     rs > 1);
    const QRect From(int32_t(FromX), int32_t(FromY), int32_t(B.width() * rs), int32_t(B.height() * rs));
    if (From == Source.rect())
        FPainter->drawImage(QPoint(B.left, B.top), Source);  // Qt's shortest road
    else
        FPainter->drawImage(QPoint(B.left, B.top), Source, From);
}

void TCanvas::FloodFill(int32_t X, int32_t Y, TColor Color, TFillStyle Style) {
    RequireSurface();
    if (!FImage || Style != fsSurface || Brush.Style() == bsClear) return;
    const TColor Target = ColorToRGB(Color);
    if (uint32_t(Target) > 0xFFFFFFu) return;  // clNone, clDefault: no pixel has that colour
    pixels::FloodFill(RowsOf(*FImage), int64_t(X) * FRatio, int64_t(Y) * FRatio, RGBToPixel(Target),
                      DrawPixel(Brush.Color()));
}

// ---------------------------------------------------------------- stretching

int SetStretchBltMode(HDC Dest, int Mode) {
    if (!Dest || Mode < 1 || Mode > HALFTONE) return 0;
    const int Previous = Dest->FStretchMode;
    Dest->FStretchMode = Mode;
    return Previous;
}

bool StretchBlt(HDC Dest, int32_t X, int32_t Y, int32_t W, int32_t H, HDC Source, int32_t SX, int32_t SY,
                int32_t SW, int32_t SH, uint32_t Rop) {
    if (!Dest || !Source || Rop != SRCCOPY || W <= 0 || H <= 0 || SW <= 0 || SH <= 0) return false;
    QImage* DstImage = Dest->IsBound() && !Dest->FPainter ? Dest->FImage : nullptr;
    const QImage* SrcImage = Source->IsBound() && !Source->FPainter ? Source->FImage : nullptr;
    if (!DstImage || !SrcImage) return false;
    const PixelRows Dst = RowsOf(*DstImage);  // first: it may detach the image
    const PixelRows Src = RowsOf(*SrcImage);
    const int64_t rd = Dest->FRatio, rs = Source->FRatio;
    if (Dest->StretchMode() == HALFTONE)
        pixels::StretchArea(Dst, X * rd, Y * rd, W * rd, H * rd, Src, SX * rs, SY * rs, SW * rs, SH * rs);
    else
        pixels::StretchNearest(Dst, X * rd, Y * rd, W * rd, H * rd, Src, SX * rs, SY * rs, SW * rs, SH * rs);
    return true;
}

// ---------------------------------------------------------------- bitmap

TBitmap::TBitmap() : FImage(std::make_unique<QImage>()), FCanvas(std::make_unique<TCanvas>()) {
    FCanvas->BindImage(FImage.get(), FRatio);
}

TBitmap::~TBitmap() = default;

int32_t TBitmap::Width() const {
    return FWidth;
}
int32_t TBitmap::Height() const {
    return FHeight;
}
void TBitmap::SetWidth(int32_t Value) {
    SetSize(Value, FHeight);
}
void TBitmap::SetHeight(int32_t Value) {
    SetSize(FWidth, Value);
}

void TBitmap::SetSize(int32_t W, int32_t H) {
    W = std::max(W, 0);
    H = std::max(H, 0);
    if (W == FWidth && H == FHeight) return;
    Reallocate(W, H, FRatio);
}

void TBitmap::SetPixelRatio(int32_t Value) {
    Value = std::clamp(Value, 1, MaxPixelRatio);
    if (Value == FRatio) return;
    Reallocate(FWidth, FHeight, Value);
}

void TBitmap::Reallocate(int32_t W, int32_t H, int32_t Ratio) {
    QImage Next;
    if (W > 0 && H > 0) {
        // Beyond MaxBitmapBytes a paint buffer is a mistake, not a picture;
        // refuse it before the system overcommits memory that filling would
        // then touch.
        const int64_t DW = int64_t(W) * Ratio, DH = int64_t(H) * Ratio;
        if (DW * DH <= MaxBitmapBytes / 4) Next = QImage(int32_t(DW), int32_t(DH), QImage::Format_RGB32);
        if (Next.isNull())
            throw EOutOfResources(
                Format("Not enough memory for a %s x %s bitmap", {std::to_string(DW), std::to_string(DH)}));
        Next.setDevicePixelRatio(Ratio);
        Next.fill(DrawPixel(FCanvas->Brush.Color()));
        if (Ratio == FRatio)
            pixels::Copy(RowsOf(Next), 0, 0, RowsOf(std::as_const(*FImage)), 0, 0, int64_t(FWidth) * Ratio,
                         int64_t(FHeight) * Ratio, pixels::Rop::Copy);
    }
    *FImage = std::move(Next);  // the canvas keeps pointing at *FImage
    FWidth = W;
    FHeight = H;
    FRatio = Ratio;
    FCanvas->BindImage(FImage.get(), Ratio);
}

QImage TBitmap::ToImage() const {
    return *FImage;
}

void TBitmap::LoadFromResource(std::intptr_t, const std::string& Name) {
    QImage Loaded(QStringLiteral(":/") + Latin1ToQString(Name));
    if (Loaded.isNull()) throw EResNotFound(Format("Resource %s not found", {Name}));
    *FImage = Loaded.convertToFormat(QImage::Format_RGB32);
    FImage->setDevicePixelRatio(1);
    FWidth = FImage->width();
    FHeight = FImage->height();
    FRatio = 1;
    FCanvas->BindImage(FImage.get(), 1);
}

}  // namespace zent
