#include "Zent_numglyphs.h"

#include <QCoreApplication>
#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QVarLengthArray>
#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>
#include <vector>

namespace zent {

namespace {

constexpr std::array<bool, 256> InAlphabet = [] {
    std::array<bool, 256> In{};
    for (const char C : TNumberGlyphs::Alphabet) In[uint8_t(C)] = true;
    return In;
}();

// V in 1/64 pixel, Qt's fixed point for glyph metrics; none when V is not
// a whole number of those.
std::optional<int64_t> Sixtyfourths(qreal V) {
    const qreal S = V * 64;
    if (!(std::abs(S) < 0x1p40) || S != std::floor(S)) return std::nullopt;
    return int64_t(S);
}

// Every ordered pair of 0..N-1 exactly once, as neighbours in a sequence of
// N * N + 1: the Lyndon words of length 1 and 2 in order make a cyclic de
// Bruijn sequence, closed here by its first symbol.
std::vector<int> EveryPair(int N) {
    std::vector<int> Seq;
    Seq.reserve(std::size_t(N) * N + 1);
    for (int A = 0; A < N; ++A) {
        Seq.push_back(A);
        for (int B = A + 1; B < N; ++B) {
            Seq.push_back(A);
            Seq.push_back(B);
        }
    }
    Seq.push_back(0);
    return Seq;
}

// What the layout made of each character of a text: one glyph, or the
// marker None with no position when it shares one (a ligature) or takes
// several. The glyphs of one font only; none when another font comes in.
struct TShaped {
    static constexpr quint32 None = 0xFFFFFFFF;
    QRawFont Font;
    std::vector<quint32> Glyph;
    std::vector<QPointF> At;
    qreal Advance = 0;  // where a next character would start
};
std::optional<TShaped> Shape(const QString& Text, const QFont& Font, const QPaintDevice* Device) {
    QTextLayout Layout(Text, Font, Device);  // one line, as the canvas lays out what it draws
    Layout.beginLayout();
    const QTextLine Line = Layout.createLine();
    Layout.endLayout();
    TShaped S;
    S.Glyph.assign(std::size_t(Text.size()), TShaped::None);
    S.At.assign(std::size_t(Text.size()), QPointF(qQNaN(), qQNaN()));
    S.Advance = Line.horizontalAdvance();
    bool OneFont = true;
    // Halves of a stretch that does not map one to one are looked at
    // alone, down to single characters: few pairs join.
    const auto Collect = [&](const auto& Self, int From, int Length) -> void {
        const QList<QGlyphRun> Runs = Layout.glyphRuns(From, Length);
        if (Runs.size() == 1 && Runs[0].glyphIndexes().size() == Length) {
            if (!S.Font.isValid()) S.Font = Runs[0].rawFont();
            OneFont = OneFont && Runs[0].rawFont() == S.Font;
            const QList<quint32> Glyphs = Runs[0].glyphIndexes();
            const QList<QPointF> Positions = Runs[0].positions();
            std::copy(Glyphs.begin(), Glyphs.end(), S.Glyph.begin() + From);
            std::copy(Positions.begin(), Positions.end(), S.At.begin() + From);
        } else if (Length > 1) {
            Self(Self, From, Length / 2);
            Self(Self, From + Length / 2, Length - Length / 2);
        } else {
            OneFont = OneFont && Runs.size() <= 1;
        }
    };
    Collect(Collect, 0, int(Text.size()));
    if (!OneFont || !S.Font.isValid()) return std::nullopt;
    return S;
}

bool Decorated(const QFont& F) {
    const bool Spaced = F.letterSpacingType() == QFont::PercentageSpacing
                            ? F.letterSpacing() != 0 && F.letterSpacing() != 100
                            : F.letterSpacing() != 0;
    return F.underline() || F.strikeOut() || F.overline() || F.capitalization() != QFont::MixedCase ||
           F.wordSpacing() != 0 || Spaced;
}

}  // namespace

bool TNumberGlyphs::Writes(std::string_view Text) {
    for (const char C : Text)
        if (!InAlphabet[uint8_t(C)]) return false;
    return true;
}

TNumberGlyphs::TNumberGlyphs() {
    FIndex.fill(-1);
}

TNumberGlyphs::~TNumberGlyphs() = default;

std::shared_ptr<const TNumberGlyphs> TNumberGlyphs::Build(const QFont& Font, const QPaintDevice* Device) {
    if (Decorated(Font)) return nullptr;
    // A character the font lacks would come from another font, in a run of
    // its own.
    const QRawFont Primary = QRawFont::fromFont(QFont(Font, Device));
    QString Chars;
    for (const char C : Alphabet)
        if (Primary.supportsCharacter(QChar(uint8_t(C)))) Chars += QChar(uint8_t(C));
    // Without a '0' there is no number to draw; with it first, the texts
    // below start and end with a digit.
    const int N = int(Chars.size());
    if (N == 0 || Chars[0] != u'0') return nullptr;

    // Shaped once with every pair of neighbours in it, each glyph is
    // compared with its character alone; a pair where either differs (a
    // kerned advance, another glyph, an offset) is left to shaping.
    const std::vector<int> Seq = EveryPair(N);
    QString Text;
    for (const int K : Seq) Text += Chars[K];
    const std::optional<TShaped> Shaped = Shape(Text, Font, Device);
    if (!Shaped) return nullptr;

    auto T = std::make_shared<TNumberGlyphs>();
    T->FRaw = Shaped->Font;
    std::array<QPointF, Size> Advances;
    int Count = N;
    if (!T->FRaw.glyphIndexesForChars(Chars.constData(), N, T->FGlyph.data(), &Count) || Count != N ||
        !T->FRaw.advancesForGlyphIndexes(T->FGlyph.data(), Advances.data(), N))
        return nullptr;
    for (int K = 0; K < N; ++K) {
        const std::optional<int64_t> A = Sixtyfourths(Advances[K].x());
        if (T->FGlyph[K] == 0 || !A || *A > INT32_MAX / MaxText || *A < -INT32_MAX / MaxText) return nullptr;
        T->FAdvance[K] = int32_t(*A);
    }

    const std::vector<quint32>& Glyph = Shaped->Glyph;
    const std::vector<QPointF>& At = Shaped->At;
    const std::size_t Last = Seq.size() - 1;
    const auto Join = [&](std::size_t I) { T->FJoined[Seq[I]] |= uint64_t(1) << Seq[I + 1]; };
    for (std::size_t I = 0; I <= Last; ++I) {
        if (Glyph[I] != T->FGlyph[Seq[I]] || At[I].y() != At[0].y()) {
            if (I > 0) Join(I - 1);
            if (I < Last) Join(I);
        }
        if (I == Last) break;
        const std::optional<int64_t> X = Sixtyfourths(At[I].x()), Next = Sixtyfourths(At[I + 1].x());
        if (!X || !Next || *Next - *X != T->FAdvance[Seq[I]]) Join(I);
    }
    // The text starts at 0 and ends one advance after its last glyph: the
    // widths add up as the layout's do.
    const std::optional<int64_t> First = Sixtyfourths(At[0].x()), LastX = Sixtyfourths(At[Last].x()),
                                 Width = Sixtyfourths(Shaped->Advance);
    if (First != 0 || !LastX || !Width || *Width - *LastX != T->FAdvance[Seq[Last]]) return nullptr;

    for (int K = 0; K < N; ++K) T->FIndex[Chars[K].unicode()] = int8_t(K);
    return T;
}

std::shared_ptr<const TNumberGlyphs> TNumberGlyphs::For(const QFont& Font, const QPaintDevice* Device) {
    if (!Device) return nullptr;
    struct TEntry {
        QFont Font;
        int Dpi;
        std::shared_ptr<const TNumberGlyphs> Glyphs;  // null too: the font takes none
    };
    // A few fonts are in use at a time; the oldest table goes first. The
    // tables hold font engines, which are let go with the application.
    constexpr std::size_t MaxTables = 64;
    static std::mutex Lock;
    static std::vector<TEntry>* const Tables = [] {
        qAddPostRoutine([] {
            const std::lock_guard Guard(Lock);
            Tables->clear();
        });
        return new std::vector<TEntry>;
    }();
    const int Dpi = Device->logicalDpiY();
    const std::lock_guard Guard(Lock);
    for (const TEntry& E : *Tables)
        if (E.Dpi == Dpi && E.Font == Font) return E.Glyphs;
    if (Tables->size() == MaxTables) Tables->erase(Tables->begin());
    Tables->push_back({Font, Dpi, Build(Font, Device)});
    return Tables->back().Glyphs;
}

int32_t TNumberGlyphs::Width(std::string_view Text) const {
    if (Text.size() > std::size_t(MaxText)) return -1;
    int64_t Sum = 0;
    int Before = -1;
    for (const char C : Text) {
        const int K = FIndex[uint8_t(C)];
        if (K < 0 || (Before >= 0 && (FJoined[Before] >> K & 1))) return -1;
        Sum += FAdvance[K];
        Before = K;
    }
    return int32_t((Sum + 32) >> 6);  // rounded as QFixed rounds
}

void TNumberGlyphs::Draw(QPainter& P, std::string_view Text, int32_t X, int32_t Baseline) const {
    const auto N = qsizetype(Text.size());
    QVarLengthArray<quint32, 32> Glyphs(N);
    QVarLengthArray<QPointF, 32> Positions(N);
    int64_t Pen = 0;  // 1/64 pixel
    for (qsizetype I = 0; I < N; ++I) {
        const int K = FIndex[uint8_t(Text[std::size_t(I)])];
        if (K < 0) return;
        Glyphs[I] = FGlyph[K];
        Positions[I] = QPointF(qreal(Pen) / 64, 0);
        Pen += FAdvance[K];
    }
    QGlyphRun Run;
    Run.setRawFont(FRaw);
    Run.setRawData(Glyphs.constData(), Positions.constData(), int(N));
    P.drawGlyphRun(QPointF(X, Baseline), Run);
}

// ---------------------------------------------------------------- pasted glyphs

// One glyph drawn at one fraction of a pixel: the box of device pixels
// where it has any coverage, relative to the device pixel of its whole
// logical position on the baseline, and its pixels there.
struct TNumberGlyphs::TTile {
    bool Drawn = false;
    bool Loose = false;  // too large, or beyond its outline: drawn as usual
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
};

struct TNumberGlyphs::TTileSet {
    int32_t Ratio;
    uint32_t Pen, Background;
    // Per character, made at its first use: one tile per fraction of a
    // logical pixel, in 1/64.
    std::array<std::unique_ptr<std::array<TTile, 64>>, Size> Tiles;
};

const TNumberGlyphs::TTile& TNumberGlyphs::Tile(TTileSet& Set, int K, int Fraction) const {
    auto& Fractions = Set.Tiles[std::size_t(K)];
    if (!Fractions) Fractions = std::make_unique<std::array<TTile, 64>>();
    TTile& T = (*Fractions)[std::size_t(Fraction)];
    if (T.Drawn) return T;
    T.Drawn = true;
    T.Loose = true;  // until it is known to fit
    // A picture with a margin around the glyph's outline, its origin at
    // (Left, Baseline).
    const int32_t R = Set.Ratio;
    const quint32 Glyph = FGlyph[std::size_t(K)];
    const QRectF Outline = FRaw.boundingRect(Glyph);
    constexpr int32_t Margin = 3;
    const qreal Reach = std::max({-Outline.left(), Outline.right(), -Outline.top(), Outline.bottom()});
    if (!(Reach * R < 256)) return T;  // a glyph this large is drawn as usual
    const auto Left = int32_t(std::ceil(-Outline.left())) + Margin,
               Baseline = int32_t(std::ceil(-Outline.top())) + Margin;
    const int32_t Width = Left + int32_t(std::ceil(Outline.right())) + Margin + 1,
                  Height = Baseline + int32_t(std::ceil(Outline.bottom())) + Margin;
    QImage Picture(Width * R, Height * R, QImage::Format_RGB32);
    if (Picture.isNull()) return T;
    Picture.setDevicePixelRatio(R);
    const QPointF At(qreal(Fraction) / 64, 0);
    const auto DrawOn = [&](uint32_t Under, uint32_t Over) {
        Picture.fill(Under);
        QPainter P(&Picture);
        P.setPen(QColor::fromRgb(Over));
        QGlyphRun Run;
        Run.setRawFont(FRaw);
        Run.setRawData(&Glyph, &At, 1);
        P.drawGlyphRun(QPointF(Left, Baseline), Run);
    };
    // White on black changes every pixel with any coverage, which a pixel
    // of the next glyph must not have: its blend would go over this one's.
    DrawOn(0xFF000000, 0xFFFFFFFF);
    QRect Box;
    for (int Y = 0; Y < Picture.height(); ++Y) {
        const auto* Row = reinterpret_cast<const uint32_t*>(Picture.constScanLine(Y));
        for (int X = 0; X < Picture.width(); ++X)
            if (Row[X] != 0xFF000000) Box |= QRect(X, Y, 1, 1);
    }
    if (!Box.isEmpty() && (Box.left() == 0 || Box.top() == 0 || Box.right() == Picture.width() - 1 ||
                           Box.bottom() == Picture.height() - 1))
        return T;  // the outline was no bound
    T.Loose = false;
    if (Box.isEmpty()) return T;
    DrawOn(Set.Background, Set.Pen);
    T.Left = Box.left() - Left * R;
    T.Top = Box.top() - Baseline * R;
    T.Width = Box.width();
    T.Height = Box.height();
    T.Pixels.resize(std::size_t(T.Width) * std::size_t(T.Height));
    for (int Y = 0; Y < T.Height; ++Y) {
        const auto* Row =
            reinterpret_cast<const uint32_t*>(Picture.constScanLine(Box.top() + Y)) + Box.left();
        std::copy(Row, Row + T.Width, T.Pixels.begin() + std::ptrdiff_t(Y) * T.Width);
    }
    return T;
}

bool TNumberGlyphs::Paste(const pixels::PixelRows& Rows, const pixels::Box& Clip, int32_t Ratio,
                          std::string_view Text, int32_t X, int32_t Baseline, uint32_t Pen,
                          uint32_t Background) const {
    if (Text.size() > std::size_t(MaxText)) return false;
    const std::lock_guard Guard(FTileLock);
    auto Found = std::find_if(FTileSets.begin(), FTileSets.end(), [&](const auto& Set) {
        return Set->Ratio == Ratio && Set->Pen == Pen && Set->Background == Background;
    });
    if (Found == FTileSets.end()) {
        constexpr std::size_t MaxTileSets = 8;
        if (FTileSets.size() == MaxTileSets) FTileSets.erase(FTileSets.begin());
        FTileSets.push_back(std::make_unique<TTileSet>(TTileSet{Ratio, Pen, Background, {}}));
        Found = FTileSets.end() - 1;
    }
    TTileSet& Set = **Found;

    struct TPlaced {
        const TTile* Tile;
        int64_t X, Y;
    };
    QVarLengthArray<TPlaced, 32> Placed;
    int64_t Pen64 = 0;  // 1/64 logical pixel
    int64_t Reach = INT64_MIN;
    for (const char C : Text) {
        const int K = FIndex[uint8_t(C)];
        if (K < 0) return false;
        const TTile& T = Tile(Set, K, int(Pen64 & 63));
        if (T.Loose) return false;
        if (T.Width > 0) {
            const int64_t Left = int64_t(Ratio) * (X + (Pen64 >> 6)) + T.Left;
            if (Left < Reach) return false;
            Reach = Left + T.Width;
            Placed.push_back({&T, Left, int64_t(Ratio) * Baseline + T.Top});
        }
        Pen64 += FAdvance[std::size_t(K)];
    }
    const pixels::Box Inside =
        pixels::Clip(Clip.left, Clip.top, Clip.right, Clip.bottom, Rows.width, Rows.height);
    if (Inside.empty()) return true;
    const pixels::PixelRows Dst{Rows.row(Inside.top) + Inside.left, Inside.width(), Inside.height(),
                                Rows.stride};
    for (const TPlaced& P : Placed) {
        const pixels::PixelRows Src{const_cast<uint32_t*>(P.Tile->Pixels.data()), P.Tile->Width,
                                    P.Tile->Height, P.Tile->Width};
        pixels::Copy(Dst, P.X - Inside.left, P.Y - Inside.top, Src, 0, 0, P.Tile->Width, P.Tile->Height,
                     pixels::Rop::Copy);
    }
    return true;
}

}  // namespace zent
