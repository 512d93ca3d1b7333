// The inner pixel loops that have vector forms, behind one table of kernels
// chosen once per process.
//
// Zent_pixels.cpp walks the rules (clipping, spans, taps) and calls the
// active table for the loops over pixels. The plain kernels live there too and
// are the reference: every other table must give the very same pixels. Each
// instruction set has a file of its own (Zent_pixels_sse2.cpp), so a new one
// adds a table without touching the callers. Platform-internal, not installed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zent::pixels {

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

// The scaler's horizontal taps, as the row kernels read them: destination
// column j (0 <= j < count) averages the plane columns src[k] - srcMin for k
// in [offset[j], offset[j + 1]) with weights weight[k], which sum to sum[j]
// (0: the pixel is left alone).
struct ColumnTaps {
    const uint32_t* offset;
    const int32_t* src;
    const uint32_t* weight;
    const uint32_t* sum;
    uint32_t count;
    int32_t srcMin;
    // Each column's taps are a first one, a run of consecutive source columns
    // sharing one weight, and a last one (any part may be missing).
    bool boxShaped;
};

// Plain building blocks, which the vector kernels fall back on where their
// conditions do not hold.
//
// Vertical pass over the columns [from, n): plane[4x + c] = sum of weights[k]
// * channel c of rows[k][x], channels blue, green, red (the fourth entry is
// unused); any weights.
void SumRowsPlain(const uint32_t* const* rows, const uint32_t* weights, uint32_t count, int32_t from,
                  int32_t n, uint32_t* plane);
// One destination pixel of column j from a plane of vertical sums.
inline uint32_t WeighPixelPlain(const ColumnTaps& t, uint32_t j, const uint32_t* plane,
                                const Divider& divide) {
    uint64_t b = 0, g = 0, r = 0;
    for (uint32_t k = t.offset[j]; k < t.offset[j + 1]; ++k) {
        const uint32_t* at = plane + 4 * std::ptrdiff_t(t.src[k] - t.srcMin);
        const uint64_t w = t.weight[k];
        b += w * at[0];
        g += w * at[1];
        r += w * at[2];
    }
    return 0xFF000000u | (divide(r) << 16) | (divide(g) << 8) | divide(b);
}

// The horizontal pass over the destination row: each column with taps gets
// Pixel(t, j, divide, den). Columns of one whole destination pixel share a divisor,
// so a division is prepared once per run of equal divisors, not per pixel.
// Divider is passed back for the next row. A template so that each kernel's
// pixel function is inlined into the loop.
template <typename PixelFn>
inline void WeighColumnsWith(const ColumnTaps& taps, uint32_t rowSum, Divider& divider, uint32_t* drow,
                             PixelFn Pixel) {
    // Copies the compiler may keep in registers: the stores to drow could alias the originals.
    const ColumnTaps t = taps;
    Divider divide = divider;
    for (uint32_t j = 0; j < t.count; ++j) {
        if (t.sum[j] == 0) continue;
        const uint64_t den = uint64_t(t.sum[j]) * rowSum;
        if (den != divide.den) divide = Divider(den);
        drow[j] = Pixel(t, j, divide, den);
    }
    divider = divide;
}

struct Kernels {
    const char* name;
    // Called before a long run of kernel calls; vector kernels make the
    // registers ready there.
    void (*prepare)();
    // d[0, n) := pixel.
    void (*fillRow)(uint32_t* d, std::size_t n, uint32_t pixel);
    // d[i] := d[i] AND s[i] for i in [0, n).
    void (*andRow)(uint32_t* d, const uint32_t* s, std::size_t n);
    // Replaces with `fill` the run of `value` that starts at `from` (and ends
    // at `end` at the latest); returns the end of the run.
    uint32_t* (*fillRun)(uint32_t* from, uint32_t* end, uint32_t value, uint32_t fill);
    // SumRowsPlain over [0, n). `boxed`: the taps are box-shaped (a first
    // row, a run of rows sharing one weight, a last row) with weights below 2^15.
    void (*sumRows)(const uint32_t* const* rows, const uint32_t* weights, uint32_t count, int32_t n,
                    bool boxed, uint32_t* plane);
    // One destination row: drow[j] for every column with a non-zero sum, the
    // divisor being sum[j] * rowSum. `divide` is kept between calls, as
    // neighbouring pixels mostly share their divisor.
    void (*weighColumns)(const ColumnTaps& taps, const uint32_t* plane, uint32_t rowSum, Divider& divide,
                         uint32_t* drow);
};

const Kernels& PlainKernels();
// Null where the build has no SSE2.
const Kernels* Sse2Kernels();
// Every table this build has, the plain one first.
std::span<const Kernels* const> AvailableKernels();
// The fastest table for this machine, chosen on first use.
const Kernels& ActiveKernels();
// Makes Table the active one and returns the previous; for tests and benchmarks.
const Kernels& UseKernels(const Kernels& Table);

}  // namespace zent::pixels
