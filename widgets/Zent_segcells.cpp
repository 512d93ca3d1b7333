#include "Zent_segcells.h"

#include <algorithm>

#include "Zent_sysutils.h"

namespace zent {

// ------------------------------------------------------------ caption cells

namespace {

constexpr bool IsPoint(char Ch) {
    return Ch == '.' || Ch == ',';
}

// Symbol index (1..21, 0 for none) of every byte, letters a..z upper-cased.
constexpr std::array<uint8_t, 256> SymbolTable = [] {
    std::array<uint8_t, 256> T{};
    for (int b = 0; b < 256; ++b) {
        const auto Pos = GlyphChars.find(UpperCase(char(b)));
        T[b] = Pos == std::string_view::npos ? 0 : uint8_t(Pos + 1);
    }
    return T;
}();

}  // namespace

TCaptionCells ReadCaption(std::string_view Caption, int NumDigits) {
    TCaptionCells Result;
    const int Limit = std::clamp(NumDigits, 0, MaxDigits);
    std::size_t i = 0;
    while (Result.Count < Limit && i < Caption.size()) {
        const char Ch = Caption[i++];
        TDigitCell& Cell = Result.Cells[Result.Count++];
        if (IsPoint(Ch)) {
            Cell.Point = true;  // a point of its own: no symbol
            continue;
        }
        if (i < Caption.size() && IsPoint(Caption[i])) {
            Cell.Point = true;
            ++i;
        }
        Cell.Symbol = SymbolTable[uint8_t(Ch)];
    }
    return Result;
}

TCaptionCells ReadCaption(QStringView Caption, int NumDigits) {
    // A cell takes at most two characters: its symbol and its point.
    const qsizetype Needed = 2 * qsizetype(std::clamp(NumDigits, 0, MaxDigits));
    std::string Bytes;
    for (qsizetype i = 0; i < Caption.size() && qsizetype(Bytes.size()) < Needed; ++i) {
        const QChar Ch = Caption[i];
        if (Ch.isHighSurrogate() && i + 1 < Caption.size() && Caption[i + 1].isLowSurrogate()) ++i;
        Bytes += Ch.unicode() <= 0xFF ? char(Ch.unicode()) : '\x01';  // no symbol, no point
    }
    return ReadCaption(std::string_view(Bytes), NumDigits);
}

std::string ShownText(const TCaptionCells& Cells) {
    std::string Text;
    for (int j = 0; j < Cells.Count; ++j) {
        const TDigitCell C = Cells.Cells[j];
        if (C.Symbol != 0) {
            const char Ch = GlyphChars[C.Symbol - 1];
            Text += Ch == 'B' ? 'b' : Ch == 'D' ? 'd' : Ch;  // as the segments draw them
        } else if (!C.Point) {
            Text += ' ';
        }
        if (C.Point) Text += '.';
    }
    return Text;
}

// ------------------------------------------------------------ cell geometry

TCellGeometry TCellGeometry::Of(int32_t Width, int32_t Height, int32_t Margin, int32_t InterDigDist,
                                int32_t NumDigits) {
    TCellGeometry G;
    if (NumDigits < 1) return G;
    G.Pitch = (int64_t(Width) - 2 * int64_t(Margin)) / NumDigits;
    G.GlyphWidth = G.Pitch - InterDigDist;
    G.GlyphHeight = int64_t(Height) - 2 * int64_t(Margin);
    return G;
}

bool TCellGeometry::Valid(int32_t Ratio) const {
    // GlyphWidth and GlyphHeight below MaxCellPixels, so each times Ratio fits 64 bits.
    return GlyphWidth > 0 && GlyphHeight > 0 && GlyphWidth <= MaxCellPixels / GlyphHeight &&
           GlyphWidth * Ratio <= MaxCellPixels / (GlyphHeight * Ratio);
}

// ------------------------------------------------------------ display properties

std::optional<int32_t> NumDigitsToStore(int32_t Present, int Value) {
    if (Value == Present || Value < 1 || Value > MaxDigits) return std::nullopt;
    return Value;
}

std::optional<int32_t> InterDigDistToStore(int32_t Present, int Value) {
    Value = std::min(Value, 255);
    if (Value == Present) return std::nullopt;
    return Value;
}

std::optional<int32_t> MarginToStore(int32_t Present, int Value, int32_t Height) {
    if (Value == Present) return std::nullopt;  // compared before the limit on purpose
    return std::min(Value, Height / 2 - 1);
}

TDisplaySize DisplaySizeFor(int CellWidth, int CellHeight, int32_t Margin, int32_t InterDigDist,
                            int32_t NumDigits, int32_t MaxExtent) {
    const int64_t M = std::clamp<int64_t>(Margin, 0, MaxExtent), Gap = std::clamp<int64_t>(InterDigDist, 0, 255);
    const int64_t W = 2 * M + int64_t(NumDigits) * (CellWidth + Gap), H = 2 * M + CellHeight;
    return {int32_t(std::min<int64_t>(W, MaxExtent)), int32_t(std::min<int64_t>(H, MaxExtent))};
}

bool CellsApart(const TCellGeometry& G, int32_t Margin) {
    return G.Valid() && Margin >= 2 && G.Pitch >= G.GlyphWidth;
}

int32_t DisplayPictureRatio(const TCellGeometry& G, int32_t Width, int32_t Height, int32_t ScreenRatio) {
    if (ScreenRatio <= 1) return 1;
    const int64_t PictureBytes = 4 * int64_t(Width) * Height * ScreenRatio * ScreenRatio;
    if ((G.Valid() && !G.Valid(ScreenRatio)) || PictureBytes > MaxBitmapBytes) return 1;
    return ScreenRatio;
}

}  // namespace zent
