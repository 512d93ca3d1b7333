// The glyph factory on its own, as a face of the display without a widget
// uses it: the glyphs it keeps are the cells of its strip, the limit keeps
// the symbols it is told to, and bad symbols or cells give nothing.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "Zent_segglyphs.h"
#include "test_support.h"

namespace zent {
namespace {

TGlyphLook Look(TColor Text, TColor Back, int64_t Cw, int64_t H, int64_t Gap, int32_t Ratio) {
    return {Text, Back, TCellGeometry{Cw + Gap, Cw, H}, Ratio};
}

// Right - Left x Bottom - Top logical pixels of Source from (Left, Top), in
// device pixels of Ratio.
QImage Copy(TCanvas& Source, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, int32_t Ratio) {
    TBitmap Out;
    Out.SetPixelRatio(Ratio);
    Out.SetSize(Right - Left, Bottom - Top);
    Out.Canvas().CopyRect(Rect(0, 0, Right - Left, Bottom - Top), Source, Rect(Left, Top, Right, Bottom));
    return test::ImageOf(Out).copy();
}

// What a cell shows of symbol k: all of it, or for the point its corner.
QImage Shown(const TGlyphSource& G, int k, const TGlyphLook& L) {
    const auto cw = int32_t(L.Cells.GlyphWidth), h = int32_t(L.Cells.GlyphHeight);
    const TCorner C = k == GlyphCount ? PointCorner(cw, h) : TCorner{0, 0};
    return Copy(*G.Canvas, G.X + C.Left, G.Y + C.Top, G.X + cw, G.Y + h, L.Ratio);
}

const TGlyphLook Looks[] = {
    Look(clRed, 0x333333, 48, 60, 2, 1),
    Look(clWhite, clBlack, 55, 76, 4, 1),  // white text is drawn as 0xFEFEFE
    Look(0x00C000, 0x202020, 13, 17, 0, 2),
    Look(clYellow, clNavy, 40, 76, 4, 3),
};

// A symbol kept on its own is pixel for pixel its cell of the strip, with
// the gap after it in the background colour; asked again, it is not scaled again.
TEST(GlyphFactory, KeptGlyphsAreTheStripCells) {
    for (const TGlyphLook& L : Looks) {
        TGlyphFactory F;
        F.Reset(L);
        const auto cw = int32_t(L.Cells.GlyphWidth), h = int32_t(L.Cells.GlyphHeight);
        std::vector<QImage> Kept;
        for (int k = 1; k <= GlyphCount; ++k) {
            const TGlyphSource G = F.Glyph(k);
            ASSERT_NE(G.Canvas, nullptr) << "symbol " << k;
            Kept.push_back(Shown(G, k, L));
            if (k < GlyphCount) {
                ASSERT_EQ(G.Width, L.Cells.Pitch);
            }
            if (k < GlyphCount && G.Width > cw) {
                const QImage Gap = Copy(*G.Canvas, G.X + cw, G.Y, G.X + G.Width, G.Y + h, L.Ratio);
                for (int y = 0; y < Gap.height(); ++y)
                    for (int x = 0; x < Gap.width(); ++x)
                        ASSERT_EQ(test::PixelAt(Gap, x, y), L.Back) << "gap of symbol " << k;
            }
        }
        const int Scaled = F.Stats().SymbolsScaled;
        for (int k = 1; k <= GlyphCount; ++k) F.Glyph(k);
        EXPECT_EQ(F.Stats().SymbolsScaled, Scaled) << "kept glyphs scaled again";

        F.BuildStrip();
        ASSERT_TRUE(F.StripBuilt());
        EXPECT_EQ(F.Stats().Bytes, 0) << "the strip replaces the kept glyphs";
        for (int k = 1; k <= GlyphCount; ++k) {
            const TGlyphSource G = F.Glyph(k);
            EXPECT_EQ(G.Canvas, &F.Strip().Canvas());
            EXPECT_EQ(Shown(G, k, L), Kept[k - 1])
                << "symbol " << k << " at " << cw << " x " << h << ", ratio " << L.Ratio;
        }
    }
}

// A new look recolours the glyphs and starts without any kept; the look
// already set keeps them, since its colours resolve as before.
TEST(GlyphFactory, ResetMakesGlyphsOfTheNewLook) {
    TGlyphFactory F;
    const auto MiddleOfEight = [&F] {  // the middle segment at master (157, 216)
        const TGlyphSource G = F.Glyph(9);
        const TCellGeometry& C = F.Look().Cells;
        return G.Canvas->Pixels(G.X + int32_t(157 * C.GlyphWidth / MasterWidth),
                                G.Y + int32_t(216 * C.GlyphHeight / MasterHeight));
    };
    const TGlyphLook Red = Look(clRed, clBlack, 60, 80, 2, 1), Green = Look(clLime, clBlack, 60, 80, 2, 1);
    for (const auto& [L, New] : {std::pair{Red, true}, {Green, true}, {Green, false}, {Red, true}}) {
        const TGlyphCacheStats Before = F.Stats();
        F.Reset(L);
        EXPECT_EQ(F.Stats().Rebuilds, Before.Rebuilds + 1);
        EXPECT_EQ(F.Stats().Bytes, New ? 0 : Before.Bytes);
        EXPECT_EQ(MiddleOfEight(), L.Text);
        EXPECT_EQ(F.Stats().SymbolsScaled, Before.SymbolsScaled + New);
    }
}

// With room for two glyphs, a third makes room by dropping those not named
// in Keep, or is not kept when they are all named.
TEST(GlyphFactory, LimitKeepsTheNamedSymbols) {
    TGlyphFactory F;
    F.Reset(Look(clRed, clBlack, 40, 50, 0, 1));
    F.Glyph(1);
    const int64_t One = F.Stats().Bytes;
    F.SetLimit(2 * One);
    const auto Bit = [](int k) { return uint32_t(1) << (k - 1); };
    struct Step {
        int k;
        uint32_t Keep;
        bool Kept, Made;  // Made: composed and scaled now
    };
    const Step Steps[] = {
        {2, 0, true, true},                  // 1 and 2 fill the room
        {1, 0, true, false},                 // still kept
        {3, Bit(2), true, true},             // drops 1
        {2, 0, true, false},                 // 2 stayed
        {1, Bit(2) | Bit(3), false, false},  // no room: left to be scaled where it is drawn
        {3, 0, true, false},
    };
    for (const Step& S : Steps) {
        const int Scaled = F.Stats().SymbolsScaled;
        const TGlyphSource G = F.Glyph(S.k, S.Keep);
        EXPECT_EQ(G.Canvas != nullptr, S.Kept) << "symbol " << S.k;
        EXPECT_EQ(F.Stats().SymbolsScaled, Scaled + S.Made) << "symbol " << S.k;
        EXPECT_LE(F.Stats().Bytes, 2 * One);
    }
    F.SetLimit(One - 1);
    EXPECT_EQ(F.Stats().Bytes, 0) << "a lower limit drops the glyphs at once";
    F.SetLimit(-5);
    EXPECT_EQ(F.Limit(), 0);
}

// Symbols outside 1..21 and cells that cannot be drawn give no glyph, draw
// nothing and leave the figures alone.
TEST(GlyphFactory, BadSymbolsAndCellsGiveNothing) {
    struct Case {
        TGlyphLook L;
        int k;
    };
    const Case Cases[] = {
        {Look(clRed, clBlack, 20, 30, 2, 1), 0},
        {Look(clRed, clBlack, 20, 30, 2, 1), GlyphCount + 1},
        {Look(clRed, clBlack, 20, 30, 2, 1), -1},
        {Look(clRed, clBlack, 0, 30, 2, 1), 8},
        {Look(clRed, clBlack, 20, -3, 2, 1), GlyphCount},
        {Look(clRed, clBlack, -4, 30, 6, 1), 1},
        {Look(clRed, clBlack, int64_t(1) << 14, int64_t(1) << 13, 0, 1), 8},  // beyond MaxCellPixels
        {Look(clRed, clBlack, 6000, 6000, 0, 2), 8},  // within it only in logical pixels
    };
    for (const Case& C : Cases) {
        TGlyphFactory F;
        F.Reset(C.L);
        const TGlyphCacheStats Before = F.Stats();
        EXPECT_EQ(F.Glyph(C.k).Canvas, nullptr) << C.k << " at " << C.L.Cells.GlyphWidth;
        EXPECT_EQ(F.Stats().Bytes, 0);
        EXPECT_EQ(F.Stats().SymbolsScaled, Before.SymbolsScaled);
        if (!C.L.Cells.Valid(C.L.Ratio)) {
            F.BuildStrip();
            EXPECT_FALSE(F.StripBuilt());
            EXPECT_TRUE(F.Strip().Empty());
        }
    }
    TGlyphFactory F;
    F.Reset(Look(clRed, clBlack, 20, 30, 2, 1));
    TBitmap Dest;
    Dest.Canvas().Brush.SetColor(clBlue);
    Dest.SetSize(20, 30);
    for (int k : {0, GlyphCount + 1, -7}) F.ScaleGlyph(k, Dest.Canvas(), 0, 0);
    EXPECT_EQ(F.Stats().SymbolsScaled, 0);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(Dest.Canvas().Pixels(x, y), clBlue);
}

// ------------------------------------------------------------ shared glyphs

// A factory of the base look that has made symbol 9 (the 8), and another
// one of Look asking for it.
struct TTwoFactories {
    TGlyphFactory A, B;
    TGlyphSource InA, InB;
    TTwoFactories(const TGlyphLook& Base, const TGlyphLook& Look, int64_t LimitA, int64_t LimitB) {
        A.SetLimit(LimitA);
        B.SetLimit(LimitB);
        A.Reset(Base);
        InA = A.Glyph(9);
        B.Reset(Look);
        InB = B.Glyph(9);
    }
    bool Shared() const { return InA.Canvas == InB.Canvas && B.Stats().SymbolsScaled == 0; }
};

// Factories share the glyphs of looks that draw alike, colours compared as
// they resolve, and no others.
TEST(GlyphSets, EqualLooksShareTheirGlyphs) {
    const TColor Face = ColorToRGB(clBtnFace);
    const TGlyphLook Base = Look(0xFEFEFE, Face, 40, 50, 4, 1);
    const struct {
        TGlyphLook L;
        bool Shared;
    } Cases[] = {
        {Base, true},
        {Look(clWhite, Face, 40, 50, 4, 1), true},        // white text is drawn as 0xFEFEFE
        {Look(0xFEFEFE, clBtnFace, 40, 50, 4, 1), true},  // resolves to the base's background
        {Look(0xFEFEFD, Face, 40, 50, 4, 1), false},
        {Look(0xFEFEFE, Face ^ 1, 40, 50, 4, 1), false},
        {Look(0xFEFEFE, Face, 40, 50, 5, 1), false},  // the gap each glyph carries
        {Look(0xFEFEFE, Face, 41, 50, 3, 1), false},  // same pitch, wider cell
        {Look(0xFEFEFE, Face, 40, 51, 4, 1), false},
        {Look(0xFEFEFE, Face, 40, 50, 4, 2), false},
    };
    for (const auto& C : Cases) {
        const TTwoFactories F(Base, C.L, DefaultGlyphCacheLimit, DefaultGlyphCacheLimit);
        EXPECT_EQ(F.Shared(), C.Shared) << "case " << &C - Cases;
        EXPECT_EQ(F.A.Stats().SymbolsScaled, 1);
    }
}

// The limit is shared with the glyphs: factories share only when their
// limits are equal, so each keeps within its own.
TEST(GlyphSets, FactoriesShareOnlyWithEqualLimits) {
    const TGlyphLook L = Look(clRed, clBlack, 40, 50, 0, 1);
    const int64_t One = 4 * 40 * 50;
    const struct {
        int64_t A, B;
        bool Shared;
    } Cases[] = {
        {DefaultGlyphCacheLimit, DefaultGlyphCacheLimit, true},
        {DefaultGlyphCacheLimit, One, false},
        {One, One, true},
        {One, 2 * One, false},
    };
    for (const auto& C : Cases) {
        const TTwoFactories F(L, L, C.A, C.B);
        EXPECT_EQ(F.Shared(), C.Shared) << C.A << " and " << C.B;
    }
    // A factory that lowers its limit leaves the others their glyphs, and
    // shares again when it takes theirs.
    TTwoFactories F(L, L, DefaultGlyphCacheLimit, DefaultGlyphCacheLimit);
    F.A.Glyph(1);
    F.B.SetLimit(One - 1);
    EXPECT_EQ(F.B.Stats().Bytes, 0);
    EXPECT_EQ(F.A.Stats().Bytes, 2 * One);
    EXPECT_EQ(F.A.Glyph(9).Canvas, F.InA.Canvas);
    EXPECT_EQ(F.B.Glyph(9).Canvas, nullptr) << "beyond its own limit";
    F.B.SetLimit(DefaultGlyphCacheLimit);
    EXPECT_EQ(F.B.Glyph(1).Canvas, F.A.Glyph(1).Canvas);
    EXPECT_EQ(F.B.Stats().SymbolsScaled, 0);
}

// A set lives while one of its factories does: the glyphs outlast the
// factory that made them, and go with the last one.
TEST(GlyphSets, ASetDiesWithItsLastFactory) {
    const TGlyphLook L = Look(clRed, clBlack, 30, 40, 2, 1);
    auto A = std::make_unique<TGlyphFactory>(), B = std::make_unique<TGlyphFactory>();
    A->Reset(L);
    B->Reset(L);
    A->Glyph(9);
    A.reset();
    B->Glyph(9);
    EXPECT_EQ(B->Stats().SymbolsScaled, 0) << "made by the factory gone";
    B.reset();
    TGlyphFactory C;
    C.Reset(L);
    EXPECT_EQ(C.Stats().Bytes, 0);
    C.Glyph(9);
    EXPECT_EQ(C.Stats().SymbolsScaled, 1);
}

}  // namespace
}  // namespace zent
