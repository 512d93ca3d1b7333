// SSE2 kernels: the same pixels as the plain ones, four or eight at a time.
#include "Zent_pixels_kernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include <algorithm>
#endif
#if defined(__SSE2__) && !defined(__AVX__) && defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define ZENT_CLEAR_UPPER_HALVES 1
#endif

namespace zent::pixels {

#if defined(__SSE2__)
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

// std::fill stays a scalar loop at -O2 with some compilers; rows are filled often.
void FillRow(uint32_t* d, std::size_t n, uint32_t pixel) {
    std::size_t i = 0;
    const __m128i v = _mm_set1_epi32(int32_t(pixel));
    for (; i + 4 <= n; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), v);
    for (; i < n; ++i) d[i] = pixel;
}

void AndRow(uint32_t* d, const uint32_t* s, std::size_t n) {
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i* at = reinterpret_cast<__m128i*>(d + i);
        _mm_storeu_si128(
            at, _mm_and_si128(_mm_loadu_si128(at), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i))));
    }
    for (; i < n; ++i) d[i] &= s[i];
}

// In one pass over the pixels: eight at a time while they all match (runs of
// one colour are long in the pictures filled).
uint32_t* FillRun(uint32_t* from, uint32_t* end, uint32_t value, uint32_t fill) {
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
    while (from < end && *from == value) *from++ = fill;
    return from;
}

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

void SumRows(const uint32_t* const* rows, const uint32_t* weights, uint32_t count, int32_t n, bool boxed,
             uint32_t* plane) {
    if (boxed)
        SumRowsBoxed(rows, weights, count, n, plane);
    else
        SumRowsPlain(rows, weights, count, 0, n, plane);
}

void WeighColumns(const ColumnTaps& taps, const uint32_t* plane, uint32_t rowSum, Divider& divider,
                  uint32_t* drow) {
    WeighColumnsWith(taps, rowSum, divider, drow,
                     [plane](const ColumnTaps& t, uint32_t j, const Divider& d, uint64_t den) {
                         const uint32_t tap = t.offset[j];
                         return t.boxShaped && den < (uint64_t(1) << 24)
                                    ? BoxPixel(plane + 4 * std::ptrdiff_t(t.src[tap] - t.srcMin),
                                               t.weight + tap, t.offset[j + 1] - tap, d)
                                    : WeighPixelPlain(t, j, plane, d);
                     });
}

constexpr Kernels kSse2{"sse2", ClearUpperHalves, FillRow, AndRow, FillRun, SumRows, WeighColumns};

}  // namespace

const Kernels* Sse2Kernels() {
    return &kSse2;
}
#else
const Kernels* Sse2Kernels() {
    return nullptr;
}
#endif

}  // namespace zent::pixels
