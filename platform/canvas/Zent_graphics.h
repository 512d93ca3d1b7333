// Colours, pens, brushes, fonts, canvases and memory bitmaps.
//
// A canvas draws on one of two surfaces: the pixels of a TBitmap (our own
// pixel code, so the pixel rules hold exactly) or a QPainter that a control
// binds for the duration of one paint. Coordinates are signed 32-bit pixels;
// anything outside a surface is clipped, never read or written.
//
// Device pixels. A bitmap may hold PixelRatio x PixelRatio device pixels per
// logical pixel, for screens whose device pixel ratio is above 1. Its size
// and every canvas coordinate stay logical:
// - lines, rectangles, fills and frames cover whole logical pixels, r x r
//   device pixels each; text is drawn at the device resolution;
// - Pixels reads (and SetPixels writes) the r x r pixels of one logical
//   pixel, reading the top-left one; FloodFill fills the device pixels
//   connected to that pixel;
// - Draw and CopyRect between bitmaps of equal ratio copy device pixels one
//   to one; between bitmaps of different ratios each logical pixel keeps its
//   place, scaled to the destination's device pixels by nearest pixel;
// - StretchBlt scales the device pixels of the source rectangle onto those
//   of the destination rectangle, so glyphs are rendered at the device size;
// - Draw and CopyRect onto a control cover the bitmap's logical size: on a
//   screen whose device pixel ratio equals the bitmap's, its device pixels
//   land one to one; on another screen Qt scales it, a bitmap of ratio 1 by
//   pixel repetition and one of a higher ratio smoothly.
#pragma once

#include <QStringView>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class QImage;
class QPainter;
class QColor;
class QFont;

namespace zent {

// ---------------------------------------------------------------- colours

// 0x00BBGGRR with the top bit clear; with the top bit set, a system colour
// whose index is the low byte. clNone and clDefault are no RGB colours.
using TColor = int32_t;

constexpr TColor SystemColor(int Index) {
    return static_cast<TColor>(0xFF000000u | uint32_t(Index));
}

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;
constexpr TColor clScrollBar = SystemColor(0), clBackground = SystemColor(1),
                 clActiveCaption = SystemColor(2), clInactiveCaption = SystemColor(3),
                 clMenu = SystemColor(4), clWindow = SystemColor(5), clWindowFrame = SystemColor(6),
                 clMenuText = SystemColor(7), clWindowText = SystemColor(8), clCaptionText = SystemColor(9),
                 clActiveBorder = SystemColor(10), clInactiveBorder = SystemColor(11),
                 clAppWorkSpace = SystemColor(12), clHighlight = SystemColor(13),
                 clHighlightText = SystemColor(14), clBtnFace = SystemColor(15),
                 clBtnShadow = SystemColor(16), clGrayText = SystemColor(17), clBtnText = SystemColor(18),
                 clInactiveCaptionText = SystemColor(19), clBtnHighlight = SystemColor(20),
                 cl3DDkShadow = SystemColor(21), cl3DLight = SystemColor(22), clInfoText = SystemColor(23),
                 clInfoBk = SystemColor(24), clHotLight = SystemColor(26),
                 clGradientActiveCaption = SystemColor(27), clGradientInactiveCaption = SystemColor(28),
                 clMenuHighlight = SystemColor(29), clMenuBar = SystemColor(30);

struct TColorIdent {
    std::string_view Name;
    TColor Value;
};
// The 52 colour identifiers in table order, which is also ColorToText's search order.
extern const std::array<TColorIdent, 52> ColorIdents;

// A system colour becomes the application palette's current RGB; every other
// value comes back unchanged.
TColor ColorToRGB(TColor Color);
// The first identifier with that value, or "$" and eight upper-case hex digits.
std::string ColorToText(TColor Color);

// The colour a canvas draws for Color, as Qt's QColor: system colours
// resolved, clNone and clDefault as their low 24 bits.
QColor ToQColor(TColor Color);
// The explicit colour (0x00BBGGRR) of a valid QColor, its alpha dropped.
// Callers ignore an invalid QColor.
TColor FromQColor(const QColor& Color);

// 0x00BBGGRR <-> QImage::Format_RGB32 (0xFFRRGGBB). The only place that swaps channels.
constexpr uint32_t RGBToPixel(TColor Rgb) {
    const auto c = uint32_t(Rgb);
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr TColor PixelToRGB(uint32_t Pixel) {
    return TColor(((Pixel & 0xFFu) << 16) | (Pixel & 0xFF00u) | ((Pixel >> 16) & 0xFFu));
}

// ---------------------------------------------------------------- drawing state

struct TPoint {
    int32_t X = 0, Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};
// Right and Bottom are exclusive.
struct TRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};
inline TRect Rect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
    return {Left, Top, Right, Bottom};
}
// A coordinate computed in 64 bits, limited to the 32-bit range.
inline int32_t Saturate(int64_t V) {
    return int32_t(V < INT32_MIN ? INT32_MIN : V > INT32_MAX ? INT32_MAX : V);
}

enum TPenStyle : uint8_t { psSolid, psClear };
enum TPenMode : uint8_t { pmCopy };
enum TBrushStyle : uint8_t { bsSolid, bsClear };
enum TFillStyle : uint8_t { fsSurface, fsBorder };
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TPen {
    TColor Color = clBlack;
    int32_t Width = 1;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
};

// Setting a colour makes a clear brush solid again; text background depends on it.
class TBrush {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) {
        FColor = Value;
        FStyle = bsSolid;
    }
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value) { FStyle = Value; }

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

struct TFont {
    std::string Name;     // empty: the application's default face
    int32_t Size = 0;     // points; 0: the application's default size; negative: pixel height
    uint8_t Style = 0;    // TFontStyle bits
    uint8_t Charset = 1;  // DEFAULT_CHARSET; kept for copying only
    TColor Color = clWindowText;
    friend bool operator==(const TFont&, const TFont&) = default;
};
QFont ToQFont(const TFont& Font);

// Raster operations of Draw and CopyRect.
constexpr uint32_t SRCCOPY = 0x00CC0020;
constexpr uint32_t SRCAND = 0x008800C6;
// Stretch mode for SetStretchBltMode: area-averaging.
constexpr int HALFTONE = 4;

class TBitmap;
class TCanvas;
using HDC = TCanvas*;

// The largest device pixel ratio a bitmap holds.
inline constexpr int32_t MaxPixelRatio = 4;
// The whole ratio to paint at on a screen of device pixel ratio Dpr: the next
// integer at or above it (a ratio within 1/64 above an integer counts as that
// integer), limited to 1..MaxPixelRatio. So 1.25 and 1.5 paint at 2 and Qt
// shrinks the picture smoothly: nothing is drawn below the screen's resolution.
int32_t PaintPixelRatio(double Dpr);
// The most bytes of device pixels a bitmap holds (see TBitmap::SetSize).
inline constexpr int64_t MaxBitmapBytes = int64_t(1) << 30;

// ---------------------------------------------------------------- canvas

// Pixel rules: LineTo leaves out its end point; Rectangle and FillRect cover
// columns Left..Right-1 and rows Top..Bottom-1. Pen, brush and font colours
// may be system colours and are resolved when drawing; clNone and clDefault
// draw as their low 24 bits. A bsClear brush fills nothing (FillRect,
// FloodFill, Rectangle's inside, text background). CopyMode SRCAND ANDs each
// channel; any other value copies as SRCCOPY.
class TCanvas {
public:
    TCanvas();  // unbound: drawing on it raises "Canvas does not allow drawing"
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    TFont Font;
    uint32_t CopyMode = SRCCOPY;

    TPoint PenPos() const { return FPenPos; }
    void MoveTo(int32_t X, int32_t Y);
    void LineTo(int32_t X, int32_t Y);  // end point excluded
    void Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
    void FillRect(const TRect& R);
    // TextOut paints the text cell (TextWidth x TextHeight at X, Y) in the
    // brush colour first unless the brush is bsClear, and moves the pen to the
    // cell's right end. TextRect touches nothing outside R; with a solid brush
    // it fills all of R first. The pen position stays. Texts are Unicode, or
    // Latin-1 byte strings (a string literal is one).
    void TextOut(int32_t X, int32_t Y, QStringView Text);
    void TextOut(int32_t X, int32_t Y, const std::string& Text);
    void TextRect(const TRect& R, int32_t X, int32_t Y, QStringView Text);
    void TextRect(const TRect& R, int32_t X, int32_t Y, const std::string& Text);
    int32_t TextWidth(QStringView Text) const;
    int32_t TextWidth(const std::string& Text) const;
    // The font's cell height, whatever the text.
    int32_t TextHeight(QStringView Text) const;
    int32_t TextHeight(const std::string& Text) const;
    void Draw(int32_t X, int32_t Y, const TBitmap& Bitmap);  // an empty bitmap draws nothing
    // Copies from a bitmap canvas (another surface gives nothing to copy).
    // Rectangles of unequal size copy their common top-left part, unscaled.
    void CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect);
    // Surface mode on a bitmap: the 4-connected region of exactly Color around
    // (X, Y). Border mode and painter canvases draw nothing.
    void FloodFill(int32_t X, int32_t Y, TColor Color, TFillStyle Style);
    // 0xFFFFFFFF outside the surface and wherever pixels cannot be read
    // (a control's screen, an unbound canvas).
    TColor Pixels(int32_t X, int32_t Y) const;
    void SetPixels(int32_t X, int32_t Y, TColor Color);
    HDC Handle() { return this; }

    int StretchMode() const { return FStretchMode; }

    bool IsBound() const { return FImage || FPainter; }
    // Device pixels per logical pixel: a bitmap's PixelRatio, or for a
    // control's canvas PaintPixelRatio of the scale at which the present
    // paint reaches device pixels (the widget's devicePixelRatioF() on
    // screen and in grab()); 1 when unbound.
    int32_t PixelRatio() const { return FRatio; }
    // Whether the present paint puts each logical pixel on exactly
    // PixelRatio x PixelRatio whole device pixels: always on a bitmap; on a
    // control, unless the scale is fractional or the painter transforms
    // otherwise. A copy of part of a picture then shows just as that part
    // of the whole picture does.
    bool ExactRatio() const;
    // The part of the surface the present paint must cover, in logical
    // coordinates: for a control the bounding box of what Qt repaints, for a
    // bitmap all of it. Empty when unbound.
    TRect PaintArea() const;

private:
    friend class TBitmap;
    friend struct TPlatformAccess;
    // A control binds its painter for the duration of one paint.
    void BindPainter(QPainter* Painter, int32_t Width, int32_t Height);
    void Unbind();
    friend int SetStretchBltMode(HDC, int);
    friend bool StretchBlt(HDC, int32_t, int32_t, int32_t, int32_t, HDC, int32_t, int32_t, int32_t, int32_t,
                           uint32_t);
    void BindImage(QImage* Image, int32_t Ratio) {
        FImage = Image;
        FPainter = nullptr;
        FRatio = Ratio;
    }
    void RequireSurface() const;
    int32_t SurfaceWidth() const;
    int32_t SurfaceHeight() const;
    // Combines W x H logical pixels of Source (a bitmap of ratio SourceRatio)
    // from (SX, SY) onto (DX, DY) by CopyMode, clipped to both, on either
    // kind of surface.
    void CopyFrom(int64_t DX, int64_t DY, const QImage& Source, int32_t SourceRatio, int64_t SX, int64_t SY,
                  int64_t W, int64_t H);
    // Fills logical [L, R) x [T, B) clipped to the surface, on either kind of surface.
    void FillArea(int64_t L, int64_t T, int64_t R, int64_t B, uint32_t Pixel);
    // Text with its top-left cell corner at (X, Y), glyphs limited to the clip
    // box; the clip box is filled first when the brush is solid.
    void PaintText(int64_t ClipL, int64_t ClipT, int64_t ClipR, int64_t ClipB, int32_t X, int32_t Y,
                   QStringView Text);
    // The font, its metrics and the texts last measured with them, for the
    // present Font and surface; rebuilt only when one of those changed.
    struct TTextCache;
    TTextCache& TextCache() const;

    QImage* FImage = nullptr;      // a bitmap's pixels
    QPainter* FPainter = nullptr;  // a control's screen, during Paint
    int32_t FPainterWidth = 0, FPainterHeight = 0;
    int32_t FRatio = 1;
    TPoint FPenPos;
    int FStretchMode = 1;  // BLACKONWHITE
    mutable std::unique_ptr<TTextCache> FTextCache;
};

// Selects the stretching mode of the destination; returns the previous mode.
int SetStretchBltMode(HDC Dest, int Mode);
// Scaled copy of (SX, SY, SW, SH) of Source to (X, Y, W, H) of Dest, both
// in logical coordinates, between the device pixels they cover. In
// HALFTONE mode each destination pixel is the area-weighted average of the
// source pixels it covers; otherwise nearest pixel. Only SRCCOPY between
// bitmap canvases with positive sizes is supported; anything else returns
// false and draws nothing. Parts outside either surface are skipped.
bool StretchBlt(HDC Dest, int32_t X, int32_t Y, int32_t W, int32_t H, HDC Source, int32_t SX, int32_t SY,
                int32_t SW, int32_t SH, uint32_t Rop);

// ---------------------------------------------------------------- bitmap

// A memory bitmap, always stored as 32 bits per pixel so that every colour
// written reads back exactly: there is no other pixel format to choose.
// Created empty (0 x 0) at pixel ratio 1.
class TBitmap {
public:
    TBitmap();
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    // The logical size; the image holds Width x PixelRatio by Height x
    // PixelRatio device pixels.
    int32_t Width() const;
    int32_t Height() const;
    // Resizing keeps existing pixels top-left anchored; new ones take the
    // canvas brush colour. Negative sizes count as 0. A size that cannot be
    // allocated, or needs more than MaxBitmapBytes of device pixels, raises
    // EOutOfResources and keeps the old image.
    void SetWidth(int32_t Value);
    void SetHeight(int32_t Value);
    void SetSize(int32_t W, int32_t H);
    bool Empty() const { return Width() == 0 || Height() == 0; }
    // Device pixels per logical pixel, 1 to MaxPixelRatio (other values are
    // limited to that range). A new ratio keeps the logical size and fills
    // the bitmap anew with the canvas brush colour; it raises
    // EOutOfResources, keeping the old image, as SetSize does.
    int32_t PixelRatio() const { return FRatio; }
    void SetPixelRatio(int32_t Value);

    // Loads the bitmap resource Name (":/" + Name in the Qt resource system).
    // Instance is accepted for source compatibility and ignored. The
    // loaded bitmap has pixel ratio 1.
    // Raises EResNotFound "Resource %s not found" when it is missing.
    void LoadFromResource(std::intptr_t Instance, const std::string& Name);

    TCanvas& Canvas() { return *FCanvas; }
    const TCanvas& Canvas() const { return *FCanvas; }

    // The device pixels as a QImage (Format_RGB32, device pixel ratio set;
    // null while the bitmap is empty), for a face that shows them through
    // other means than a canvas. Implicitly shared: nothing is copied until
    // the bitmap or the image is written to, and the image then keeps what
    // it had.
    QImage ToImage() const;

private:
    friend struct TPlatformAccess;
    // A new image of W x H logical pixels at Ratio, filled with the brush;
    // the old pixels are kept top-left anchored when Ratio is unchanged.
    void Reallocate(int32_t W, int32_t H, int32_t Ratio);

    std::unique_ptr<QImage> FImage;  // null while either side is 0
    std::unique_ptr<TCanvas> FCanvas;
    int32_t FWidth = 0, FHeight = 0;
    int32_t FRatio = 1;
};

}  // namespace zent
