#include "segart.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace zent::segart {

PixelGrid::PixelGrid(int Width, int Height)
    : FWidth(Width > 0 ? Width : 0),
      FHeight(Height > 0 ? Height : 0),
      FBlack(size_t(FWidth) * size_t(FHeight), 0) {}

bool PixelGrid::Black(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return false;
    return FBlack[size_t(Y) * FWidth + X] != 0;
}

void PixelGrid::SetBlack(int X, int Y, bool Value) {
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
    FBlack[size_t(Y) * FWidth + X] = Value ? 1 : 0;
}

void PixelGrid::Stamp(const PixelGrid& Piece, int X, int Y) {
    for (int Py = 0; Py < Piece.Height(); ++Py)
        for (int Px = 0; Px < Piece.Width(); ++Px)
            if (Piece.Black(Px, Py)) SetBlack(X + Px, Y + Py);
}

int PixelGrid::CountBlack() const {
    int N = 0;
    for (uint8_t B : FBlack) N += B;
    return N;
}

PixelGrid RasterizePolygon(int Width, int Height, const std::vector<MilliPoint>& Vertices) {
    PixelGrid Grid(Width, Height);
    const size_t N = Vertices.size();
    for (int Y = 0; Y < Grid.Height(); ++Y) {
        const int64_t Cy = 1000 * int64_t(Y) + 500;  // centre, in thousandths
        for (int X = 0; X < Grid.Width(); ++X) {
            const int64_t Cx = 1000 * int64_t(X) + 500;
            // Crossing number of a ray to the right. An edge counts for centres
            // with Top <= Cy < Bottom, and only where it crosses strictly right of
            // the centre: this puts left and top edges inside, right and bottom
            // edges outside.
            bool Inside = false;
            for (size_t I = 0; I < N; ++I) {
                MilliPoint A = Vertices[I], B = Vertices[(I + 1) % N];
                if (A.Y == B.Y) continue;
                if (A.Y > B.Y) std::swap(A, B);
                if (Cy < A.Y || Cy >= B.Y) continue;
                const int64_t Dy = B.Y - A.Y, Dx = B.X - A.X;
                // crossing x = A.X + (Cy - A.Y) * Dx / Dy, compared without division
                if (A.X * Dy + (Cy - A.Y) * Dx > Cx * Dy) Inside = !Inside;
            }
            Grid.SetBlack(X, Y, Inside);
        }
    }
    return Grid;
}

namespace {

// A sheared ellipse ((x - cx) + s (y - cy))^2 / a^2 + ((y - cy) / b)^2 <= 1,
// with every length in half pixels and the shear as the fraction P / Q, so the
// test is exact.
struct ShearedEllipse {
    int64_t Cx2, Cy2, A2, B2, P, Q;
    bool Contains(int64_t X2, int64_t Y2) const {
        const int64_t U = X2 - Cx2, V = Y2 - Cy2;
        const int64_t W = Q * U + P * V;
        return W * W * B2 * B2 + Q * Q * A2 * A2 * V * V <= Q * Q * A2 * A2 * B2 * B2;
    }
};

}  // namespace

PixelGrid SegVert() {
    // Leaning right, pointed at both ends, clipped to the bitmap. The right flank
    // runs exactly 39 pixels right of the left one, x = 67.5 - 0.19 (y - 20.5),
    // so that every row from 25 to 165 is 39 pixels wide; its corners
    // (68.355, 16) and (38.715, 172) lie on it, within a quarter pixel of
    // (68.5, 16) and (38.5, 172), where the flanks would not be parallel.
    return RasterizePolygon(
        68, 190, {{53500, 0}, {68355, 16000}, {38715, 172000}, {15500, 191000}, {0, 170500}, {28500, 20500}});
}

PixelGrid SegHorz() {
    return RasterizePolygon(
        200, 38, {{21500, 0}, {184000, 0}, {200000, 19500}, {179500, 38000}, {15000, 38000}, {0, 19500}});
}

PixelGrid SegDot() {
    PixelGrid Grid(38, 38);
    for (int Y = 0; Y < 38; ++Y)
        for (int X = 0; X < 38; ++X) Grid.SetBlack(X, Y, std::min(X, 37 - X) + std::min(Y, 37 - Y) >= 10);
    return Grid;
}

PixelGrid SegPlus() {
    PixelGrid Grid(200, 190);
    Grid.Stamp(SegVert(), 66, 0);
    Grid.Stamp(SegHorz(), 0, 76);
    return Grid;
}

PixelGrid SegColon() {
    PixelGrid Grid(68, 190);
    const PixelGrid Dot = SegDot();
    Grid.Stamp(Dot, 30, 0);
    Grid.Stamp(Dot, 0, 152);
    return Grid;
}

PixelGrid SegDeg() {
    // Common centre (83.5, 69.5); outer a 72.5, b 74, shear 0.2; hole a 32.5, b 32, shear 0.26.
    const ShearedEllipse Outer{167, 139, 145, 148, 1, 5};
    const ShearedEllipse Hole{167, 139, 65, 64, 13, 50};
    PixelGrid Grid(160, 138);
    for (int Y = 0; Y < Grid.Height(); ++Y)
        for (int X = 0; X < Grid.Width(); ++X) {
            const int64_t X2 = 2 * int64_t(X) + 1, Y2 = 2 * int64_t(Y) + 1;
            Grid.SetBlack(X, Y, Outer.Contains(X2, Y2) && !Hole.Contains(X2, Y2));
        }
    return Grid;
}

namespace {

void Put16(std::vector<uint8_t>& Out, uint32_t V) {
    Out.push_back(uint8_t(V));
    Out.push_back(uint8_t(V >> 8));
}
void Put32(std::vector<uint8_t>& Out, uint32_t V) {
    Put16(Out, V & 0xFFFF);
    Put16(Out, V >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const PixelGrid& Grid, int BitsPerPixel) {
    if (BitsPerPixel != 1 && BitsPerPixel != 24)
        throw std::invalid_argument("EncodeBmp: only 1 and 24 bits per pixel are supported");
    const uint32_t W = uint32_t(Grid.Width()), H = uint32_t(Grid.Height());
    const uint32_t RowBytes = (W * uint32_t(BitsPerPixel) + 31) / 32 * 4;
    const uint32_t PaletteBytes = BitsPerPixel == 1 ? 8 : 0;
    const uint32_t DataOffset = 14 + 40 + PaletteBytes;
    const uint32_t ImageBytes = RowBytes * H;
    constexpr uint32_t PixelsPerMetre = 2835;  // 72 dpi, fixed so the bytes are reproducible

    std::vector<uint8_t> Out;
    Out.reserve(DataOffset + ImageBytes);
    Out.push_back('B');
    Out.push_back('M');
    Put32(Out, DataOffset + ImageBytes);
    Put32(Out, 0);  // reserved
    Put32(Out, DataOffset);

    Put32(Out, 40);
    Put32(Out, W);
    Put32(Out, H);  // positive: rows bottom-up
    Put16(Out, 1);  // planes
    Put16(Out, uint32_t(BitsPerPixel));
    Put32(Out, 0);  // BI_RGB
    Put32(Out, ImageBytes);
    Put32(Out, PixelsPerMetre);
    Put32(Out, PixelsPerMetre);
    Put32(Out, BitsPerPixel == 1 ? 2 : 0);  // colours used
    Put32(Out, 0);                          // colours important

    if (BitsPerPixel == 1) {
        Put32(Out, 0x00000000);  // index 0: black
        Put32(Out, 0x00FFFFFF);  // index 1: white
    }

    for (int Y = int(H) - 1; Y >= 0; --Y) {
        const size_t RowStart = Out.size();
        Out.resize(RowStart + RowBytes, 0);
        uint8_t* Row = Out.data() + RowStart;
        for (int X = 0; X < int(W); ++X) {
            const bool White = !Grid.Black(X, Y);
            if (BitsPerPixel == 1) {
                if (White) Row[X / 8] |= uint8_t(0x80u >> (X % 8));
            } else {
                const uint8_t V = White ? 0xFF : 0x00;
                Row[3 * X] = Row[3 * X + 1] = Row[3 * X + 2] = V;
            }
        }
    }
    return Out;
}

std::vector<uint8_t> ArtworkBmp(const Artwork& Art) {
    return EncodeBmp(Art.Make(), Art.BitsPerPixel);
}

}  // namespace zent::segart
