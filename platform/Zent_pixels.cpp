#include "Zent_pixels.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__SSE2__) && !defined(__AVX__) && defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define ZENT_CLEAR_UPPER_HALVES 1
#endif

namespace zent::pixels {

namespace {

#if defined(ZENT_CLEAR_UPPER_HALVES)
// Legacy SSE instructions may run at half speed while code before us (built
// for AVX, or the kernel restoring its state) has left the upper halves of
// the vector registers in use: each instruction then waits on them. The
// pixel loops are long enough that clearing them first is worth a CPU check.
__attribute__((target("avx"))) void ZeroUpper() {
    _mm256_zeroupper();
}
void ClearUpperHalves() {
    static const bool avx = (__builtin_cpu_init(), __builtin_cpu_supports("avx"));
    if (avx) ZeroUpper();
}
#else
void ClearUpperHalves() {}
#endif

// Address range [lo, hi) that a view can touch; used to detect copies within one image.
void Span(const PixelRows& v, const uint32_t*& lo, const uint32_t*& hi) {
    const std::ptrdiff_t lastRow = std::ptrdiff_t(v.height - 1) * v.stride;
    lo = v.first + std::min<std::ptrdiff_t>(0, lastRow);
    hi = v.first + std::max<std::ptrdiff_t>(0, lastRow) + v.width;
}

bool Overlap(const PixelRows& a, const PixelRows& b) {
    const uint32_t *alo, *ahi, *blo, *bhi;
    Span(a, alo, ahi);
    Span(b, blo, bhi);
    return alo < bhi && blo < ahi;
}

// A private copy of a view's pixels, for reads that must not see the writes.
struct OwnedRows {
    std::vector<uint32_t> pixels;
    PixelRows view;
    explicit OwnedRows(const PixelRows& src)
        : pixels(std::size_t(src.width) * std::size_t(src.height)),
          view{pixels.data(), src.width, src.height, src.width} {
        for (int32_t y = 0; y < src.height; ++y)
            std::memcpy(view.row(y), src.row(y), std::size_t(src.width) * sizeof(uint32_t));
    }
};

// std::fill stays a scalar loop at -O2 with some compilers; rows are filled often.
void FillRow(uint32_t* d, std::size_t n, uint32_t pixel) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i v = _mm_set1_epi32(int32_t(pixel));
    for (; i + 4 <= n; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), v);
#endif
    for (; i < n; ++i) d[i] = pixel;
}

void AndRow(uint32_t* d, const uint32_t* s, std::size_t n) {
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= n; i += 4) {
        __m128i* at = reinterpret_cast<__m128i*>(d + i);
        _mm_storeu_si128(
            at, _mm_and_si128(_mm_loadu_si128(at), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i))));
    }
#endif
    for (; i < n; ++i) d[i] &= s[i];
}

// Replaces with `fill` the run of `value` that starts at `from` and returns
// its end, in one pass over the pixels: eight at a time while they all match
// (runs of one colour are long in the pictures filled).
uint32_t* FillRun(uint32_t* from, uint32_t* end, uint32_t value, uint32_t fill) {
#if defined(__SSE2__)
    const __m128i v = _mm_set1_epi32(int32_t(value)), f = _mm_set1_epi32(int32_t(fill));
    while (end - from >= 8) {
        __m128i* at = reinterpret_cast<__m128i*>(from);
        const __m128i equal = _mm_and_si128(_mm_cmpeq_epi32(_mm_loadu_si128(at), v),
                                            _mm_cmpeq_epi32(_mm_loadu_si128(at + 1), v));
        if (_mm_movemask_epi8(equal) != 0xFFFF) break;
        _mm_storeu_si128(at, f);
        _mm_storeu_si128(at + 1, f);
        from += 8;
    }
#endif
    while (from < end && *from == value) *from++ = fill;
    return from;
}

}  // namespace

Box Clip(int64_t left, int64_t top, int64_t right, int64_t bottom, int32_t width, int32_t height) {
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, width);
    bottom = std::min<int64_t>(bottom, height);
    if (right <= left || bottom <= top) return {};
    return {int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
}

void Fill(const PixelRows& dst, int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t pixel) {
    if (dst.empty()) return;
    const Box b = Clip(left, top, right, bottom, dst.width, dst.height);
    if (b.width() * int64_t(b.height()) >= 4096) ClearUpperHalves();
    for (int32_t y = b.top; y < b.bottom; ++y) FillRow(dst.row(y) + b.left, std::size_t(b.width()), pixel);
}

void SpanH(const PixelRows& dst, int64_t x1, int64_t x2, int64_t y, uint32_t pixel) {
    Fill(dst, x1, y, x2, y + 1, pixel);
}

void SpanV(const PixelRows& dst, int64_t x, int64_t y1, int64_t y2, uint32_t pixel) {
    Fill(dst, x, y1, x + 1, y2, pixel);
}


void Line(const PixelRows& dst, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t pixel) {
    if (dst.empty()) return;
    // Frames are made of straight lines: fill them as spans, end point excluded.
    if (y0 == y1) {
        if (x1 > x0) SpanH(dst, x0, x1, y0, pixel);
        else if (x1 < x0) SpanH(dst, int64_t(x1) + 1, int64_t(x0) + 1, y0, pixel);
        return;
    }
    if (x0 == x1) {
        if (y1 > y0) SpanV(dst, x0, y0, y1, pixel);
        else SpanV(dst, x0, int64_t(y1) + 1, int64_t(y0) + 1, pixel);
        return;
    }
    ForEachLinePixel(x0, y0, x1, y1, dst.width, dst.height,
                     [&](int32_t x, int32_t y) { dst.at(x, y) = pixel; });
}

Box CopyBox(int32_t dstWidth, int32_t dstHeight, int64_t dx, int64_t dy, int32_t srcWidth, int32_t srcHeight,
            int64_t sx, int64_t sy, int64_t w, int64_t h) {
    if (w <= 0 || h <= 0) return {};
    // The target rectangle, the destination surface and the source surface
    // moved onto the target, intersected.
    const int64_t tx = dx - sx, ty = dy - sy;
    return Clip(std::max(dx, tx), std::max(dy, ty), std::min(dx + w, srcWidth + tx),
                std::min(dy + h, srcHeight + ty), dstWidth, dstHeight);
}

void Copy(const PixelRows& dst, int64_t dx, int64_t dy, const PixelRows& src, int64_t sx, int64_t sy,
          int64_t w, int64_t h, Rop rop) {
    if (dst.empty() || src.empty()) return;
    const Box box = CopyBox(dst.width, dst.height, dx, dy, src.width, src.height, sx, sy, w, h);
    if (box.empty()) return;

    if (Overlap(dst, src)) {
        const OwnedRows copy(src);
        Copy(dst, dx, dy, copy.view, sx, sy, w, h, rop);
        return;
    }
    const int64_t tx = dx - sx, ty = dy - sy;
    const auto n = std::size_t(box.width());
    if (rop == Rop::And) ClearUpperHalves();
    for (int32_t y = box.top; y < box.bottom; ++y) {
        uint32_t* d = dst.row(y) + box.left;
        const uint32_t* s = src.row(int32_t(y - ty)) + (box.left - tx);
        if (rop == Rop::Copy)
            std::memcpy(d, s, n * sizeof(uint32_t));
        else
            AndRow(d, s, n);
    }
}

void FloodFill(const PixelRows& dst, int64_t x, int64_t y, uint32_t target, uint32_t fill) {
    if (dst.empty() || !dst.contains(x, y) || target == fill) return;
    ClearUpperHalves();
    if (dst.at(int32_t(x), int32_t(y)) != target) return;

    // A pending scan: row `y` between columns xl and xr (inclusive), reached
    // from a filled span of row y - dir.
    struct Scan {
        int32_t y, xl, xr, dir;
    };
    std::vector<Scan> stack;
    const auto fillSpan = [&](int32_t row, int32_t from, int32_t& l, int32_t& r) {
        uint32_t* p = dst.row(row);
        l = from;
        while (l > 0 && p[l - 1] == target) --l;
        FillRow(p + l, std::size_t(from - l), fill);
        r = int32_t(FillRun(p + from, p + dst.width, target, fill) - p) - 1;
    };

    int32_t l, r;
    fillSpan(int32_t(y), int32_t(x), l, r);
    stack.push_back({int32_t(y) - 1, l, r, -1});
    stack.push_back({int32_t(y) + 1, l, r, +1});
    while (!stack.empty()) {
        const Scan s = stack.back();
        stack.pop_back();
        if (s.y < 0 || s.y >= dst.height) continue;
        const uint32_t* p = dst.row(s.y);
        for (int32_t cx = s.xl; cx <= s.xr; ++cx) {
            if (p[cx] != target) continue;
            fillSpan(s.y, cx, l, r);
            stack.push_back({s.y + s.dir, l, r, s.dir});
            // The span may reach past its parent; those parts of the parent row
            // are still unexplored. The parent's own neighbours are not target.
            if (l < s.xl - 1) stack.push_back({s.y - s.dir, l, s.xl - 2, -s.dir});
            if (r > s.xr + 1) stack.push_back({s.y - s.dir, s.xr + 2, r, -s.dir});
            cx = r + 1;
        }
    }
}

// ---------------------------------------------------------------- scaling

namespace {

// Source taps of each visible destination index along one axis.
struct AxisTaps {
    int32_t begin = 0, end = 0;       // visible destination indexes [begin, end), surface coordinates
    std::vector<uint32_t> offset;     // per destination: first entry in src/weight (size end - begin + 1)
    std::vector<int32_t> src;         // source index in surface coordinates
    std::vector<uint32_t> weight;     // its weight
    std::vector<uint32_t> sum;        // per destination: sum of its weights (0: nothing to average)
    int32_t srcMin = 0, srcMax = -1;  // range of source indexes used
};

// Weights are overlaps in units where a destination pixel is `sn` long and a
// source pixel `dn` long, so one destination pixel's weights sum to sn. They
// stay exact while sn <= 2^23. Larger spans (far beyond any real surface) are
// rescaled to 2^23, rounding up so that no covered pixel drops out; with at
// most 2^22 source pixels per axis a sum stays below 2^24, so the sums of one
// pass (255 * 2^24) fit in 32 bits and those of both passes in 64.
constexpr int64_t kMaxExactSpan = int64_t(1) << 23;
constexpr int32_t kMaxSourceSide = int32_t(1) << 22;

AxisTaps BuildTaps(int64_t d0, int64_t dn, int32_t dLimit, int64_t s0, int64_t sn, int32_t sLimit,
                   bool area) {
    AxisTaps t;
    const int64_t begin = std::max<int64_t>(d0, 0), end = std::min<int64_t>(d0 + dn, dLimit);
    if (end <= begin) return t;
    t.begin = int32_t(begin);
    t.end = int32_t(end);
    t.offset.reserve(std::size_t(end - begin) + 1);
    t.sum.reserve(std::size_t(end - begin));
    // Neighbours share at most one source index, so the taps number at most
    // one per destination index plus the source indexes covered.
    const int64_t perIndex = area ? sn / dn + 2 : 1;
    const auto taps = std::size_t(std::min((end - begin) * perIndex, (end - begin) + int64_t(sLimit)));
    t.src.reserve(taps);
    t.weight.reserve(taps);
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
            const int64_t lo = j * sn, hi = (j + 1) * sn;  // this destination pixel, in units
            // Only source pixels inside the surface matter: k in [-s0, sLimit - s0).
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

// Rounds sum / den to nearest. Below 2^24 a double reciprocal is exact enough:
// a quotient that is not whole lies at least 1/den (>= 2^-24) from the next
// whole number, far more than the rounding error, and the small bias lifts
// exact quotients that the reciprocal puts a hair below.
struct Divider {
    uint64_t den, half;
    double inverse;
    explicit Divider(uint64_t d) : den(d), half(d / 2), inverse(1.0 / double(d)) {}
    uint32_t operator()(uint64_t sum) const {
        // Signed conversions: the unsigned ones cost a branch each. Values are far below 2^63.
        if (den < (uint64_t(1) << 24)) return uint32_t(int32_t(double(int64_t(sum + half)) * inverse + 1e-9));
        return uint32_t((sum + half) / den);
    }
};

// Whether each destination index's taps are a first one, a run of
// consecutive source indexes sharing one weight, and a last one (any part may
// be missing). Area weights always are: only the two ends of a destination
// pixel cover source pixels partly; everything between is covered whole.
bool BoxShaped(const AxisTaps& t) {
    for (std::size_t j = 0; j + 1 < t.offset.size(); ++j) {
        const uint32_t first = t.offset[j], last = t.offset[j + 1] - 1;
        for (uint32_t k = first + 1; k < last; ++k)
            if (t.src[k] != t.src[first] + int32_t(k - first) || t.weight[k] != t.weight[first + 1])
                return false;
    }
    return true;
}

// Sums of one destination row: plane[4x + c] = sum of weights[k] * channel c
// of rows[k][x], for columns [from, n), channels blue, green, red (the fourth
// entry is unused). Plain form, any weights.
void SumRowsPlain(const uint32_t* const* rows, const uint32_t* weights, uint32_t count, int32_t from,
                  int32_t n, uint32_t* plane) {
    std::fill(plane + 4 * std::ptrdiff_t(from), plane + 4 * std::ptrdiff_t(n), 0u);
    for (uint32_t k = 0; k < count; ++k) {
        const uint32_t* s = rows[k];
        const uint32_t w = weights[k];
        for (int32_t x = from; x < n; ++x) {
            uint32_t* at = plane + 4 * std::ptrdiff_t(x);
            at[0] += w * (s[x] & 0xFF);
            at[1] += w * ((s[x] >> 8) & 0xFF);
            at[2] += w * ((s[x] >> 16) & 0xFF);
        }
    }
}

#if defined(__SSE2__)
// Runs of whole rows summed unweighted in 16-bit lanes stay exact up to this
// many rows (128 * 255 < 2^15, so pmaddwd may read the sums as signed).
constexpr uint32_t kRowsPerLaneSum = 128;

// SumRowsPlain for box-shaped taps with weights below 2^15, eight columns at a
// time: the run of whole rows is summed unweighted in 16-bit lanes (an add
// per row) and weighted once; the first and last rows keep their own weights.
// pmaddwd forms weight * value pairs of 16-bit operands into 32-bit sums
// (each pair below 2^31), and the 32-bit totals equal the plain ones as the
// plain sums never reach 2^32.
void SumRowsBoxed(const uint32_t* const* rows, const uint32_t* weights, uint32_t count, int32_t n,
                  uint32_t* plane) {
    const __m128i zero = _mm_setzero_si128();
    // 16-bit pairs (first row, last row) get one multiply-add per channel.
    const __m128i edges = _mm_set1_epi32(int32_t(weights[0] | (count > 1 ? weights[count - 1] << 16 : 0)));
    const __m128i run = _mm_set1_epi32(count > 2 ? int32_t(weights[1]) : 0);
    const uint32_t* const first = rows[0];
    const uint32_t* const last = count > 1 ? rows[count - 1] : nullptr;
    // Columns x .. x + 3 of the first and last rows: bytes paired (first, last)
    // and widened, so one multiply-add per column gives blue, green, red, -.
    const auto edgesAt = [&](int32_t x) {
        const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + x));
        const __m128i l = last ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(last + x)) : zero;
        const __m128i low = _mm_unpacklo_epi8(f, l), high = _mm_unpackhi_epi8(f, l);
        __m128i* to = reinterpret_cast<__m128i*>(plane + 4 * std::ptrdiff_t(x));
        _mm_storeu_si128(to, _mm_madd_epi16(_mm_unpacklo_epi8(low, zero), edges));
        _mm_storeu_si128(to + 1, _mm_madd_epi16(_mm_unpackhi_epi8(low, zero), edges));
        _mm_storeu_si128(to + 2, _mm_madd_epi16(_mm_unpacklo_epi8(high, zero), edges));
        _mm_storeu_si128(to + 3, _mm_madd_epi16(_mm_unpackhi_epi8(high, zero), edges));
    };
    // Adds the weighted run sums of columns x, x + 1 (lo) and x + 2, x + 3 (hi).
    const auto addRunAt = [&](int32_t x, __m128i lo, __m128i hi) {
        __m128i* to = reinterpret_cast<__m128i*>(plane + 4 * std::ptrdiff_t(x));
        const auto add = [](__m128i* at, __m128i v) {
            _mm_storeu_si128(at, _mm_add_epi32(_mm_loadu_si128(at), v));
        };
        add(to, _mm_madd_epi16(_mm_unpacklo_epi16(lo, zero), run));
        add(to + 1, _mm_madd_epi16(_mm_unpackhi_epi16(lo, zero), run));
        add(to + 2, _mm_madd_epi16(_mm_unpacklo_epi16(hi, zero), run));
        add(to + 3, _mm_madd_epi16(_mm_unpackhi_epi16(hi, zero), run));
    };
    int32_t x = 0;
    for (; x + 8 <= n; x += 8) {
        edgesAt(x);
        edgesAt(x + 4);
        for (uint32_t k = 1; k + 1 < count;) {
            const uint32_t stop = std::min(count - 1, k + kRowsPerLaneSum);
            __m128i a0 = zero, a1 = zero, a2 = zero, a3 = zero;  // two columns each
            for (const uint32_t *const *row = rows + k, *const *end = rows + stop; row < end; ++row) {
                const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(*row + x));
                const __m128i q = _mm_loadu_si128(reinterpret_cast<const __m128i*>(*row + x + 4));
                a0 = _mm_add_epi16(a0, _mm_unpacklo_epi8(p, zero));
                a1 = _mm_add_epi16(a1, _mm_unpackhi_epi8(p, zero));
                a2 = _mm_add_epi16(a2, _mm_unpacklo_epi8(q, zero));
                a3 = _mm_add_epi16(a3, _mm_unpackhi_epi8(q, zero));
            }
            k = stop;
            addRunAt(x, a0, a1);
            addRunAt(x + 4, a2, a3);
        }
    }
    if (x < n) SumRowsPlain(rows, weights, count, x, n, plane);
}

// A destination pixel from box-shaped column taps (weights, `taps` of them,
// the first over column sums `at`) when its divisor is below 2^24: every sum
// then stays below 255 * 2^24 < 2^32, so the run of whole columns is summed
// in 32-bit lanes and the products of 32-bit sums and weights in 64-bit lanes
// (pmuludq) are exact. The quotients are the Divider's own double arithmetic,
// two at a time: sums below 2^52 convert to double exactly through the bits
// of 2^52 + sum.
uint32_t BoxPixel(const uint32_t* at, const uint32_t* weights, uint32_t taps, const Divider& divide) {
    const __m128i* column = reinterpret_cast<const __m128i*>(at);
    __m128i run = _mm_setzero_si128();
    for (uint32_t k = 1; k + 1 < taps; ++k) run = _mm_add_epi32(run, _mm_loadu_si128(column + k));
    const __m128i first = _mm_loadu_si128(column), last = _mm_loadu_si128(column + (taps - 1));
    const __m128i wFirst = _mm_set1_epi32(int32_t(weights[0]));
    const __m128i wRun = _mm_set1_epi32(taps > 2 ? int32_t(weights[1]) : 0);
    const __m128i wLast = _mm_set1_epi32(taps > 1 ? int32_t(weights[taps - 1]) : 0);
    const auto weigh = [&](__m128i f, __m128i r, __m128i l) {  // lanes 0 and 2, as 64-bit sums
        return _mm_add_epi64(_mm_add_epi64(_mm_mul_epu32(f, wFirst), _mm_mul_epu32(r, wRun)),
                             _mm_mul_epu32(l, wLast));
    };
    const __m128i blueRed = weigh(first, run, last);
    const __m128i greenAlpha =
        weigh(_mm_srli_epi64(first, 32), _mm_srli_epi64(run, 32), _mm_srli_epi64(last, 32));
    const __m128i magic = _mm_set1_epi64x(int64_t(0x4330000000000000));
    const __m128i half = _mm_set1_epi64x(int64_t(divide.half));
    const __m128d inverse = _mm_set1_pd(divide.inverse), bias = _mm_set1_pd(1e-9);
    const auto quotients = [&](__m128i sums) {
        const __m128d v = _mm_sub_pd(_mm_castsi128_pd(_mm_or_si128(_mm_add_epi64(sums, half), magic)),
                                     _mm_castsi128_pd(magic));
        return _mm_cvttpd_epi32(_mm_add_pd(_mm_mul_pd(v, inverse), bias));
    };
    const __m128i q = quotients(blueRed), g = quotients(greenAlpha);
    return 0xFF000000u | uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(q, 4))) << 16 |
           uint32_t(_mm_cvtsi128_si32(g)) << 8 | uint32_t(_mm_cvtsi128_si32(q));
}
#endif


void Stretch(const PixelRows& dst, int64_t dx, int64_t dy, int64_t dw, int64_t dh, const PixelRows& src,
             int64_t sx, int64_t sy, int64_t sw, int64_t sh, bool area) {
    if (dst.empty() || src.empty() || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    constexpr int64_t kMax = INT32_MAX;  // keeps the unit arithmetic of BuildTaps inside 64 bits
    if (dw > kMax || dh > kMax || sw > kMax || sh > kMax) return;
    if (src.width > kMaxSourceSide || src.height > kMaxSourceSide) return;
    if (Overlap(dst, src)) {
        const OwnedRows copy(src);
        Stretch(dst, dx, dy, dw, dh, copy.view, sx, sy, sw, sh, area);
        return;
    }
    const AxisTaps tx = BuildTaps(dx, dw, dst.width, sx, sw, src.width, area);
    const AxisTaps ty = BuildTaps(dy, dh, dst.height, sy, sh, src.height, area);
    if (tx.srcMax < tx.srcMin || ty.srcMax < ty.srcMin) return;
    ClearUpperHalves();

    // Vertical pass first: per destination row, the weighted sums of the
    // source rows it covers over the columns in use, blue, green and red side
    // by side per column (each below 255 * 2^24). It streams whole rows; the
    // horizontal pass then works on one row of sums instead of every source row.
    // Every sum is an exact integer, so the order of adding does not matter.
    const int32_t span = tx.srcMax - tx.srcMin + 1;
    std::vector<uint32_t> planeStore(4 * std::size_t(span));
    uint32_t* const plane = planeStore.data();
    std::vector<const uint32_t*> rows(ty.src.size());
    for (std::size_t k = 0; k < rows.size(); ++k) rows[k] = src.row(ty.src[k]) + tx.srcMin;

#if defined(__SSE2__)
    const bool boxedRows =
        BoxShaped(ty) && *std::max_element(ty.weight.begin(), ty.weight.end()) < (uint32_t(1) << 15);
    const bool boxedColumns = BoxShaped(tx);
#endif
    Divider divide(1);
    for (std::size_t i = 0; i < ty.sum.size(); ++i) {
        if (ty.sum[i] == 0) continue;
        const uint32_t first = ty.offset[i], count = ty.offset[i + 1] - first;
#if defined(__SSE2__)
        if (boxedRows)
            SumRowsBoxed(rows.data() + first, ty.weight.data() + first, count, span, plane);
        else
#endif
            SumRowsPlain(rows.data() + first, ty.weight.data() + first, count, 0, span, plane);

        uint32_t* drow = dst.row(ty.begin + int32_t(i));
        for (std::size_t j = 0; j < tx.sum.size(); ++j) {
            if (tx.sum[j] == 0) continue;
            const uint32_t tap = tx.offset[j], taps = tx.offset[j + 1] - tap;
            // Whole destination pixels share one divisor: a division saved per pixel.
            const uint64_t den = uint64_t(tx.sum[j]) * ty.sum[i];
            if (den != divide.den) divide = Divider(den);
#if defined(__SSE2__)
            if (boxedColumns && den < (uint64_t(1) << 24)) {
                drow[tx.begin + int32_t(j)] = BoxPixel(plane + 4 * std::ptrdiff_t(tx.src[tap] - tx.srcMin),
                                                       tx.weight.data() + tap, taps, divide);
                continue;
            }
#endif
            uint64_t b = 0, g = 0, r = 0;
            for (uint32_t k = tap; k < tap + taps; ++k) {
                const uint32_t* at = plane + 4 * std::ptrdiff_t(tx.src[k] - tx.srcMin);
                const uint64_t w = tx.weight[k];
                b += w * at[0];
                g += w * at[1];
                r += w * at[2];
            }
            drow[tx.begin + int32_t(j)] = 0xFF000000u | (divide(r) << 16) | (divide(g) << 8) | divide(b);
        }
    }
}

}  // namespace

void StretchArea(const PixelRows& dst, int64_t dx, int64_t dy, int64_t dw, int64_t dh, const PixelRows& src,
                 int64_t sx, int64_t sy, int64_t sw, int64_t sh) {
    Stretch(dst, dx, dy, dw, dh, src, sx, sy, sw, sh, true);
}

void StretchNearest(const PixelRows& dst, int64_t dx, int64_t dy, int64_t dw, int64_t dh,
                    const PixelRows& src, int64_t sx, int64_t sy, int64_t sw, int64_t sh) {
    Stretch(dst, dx, dy, dw, dh, src, sx, sy, sw, sh, false);
}

}  // namespace zent::pixels
