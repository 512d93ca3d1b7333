// TSevenSeg: a row of slanted seven-segment digit cells, drawn from
// pre-rendered, colour-matched glyphs.
#pragma once

#include <QColor>
#include <cstdint>
#include <memory>
#include <string>

#include "Zent_controls.h"
#include "Zent_graphics.h"
#include "Zent_segcells.h"
#include "Zent_zentbase.h"

namespace zent {

class TGlyphFactory;
struct TGlyphCacheStats;

// A windowless control that shows its Caption as a row of slanted
// seven-segment cells: ColorText segments on ColorBackGnd, framed by
// FrameStyle. Each symbol is scaled to the cell size the first time a cell
// shows it and kept, so a caption change only copies rectangles: the cells
// that changed go straight from the glyphs to the screen. The glyphs and the
// picture on screen are caches: a change of colour, geometry, size or screen
// resolution marks them stale, and the next paint rebuilds them, once however
// many properties changed. Displays of the same look (colours, cell size,
// ratio) and glyph cache limit share their glyphs, so a panel of equal
// displays scales each symbol once.
//
// On a screen of device pixel ratio above 1 the glyphs and the picture are
// made in device pixels (PaintPixelRatio), so edges stay sharp; the frame
// keeps its logical width. The display tells assistive tools what its cells
// show (ShownText), and hints at a size from NumDigits, Margin and
// InterDigDist.
//
// Setters ignore unchanged values. Caption, the colours, Margin,
// InterDigDist and NumDigits repaint before they return, or under the
// Coalesced repaint policy at Qt's next paint; FrameStyle and ColorScheme
// repaint later. A display without a parent stores every value and paints
// when it is shown.
class TSevenSeg : public TFramedControl {
    Q_OBJECT
    // The published properties beyond ColorScheme and FrameStyle, which
    // TFramedControl declares.
    Q_PROPERTY(QString Caption READ CaptionQ WRITE SetCaption NOTIFY CaptionChanged)
    Q_PROPERTY(QColor ColorBackGnd READ ColorBackGndQ WRITE SetColorBackGnd NOTIFY ColorBackGndChanged)
    Q_PROPERTY(QColor ColorText READ ColorTextQ WRITE SetColorText NOTIFY ColorTextChanged)
    Q_PROPERTY(int InterDigDist READ InterDigDist WRITE SetInterDigDist NOTIFY InterDigDistChanged)
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin NOTIFY MarginChanged)
    Q_PROPERTY(int NumDigits READ NumDigits WRITE SetNumDigits NOTIFY NumDigitsChanged)

public:
    // The first display loads the six segment artworks; raises "Resource %s
    // not found" when one is missing.
    explicit TSevenSeg(QWidget* Owner = nullptr);
    ~TSevenSeg() override;

    // Byte string in ISO-8859-1; the degree sign is "\xB0". SetCaption
    // also takes a QString (a slot, below), in full Unicode; a character
    // the cells cannot show leaves its cell empty. A getter ending in Q
    // gives the Qt face's type.
    std::string Caption() const;
    QString CaptionQ() const { return FCaption; }
    void SetCaption(const std::string& Value);
    void SetCaption(const char* Value) { SetCaption(std::string(Value)); }
    TColor ColorBackGnd() const { return FColorBackGnd; }
    QColor ColorBackGndQ() const;
    void SetColorBackGnd(TColor Value);
    TColor ColorText() const { return FColorText; }
    QColor ColorTextQ() const;
    void SetColorText(TColor Value);
    // Above 255 becomes 255; no lower bound.
    int32_t InterDigDist() const { return FInterDigDist; }
    // Limited to (Height div 2) - 1 when written; no lower bound.
    int32_t Margin() const { return FMargin; }
    // 1 to 32; other values are ignored.
    int32_t NumDigits() const { return FNumDigits; }

public slots:
    void SetCaption(const QString& Value);
    // An invalid QColor is ignored.
    void SetColorBackGnd(const QColor& Value);
    void SetColorText(const QColor& Value);
    void SetInterDigDist(int Value);
    void SetMargin(int Value);
    void SetNumDigits(int Value);

signals:
    void CaptionChanged(const QString& Caption);
    void ColorBackGndChanged(const QColor& ColorBackGnd);
    void ColorTextChanged(const QColor& ColorText);
    void InterDigDistChanged(int InterDigDist);
    void MarginChanged(int Margin);
    void NumDigitsChanged(int NumDigits);

public:
    // What the cells show now (ShownText of the caption's cells).
    std::string ShownText() const;
    // HintCellWidth x HintCellHeight cells with the present margin and gap;
    // the default display's 216 x 76 for 4 digits.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The widget's own OnResize handler: marks the glyphs stale and repaints
    // when the size differs from the one it last saw.
    void SizeChanged(QObject* Sender);
    // Renders all 21 symbols at the current cell size into the glyph strip
    // now, from the present colours; paints then copy from it.
    void BuildGlyphStrip();
    // The strip of all 21 symbols, built first unless it is current. For
    // tests and tools; a display needs no strip to draw.
    const TBitmap& GlyphStrip();

    void Assign(QObject* Source) override;
    void AssignTo(QObject* Dest) override;

    TCellGeometry Geometry() const;
    // The 312 x 432 canvas each symbol is composed on before it is scaled,
    // one for all displays.
    const TBitmap& MasterGlyph() const;
    // The most bytes of scaled glyphs kept between paints (at least 0; 32 MiB
    // unless told otherwise). A glyph that does not fit is scaled straight
    // into the picture each time it is drawn. Displays share glyphs only
    // with displays of the same limit, so each keeps exactly its own.
    int64_t GlyphCacheLimit() const;
    void SetGlyphCacheLimit(int64_t Bytes);
    // What the display's glyph factory has done since construction, and
    // what the glyphs it shares hold now; for tests and tools of the library
    // (the type is not installed).
    TGlyphCacheStats GlyphCacheStats() const;

protected:
    // Logical pixels when the cells or the picture would pass their limits
    // in device pixels, which Qt scales up, rather than nothing at all.
    int32_t PictureRatio(int32_t ScreenRatio) const override;
    TPictureColors PictureColors() const override;
    // The cells a caption change renews, straight from the glyphs.
    bool PaintContent(TCanvas& Screen, const TRect& Area) override;
    void Compose(TCanvas& C, TStale What) override;
    void Transfer(TCanvas& Screen, const TBitmap& Picture) override;
    // Background and frame: too large for a picture in memory.
    void PaintWithoutBuffer(TCanvas& Screen) override;

private:
    // Brings the glyphs to the present colours and cells at Ratio; Renew:
    // also when those are unchanged.
    void UpdateGlyphs(int32_t Ratio, bool Renew);
    // The cells may be renewed one by one: they touch neither the frame nor
    // each other.
    bool CellsApart() const;
    // Cell Index (from 0), WithGap together with the gap after it.
    TRect CellRect(int Index, bool WithGap = false) const;
    // The area of the cells that differ from those last shown, or the
    // whole control when the picture must be composed anew.
    TRect ChangedArea(const TCaptionCells& Cells) const;
    // The whole picture: background, every cell, the frame.
    void ComposePicture(TCanvas& C, const TCaptionCells& Cells);
    // One cell on C, which must be a bitmap's canvas unless the cell's
    // glyphs are kept.
    void ComposeCell(TCanvas& C, int Index, TDigitCell Cell, bool OnBackground, uint32_t Shown,
                     bool WithGap = false);
    // Reads FCells anew after a change of caption or cell count, and tells
    // assistive tools when they show something else.
    void ShownChanged();
    QSize HintFor(int CellWidth, int CellHeight) const;

    TColor FColorBackGnd = TDisplayDefaults::ColorBackGnd;
    TColor FColorText = TDisplayDefaults::ColorText;
    int32_t FNumDigits = TDisplayDefaults::NumDigits;
    QString FCaption = QString::fromUtf16(TDisplayDefaults::Caption.data(), TDisplayDefaults::Caption.size());
    int32_t FMargin = TDisplayDefaults::Margin;
    int32_t FInterDigDist = TDisplayDefaults::InterDigDist;
    int32_t FLastWidth = 0, FLastHeight = 0;  // the size SizeChanged saw last

    // Makes and shares the glyphs, and the strip built on request.
    std::unique_ptr<TGlyphFactory> FGlyphs;
    TCaptionCells FPictureCells;  // the cells on the picture
    TCaptionCells FShownCells;    // the cells the last paint showed
    TCaptionCells FCells;         // what the caption shows in NumDigits cells now
};

}  // namespace zent
