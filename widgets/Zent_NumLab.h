// TNumLab: one number, shown in one of fifteen display types in a framed
// value box between two optional side texts.
#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "Zent_controls.h"
#include "Zent_enums.h"
#include "Zent_events.h"
#include "Zent_graphics.h"
#include "Zent_numlabcompose.h"
#include "Zent_zentbase.h"

namespace zent {

// A windowless control: the left-text zone, LeftSpace pixels wide, the value
// box, LabelWidth pixels wide, and the right-text zone with the rest of the
// width. The value box shows Value as DisplayType says, in the label's font;
// a text wider than LabelWidth - 6 pixels shows OverflowIndicator instead
// (dtState texts are clipped instead).
//
// Setters ignore unchanged values and repaint before they return, except:
// Precision (negative ignored, above 15 stored as 15) and LeftSpace
// (negative ignored, above Width stored as Width) compare the value as
// written; Enabled always repaints; Transparent true repaints later, once
// the parent has drawn the background that shows through. A label without a
// parent stores the value and paints when it is shown. Under the Coalesced
// repaint policy every setter repaints at Qt's next paint instead.
//
// The picture is kept between paints: setters mark it stale, and Paint
// composes only what is stale, so a value change redraws the value box
// alone. The value text is made afresh on every paint (OnBeforeDisplay is
// called each time).
//
// Size hints: sizeHint is the default 160 x 28, or larger where the font
// needs it: the value box whole and a height of the sample text's height
// plus 8. minimumSizeHint is the value box whole (LeftSpace + LabelWidth + 1
// wide) and one line of text inside the frame (sample height plus 5).
class TNumLab : public TFramedControl, public TNumLabComposer {
    Q_OBJECT
    // The published properties in their stored order. Align and ParentFont
    // come from TGraphicControl, ColorScheme and FrameStyle from
    // TFramedControl. The colours read as the label draws them; the two
    // backgrounds follow the palette (clBtnFace) until they are set, and a
    // reset gives that back, so Designer leaves them out of a .ui file.
    Q_PROPERTY(zent::TAlignment Alignment READ Alignment WRITE SetAlignment NOTIFY AlignmentChanged)
    Q_PROPERTY(QColor ColorLabBakG READ ColorLabBakGQ WRITE SetColorLabBakG RESET ResetColorLabBakG NOTIFY
                   ColorLabBakGChanged)
    Q_PROPERTY(QColor ColorLabText READ ColorLabTextQ WRITE SetColorLabText NOTIFY ColorLabTextChanged)
    Q_PROPERTY(QColor ColorOutBakG READ ColorOutBakGQ WRITE SetColorOutBakG RESET ResetColorOutBakG NOTIFY
                   ColorOutBakGChanged)
    Q_PROPERTY(QColor ColorOutText READ ColorOutTextQ WRITE SetColorOutText NOTIFY ColorOutTextChanged)
    Q_PROPERTY(bool Comma READ Comma WRITE SetComma NOTIFY CommaChanged)
    Q_PROPERTY(zent::TDisplay DisplayType READ DisplayType WRITE SetDisplayType NOTIFY DisplayTypeChanged)
    Q_PROPERTY(QString DTFormat READ DTFormatQ WRITE SetDTFormat NOTIFY DTFormatChanged)
    Q_PROPERTY(bool Empty READ Empty WRITE SetEmpty NOTIFY EmptyChanged)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled NOTIFY EnabledChanged)
    Q_PROPERTY(bool ForcePlusSign READ ForcePlusSign WRITE SetForcePlusSign NOTIFY ForcePlusSignChanged)
    Q_PROPERTY(int LabelWidth READ LabelWidth WRITE SetLabelWidth NOTIFY LabelWidthChanged)
    Q_PROPERTY(int LeftSpace READ LeftSpace WRITE SetLeftSpace NOTIFY LeftSpaceChanged)
    Q_PROPERTY(QString LeftText READ LeftTextQ WRITE SetLeftText NOTIFY LeftTextChanged)
    Q_PROPERTY(zent::TAlignment LeftTextAlignment READ LeftTextAlignment WRITE SetLeftTextAlignment NOTIFY
                   LeftTextAlignmentChanged)
    Q_PROPERTY(QString OverflowIndicator READ OverflowIndicatorQ WRITE SetOverflowIndicator NOTIFY
                   OverflowIndicatorChanged)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision NOTIFY PrecisionChanged)
    Q_PROPERTY(QString RightText READ RightTextQ WRITE SetRightText NOTIFY RightTextChanged)
    Q_PROPERTY(zent::TAlignment RightTextAlignment READ RightTextAlignment WRITE SetRightTextAlignment NOTIFY
                   RightTextAlignmentChanged)
    Q_PROPERTY(QString StateText READ StateTextQ WRITE SetStateText NOTIFY StateTextChanged)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent NOTIFY TransparentChanged)
    Q_PROPERTY(double Value READ Value WRITE SetValue NOTIFY ValueChanged)

public:
    // 160 x 28, showing 0.00; draws nothing.
    explicit TNumLab(QWidget* Owner = nullptr);
    ~TNumLab() override;

    // Strings are ISO-8859-1 byte strings; the degree sign is "\xB0". The
    // same setters take QString (slots, below), in full Unicode, and a
    // string literal is Latin-1. The getters, the value text and
    // OnBeforeDisplay come from TNumLabComposer.
    void SetColorLabBakG(TColor Value);
    void SetColorLabText(TColor Value);
    void SetColorOutBakG(TColor Value);
    void SetColorOutText(TColor Value);
    void SetDTFormat(const std::string& Value);
    void SetDTFormat(const char* Value) { SetDTFormat(std::string(Value)); }
    // The label's own flag (drawn greyed when false), passed on to the control.
    bool Enabled() const { return FEnabled; }
    void SetLeftText(const std::string& Value);
    void SetLeftText(const char* Value) { SetLeftText(std::string(Value)); }
    void SetOverflowIndicator(const std::string& Value);
    void SetOverflowIndicator(const char* Value) { SetOverflowIndicator(std::string(Value)); }
    void SetRightText(const std::string& Value);
    void SetRightText(const char* Value) { SetRightText(std::string(Value)); }
    void SetStateText(const std::string& Value);
    void SetStateText(const char* Value) { SetStateText(std::string(Value)); }

public slots:
    void SetAlignment(zent::TAlignment Value);
    // An invalid QColor is ignored.
    void SetColorLabBakG(const QColor& Value);
    void SetColorLabText(const QColor& Value);
    void SetColorOutBakG(const QColor& Value);
    void SetColorOutText(const QColor& Value);
    void ResetColorLabBakG() { SetColorLabBakG(DefaultBackground); }
    void ResetColorOutBakG() { SetColorOutBakG(DefaultBackground); }
    void SetComma(bool Value);
    void SetDisplayType(zent::TDisplay Value);
    void SetDTFormat(const QString& Value);
    void SetEmpty(bool Value);
    void SetEnabled(bool Value);
    void SetForcePlusSign(bool Value);
    void SetLabelWidth(int Value);
    // Negative values are ignored, values above Width stored as Width.
    void SetLeftSpace(int Value);
    void SetLeftText(const QString& Value);
    void SetLeftTextAlignment(zent::TAlignment Value);
    void SetOverflowIndicator(const QString& Value);
    // Negative values are ignored, values above 15 stored as 15.
    void SetPrecision(int Value);
    void SetRightText(const QString& Value);
    void SetRightTextAlignment(zent::TAlignment Value);
    void SetStateText(const QString& Value);
    void SetTransparent(bool Value);
    // Compared as doubles: -0.0 written over 0.0 changes nothing, a NaN always repaints.
    void SetValue(double Value);

signals:
    // Once per real change, after the repaint (or its request); a clamped
    // value gives the value stored.
    void AlignmentChanged(zent::TAlignment Alignment);
    void ColorLabBakGChanged(const QColor& ColorLabBakG);
    void ColorLabTextChanged(const QColor& ColorLabText);
    void ColorOutBakGChanged(const QColor& ColorOutBakG);
    void ColorOutTextChanged(const QColor& ColorOutText);
    void CommaChanged(bool Comma);
    void DisplayTypeChanged(zent::TDisplay DisplayType);
    void DTFormatChanged(const QString& DTFormat);
    void EmptyChanged(bool Empty);
    void EnabledChanged(bool Enabled);
    void ForcePlusSignChanged(bool ForcePlusSign);
    void LabelWidthChanged(int LabelWidth);
    void LeftSpaceChanged(int LeftSpace);
    void LeftTextChanged(const QString& LeftText);
    void LeftTextAlignmentChanged(zent::TAlignment LeftTextAlignment);
    void OverflowIndicatorChanged(const QString& OverflowIndicator);
    void PrecisionChanged(int Precision);
    void RightTextChanged(const QString& RightText);
    void RightTextAlignmentChanged(zent::TAlignment RightTextAlignment);
    void StateTextChanged(const QString& StateText);
    void TransparentChanged(bool Transparent);
    void ValueChanged(double Value);

public:
    // Zone under the mouse at the last move: 0 left text, 1 value box, 2 right text.
    int32_t MouseArea() const { return FMouseArea; }

    // What the value box showed at the last paint: the value text, or the
    // indicator in its place; empty while Empty is true or before the first
    // paint. Screen readers read this.
    std::string DrawnText() const;
    QString DrawnTextQ() const { return FDrawnText; }
    // Height of the sample text "(8g]}\xDC\xC4\xA7" in the label's font: the
    // height of every text row.
    int32_t SampleHeight() const;

    void Assign(QObject* Source) override;
    void AssignTo(QObject* Dest) override;
    void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // A paint whose OnBeforeDisplay handler throws still draws the whole
    // label, with the value text as the handler got it, and throws the
    // handler's exception afterwards, to the message loop's guard.
    void Paint() override;
    TPictureColors PictureColors() const override;
    void Compose(TCanvas& C, TStale What) override;
    bool PaintContent(TCanvas& Screen, const TRect& Area) override;
    void Transfer(TCanvas& Screen, const TBitmap& Picture) override;
    void PaintWithoutBuffer(TCanvas& Screen) override;

    int32_t LayoutWidth() const override { return Width(); }
    int32_t LayoutHeight() const override { return Height(); }
    const TFont& LayoutFont() const override { return Font(); }
    TFrameStyle LayoutFrameStyle() const override { return FrameStyle(); }
    QObject* EventSender() const override { return const_cast<TNumLab*>(this); }

private:
    int32_t FMouseArea = 0;
    QString FDrawnText;     // shown at the last paint; on the picture too, unless it is stale
    bool FNewText = false;  // the last composition changed FDrawnText
};

}  // namespace zent
