// The raw pixel rules, checked against plain references on seeded pictures.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <deque>
#include <random>
#include <vector>

#include "Zent_pixels.h"
#include "Zent_pixels_kernels.h"

namespace zent::pixels {
namespace {

struct Picture {
    int32_t width, height;
    std::vector<uint32_t> pixels;
    Picture(int32_t w, int32_t h, uint32_t fill = 0xFF000000u)
        : width(w), height(h), pixels(std::size_t(w) * std::size_t(h), fill) {}
    PixelRows rows() { return {pixels.data(), width, height, width}; }
    uint32_t& at(int32_t x, int32_t y) { return pixels[std::size_t(y) * width + x]; }
};

// Numbers straight from the engine, so the pictures are the same with every standard library.
struct Random {
    std::mt19937 engine;
    explicit Random(uint32_t seed) : engine(seed) {}
    int32_t below(int32_t n) { return int32_t(engine() % uint32_t(n)); }
    int32_t between(int32_t lo, int32_t hi) { return lo + below(hi - lo + 1); }
    uint32_t pixel() { return 0xFF000000u | (engine() & 0xFFFFFFu); }
};

// The suites that reach the kernels run once per kernel table of the build:
// the plain reference and each vector table must give the same pixels.
class KernelTable : public ::testing::TestWithParam<const Kernels*> {
protected:
    void SetUp() override { previous_ = &UseKernels(*GetParam()); }
    void TearDown() override { UseKernels(*previous_); }

private:
    const Kernels* previous_ = nullptr;
};

std::string TableName(const ::testing::TestParamInfo<const Kernels*>& info) {
    return info.param->name;
}

const auto kTables = ::testing::ValuesIn(AvailableKernels().begin(), AvailableKernels().end());

class PixelFill : public KernelTable {};
class PixelCopy : public KernelTable {};
class PixelFloodFill : public KernelTable {};
class PixelStretchArea : public KernelTable {};
INSTANTIATE_TEST_SUITE_P(Kernels, PixelFill, kTables, TableName);
INSTANTIATE_TEST_SUITE_P(Kernels, PixelCopy, kTables, TableName);
INSTANTIATE_TEST_SUITE_P(Kernels, PixelFloodFill, kTables, TableName);
INSTANTIATE_TEST_SUITE_P(Kernels, PixelStretchArea, kTables, TableName);

TEST(PixelKernels, TheActiveTableIsTheFastestOfTheBuild) {
    EXPECT_STREQ(PlainKernels().name, "plain");
    EXPECT_EQ(AvailableKernels().front(), &PlainKernels());
    EXPECT_EQ(&ActiveKernels(), AvailableKernels().back());
#if defined(__SSE2__)
    EXPECT_EQ(&ActiveKernels(), Sse2Kernels());
#endif
}

// ---------------------------------------------------------------- lines

std::vector<std::pair<int32_t, int32_t>> LinePoints(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t w,
                                                    int32_t h) {
    std::vector<std::pair<int32_t, int32_t>> points;
    ForEachLinePixel(x0, y0, x1, y1, w, h, [&](int32_t x, int32_t y) { points.emplace_back(x, y); });
    return points;
}

TEST(PixelLine, LeavesOutTheEndPointAndStepsAlongTheLongerAxis) {
    Random rnd(7);
    for (int n = 0; n < 2000; ++n) {
        const int32_t x0 = rnd.below(64), y0 = rnd.below(64), x1 = rnd.below(64), y1 = rnd.below(64);
        const auto points = LinePoints(x0, y0, x1, y1, 64, 64);
        const int32_t steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        ASSERT_EQ(int32_t(points.size()), steps);
        if (steps == 0) continue;
        EXPECT_EQ(points.front(), std::make_pair(x0, y0));
        for (std::size_t i = 1; i < points.size(); ++i) {  // 8-connected, one step at a time
            EXPECT_LE(std::abs(points[i].first - points[i - 1].first), 1);
            EXPECT_LE(std::abs(points[i].second - points[i - 1].second), 1);
        }
        // The next step would be the end point.
        EXPECT_LE(std::abs(points.back().first - x1), 1);
        EXPECT_LE(std::abs(points.back().second - y1), 1);
        for (const auto& p : points) EXPECT_NE(p, std::make_pair(x1, y1));
    }
    // Ties: halfway between two pixels, the minor step is taken (towards the end point).
    using Points = std::vector<std::pair<int32_t, int32_t>>;
    EXPECT_EQ(LinePoints(0, 0, 4, 2, 8, 8), (Points{{0, 0}, {1, 1}, {2, 1}, {3, 2}}));
    EXPECT_EQ(LinePoints(0, 2, 4, 0, 8, 8), (Points{{0, 2}, {1, 1}, {2, 1}, {3, 0}}));
    EXPECT_EQ(LinePoints(0, 0, 2, 4, 8, 8), (Points{{0, 0}, {1, 1}, {1, 2}, {2, 3}}));
}

TEST(PixelLine, ClippingKeepsExactlyThePixelsOfTheWholeLine) {
    Random rnd(11);
    constexpr int32_t off = 150, size = 40;
    for (int n = 0; n < 2000; ++n) {
        const int32_t x0 = rnd.between(-off, size + off), y0 = rnd.between(-off, size + off);
        const int32_t x1 = rnd.between(-off, size + off), y1 = rnd.between(-off, size + off);
        std::vector<std::pair<int32_t, int32_t>> expected;
        for (const auto& [x, y] :
             LinePoints(x0 + off, y0 + off, x1 + off, y1 + off, size + 2 * off, size + 2 * off))
            if (x >= off && y >= off && x < off + size && y < off + size)
                expected.emplace_back(x - off, y - off);
        ASSERT_EQ(LinePoints(x0, y0, x1, y1, size, size), expected)
            << x0 << "," << y0 << " -> " << x1 << "," << y1;
    }
}

TEST(PixelLine, HugeCoordinatesCostOnlyTheVisiblePart) {
    const auto diagonal = LinePoints(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 50, 50);
    ASSERT_EQ(diagonal.size(), 50u);
    for (int32_t i = 0; i < 50; ++i) EXPECT_EQ(diagonal[i], std::make_pair(i, i));
    EXPECT_EQ(LinePoints(INT32_MAX, 0, INT32_MIN, 1, 10, 10).size(), 10u);
    EXPECT_TRUE(LinePoints(INT32_MIN, -5, INT32_MAX, -5, 10, 10).empty());
}

TEST(PixelLine, StraightLinesDrawTheSamePixelsAsTheGeneralWalk) {
    Random rnd(13);
    for (int n = 0; n < 2000; ++n) {
        const bool horizontal = n % 2 == 0;
        const int32_t a = rnd.between(-30, 60), b = rnd.between(-30, 60), c = rnd.between(-5, 35);
        const int32_t x0 = horizontal ? a : c, x1 = horizontal ? b : c;
        const int32_t y0 = horizontal ? c : a, y1 = horizontal ? c : b;
        Picture drawn(30, 30), walked(30, 30);
        Line(drawn.rows(), x0, y0, x1, y1, 0xFFFFFFFFu);
        ForEachLinePixel(x0, y0, x1, y1, 30, 30, [&](int32_t x, int32_t y) { walked.at(x, y) = 0xFFFFFFFFu; });
        ASSERT_EQ(drawn.pixels, walked.pixels) << x0 << "," << y0 << " -> " << x1 << "," << y1;
    }
    Picture p(10, 10);
    Line(p.rows(), INT32_MAX, 3, INT32_MIN, 3, 0xFFFFFFFFu);  // spans clip without overflow
    Line(p.rows(), 4, INT32_MIN, 4, INT32_MAX, 0xFFFFFFFFu);
    EXPECT_EQ(p.at(0, 3), 0xFFFFFFFFu);
    EXPECT_EQ(p.at(4, 9), 0xFFFFFFFFu);
}

// ---------------------------------------------------------------- fills and copies

TEST_P(PixelFill, ClipsAndKeepsRightAndBottomExclusive) {
    Picture p(6, 5);
    Fill(p.rows(), 1, 1, 3, 4, 0xFFFFFFFFu);
    int count = 0;
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 6; ++x) count += p.at(x, y) == 0xFFFFFFFFu;
    EXPECT_EQ(count, 2 * 3);
    EXPECT_EQ(p.at(3, 1), 0xFF000000u);
    EXPECT_EQ(p.at(1, 4), 0xFF000000u);

    Fill(p.rows(), INT64_MIN / 2, INT64_MIN / 2, INT64_MAX / 2, INT64_MAX / 2, 0xFF123456u);
    for (uint32_t px : p.pixels) EXPECT_EQ(px, 0xFF123456u);
    Fill(p.rows(), 4, 4, 2, 2, 0xFFFFFFFFu);  // reversed: nothing
    Fill(PixelRows{}, 0, 0, 5, 5, 0xFFFFFFFFu);
    for (uint32_t px : p.pixels) EXPECT_EQ(px, 0xFF123456u);
}

TEST_P(PixelCopy, AndCombinesPerChannelAndClipsAgainstBothSurfaces) {
    Picture dst(8, 8, 0xFFF0F0F0u), src(4, 4, 0xFFFFFFFFu);
    src.at(1, 1) = 0xFF0F3C80u;
    Copy(dst.rows(), 6, 6, src.rows(), 0, 0, 4, 4, Rop::And);  // only 2 x 2 fit
    EXPECT_EQ(dst.at(6, 6), 0xFFF0F0F0u);                      // white leaves the destination
    EXPECT_EQ(dst.at(7, 7), 0xFF003080u);
    Copy(dst.rows(), -1, -1, src.rows(), 0, 0, 4, 4, Rop::Copy);
    EXPECT_EQ(dst.at(0, 0), 0xFF0F3C80u);
    EXPECT_EQ(dst.at(3, 3), 0xFFF0F0F0u);
    Copy(dst.rows(), INT32_MAX, INT32_MIN, src.rows(), INT32_MIN, 0, INT32_MAX, INT32_MAX, Rop::Copy);
    const Box b = CopyBox(8, 8, 0, 0, 4, 4, -2, 1, 10, 10);  // source columns -2.. and rows 1..
    EXPECT_EQ(b.left, 2);
    EXPECT_EQ(b.width(), 4);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.height(), 3);
}

TEST_P(PixelCopy, AndMatchesAPlainLoopAtEveryWidth) {
    Random rnd(3);
    for (int32_t w = 1; w <= 21; ++w) {
        Picture dst(w, 2), src(w, 2);
        for (uint32_t& px : dst.pixels) px = rnd.pixel();
        for (uint32_t& px : src.pixels) px = rnd.pixel();
        Picture expected = dst;
        for (std::size_t i = 0; i < expected.pixels.size(); ++i) expected.pixels[i] &= src.pixels[i];
        Copy(dst.rows(), 0, 0, src.rows(), 0, 0, w, 2, Rop::And);
        ASSERT_EQ(dst.pixels, expected.pixels) << w;
    }
}

TEST_P(PixelCopy, OverlappingCopyWithinOnePictureReadsTheOriginal) {
    Picture p(10, 1);
    for (int32_t x = 0; x < 10; ++x) p.at(x, 0) = 0xFF000000u | uint32_t(x);
    Copy(p.rows(), 2, 0, p.rows(), 0, 0, 8, 1, Rop::Copy);
    for (int32_t x = 2; x < 10; ++x) EXPECT_EQ(p.at(x, 0), 0xFF000000u | uint32_t(x - 2));
}

// ---------------------------------------------------------------- flood fill

void BreadthFirstFill(Picture& p, int32_t x, int32_t y, uint32_t target, uint32_t fill) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height || p.at(x, y) != target || target == fill) return;
    std::deque<std::pair<int32_t, int32_t>> queue{{x, y}};
    p.at(x, y) = fill;
    while (!queue.empty()) {
        const auto [cx, cy] = queue.front();
        queue.pop_front();
        const int32_t dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
        for (int d = 0; d < 4; ++d) {
            const int32_t nx = cx + dx[d], ny = cy + dy[d];
            if (nx < 0 || ny < 0 || nx >= p.width || ny >= p.height || p.at(nx, ny) != target) continue;
            p.at(nx, ny) = fill;
            queue.emplace_back(nx, ny);
        }
    }
}

TEST_P(PixelFloodFill, MatchesABreadthFirstFillOnRandomPictures) {
    Random rnd(2024);
    const uint32_t palette[] = {0xFF000000u, 0xFFFFFFFFu, 0xFF808080u};
    for (int n = 0; n < 1500; ++n) {
        Picture p(rnd.between(1, 40), rnd.between(1, 40));
        const int colours = rnd.between(2, 3);
        for (uint32_t& px : p.pixels) px = palette[rnd.below(colours)];
        const int32_t x = rnd.between(-2, p.width + 1), y = rnd.between(-2, p.height + 1);
        const uint32_t target = palette[rnd.below(colours)];
        const uint32_t fill = rnd.below(8) == 0 ? target : 0xFF0000FFu;
        Picture expected = p;
        BreadthFirstFill(expected, x, y, target, fill);
        FloodFill(p.rows(), x, y, target, fill);
        ASSERT_EQ(p.pixels, expected.pixels) << "case " << n;
    }
}

TEST_P(PixelFloodFill, SpiralLargerThanAnyRecursionWouldSurvive) {
    // A one-pixel corridor snaking through the whole picture.
    Picture p(301, 301, 0xFFFFFFFFu);
    for (int32_t y = 1; y < p.height; y += 2)
        for (int32_t x = 0; x < p.width; ++x)
            if (!(x == ((y / 2) % 2 ? 0 : p.width - 1))) p.at(x, y) = 0xFF000000u;
    Picture expected = p;
    BreadthFirstFill(expected, 0, 0, 0xFFFFFFFFu, 0xFF00FF00u);
    FloodFill(p.rows(), 0, 0, 0xFFFFFFFFu, 0xFF00FF00u);
    EXPECT_EQ(p.pixels, expected.pixels);
}

// ---------------------------------------------------------------- scaling

// Each destination pixel: the exact overlap-weighted mean of the source
// pixels inside the source surface, per channel, in doubles.
Picture AreaReference(const Picture& src, const Picture& dstIn, int32_t dx, int32_t dy, int32_t dw,
                      int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh) {
    Picture dst = dstIn;
    for (int32_t j = 0; j < dh; ++j)
        for (int32_t i = 0; i < dw; ++i) {
            const int32_t X = dx + i, Y = dy + j;
            if (X < 0 || Y < 0 || X >= dst.width || Y >= dst.height) continue;
            const double x0 = sx + double(i) * sw / dw, x1 = sx + double(i + 1) * sw / dw;
            const double y0 = sy + double(j) * sh / dh, y1 = sy + double(j + 1) * sh / dh;
            double sum[3] = {}, area = 0;
            for (int32_t v = int32_t(std::floor(y0)); v < y1; ++v)
                for (int32_t u = int32_t(std::floor(x0)); u < x1; ++u) {
                    if (u < 0 || v < 0 || u >= src.width || v >= src.height) continue;
                    const double a = (std::min(x1, u + 1.0) - std::max(x0, double(u))) *
                                     (std::min(y1, v + 1.0) - std::max(y0, double(v)));
                    if (a <= 0) continue;
                    const uint32_t px = src.pixels[std::size_t(v) * src.width + u];
                    for (int c = 0; c < 3; ++c) sum[c] += a * ((px >> (8 * c)) & 0xFF);
                    area += a;
                }
            if (area <= 1e-12) continue;
            uint32_t out = 0xFF000000u;
            for (int c = 0; c < 3; ++c) out |= uint32_t(std::lround(sum[c] / area)) << (8 * c);
            dst.at(X, Y) = out;
        }
    return dst;
}

int MaxChannelDifference(const Picture& a, const Picture& b) {
    int worst = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        for (int c = 0; c < 32; c += 8)
            worst =
                std::max(worst, std::abs(int((a.pixels[i] >> c) & 0xFF) - int((b.pixels[i] >> c) & 0xFF)));
    return worst;
}

TEST_P(PixelStretchArea, MatchesAPerPixelAreaSum) {
    Random rnd(99);
    for (int n = 0; n < 600; ++n) {
        Picture src(rnd.between(1, 30), rnd.between(1, 30));
        // Smooth pictures and noise both: noise finds weight errors, gradients rounding errors.
        const bool noise = n % 2 == 0;
        for (int32_t y = 0; y < src.height; ++y)
            for (int32_t x = 0; x < src.width; ++x)
                src.at(x, y) =
                    noise ? rnd.pixel() : 0xFF000000u | uint32_t(x * 8) << 16 | uint32_t(y * 8) << 8 | 0x40;
        Picture dst(rnd.between(1, 30), rnd.between(1, 30), 0xFF112233u);
        // Mostly inside both surfaces; sometimes hanging over an edge.
        const bool overhang = n % 5 == 0;
        const int32_t sw = rnd.between(1, src.width + (overhang ? 5 : 0));
        const int32_t sh = rnd.between(1, src.height + (overhang ? 5 : 0));
        const int32_t sx =
            overhang ? rnd.between(-3, src.width) : rnd.between(0, src.width - std::min(sw, src.width));
        const int32_t sy =
            overhang ? rnd.between(-3, src.height) : rnd.between(0, src.height - std::min(sh, src.height));
        const int32_t dw = rnd.between(1, 40), dh = rnd.between(1, 40);  // shrinking and enlarging
        const int32_t dx = rnd.between(-5, dst.width - 1), dy = rnd.between(-5, dst.height - 1);
        const Picture expected = AreaReference(src, dst, dx, dy, dw, dh, sx, sy, sw, sh);
        StretchArea(dst.rows(), dx, dy, dw, dh, src.rows(), sx, sy, sw, sh);
        ASSERT_LE(MaxChannelDifference(dst, expected), 1)
            << "case " << n << ": " << sw << "x" << sh << " -> " << dw << "x" << dh;
    }
}

TEST_P(PixelStretchArea, ExactAveragesOfTheArtworkSize) {
    // 312 x 432 -> 48 x 60 is 6.5 x 7.2 source pixels per destination pixel.
    Random rnd(5);
    Picture src(312, 432), dst(48, 60);
    for (uint32_t& px : src.pixels) px = rnd.pixel();
    const Picture expected = AreaReference(src, dst, 0, 0, 48, 60, 0, 0, 312, 432);
    StretchArea(dst.rows(), 0, 0, 48, 60, src.rows(), 0, 0, 312, 432);
    EXPECT_LE(MaxChannelDifference(dst, expected), 1);

    // Over 257 whole rows per destination row: the unweighted row sums are flushed midway.
    Picture column(2, 700), two(1, 2);
    for (uint32_t& px : column.pixels) px = rnd.pixel() | 0xFFF0F0F0u;
    const Picture expectedTwo = AreaReference(column, two, 0, 0, 1, 2, 0, 0, 2, 700);
    StretchArea(two.rows(), 0, 0, 1, 2, column.rows(), 0, 0, 2, 700);
    EXPECT_LE(MaxChannelDifference(two, expectedTwo), 1);

    // Tall enough that the packed channel sums would overflow: the wide path.
    Picture tall(3, 9000), few(2, 3);
    for (uint32_t& px : tall.pixels) px = rnd.pixel();
    const Picture expectedFew = AreaReference(tall, few, 0, 0, 2, 3, 0, 0, 3, 9000);
    StretchArea(few.rows(), 0, 0, 2, 3, tall.rows(), 0, 0, 3, 9000);
    EXPECT_LE(MaxChannelDifference(few, expectedFew), 1);

    Picture flat(7, 3, 0xFF336699u), small(2, 2);
    StretchArea(small.rows(), 0, 0, 2, 2, flat.rows(), 0, 0, 7, 3);
    for (uint32_t px : small.pixels) EXPECT_EQ(px, 0xFF336699u);  // a flat colour stays exact
}

TEST_P(PixelStretchArea, FlatColoursStayExact) {
    // The average of one colour is that colour exactly, at every scale: no
    // rounding may pull a whole quotient down by one.
    Random rnd(31);
    for (int n = 0; n < 3000; ++n) {
        const uint32_t colour = rnd.pixel();
        Picture src(rnd.between(1, 64), rnd.between(1, 64), colour),
            dst(rnd.between(1, 64), rnd.between(1, 64));
        StretchArea(dst.rows(), 0, 0, dst.width, dst.height, src.rows(), 0, 0, src.width, src.height);
        for (uint32_t px : dst.pixels) ASSERT_EQ(px, colour) << "case " << n;
    }
}

TEST_P(PixelStretchArea, HalvesRoundUp) {
    // Exact ties (c + 1/2) round up, whatever the number of pixels averaged.
    for (int32_t width : {2, 6, 10, 254}) {
        for (uint32_t c = 0; c < 255; ++c) {
            Picture src(width, 1), dst(1, 1);
            for (int32_t x = 0; x < width; ++x)
                src.at(x, 0) = 0xFF000000u | (c + uint32_t(x % 2)) * 0x010101u;
            StretchArea(dst.rows(), 0, 0, 1, 1, src.rows(), 0, 0, width, 1);
            ASSERT_EQ(dst.at(0, 0), 0xFF000000u | (c + 1) * 0x010101u) << width << " " << c;
        }
    }
}

// The scaler as it was before its fast paths, kept verbatim in plain scalar
// form: the fast paths must give the very same integer sums, so every
// output pixel must match this bit for bit.
namespace frozen {

struct AxisTaps {
    int32_t begin = 0, end = 0;
    std::vector<uint32_t> offset, weight, sum;
    std::vector<int32_t> src;
    int32_t srcMin = 0, srcMax = -1;
};

constexpr int64_t kMaxExactSpan = int64_t(1) << 23;

AxisTaps BuildTaps(int64_t d0, int64_t dn, int32_t dLimit, int64_t s0, int64_t sn, int32_t sLimit,
                   bool area) {
    AxisTaps t;
    const int64_t begin = std::max<int64_t>(d0, 0), end = std::min<int64_t>(d0 + dn, dLimit);
    if (end <= begin) return t;
    t.begin = int32_t(begin);
    t.end = int32_t(end);
    t.srcMin = sLimit;
    for (int64_t j = begin - d0; j < end - d0; ++j) {
        t.offset.push_back(uint32_t(t.src.size()));
        uint64_t sum = 0;
        const auto add = [&](int64_t k, uint64_t w) {
            const int64_t abs = s0 + k;
            if (abs < 0 || abs >= sLimit || w == 0) return;
            t.src.push_back(int32_t(abs));
            t.weight.push_back(uint32_t(w));
            sum += w;
            t.srcMin = std::min(t.srcMin, int32_t(abs));
            t.srcMax = std::max(t.srcMax, int32_t(abs));
        };
        if (area) {
            const int64_t lo = j * sn, hi = (j + 1) * sn;
            const int64_t kFirst = std::max(lo / dn, -s0);
            const int64_t kLast = std::min((hi - 1) / dn, sLimit - 1 - s0);
            for (int64_t k = kFirst; k <= kLast; ++k) {
                const auto overlap = uint64_t(std::min(hi, (k + 1) * dn) - std::max(lo, k * dn));
                add(k, sn > kMaxExactSpan
                           ? (overlap * uint64_t(kMaxExactSpan) + uint64_t(sn) - 1) / uint64_t(sn)
                           : overlap);
            }
        } else {
            add(int64_t((uint64_t(2 * j + 1) * uint64_t(sn)) / uint64_t(2 * dn)), 1);
        }
        t.sum.push_back(uint32_t(sum));
    }
    t.offset.push_back(uint32_t(t.src.size()));
    return t;
}

uint32_t Divide(uint64_t sum, uint64_t den) {
    const uint64_t half = den / 2;
    if (den < (uint64_t(1) << 24))
        return uint32_t(int32_t(double(int64_t(sum + half)) * (1.0 / double(den)) + 1e-9));
    return uint32_t((sum + half) / den);
}

// Source and destination are distinct pictures here, and all sizes small.
void Stretch(Picture& dst, int64_t dx, int64_t dy, int64_t dw, int64_t dh, const Picture& src, int64_t sx,
             int64_t sy, int64_t sw, int64_t sh, bool area) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    const AxisTaps tx = BuildTaps(dx, dw, dst.width, sx, sw, src.width, area);
    const AxisTaps ty = BuildTaps(dy, dh, dst.height, sy, sh, src.height, area);
    if (tx.srcMax < tx.srcMin || ty.srcMax < ty.srcMin) return;
    const int32_t span = tx.srcMax - tx.srcMin + 1;
    std::vector<uint32_t> pb(static_cast<std::size_t>(span)), pg(pb.size()), pr(pb.size());
    for (std::size_t i = 0; i < ty.sum.size(); ++i) {
        if (ty.sum[i] == 0) continue;
        std::fill(pb.begin(), pb.end(), 0);
        std::fill(pg.begin(), pg.end(), 0);
        std::fill(pr.begin(), pr.end(), 0);
        for (uint32_t k = ty.offset[i]; k < ty.offset[i + 1]; ++k) {
            const uint32_t* s = &src.pixels[std::size_t(ty.src[k]) * src.width + tx.srcMin];
            const uint32_t w = ty.weight[k];
            for (int32_t x = 0; x < span; ++x) {
                pb[x] += w * (s[x] & 0xFF);
                pg[x] += w * ((s[x] >> 8) & 0xFF);
                pr[x] += w * ((s[x] >> 16) & 0xFF);
            }
        }
        for (std::size_t j = 0; j < tx.sum.size(); ++j) {
            if (tx.sum[j] == 0) continue;
            uint64_t b = 0, g = 0, r = 0;
            for (uint32_t k = tx.offset[j]; k < tx.offset[j + 1]; ++k) {
                const int32_t x = tx.src[k] - tx.srcMin;
                const uint64_t w = tx.weight[k];
                b += w * pb[x];
                g += w * pg[x];
                r += w * pr[x];
            }
            const uint64_t den = uint64_t(tx.sum[j]) * ty.sum[i];
            dst.at(tx.begin + int32_t(j), ty.begin + int32_t(i)) =
                0xFF000000u | (Divide(r, den) << 16) | (Divide(g, den) << 8) | Divide(b, den);
        }
    }
}

}  // namespace frozen

// One case: a seeded picture scaled by both, compared pixel for pixel.
void ExpectSameAsFrozen(Random& rnd, int32_t srcW, int32_t srcH, int32_t dstW, int32_t dstH, int32_t dx,
                        int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                        bool area = true) {
    Picture src(srcW, srcH), dst(dstW, dstH);
    // Noise, or few colours with runs (like artwork): both kinds of sums.
    const bool noise = rnd.below(2) == 0;
    const uint32_t palette[] = {0xFFFFFFFFu, 0xFF000000u, rnd.pixel(), rnd.pixel()};
    for (uint32_t& px : src.pixels) px = noise ? rnd.engine() : palette[rnd.below(4)];
    for (uint32_t& px : dst.pixels) px = rnd.pixel();
    Picture expected = dst;
    frozen::Stretch(expected, dx, dy, dw, dh, src, sx, sy, sw, sh, area);
    if (area)
        StretchArea(dst.rows(), dx, dy, dw, dh, src.rows(), sx, sy, sw, sh);
    else
        StretchNearest(dst.rows(), dx, dy, dw, dh, src.rows(), sx, sy, sw, sh);
    std::size_t differ = 0;
    for (std::size_t i = 0; i < dst.pixels.size(); ++i) differ += dst.pixels[i] != expected.pixels[i];
    ASSERT_EQ(differ, 0u) << srcW << "x" << srcH << " (" << sx << "," << sy << " " << sw << "x" << sh
                          << ") -> " << dstW << "x" << dstH << " (" << dx << "," << dy << " " << dw << "x"
                          << dh << ")" << (area ? "" : " nearest");
}

TEST_P(PixelStretchArea, BitIdenticalToThePlainScalerAtTheStripSizes) {
    Random rnd(4242);
    const std::pair<int32_t, int32_t> cells[] = {{40, 76}, {45, 56}, {48, 60}, {55, 76}, {232, 520}};
    for (const auto& [w, h] : cells) {
        ASSERT_NO_FATAL_FAILURE(ExpectSameAsFrozen(rnd, 312, 432, w, h, 0, 0, w, h, 0, 0, 312, 432));
        // Into a strip at an odd offset, the last cell clipped by the strip's edge.
        ASSERT_NO_FATAL_FAILURE(
            ExpectSameAsFrozen(rnd, 312, 432, 5 * w + 3, h + 2, 4 * w + 3, 1, w, h, 0, 0, 312, 432));
        ASSERT_NO_FATAL_FAILURE(
            ExpectSameAsFrozen(rnd, 312, 432, w + 9, h + 7, -3, -5, w + 1, h + 2, 0, 0, 312, 432));
    }
}

TEST_P(PixelStretchArea, BitIdenticalToThePlainScalerOnRandomRectangles) {
    Random rnd(777);
    for (int n = 0; n < 1500; ++n) {
        const int32_t srcW = rnd.between(1, 120), srcH = rnd.between(1, 120);
        const int32_t dstW = rnd.between(1, 90), dstH = rnd.between(1, 90);
        // Shrinking a lot, a little, and enlarging.
        const int32_t kind = rnd.below(3);
        const int32_t sw = rnd.between(1, srcW + 6), sh = rnd.between(1, srcH + 6);
        const int32_t most = kind == 0 ? 12 : kind == 1 ? 90 : 300;
        const int32_t dw = rnd.between(1, most), dh = rnd.between(1, most);
        // Partly outside either surface now and then.
        const int32_t sx = rnd.between(-8, srcW - 1), sy = rnd.between(-8, srcH - 1);
        const int32_t dx = rnd.between(-dw, dstW), dy = rnd.between(-dh, dstH);
        ASSERT_NO_FATAL_FAILURE(
            ExpectSameAsFrozen(rnd, srcW, srcH, dstW, dstH, dx, dy, dw, dh, sx, sy, sw, sh, n % 10 != 0));
    }
    // Many whole rows and columns per destination pixel (beyond 16-bit
    // lane sums), and one huge span whose weights are rescaled.
    ASSERT_NO_FATAL_FAILURE(ExpectSameAsFrozen(rnd, 700, 3, 2, 1, 0, 0, 1, 1, 0, 0, 700, 3));
    ASSERT_NO_FATAL_FAILURE(ExpectSameAsFrozen(rnd, 5, 1500, 3, 3, 0, 0, 3, 3, 0, 0, 5, 1500));
    ASSERT_NO_FATAL_FAILURE(ExpectSameAsFrozen(rnd, 600, 600, 3, 3, 0, 0, 2, 2, 0, 0, 600, 600));
    ASSERT_NO_FATAL_FAILURE(ExpectSameAsFrozen(rnd, 2000, 9, 17, 5, 0, 0, 17, 5, 0, 0, 2000, 9));
    ASSERT_NO_FATAL_FAILURE(
        ExpectSameAsFrozen(rnd, 40, 40, 20, 20, 0, 0, 20, 20, -(int32_t(1) << 24), 3, int32_t(1) << 25, 30));
}

TEST(PixelStretch, HugeRectanglesAreClippedNotWalked) {
    Picture src(16, 16, 0xFF404040u), dst(16, 16);
    StretchArea(dst.rows(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, src.rows(), INT32_MIN, 0, INT32_MAX,
                1);
    StretchArea(dst.rows(), 0, 0, 16, 16, src.rows(), -1000000, -1000000, INT32_MAX, INT32_MAX);
    StretchNearest(dst.rows(), -5, -5, INT32_MAX, INT32_MAX, src.rows(), 0, 0, 3, 3);
    EXPECT_EQ(dst.at(0, 0), 0xFF404040u);
    StretchArea(dst.rows(), 0, 0, 0, 5, src.rows(), 0, 0, 5, 5);  // no size, no work
    StretchArea(dst.rows(), 0, 0, 5, 5, src.rows(), 0, 0, -5, 5);
}

TEST(PixelStretchNearest, PicksTheSourcePixelUnderEachCentre) {
    Picture src(4, 1), dst(8, 1);
    for (int32_t x = 0; x < 4; ++x) src.at(x, 0) = 0xFF000000u | uint32_t(x);
    StretchNearest(dst.rows(), 0, 0, 8, 1, src.rows(), 0, 0, 4, 1);
    for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(dst.at(x, 0), 0xFF000000u | uint32_t(x / 2));
}

}  // namespace
}  // namespace zent::pixels
