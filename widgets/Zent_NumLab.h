// TNumLab: one number, shown in one of fifteen display types in a framed
// value box between two optional side texts.
#pragma once

#include <QSize>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "Zent_controls.h"
#include "Zent_enums.h"
#include "Zent_graphics.h"
#include "Zent_zentbase.h"

namespace zent {

// The handler may rewrite Text, the value text just before it is measured
// and drawn. Sender is the label.
using TBeforeDisplayEvent = std::function<void(QObject* Sender, std::string& Text)>;

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
    // come from TGraphicControl.
    Q_PROPERTY(int Alignment READ AlignmentValue WRITE SetAlignmentValue)
    Q_PROPERTY(int ColorLabBakG READ ColorLabBakG WRITE SetColorLabBakG)
    Q_PROPERTY(int ColorLabText READ ColorLabText WRITE SetColorLabText)
    Q_PROPERTY(int ColorOutBakG READ ColorOutBakG WRITE SetColorOutBakG)
    Q_PROPERTY(int ColorOutText READ ColorOutText WRITE SetColorOutText)
    Q_PROPERTY(int ColorScheme READ ColorSchemeValue WRITE SetColorSchemeValue)
    Q_PROPERTY(bool Comma READ Comma WRITE SetComma)
    Q_PROPERTY(int DisplayType READ DisplayTypeValue WRITE SetDisplayTypeValue)
    Q_PROPERTY(QString DTFormat READ DTFormatText WRITE SetDTFormatText)
    Q_PROPERTY(bool Empty READ Empty WRITE SetEmpty)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool ForcePlusSign READ ForcePlusSign WRITE SetForcePlusSign)
    Q_PROPERTY(int FrameStyle READ FrameStyleValue WRITE SetFrameStyleValue)
    Q_PROPERTY(int LabelWidth READ LabelWidth WRITE SetLabelWidth)
    Q_PROPERTY(int LeftSpace READ LeftSpace WRITE SetLeftSpace)
    Q_PROPERTY(QString LeftText READ LeftTextText WRITE SetLeftTextText)
    Q_PROPERTY(int LeftTextAlignment READ LeftTextAlignmentValue WRITE SetLeftTextAlignmentValue)
    Q_PROPERTY(QString OverflowIndicator READ OverflowIndicatorText WRITE SetOverflowIndicatorText)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
    Q_PROPERTY(QString RightText READ RightTextText WRITE SetRightTextText)
    Q_PROPERTY(int RightTextAlignment READ RightTextAlignmentValue WRITE SetRightTextAlignmentValue)
    Q_PROPERTY(QString StateText READ StateTextText WRITE SetStateTextText)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(double Value READ Value WRITE SetValue)

public:
    // 160 x 28, showing 0.00; draws nothing.
    explicit TNumLab(QWidget* Owner = nullptr);
    ~TNumLab() override;

    // Strings are ISO-8859-1 byte strings; the degree sign is "\xB0".
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TColor ColorLabBakG() const { return FColorLabBakG; }
    void SetColorLabBakG(TColor Value);
    TColor ColorLabText() const { return FColorLabText; }
    void SetColorLabText(TColor Value);
    TColor ColorOutBakG() const { return FColorOutBakG; }
    void SetColorOutBakG(TColor Value);
    TColor ColorOutText() const { return FColorOutText; }
    void SetColorOutText(TColor Value);
    bool Comma() const { return FComma; }
    void SetComma(bool Value);
    TDisplay DisplayType() const { return FDisplayType; }
    void SetDisplayType(TDisplay Value);
    const std::string& DTFormat() const { return FDTFormat; }
    void SetDTFormat(const std::string& Value);
    bool Empty() const { return FEmpty; }
    void SetEmpty(bool Value);
    // The label's own flag (drawn greyed when false), passed on to the control.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool ForcePlusSign() const { return FForcePlusSign; }
    void SetForcePlusSign(bool Value);
    int32_t LabelWidth() const { return FLabelWidth; }
    void SetLabelWidth(int32_t Value);
    int32_t LeftSpace() const { return FLeftSpace; }
    void SetLeftSpace(int32_t Value);
    const std::string& LeftText() const { return FLeftText; }
    void SetLeftText(const std::string& Value);
    TAlignment LeftTextAlignment() const { return FLeftTextAlignment; }
    void SetLeftTextAlignment(TAlignment Value);
    const std::string& OverflowIndicator() const { return FOverflowIndicator; }
    void SetOverflowIndicator(const std::string& Value);
    int32_t Precision() const { return FPrecision; }
    void SetPrecision(int32_t Value);
    const std::string& RightText() const { return FRightText; }
    void SetRightText(const std::string& Value);
    TAlignment RightTextAlignment() const { return FRightTextAlignment; }
    void SetRightTextAlignment(TAlignment Value);
    const std::string& StateText() const { return FStateText; }
    void SetStateText(const std::string& Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // Compared as doubles: -0.0 written over 0.0 changes nothing, a NaN always repaints.
    double Value() const { return FValue; }
    void SetValue(double Value);

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
    // What the value box showed at the last paint: the value text, or the
    // indicator in its place; empty while Empty is true or before the first
    // paint. Screen readers read this.
    const std::string& DrawnText() const { return FDrawnText; }
    // Height of the sample text "(8g]}\xDC\xC4\xA7" in the label's font: the
    // height of every text row.
    int32_t SampleHeight() const;

    void Assign(QObject* Source) override;
    void AssignTo(QObject* Dest) override;
    void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    TPictureColors PictureColors() const override;
    void Compose(TCanvas& C, TStale What) override;
    bool PaintContent(TCanvas& Screen, const TRect& Area) override;
    void Transfer(TCanvas& Screen, const TBitmap& Picture) override;
    void PaintWithoutBuffer(TCanvas& Screen) override;

private:
    // The text to draw in the value box and its width.
    struct TShownText {
        std::string Text;
        int32_t Width = 0;
    };

    int AlignmentValue() const { return FAlignment; }
    void SetAlignmentValue(int Value);
    int DisplayTypeValue() const { return FDisplayType; }
    void SetDisplayTypeValue(int Value);
    QString DTFormatText() const;
    void SetDTFormatText(const QString& Value);
    QString LeftTextText() const;
    void SetLeftTextText(const QString& Value);
    int LeftTextAlignmentValue() const { return FLeftTextAlignment; }
    void SetLeftTextAlignmentValue(int Value);
    QString OverflowIndicatorText() const;
    void SetOverflowIndicatorText(const QString& Value);
    QString RightTextText() const;
    void SetRightTextText(const QString& Value);
    int RightTextAlignmentValue() const { return FRightTextAlignment; }
    void SetRightTextAlignmentValue(int Value);
    QString StateTextText() const;
    void SetStateTextText(const QString& Value);

    // The value box with its frame.
    TRect ValueBox() const;
    // The inside of the value box, all of which ComposeValue draws.
    TRect ValueInside() const;
    // What a new value text repaints: the inside of the value box, or when
    // that is empty the box, which still paints (the text is made afresh).
    TRect ValueArea() const;
    // Step 1 of the value text: by display type, the indicator when out of range.
    std::string TypeText() const;
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
    std::string FLeftText;
    std::string FRightText;
    std::string FStateText = "undefined";
    TAlignment FAlignment = taCenter;
    TAlignment FLeftTextAlignment = taRightJustify;
    TAlignment FRightTextAlignment = taLeftJustify;
    int32_t FMouseArea = 0;
    std::string FOverflowIndicator = "*********";
    double FValue = 0.0;
    bool FEnabled = true;
    TColor FColorLabBakG = clBtnFace;
    TColor FColorLabText = clBlack;
    TColor FColorOutBakG = clBtnFace;
    TColor FColorOutText = clBlack;
    TDisplay FDisplayType = dtFixP;
    std::string FDTFormat = "mmm-dd, yyyy";

    int32_t FTextTop = 0;    // y of every text row on the picture
    std::string FDrawnText;  // shown at the last paint; on the picture too, unless it is stale
    bool FNewText = false;   // the last composition changed FDrawnText
};

}  // namespace zent
