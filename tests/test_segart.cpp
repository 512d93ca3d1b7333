// The segment artworks: the committed BMPs are what the generator makes, and
// the shapes have the properties the seven-segment colouring and composition
// rely on (seeds inside, one region per shape, a closed hole only in the
// degree ring, no piece touching another, a clean corner for the point).
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <queue>
#include <string>
#include <vector>

#include "Zent_resources.h"
#include "Zent_segglyphs.h"
#include "segart.h"
#include "test_support.h"

namespace zent {
namespace {

using segart::PixelGrid;

// 4-connected regions of one colour: a label per pixel (-1 for the other colour).
struct Regions {
    int Count = 0;
    int Width = 0;
    std::vector<int> Label;
    int At(int X, int Y) const { return Label[size_t(Y) * Width + X]; }
};

Regions FindRegions(const PixelGrid& Grid, bool Black) {
    Regions R{0, Grid.Width(), std::vector<int>(size_t(Grid.Width()) * Grid.Height(), -1)};
    for (int Y = 0; Y < Grid.Height(); ++Y)
        for (int X = 0; X < Grid.Width(); ++X) {
            if (Grid.Black(X, Y) != Black || R.At(X, Y) >= 0) continue;
            std::queue<std::pair<int, int>> Todo;
            Todo.push({X, Y});
            R.Label[size_t(Y) * R.Width + X] = R.Count;
            while (!Todo.empty()) {
                const auto [Px, Py] = Todo.front();
                Todo.pop();
                for (auto [Nx, Ny] : {std::pair{Px + 1, Py}, {Px - 1, Py}, {Px, Py + 1}, {Px, Py - 1}}) {
                    if (Nx < 0 || Ny < 0 || Nx >= Grid.Width() || Ny >= Grid.Height()) continue;
                    if (Grid.Black(Nx, Ny) != Black || R.At(Nx, Ny) >= 0) continue;
                    R.Label[size_t(Ny) * R.Width + Nx] = R.Count;
                    Todo.push({Nx, Ny});
                }
            }
            ++R.Count;
        }
    return R;
}

const PixelGrid& Art(std::string_view Name) {
    static const std::vector<PixelGrid> Grids = [] {
        std::vector<PixelGrid> G;
        for (const auto& A : segart::Artworks) G.push_back(A.Make());
        return G;
    }();
    for (size_t I = 0; I < segart::Artworks.size(); ++I)
        if (segart::Artworks[I].Name == Name) return Grids[I];
    throw std::invalid_argument("no artwork " + std::string(Name));
}

// One piece (1..11) alone on the master.
PixelGrid Piece(int No) {
    const PixelGrid& A = No <= 7            ? Art(SegmentKind[No] == 1 ? "SEGHORZ" : "SEGVERT")
                         : No == PiecePoint ? Art("SEGDOT")
                         : No == PiecePlus  ? Art("SEGPLUS")
                         : No == PieceColon ? Art("SEGCOLON")
                                            : Art("SEGDEG");
    PixelGrid Master(MasterWidth, MasterHeight);
    Master.Stamp(A, SegmentOrigin[No].X, SegmentOrigin[No].Y);
    return Master;
}

// The pieces a symbol is composed of, as the glyph rendering lays them.
std::vector<int> PiecesOf(char Symbol) {
    if (Symbol == ':') return {PieceColon};
    if (Symbol == '\xB0') return {PieceDegree};
    if (Symbol == '+') return {PiecePlus};
    if (Symbol == '.') return {PiecePoint};
    std::vector<int> P;
    for (uint8_t S : SegmentMap[SegmentRow(Symbol)])
        if (S != 0) P.push_back(S);
    return P;
}

PixelGrid Compose(const std::vector<int>& Pieces) {
    PixelGrid Master(MasterWidth, MasterHeight);
    for (int No : Pieces) Master.Stamp(Piece(No), 0, 0);
    return Master;
}

QImage ToImage(const PixelGrid& Grid) {
    QImage Image(Grid.Width(), Grid.Height(), QImage::Format_RGB32);
    for (int Y = 0; Y < Grid.Height(); ++Y)
        for (int X = 0; X < Grid.Width(); ++X)
            Image.setPixel(X, Y, Grid.Black(X, Y) ? 0xFF000000 : 0xFFFFFFFF);
    return Image;
}

TEST(SegArt, CommittedFilesAreWhatTheGeneratorMakes) {
    for (const auto& A : segart::Artworks) {
        const std::string Path = std::string(ZENT_SOURCE_DIR "/resources/") + std::string(A.Name) + ".bmp";
        std::ifstream In(Path, std::ios::binary);
        ASSERT_TRUE(In) << Path;
        const std::vector<uint8_t> Committed{std::istreambuf_iterator<char>(In), {}};
        EXPECT_TRUE(Committed == segart::ArtworkBmp(A))
            << Path << " is stale: rebuild it with zent_segart_gen <source>/resources";
    }
    EXPECT_THROW(segart::EncodeBmp(PixelGrid(4, 4), 8), std::invalid_argument);
}

TEST(SegArt, ResourcesLoadAsPureBlackAndWhiteOfTheRightSize) {
    InitResources();
    InitResources();  // a second call is harmless
    const struct {
        const char* Name;
        int Width, Height;
    } Expected[] = {{"SEGVERT", 68, 190},  {"SEGHORZ", 200, 38},  {"SEGDOT", 38, 38},
                    {"SEGPLUS", 200, 190}, {"SEGCOLON", 68, 190}, {"SEGDEG", 160, 138}};
    for (const auto& E : Expected) {
        SCOPED_TRACE(E.Name);
        const QImage Loaded =
            QImage(QStringLiteral(":/") + QLatin1String(E.Name)).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(Loaded.isNull());
        ASSERT_EQ(Loaded.size(), QSize(E.Width, E.Height));
        const PixelGrid& Grid = Art(E.Name);
        int Wrong = 0;
        for (int Y = 0; Y < Loaded.height(); ++Y)
            for (int X = 0; X < Loaded.width(); ++X)
                Wrong += Loaded.pixel(X, Y) != (Grid.Black(X, Y) ? 0xFF000000u : 0xFFFFFFFFu);
        EXPECT_EQ(Wrong, 0) << "pixels not as generated (rows flipped or bits misordered?)";
        test::SavePicture(Loaded, std::string("segart_") + E.Name);
    }
}

TEST(SegArt, VerticalSegmentIs39PixelsWideFromRow25To165) {
    const PixelGrid& V = Art("SEGVERT");
    for (int Y = 25; Y <= 165; ++Y) {
        int First = -1, Count = 0;
        for (int X = 0; X < V.Width(); ++X) {
            if (!V.Black(X, Y)) continue;
            if (First < 0) First = X;
            ++Count;
        }
        EXPECT_EQ(Count, 39) << "row " << Y;
        for (int X = First; X < First + Count; ++X) EXPECT_TRUE(V.Black(X, Y)) << "gap in row " << Y;
    }
}

TEST(SegArt, SeedsLieInOneConnectedShape) {
    const auto W = [](std::string_view N) { return Art(N).Width(); };
    const auto H = [](std::string_view N) { return Art(N).Height(); };
    const struct {
        std::string_view Name;
        std::vector<std::pair<int, int>> Seeds;  // the stated seeds, then those the colouring uses
        int Shapes;
    } Cases[] = {
        {"SEGVERT", {{34, 95}, {W("SEGVERT") / 2, H("SEGVERT") / 2}}, 1},
        {"SEGHORZ", {{100, 19}, {W("SEGHORZ") / 2, H("SEGHORZ") / 2}}, 1},
        {"SEGDOT", {{19, 19}, {W("SEGDOT") / 2, H("SEGDOT") / 2}}, 1},
        {"SEGPLUS", {{100, 95}, {W("SEGPLUS") / 2, H("SEGPLUS") / 2}}, 1},
        {"SEGCOLON", {{18, 172}, {50, 18}, {18, H("SEGCOLON") - 18}, {W("SEGCOLON") - 18, 18}}, 2},
        {"SEGDEG", {{25, 69}, {25, H("SEGDEG") / 2}}, 1},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::string(C.Name));
        const Regions Black = FindRegions(Art(C.Name), true);
        EXPECT_EQ(Black.Count, C.Shapes);
        for (auto [X, Y] : C.Seeds) EXPECT_TRUE(Art(C.Name).Black(X, Y)) << "seed " << X << "," << Y;
    }
    // One fill per colon dot: the two seeds must reach different dots.
    const Regions Colon = FindRegions(Art("SEGCOLON"), true);
    EXPECT_NE(Colon.At(18, 190 - 18), Colon.At(68 - 18, 18));
}

TEST(SegArt, DegreeHoleIsClosedOff) {
    const PixelGrid& D = Art("SEGDEG");
    ASSERT_FALSE(D.Black(80, 70));
    const Regions White = FindRegions(D, false);
    const int Hole = White.At(80, 70);
    for (int X = 0; X < D.Width(); ++X)
        EXPECT_TRUE(White.At(X, 0) != Hole && White.At(X, D.Height() - 1) != Hole) << "column " << X;
    for (int Y = 0; Y < D.Height(); ++Y)
        EXPECT_TRUE(White.At(0, Y) != Hole && White.At(D.Width() - 1, Y) != Hole) << "row " << Y;
}

TEST(SegArt, PiecesNeitherOverlapNorTouch) {
    const auto Touching = [](const PixelGrid& A, const PixelGrid& B) {
        for (int Y = 0; Y < MasterHeight; ++Y)
            for (int X = 0; X < MasterWidth; ++X)
                if (A.Black(X, Y) && (B.Black(X, Y) || B.Black(X + 1, Y) || B.Black(X - 1, Y) ||
                                      B.Black(X, Y + 1) || B.Black(X, Y - 1)))
                    return true;
        return false;
    };
    std::vector<std::pair<int, int>> Pairs;
    for (int P = 1; P <= 7; ++P)
        for (int Q = P + 1; Q <= 7; ++Q) Pairs.push_back({P, Q});
    for (char Symbol : GlyphChars) {
        const std::vector<int> P = PiecesOf(Symbol);
        for (size_t I = 0; I < P.size(); ++I)
            for (size_t J = I + 1; J < P.size(); ++J) Pairs.push_back({P[I], P[J]});
    }
    for (auto [P, Q] : Pairs) EXPECT_FALSE(Touching(Piece(P), Piece(Q))) << "pieces " << P << " and " << Q;
}

TEST(SegArt, PointCornerHoldsOnlyThePoint) {
    // The point lies wholly in the lower right sixth and nothing else reaches in.
    const PixelGrid Point = Piece(PiecePoint);
    const int X6 = 5 * MasterWidth / 6, Y6 = 5 * MasterHeight / 6;
    for (int Y = 0; Y < MasterHeight; ++Y)
        for (int X = 0; X < MasterWidth; ++X)
            if (Point.Black(X, Y)) {
                ASSERT_TRUE(X >= X6 && Y >= Y6) << X << "," << Y;
            }

    // Paint copies cell pixels from d = 5 cw / 6 and e = 5 h / 6, scaled down
    // from the master: source columns from d * 312 / cw (rounded down) and rows
    // from e * 432 / h. For every cell of at least the default 48 x 60 size that
    // area must hold no other piece, or the copy would cut a segment's edge.
    PixelGrid Others = Compose({1, 2, 3, 4, 5, 6, 7, PiecePlus, PieceColon, PieceDegree});
    std::vector<int> RightmostFrom(MasterHeight + 1, -1);  // rightmost black pixel in rows >= y
    for (int Y = MasterHeight - 1; Y >= 0; --Y) {
        RightmostFrom[Y] = RightmostFrom[Y + 1];
        for (int X = 0; X < MasterWidth; ++X)
            if (Others.Black(X, Y)) RightmostFrom[Y] = std::max(RightmostFrom[Y], X);
    }
    EXPECT_LT(RightmostFrom[Y6], X6);
    for (int Cw = 48; Cw <= 2 * MasterWidth; ++Cw)
        for (int H = 48; H <= 2 * MasterHeight; ++H) {
            const int X0 = (5 * Cw / 6) * MasterWidth / Cw, Y0 = (5 * H / 6) * MasterHeight / H;
            ASSERT_LT(RightmostFrom[Y0], X0) << "cell " << Cw << " x " << H;
        }
}

TEST(SegArt, WhiteSurroundOfEverySymbolReachesTheCorner) {
    QImage Sheet(7 * (MasterWidth + 8), 3 * (MasterHeight + 8), QImage::Format_RGB32);
    Sheet.fill(Qt::gray);
    for (size_t K = 0; K < GlyphChars.size(); ++K) {
        const char Symbol = GlyphChars[K];
        SCOPED_TRACE("symbol " + std::to_string(K + 1));
        const PixelGrid Master = Compose(PiecesOf(Symbol));
        const Regions White = FindRegions(Master, false);
        ASSERT_FALSE(Master.Black(1, 1));
        if (Symbol == '\xB0') {
            const int HoleX = SegmentOrigin[PieceDegree].X + 80, HoleY = SegmentOrigin[PieceDegree].Y + 70;
            EXPECT_EQ(White.Count, 2);
            EXPECT_NE(White.At(HoleX, HoleY), White.At(1, 1));
        } else {
            EXPECT_EQ(White.Count, 1);
        }
        const QImage Image = ToImage(Master);
        for (int Y = 0; Y < MasterHeight; ++Y)
            std::copy_n(reinterpret_cast<const QRgb*>(Image.constScanLine(Y)), MasterWidth,
                        reinterpret_cast<QRgb*>(Sheet.scanLine(int(K / 7) * (MasterHeight + 8) + 4 + Y)) +
                            int(K % 7) * (MasterWidth + 8) + 4);
    }
    test::SavePicture(Sheet, "segart_symbols");
}

}  // namespace
}  // namespace zent
