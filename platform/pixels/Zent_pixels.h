// Raw pixel rules: the one place that addresses pixel rows.
//
// Every canvas operation on a bitmap goes through these functions, so the
// rules (exclusive right and bottom edges, line end point excluded, exact
// colour flood fill, area-averaged scaling) live here and nowhere else.
// Pixels are 32-bit words as QImage::Format_RGB32 stores them (0xFFRRGGBB);
// nothing here depends on Qt. Coordinates are taken as 64-bit so that sums
// of 32-bit coordinates cannot overflow; everything is clipped to the surface.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace zent::pixels {

// A view on pixels owned by someone else: first pixel, size and row stride
// (in pixels, may be negative). Row addressing is bounds-checked in debug builds.
struct PixelRows {
    uint32_t* first = nullptr;
    int32_t width = 0, height = 0;
    std::ptrdiff_t stride = 0;

    bool empty() const { return first == nullptr || width <= 0 || height <= 0; }
    bool contains(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint32_t* row(int32_t y) const {
        assert(y >= 0 && y < height);
        return first + std::ptrdiff_t(y) * stride;
    }
    uint32_t& at(int32_t x, int32_t y) const {
        assert(x >= 0 && x < width);
        return row(y)[x];
    }
};

// A rectangle inside a surface: columns left..right-1, rows top..bottom-1.
struct Box {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

// The part of [left, right) x [top, bottom) inside a width x height surface;
// empty when nothing is inside (also when right <= left or bottom <= top).
Box Clip(int64_t left, int64_t top, int64_t right, int64_t bottom, int32_t width, int32_t height);

// Fills [left, right) x [top, bottom), clipped.
void Fill(const PixelRows& dst, int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t pixel);
// One row y, columns [x1, x2); one column x, rows [y1, y2). Clipped.
void SpanH(const PixelRows& dst, int64_t x1, int64_t x2, int64_t y, uint32_t pixel);
void SpanV(const PixelRows& dst, int64_t x, int64_t y1, int64_t y2, uint32_t pixel);
// The outline of [left, right) x [top, bottom) as at most four boxes given to
// fill(left, top, right, bottom): first and last row, then first and last
// column between them. Nothing for an empty rectangle.
template <class FillBox>
void ForEachFrameBox(int64_t left, int64_t top, int64_t right, int64_t bottom, FillBox&& fill) {
    if (right <= left || bottom <= top) return;
    fill(left, top, right, top + 1);
    if (bottom - top > 1) fill(left, bottom - 1, right, bottom);
    if (bottom - top > 2) {
        fill(left, top + 1, left + 1, bottom - 1);
        if (right - left > 1) fill(right - 1, top + 1, right, bottom - 1);
    }
}

// Visits the pixels of the line from (x0, y0) towards (x1, y1), end point
// excluded, that lie inside the clip box, in line order. The line steps one
// pixel along its longer axis per point (Bresenham); the other coordinate's
// offset from the start is the exact one rounded half up, so a tie steps
// towards the end point. Only the steps inside the clip box are walked, so
// the cost follows the box, not the line: huge coordinates cost nothing.
// visit(x, y) gets int32 coordinates inside the box.
template <class Visit>
void ForEachLinePixel(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const Box& clip, Visit&& visit);
// The same, clipped to a width x height surface.
template <class Visit>
void ForEachLinePixel(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t width, int32_t height,
                      Visit&& visit) {
    ForEachLinePixel(x0, y0, x1, y1, Box{0, 0, width, height}, std::forward<Visit>(visit));
}

void Line(const PixelRows& dst, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t pixel);

enum class Rop : uint8_t {
    Copy,  // destination := source
    And,   // destination := destination AND source (each 8-bit channel)
};

// The destination pixels of a copy of w x h pixels from (sx, sy) of a
// srcWidth x srcHeight surface to (dx, dy) of a dstWidth x dstHeight one,
// clipped against both; destination (x, y) reads source (x - dx + sx, y - dy + sy).
Box CopyBox(int32_t dstWidth, int32_t dstHeight, int64_t dx, int64_t dy, int32_t srcWidth, int32_t srcHeight,
            int64_t sx, int64_t sy, int64_t w, int64_t h);

// Combines the source rectangle [sx, sx + w) x [sy, sy + h) onto the
// destination at (dx, dy), clipped against both surfaces. Source and
// destination may be the same pixels, overlapping or not.
void Copy(const PixelRows& dst, int64_t dx, int64_t dy, const PixelRows& src, int64_t sx, int64_t sy,
          int64_t w, int64_t h, Rop rop);

// Replaces with `fill` every pixel equal to `target` that is 4-connected to
// (x, y) through such pixels. Nothing changes when (x, y) is outside or has
// another colour. Scanline spans on an explicit stack: no recursion, and the
// stack holds at most a few entries per filled span.
void FloodFill(const PixelRows& dst, int64_t x, int64_t y, uint32_t target, uint32_t fill);

// Scaled copies of the source rectangle (sx, sy, sw, sh) onto the destination
// rectangle (dx, dy, dw, dh); all four sizes must be positive and below 2^31
// or nothing happens (no mirroring), and a source surface may have at most
// 2^22 pixels per side.
// Destination pixels outside the destination surface are skipped; source
// pixels outside the source surface do not take part (a destination pixel
// that covers only such pixels stays unchanged).
//
// StretchArea: each destination pixel is the area-weighted average of the
// source pixels it covers, fractional coverage at the edges included, rounded
// to nearest per channel. Weights are exact integers per axis, precomputed.
void StretchArea(const PixelRows& dst, int64_t dx, int64_t dy, int64_t dw, int64_t dh, const PixelRows& src,
                 int64_t sx, int64_t sy, int64_t sw, int64_t sh);
// StretchNearest: each destination pixel takes the source pixel under its centre.
void StretchNearest(const PixelRows& dst, int64_t dx, int64_t dy, int64_t dw, int64_t dh,
                    const PixelRows& src, int64_t sx, int64_t sy, int64_t sw, int64_t sh);

// ---------------------------------------------------------------- inline

template <class Visit>
void ForEachLinePixel(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const Box& clip, Visit&& visit) {
    const int64_t ddx = int64_t(x1) - x0, ddy = int64_t(y1) - y0;
    const uint64_t ax = uint64_t(ddx < 0 ? -ddx : ddx), ay = uint64_t(ddy < 0 ? -ddy : ddy);
    const bool xMajor = ax >= ay;
    const uint64_t major = xMajor ? ax : ay, minor = xMajor ? ay : ax;
    if (major == 0 || clip.empty()) return;  // a line to its own start draws nothing
    const int64_t m0 = xMajor ? x0 : y0, n0 = xMajor ? y0 : x0;
    const int64_t ms = (xMajor ? ddx : ddy) < 0 ? -1 : 1, ns = (xMajor ? ddy : ddx) < 0 ? -1 : 1;
    const int64_t mLo = xMajor ? clip.left : clip.top, mHi = xMajor ? clip.right : clip.bottom;
    const int64_t nLo = xMajor ? clip.top : clip.left, nHi = xMajor ? clip.bottom : clip.right;

    // Steps i in [0, major) whose major coordinate m0 + ms * i is in [mLo, mHi).
    int64_t first = ms > 0 ? mLo - m0 : m0 - (mHi - 1);
    int64_t last = ms > 0 ? mHi - 1 - m0 : m0 - mLo;  // inclusive
    if (first < 0) first = 0;
    if (last > int64_t(major) - 1) last = int64_t(major) - 1;
    if (first > last) return;

    // Minor offset at step i: round_half_up(i * minor / major), as quotient q
    // and remainder r of i * minor (i, minor < 2^32, so the product fits).
    const auto offset = [minor, major](int64_t i) {
        const uint64_t product = uint64_t(i) * minor;
        return int64_t(product / major + (2 * (product % major) >= major ? 1 : 0));
    };
    // The offset never falls as i grows, so the steps whose minor coordinate
    // n0 + ns * offset is in [nLo, nHi) are one run: offsets [kLo, kHi].
    const int64_t kLo = ns > 0 ? nLo - n0 : n0 - (nHi - 1), kHi = ns > 0 ? nHi - 1 - n0 : n0 - nLo;
    // The first i in [lo, hi] where `past` holds (it holds from some i on), or hi + 1.
    const auto firstPast = [](int64_t lo, int64_t hi, auto past) {
        for (++hi; lo < hi;) {
            const int64_t mid = lo + (hi - lo) / 2;
            if (past(mid))
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    };
    if (offset(first) < kLo) first = firstPast(first, last, [&](int64_t i) { return offset(i) >= kLo; });
    if (first > last) return;
    if (offset(last) > kHi) last = firstPast(first, last, [&](int64_t i) { return offset(i) > kHi; }) - 1;
    if (first > last) return;

    const uint64_t product = uint64_t(first) * minor;
    uint64_t q = product / major, r = product % major;
    for (int64_t i = first; i <= last; ++i) {
        const int64_t n = n0 + ns * int64_t(q + (2 * r >= major ? 1 : 0));
        const int64_t m = m0 + ms * i;
        assert(m >= mLo && m < mHi && n >= nLo && n < nHi);
        if (xMajor)
            visit(int32_t(m), int32_t(n));
        else
            visit(int32_t(n), int32_t(m));
        r += minor;
        if (r >= major) {
            r -= major;
            ++q;
        }
    }
}

}  // namespace zent::pixels
