// TNumLab: one number, shown in one of fifteen display types in a framed
// value box between two optional side texts.
#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "Zent_controls.h"
#include "Zent_enums.h"
#include "Zent_events.h"
#include "Zent_graphics.h"
#include "Zent_zentbase.h"

namespace zent {

// The handler may rewrite Text, the value text just before it is measured
// and drawn. Sender is the label.
using TBeforeDisplayEvent = TTextEvent;

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
class TNumLab : public TFramedControl {
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
    // string literal is Latin-1. A getter ending in Q gives the Qt face's
    // type: the text in full Unicode, the colour as the label draws it.
    TAlignment Alignment() const { return FAlignment; }
    TColor ColorLabBakG() const { return FColorLabBakG; }
    QColor ColorLabBakGQ() const;
    void SetColorLabBakG(TColor Value);
    TColor ColorLabText() const { return FColorLabText; }
    QColor ColorLabTextQ() const;
    void SetColorLabText(TColor Value);
    TColor ColorOutBakG() const { return FColorOutBakG; }
    QColor ColorOutBakGQ() const;
    void SetColorOutBakG(TColor Value);
    TColor ColorOutText() const { return FColorOutText; }
    QColor ColorOutTextQ() const;
    void SetColorOutText(TColor Value);
    bool Comma() const { return FComma; }
    TDisplay DisplayType() const { return FDisplayType; }
    std::string DTFormat() const;
    QString DTFormatQ() const { return FDTFormat; }
    void SetDTFormat(const std::string& Value);
    void SetDTFormat(const char* Value) { SetDTFormat(std::string(Value)); }
    bool Empty() const { return FEmpty; }
    // The label's own flag (drawn greyed when false), passed on to the control.
    bool Enabled() const { return FEnabled; }
    bool ForcePlusSign() const { return FForcePlusSign; }
    int32_t LabelWidth() const { return FLabelWidth; }
    int32_t LeftSpace() const { return FLeftSpace; }
    std::string LeftText() const;
    QString LeftTextQ() const { return FLeftText; }
    void SetLeftText(const std::string& Value);
    void SetLeftText(const char* Value) { SetLeftText(std::string(Value)); }
    TAlignment LeftTextAlignment() const { return FLeftTextAlignment; }
    std::string OverflowIndicator() const;
    QString OverflowIndicatorQ() const { return FOverflowIndicator; }
    void SetOverflowIndicator(const std::string& Value);
    void SetOverflowIndicator(const char* Value) { SetOverflowIndicator(std::string(Value)); }
    int32_t Precision() const { return FPrecision; }
    std::string RightText() const;
    QString RightTextQ() const { return FRightText; }
    void SetRightText(const std::string& Value);
    void SetRightText(const char* Value) { SetRightText(std::string(Value)); }
    TAlignment RightTextAlignment() const { return FRightTextAlignment; }
    std::string StateText() const;
    QString StateTextQ() const { return FStateText; }
    void SetStateText(const std::string& Value);
    void SetStateText(const char* Value) { SetStateText(std::string(Value)); }
    bool Transparent() const { return FTransparent; }
    double Value() const { return FValue; }

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

    // Called by every paint with Empty false, for every display type.
    TBeforeDisplayEvent OnBeforeDisplay;

    // The value text: Value by DisplayType and Precision, then for the types
    // that take them the separator Comma chooses and a '+' before a positive
    // value, then OnBeforeDisplay. A value outside its type's range gives
    // OverflowIndicator (which the separator step and the handler then see):
    // dtHex, dtBin and dtOct take -2147483648 to 4294967295, dtZeroInt the
    // signed 32-bit range; a NaN is outside both. The width check is left to
    // painting. Texts at the extremes:
    // - dtFloat, dtFixP, dtExp: a NaN gives "NAN", infinities "INF" and
    //   "-INF"; beyond 18 significant digits every digit is '0', so 1e308 in
    //   dtFixP is 309 digits wide.
    // - dtInt: beyond the 64-bit range, and for NaN and infinities, the
    //   dtFixP text with no decimals ("NAN", "INF", 1e19 as 1 and 19 zeros).
    // - dtDeg, dtDegMin, dtDegMinSec: as FormatDegrees.
    // - dtEEng, dtEEngNoDP: a NaN is written as zero, infinities as "INF".
    // - dtDateTime: a NaN, an infinity or a date outside years 1 to 9999
    //   gives the empty text.
    std::string ValueText() const;
    QString ValueTextQ() const;
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

private:
    // The text to draw in the value box and its width.
    struct TShownText {
        QString Text;
        int32_t Width = 0;
    };

    static constexpr TColor DefaultBackground = clBtnFace;

    // The value box with its frame.
    TRect ValueBox() const;
    // The inside of the value box, all of which ComposeValue draws.
    TRect ValueInside() const;
    // What a new value text repaints: the inside of the value box, or when
    // that is empty the box, which still paints (the text is made afresh).
    TRect ValueArea() const;
    // Step 1 of the value text: by display type, the indicator when out of range.
    QString TypeText() const;
    // The value text. Given HandlerError, an exception from OnBeforeDisplay
    // is stored there instead of thrown, and the text is the one the
    // handler got.
    QString MakeValueText(std::exception_ptr* HandlerError) const;
    // The value text, or the indicator when it is too wide, measured on C.
    TShownText ShownText(const TCanvas& C) const;
    // Background, side texts and frame: everything but the value box's inside.
    void ComposeSides(TCanvas& C, TColor Background);
    // The inside of the value box with Shown on it.
    void ComposeValue(TCanvas& C, const TShownText& Shown);

    int32_t FLeftSpace = 35;
    bool FEmpty = false;
    int32_t FLabelWidth = 80;
    int32_t FPrecision = 2;
    bool FComma = false;
    bool FForcePlusSign = false;
    bool FTransparent = false;
    QString FLeftText;
    QString FRightText;
    QString FStateText = QStringLiteral("undefined");
    TAlignment FAlignment = taCenter;
    TAlignment FLeftTextAlignment = taRightJustify;
    TAlignment FRightTextAlignment = taLeftJustify;
    int32_t FMouseArea = 0;
    QString FOverflowIndicator = QStringLiteral("*********");
    double FValue = 0.0;
    bool FEnabled = true;
    TColor FColorLabBakG = DefaultBackground;
    TColor FColorLabText = clBlack;
    TColor FColorOutBakG = DefaultBackground;
    TColor FColorOutText = clBlack;
    TDisplay FDisplayType = dtFixP;
    QString FDTFormat = QStringLiteral("mmm-dd, yyyy");

    int32_t FTextTop = 0;   // y of every text row on the picture
    QString FDrawnText;     // shown at the last paint; on the picture too, unless it is stale
    bool FNewText = false;  // the last composition changed FDrawnText
    // OnBeforeDisplay's exception during the present paint, thrown once it is done.
    mutable std::exception_ptr FHandlerError;
};

}  // namespace zent
