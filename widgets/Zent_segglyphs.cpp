#include "Zent_segglyphs.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "Zent_resources.h"
#include "Zent_sysutils.h"

namespace zent {

namespace {
// The 0x00BBGGRR value a canvas stores for Color: system colours resolve,
// and only the three colour bytes reach the pixels.
TColor Stored(TColor Color) {
    return TColor(uint32_t(ColorToRGB(Color)) & 0xFFFFFFu);
}

// The colour lit segments are drawn in. Pure white would later vanish into
// the surround; checked on the resolved value, so a system colour that is
// white is caught too.
TColor SegmentColor(TColor Text) {
    const TColor c = Stored(Text);
    return c == clWhite ? TColor(0xFEFEFE) : c;
}

// Fills the region of the seed's present colour with the brush. A region
// that already has the brush colour is left alone: the fill could change
// nothing there.
void FillFromSeed(TCanvas& Canvas, int32_t X, int32_t Y) {
    const TColor Present = Canvas.Pixels(X, Y);
    if (Present == Stored(Canvas.Brush.Color())) return;
    Canvas.FloodFill(X, Y, Present, fsSurface);
}

// ------------------------------------------------------------ composition

// The six artworks as decoded, a copy of them in the colour of the last
// symbol composed, and the master: one of each per process, made at the
// first use and kept. Composition is synchronous, so one master serves all.
class TComposer {
public:
    // Raises "Resource %s not found" when an artwork is missing, and tries
    // again at the next call.
    static TComposer& Get() {
        static TComposer Composer;
        return Composer;
    }
    // Composes Symbol on the master: lit pieces in Text (a SegmentColor) on Back.
    void Render(char Symbol, TColor Text, TColor Back);
    TBitmap& Master() { return FMaster; }

private:
    TComposer();
    // Recolours the shapes of the artworks to Text, unless they have it.
    void Colorize(TColor Text);

    enum TArt { Vert, Horz, Dot, Plus, Colon, Deg, ArtCount };
    std::array<TBitmap, ArtCount> FOriginal, FColored;
    std::optional<TColor> FColoredIn;  // the colour of FColored's shapes
    TBitmap FMaster;
};

TComposer::TComposer() {
    InitResources();
    constexpr std::array<const char*, ArtCount> Names = {"SEGVERT", "SEGHORZ",  "SEGDOT",
                                                         "SEGPLUS", "SEGCOLON", "SEGDEG"};
    for (int a = 0; a < ArtCount; ++a) {
        FOriginal[a].LoadFromResource(0, Names[a]);
        FColored[a].SetSize(FOriginal[a].Width(), FOriginal[a].Height());
    }
    FMaster.SetSize(MasterWidth, MasterHeight);
}

void TComposer::Colorize(TColor Text) {
    if (FColoredIn == Text) return;
    FColoredIn.reset();
    for (int a = 0; a < ArtCount; ++a) {
        const TRect All = Rect(0, 0, FOriginal[a].Width(), FOriginal[a].Height());
        TCanvas& C = FColored[a].Canvas();
        C.CopyMode = SRCCOPY;
        C.CopyRect(All, FOriginal[a].Canvas(), All);
        C.Brush.SetColor(Text);
    }
    for (const TArt a : {Vert, Horz, Dot, Plus})
        FillFromSeed(FColored[a].Canvas(), FColored[a].Width() / 2, FColored[a].Height() / 2);
    FillFromSeed(FColored[Colon].Canvas(), 18, FColored[Colon].Height() - 18);
    FillFromSeed(FColored[Colon].Canvas(), FColored[Colon].Width() - 18, 18);
    FillFromSeed(FColored[Deg].Canvas(), 25, FColored[Deg].Height() / 2);
    FColoredIn = Text;
}

void TComposer::Render(char Symbol, TColor Text, TColor Back) {
    Colorize(Text);
    TCanvas& M = FMaster.Canvas();
    M.Pen.Color = clWhite;
    M.Brush.SetColor(clWhite);
    M.Rectangle(0, 0, MasterWidth, MasterHeight);
    M.CopyMode = SRCAND;  // white leaves the master as it is: pieces go on like stencils
    M.Brush.SetColor(Back);

    const auto Lay = [this, &M](TArt a, int Piece) {
        const TBitmap& Art = FColored[a];
        const TSegmentOrigin O = SegmentOrigin[Piece];
        M.CopyRect(Rect(O.X, O.Y, O.X + Art.Width(), O.Y + Art.Height()), FColored[a].Canvas(),
                   Rect(0, 0, Art.Width(), Art.Height()));
    };
    switch (Symbol) {
        case ':':
            Lay(Colon, PieceColon);
            break;
        case '\xB0':
            Lay(Deg, PieceDegree);
            FillFromSeed(M, SegmentOrigin[PieceDegree].X + 80, SegmentOrigin[PieceDegree].Y + 70);
            break;
        case '+':
            Lay(Plus, PiecePlus);
            break;
        case '.':
            Lay(Dot, PiecePoint);
            break;
        default:
            for (const uint8_t Segment : SegmentMap[SegmentRow(Symbol)]) {
                if (Segment == 0) continue;
                if (SegmentKind[Segment] == 0)
                    Lay(Vert, Segment);
                else if (SegmentKind[Segment] == 1)
                    Lay(Horz, Segment);
            }
            break;
    }
    FillFromSeed(M, 1, 1);  // the surround becomes the background
}
}  // namespace

// ------------------------------------------------------------ glyph sets

// What a set's glyphs are made for, and the limit they are kept within.
struct TGlyphKey {
    TColor Text, Back;  // as drawn: resolved, the text never pure white
    TCellGeometry Cells;
    int32_t Ratio;
    int64_t Limit;
    friend bool operator==(const TGlyphKey&, const TGlyphKey&) = default;
};

// The glyphs of one key and their strip, shared by every factory of that
// key. The registry knows each live set by a weak reference, so a set dies
// with the last factory that uses it.
struct TGlyphSet {
    // The live set of Key, or none.
    static std::shared_ptr<TGlyphSet> Find(const TGlyphKey& Key);
    // The live set of Key, made and registered if there is none.
    static std::shared_ptr<TGlyphSet> Of(const TGlyphKey& Key);
    explicit TGlyphSet(const TGlyphKey& Key) : Key(Key) {}
    ~TGlyphSet();
    // Drops the kept glyphs not named in Keep.
    void Drop(uint32_t Keep);

    TGlyphKey Key;
    // Symbol k at the cell size, made when first asked for; the point keeps
    // only its lower right sixth, the one part a decimal point shows.
    std::array<std::unique_ptr<TBitmap>, GlyphCount> Glyphs;
    int64_t Bytes = 0;  // of Glyphs
    TBitmap Strip;      // all 21 symbols, built on request
    bool StripBuilt = false;
};

namespace {
// Never destroyed: a set that dies during static destruction still leaves it.
std::vector<std::weak_ptr<TGlyphSet>>& Registry() {
    static auto* Sets = new std::vector<std::weak_ptr<TGlyphSet>>;
    return *Sets;
}

TGlyphKey KeyOf(const TGlyphLook& Look, int64_t Limit) {
    return {SegmentColor(Look.Text), Stored(Look.Back), Look.Cells, Look.Ratio, Limit};
}
}  // namespace

std::shared_ptr<TGlyphSet> TGlyphSet::Find(const TGlyphKey& Key) {
    for (const std::weak_ptr<TGlyphSet>& Entry : Registry())
        if (std::shared_ptr<TGlyphSet> Set = Entry.lock(); Set && Set->Key == Key) return Set;
    return nullptr;
}

std::shared_ptr<TGlyphSet> TGlyphSet::Of(const TGlyphKey& Key) {
    std::shared_ptr<TGlyphSet> Set = Find(Key);
    if (!Set) {
        Set = std::make_shared<TGlyphSet>(Key);
        Registry().push_back(Set);
    }
    return Set;
}

TGlyphSet::~TGlyphSet() {
    // Its own entry is the one expired: every other set took its entry out as it died.
    std::erase_if(Registry(), [](const std::weak_ptr<TGlyphSet>& Entry) { return Entry.expired(); });
}

void TGlyphSet::Drop(uint32_t Keep) {
    for (int k = 1; k <= GlyphCount; ++k) {
        std::unique_ptr<TBitmap>& Slot = Glyphs[k - 1];
        if (!Slot || (Keep >> (k - 1) & 1)) continue;
        const int64_t r = Slot->PixelRatio();
        Bytes -= 4 * int64_t(Slot->Width()) * Slot->Height() * r * r;
        Slot.reset();
    }
}

// ------------------------------------------------------------ life cycle

TGlyphFactory::TGlyphFactory() {
    TComposer::Get();  // the first factory loads the artworks, and reports one missing
    FSet = TGlyphSet::Of(KeyOf(FLook, FLimit));
}

TGlyphFactory::~TGlyphFactory() = default;

void TGlyphFactory::Reset(const TGlyphLook& Look) {
    const TGlyphKey Key = KeyOf(Look, FLimit);
    if (!(FSet->Key == Key)) FSet = TGlyphSet::Of(Key);  // first: the look never runs ahead of its set
    FLook = Look;
    FCellsValid = Look.Cells.Valid(Look.Ratio);
    FStats.Ratio = Look.Ratio;
    ++FStats.Rebuilds;
}

TGlyphCacheStats TGlyphFactory::Stats() const {
    TGlyphCacheStats Stats = FStats;
    Stats.Bytes = FSet->Bytes;
    return Stats;
}

// ------------------------------------------------------------ glyph cache

void TGlyphFactory::ScaleGlyph(int k, TCanvas& Dest, int32_t X, int32_t Y) {
    if (k < 1 || k > GlyphCount) return;
    RenderGlyph(GlyphChars[k - 1]);
    SetStretchBltMode(Dest.Handle(), HALFTONE);
    StretchBlt(Dest.Handle(), X, Y, int32_t(FLook.Cells.GlyphWidth), int32_t(FLook.Cells.GlyphHeight),
               TComposer::Get().Master().Canvas().Handle(), 0, 0, MasterWidth, MasterHeight, SRCCOPY);
    ++FStats.SymbolsScaled;
}

TGlyphSource TGlyphFactory::Glyph(int k, uint32_t Keep) {
    const TCellGeometry& G = FLook.Cells;
    const auto cw = int32_t(G.GlyphWidth), h = int32_t(G.GlyphHeight);
    if (k < 1 || k > GlyphCount || !FCellsValid) return {nullptr, 0, 0, cw};
    TGlyphSet& Set = *FSet;
    if (Set.StripBuilt) return {&Set.Strip.Canvas(), (k - 1) * cw, 0, cw};
    const TCorner Kept = k == GlyphCount ? PointCorner(cw, h) : TCorner{0, 0};
    const int32_t X = -Kept.Left, Y = -Kept.Top;
    // A symbol keeps the gap after its cell, in the background colour.
    const int32_t Width = k == GlyphCount ? cw : int32_t(std::max<int64_t>(G.Pitch, cw));
    std::unique_ptr<TBitmap>& Slot = Set.Glyphs[k - 1];
    if (!Slot) {
        const int64_t r = FLook.Ratio, Bytes = 4 * int64_t(Width + X) * (h + Y) * r * r;
        if (Set.Bytes + Bytes > FLimit) Set.Drop(Keep);
        if (Set.Bytes + Bytes > FLimit) return {nullptr, 0, 0, cw};
        auto Bitmap = std::make_unique<TBitmap>();
        try {
            Bitmap->SetPixelRatio(int32_t(r));
            Bitmap->Canvas().Brush.SetColor(Set.Key.Back);
            Bitmap->SetSize(Width + X, h + Y);
        } catch (const EOutOfResources&) {
            return {nullptr, 0, 0, cw};
        }
        ScaleGlyph(k, Bitmap->Canvas(), X, Y);
        Slot = std::move(Bitmap);
        Set.Bytes += Bytes;
    }
    return {&Slot->Canvas(), X, Y, Width};
}

void TGlyphFactory::SetLimit(int64_t Bytes) {
    FLimit = std::max<int64_t>(Bytes, 0);
    TGlyphKey Key = FSet->Key;
    Key.Limit = FLimit;
    if (FSet->Key == Key) return;
    if (FSet.use_count() > 1 || TGlyphSet::Find(Key)) {
        FSet = TGlyphSet::Of(Key);
        return;
    }
    FSet->Key = Key;  // its own set: the glyphs stay as far as they fit
    if (FSet->Bytes > FLimit) FSet->Drop(0);
}

bool TGlyphFactory::StripBuilt() const {
    return FSet->StripBuilt;
}

const TBitmap& TGlyphFactory::Strip() const {
    return FSet->Strip;
}

void TGlyphFactory::BuildStrip() {
    const TCellGeometry& G = FLook.Cells;
    TGlyphSet& Set = *FSet;
    TBitmap& Strip = Set.Strip;
    Set.StripBuilt = false;
    if (!G.Valid()) {
        Strip.SetSize(0, 0);
        return;
    }
    const auto cw = int32_t(G.GlyphWidth), h = int32_t(G.GlyphHeight);
    TCanvas& S = Strip.Canvas();
    S.Pen.Color = Set.Key.Back;
    S.Brush.SetColor(Set.Key.Back);
    try {
        Strip.SetSize(0, 0);  // no old pixels to carry over
        Strip.SetPixelRatio(FLook.Ratio);
        Strip.SetSize(GlyphCount * cw, h);
    } catch (const EOutOfResources&) {
        return;  // too large: the strip stays empty and Glyph keeps symbols one by one
    }
    S.Rectangle(0, 0, GlyphCount * cw, h);
    for (int k = 1; k <= GlyphCount; ++k) ScaleGlyph(k, S, (k - 1) * cw, 0);
    // The strip replaces the kept glyphs as the source of every cell.
    Set.Drop(0);
    Set.StripBuilt = true;
}

// ------------------------------------------------------------ composition

void TGlyphFactory::RenderGlyph(char Symbol) {
    TComposer::Get().Render(Symbol, FSet->Key.Text, FSet->Key.Back);
}

const TBitmap& TGlyphFactory::Master() const {
    return TComposer::Get().Master();
}

}  // namespace zent
