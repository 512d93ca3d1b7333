#include "Zent_pixels.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Zent_pixels_kernels.h"

namespace zent::pixels {

namespace {

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
    const Kernels& k = ActiveKernels();
    if (b.width() * int64_t(b.height()) >= 4096) k.prepare();
    for (int32_t y = b.top; y < b.bottom; ++y) k.fillRow(dst.row(y) + b.left, std::size_t(b.width()), pixel);
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
    const Kernels& k = ActiveKernels();
    if (rop == Rop::And) k.prepare();
    for (int32_t y = box.top; y < box.bottom; ++y) {
        uint32_t* d = dst.row(y) + box.left;
        const uint32_t* s = src.row(int32_t(y - ty)) + (box.left - tx);
        if (rop == Rop::Copy)
            std::memcpy(d, s, n * sizeof(uint32_t));
        else
            k.andRow(d, s, n);
    }
}

void FloodFill(const PixelRows& dst, int64_t x, int64_t y, uint32_t target, uint32_t fill) {
    if (dst.empty() || !dst.contains(x, y) || target == fill) return;
    const Kernels& k = ActiveKernels();
    k.prepare();
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
        k.fillRow(p + l, std::size_t(from - l), fill);
        r = int32_t(k.fillRun(p + from, p + dst.width, target, fill) - p) - 1;
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
    const Kernels& k = ActiveKernels();
    k.prepare();

    // Vertical pass first: per destination row, the weighted sums of the
    // source rows it covers over the columns in use, blue, green and red side
    // by side per column (each below 255 * 2^24). It streams whole rows; the
    // horizontal pass then works on one row of sums instead of every source row.
    // Every sum is an exact integer, so the order of adding does not matter.
    const int32_t span = tx.srcMax - tx.srcMin + 1;
    std::vector<uint32_t> planeStore(4 * std::size_t(span));
    uint32_t* const plane = planeStore.data();
    std::vector<const uint32_t*> rows(ty.src.size());
    for (std::size_t r = 0; r < rows.size(); ++r) rows[r] = src.row(ty.src[r]) + tx.srcMin;

    const bool boxedRows =
        BoxShaped(ty) && *std::max_element(ty.weight.begin(), ty.weight.end()) < (uint32_t(1) << 15);
    const ColumnTaps columns{tx.offset.data(), tx.src.data(), tx.weight.data(), tx.sum.data(),
                             uint32_t(tx.sum.size()), tx.srcMin, BoxShaped(tx)};
    Divider divide(1);
    for (std::size_t i = 0; i < ty.sum.size(); ++i) {
        if (ty.sum[i] == 0) continue;
        const uint32_t first = ty.offset[i], count = ty.offset[i + 1] - first;
        k.sumRows(rows.data() + first, ty.weight.data() + first, count, span, boxedRows, plane);
        k.weighColumns(columns, plane, ty.sum[i], divide, dst.row(ty.begin + int32_t(i)) + tx.begin);
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

// ---------------------------------------------------------------- plain kernels

namespace {

// The reference: one pixel at a time, obviously right.
void PlainPrepare() {}

void PlainFillRow(uint32_t* d, std::size_t n, uint32_t pixel) {
    for (std::size_t i = 0; i < n; ++i) d[i] = pixel;
}

void PlainAndRow(uint32_t* d, const uint32_t* s, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) d[i] &= s[i];
}

uint32_t* PlainFillRun(uint32_t* from, uint32_t* end, uint32_t value, uint32_t fill) {
    while (from < end && *from == value) *from++ = fill;
    return from;
}

void PlainSumRows(const uint32_t* const* rows, const uint32_t* weights, uint32_t count, int32_t n, bool,
                  uint32_t* plane) {
    SumRowsPlain(rows, weights, count, 0, n, plane);
}

void PlainWeighColumns(const ColumnTaps& taps, const uint32_t* plane, uint32_t rowSum, Divider& divider,
                       uint32_t* drow) {
    WeighColumnsWith(taps, rowSum, divider, drow,
                     [plane](const ColumnTaps& t, uint32_t j, const Divider& d, uint64_t) {
                         return WeighPixelPlain(t, j, plane, d);
                     });
}

constexpr Kernels kPlain{"plain",      PlainPrepare, PlainFillRow,     PlainAndRow,
                         PlainFillRun, PlainSumRows, PlainWeighColumns};

// The fastest table this build has; a table that needs a CPU feature checks
// for it here.
const Kernels*& Active() {
    static const Kernels* active = Sse2Kernels() ? Sse2Kernels() : &kPlain;
    return active;
}

}  // namespace

const Kernels& PlainKernels() {
    return kPlain;
}

std::span<const Kernels* const> AvailableKernels() {
    static const Kernels* const all[] = {&kPlain, Sse2Kernels()};
    return {all, Sse2Kernels() ? 2u : 1u};
}

const Kernels& ActiveKernels() {
    return *Active();
}

const Kernels& UseKernels(const Kernels& Table) {
    const Kernels& previous = *Active();
    Active() = &Table;
    return previous;
}

}  // namespace zent::pixels
