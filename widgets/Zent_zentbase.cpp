#include "Zent_zentbase.h"

namespace zent {

namespace {
struct TBevel {
    TColor OuterTopLeft, OuterBottomRight, InnerTopLeft, InnerBottomRight;
};
}  // namespace

void DrawFrame(TCanvas& Canvas, TFrameStyle Style, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom,
               TColor Highlight, TColor Light, TColor Shadow, TColor DarkShadow, TColor SimpleColor) {
    TBevel C{};
    switch (Style) {
        case fsNone:
            return;
        case fsSimple:
            Canvas.Pen.Color = SimpleColor;
            Canvas.MoveTo(Left, Top);
            Canvas.LineTo(Left, Bottom);
            Canvas.LineTo(Right, Bottom);
            Canvas.LineTo(Right, Top);
            Canvas.LineTo(Left, Top);
            return;
        case fsLowered:
            C = {Shadow, Highlight, DarkShadow, Light};
            break;
        case fsRaised:
            C = {Highlight, DarkShadow, Light, Shadow};
            break;
        case fsEmbossed:
            C = {Highlight, Shadow, Shadow, Highlight};
            break;
        case fsEngraved:
            C = {Shadow, Highlight, Highlight, Shadow};
            break;
        default:
            return;  // an out-of-range style stored in the byte draws nothing
    }
    // Two rings; with LineTo leaving out its end point, each top-right corner
    // takes the top row's colour and each bottom-left corner the bottom row's.
    Canvas.Pen.Color = C.OuterTopLeft;
    Canvas.MoveTo(Left, Bottom);
    Canvas.LineTo(Left, Top);
    Canvas.LineTo(Right + 1, Top);
    Canvas.MoveTo(Right, Top + 1);
    Canvas.Pen.Color = C.OuterBottomRight;
    Canvas.LineTo(Right, Bottom);
    Canvas.LineTo(Left - 1, Bottom);
    Canvas.Pen.Color = C.InnerTopLeft;
    Canvas.MoveTo(Left + 1, Bottom - 1);
    Canvas.LineTo(Left + 1, Top + 1);
    Canvas.LineTo(Right, Top + 1);
    Canvas.MoveTo(Right - 1, Top + 2);
    Canvas.Pen.Color = C.InnerBottomRight;
    Canvas.LineTo(Right - 1, Bottom - 1);
    Canvas.LineTo(Left, Bottom - 1);
}

// ------------------------------------------------------------ framed control

TFramedControl::TFramedControl(QWidget* Owner, TRepaint FrameRepaint)
    : TBufferedControl(Owner), FFrameRepaint(FrameRepaint) {}

void TFramedControl::SetFrameStyle(TFrameStyle Value) {
    if (Value == FFrameStyle || !InRange(Value)) return;
    FFrameStyle = Value;
    Changed(TStale::Picture, FFrameRepaint);
    emit FrameStyleChanged(Value);
}

void TFramedControl::SetColorScheme(TColorScheme Value) {
    if (Value == FColorScheme || !InRange(Value)) return;
    FColorScheme = Value;
    const TSchemeColors Colors = SchemeColors(Value);
    FSchemeShadow = Colors.Shadow;
    FSchemeHighlight = Colors.Highlight;
    Changed(TStale::None, FFrameRepaint);  // the frames are drawn in the standard colours
    emit ColorSchemeChanged(Value);
}

void TFramedControl::CopyFrameFields(const TFramedControl& Source) {
    FFrameStyle = Source.FFrameStyle;
    FColorScheme = Source.FColorScheme;
    FSchemeDark = Source.FSchemeDark;
    FSchemeShadow = Source.FSchemeShadow;
    FSchemeHighlight = Source.FSchemeHighlight;
}

}  // namespace zent
