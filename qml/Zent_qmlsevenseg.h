// SevenSegment: the seven-segment display as a Qt Quick item.
#pragma once

#include <QColor>
#include <QImage>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>
#include <memory>

#include "Zent_enums.h"
#include "Zent_graphics.h"
#include "Zent_segcells.h"

namespace zent {

class TGlyphFactory;

// The display of TSevenSeg with its properties in lower camel case and the
// same setter rules and defaults (four cells, lowered frame, red on dark
// grey, 216 x 76), drawn in the same pixels. The glyphs are the library's
// strip of all 21 symbols at the window's device pixel ratio, one texture
// per window and look; every cell is a textured node showing its part of
// it, so a new caption only moves source rectangles. Colours, size, margins
// and the cell count build the strip anew; the background and the frame
// are one more texture drawn by the library's frame code.
class TQmlSevenSeg : public QQuickItem {
    Q_OBJECT
    QML_NAMED_ELEMENT(SevenSegment)
    Q_PROPERTY(QString caption READ caption WRITE setCaption NOTIFY captionChanged)
    Q_PROPERTY(QColor colorBackGnd READ colorBackGnd WRITE setColorBackGnd NOTIFY colorBackGndChanged)
    Q_PROPERTY(QColor colorText READ colorText WRITE setColorText NOTIFY colorTextChanged)
    Q_PROPERTY(int interDigDist READ interDigDist WRITE setInterDigDist NOTIFY interDigDistChanged)
    Q_PROPERTY(int margin READ margin WRITE setMargin NOTIFY marginChanged)
    Q_PROPERTY(int numDigits READ numDigits WRITE setNumDigits NOTIFY numDigitsChanged)
    Q_PROPERTY(zent::TFrameStyle frameStyle READ frameStyle WRITE setFrameStyle NOTIFY frameStyleChanged)
    Q_PROPERTY(zent::TColorScheme colorScheme READ colorScheme WRITE setColorScheme NOTIFY colorSchemeChanged)
    // What the cells show (as TSevenSeg::ShownText): what screen readers read.
    Q_PROPERTY(QString shownText READ shownText NOTIFY shownTextChanged)

public:
    explicit TQmlSevenSeg(QQuickItem* Parent = nullptr);
    ~TQmlSevenSeg() override;

    QString caption() const { return FCaption; }
    QColor colorBackGnd() const { return ToQColor(FColorBackGnd); }
    QColor colorText() const { return ToQColor(FColorText); }
    int interDigDist() const { return FInterDigDist; }
    int margin() const { return FMargin; }
    int numDigits() const { return FNumDigits; }
    TFrameStyle frameStyle() const { return FFrameStyle; }
    TColorScheme colorScheme() const { return FColorScheme; }
    QString shownText() const;

    void setCaption(const QString& Value);
    // An invalid colour is ignored.
    void setColorBackGnd(const QColor& Value);
    void setColorText(const QColor& Value);
    void setInterDigDist(int Value);
    void setMargin(int Value);
    void setNumDigits(int Value);
    void setFrameStyle(zent::TFrameStyle Value);
    // Stored for the widget's sake; the frames are drawn in the standard colours.
    void setColorScheme(zent::TColorScheme Value);

signals:
    void captionChanged(const QString& caption);
    void colorBackGndChanged(const QColor& colorBackGnd);
    void colorTextChanged(const QColor& colorText);
    void interDigDistChanged(int interDigDist);
    void marginChanged(int margin);
    void numDigitsChanged(int numDigits);
    void frameStyleChanged(zent::TFrameStyle frameStyle);
    void colorSchemeChanged(zent::TColorScheme colorScheme);
    void shownTextChanged(const QString& shownText);

protected:
    void geometryChange(const QRectF& NewGeometry, const QRectF& OldGeometry) override;
    void itemChange(ItemChange Change, const ItemChangeData& Value) override;
    void updatePolish() override;
    QSGNode* updatePaintNode(QSGNode* Old, UpdatePaintNodeData*) override;

private:
    enum TDirty : uint8_t { Cells = 1, Frame = 2, Glyphs = 4 };
    void MarkDirty(uint8_t What);
    void CaptionOrCountChanged();
    void UpdateImplicitSize();
    TCellGeometry Geometry() const;

    TColor FColorBackGnd = TDisplayDefaults::ColorBackGnd;
    TColor FColorText = TDisplayDefaults::ColorText;
    int32_t FNumDigits = TDisplayDefaults::NumDigits;
    QString FCaption;
    int32_t FMargin = TDisplayDefaults::Margin;
    int32_t FInterDigDist = TDisplayDefaults::InterDigDist;
    TFrameStyle FFrameStyle = fsLowered;
    TColorScheme FColorScheme = csBWG;
    TCaptionCells FCells;

    // Made in updatePolish on the GUI thread, shown by updatePaintNode.
    std::unique_ptr<TGlyphFactory> FGlyphs;
    uint8_t FDirty = Cells | Frame | Glyphs;
    int32_t FRatio = 1;        // device pixels per logical pixel of the images
    int32_t FW = 0, FH = 0;    // the size the images were made for
    TCellGeometry FDrawnCells;  // the cell geometry of FStrip
    bool FCellsApart = true;    // cells keep off the frame: no frame over them
    QImage FStrip;             // the glyph atlas: symbol k at x = (k - 1) x GlyphWidth
    QImage FBack;              // background and frame
    QImage FFrameOver;         // the frame alone, over the cells, when they may reach it
    TCaptionCells FNodeCells;  // what the cell nodes show (Count -1: nothing yet)
    uint8_t FNewImages = 0;     // which of the images the scene graph has not seen yet
};

}  // namespace zent
