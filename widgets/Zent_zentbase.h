// The shared look of the library's widgets: frame styles, colour schemes and
// the frame drawing routine.
#pragma once

#include <cstdint>

#include "Zent_graphics.h"

namespace zent {

enum TFrameStyle : uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
enum TColorScheme : uint8_t { csBWG, csSystem };

// The frame colours a scheme selects. SchemeDark is black in every scheme.
struct TSchemeColors {
    TColor Dark, Shadow, Highlight;
};
constexpr TSchemeColors SchemeColors(TColorScheme Scheme) {
    return Scheme == csSystem ? TSchemeColors{clBlack, clBtnShadow, clBtnHighlight}
                              : TSchemeColors{clBlack, clGray, clWhite};
}

// The colours every widget of the library passes to DrawFrame.
struct TFrameColors {
    TColor Highlight = clWhite, Light = clSilver, Shadow = clGray, DarkShadow = clBlack,
           SimpleColor = clBlack;
};
inline constexpr TFrameColors StandardFrameColors{};

// Draws a frame whose outermost pixels are the columns Left and Right and the
// rows Top and Bottom (all inclusive), with pen lines only: the inside is not
// touched. Leaves the pen colour and position at the last line drawn.
void DrawFrame(TCanvas& Canvas, TFrameStyle Style, int32_t Left, int32_t Top, int32_t Right,
               int32_t Bottom, TColor Highlight, TColor Light, TColor Shadow, TColor DarkShadow,
               TColor SimpleColor);
inline void DrawFrame(TCanvas& Canvas, TFrameStyle Style, int32_t Left, int32_t Top, int32_t Right,
                      int32_t Bottom, const TFrameColors& C = StandardFrameColors) {
    DrawFrame(Canvas, Style, Left, Top, Right, Bottom, C.Highlight, C.Light, C.Shadow, C.DarkShadow,
              C.SimpleColor);
}

}  // namespace zent
