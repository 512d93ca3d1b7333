// Device pixels: bitmaps of pixel ratio 2 and controls on a screen of device
// pixel ratio 2. This program runs with QT_SCALE_FACTOR=2 (set here unless
// the caller chose a factor).
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <cmath>
#include <functional>
#include <random>

#include "Zent_NumLab.h"
#include "Zent_controls.h"
#include "Zent_internal.h"
#include "Zent_resources.h"
#include "Zent_segglyphs.h"
#include "Zent_sevenseg.h"
#include "Zent_sysutils.h"
#include "Zent_zentbase.h"
#include "numlab_textplaces.h"
#include "test_support.h"

using namespace zent;

namespace {

// Each pixel of Image as a Factor x Factor block.
QImage Blocks(const QImage& Image, int Factor) {
    QImage Out(Image.width() * Factor, Image.height() * Factor, QImage::Format_RGB32);
    for (int y = 0; y < Out.height(); ++y)
        for (int x = 0; x < Out.width(); ++x) Out.setPixel(x, y, Image.pixel(x / Factor, y / Factor));
    return Out;
}

// The device pixels of a bitmap, without the ratio tag, for comparing.
QImage Device(const TBitmap& Bitmap) {
    QImage Image = test::ImageOf(Bitmap).copy();
    Image.setDevicePixelRatio(1);
    return Image;
}

std::unique_ptr<TBitmap> Make(int W, int H, int Ratio, TColor Fill = clWhite) {
    auto B = std::make_unique<TBitmap>();
    B->SetPixelRatio(Ratio);
    B->Canvas().Brush.SetColor(Fill);
    B->SetSize(W, H);
    return B;
}

// Lines, rectangles, fills, a frame, a pixel and a flood fill, in logical coordinates.
void DrawShapes(TCanvas& C) {
    C.Pen.Color = clMaroon;
    C.Brush.SetColor(clTeal);
    C.Rectangle(2, 2, 12, 9);
    C.MoveTo(0, 19);
    C.LineTo(29, 11);
    C.MoveTo(20, 0);
    C.LineTo(26, 18);
    DrawFrame(C, fsLowered, 14, 1, 19, 8);
    C.SetPixels(8, 15, clRed);
    C.Brush.SetColor(clYellow);
    C.FloodFill(5, 5, clTeal, fsSurface);
    C.Brush.SetColor(clNavy);
    C.FillRect(Rect(27, 0, 40, 3));  // clipped at the right edge
}

TEST(PixelRatio, PaintRatioIsTheNextWholeRatio) {
    const struct {
        double Dpr;
        int Ratio;
    } Cases[] = {{0, 1},   {0.5, 1}, {1, 1},      {1.001, 1}, {1.25, 2},         {1.5, 2},
                 {2, 2},   {2.5, 3}, {3, 3},      {4, 4},     {6, MaxPixelRatio}, {1e300, MaxPixelRatio},
                 {NAN, 1}, {-2, 1},  {INFINITY, MaxPixelRatio}};
    for (const auto& C : Cases) EXPECT_EQ(PaintPixelRatio(C.Dpr), C.Ratio) << C.Dpr;
}

// Every logical pixel of a ratio-2 bitmap is a 2 x 2 block holding what the
// same drawing gives at ratio 1.
TEST(PixelRatio, ShapesCoverWholeLogicalPixels) {
    auto One = Make(30, 20, 1), Two = Make(30, 20, 2);
    DrawShapes(One->Canvas());
    DrawShapes(Two->Canvas());
    EXPECT_EQ(Two->Width(), 30);
    EXPECT_EQ(test::ImageOf(*Two).width(), 60);
    test::SavePicture(Device(*Two), "hidpi_shapes");
    EXPECT_EQ(Device(*Two), Blocks(Device(*One), 2));
    for (int y = -1; y <= 20; ++y)
        for (int x = -1; x <= 30; ++x)
            ASSERT_EQ(Two->Canvas().Pixels(x, y), One->Canvas().Pixels(x, y)) << x << "," << y;
}

TEST(PixelRatio, BitmapSizeAndRatioChanges) {
    TBitmap B;
    B.Canvas().Brush.SetColor(clLime);
    B.SetSize(5, 3);
    B.Canvas().SetPixels(0, 0, clRed);
    B.SetPixelRatio(2);  // a new image of the same logical size, in the brush colour
    EXPECT_EQ(B.PixelRatio(), 2);
    EXPECT_EQ(test::ImageOf(B).size(), QSize(10, 6));
    EXPECT_EQ(B.Canvas().Pixels(0, 0), clLime);
    B.Canvas().SetPixels(4, 2, clRed);
    B.SetSize(6, 4);  // same ratio: pixels stay top-left
    EXPECT_EQ(B.Canvas().Pixels(4, 2), clRed);
    EXPECT_EQ(B.Canvas().Pixels(5, 3), clLime);
    EXPECT_EQ(Device(B).pixel(9, 5), Device(B).pixel(8, 4));

    for (const auto& [Asked, Kept] : {std::pair{0, 1}, {-3, 1}, {9, MaxPixelRatio}, {3, 3}}) {
        B.SetPixelRatio(Asked);
        EXPECT_EQ(B.PixelRatio(), Kept) << Asked;
        EXPECT_EQ(test::ImageOf(B).width(), 6 * Kept) << Asked;
    }
    InitResources();
    B.LoadFromResource(0, "SEGDOT");
    EXPECT_EQ(B.PixelRatio(), 1);
    EXPECT_EQ(test::ImageOf(B).width(), B.Width());

    // The limit is on device pixels: a ratio that would pass it is refused
    // and the bitmap stays as it was.
    TBitmap Big;
    Big.SetSize(4100, 4100);  // 67 MB; 1.08 GB at ratio 4
    Big.Canvas().SetPixels(7, 7, clRed);
    EXPECT_THROW(Big.SetPixelRatio(4), EOutOfResources);
    EXPECT_EQ(Big.PixelRatio(), 1);
    EXPECT_EQ(Big.Canvas().Pixels(7, 7), clRed);
    TBitmap Two;
    Two.SetPixelRatio(2);
    EXPECT_THROW(Two.SetSize(17000, 17000), EOutOfResources);
    EXPECT_TRUE(Two.Empty());
}

TEST(PixelRatio, TextKeepsItsLogicalCellAndIsDrawnAtTheDeviceResolution) {
    auto One = Make(120, 30, 1), Two = Make(120, 30, 2);
    for (TBitmap* B : {One.get(), Two.get()}) {
        B->Canvas().Font.Color = clBlack;
        B->Canvas().Font.Size = -14;
        B->Canvas().Brush.SetStyle(bsClear);
        B->Canvas().TextOut(3, 4, "Zent 12:45");
    }
    EXPECT_EQ(Two->Canvas().TextWidth("Zent 12:45"), One->Canvas().TextWidth("Zent 12:45"));
    EXPECT_EQ(Two->Canvas().TextHeight("Zent"), One->Canvas().TextHeight("Zent"));
    EXPECT_EQ(Two->Canvas().PenPos(), One->Canvas().PenPos());
    test::SavePicture(Device(*Two), "hidpi_text");
    // The ink lies where the ratio-1 ink lies, twice as large, and is not
    // the ratio-1 ink repeated.
    const auto Ink = [](const QImage& I) {
        QRect R;
        for (int y = 0; y < I.height(); ++y)
            for (int x = 0; x < I.width(); ++x)
                if (PixelToRGB(I.pixel(x, y)) != clWhite) R |= QRect(x, y, 1, 1);
        return R;
    };
    const QRect InkOne = Ink(Device(*One)), InkTwo = Ink(Device(*Two));
    ASSERT_FALSE(InkOne.isEmpty());
    EXPECT_LE(std::abs(InkTwo.left() - 2 * InkOne.left()), 2);
    EXPECT_LE(std::abs(InkTwo.right() - 2 * InkOne.right() - 1), 2);
    EXPECT_LE(std::abs(InkTwo.top() - 2 * InkOne.top()), 2);
    EXPECT_LE(std::abs(InkTwo.bottom() - 2 * InkOne.bottom() - 1), 2);
    EXPECT_NE(Device(*Two), Blocks(Device(*One), 2));
}

// A source whose device pixels differ inside a logical pixel: a halftone
// shrink of a striped picture.
std::unique_ptr<TBitmap> Shaded(int W, int H, int Ratio) {
    auto Stripes = Make(97, 61, 1);
    for (int x = -61; x < 97; x += 3) {
        Stripes->Canvas().Pen.Color = x % 2 ? clBlue : clRed;
        Stripes->Canvas().MoveTo(x, 0);
        Stripes->Canvas().LineTo(x + 61, 61);
    }
    auto B = Make(W, H, Ratio);
    SetStretchBltMode(B->Canvas().Handle(), HALFTONE);
    StretchBlt(B->Canvas().Handle(), 0, 0, W, H, Stripes->Canvas().Handle(), 0, 0, 97, 61, SRCCOPY);
    return B;
}

TEST(PixelRatio, CopiesAndStretchesBetweenRatios) {
    // Equal ratios: device pixels one to one.
    auto Source = Shaded(12, 10, 2);
    auto Dest = Make(20, 16, 2, clSilver);
    Dest->Canvas().CopyRect(Rect(5, 4, 17, 14), Source->Canvas(), Rect(0, 0, 12, 10));
    EXPECT_EQ(Device(*Dest).copy(10, 8, 24, 20), Device(*Source));
    EXPECT_EQ(Dest->Canvas().Pixels(4, 4), clSilver);
    Dest->Canvas().Draw(-6, -5, *Source);
    EXPECT_EQ(Device(*Dest).copy(0, 0, 12, 10), Device(*Source).copy(12, 10, 12, 10));

    // The halftone renders straight at the device size: a ratio-2 cell is
    // the ratio-1 rendering of a cell twice as large.
    auto Twice = Shaded(24, 20, 1);
    EXPECT_EQ(Device(*Source), Device(*Twice));

    // Different ratios: each logical pixel keeps its place, also under SRCAND.
    auto Flat = Make(6, 4, 1, clWhite);
    DrawShapes(Flat->Canvas());
    auto Up = Make(8, 6, 2, clAqua);
    Up->Canvas().CopyMode = SRCAND;
    Up->Canvas().CopyRect(Rect(1, 1, 7, 5), Flat->Canvas(), Rect(0, 0, 6, 4));
    QImage Want = Blocks(Device(*Flat), 2);
    for (int y = 0; y < Want.height(); ++y)
        for (int x = 0; x < Want.width(); ++x) Want.setPixel(x, y, Want.pixel(x, y) & RGBToPixel(clAqua));
    EXPECT_EQ(Device(*Up).copy(2, 2, 12, 8), Want);
    EXPECT_EQ(Up->Canvas().Pixels(0, 0), clAqua);
    auto Blocky = Make(30, 20, 2);
    DrawShapes(Blocky->Canvas());
    auto Down = Make(30, 20, 1, clAqua);
    auto Reference = Make(30, 20, 1);
    DrawShapes(Reference->Canvas());
    Down->Canvas().Draw(0, 0, *Blocky);
    EXPECT_EQ(Device(*Down), Device(*Reference));
}

// A canvas bound to a painter on an image of device pixel ratio Dpr.
struct TScreen {
    QImage Image;
    QPainter Painter;
    TCanvas Canvas;
    TScreen(int W, int H, double Dpr) : Image(int(W * Dpr), int(H * Dpr), QImage::Format_ARGB32_Premultiplied) {
        Image.setDevicePixelRatio(Dpr);
        Image.fill(Qt::green);
        Painter.begin(&Image);
        TPlatformAccess::BindPainter(Canvas, &Painter, W, H);
    }
    QImage Done() {
        TPlatformAccess::Unbind(Canvas);
        Painter.end();
        QImage Out = Image.convertToFormat(QImage::Format_RGB32);
        Out.setDevicePixelRatio(1);
        return Out;
    }
};

TEST(PixelRatio, DrawOntoAScreenCoversTheLogicalSize) {
    auto Sharp = Shaded(12, 10, 2);
    auto Plain = Make(6, 4, 1);
    DrawShapes(Plain->Canvas());
    {
        TScreen S(20, 16, 2);
        EXPECT_EQ(S.Canvas.PixelRatio(), 2);
        EXPECT_EQ(S.Canvas.PaintArea(), Rect(0, 0, 20, 16));
        S.Canvas.Draw(3, 4, *Sharp);
        S.Canvas.Draw(-3, 12, *Plain);
        const QImage Shot = S.Done();
        EXPECT_EQ(Shot.copy(6, 8, 24, 20), Device(*Sharp)) << "one to one";
        EXPECT_EQ(Shot.copy(0, 24, 6, 8), Blocks(Device(*Plain), 2).copy(6, 0, 6, 8)) << "pixel repetition";
        EXPECT_EQ(PixelToRGB(Shot.pixel(5, 7)), clLime);
    }
    {
        // 1.5 paints at 2 and Qt shrinks the picture to the logical size.
        auto Solid = Make(10, 8, 2, clRed);
        TScreen S(20, 16, 1.5);
        EXPECT_EQ(S.Canvas.PixelRatio(), 2);
        S.Canvas.Draw(2, 2, *Solid);
        const QImage Shot = S.Done();
        test::SavePicture(Shot, "hidpi_draw_1_5");
        EXPECT_EQ(PixelToRGB(Shot.pixel(2, 2)), clLime);
        EXPECT_EQ(PixelToRGB(Shot.pixel(3, 3)), clRed);
        EXPECT_EQ(PixelToRGB(Shot.pixel(17, 14)), clRed);
        EXPECT_EQ(PixelToRGB(Shot.pixel(18, 15)), clLime);
    }
}

// ------------------------------------------------------------ controls

class TRecordingControl : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    std::vector<std::pair<TRect, int>> Paints;  // paint area and ratio of each paint
    void Paint() override {
        Paints.emplace_back(Canvas().PaintArea(), Canvas().PixelRatio());
        Canvas().Brush.SetColor(clOlive);
        Canvas().FillRect(Rect(0, 0, Width(), Height()));
    }
};

TEST(PixelRatio, ControlsKnowWhatTheyRepaintAndAtWhichRatio) {
    QWidget Window;
    Window.resize(200, 120);
    auto* Control = new TRecordingControl(&Window);
    Control->SetBounds(10, 20, 150, 80);
    Control->SetOpaque(true);
    Window.show();
    QApplication::processEvents();
    ASSERT_FALSE(Control->Paints.empty());
    EXPECT_EQ(Control->Paints.back(), std::pair(Rect(0, 0, 150, 80), 2));

    const struct {
        const char* What;
        std::function<void()> Paint;
        TRect Area;
        int Ratio;
    } Cases[] = {
        {"repaint of a part", [&] { Control->RepaintNow(Rect(30, 10, 80, 50)); }, Rect(30, 10, 80, 50), 2},
        {"pending update joins the repaint",
         [&] {
             Control->update(140, 70, 5, 5);
             Control->RepaintNow(Rect(30, 10, 80, 50));
         },
         Rect(30, 10, 145, 75), 2},
        {"grab", [&] { Control->grab(); }, Rect(0, 0, 150, 80), 2},
        {"grab of a part", [&] { Control->grab(QRect(5, 6, 20, 10)); }, Rect(5, 6, 25, 16), 2},
        {"render into an image of ratio 1",
         [&] {
             QImage Image(150, 80, QImage::Format_RGB32);
             Control->render(&Image);
         },
         Rect(0, 0, 150, 80), 1},
    };
    for (const auto& C : Cases) {
        Control->Paints.clear();
        C.Paint();
        ASSERT_EQ(Control->Paints.size(), 1u) << C.What;
        EXPECT_EQ(Control->Paints[0].first, C.Area) << C.What;
        EXPECT_EQ(Control->Paints[0].second, C.Ratio) << C.What;
    }
    const QImage Shot = Control->grab().toImage();
    EXPECT_EQ(Shot.size(), QSize(300, 160));
    EXPECT_EQ(PixelToRGB(Shot.pixel(299, 159)), clOlive);
}

// ------------------------------------------------------------ the display

// A grab as plain device pixels.
QImage Pixels(const QPixmap& Grab) {
    QImage Image = Grab.toImage().convertToFormat(QImage::Format_RGB32);
    Image.setDevicePixelRatio(1);
    return Image;
}

// The largest difference of one channel between two images of equal size,
// leaving out a ring of Ring pixels at the edges.
int Difference(const QImage& A, const QImage& B, int Ring) {
    int Most = 0;
    for (int y = Ring; y < A.height() - Ring; ++y)
        for (int x = Ring; x < A.width() - Ring; ++x) {
            const QRgb P = A.pixel(x, y), Q = B.pixel(x, y);
            Most = std::max({Most, std::abs(qRed(P) - qRed(Q)), std::abs(qGreen(P) - qGreen(Q)),
                             std::abs(qBlue(P) - qBlue(Q))});
        }
    return Most;
}

void Configure(TSevenSeg& Seg, int Cells, int Margin, int Gap) {
    Seg.SetNumDigits(Cells);
    Seg.SetMargin(Margin);
    Seg.SetInterDigDist(Gap);
    Seg.SetColorBackGnd(0x202020);
}

// At ratio 2 the glyphs are rendered at the device size: a W x H display
// grabs as the 2W x 2H display with doubled margin and gap rendered at ratio
// 1, the frame aside (it keeps its logical width). Both scale the master to
// the same device cell, so the pixels are equal, not just within the
// halftone's rounding. 368 x 76 with 8 cells, margin 8 and gap 2 gives cells
// of 42 x 60; doubled, of 84 x 120: the cell sizes divide by 6, so the
// decimal points' corners double exactly too.
TEST(SevenSegHiDpi, GlyphsAreRenderedAtTheDeviceSize) {
    QWidget Window;
    Window.resize(760, 260);
    auto* Seg = new TSevenSeg(&Window);
    Seg->SetBounds(4, 4, 368, 76);
    auto* Twice = new TSevenSeg(&Window);  // painted only into an image of ratio 1
    Twice->SetBounds(4, 90, 736, 152);
    Window.show();
    QApplication::processEvents();
    Configure(*Seg, 8, 8, 2);
    Configure(*Twice, 8, 16, 4);
    for (const char* Caption : {"-12:45\xB0" "C", "3.14159.-", "8.8.8.8.8.8.8.8.", "AbCdEF+:"}) {
        Twice->SetCaption(Caption);
        QImage Reference(736, 152, QImage::Format_RGB32);
        Twice->render(&Reference);
        EXPECT_EQ(Twice->GlyphCacheStats().Ratio, 1);
        Seg->SetCaption(Caption);
        const QImage Shot = Pixels(Seg->grab());
        EXPECT_EQ(Seg->GlyphCacheStats().Ratio, 2);
        ASSERT_EQ(Shot.size(), QSize(736, 152));
        EXPECT_EQ(Difference(Shot, Reference, 4), 0) << Caption << " " << test::SavePicture(Shot, "hidpi_sevenseg")
                                                     << " " << test::SavePicture(Reference, "hidpi_sevenseg_ref");
        // The screen holds what the caption change drew straight onto it.
        const QImage Screen =
            Pixels(Window.screen()->grabWindow(Window.winId(), Seg->Left(), Seg->Top(), Seg->Width(), Seg->Height()));
        EXPECT_EQ(Screen, Shot) << Caption;
    }
    // The frame: two device pixels per logical pixel.
    Seg->SetCaption("-12:45\xB0" "C");
    const QImage Shot = Pixels(Seg->grab());
    for (const auto& [X, Y, C] : {std::tuple{0, 0, clGray}, {1, 1, clGray}, {2, 2, clBlack}, {3, 3, clBlack},
                                  {4, 4, TColor(0x202020)}, {735, 151, clWhite}, {732, 148, clSilver}})
        EXPECT_EQ(PixelToRGB(Shot.pixel(X, Y)), C) << X << "," << Y;
    test::SavePicture(Shot, "hidpi_sevenseg");

    // Painting at another ratio renews the glyphs for it, and back.
    const int Rebuilds = Seg->GlyphCacheStats().Rebuilds;
    QImage Logical(368, 76, QImage::Format_RGB32);
    Seg->render(&Logical);
    EXPECT_EQ(Seg->GlyphCacheStats().Ratio, 1);
    EXPECT_EQ(Pixels(Seg->grab()), Shot);
    EXPECT_EQ(Seg->GlyphCacheStats().Rebuilds, Rebuilds + 2);

    // For the README: the display at ratio 2 next to the same display at
    // ratio 1 scaled up.
    QImage Readme(736, 2 * 152 + 8, QImage::Format_RGB32);
    Readme.fill(Qt::white);
    {
        QPainter P(&Readme);
        P.drawImage(0, 0, Shot);
        P.drawImage(QRect(0, 160, 736, 152), Logical);
    }
    test::SavePicture(Readme, "sevenseg_hidpi_readme");
}

// A full-screen display with one cell keeps its glyphs in device pixels; one
// whose cell would pass the cell limit only in device pixels is drawn in
// logical pixels rather than not at all.
TEST(SevenSegHiDpi, BigDisplaysFallBackToLogicalPixels) {
    const struct {
        int W, H, Ratio;
    } Cases[] = {{1920, 1080, 2}, {8200, 2100, 1}};
    for (const auto& C : Cases) {
        QWidget Window;
        Window.resize(400, 300);
        auto* Seg = new TSevenSeg(&Window);
        Seg->SetBounds(0, 0, C.W, C.H);
        Window.show();
        QApplication::processEvents();
        Seg->SetNumDigits(1);
        Seg->SetCaption("8.");
        // The middle of the upper left segment and the point, grabbed alone.
        const TCellGeometry G = Seg->Geometry();
        const auto Probe = [&](int mx, int my) {
            const int x = Seg->Margin() + int(int64_t(mx) * G.GlyphWidth / MasterWidth),
                      y = Seg->Margin() + int(int64_t(my) * G.GlyphHeight / MasterHeight);
            return PixelToRGB(Pixels(Seg->grab(QRect(x, y, 1, 1))).pixel(0, 0));
        };
        EXPECT_EQ(Probe(71, 118), clRed) << C.W;
        EXPECT_EQ(Probe(288, 413), clRed) << C.W;
        EXPECT_EQ(Seg->GlyphCacheStats().Ratio, C.Ratio) << C.W;
        EXPECT_LE(Seg->GlyphCacheStats().Bytes, DefaultGlyphCacheLimit) << C.W;
        ::testing::Test::RecordProperty("cache_bytes_" + std::to_string(C.W),
                                        std::to_string(Seg->GlyphCacheStats().Bytes));
    }
}


// ------------------------------------------------------------ the label

// At ratio 2 the label's picture is in device pixels: backgrounds, frame and
// box are the ratio-1 picture with each pixel doubled, and the texts are
// drawn at the device resolution, not doubled.
TEST(NumLabHiDpi, TextIsDrawnAtTheDeviceResolution) {
    QWidget Window;
    Window.resize(200, 60);
    auto* Lab = new TNumLab(&Window);
    Lab->SetBounds(4, 4, 160, 28);
    Lab->SetLeftSpace(30);
    Lab->SetLabelWidth(90);
    Lab->SetValue(-12.5);
    Window.show();
    QApplication::processEvents();
    const auto Both = [&] {
        QImage Logical(160, 28, QImage::Format_RGB32);
        Lab->render(&Logical);
        return std::pair{Pixels(Lab->grab()), Logical};
    };

    Lab->SetEmpty(true);  // frame and backgrounds only
    const auto [Plain, PlainOne] = Both();
    ASSERT_EQ(Plain.size(), QSize(320, 56));
    EXPECT_EQ(Plain, Blocks(PlainOne, 2));

    Lab->SetEmpty(false);
    Lab->SetLeftText("T");
    Lab->SetRightText("\xB0" "C");
    const auto [Shot, One] = Both();
    test::SavePicture(Shot, "hidpi_numlab");
    EXPECT_NE(Shot, Blocks(One, 2));
    // Outside the rows the text takes, still the doubled ratio-1 picture.
    EXPECT_EQ(Shot.copy(0, 0, 320, 6), Blocks(One, 2).copy(0, 0, 320, 6));
    EXPECT_EQ(Shot.copy(0, 50, 320, 6), Blocks(One, 2).copy(0, 50, 320, 6));
    // After a paint at ratio 1 the picture is renewed for ratio 2.
    EXPECT_EQ(Pixels(Lab->grab()), Shot);
}

// Every text of the label lands at twice its place at ratio 1, in glyphs
// drawn at the device resolution: the same device pixels as the text drawn
// alone on a bitmap of ratio 2.
TEST(NumLabHiDpi, EachAlignmentPutsItsTextAtTwiceItsPlace) {
    QWidget Window;
    Window.resize(220, 40);
    auto* Lab = new TNumLab(&Window);
    Lab->SetBounds(4, 4, test::PlacesWidth, test::PlacesHeight);
    Window.show();
    QApplication::processEvents();
    test::ExpectTextPlaces(*Lab, 2, [Lab] { return Pixels(Lab->grab()); });
}

// A new value is drawn straight onto the screen at the device resolution,
// inside the value box alone: it shows what the whole picture gives.
TEST(NumLabHiDpi, ValueChangesOnTheScreenMatchThePicture) {
    QWidget Window;
    auto* Lab = new TNumLab(&Window);
    Lab->SetBounds(4, 4, 160, 28);
    Lab->SetRepaintPolicy(TRepaintPolicy::Coalesced);  // the change waits for a paint of the box
    Window.show();
    QApplication::processEvents();
    const QRect Inside(38, 2, 76, 23);
    std::mt19937 Rnd(5);
    for (int i = 0; i < 20; ++i) {
        Lab->SetAlignment(TAlignment(i % 3));
        Lab->SetValue(double(int(Rnd() % 200000) - 100000) / 64);
        const QImage Shown = Pixels(Lab->grab(Inside)), Whole = Pixels(Lab->grab());
        ASSERT_EQ(Shown.size(), Inside.size() * 2);
        EXPECT_EQ(Shown, Whole.copy(QRect(Inside.topLeft() * 2, Inside.size() * 2))) << Lab->DrawnText();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) qputenv("QT_SCALE_FACTOR", "2");
    QApplication App(argc, argv);
    App.setApplicationName("zent_hidpi_tests");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
