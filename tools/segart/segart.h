// The six pieces of black-on-white segment artwork that TSevenSeg composes
// its symbols from, computed from their geometry and encoded as BMP files.
//
// Coordinates have x to the right and y downward; pixel (x, y) covers
// [x, x+1) x [y, y+1). A pixel is black when its centre (x + 0.5, y + 0.5)
// lies inside the shape. A centre exactly on a polygon edge follows the same
// rule as the canvas's rectangles: on a left or top edge it is inside, on a
// right or bottom edge it is outside. So two polygons sharing an edge never
// both claim a pixel, and the result does not depend on rounding (all tests
// are exact integer arithmetic).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zent::segart {

// A black/white picture, row by row from the top.
class PixelGrid {
public:
    PixelGrid() = default;
    PixelGrid(int Width, int Height);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Outside the grid reads as white.
    bool Black(int X, int Y) const;
    // Outside the grid is ignored.
    void SetBlack(int X, int Y, bool Value = true);
    // Lays the black pixels of Piece onto this grid with its top left corner at (X, Y);
    // what falls outside is clipped.
    void Stamp(const PixelGrid& Piece, int X, int Y);
    int CountBlack() const;

    friend bool operator==(const PixelGrid&, const PixelGrid&) = default;

private:
    int FWidth = 0, FHeight = 0;
    std::vector<uint8_t> FBlack;
};

// A polygon vertex in thousandths of a pixel: (1000 x, 1000 y).
struct MilliPoint {
    int64_t X, Y;
};
// Rasterises a simple polygon onto a Width x Height grid by the centre rule above.
PixelGrid RasterizePolygon(int Width, int Height, const std::vector<MilliPoint>& Vertices);

PixelGrid SegVert();   // 68 x 190, vertical segment
PixelGrid SegHorz();   // 200 x 38, horizontal segment
PixelGrid SegDot();    // 38 x 38, point
PixelGrid SegPlus();   // 200 x 190, SegVert at (66, 0) with SegHorz at (0, 76)
PixelGrid SegColon();  // 68 x 190, SegDot at (30, 0) and at (0, 152)
PixelGrid SegDeg();    // 160 x 138, slanted ring

struct Artwork {
    std::string_view Name;  // resource name; the file is Name + ".bmp"
    int BitsPerPixel;       // 1 or 24
    PixelGrid (*Make)();
};
inline constexpr std::array<Artwork, 6> Artworks = {{
    {"SEGVERT", 1, SegVert},
    {"SEGHORZ", 1, SegHorz},
    {"SEGDOT", 1, SegDot},
    {"SEGPLUS", 24, SegPlus},
    {"SEGCOLON", 24, SegColon},
    {"SEGDEG", 24, SegDeg},
}};

// A Windows bitmap file: 14-byte file header, 40-byte info header,
// uncompressed rows bottom-up, each padded to 4 bytes. 1 bit per pixel uses
// a two-entry palette (0 black, 1 white); 24 bits per pixel has no palette.
// Throws std::invalid_argument for any other depth.
std::vector<uint8_t> EncodeBmp(const PixelGrid& Grid, int BitsPerPixel);

// The file contents of one artwork.
std::vector<uint8_t> ArtworkBmp(const Artwork& Art);

}  // namespace zent::segart
