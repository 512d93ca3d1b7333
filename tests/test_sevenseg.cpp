#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>
#include <QAccessible>
#include <QApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <random>
#include <string_view>

#include <climits>
#include <cstring>
#include <map>
#include <vector>

#include "Zent_components.h"
#include "Zent_forms.h"
#include "Zent_segglyphs.h"
#include "Zent_sevenseg.h"
#include "Zent_sysutils.h"
#include "test_support.h"

using namespace zent;

namespace {

// ------------------------------------------------------------ caption reading

int Sym(char Ch) {
    return int(GlyphChars.find(Ch)) + 1;
}

struct TCaptionCase {
    std::string Caption;
    int NumDigits;
    std::vector<TDigitCell> Expected;
};

std::string Show(const TCaptionCells& R) {
    std::string S;
    for (int j = 0; j < R.Count; ++j) {
        const auto C = R.Cells[j];
        S += C.Symbol ? GlyphChars[C.Symbol - 1] : '_';
        if (C.Point) S += '.';
        S += ' ';
    }
    return S;
}

TEST(ReadCaption, FillsCellsFromTheLeft) {
    const TDigitCell E8P{uint8_t(Sym('8')), true}, Pt{0, true}, Blank{0, false};
    auto S = [](char Ch, bool Point = false) { return TDigitCell{uint8_t(Sym(Ch)), Point}; };
    const std::vector<TCaptionCase> Cases = {
        {"8.8.8.8.", 4, {E8P, E8P, E8P, E8P}},
        {"8.8.8.8.", 2, {E8P, E8P}},
        {"12", 6, {S('1'), S('2')}},
        {".5", 4, {Pt, S('5')}},
        {"5..", 4, {S('5', true), Pt}},
        {"3,14", 4, {S('3', true), S('1'), S('4')}},
        {"abcdef", 6, {S('A'), S('B'), S('C'), S('D'), S('E'), S('F')}},
        {"g", 4, {Blank}},
        {"1 2", 4, {S('1'), Blank, S('2')}},
        {"  ", 4, {Blank, Blank}},
        {"12:30", 4, {S('1'), S('2'), S(':'), S('3')}},
        {"-12:45\xB0"
         "C",
         8,
         {S('-'), S('1'), S('2'), S(':'), S('4'), S('5'), S('\xB0'), S('C')}},
        {"+.", 4, {S('+', true)}},
        {"", 4, {}},
        {std::string("\0"
                     "8",
                     2),
         4,
         {Blank, S('8')}},
        {std::string("8\0.", 3), 4, {S('8'), Pt}},
        {"\xFF.\xFF", 4, {{0, true}, Blank}},
        {"8.", 0, {}},
        {"8.", -1, {}},
        {"..", 1, {Pt}},
    };
    for (const auto& C : Cases) {
        const TCaptionCells R = ReadCaption(C.Caption, C.NumDigits);
        TCaptionCells Want;
        Want.Count = int(C.Expected.size());
        std::copy(C.Expected.begin(), C.Expected.end(), Want.Cells.begin());
        EXPECT_EQ(Show(R), Show(Want)) << "caption \"" << C.Caption << "\" in " << C.NumDigits << " cells";
        EXPECT_TRUE(std::equal(R.Cells.begin(), R.Cells.begin() + R.Count, Want.Cells.begin()));
    }
}

// A Unicode caption reads as its Latin-1 bytes would, and a character
// outside Latin-1, a surrogate pair too, leaves one empty cell.
TEST(ReadCaption, UnicodeCaptions) {
    const auto S = [](char Ch, bool Point = false) { return TDigitCell{uint8_t(Sym(Ch)), Point}; };
    const TDigitCell Blank{0, false};
    const std::pair<QString, std::vector<TDigitCell>> Cases[] = {
        {QStringLiteral("1\u03A92"), {S('1'), Blank, S('2')}},
        {QStringLiteral("\U0001F600"
                        "8."),
         {Blank, S('8', true)}},
        {QStringLiteral("8\u2024"), {S('8'), Blank}},  // a one-dot leader is no point
        {QStringLiteral("\u00B0"
                        "C"),
         {S('\xB0'), S('C')}},
    };
    for (const auto& [Caption, Expected] : Cases) {
        const TCaptionCells R = ReadCaption(Caption, 8);
        TCaptionCells Want;
        Want.Count = int(Expected.size());
        std::copy(Expected.begin(), Expected.end(), Want.Cells.begin());
        EXPECT_EQ(Show(R), Show(Want)) << Caption.toStdString();
    }
    std::mt19937 Rnd(11);
    for (int i = 0; i < 2000; ++i) {
        std::string Bytes(Rnd() % 40, ' ');
        static constexpr std::string_view Alphabet = "0123456789.,:-+ABCDEFabcdefg \xB0\xFF";
        for (char& B : Bytes) B = Alphabet[Rnd() % Alphabet.size()];
        const int Digits = int(Rnd() % 34);
        EXPECT_EQ(ReadCaption(QString::fromLatin1(Bytes.data(), qsizetype(Bytes.size())), Digits),
                  ReadCaption(Bytes, Digits))
            << Bytes;
    }
}

TEST(ReadCaption, NeverReadsPastTheLastCell) {
    // A million characters whose readable part ends after 64 bytes: reading
    // further than 32 cells need would fault on the protected page.
    const long Page = sysconf(_SC_PAGESIZE);
    auto* Base = static_cast<char*>(
        mmap(nullptr, 2 * Page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(Base, MAP_FAILED);
    ASSERT_EQ(mprotect(Base + Page, Page, PROT_NONE), 0);
    char* Text = Base + Page - 64;
    std::memset(Text, '8', 64);
    const TCaptionCells R = ReadCaption(std::string_view(Text, 1'000'000), 100);
    EXPECT_EQ(R.Count, MaxDigits);
    EXPECT_EQ(R.Cells[31], (TDigitCell{uint8_t(Sym('8')), false}));
    munmap(Base, 2 * Page);
}

// ------------------------------------------------------------ the widget

class TCountingSevenSeg : public TSevenSeg {
public:
    using TSevenSeg::TSevenSeg;
    int Paints = 0;
    void Paint() override {
        ++Paints;
        TSevenSeg::Paint();
    }
};

struct TCapturedReports {
    std::vector<std::string> Messages;
    TErrorReporter Previous;
    TCapturedReports() {
        Previous =
            SetErrorReporter([this](const std::string&, const std::string& M) { Messages.push_back(M); });
    }
    ~TCapturedReports() { SetErrorReporter(Previous); }
};

// The pixel of Image (a grab of Seg) that shows master point (mx, my) of cell j (from 0).
TColor MasterPixel(const TSevenSeg& Seg, const QImage& Image, int j, int mx, int my) {
    const TCellGeometry G = Seg.Geometry();
    const int x =
        Seg.Margin() + j * int(G.Pitch) + int(int64_t(2 * mx + 1) * G.GlyphWidth / (2 * MasterWidth));
    const int y = Seg.Margin() + int(int64_t(2 * my + 1) * G.GlyphHeight / (2 * MasterHeight));
    return test::PixelAt(Image, x, y);
}

// A shown display of 374 x 96 in a window, as the demo places it.
struct ShownDisplay : ::testing::Test {
    TCapturedReports Reports;
    QWidget Window;
    TCountingSevenSeg* Seg;

    ShownDisplay() {
        Window.resize(394, 116);
        Seg = new TCountingSevenSeg(&Window);
        Seg->SetName("SevenSeg1");
        Seg->SetBounds(10, 10, 374, 96);
        Window.show();
        QApplication::processEvents();
    }
    ~ShownDisplay() override { EXPECT_TRUE(Reports.Messages.empty()) << Reports.Messages.front(); }

    void Configure(int Digits, TColor Back, TColor Text) {
        Seg->SetNumDigits(Digits);
        Seg->SetMargin(10);
        Seg->SetInterDigDist(4);
        Seg->SetColorBackGnd(Back);
        Seg->SetColorText(Text);
    }
    QImage Grab() { return test::Grab(*Seg); }
    TColor At(const QImage& Image, int j, int mx, int my) const {
        return MasterPixel(*Seg, Image, j, mx, my);
    }
};

// Centres of the seven segments, the point and the degree sign's hole on the master.
constexpr int SegCentre[8][2] = {{0, 0},     {194, 19}, {71, 118},  {278, 118},
                                 {157, 216}, {34, 315}, {241, 315}, {120, 413}};
constexpr int PointCentre[2] = {288, 413};
constexpr int DegreeHole[2] = {230, 70};
constexpr int DegreeRing[2] = {175, 69};

bool Lit(char Symbol, int Segment) {
    for (const uint8_t S : SegmentMap[SegmentRow(Symbol)])
        if (S == Segment) return true;
    return false;
}

// The lit segments of each symbol by their usual letters: a top, b upper
// right, c lower right, d bottom, e lower left, f upper left, g middle.
const std::map<char, std::string> SegmentLetters = {
    {'0', "abcdef"}, {'1', "bc"},   {'2', "abdeg"},   {'3', "abcdg"},  {'4', "bcfg"}, {'5', "acdfg"},
    {'6', "acdefg"}, {'7', "abc"},  {'8', "abcdefg"}, {'9', "abcdfg"}, {'-', "g"},    {'A', "abcefg"},
    {'B', "cdefg"},  {'C', "adef"}, {'D', "bcdeg"},   {'E', "adefg"},  {'F', "aefg"},
};
// SegCentre index of each letter a..g.
constexpr int LetterSegment[7] = {1, 3, 6, 7, 5, 2, 4};

// Every segment of every cell of Shot that shows a digit, '-' or a letter is
// lit exactly when its letter says so.
void ExpectSegmentsShown(const TSevenSeg& Seg, const QImage& Shot, TColor Text, TColor Back) {
    const TCaptionCells Cells = ReadCaption(Seg.Caption(), Seg.NumDigits());
    for (int j = 0; j < Cells.Count; ++j) {
        if (!Cells.Cells[j].Symbol) continue;
        const auto Letters = SegmentLetters.find(GlyphChars[Cells.Cells[j].Symbol - 1]);
        if (Letters == SegmentLetters.end()) continue;
        for (int l = 0; l < 7; ++l) {
            const int* C = SegCentre[LetterSegment[l]];
            const bool On = Letters->second.find(char('a' + l)) != std::string::npos;
            EXPECT_EQ(MasterPixel(Seg, Shot, j, C[0], C[1]), On ? Text : Back)
                << "'" << Letters->first << "' in cell " << j << ", segment " << char('a' + l);
        }
    }
}

TEST(SevenSeg, StartsAsDescribed) {
    TSevenSeg Seg;
    EXPECT_EQ(Seg.GlyphCacheStats().Rebuilds, 0) << "built before anything was shown";
    // Four red eights with their points on dark grey, in a lowered frame.
    const QImage Shot = test::Grab(Seg);
    ExpectSegmentsShown(Seg, Shot, clRed, 0x333333);
    for (int j = 0; j < 4; ++j) EXPECT_EQ(MasterPixel(Seg, Shot, j, PointCentre[0], PointCentre[1]), clRed);
    EXPECT_EQ(test::PixelAt(Shot, 0, 0), clGray);
    EXPECT_EQ(test::PixelAt(Shot, 215, 75), clWhite);
    EXPECT_EQ(test::PixelAt(Shot, 57, 40), 0x333333);  // between the first two cells
    EXPECT_EQ(Seg.Caption(), "8.8.8.8.");
    EXPECT_EQ(Seg.ColorBackGnd(), 0x333333);
    EXPECT_EQ(Seg.ColorText(), clRed);
    EXPECT_EQ(Seg.NumDigits(), 4);
    EXPECT_EQ(Seg.Margin(), 8);
    EXPECT_EQ(Seg.InterDigDist(), 2);
    EXPECT_EQ(Seg.FrameStyle(), fsLowered);
    EXPECT_EQ(Seg.ColorScheme(), csBWG);
    EXPECT_EQ(Seg.Width(), 216);
    EXPECT_EQ(Seg.Height(), 76);
    EXPECT_EQ(Seg.GlyphStrip().Width(), 1008);
    EXPECT_EQ(Seg.GlyphStrip().Height(), 60);
    EXPECT_EQ(Seg.MasterGlyph().Width(), MasterWidth);
    EXPECT_EQ(Seg.property("NumDigits").toInt(), 4);
    EXPECT_EQ(Seg.property("Caption").toString(), QString("8.8.8.8."));
}

TEST(SevenSeg, PublishedPropertiesGoThroughTheSetters) {
    QWidget Window;
    TSevenSeg Seg(&Window);
    EXPECT_TRUE(Seg.setProperty("Caption", QString::fromLatin1("-5\xB0")));
    EXPECT_EQ(Seg.Caption(), "-5\xB0");
    Seg.setProperty("FrameStyle", int(fsRaised));
    Seg.setProperty("ColorScheme", int(csSystem));
    Seg.setProperty("FrameStyle", 6);  // no such style: ignored
    Seg.setProperty("ColorScheme", -1);
    EXPECT_EQ(Seg.FrameStyle(), fsRaised);
    EXPECT_EQ(Seg.ColorScheme(), csSystem);
    EXPECT_EQ(Seg.SchemeShadow(), clBtnShadow);
    EXPECT_EQ(Seg.SchemeHighlight(), clBtnHighlight);
    Seg.setProperty("ColorText", QColor(Qt::green));
    EXPECT_EQ(Seg.ColorText(), clLime);
}

TEST_F(ShownDisplay, SettersIgnoreClampAndRepaintAtOnce) {
    struct Step {
        const char* What;
        std::function<void()> Write;
        std::function<int()> Read;
        int Stored, Paints;
    };
    const std::vector<Step> Steps = {
        {"NumDigits 0", [&] { Seg->SetNumDigits(0); }, [&] { return Seg->NumDigits(); }, 4, 0},
        {"NumDigits 33", [&] { Seg->SetNumDigits(33); }, [&] { return Seg->NumDigits(); }, 4, 0},
        {"NumDigits -1", [&] { Seg->SetNumDigits(-1); }, [&] { return Seg->NumDigits(); }, 4, 0},
        {"NumDigits 4 again", [&] { Seg->SetNumDigits(4); }, [&] { return Seg->NumDigits(); }, 4, 0},
        {"NumDigits 32", [&] { Seg->SetNumDigits(32); }, [&] { return Seg->NumDigits(); }, 32, 1},
        {"Margin 60", [&] { Seg->SetMargin(60); }, [&] { return Seg->Margin(); }, 47, 1},
        // 60 differs from the stored 47, so it is limited and written again.
        {"Margin 60 again", [&] { Seg->SetMargin(60); }, [&] { return Seg->Margin(); }, 47, 1},
        {"Margin 47", [&] { Seg->SetMargin(47); }, [&] { return Seg->Margin(); }, 47, 0},
        {"Margin -3", [&] { Seg->SetMargin(-3); }, [&] { return Seg->Margin(); }, -3, 1},
        {"InterDigDist 300", [&] { Seg->SetInterDigDist(300); }, [&] { return Seg->InterDigDist(); }, 255, 1},
        {"InterDigDist 300 again", [&] { Seg->SetInterDigDist(300); }, [&] { return Seg->InterDigDist(); },
         255, 0},
        {"InterDigDist -7", [&] { Seg->SetInterDigDist(-7); }, [&] { return Seg->InterDigDist(); }, -7, 1},
        {"ColorText", [&] { Seg->SetColorText(clYellow); }, [&] { return Seg->ColorText(); }, clYellow, 1},
        {"ColorText same", [&] { Seg->SetColorText(clYellow); }, [&] { return Seg->ColorText(); }, clYellow,
         0},
        {"ColorBackGnd", [&] { Seg->SetColorBackGnd(clNavy); }, [&] { return Seg->ColorBackGnd(); }, clNavy,
         1},
        {"ColorBackGnd same", [&] { Seg->SetColorBackGnd(clNavy); }, [&] { return Seg->ColorBackGnd(); },
         clNavy, 0},
        {"Caption", [&] { Seg->SetCaption("12"); }, [&] { return int(Seg->Caption().size()); }, 2, 1},
        {"Caption same", [&] { Seg->SetCaption("12"); }, [&] { return int(Seg->Caption().size()); }, 2, 0},
    };
    for (const auto& S : Steps) {
        const int Before = Seg->Paints;
        S.Write();
        EXPECT_EQ(S.Read(), S.Stored) << S.What;
        EXPECT_EQ(Seg->Paints - Before, S.Paints) << S.What << ": paints before the setter returned";
    }
}

TEST_F(ShownDisplay, FrameStyleAndColorSchemeRepaintLater) {
    for (const auto& Write : std::vector<std::function<void()>>{[&] { Seg->SetFrameStyle(fsRaised); },
                                                                [&] { Seg->SetColorScheme(csSystem); }}) {
        const int Before = Seg->Paints;
        Write();
        EXPECT_EQ(Seg->Paints, Before);
        QApplication::processEvents();
        EXPECT_EQ(Seg->Paints, Before + 1);
        // The raised frame is shown: white, not the lowered frame's grey, at the top left.
        EXPECT_EQ(test::PixelAt(Grab(), 0, 0), clWhite);
    }
    EXPECT_EQ(Seg->SchemeDark(), clBlack);
    const int Before = Seg->Paints;
    Seg->SetFrameStyle(fsRaised);
    QApplication::processEvents();
    EXPECT_EQ(Seg->Paints, Before);
}

TEST_F(ShownDisplay, ResizeRebuildsTheStripOnlyForANewSize) {
    int Before = Seg->Paints;
    Seg->SetBounds(10, 10, 300, 80);
    QApplication::processEvents();
    EXPECT_GE(Seg->Paints - Before, 1);
    EXPECT_EQ(Seg->GlyphStrip().Width(), 21 * ((300 - 16) / 4 - 2));
    EXPECT_EQ(Seg->GlyphStrip().Height(), 80 - 16);

    QApplication::processEvents();
    Before = Seg->Paints;
    Seg->SizeChanged(Seg);  // same size: nothing
    Seg->SetLeft(5);        // a move is no size change
    EXPECT_EQ(Seg->Paints, Before);

    // With OnResize taken over, the next paint still finds a strip that fits.
    Seg->OnResize = [](QObject*) {};
    Seg->SetBounds(10, 10, 374, 96);
    Seg->SetCaption("88");
    EXPECT_EQ(Seg->GlyphStrip().Width(), 21 * ((374 - 16) / 4 - 2));
    EXPECT_EQ(At(Grab(), 1, SegCentre[4][0], SegCentre[4][1]), clRed);
}

TEST(SevenSeg, WithoutAParentSettersStoreAndTheFirstShowPaints) {
    TCapturedReports Reports;
    QWidget Window;
    Window.resize(320, 100);
    auto* Seg = new TSevenSeg;
    Seg->SetNumDigits(7);
    Seg->SetCaption("1");
    Seg->SetColorText(clLime);
    Seg->SetBounds(0, 0, 300, 80);
    EXPECT_EQ(Seg->NumDigits(), 7);
    EXPECT_EQ(Seg->Caption(), "1");
    EXPECT_EQ(Seg->GlyphCacheStats().Rebuilds, 0) << "nothing is built before the first paint";
    Seg->setParent(&Window);
    Window.show();
    QApplication::processEvents();
    EXPECT_TRUE(Reports.Messages.empty());
    EXPECT_EQ(Seg->GlyphCacheStats().Rebuilds, 1);
    ExpectSegmentsShown(*Seg, test::Grab(*Seg), clLime, 0x333333);
}

TEST(SevenSeg, CellGeometry) {
    struct Case {
        int W, H, Margin, Gap, Digits;
        int64_t Pitch, Cw, Ch;
        bool Valid;
    } Cases[] = {
        {216, 76, 8, 2, 4, 50, 48, 60, true},
        {374, 96, 10, 4, 6, 59, 55, 76, true},
        {374, 96, 10, 4, 8, 44, 40, 76, true},
        {374, 96, 32, 20, 32, 9, -11, 32, false},
        {0, 0, 8, 2, 4, -4, -6, -16, false},
        {374, 96, INT_MIN, INT_MIN, 1, 4294967670, 4294967670 + 2147483648, 4294967392, false},
        {1920, 540, 8, 2, 1, 1904, 1902, 524, true},
        {16000, 16000, 0, 0, 1, 16000, 16000, 16000, false},  // a strip of 5.4 GB is refused
    };
    for (const auto& C : Cases) {
        const auto G = TCellGeometry::Of(C.W, C.H, C.Margin, C.Gap, C.Digits);
        EXPECT_EQ(G.Pitch, C.Pitch) << C.W << "x" << C.H << "/" << C.Digits;
        EXPECT_EQ(G.GlyphWidth, C.Cw) << C.W << "x" << C.H << "/" << C.Digits;
        EXPECT_EQ(G.GlyphHeight, C.Ch) << C.W << "x" << C.H << "/" << C.Digits;
        EXPECT_EQ(G.Valid(), C.Valid) << C.W << "x" << C.H << "/" << C.Digits;
    }
}

TEST_F(ShownDisplay, CellsAreCopiedFromTheStripAtTheirPlaces) {
    for (const int Digits : {6, 8}) {
        Configure(Digits, 0x202020, clRed);
        Seg->SetCaption(Digits == 6 ? "-12:4\xB0" : "8.8.8.8.8.8.8.8.");
        const QImage Shot = Grab();
        const QImage& Strip = test::ImageOf(Seg->GlyphStrip());
        const TCellGeometry G = Seg->Geometry();
        ASSERT_EQ(Strip.width(), 21 * G.GlyphWidth);
        ASSERT_EQ(Strip.height(), 76);
        const auto Cells = ReadCaption(Seg->Caption(), Digits);
        for (int j = 0; j < Cells.Count; ++j) {
            const int x0 = 10 + j * int(G.Pitch), k = Cells.Cells[j].Symbol, cw = int(G.GlyphWidth);
            int Mismatches = 0;
            // The frame covers rows 0..1 and 94..95, outside the cells. A
            // decimal point replaces the lower right sixth by that of symbol 21.
            for (int y = 0; y < 76; ++y)
                for (int x = 0; x < cw; ++x) {
                    const bool Corner = Cells.Cells[j].Point && x >= 5 * cw / 6 && y >= 5 * 76 / 6;
                    const int Source = Corner ? 21 : k;
                    Mismatches += test::PixelAt(Shot, x0 + x, 10 + y) !=
                                  PixelToRGB(Strip.pixel((Source - 1) * cw + x, y));
                }
            EXPECT_EQ(Mismatches, 0) << "cell " << j << " of " << Digits;
            // The gap after each cell shows background.
            EXPECT_EQ(test::PixelAt(Shot, x0 + int(G.GlyphWidth) + 1, 50), 0x202020)
                << "gap after cell " << j;
        }
    }
}

TEST_F(ShownDisplay, SegmentsPointsAndFrameOnScreen) {
    Configure(8, 0x202020, clRed);
    Seg->SetCaption(
        "-12:45\xB0"
        "C");
    Seg->SetNumDigits(8);
    QImage Shot = Grab();
    const std::string Symbols =
        "-12:45\xB0"
        "C";
    for (int j = 0; j < 8; ++j)
        for (int s = 1; s <= 7 && j != 6; ++s)  // the degree ring covers segment places
            EXPECT_EQ(At(Shot, j, SegCentre[s][0], SegCentre[s][1]), Lit(Symbols[j], s) ? clRed : 0x202020)
                << "cell " << j << " segment " << s;
    EXPECT_EQ(At(Shot, 6, DegreeHole[0], DegreeHole[1]), 0x202020);
    EXPECT_EQ(At(Shot, 6, DegreeRing[0], DegreeRing[1]), clRed);
    for (int j = 0; j < 8; ++j) EXPECT_EQ(At(Shot, j, PointCentre[0], PointCentre[1]), 0x202020);

    Seg->SetCaption("3.14159");
    Shot = Grab();
    EXPECT_EQ(At(Shot, 0, PointCentre[0], PointCentre[1]), clRed);
    EXPECT_EQ(At(Shot, 1, PointCentre[0], PointCentre[1]), 0x202020);
    for (int j = 6; j < 8; ++j)  // beyond the caption: background only
        for (int s = 1; s <= 7; ++s) EXPECT_EQ(At(Shot, j, SegCentre[s][0], SegCentre[s][1]), 0x202020);

    // The lowered frame: grey over black at the top left, white over silver at the bottom right.
    const struct {
        int X, Y;
        TColor C;
    } Frame[] = {{0, 0, clGray},    {373, 0, clGray},    {0, 94, clGray},    {1, 1, clBlack},
                 {372, 1, clBlack}, {0, 95, clWhite},    {373, 95, clWhite}, {373, 1, clWhite},
                 {1, 94, clSilver}, {372, 94, clSilver}, {2, 2, 0x202020},   {371, 93, 0x202020}};
    for (const auto& F : Frame) EXPECT_EQ(test::PixelAt(Shot, F.X, F.Y), F.C) << F.X << "," << F.Y;
}

TEST_F(ShownDisplay, WhiteTextAndRepeatedRecolouring) {
    Configure(8, 0x202020, clWhite);
    Seg->SetCaption(
        "8\xB0"
        "8.");
    QImage Shot = Grab();
    EXPECT_EQ(At(Shot, 0, SegCentre[4][0], SegCentre[4][1]), 0xFEFEFE);
    EXPECT_EQ(At(Shot, 1, DegreeRing[0], DegreeRing[1]), 0xFEFEFE);
    EXPECT_EQ(At(Shot, 1, DegreeHole[0], DegreeHole[1]), 0x202020);
    EXPECT_EQ(At(Shot, 2, PointCentre[0], PointCentre[1]), 0xFEFEFE);

    // A system colour that resolves to white is kept off pure white as well.
    Seg->SetColorText(clBtnHighlight);
    const TColor Resolved = ColorToRGB(clBtnHighlight);
    EXPECT_EQ(At(Grab(), 0, SegCentre[4][0], SegCentre[4][1]), Resolved == clWhite ? 0xFEFEFE : Resolved);

    for (const TColor Text : {clLime, clBlue, clLime}) {
        Seg->SetColorText(Text);
        Shot = Grab();
        for (int s = 1; s <= 7; ++s) EXPECT_EQ(At(Shot, 0, SegCentre[s][0], SegCentre[s][1]), Text);
        EXPECT_EQ(At(Shot, 1, DegreeRing[0], DegreeRing[1]), Text);
        EXPECT_EQ(At(Shot, 2, PointCentre[0], PointCentre[1]), Text);
    }

    // A white background keeps the surround white and the hole white.
    Seg->SetColorBackGnd(clWhite);
    Shot = Grab();
    EXPECT_EQ(At(Shot, 1, DegreeHole[0], DegreeHole[1]), clWhite);
    EXPECT_EQ(At(Shot, 0, SegCentre[1][0], SegCentre[1][1]), clLime);

    // Text in the background colour: every cell looks empty.
    Seg->SetColorBackGnd(clNavy);
    Seg->SetColorText(clNavy);
    Shot = Grab();
    for (int y = 2; y < 94; ++y)
        for (int x = 2; x < 372; ++x) ASSERT_EQ(test::PixelAt(Shot, x, y), clNavy) << x << "," << y;
}

TEST_F(ShownDisplay, GeometryWithoutRoomForCellsShowsBackgroundAndFrame) {
    const auto OnlyBackground = [&](const char* What) {
        const QImage Shot = Grab();
        int Other = 0;
        for (int y = 2; y < Seg->Height() - 2; ++y)
            for (int x = 2; x < Seg->Width() - 2; ++x) Other += test::PixelAt(Shot, x, y) != 0x202020;
        EXPECT_EQ(Other, 0) << What;
        if (Seg->Width() >= 4) {
            EXPECT_EQ(test::PixelAt(Shot, 0, 0), clGray) << What;
        }
    };
    Configure(32, 0x202020, clRed);
    Seg->SetMargin(32);
    Seg->SetInterDigDist(20);  // cell width -11
    EXPECT_TRUE(Seg->GlyphStrip().Empty());
    OnlyBackground("negative cell width");
    Seg->SetInterDigDist(INT_MIN);  // cell width beyond any strip
    OnlyBackground("huge cell width");
    Seg->SetInterDigDist(4);
    Seg->SetMargin(48);  // limited to 47: two rows of cells
    Seg->SetCaption(std::string(1'000'000, '8'));
    EXPECT_EQ(Seg->GlyphStrip().Height(), 2);
    Seg->SetMargin(INT_MIN);  // cell height beyond any strip
    OnlyBackground("huge cell height");

    for (const auto& [W, H] : {std::pair{0, 0}, {1, 1}, {3, 3}, {2, 50}}) {
        Seg->SetBounds(10, 10, W, H);
        QApplication::processEvents();
        Seg->SetMargin(0);
        Seg->SetCaption(std::to_string(W * 100 + H));
        if (W > 0) OnlyBackground("tiny control");
    }
}

TEST_F(ShownDisplay, NegativeMarginClipsCellsAtTheEdges) {
    Configure(4, 0x202020, clRed);
    Seg->SetMargin(-20);
    Seg->SetCaption("8888");
    const QImage Shot = Grab();
    EXPECT_EQ(Seg->GlyphStrip().Height(), 136);
    EXPECT_EQ(At(Shot, 0, SegCentre[4][0], SegCentre[4][1]), clRed);
}

TEST_F(ShownDisplay, AssignCopiesSettingsAndRepaintsLater) {
    Configure(6, 0x102030, clLime);
    Seg->SetCaption("42");
    Seg->SetColorScheme(csSystem);
    Seg->SetFrameStyle(fsSimple);
    TCountingSevenSeg* Copy = new TCountingSevenSeg(&Window);
    Copy->SetBounds(0, 0, 374, 96);
    Copy->show();
    QApplication::processEvents();
    const int Before = Copy->Paints;
    Copy->Assign(Seg);
    EXPECT_EQ(Copy->Paints, Before);
    EXPECT_EQ(Copy->Caption(), "42");
    EXPECT_EQ(Copy->NumDigits(), 6);
    EXPECT_EQ(Copy->Margin(), 10);
    EXPECT_EQ(Copy->InterDigDist(), 4);
    EXPECT_EQ(Copy->ColorBackGnd(), 0x102030);
    EXPECT_EQ(Copy->ColorText(), clLime);
    EXPECT_EQ(Copy->FrameStyle(), fsSimple);
    EXPECT_EQ(Copy->ColorScheme(), csSystem);
    EXPECT_EQ(Copy->SchemeShadow(), clBtnShadow);
    EXPECT_EQ(Copy->GlyphStrip().Width(), 21 * 55);
    EXPECT_EQ(test::ImageOf(Copy->GlyphStrip()), test::ImageOf(Seg->GlyphStrip()));
    QApplication::processEvents();
    EXPECT_EQ(Copy->Paints, Before + 1);

    TSevenSeg Third(&Window);
    Seg->AssignTo(&Third);
    EXPECT_EQ(Third.Caption(), "42");
    EXPECT_EQ(Third.ColorText(), clLime);
}

TEST(SevenSeg, AssignBetweenUnrelatedObjectsFails) {
    TSevenSeg Seg;
    QObject Plain;
    QWidget Window;
    TGraphicControl Control(&Window);
    const auto Message = [](const std::function<void()>& Call) {
        try {
            Call();
        } catch (const EConvertError& E) {
            return std::string(E.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(Message([&] { Seg.Assign(&Plain); }), "Cannot assign a QObject to a TSevenSeg");
    EXPECT_EQ(Message([&] { Seg.Assign(nullptr); }), "Cannot assign a nil to a TSevenSeg");
    EXPECT_EQ(Message([&] { Seg.Assign(&Control); }), "Cannot assign a TGraphicControl to a TSevenSeg");
    EXPECT_EQ(Message([&] { Seg.AssignTo(&Plain); }), "Cannot assign a TSevenSeg to a QObject");
    EXPECT_EQ(Seg.Caption(), "8.8.8.8.");
}

TEST_F(ShownDisplay, StripCellsHoldTheirSymbolsOnly) {
    Configure(6, 0x202020, clRed);
    const QImage& Strip = test::ImageOf(Seg->GlyphStrip());
    const int cw = int(Seg->Geometry().GlyphWidth), h = Strip.height();
    const auto CornerLit = [&](int k) {  // any text in the lower right sixth of cell k
        for (int y = 5 * h / 6; y < h; ++y)
            for (int x = 5 * cw / 6; x < cw; ++x)
                if (PixelToRGB(Strip.pixel((k - 1) * cw + x, y)) != 0x202020) return true;
        return false;
    };
    for (int k = 1; k <= 20; ++k) EXPECT_FALSE(CornerLit(k)) << "symbol " << k;
    EXPECT_TRUE(CornerLit(21));
    for (int y = 0; y < 5 * h / 6; ++y)
        for (int x = 0; x < cw; ++x) ASSERT_EQ(PixelToRGB(Strip.pixel(20 * cw + x, y)), 0x202020);

    // Scaled by averaging: the edges of the "8" blend text and background.
    int Blended = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < cw; ++x) {
            const TColor C = PixelToRGB(Strip.pixel(8 * cw + x, y));
            Blended += C != 0x202020 && C != clRed;
        }
    EXPECT_GT(Blended, cw + h) << "no blended edge pixels in the strip's 8";

    // Pieces go on like stencils: the lit pixels of "8" on the master are
    // exactly the black pixels of its seven artworks laid at their origins.
    std::vector<bool> Black(size_t(MasterWidth) * MasterHeight);
    for (int s = 1; s <= 7; ++s) {
        TBitmap Art;
        Art.LoadFromResource(0, SegmentKind[s] ? "SEGHORZ" : "SEGVERT");
        for (int y = 0; y < Art.Height(); ++y)
            for (int x = 0; x < Art.Width(); ++x)
                if (Art.Canvas().Pixels(x, y) == clBlack)
                    Black[size_t(SegmentOrigin[s].Y + y) * MasterWidth + SegmentOrigin[s].X + x] = true;
    }
    TGlyphFactory Glyphs;  // composes on the master all displays share
    Glyphs.Reset({clRed, 0x202020, Seg->Geometry(), 1});
    Glyphs.RenderGlyph('8');
    int Wrong = 0;
    for (int y = 0; y < MasterHeight; ++y)
        for (int x = 0; x < MasterWidth; ++x)
            Wrong += (Glyphs.Master().Canvas().Pixels(x, y) == clRed) != Black[size_t(y) * MasterWidth + x];
    EXPECT_EQ(Wrong, 0) << "master pixels of \"8\" unlike its artworks";
}

// A caption change renews only the cells that changed; the picture must stay
// the one a full composition gives, whatever the sequence of captions.
TEST_F(ShownDisplay, CellByCellUpdatesMatchAFullComposition) {
    Configure(8, 0x202020, clRed);
    auto* Ref = new TSevenSeg(&Window);
    Ref->SetBounds(10, 10, 374, 96);
    Ref->SetNumDigits(8);
    Ref->SetMargin(10);
    Ref->SetInterDigDist(4);
    Ref->SetColorBackGnd(0x202020);
    Ref->hide();  // painted only through grab, after its picture is forced anew
    std::mt19937 Rnd(1234);
    const std::string Alphabet =
        "0123456789-+:\xB0"
        "ABCDEFabg .,";
    for (int Step = 0; Step < 150; ++Step) {
        if (Step == 100) {  // cells that touch the frame are always composed whole
            Seg->SetMargin(1);
            Ref->SetMargin(1);
        }
        std::string Caption(Rnd() % 13, ' ');
        for (char& Ch : Caption) Ch = Alphabet[Rnd() % Alphabet.size()];
        Seg->SetCaption(Caption);
        Ref->SetCaption(Caption);
        Ref->SetFrameStyle(fsRaised);
        Ref->SetFrameStyle(fsLowered);
        const QImage Shown = Grab(), Expected = test::Grab(*Ref);
        if (Shown != Expected) {
            test::SavePicture(Shown, "sevenseg_incremental_actual");
            test::SavePicture(Expected, "sevenseg_incremental_expected");
            FAIL() << "step " << Step << ", caption '" << Caption << "'";
        }
    }
}

// A caption change draws its cells straight onto the screen; what the screen
// shows must be what a full composition gives, also when other repaints are
// pending, when glyphs cannot be kept, and after paints of other kinds.
TEST_F(ShownDisplay, ScreenAfterCaptionChangesMatchesAFullComposition) {
    Configure(8, 0x202020, clRed);
    auto* Ref = new TSevenSeg(&Window);
    Ref->SetBounds(10, 10, 374, 96);
    Ref->hide();
    Ref->Assign(Seg);
    // A widget over the display that goes away leaves its pixels on the
    // screen until the display's next paint covers them.
    auto* Cover = new QWidget(&Window);
    Cover->setAutoFillBackground(true);
    Cover->setPalette(QPalette(Qt::magenta));
    Cover->hide();
    // No glyph kept, room for one (with the gap it carries), all of them.
    const TCellGeometry G = Seg->Geometry();
    const int64_t Limits[3] = {0, 4 * G.Pitch * G.GlyphHeight, DefaultGlyphCacheLimit};
    std::mt19937 Rnd(4321);
    const std::string Alphabet =
        "0123456789-+:\xB0"
        "ABCDEFabg .,";
    for (int Step = 0; Step < 200; ++Step) {
        switch (Rnd() % 8) {
            case 0:
                Seg->update(Rnd() % 374, Rnd() % 96, 1 + Rnd() % 60, 1 + Rnd() % 40);
                break;
            case 1:
                Seg->SetGlyphCacheLimit(Limits[Rnd() % 3]);
                break;
            case 2:
                Seg->grab(QRect(Rnd() % 374, Rnd() % 96, 30, 30));
                break;
            case 3:
                Cover->setGeometry(10 + Rnd() % 374, 10 + Rnd() % 96, 1 + Rnd() % 80, 1 + Rnd() % 50);
                Cover->show();
                QApplication::processEvents();
                Cover->hide();
                break;
            case 4:
                Seg->BuildGlyphStrip();
                break;
            default:
                break;
        }
        std::string Caption(Rnd() % 11, ' ');
        for (char& Ch : Caption) Ch = Alphabet[Rnd() % Alphabet.size()];
        Seg->SetCaption(Caption);
        Ref->SetCaption(Caption);
        if (Step % 50 == 49) QApplication::processEvents();
        Ref->SetFrameStyle(fsRaised);  // composed whole at its next paint
        Ref->SetFrameStyle(fsLowered);
        const QImage Shown = test::OnScreen(*Seg), Expected = test::Grab(*Ref);
        if (Shown != Expected) {
            test::SavePicture(Shown, "sevenseg_screen_actual");
            test::SavePicture(Expected, "sevenseg_screen_expected");
            FAIL() << "step " << Step << ", caption '" << Caption << "'";
        }
    }
}

// Property writes that find nothing to paint only mark the glyphs stale:
// the first paint builds them once, and scales only the symbols shown.
TEST(SevenSeg, WritesBeforeTheFirstPaintBuildOnce) {
    const auto WriteLayout = [](TSevenSeg& Seg) {
        Seg.SetBounds(1, 1, 374, 96);
        for (const auto& [Name, Value] :
             std::vector<std::pair<const char*, QVariant>>{{"Caption", QString("8.8.8.8.8.8.8.8.")},
                                                           {"ColorBackGnd", QColor(0x20, 0x20, 0x20)},
                                                           {"ColorText", QColor(Qt::green)},
                                                           {"InterDigDist", 4},
                                                           {"Margin", 10},
                                                           {"NumDigits", 6}})
            Seg.setProperty(Name, Value);
    };
    struct Case {
        const char* What;
        std::function<void(QWidget&, TSevenSeg*&)> Make;  // ends with the display shown
    } Cases[] = {
        {"read from a layout, then shown",
         [&](QWidget& Window, TSevenSeg*& Seg) {
             {
                 TLayoutLoading Loading;
                 Seg = new TSevenSeg(&Window);
                 WriteLayout(*Seg);
             }
             EXPECT_EQ(Seg->GlyphCacheStats().Rebuilds, 0);
             Window.show();
         }},
        {"hidden in a shown window",
         [&](QWidget& Window, TSevenSeg*& Seg) {
             Window.show();
             QApplication::processEvents();
             Seg = new TSevenSeg(&Window);
             WriteLayout(*Seg);
             EXPECT_EQ(Seg->GlyphCacheStats().Rebuilds, 0);
             Seg->show();
         }},
        {"written without a parent",
         [&](QWidget& Window, TSevenSeg*& Seg) {
             Seg = new TSevenSeg;
             Seg->SetBounds(1, 1, 374, 96);
             Seg->SetColorBackGnd(0x202020);
             Seg->SetColorText(clLime);
             Seg->SetNumDigits(6);
             EXPECT_EQ(Seg->GlyphCacheStats().Rebuilds, 0);
             Seg->setParent(&Window);
             Window.show();
             Seg->show();
         }},
    };
    for (const auto& C : Cases) {
        QWidget Window;
        Window.resize(376, 98);
        TSevenSeg* Seg = nullptr;
        C.Make(Window, Seg);
        QApplication::processEvents();
        const QImage Shot = test::Grab(*Seg);
        EXPECT_EQ(Seg->GlyphCacheStats().Rebuilds, 1) << C.What;
        EXPECT_EQ(Seg->GlyphCacheStats().SymbolsScaled, 2) << C.What << ": the 8 and the point";
        ExpectSegmentsShown(*Seg, Shot, clLime, 0x202020);
    }
}

// Screen-sized displays show their digits, keeping at most the cache limit.
TEST(SevenSeg, BigDisplaysShowTheirDigits) {
    struct Case {
        int W, H, Cells;
        const char* Caption;
    } Cases[] = {{1920, 1080, 1, "8."}, {2560, 1440, 1, "8."}, {3840, 2160, 2, "4.2"}};
    for (const auto& C : Cases) {
        QWidget Window;
        Window.resize(C.W, C.H);
        auto* Seg = new TSevenSeg(&Window);
        Seg->SetBounds(0, 0, C.W, C.H);
        Seg->SetNumDigits(C.Cells);
        Seg->SetCaption(C.Caption);
        Window.show();
        QApplication::processEvents();
        const QImage Shot = test::Grab(*Seg);
        ExpectSegmentsShown(*Seg, Shot, clRed, 0x333333);
        test::SavePicture(Shot.scaledToHeight(270), "sevenseg_big_" + std::to_string(C.W));  // to look at
        EXPECT_EQ(MasterPixel(*Seg, Shot, 0, PointCentre[0], PointCentre[1]), clRed) << C.W << "x" << C.H;
        EXPECT_LE(Seg->GlyphCacheStats().Bytes, DefaultGlyphCacheLimit) << C.W << "x" << C.H;
        EXPECT_EQ(Seg->GlyphCacheStats().SymbolsScaled, C.Cells + 1) << C.W << "x" << C.H;
    }
}

// Displays of one look share their glyphs: in a panel each symbol is scaled
// once, and a display that changes colour leaves the others' glyphs alone.
TEST(SevenSeg, EqualDisplaysShareTheirGlyphs) {
    QWidget Window;
    Window.resize(390, 40);
    TSevenSeg* Panel[3];
    for (int i = 0; i < 3; ++i) {
        Panel[i] = new TSevenSeg(&Window);
        Panel[i]->SetBounds(i * 130, 0, 120, 40);
        Panel[i]->SetCaption("12.3");
    }
    Panel[2]->SetColorText(clLime);
    Window.show();
    QApplication::processEvents();
    const auto Scaled = [&Panel](int i) { return Panel[i]->GlyphCacheStats().SymbolsScaled; };
    EXPECT_EQ(Scaled(0) + Scaled(1), 4) << "1, 2, 3 and the point, once for both";
    EXPECT_EQ(Scaled(2), 4);
    EXPECT_EQ(test::Grab(*Panel[0]), test::Grab(*Panel[1]));

    Panel[0]->SetColorText(clYellow);
    const int Before = Scaled(1);
    Panel[1]->SetCaption("3.21");
    EXPECT_EQ(Scaled(1), Before);
    ExpectSegmentsShown(*Panel[1], test::Grab(*Panel[1]), clRed, 0x333333);
    ExpectSegmentsShown(*Panel[0], test::Grab(*Panel[0]), clYellow, 0x333333);
}

// However the glyphs are kept (none, room for one, all in a strip built on
// request), a seeded run of captions shows what a full composition shows.
TEST_F(ShownDisplay, GlyphCacheLimitsKeepThePixels) {
    Configure(8, 0x202020, clRed);
    auto* Ref = new TSevenSeg(&Window);
    Ref->SetBounds(10, 10, 374, 96);
    Ref->hide();
    Ref->Assign(Seg);
    const int64_t OneGlyph = 4 * Seg->Geometry().GlyphWidth * Seg->Geometry().GlyphHeight;
    const std::string Alphabet =
        "0123456789-+:\xB0"
        "ABCDEFabg .,";
    for (const auto& [Limit, Strip] : {std::pair{int64_t(0), false}, {OneGlyph, false}, {OneGlyph, true}}) {
        Seg->SetGlyphCacheLimit(Limit);
        if (Strip) Seg->BuildGlyphStrip();
        std::mt19937 Rnd(99);
        for (int Step = 0; Step < 40; ++Step) {
            std::string Caption(Rnd() % 11, ' ');
            for (char& Ch : Caption) Ch = Alphabet[Rnd() % Alphabet.size()];
            Seg->SetCaption(Caption);
            Ref->SetCaption(Caption);
            Ref->SetFrameStyle(fsRaised);  // composed whole at its next paint
            Ref->SetFrameStyle(fsLowered);
            const QImage Shown = Grab(), Expected = test::Grab(*Ref);
            ASSERT_EQ(Shown, Expected) << "limit " << Limit << (Strip ? " with strip" : "") << ", step "
                                       << Step << ", '" << Caption << "'";
            ASSERT_LE(Seg->GlyphCacheStats().Bytes, Limit);
        }
    }
}

// ------------------------------------------------------------ accessibility

// Assistive tools read what the cells show, and hear of every change to it.
TEST(SevenSegAccessible, NameIsWhatTheCellsShow) {
    struct Case {
        std::string Caption;
        int Digits;
        QString Name;
    } Cases[] = {
        {"123456", 4, "1234"},  // longer than the cells
        {"8.8.8.8.", 4, "8.8.8.8."},
        {"1 g2", 6, "1  2"},  // empty cells
        {"-12:45\xB0"
         "C",
         8, QString::fromUtf8("-12:45\u00B0C")},
        {"abcdef", 6, "AbCdEF"},
        {".5..", 4, ".5.."},
        {"", 4, ""},
    };
    using TEvent = test::TAccessibleEvents::TEvent;
    test::TAccessibleEvents Events;
    const auto NameChanges = [&](QObject* Object) {
        const auto Of = Events.Of(Object);
        return std::count_if(Of.begin(), Of.end(),
                             [](const TEvent& E) { return E.Type == QAccessible::NameChanged; });
    };
    QWidget Window;
    auto* Seg = new TSevenSeg(&Window);
    QAccessibleInterface* Face = QAccessible::queryAccessibleInterface(Seg);
    ASSERT_NE(Face, nullptr);
    EXPECT_EQ(Face->role(), QAccessible::StaticText);
    EXPECT_EQ(Face->text(QAccessible::Name), "8.8.8.8.");
    for (const auto& C : Cases) {
        Seg->SetNumDigits(C.Digits);
        Events.Clear();
        Seg->SetCaption(C.Caption);
        EXPECT_EQ(Face->text(QAccessible::Name), C.Name) << C.Caption;
        EXPECT_EQ(QString::fromStdString(Seg->ShownText()), C.Name.toLatin1()) << C.Caption;
        EXPECT_EQ(Events.Of(Seg), std::vector<TEvent>({{Seg, QAccessible::NameChanged, C.Name}}))
            << C.Caption;
    }
    // Only what the cells show counts: a caption cut off where it was
    // already cut off changes nothing; fewer cells do.
    Seg->SetNumDigits(4);
    Seg->SetCaption("123456");
    Events.Clear();
    Seg->SetCaption("1234567");
    EXPECT_EQ(NameChanges(Seg), 0);
    Seg->SetNumDigits(3);
    EXPECT_EQ(NameChanges(Seg), 1);
    EXPECT_EQ(Face->text(QAccessible::Name), "123");
    TSevenSeg Copy(&Window);
    Copy.Assign(Seg);
    EXPECT_EQ(NameChanges(&Copy), 1);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&Copy)->text(QAccessible::Name), "123");
    // A name the application gives comes first, as for Qt's own widgets.
    Seg->setAccessibleName("Temperature");
    EXPECT_EQ(Face->text(QAccessible::Name), "Temperature");
}

// ------------------------------------------------------------ layouts

// In a layout the display asks for cells of the default size and shrinks to
// a quarter of it at most.
TEST(SevenSeg, SizeHintsInALayout) {
    QWidget Window;
    auto* Layout = new QVBoxLayout(&Window);
    Layout->setContentsMargins(0, 0, 0, 0);
    auto* Seg = new TSevenSeg;
    Layout->addWidget(Seg);
    Window.show();
    Window.adjustSize();
    QApplication::processEvents();
    EXPECT_EQ(Seg->sizeHint(), QSize(216, 76));
    EXPECT_EQ(Seg->Width(), 216);
    EXPECT_EQ(Seg->Height(), 76);

    // The hint follows the cells, the margin and the gap.
    const struct {
        int Digits, Margin, Gap;
        QSize Hint, Minimum;
    } Cases[] = {
        {8, 8, 2, {416, 76}, {128, 31}},
        {6, 10, 4, {332, 80}, {116, 35}},
        {1, 0, 0, {48, 60}, {12, 15}},
        {32, -5, 255, {32 * 303, 60}, {32 * 267, 15}},
    };
    for (const auto& C : Cases) {
        Seg->SetMargin(C.Margin);
        Seg->SetInterDigDist(C.Gap);
        Seg->SetNumDigits(C.Digits);
        EXPECT_EQ(Seg->sizeHint(), C.Hint) << C.Digits;
        EXPECT_EQ(Seg->minimumSizeHint(), C.Minimum) << C.Digits;
        QApplication::processEvents();  // the layout hears of the new hints
        Window.adjustSize();
        QApplication::processEvents();
        if (C.Hint.width() < 600) {  // adjustSize keeps a window within the screen
            EXPECT_EQ(QSize(Seg->Width(), Seg->Height()), C.Hint) << C.Digits << ": adjustSize";
        }
    }
    Seg->SetNumDigits(8);
    Seg->SetMargin(8);
    Seg->SetInterDigDist(2);
    Seg->SetCaption(
        "-12:45\xB0"
        "C");
    QApplication::processEvents();
    Window.resize(10, 10);
    QApplication::processEvents();
    EXPECT_EQ(QSize(Seg->Width(), Seg->Height()), QSize(128, 31)) << "held at the minimum";
    Window.resize(832, 152);  // scales with the window
    QApplication::processEvents();
    const QImage Shot = test::Grab(*Seg);
    test::SavePicture(Shot, "sevenseg_layout");
    ExpectSegmentsShown(*Seg, Shot, clRed, 0x333333);
}

// Pictures for people to look at (under the build folder), each checked
// segment by segment against the usual letters of every symbol.
TEST_F(ShownDisplay, Pictures) {
    Configure(8, 0x202020, clRed);
    for (const auto& [Caption, Name] :
         {std::pair<std::string, std::string>{"8.8.8.8.8.8.8.8.", "sevenseg_8888"},
          {"-12:45\xB0"
           "C",
           "sevenseg_clock_degree"},
          {"3.14159", "sevenseg_pi"},
          {"01234567", "sevenseg_digits"},
          {"89-AbCdE", "sevenseg_hex"},
          {"F", "sevenseg_f"}}) {
        Seg->SetCaption(Caption);
        const QImage Shot = Grab();
        ExpectSegmentsShown(*Seg, Shot, clRed, 0x202020);
        test::SavePicture(Shot, Name);
    }
    test::SavePicture(test::ImageOf(Seg->GlyphStrip()), "sevenseg_strip");
    Seg->SetNumDigits(4);
    Seg->SetColorBackGnd(clBlack);
    Seg->SetColorText(clLime);
    Seg->SetCaption("AbCd");
    const QImage Shot = Grab();
    ExpectSegmentsShown(*Seg, Shot, clLime, clBlack);
    test::SavePicture(Shot, "sevenseg_hex_green");
}

}  // namespace
