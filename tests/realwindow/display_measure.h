// Measures a seven-segment display on a picture: its height, its lit cells
// and its background. Shared by the real-window helper (on screenshots) and
// the window's tests (on grabbed widgets).
//
// The display must have a two-pixel frame and a margin of at least three
// pixels: the background is the colour just inside the frame's top-left
// corner, the height follows from the background column left of the cells,
// and the cells are the runs of columns that hold lit pixels. An empty cell
// is not counted; a decimal point overlaps the columns of its digit and
// counts with it (except after a minus sign, which does not reach it).
#pragma once

#include <QImage>
#include <QRect>
#include <cstdlib>

namespace zent::test {

struct TDisplayMeasure {
    int Height = 0;
    int Cells = 0;
    int FirstLit = -1;    // the first column with lit pixels, from the left edge; -1: none
    QRgb Background = 0;  // 0xAARRGGBB as the picture holds it
};

// Measures the display whose top-left corner is Corner and which is Width
// pixels wide; false when it does not lie on the picture.
inline bool MeasureDisplay(const QImage& Picture, QPoint Corner, int Width, TDisplayMeasure& Result) {
    constexpr int Frame = 2;
    // A channel this far from the background is lit; the smoothed glyph
    // edges stay below it.
    constexpr int LitDistance = 64;

    const int Left = Corner.x(), Top = Corner.y(), X = Left + Frame + 1;
    if (Left < 0 || Top < 0 || Left + Width > Picture.width() || Top + Frame + 1 >= Picture.height())
        return false;
    const QRgb Background = Picture.pixel(X, Top + Frame + 1);
    auto Lit = [&](QRgb P) {
        return std::abs(qRed(P) - qRed(Background)) >= LitDistance ||
               std::abs(qGreen(P) - qGreen(Background)) >= LitDistance ||
               std::abs(qBlue(P) - qBlue(Background)) >= LitDistance;
    };
    int Bottom = Top + Frame;  // the first row below the background column
    while (Bottom < Picture.height() && Picture.pixel(X, Bottom) == Background) ++Bottom;

    int Cells = 0, FirstLit = -1;
    bool LastLit = false;
    for (int Column = Left + Frame; Column < Left + Width - Frame; ++Column) {
        bool Any = false;
        for (int Row = Top + Frame; Row < Bottom && !Any; ++Row) Any = Lit(Picture.pixel(Column, Row));
        if (Any && !LastLit) ++Cells;
        if (Any && FirstLit < 0) FirstLit = Column - Left;
        LastLit = Any;
    }
    Result = {Bottom - Top + Frame, Cells, FirstLit, Background};
    return true;
}

}  // namespace zent::test
