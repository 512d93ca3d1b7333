// NumericLabel: the numeric label as a Qt Quick item.
#pragma once

#include <QColor>
#include <QImage>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

#include "Zent_enums.h"
#include "Zent_numlabcompose.h"

namespace zent {

// The label of TNumLab with its properties in lower camel case, the same
// setter rules and defaults (160 x 28, 0.00 in dtFixP), and the same
// pixels: it holds the label's state and composes its picture through the
// same code (TNumLabComposer), then shows the picture as one texture. The
// item's enabled property is the label's Enabled (greyed texts when false).
// valueText is TNumLab::ValueTextQ; shownText what the value box shows (the
// text, or the overflow indicator in its place), which screen readers read.
class TQmlNumLab : public QQuickItem, public TNumLabComposer {
    Q_OBJECT
    QML_NAMED_ELEMENT(NumericLabel)
    Q_PROPERTY(zent::TAlignment alignment READ alignment WRITE setAlignment NOTIFY alignmentChanged)
    Q_PROPERTY(QColor colorLabBakG READ colorLabBakG WRITE setColorLabBakG NOTIFY colorLabBakGChanged)
    Q_PROPERTY(QColor colorLabText READ colorLabText WRITE setColorLabText NOTIFY colorLabTextChanged)
    Q_PROPERTY(QColor colorOutBakG READ colorOutBakG WRITE setColorOutBakG NOTIFY colorOutBakGChanged)
    Q_PROPERTY(QColor colorOutText READ colorOutText WRITE setColorOutText NOTIFY colorOutTextChanged)
    Q_PROPERTY(bool comma READ comma WRITE setComma NOTIFY commaChanged)
    Q_PROPERTY(zent::TDisplay displayType READ displayType WRITE setDisplayType NOTIFY displayTypeChanged)
    Q_PROPERTY(QString dtFormat READ dtFormat WRITE setDtFormat NOTIFY dtFormatChanged)
    Q_PROPERTY(bool empty READ empty WRITE setEmpty NOTIFY emptyChanged)
    Q_PROPERTY(bool forcePlusSign READ forcePlusSign WRITE setForcePlusSign NOTIFY forcePlusSignChanged)
    Q_PROPERTY(int labelWidth READ labelWidth WRITE setLabelWidth NOTIFY labelWidthChanged)
    Q_PROPERTY(int leftSpace READ leftSpace WRITE setLeftSpace NOTIFY leftSpaceChanged)
    Q_PROPERTY(QString leftText READ leftText WRITE setLeftText NOTIFY leftTextChanged)
    Q_PROPERTY(zent::TAlignment leftTextAlignment READ leftTextAlignment WRITE setLeftTextAlignment NOTIFY leftTextAlignmentChanged)
    Q_PROPERTY(QString overflowIndicator READ overflowIndicator WRITE setOverflowIndicator NOTIFY overflowIndicatorChanged)
    Q_PROPERTY(int precision READ precision WRITE setPrecision NOTIFY precisionChanged)
    Q_PROPERTY(QString rightText READ rightText WRITE setRightText NOTIFY rightTextChanged)
    Q_PROPERTY(zent::TAlignment rightTextAlignment READ rightTextAlignment WRITE setRightTextAlignment NOTIFY rightTextAlignmentChanged)
    Q_PROPERTY(QString stateText READ stateText WRITE setStateText NOTIFY stateTextChanged)
    Q_PROPERTY(bool transparent READ transparent WRITE setTransparent NOTIFY transparentChanged)
    Q_PROPERTY(double value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(zent::TFrameStyle frameStyle READ frameStyle WRITE setFrameStyle NOTIFY frameStyleChanged)
    Q_PROPERTY(zent::TColorScheme colorScheme READ colorScheme WRITE setColorScheme NOTIFY colorSchemeChanged)
    Q_PROPERTY(QString valueText READ valueText NOTIFY valueTextChanged)
    Q_PROPERTY(QString shownText READ shownText NOTIFY shownTextChanged)

public:
    explicit TQmlNumLab(QQuickItem* Parent = nullptr);
    ~TQmlNumLab() override;

    TAlignment alignment() const { return FAlignment; }
    QColor colorLabBakG() const { return ToQColor(FColorLabBakG); }
    QColor colorLabText() const { return ToQColor(FColorLabText); }
    QColor colorOutBakG() const { return ToQColor(FColorOutBakG); }
    QColor colorOutText() const { return ToQColor(FColorOutText); }
    bool comma() const { return FComma; }
    TDisplay displayType() const { return FDisplayType; }
    QString dtFormat() const { return FDTFormat; }
    bool empty() const { return FEmpty; }
    bool forcePlusSign() const { return FForcePlusSign; }
    int labelWidth() const { return FLabelWidth; }
    int leftSpace() const { return FLeftSpace; }
    QString leftText() const { return FLeftText; }
    TAlignment leftTextAlignment() const { return FLeftTextAlignment; }
    QString overflowIndicator() const { return FOverflowIndicator; }
    int precision() const { return FPrecision; }
    QString rightText() const { return FRightText; }
    TAlignment rightTextAlignment() const { return FRightTextAlignment; }
    QString stateText() const { return FStateText; }
    bool transparent() const { return FTransparent; }
    double value() const { return FValue; }
    TFrameStyle frameStyle() const { return FFrameStyle; }
    TColorScheme colorScheme() const { return FColorScheme; }
    QString valueText() const { return ValueTextQ(); }
    QString shownText() const { return FShownText; }

    void setAlignment(zent::TAlignment Value);
    void setColorLabBakG(const QColor& Value);
    void setColorLabText(const QColor& Value);
    void setColorOutBakG(const QColor& Value);
    void setColorOutText(const QColor& Value);
    void setComma(bool Value);
    void setDisplayType(zent::TDisplay Value);
    void setDtFormat(const QString& Value);
    void setEmpty(bool Value);
    void setForcePlusSign(bool Value);
    void setLabelWidth(int Value);
    void setLeftSpace(int Value);
    void setLeftText(const QString& Value);
    void setLeftTextAlignment(zent::TAlignment Value);
    void setOverflowIndicator(const QString& Value);
    void setPrecision(int Value);
    void setRightText(const QString& Value);
    void setRightTextAlignment(zent::TAlignment Value);
    void setStateText(const QString& Value);
    void setTransparent(bool Value);
    void setValue(double Value);
    void setFrameStyle(zent::TFrameStyle Value);
    // Stored for the widget's sake; the frame is drawn in the standard colours.
    void setColorScheme(zent::TColorScheme Value);

signals:
    void alignmentChanged(zent::TAlignment alignment);
    void colorLabBakGChanged(const QColor& colorLabBakG);
    void colorLabTextChanged(const QColor& colorLabText);
    void colorOutBakGChanged(const QColor& colorOutBakG);
    void colorOutTextChanged(const QColor& colorOutText);
    void commaChanged(bool comma);
    void displayTypeChanged(zent::TDisplay displayType);
    void dtFormatChanged(const QString& dtFormat);
    void emptyChanged(bool empty);
    void forcePlusSignChanged(bool forcePlusSign);
    void labelWidthChanged(int labelWidth);
    void leftSpaceChanged(int leftSpace);
    void leftTextChanged(const QString& leftText);
    void leftTextAlignmentChanged(zent::TAlignment leftTextAlignment);
    void overflowIndicatorChanged(const QString& overflowIndicator);
    void precisionChanged(int precision);
    void rightTextChanged(const QString& rightText);
    void rightTextAlignmentChanged(zent::TAlignment rightTextAlignment);
    void stateTextChanged(const QString& stateText);
    void transparentChanged(bool transparent);
    void valueChanged(double value);
    void frameStyleChanged(zent::TFrameStyle frameStyle);
    void colorSchemeChanged(zent::TColorScheme colorScheme);
    // When a property the value text is made from changed.
    void valueTextChanged();
    void shownTextChanged(const QString& shownText);

protected:
    int32_t LayoutWidth() const override { return qRound(width()); }
    int32_t LayoutHeight() const override { return qRound(height()); }
    const TFont& LayoutFont() const override { return FFont; }
    TFrameStyle LayoutFrameStyle() const override { return FFrameStyle; }
    QObject* EventSender() const override { return const_cast<TQmlNumLab*>(this); }

    void geometryChange(const QRectF& NewGeometry, const QRectF& OldGeometry) override;
    void itemChange(ItemChange Change, const ItemChangeData& Value) override;
    void updatePolish() override;
    QSGNode* updatePaintNode(QSGNode* Old, UpdatePaintNodeData*) override;

private:
    // The picture is stale: composed again before the next frame.
    void Changed();
    // The same, and the value text may read otherwise.
    void ValueChanged();
    void UpdateImplicitSize();

    TFrameStyle FFrameStyle = fsLowered;
    TColorScheme FColorScheme = csBWG;
    TFont FFont;  // the application's font
    QString FShownText;
    QImage FPicture;         // made in updatePolish on the GUI thread
    bool FNewPicture = false;  // not yet on the scene graph
};

}  // namespace zent
