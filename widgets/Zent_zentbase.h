// The shared look of the library's widgets: frame styles, colour schemes and
// the frame drawing routine.
#pragma once

#include <cstdint>

#include "Zent_buffered.h"
#include "Zent_enums.h"
#include "Zent_graphics.h"

namespace zent {

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
void DrawFrame(TCanvas& Canvas, TFrameStyle Style, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom,
               TColor Highlight, TColor Light, TColor Shadow, TColor DarkShadow, TColor SimpleColor);
inline void DrawFrame(TCanvas& Canvas, TFrameStyle Style, int32_t Left, int32_t Top, int32_t Right,
                      int32_t Bottom, const TFrameColors& C = StandardFrameColors) {
    DrawFrame(Canvas, Style, Left, Top, Right, Bottom, C.Highlight, C.Light, C.Shadow, C.DarkShadow,
              C.SimpleColor);
}

// What the library's windowless widgets share beyond their kept picture: a
// frame style and a colour scheme with its three stored frame colours.
// Setters ignore unchanged values and values outside the enumerations.
class TFramedControl : public TBufferedControl {
    Q_OBJECT
    Q_PROPERTY(zent::TColorScheme ColorScheme READ ColorScheme WRITE SetColorScheme NOTIFY ColorSchemeChanged)
    Q_PROPERTY(zent::TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle NOTIFY FrameStyleChanged)

public:
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    TColorScheme ColorScheme() const { return FColorScheme; }
    TColor SchemeDark() const { return FSchemeDark; }
    TColor SchemeShadow() const { return FSchemeShadow; }
    TColor SchemeHighlight() const { return FSchemeHighlight; }

public slots:
    void SetFrameStyle(zent::TFrameStyle Value);
    // Sets SchemeShadow and SchemeHighlight to the scheme's pair;
    // SchemeDark stays as it is.
    void SetColorScheme(zent::TColorScheme Value);

signals:
    void FrameStyleChanged(zent::TFrameStyle FrameStyle);
    void ColorSchemeChanged(zent::TColorScheme ColorScheme);

protected:
    // A new frame style or colour scheme reaches the screen as FrameRepaint says.
    TFramedControl(QWidget* Owner, TRepaint FrameRepaint);
    // Copies the frame style, the scheme and its colours, as Assign does:
    // plain field copies, no setter runs.
    void CopyFrameFields(const TFramedControl& Source);

private:
    TFrameStyle FFrameStyle = fsLowered;
    TColorScheme FColorScheme = csBWG;
    TColor FSchemeDark = clBlack, FSchemeShadow = clGray, FSchemeHighlight = clWhite;
    TRepaint FFrameRepaint;
};

}  // namespace zent
