// Colours, canvas pixel rules, text, copies, bitmaps and stretching.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <array>
#include <climits>
#include <cstdlib>
#include <functional>
#include <random>
#include <set>
#include <vector>

#include "Zent_controls.h"
#include "Zent_graphics.h"
#include "Zent_internal.h"
#include "Zent_numglyphs.h"
#include "Zent_sysutils.h"
#include "test_support.h"

namespace zent {
namespace {

using test::CountPixels;
using test::PixelAt;

// A 32-bit bitmap filled with one colour.
std::unique_ptr<TBitmap> Filled(int32_t W, int32_t H, TColor Color) {
    auto B = std::make_unique<TBitmap>();
    B->Canvas().Brush.SetColor(Color);
    B->SetSize(W, H);
    return B;
}

bool Inside(int X, int Y, const TRect& R) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

// ---------------------------------------------------------------- colours

TEST(Colors, TextOfIdentifiersAndOfOtherValues) {
    EXPECT_EQ(ColorToText(0x000000FF), "clRed");
    EXPECT_EQ(ColorToText(TColor(0xFF00000F)), "clBtnFace");
    EXPECT_EQ(ColorToText(0x00123456), "$00123456");
    EXPECT_EQ(ColorToText(clNone), "clNone");
    EXPECT_EQ(ColorToText(clDefault), "clDefault");
    EXPECT_EQ(ColorToText(SystemColor(25)), "$FF000019");
    EXPECT_EQ(ColorToText(TColor(0x8000000F)), "$8000000F");

    EXPECT_EQ(ColorIdents.front().Name, "clBlack");
    EXPECT_EQ(ColorIdents[20].Name, "clActiveBorder");  // the system colours follow the 20 fixed ones
    EXPECT_EQ(ColorIdents.back().Name, "clWindowText");
    std::set<std::string_view> Names;
    std::set<TColor> Values;
    for (const TColorIdent& I : ColorIdents) {
        Names.insert(I.Name);
        Values.insert(I.Value);
    }
    EXPECT_EQ(Names.size(), 52u);
    EXPECT_EQ(Values.size(), 52u);

    // The fixed colours, in table order, and the red, green, blue they draw.
    struct Fixed {
        std::string_view Name;
        int R, G, B;
    };
    constexpr Fixed Known[20] = {
        {"clBlack", 0, 0, 0},       {"clMaroon", 128, 0, 0},         {"clGreen", 0, 128, 0},
        {"clOlive", 128, 128, 0},   {"clNavy", 0, 0, 128},           {"clPurple", 128, 0, 128},
        {"clTeal", 0, 128, 128},    {"clGray", 128, 128, 128},       {"clSilver", 192, 192, 192},
        {"clRed", 255, 0, 0},       {"clLime", 0, 255, 0},           {"clYellow", 255, 255, 0},
        {"clBlue", 0, 0, 255},      {"clFuchsia", 255, 0, 255},      {"clAqua", 0, 255, 255},
        {"clWhite", 255, 255, 255}, {"clMoneyGreen", 192, 220, 192}, {"clSkyBlue", 166, 202, 240},
        {"clCream", 255, 251, 240}, {"clMedGray", 160, 160, 164},
    };
    for (std::size_t I = 0; I < 20; ++I) {
        EXPECT_EQ(ColorIdents[I].Name, Known[I].Name);
        auto B = Filled(1, 1, ColorIdents[I].Value);
        EXPECT_EQ(test::ImageOf(*B).pixel(0, 0), qRgb(Known[I].R, Known[I].G, Known[I].B)) << Known[I].Name;
    }
}

TEST(Colors, SystemColoursFollowTheApplicationPalette) {
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(clDefault), clDefault);
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToRGB(0x00123456), 0x00123456);

    const QPalette Saved = QGuiApplication::palette();
    EXPECT_EQ(ColorToRGB(clBtnFace), PixelToRGB(Saved.color(QPalette::Active, QPalette::Button).rgb()));
    QPalette Changed = Saved;
    Changed.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
    Changed.setColor(QPalette::Highlight, QColor(0xAB, 0xCD, 0xEF));
    QGuiApplication::setPalette(Changed);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0x00563412);
    EXPECT_EQ(ColorToRGB(TColor(0x8000000F)), 0x00563412);  // only the index byte counts
    EXPECT_EQ(ColorToRGB(clHighlight), 0x00EFCDAB);

    // The canvas resolves when it draws.
    auto B = Filled(2, 1, clWhite);
    B->Canvas().Brush.SetColor(clBtnFace);
    B->Canvas().FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(B->Canvas().Pixels(0, 0), 0x00563412);
    QGuiApplication::setPalette(Saved);

    EXPECT_EQ(ColorToRGB(SystemColor(200)), clBlack);  // no such index

    // Each system colour through its own palette entry, in a palette where
    // every group and role has a colour of its own.
    QPalette Distinct;
    const QPalette::ColorGroup Groups[] = {QPalette::Active, QPalette::Inactive, QPalette::Disabled};
    for (int G = 0; G < 3; ++G)
        for (int R = 0; R < QPalette::NColorRoles; ++R)
            if (R != QPalette::NoRole)
                Distinct.setColor(Groups[G], QPalette::ColorRole(R), QColor(0x20 + 0x40 * G, 9 * R, 0x5A));
    struct Entry {
        TColor Color;
        QPalette::ColorGroup Group;
        QPalette::ColorRole Role;
    };
    using P = QPalette;
    constexpr auto A = P::Active, I = P::Inactive, D = P::Disabled;
    const Entry Entries[] = {
        {clScrollBar, A, P::Button}, {clBackground, A, P::Window},
        {clActiveCaption, A, P::Highlight}, {clInactiveCaption, I, P::Highlight},
        {clMenu, A, P::Window}, {clWindow, A, P::Base},
        {clWindowFrame, A, P::Shadow}, {clMenuText, A, P::WindowText},
        {clWindowText, A, P::Text}, {clCaptionText, A, P::HighlightedText},
        {clActiveBorder, A, P::Window}, {clInactiveBorder, I, P::Window},
        {clAppWorkSpace, A, P::Mid}, {clHighlight, A, P::Highlight},
        {clHighlightText, A, P::HighlightedText}, {clBtnFace, A, P::Button},
        {clBtnShadow, A, P::Dark}, {clGrayText, D, P::Text},
        {clBtnText, A, P::ButtonText}, {clInactiveCaptionText, I, P::HighlightedText},
        {clBtnHighlight, A, P::Light}, {cl3DDkShadow, A, P::Shadow},
        {cl3DLight, A, P::Midlight}, {clInfoText, A, P::ToolTipText},
        {clInfoBk, A, P::ToolTipBase}, {clHotLight, A, P::Link},
        {clGradientActiveCaption, A, P::Highlight}, {clGradientInactiveCaption, I, P::Highlight},
        {clMenuHighlight, A, P::Highlight}, {clMenuBar, A, P::Window},
    };
    QGuiApplication::setPalette(Distinct);
    for (const Entry& E : Entries)
        EXPECT_EQ(ColorToRGB(E.Color), PixelToRGB(Distinct.color(E.Group, E.Role).rgb()))
            << ColorToText(E.Color);
    QGuiApplication::setPalette(Saved);
}

// ---------------------------------------------------------------- shapes

TEST(CanvasShapes, LineRectangleAndFillRectKeepTheirEdgesExclusive) {
    auto B = Filled(8, 6, clWhite);
    TCanvas& C = B->Canvas();
    C.MoveTo(0, 0);
    C.LineTo(3, 0);
    EXPECT_EQ(C.Pixels(0, 0), clBlack);
    EXPECT_EQ(C.Pixels(2, 0), clBlack);
    EXPECT_EQ(C.Pixels(3, 0), clWhite);
    EXPECT_EQ(C.PenPos(), (TPoint{3, 0}));

    B = Filled(8, 6, clWhite);
    TCanvas& R = B->Canvas();
    R.Pen.Color = clRed;
    R.Brush.SetColor(clBlue);
    R.Rectangle(0, 0, 4, 3);
    for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 8; ++X) {
            const TColor Want = X >= 4 || Y >= 3 ? clWhite : (X == 1 || X == 2) && Y == 1 ? clBlue : clRed;
            EXPECT_EQ(R.Pixels(X, Y), Want) << X << "," << Y;
        }

    R.Brush.SetColor(clLime);
    R.FillRect(Rect(5, 3, 7, 5));
    EXPECT_EQ(CountPixels(test::ImageOf(*B), [](int, int, TColor P) { return P == clLime; }), 4);
    EXPECT_EQ(R.Pixels(7, 4), clWhite);
    EXPECT_EQ(R.Pixels(6, 5), clWhite);

    R.Brush.SetStyle(bsClear);
    R.FillRect(Rect(0, 0, 8, 6));  // a clear brush fills nothing
    R.Rectangle(4, 0, 8, 3);
    EXPECT_EQ(R.Pixels(5, 1), clWhite);
    EXPECT_EQ(R.Pixels(4, 1), clRed);
    SCOPED_TRACE(test::SavePicture(test::ImageOf(*B), "canvas_shapes"));

    // Rectangles two pixels high are all outline; with a clear pen the brush covers the whole block.
    B = Filled(8, 6, clWhite);
    TCanvas& T = B->Canvas();
    T.Pen.Color = clRed;
    T.Brush.SetColor(clBlue);
    T.Rectangle(0, 0, 4, 2);
    T.Pen.Style = psClear;
    T.Rectangle(4, 2, 8, 5);
    for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 8; ++X) {
            const TColor Want = X < 4 && Y < 2 ? clRed : X >= 4 && Y >= 2 && Y < 5 ? clBlue : clWhite;
            EXPECT_EQ(T.Pixels(X, Y), Want) << X << "," << Y;
        }
}

TEST(CanvasShapes, PixelsRoundTripAndOutOfRangeReads) {
    auto B = Filled(3, 3, clBlack);
    TCanvas& C = B->Canvas();
    C.SetPixels(1, 1, 0x00FEFEFE);
    EXPECT_EQ(C.Pixels(1, 1), 0x00FEFEFE);
    C.SetPixels(1, 2, 0x00010203);
    EXPECT_EQ(C.Pixels(1, 2), 0x00010203);
    EXPECT_EQ(PixelToRGB(RGBToPixel(0x00FEFEFE)), 0x00FEFEFE);
    EXPECT_EQ(C.Pixels(-1, 0), TColor(0xFFFFFFFF));
    EXPECT_EQ(C.Pixels(3, 0), TColor(0xFFFFFFFF));
    EXPECT_EQ(C.Pixels(0, INT32_MIN), TColor(0xFFFFFFFF));
}

TEST(CanvasShapes, HugeAndInvertedCoordinatesAreClipped) {
    auto B = Filled(10, 10, clWhite);
    TCanvas& C = B->Canvas();
    C.Brush.SetColor(clGreen);
    C.Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);  // outline far outside, inside covers all
    EXPECT_EQ(CountPixels(test::ImageOf(*B), [](int, int, TColor P) { return P == clGreen; }), 100);
    C.Rectangle(6, 6, 2, 2);  // corners in either order
    EXPECT_EQ(C.Pixels(2, 2), clBlack);
    EXPECT_EQ(C.Pixels(3, 3), clGreen);
    EXPECT_EQ(C.Pixels(6, 6), clGreen);
    C.MoveTo(INT32_MIN, INT32_MIN);
    C.LineTo(INT32_MAX, INT32_MAX);
    EXPECT_EQ(C.Pixels(9, 9), clBlack);
    C.LineTo(INT32_MIN, INT32_MAX);
    C.FillRect(Rect(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN));
    C.FillRect(Rect(INT32_MIN, 0, INT32_MAX, 1));
    EXPECT_EQ(C.Pixels(5, 0), clGreen);
    C.SetPixels(INT32_MAX, -1, clRed);
    C.TextOut(INT32_MAX, INT32_MAX, "overflow");
    EXPECT_EQ(C.PenPos().X, INT32_MAX);
    C.TextOut(INT32_MIN, 0, "overflow");
    C.TextRect(Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), INT32_MIN, INT32_MAX, "x");
    C.FloodFill(INT32_MIN, INT32_MAX, clGreen, fsSurface);
    C.Draw(INT32_MAX, INT32_MIN, *Filled(4, 4, clRed));
    C.CopyRect(Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), C, Rect(0, 0, INT32_MAX, INT32_MAX));
    EXPECT_TRUE(StretchBlt(C.Handle(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, C.Handle(), INT32_MIN, 0,
                           INT32_MAX, INT32_MAX, SRCCOPY));
}

// ---------------------------------------------------------------- lines

// The pixels of the line from (X0, Y0) to (X1, Y1) on a W x H surface by the
// line rule alone, for each column (or row) of the surface on its own
// however far away the ends are: one pixel per step along the longer axis
// from the start, the end point left out, the other coordinate's offset the
// exact one rounded half up, a tie towards the end point.
std::vector<bool> RuledLine(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1, int32_t W, int32_t H) {
    std::vector<bool> On(std::size_t(W) * std::size_t(H));
    const int64_t DX = int64_t(X1) - X0, DY = int64_t(Y1) - Y0;
    const bool XMajor = std::abs(DX) >= std::abs(DY);
    const uint64_t Major = uint64_t(std::abs(XMajor ? DX : DY)), Minor = uint64_t(std::abs(XMajor ? DY : DX));
    const int64_t M0 = XMajor ? X0 : Y0, N0 = XMajor ? Y0 : X0;
    const int64_t MS = (XMajor ? DX : DY) < 0 ? -1 : 1, NS = (XMajor ? DY : DX) < 0 ? -1 : 1;
    for (int64_t M = 0; M < (XMajor ? W : H); ++M) {
        const int64_t Step = (M - M0) * MS;
        if (Step < 0 || uint64_t(Step) >= Major) continue;
        const uint64_t Exact = uint64_t(Step) * Minor;  // the offset is Exact / Major
        const int64_t N = N0 + NS * int64_t(Exact / Major + (2 * (Exact % Major) >= Major ? 1 : 0));
        if (N < 0 || N >= (XMajor ? H : W)) continue;
        On[std::size_t(XMajor ? N * W + M : M * W + N)] = true;
    }
    return On;
}

// Lines are clipped to the surface, and on a control's screen to the area
// being painted, before they are stepped; the clipped line keeps exactly the
// pixels of the whole line. Seeded lines near the surface, with one or both
// ends anywhere in 32 bits, through the surface from far away, and straight
// ones, drawn on bitmaps at ratios 1 and 2 and by a control repainting a
// random part of itself.
TEST(CanvasLines, ClippedLinesKeepExactlyThePixelsOfTheWholeLine) {
    constexpr int32_t W = 64, H = 48, Off = 100;
    struct TLine : TGraphicControl {
        int32_t X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
        TRect Area;
        void Paint() override {
            Area = Canvas().PaintArea();
            Canvas().Pen.Color = clBlack;
            Canvas().MoveTo(X0, Y0);
            Canvas().LineTo(X1, Y1);
        }
    } Control;
    Control.resize(W, H);
    auto One = Filled(W, H, clWhite), Two = Filled(1, 1, clWhite);
    Two->SetPixelRatio(2);
    Two->SetSize(W, H);
    QImage Screen(W, H, QImage::Format_RGB32);

    std::mt19937 Engine(20240607);
    const auto Below = [&](int32_t N) { return int32_t(Engine() % uint32_t(N)); };
    const auto Far = [&] { return int32_t(Engine()); };
    const auto NearX = [&] { return Below(W + 2 * Off) - Off; };
    const auto NearY = [&] { return Below(H + 2 * Off) - Off; };
    // Each kind of line in turn: near, one end far, both ends far on either
    // side of a point near the surface, both far anywhere, straight and far.
    const std::function<std::array<int32_t, 4>()> Kinds[] = {
        [&] {
            return std::array{NearX(), NearY(), NearX(), NearY()};
        },
        [&] {
            return std::array{NearX(), NearY(), Far(), Far()};
        },
        [&] {
            const int64_t X = NearX(), Y = NearY(), X1 = Far(), Y1 = Far();
            return std::array{Saturate(2 * X - X1), Saturate(2 * Y - Y1), int32_t(X1), int32_t(Y1)};
        },
        [&] {
            return std::array{Far(), Far(), Far(), Far()};
        },
        [&] {
            const int32_t Y = NearY();
            return std::array{Far(), Y, Far(), Y};
        },
        [&] {
            const int32_t X = NearX();
            return std::array{X, Far(), X, Far()};
        },
    };
    for (int N = 0; N < 3000; ++N) {
        const auto [X0, Y0, X1, Y1] = Kinds[N % std::size(Kinds)]();
        const std::vector<bool> On = RuledLine(X0, Y0, X1, Y1, W, H);
        const auto Check = [&](const QImage& Drawn, const QRect& Within, const char* Where) {
            QImage Want(W, H, QImage::Format_RGB32);
            for (int Y = 0; Y < H; ++Y) {
                auto* Row = reinterpret_cast<uint32_t*>(Want.scanLine(Y));
                for (int X = 0; X < W; ++X)
                    Row[X] = On[std::size_t(Y * W + X)] && Within.contains(X, Y) ? 0xFF000000u : 0xFFFFFFFFu;
            }
            Want = Want.scaled(Drawn.size());  // pixel repetition at ratio 2
            if (Drawn.convertToFormat(QImage::Format_RGB32) != Want)
                FAIL() << N << ": " << X0 << "," << Y0 << " -> " << X1 << "," << Y1 << " " << Where << ": "
                       << test::SavePicture(Drawn, "line_drawn") << " "
                       << test::SavePicture(Want, "line_ruled");
        };
        for (TBitmap* B : {One.get(), Two.get()}) {
            B->Canvas().FillRect(Rect(0, 0, W, H));
            B->Canvas().MoveTo(X0, Y0);
            B->Canvas().LineTo(X1, Y1);
            Check(test::ImageOf(*B), QRect(0, 0, W, H), B == One.get() ? "bitmap" : "bitmap of ratio 2");
        }

        const int32_t L = Below(W), T = Below(H), R = L + 1 + Below(W - L), B = T + 1 + Below(H - T);
        Control.X0 = X0, Control.Y0 = Y0, Control.X1 = X1, Control.Y1 = Y1;
        Screen.fill(Qt::white);
        // The region lands at the target offset: there, where it is on the control.
        Control.render(&Screen, QPoint(L, T), QRegion(L, T, R - L, B - T), QWidget::RenderFlags());
        ASSERT_EQ(Control.Area, Rect(L, T, R, B)) << N;
        Check(Screen, QRect(L, T, R - L, B - T), "screen");
        if (HasFatalFailure() || HasFailure()) return;
    }
}

// ---------------------------------------------------------------- text

struct TextCase : ::testing::Test {
    std::unique_ptr<TBitmap> B = Filled(120, 40, clRed);
    TCanvas& C = B->Canvas();
    const std::string Text = "Zent 42";
    void SetUp() override { C.Font.Color = clBlack; }
};

TEST_F(TextCase, TextOutPaintsItsCellAndMovesThePen) {
    C.Brush.SetColor(clBlue);
    C.TextOut(10, 5, Text);
    const TRect Cell = Rect(10, 5, 10 + C.TextWidth(Text), 5 + C.TextHeight(Text));
    EXPECT_EQ(C.PenPos(), (TPoint{Cell.Right, 5}));
    EXPECT_GT(Cell.Width(), 0);
    EXPECT_EQ(
        CountPixels(test::ImageOf(*B), [&](int X, int Y, TColor P) { return Inside(X, Y, Cell) != (P != clRed); }),
        0);
    EXPECT_GT(CountPixels(test::ImageOf(*B), [](int, int, TColor P) { return P == clBlack; }), 0);
    SCOPED_TRACE(test::SavePicture(test::ImageOf(*B), "text_out_solid"));
}

TEST_F(TextCase, ClearBrushPaintsOnlyGlyphPixels) {
    C.Brush.SetStyle(bsClear);
    C.TextOut(10, 5, Text);
    const TRect Cell = Rect(10, 5, 10 + C.TextWidth(Text), 5 + C.TextHeight(Text));
    const int Changed = CountPixels(test::ImageOf(*B), [](int, int, TColor P) { return P != clRed; });
    EXPECT_GT(Changed, 0);
    EXPECT_LT(Changed, Cell.Width() * Cell.Height() / 2);
    EXPECT_EQ(
        CountPixels(test::ImageOf(*B), [&](int X, int Y, TColor P) { return !Inside(X, Y, Cell) && P != clRed; }),
        0);
    EXPECT_EQ(CountPixels(test::ImageOf(*B), [](int, int, TColor P) { return P == clWhite; }),
              0);  // no brush colour

    C.Brush.SetColor(clYellow);  // a colour makes the brush solid again
    EXPECT_EQ(C.Brush.Style(), bsSolid);
    C.TextOut(10, 5, Text);
    EXPECT_GT(CountPixels(test::ImageOf(*B), [](int, int, TColor P) { return P == clYellow; }), 0);
}

TEST_F(TextCase, TextRectShowsOnlyWhatFitsAndFillsTheRest) {
    C.Brush.SetColor(clWhite);
    const int32_t W = C.TextWidth(Text), H = C.TextHeight(Text);
    const TRect R = Rect(10, 5, 10 + W / 2, 5 + H + 4);  // narrower than the text, taller than its cell
    C.TextRect(R, 10, 5, Text);
    EXPECT_EQ(C.PenPos(), (TPoint{0, 0}));
    EXPECT_EQ(
        CountPixels(test::ImageOf(*B), [&](int X, int Y, TColor P) { return Inside(X, Y, R) != (P != clRed); }), 0);
    EXPECT_GT(
        CountPixels(test::ImageOf(*B), [&](int X, int Y, TColor P) { return Inside(X, Y, R) && P == clBlack; }), 0);
    EXPECT_GT(
        CountPixels(test::ImageOf(*B),
                    [&](int X, int Y, TColor P) { return Y >= 5 + H && Inside(X, Y, R) && P == clWhite; }),
        0);
    SCOPED_TRACE(test::SavePicture(test::ImageOf(*B), "text_rect_narrow"));
}

TEST_F(TextCase, HeightIsTheFullCellWhateverTheCharacters) {
    EXPECT_EQ(C.TextHeight("."), C.TextHeight("\xC1g"));
    EXPECT_EQ(C.TextWidth(""), 0);
    C.Font.Size = 20;
    C.Font.Style = fsBold;
    EXPECT_GT(C.TextHeight("x"), TCanvas().TextHeight("x"));
}

TEST_F(TextCase, EachTextIsMeasuredForItself) {
    // Repeats, a prefix, an empty text and one with a trailing space in turn.
    for (const char* T : {"Zent 42", "Zent 42", "Zent", "", "W", "Zent 42 ", "\xC4"}) {
        TBitmap Fresh;
        Fresh.SetSize(120, 40);
        EXPECT_EQ(C.TextWidth(T), Fresh.Canvas().TextWidth(T)) << T;
        C.TextOut(0, 0, T);
        EXPECT_EQ(C.PenPos().X, Fresh.Canvas().TextWidth(T)) << T;
    }
}

// A canvas keeps what it needs for text between calls. After any change
// that text depends on, its next draw and measures must be a fresh canvas's.
struct TTextDraw {
    int32_t Width, Height, PenX;
    QImage Picture;
    bool operator==(const TTextDraw& O) const {
        return Width == O.Width && Height == O.Height && PenX == O.PenX && Picture == O.Picture;
    }
};

TTextDraw DrawSample(TCanvas& C, QImage& Surface) {
    const std::string Text = "Zent \xC4g 42";
    C.Brush.SetColor(clWhite);
    C.FillRect(Rect(0, 0, 200, 60));
    C.Font.Color = clBlack;
    C.Brush.SetColor(clYellow);
    C.TextOut(3, 2, Text);
    C.Brush.SetStyle(bsClear);
    C.TextRect(Rect(10, 30, 60, 50), 4, 28, Text);
    // Against metrics made afresh for the surface.
    const QFontMetrics Plain(ToQFont(C.Font), &Surface);
    EXPECT_EQ(C.TextWidth(Text), Plain.horizontalAdvance(QString::fromLatin1(Text)));
    EXPECT_EQ(C.TextHeight(Text), Plain.height());
    return {C.TextWidth(Text), C.TextHeight(Text), C.PenPos().X, Surface.copy()};
}

TEST(CanvasTextCache, EachChangeBetweenTwoDrawsShowsInTheNext) {
    struct TChange {
        const char* Name;
        std::function<void(TBitmap&)> Apply;
    };
    const QFont KeptAppFont = QGuiApplication::font();
    const TChange Changes[] = {
        {"face", [](TBitmap& B) { B.Canvas().Font.Name = "DejaVu Serif"; }},
        {"points", [](TBitmap& B) { B.Canvas().Font.Size = 17; }},
        {"pixels", [](TBitmap& B) { B.Canvas().Font.Size = -23; }},
        {"bold", [](TBitmap& B) { B.Canvas().Font.Style = fsBold; }},
        {"italic underlined", [](TBitmap& B) { B.Canvas().Font.Style = fsItalic | fsUnderline; }},
        {"pixel ratio", [](TBitmap& B) { B.SetPixelRatio(2); }},
        {"resolution", [](TBitmap& B) { TPlatformAccess::Image(B).setDotsPerMeterY(7559); }},  // 192 dpi
        {"application font", [](TBitmap&) { QGuiApplication::setFont(QFont("DejaVu Serif", 13)); }},
    };
    for (const TChange& Change : Changes) {
        SCOPED_TRACE(Change.Name);
        TBitmap Used, Fresh;
        Used.SetSize(200, 60);
        Fresh.SetSize(200, 60);
        const TTextDraw Before = DrawSample(Used.Canvas(), TPlatformAccess::Image(Used));
        Change.Apply(Used);
        const TTextDraw After = DrawSample(Used.Canvas(), TPlatformAccess::Image(Used));
        Change.Apply(Fresh);
        const TTextDraw Want = DrawSample(Fresh.Canvas(), TPlatformAccess::Image(Fresh));
        QGuiApplication::setFont(KeptAppFont);
        EXPECT_FALSE(After == Before);  // every change shows
        EXPECT_TRUE(After == Want) << After.Width << " x " << After.Height << ", want " << Want.Width << " x "
                                   << Want.Height << " " << test::SavePicture(After.Picture, "text_cache_used")
                                   << " " << test::SavePicture(Want.Picture, "text_cache_fresh");
    }

    // A control's canvas is bound to one painter after another: each may
    // paint at another resolution or device pixel ratio.
    const auto NewScreen = [](int Ratio, int DotsPerMeter) {
        QImage S(200 * Ratio, 60 * Ratio, QImage::Format_ARGB32_Premultiplied);
        S.setDevicePixelRatio(Ratio);
        S.setDotsPerMeterY(DotsPerMeter);
        S.fill(Qt::green);
        return S;
    };
    const auto Paint = [](TCanvas& C, QImage& S) {
        QPainter P(&S);
        TPlatformAccess::BindPainter(C, &P, 200, 60);
        TTextDraw D = DrawSample(C, S);
        TPlatformAccess::Unbind(C);
        return D;
    };
    for (const auto& [Ratio, DotsPerMeter] : {std::pair{2, 3780}, {1, 7559}, {3, 5000}}) {
        SCOPED_TRACE(std::to_string(Ratio) + " " + std::to_string(DotsPerMeter));
        TCanvas Used, Fresh;
        QImage First = NewScreen(1, 3780), Second = NewScreen(Ratio, DotsPerMeter),
               Third = NewScreen(Ratio, DotsPerMeter);
        const TTextDraw Before = Paint(Used, First);
        const TTextDraw After = Paint(Used, Second), Want = Paint(Fresh, Third);
        EXPECT_FALSE(After == Before);
        EXPECT_TRUE(After == Want) << test::SavePicture(After.Picture, "text_cache_painter_used") << " "
                                   << test::SavePicture(Want.Picture, "text_cache_painter_fresh");
        EXPECT_EQ(Used.TextHeight("x"), TCanvas().TextHeight("x"));  // unbound again: no surface
    }
}

// ---------------------------------------------------------------- number text

// A text of number characters is drawn from glyphs shaped once per font;
// any other is shaped. Either way the canvas gives the width and pixels of
// Qt's own text drawing, on a bitmap and on a control's screen.
struct TTextSurface {
    TBitmap Bitmap;
    QImage Screen;
    QPainter Painter;
    TCanvas Control;
    TCanvas& C;
    QImage& Pixels;
    TTextSurface(bool OnScreen, int Ratio, const TFont& Font)
        : C(OnScreen ? Control : Bitmap.Canvas()),
          Pixels(OnScreen ? Screen : TPlatformAccess::Image(Bitmap)) {
        Bitmap.SetPixelRatio(Ratio);
        Bitmap.SetSize(150, 40);
        Screen = QImage(150 * Ratio, 40 * Ratio, QImage::Format_ARGB32_Premultiplied);
        Screen.setDevicePixelRatio(Ratio);
        if (OnScreen) {
            Painter.begin(&Screen);
            TPlatformAccess::BindPainter(Control, &Painter, 150, 40);
        }
        C.Font = Font;
    }
    ~TTextSurface() { TPlatformAccess::Unbind(Control); }
    QFont Font() const { return ToQFont(C.Font); }

    // Text with its cell at (X, Y) on a white surface, by the canvas and by
    // Qt, on a Background cell or glyphs alone (clNone); empty when both
    // agree, else what differs.
    std::string Compare(int X, int Y, const std::string& Text, TColor Background = clNone) {
        C.Brush.SetColor(clWhite);
        C.FillRect(Rect(0, 0, 150, 40));
        QImage Want = Pixels.copy();
        if (Background == clNone)
            C.Brush.SetStyle(bsClear);
        else
            C.Brush.SetColor(Background);
        C.TextOut(X, Y, Text);
        const QString Chars = QString::fromLatin1(Text.data(), qsizetype(Text.size()));
        const QFontMetrics Metrics(Font(), &Pixels);
        {
            QPainter P(&Want);
            const QRect Cell(X, Y, Metrics.horizontalAdvance(Chars), Metrics.height());
            if (Background != clNone) P.fillRect(Cell, QColor::fromRgb(RGBToPixel(Background)));
            P.setClipRect(Cell);
            P.setFont(Font());
            P.setPen(QColor::fromRgb(RGBToPixel(C.Font.Color)));
            P.drawText(QPoint(X, Y + Metrics.ascent()), Chars);
        }
        if (C.TextWidth(Text) != Metrics.horizontalAdvance(Chars))
            return "width " + std::to_string(C.TextWidth(Text)) + " for " + Text;
        if (Pixels != Want)
            return "pixels of " + Text + ": " + test::SavePicture(Pixels, "number_text_canvas") + " " +
                   test::SavePicture(Want, "number_text_qt");
        return {};
    }
};

TEST(CanvasNumberText, WidthsAndPixelsAreThoseOfShapedText) {
    struct TCase {
        const char* Face;
        int32_t Pixels;
        uint8_t Style;
    };
    const TCase Cases[] = {
        {"DejaVu Sans", 9, 0},
        {"DejaVu Sans", 13, fsBold},
        {"DejaVu Sans Mono", 11, fsItalic},
        {"Liberation Sans", 12, 0},
        {"Liberation Sans", 17, fsItalic},
        {"Liberation Serif", 9, 0},
        {"Liberation Serif", 15, fsBold | fsItalic},
        {"Liberation Mono", 10, fsBold},
        {"DSEG7 Classic", 20, 0},  // lacks some characters: those come from another font
        {"DejaVu Sans", 30, 0},    // at ratio 3 too large for Qt's glyph cache: drawn as outlines
        {"DejaVu Sans", 12, fsUnderline | fsStrikeOut},  // lines: never a table
    };
    std::mt19937 Rnd(1789);
    const std::string_view Chars = TNumberGlyphs::Alphabet;
    int Tabled = 0, Texts = 0;
    for (const TCase& Case : Cases) {
        for (const int Ratio : {1, 2, 3}) {
            for (const bool OnScreen : {false, true}) {
                SCOPED_TRACE(std::string(Case.Face) + " " + std::to_string(Case.Pixels) + " px, style " +
                             std::to_string(Case.Style) + ", ratio " + std::to_string(Ratio) +
                             (OnScreen ? ", screen" : ", bitmap"));
                TTextSurface S(OnScreen, Ratio, TFont{Case.Face, -Case.Pixels, Case.Style, 1, clNavy});
                const auto Table = TNumberGlyphs::For(S.Font(), &S.Pixels);
                EXPECT_EQ(Table == nullptr, (Case.Style & (fsUnderline | fsStrikeOut)) != 0);
                for (int i = 0; i < 24; ++i) {
                    // One text in eight holds a character no table has.
                    std::string Text(1 + Rnd() % 12, ' ');
                    for (char& C : Text) C = Chars[Rnd() % Chars.size()];
                    if (Rnd() % 8 == 0) Text[Rnd() % Text.size()] = "xQ%\xC4"[Rnd() % 4];
                    const int X = int(Rnd() % 40) - 4, Y = int(Rnd() % 16) - 2;
                    const std::string Difference = S.Compare(X, Y, Text, i % 2 ? clNone : clYellow);
                    EXPECT_EQ(Difference, "");
                    Tabled += Table && Table->Width(Text) >= 0;
                    ++Texts;
                }
            }
        }
    }
    EXPECT_GT(Tabled, Texts * 2 / 3);  // the table drew most of them
}

TEST(CanvasNumberText, AKernedPairIsShaped) {
    // Liberation Serif kerns "11": a one after a one moves left.
    TTextSurface S(false, 1, TFont{"Liberation Serif", -14, 0, 1, clBlack});
    const QFontMetricsF Metrics(S.Font(), &S.Pixels);
    ASSERT_LT(Metrics.horizontalAdvance("1111"), 4 * Metrics.horizontalAdvance("1"));
    const auto Table = TNumberGlyphs::For(S.Font(), &S.Pixels);
    ASSERT_TRUE(Table);
    for (const char* Text : {"1111", "-11.5", "2:11"}) {
        EXPECT_EQ(Table->Width(Text), -1) << Text;
        EXPECT_EQ(S.Compare(3, 5, Text, clAqua), "");
    }
    EXPECT_EQ(Table->Width("1.1"), S.C.TextWidth("1.1"));  // apart, the ones are the table's
}

// ---------------------------------------------------------------- flood fill

TEST(CanvasFloodFill, FillsOneExactRegionOrNothing) {
    auto B = Filled(9, 5, clWhite);
    TCanvas& C = B->Canvas();
    C.MoveTo(4, 0);
    C.LineTo(4, 5);                 // splits the picture into two white regions
    C.SetPixels(1, 1, 0x00FEFEFE);  // near-white is another colour
    C.Brush.SetColor(clAqua);

    C.FloodFill(0, 0, clBlack, fsSurface);  // seed has another colour
    EXPECT_EQ(CountPixels(test::ImageOf(*B), [](int, int, TColor P) { return P == clAqua; }), 0);
    C.FloodFill(0, 0, clNone, fsSurface);
    C.FloodFill(0, 0, clWhite, fsBorder);
    C.Brush.SetStyle(bsClear);
    C.FloodFill(0, 0, clWhite, fsSurface);  // a clear brush fills nothing
    EXPECT_EQ(CountPixels(test::ImageOf(*B), [](int, int, TColor P) { return P == clAqua; }), 0);
    C.Brush.SetStyle(bsSolid);

    C.FloodFill(0, 0, clWhite, fsSurface);
    EXPECT_EQ(CountPixels(test::ImageOf(*B), [](int X, int, TColor P) { return X < 4 && P == clAqua; }), 4 * 5 - 1);
    EXPECT_EQ(CountPixels(test::ImageOf(*B), [](int X, int, TColor P) { return X > 4 && P == clWhite; }), 4 * 5);
    EXPECT_EQ(C.Pixels(1, 1), 0x00FEFEFE);
}

// ---------------------------------------------------------------- copies

TEST(CanvasCopy, DrawCombinesByCopyMode) {
    auto Dst = Filled(4, 1, 0x00F0F0F0);
    auto Src = Filled(2, 1, clWhite);
    Src->Canvas().SetPixels(1, 0, 0x000F3C80);
    TCanvas& C = Dst->Canvas();

    C.CopyMode = SRCAND;
    C.Draw(0, 0, *Src);
    EXPECT_EQ(C.Pixels(0, 0), 0x00F0F0F0);  // white leaves the destination
    EXPECT_EQ(C.Pixels(1, 0), 0x00003080);
    C.CopyMode = SRCCOPY;
    C.Draw(2, 0, *Src);
    EXPECT_EQ(C.Pixels(2, 0), clWhite);
    EXPECT_EQ(C.Pixels(3, 0), 0x000F3C80);

    TBitmap Empty;
    C.Draw(0, 0, Empty);
    Empty.SetWidth(5);  // 5 x 0 is still empty
    C.Draw(0, 0, Empty);
    EXPECT_EQ(C.Pixels(0, 0), 0x00F0F0F0);
}

TEST(CanvasCopy, CopyRectTakesTheCommonPartOfUnequalRectangles) {
    auto Dst = Filled(6, 6, clBlack);
    auto Src = Filled(6, 6, clWhite);
    Src->Canvas().SetPixels(2, 2, clRed);
    Dst->Canvas().CopyRect(Rect(0, 0, 2, 3), Src->Canvas(), Rect(2, 2, 6, 4));  // common 2 x 2
    EXPECT_EQ(Dst->Canvas().Pixels(0, 0), clRed);
    EXPECT_EQ(CountPixels(test::ImageOf(*Dst), [](int, int, TColor P) { return P != clBlack; }), 4);

    Src->Canvas().CopyRect(Rect(1, 0, 6, 6), Src->Canvas(), Rect(0, 0, 5, 6));  // overlapping, same bitmap
    EXPECT_EQ(Src->Canvas().Pixels(3, 2), clRed);
    EXPECT_EQ(Src->Canvas().Pixels(2, 2), clWhite);

    TCanvas Unbound;
    EXPECT_THROW(Dst->Canvas().CopyRect(Rect(0, 0, 1, 1), Unbound, Rect(0, 0, 1, 1)), EInvalidOperation);
}

TEST(CanvasCopy, StretchBltAveragesInHalftoneModeOnly) {
    auto Src = Filled(2, 1, clBlack);
    Src->Canvas().SetPixels(1, 0, clWhite);
    auto Dst = Filled(2, 1, clRed);
    EXPECT_EQ(SetStretchBltMode(Dst->Canvas().Handle(), HALFTONE), 1);
    EXPECT_TRUE(StretchBlt(Dst->Canvas().Handle(), 0, 0, 1, 1, Src->Canvas().Handle(), 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(Dst->Canvas().Pixels(0, 0), 0x00808080);
    EXPECT_EQ(SetStretchBltMode(Dst->Canvas().Handle(), 3), HALFTONE);
    EXPECT_TRUE(StretchBlt(Dst->Canvas().Handle(), 1, 0, 1, 1, Src->Canvas().Handle(), 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(Dst->Canvas().Pixels(1, 0), clWhite);  // the pixel under the centre

    EXPECT_FALSE(StretchBlt(Dst->Canvas().Handle(), 0, 0, 1, 1, Src->Canvas().Handle(), 0, 0, 2, 1, SRCAND));
    EXPECT_FALSE(
        StretchBlt(Dst->Canvas().Handle(), 0, 0, -1, 1, Src->Canvas().Handle(), 0, 0, 2, 1, SRCCOPY));
    EXPECT_FALSE(StretchBlt(nullptr, 0, 0, 1, 1, Src->Canvas().Handle(), 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(SetStretchBltMode(Dst->Canvas().Handle(), 9), 0);
}

// ---------------------------------------------------------------- surfaces

TEST(CanvasSurface, UnboundCanvasRefusesToDraw) {
    TCanvas C;
    try {
        C.FillRect(Rect(0, 0, 1, 1));
        FAIL() << "no exception";
    } catch (const EInvalidOperation& E) {
        EXPECT_EQ(E.Message(), "Canvas does not allow drawing");
    }
    EXPECT_THROW(C.LineTo(1, 1), EInvalidOperation);
    EXPECT_THROW(C.TextOut(0, 0, "x"), EInvalidOperation);
    EXPECT_EQ(C.Pixels(0, 0), TColor(0xFFFFFFFF));
    EXPECT_GT(C.TextHeight("x"), 0);  // measuring needs no surface
}

// The same drawing on a bitmap and on a painter over a screen-like image.
void DrawScene(TCanvas& C, const TBitmap& Sprite) {
    C.Brush.SetColor(clSilver);
    C.FillRect(Rect(0, 0, 40, 30));
    C.Pen.Color = clNavy;
    C.Brush.SetColor(clYellow);
    C.Rectangle(2, 2, 20, 15);
    C.MoveTo(0, 29);
    C.LineTo(39, 0);
    C.MoveTo(5, 25);
    C.LineTo(35, 20);
    C.SetPixels(38, 28, clRed);
    C.CopyMode = SRCAND;
    C.Draw(22, 5, Sprite);
    C.CopyMode = SRCCOPY;
    C.Draw(30, 20, Sprite);
}

TEST(CanvasSurface, PainterCanvasDrawsTheSamePixelsAsABitmap) {
    auto Sprite = Filled(12, 8, clWhite);
    Sprite->Canvas().Pen.Color = clMaroon;
    Sprite->Canvas().Rectangle(1, 1, 11, 7);

    auto B = Filled(40, 30, clWhite);
    DrawScene(B->Canvas(), *Sprite);

    QImage Screen(48, 36, QImage::Format_ARGB32_Premultiplied);  // what a widget's backing store uses
    Screen.fill(Qt::green);
    {
        QPainter P(&Screen);
        TCanvas C;
        TPlatformAccess::BindPainter(C, &P, 40, 30);
        DrawScene(C, *Sprite);
        EXPECT_EQ(C.Pixels(1, 1), TColor(0xFFFFFFFF));  // a screen is not readable
        C.FloodFill(1, 1, clSilver, fsSurface);
        TPlatformAccess::Unbind(C);
        EXPECT_FALSE(C.IsBound());
    }
    test::SavePicture(Screen, "painter_scene");
    for (int Y = 0; Y < 36; ++Y)
        for (int X = 0; X < 48; ++X) {
            const TColor Want = X < 40 && Y < 30 ? PixelAt(test::ImageOf(*B), X, Y) : 0x0000FF00;
            ASSERT_EQ(PixelAt(Screen, X, Y), Want)
                << X << "," << Y << " " << test::SavePicture(test::ImageOf(*B), "bitmap_scene");
        }
}

TEST(CanvasSurface, PainterTextStaysInsideItsRectangle) {
    QImage Screen(60, 30, QImage::Format_ARGB32_Premultiplied);
    Screen.fill(Qt::green);
    const TRect R = Rect(5, 5, 25, 20);
    {
        QPainter P(&Screen);
        TCanvas C;
        TPlatformAccess::BindPainter(C, &P, 60, 30);
        C.Font.Color = clBlack;
        C.Brush.SetStyle(bsClear);
        C.TextRect(R, 0, 2, "WWWWWWWW");
        C.Brush.SetColor(clWhite);
        C.TextOut(30, 5, "W");
        EXPECT_EQ(C.PenPos(), (TPoint{30 + C.TextWidth("W"), 5}));
    }
    SCOPED_TRACE(test::SavePicture(Screen, "painter_text"));
    EXPECT_EQ(CountPixels(Screen,
                          [&](int X, int Y, TColor P) { return X < 30 && !Inside(X, Y, R) && P != clLime; }),
              0);
    EXPECT_GT(CountPixels(Screen, [&](int X, int Y, TColor P) { return Inside(X, Y, R) && P != clLime; }), 0);
    EXPECT_GT(CountPixels(Screen, [](int X, int, TColor P) { return X >= 30 && P == clWhite; }), 0);
}

// ---------------------------------------------------------------- bitmaps

TEST(Bitmap, ResizeKeepsPixelsTopLeftAndFillsWithTheBrush) {
    TBitmap B;
    EXPECT_EQ(B.Width(), 0);
    EXPECT_EQ(B.Height(), 0);
    EXPECT_TRUE(B.Empty());
    B.SetWidth(3);
    B.SetHeight(2);
    EXPECT_EQ(test::ImageOf(B).format(), QImage::Format_RGB32);
    EXPECT_EQ(B.Canvas().Pixels(2, 1), clWhite);

    B.Canvas().SetPixels(0, 0, clRed);
    B.Canvas().Brush.SetColor(clBtnFace);
    B.SetSize(5, 4);
    EXPECT_EQ(B.Canvas().Pixels(0, 0), clRed);
    EXPECT_EQ(B.Canvas().Pixels(2, 1), clWhite);
    EXPECT_EQ(B.Canvas().Pixels(4, 3), ColorToRGB(clBtnFace));
    EXPECT_EQ(B.Canvas().Pixels(3, 0), ColorToRGB(clBtnFace));

    EXPECT_THROW(B.SetSize(INT32_MAX, INT32_MAX), EOutOfResources);
    EXPECT_THROW(B.SetWidth(1 << 29), EOutOfResources);
    EXPECT_EQ(B.Width(), 5);  // the old picture stays
    EXPECT_EQ(B.Canvas().Pixels(4, 3), ColorToRGB(clBtnFace));

    B.SetSize(1, 1);
    EXPECT_EQ(B.Canvas().Pixels(0, 0), clRed);
    B.SetWidth(-7);
    EXPECT_EQ(B.Width(), 0);
    EXPECT_TRUE(B.Empty());
    B.Canvas().FillRect(Rect(0, 0, 10, 10));  // still bound, nothing to draw on
    B.SetWidth(2);
    B.Canvas().Brush.SetColor(clGreen);
    B.Canvas().FillRect(Rect(1, 0, 2, 1));
    EXPECT_EQ(B.Canvas().Pixels(1, 0), clGreen);
}

TEST(Bitmap, MissingResourceNamesItself) {
    TBitmap B;
    try {
        B.LoadFromResource(0, "NOSUCHART");
        FAIL() << "no exception";
    } catch (const EResNotFound& E) {
        EXPECT_EQ(E.Message(), "Resource NOSUCHART not found");
    }
    EXPECT_TRUE(B.Empty());
}

// A picture of everything the canvas draws, for people to look at.
TEST(Bitmap, SamplePicture) {
    auto B = Filled(160, 90, clWhite);
    TCanvas& C = B->Canvas();
    C.Pen.Color = clNavy;
    C.Brush.SetColor(clCream);
    C.Rectangle(0, 0, 160, 90);
    C.Brush.SetColor(clSkyBlue);
    C.Rectangle(6, 6, 60, 40);
    for (int I = 0; I < 8; ++I) {
        C.MoveTo(70, 10);
        C.LineTo(70 + I * 10, 40 - I * 4);
    }
    C.Brush.SetColor(clMoneyGreen);
    C.FloodFill(2, 50, clCream, fsSurface);
    C.Font.Size = 12;
    C.Brush.SetColor(clYellow);
    C.TextOut(8, 50, "TextOut");
    C.TextRect(Rect(90, 50, 130, 70), 90, 50, "TextRect clipped");

    auto Art = Filled(312, 432, clWhite);
    Art->Canvas().Brush.SetColor(clBlack);
    for (int I = 0; I < 12; ++I) Art->Canvas().FillRect(Rect(20 * I, 36 * I, 20 * I + 60, 36 * I + 40));
    SetStretchBltMode(C.Handle(), HALFTONE);
    StretchBlt(C.Handle(), 134, 10, 20, 28, Art->Canvas().Handle(), 0, 0, 312, 432, SRCCOPY);
    const std::string Path = test::SavePicture(test::ImageOf(*B), "canvas_sample");
    EXPECT_EQ(C.Pixels(0, 0), clNavy) << Path;
}

}  // namespace
}  // namespace zent
