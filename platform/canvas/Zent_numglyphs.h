// Number glyphs: the glyphs of the characters numbers are written with,
// shaped once per font and resolution and shared by every canvas. A text of
// those characters alone is then measured by adding advances and drawn as
// one glyph run, with the width and the pixels that shaping it would give;
// any other text is left to shaping. Platform internal; not installed.
#pragma once

#include <QRawFont>
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "Zent_pixels.h"

class QFont;
class QPaintDevice;
class QPainter;

namespace zent {

class TNumberGlyphs {
public:
    // The Latin-1 characters a table may hold: what the label's number
    // types write (hexadecimal digits, NAN and INF, prefix letters, degree
    // signs). A font lacking some holds the others.
    static constexpr std::string_view Alphabet = "0123456789 +-.,:/*ABCDEFINafpnumkMGT\xB0'\"";
    static constexpr int MaxText = 4096;  // longer texts are shaped

    // Whether every character of Text is in the alphabet: a text that
    // could be drawn from a table, for some font.
    static bool Writes(std::string_view Text);

    // The table for Font as laid out on Device, built once for every font
    // and resolution (logical dpi) and shared by all who ask. Null when
    // Font decorates or spaces its text (underline, strike out, overline,
    // letter or word spacing, capitals), when it has no '0', and without a
    // device.
    static std::shared_ptr<const TNumberGlyphs> For(const QFont& Font, const QPaintDevice* Device);

    // Text's width as QFontMetrics::horizontalAdvance gives it, or -1 when
    // shaping must tell: a character not in the table, two neighbours the
    // font shapes together (kerns, joins), a text longer than MaxText.
    int32_t Width(std::string_view Text) const;
    // Draws Text (its Width not -1) in the painter's pen, its left end at X
    // on the baseline Y, as QTextLayout draws it.
    void Draw(QPainter& P, std::string_view Text, int32_t X, int32_t Baseline) const;
    // The same onto the pixels of a bitmap of Ratio device pixels per
    // logical pixel, in the pen pixel Pen, within Clip (device pixels), all
    // of which is Background: each glyph is drawn through Qt once for every
    // fraction of a pixel it stands at, and its pixels are kept and pasted.
    // False, with nothing pasted, where one glyph's pixels reach into the
    // next one's (their blends would stack) or a glyph is too large.
    bool Paste(const pixels::PixelRows& Rows, const pixels::Box& Clip, int32_t Ratio, std::string_view Text,
               int32_t X, int32_t Baseline, uint32_t Pen, uint32_t Background) const;

    TNumberGlyphs();  // empty: every Width is -1
    ~TNumberGlyphs();

private:
    static constexpr int Size = int(Alphabet.size());
    static_assert(Size <= 64, "one 64-bit word of pair bits per character");
    static std::shared_ptr<const TNumberGlyphs> Build(const QFont& Font, const QPaintDevice* Device);
    struct TTile;
    struct TTileSet;
    const TTile& Tile(TTileSet& Set, int K, int Fraction) const;

    std::array<int8_t, 256> FIndex{};      // Latin-1 code -> position in the alphabet, -1 absent
    std::array<quint32, Size> FGlyph{};    // glyph index of each character
    std::array<int32_t, Size> FAdvance{};  // its advance in 1/64 pixel
    std::array<uint64_t, Size> FJoined{};  // bit b of FJoined[a]: the pair a, b is shaped together
    QRawFont FRaw;
    // The glyphs' pixels for a few ratios and colours, the newest last.
    mutable std::mutex FTileLock;
    mutable std::vector<std::unique_ptr<TTileSet>> FTileSets;
};

}  // namespace zent
