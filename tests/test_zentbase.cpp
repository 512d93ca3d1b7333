#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>
#include <string>
#include <utility>
#include <vector>

#include "Zent_sevenseg.h"
#include "Zent_zentbase.h"
#include "test_support.h"

using namespace zent;

namespace {
constexpr TColor Paper = 0x00123456;  // a colour no frame uses

struct TSurface {
    TBitmap Bmp;
    TSurface(int W, int H) {
        Bmp.Canvas().Brush.SetColor(Paper);
        Bmp.SetSize(W, H);
    }
    TColor At(int X, int Y) const { return Bmp.Canvas().Pixels(X, Y); }
};

// The pixel sets of one bevelled frame, written out independently of the
// line drawing: outer ring c1 top/left, c2 bottom/right; inner ring c3, c4.
TColor ExpectedBevel(int X, int Y, int W, int H, TColor C1, TColor C2, TColor C3, TColor C4) {
    const int R = W - 1, B = H - 1;
    if (Y == 0 && X <= R) return C1;
    if (X == 0 && Y <= B - 1) return C1;
    if (Y == B) return C2;
    if (X == R) return C2;
    if (Y == 1 && X >= 1 && X <= R - 1) return C3;
    if (X == 1 && Y >= 2 && Y <= B - 2) return C3;
    if (Y == B - 1 && X >= 1 && X <= R - 1) return C4;
    if (X == R - 1 && Y >= 2 && Y <= B - 2) return C4;
    return Paper;
}

// The surface as rows of letters: W white, S silver, G grey, K black, . paper.
std::vector<std::string> Picture(const TSurface& S) {
    constexpr std::pair<TColor, char> Letters[] = {
        {clWhite, 'W'}, {clSilver, 'S'}, {clGray, 'G'}, {clBlack, 'K'}, {Paper, '.'}};
    std::vector<std::string> Rows(S.Bmp.Height(), std::string(S.Bmp.Width(), '?'));
    for (int Y = 0; Y < S.Bmp.Height(); ++Y)
        for (int X = 0; X < S.Bmp.Width(); ++X)
            for (const auto& [Color, Letter] : Letters)
                if (S.At(X, Y) == Color) Rows[Y][X] = Letter;
    return Rows;
}

struct TBevelCase {
    TFrameStyle Style;
    TColor C1, C2, C3, C4;
};
}  // namespace

TEST(DrawFrame, BevelledStylesColourExactlyTheirTwoRings) {
    const TBevelCase Cases[] = {
        {fsLowered, clGray, clWhite, clBlack, clSilver},
        {fsRaised, clWhite, clBlack, clSilver, clGray},
        {fsEmbossed, clWhite, clGray, clGray, clWhite},
        {fsEngraved, clGray, clWhite, clWhite, clGray},
    };
    for (const auto& C : Cases) {
        for (const auto& [W, H] : {std::pair{10, 10}, std::pair{17, 6}, std::pair{5, 23}}) {
            TSurface S(W, H);
            DrawFrame(S.Bmp.Canvas(), C.Style, 0, 0, W - 1, H - 1);
            for (int Y = 0; Y < H; ++Y)
                for (int X = 0; X < W; ++X)
                    ASSERT_EQ(S.At(X, Y), ExpectedBevel(X, Y, W, H, C.C1, C.C2, C.C3, C.C4))
                        << "style " << int(C.Style) << " " << W << "x" << H << " at " << X << "," << Y;
        }
    }
}

TEST(DrawFrame, LoweredTenByTenCorners) {
    TSurface S(10, 10);
    DrawFrame(S.Bmp.Canvas(), fsLowered, 0, 0, 9, 9);
    EXPECT_EQ(S.At(0, 0), clGray);
    EXPECT_EQ(S.At(9, 0), clGray);
    EXPECT_EQ(S.At(0, 9), clWhite);
    EXPECT_EQ(S.At(9, 9), clWhite);
    EXPECT_EQ(S.At(1, 1), clBlack);
    EXPECT_EQ(S.At(8, 1), clBlack);
    EXPECT_EQ(S.At(1, 8), clSilver);
    EXPECT_EQ(S.At(8, 8), clSilver);
    for (int Y = 2; Y <= 7; ++Y)
        for (int X = 2; X <= 7; ++X) ASSERT_EQ(S.At(X, Y), Paper);
    test::SavePicture(test::ImageOf(S.Bmp), "frame_lowered_10x10");
}

TEST(DrawFrame, SimpleAndNone) {
    TSurface S(10, 10);
    DrawFrame(S.Bmp.Canvas(), fsSimple, 0, 0, 9, 9);
    int Border = 0;
    for (int Y = 0; Y < 10; ++Y)
        for (int X = 0; X < 10; ++X) {
            const bool OnBorder = X == 0 || Y == 0 || X == 9 || Y == 9;
            ASSERT_EQ(S.At(X, Y), OnBorder ? clBlack : Paper) << X << "," << Y;
            Border += OnBorder;
        }
    EXPECT_EQ(Border, 36);

    TSurface N(6, 6);
    N.Bmp.Canvas().Pen.Color = clLime;
    N.Bmp.Canvas().MoveTo(3, 4);
    DrawFrame(N.Bmp.Canvas(), fsNone, 0, 0, 5, 5);
    EXPECT_EQ(N.Bmp.Canvas().Pen.Color, clLime);
    EXPECT_EQ(N.Bmp.Canvas().PenPos(), (TPoint{3, 4}));
    for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 6; ++X) ASSERT_EQ(N.At(X, Y), Paper);
}

TEST(DrawFrame, NarrowFramesOverlapWithLaterLinesWinning) {
    // 3 x 3: the inner ring's lines overwrite the outer ring's middle pixel.
    TSurface S(3, 3);
    DrawFrame(S.Bmp.Canvas(), fsLowered, 0, 0, 2, 2);
    EXPECT_EQ(S.At(1, 1), clSilver);  // last line, pen c4, passes (1, 1)
    EXPECT_EQ(S.At(0, 0), clGray);
    EXPECT_EQ(S.At(2, 2), clWhite);
    // Degenerate and off-surface frames draw what falls inside and never fail.
    TSurface T(4, 4);
    DrawFrame(T.Bmp.Canvas(), fsEngraved, -100, -100, 100000, 100000);
    DrawFrame(T.Bmp.Canvas(), fsRaised, INT32_MIN + 2, INT32_MIN + 2, INT32_MAX - 2, INT32_MAX - 2);
    EXPECT_EQ(Picture(T), (std::vector<std::string>{"....", "....", "....", "...."}));  // all outside
    DrawFrame(T.Bmp.Canvas(), fsRaised, -1, -1, 4, 4);  // only the inner ring is inside
    EXPECT_EQ(Picture(T), (std::vector<std::string>{"SSSS", "S..G", "S..G", "GGGG"}));
    // Right of Left and above Top: the four steps' lines cross, the later winning.
    TSurface U(4, 4);
    DrawFrame(U.Bmp.Canvas(), fsRaised, 2, 2, 1, 1);
    EXPECT_EQ(Picture(U), (std::vector<std::string>{"GG.S", "G.WS", "GK.S", "GKSS"}));
}

TEST(SchemeColors, PairsOfEachScheme) {
    EXPECT_EQ(SchemeColors(csBWG).Shadow, clGray);
    EXPECT_EQ(SchemeColors(csBWG).Highlight, clWhite);
    EXPECT_EQ(SchemeColors(csSystem).Shadow, TColor(0xFF000010));
    EXPECT_EQ(SchemeColors(csSystem).Highlight, TColor(0xFF000014));
    EXPECT_EQ(SchemeColors(csSystem).Dark, clBlack);
    // Under csBWG the scheme's colours are the ones the frame is drawn with.
    EXPECT_EQ(SchemeColors(csBWG).Dark, StandardFrameColors.DarkShadow);
    EXPECT_EQ(SchemeColors(csBWG).Shadow, StandardFrameColors.Shadow);
    EXPECT_EQ(SchemeColors(csBWG).Highlight, StandardFrameColors.Highlight);

    // A widget's ColorScheme takes the scheme's pair, which csSystem resolves
    // through the palette's button shadow and highlight, and gives it back.
    const QPalette Saved = QGuiApplication::palette();
    QPalette Distinct = Saved;
    Distinct.setColor(QPalette::Dark, QColor(0x10, 0x20, 0x30));
    Distinct.setColor(QPalette::Light, QColor(0xE0, 0xD0, 0xC0));
    Distinct.setColor(QPalette::Shadow, QColor(0x01, 0x02, 0x03));
    QGuiApplication::setPalette(Distinct);
    TSevenSeg Seg;
    Seg.setProperty("ColorScheme", int(csSystem));  // as a layout writes it
    EXPECT_EQ(Seg.ColorScheme(), csSystem);
    EXPECT_EQ(ColorToRGB(Seg.SchemeShadow()), 0x00302010);
    EXPECT_EQ(ColorToRGB(Seg.SchemeHighlight()), 0x00C0D0E0);
    EXPECT_EQ(Seg.SchemeDark(), clBlack);
    Seg.SetColorScheme(csBWG);
    EXPECT_EQ(Seg.SchemeShadow(), clGray);
    EXPECT_EQ(Seg.SchemeHighlight(), clWhite);
    QGuiApplication::setPalette(Saved);
}
