// TNumLabComposer: the numeric label's state, its value text and the
// composition of its picture, free of widgets. TNumLab is one face of it,
// and any other face (a Qt Quick item) shows the same texts in the same
// pixels by drawing through the same code.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "Zent_enums.h"
#include "Zent_events.h"
#include "Zent_graphics.h"

class QObject;

namespace zent {

// The handler may rewrite Text, the value text just before it is measured
// and drawn. Sender is the label.
using TBeforeDisplayEvent = TTextEvent;

// A label of LayoutWidth x LayoutHeight: the left-text zone, LeftSpace
// pixels wide, the value box, LabelWidth pixels wide, and the right-text
// zone with the rest of the width, drawn in LayoutFont with a frame of
// LayoutFrameStyle round the value box. A face supplies those four and the
// Sender of OnBeforeDisplay; it stores values through its own setters, which
// take the rules beyond "unchanged values are ignored" from here
// (PrecisionToStore, LeftSpaceToStore, InRange for the enumerations).
class TNumLabComposer {
public:
    virtual ~TNumLabComposer();

    // The size of a new label.
    static constexpr int32_t DefaultWidth = 160, DefaultHeight = 28;

    // Strings are ISO-8859-1 byte strings; a getter ending in Q gives the Qt
    // face's type: the text in full Unicode, the colour as the label draws it.
    TAlignment Alignment() const { return FAlignment; }
    TColor ColorLabBakG() const { return FColorLabBakG; }
    QColor ColorLabBakGQ() const { return ToQColor(FColorLabBakG); }
    TColor ColorLabText() const { return FColorLabText; }
    QColor ColorLabTextQ() const { return ToQColor(FColorLabText); }
    TColor ColorOutBakG() const { return FColorOutBakG; }
    QColor ColorOutBakGQ() const { return ToQColor(FColorOutBakG); }
    TColor ColorOutText() const { return FColorOutText; }
    QColor ColorOutTextQ() const { return ToQColor(FColorOutText); }
    bool Comma() const { return FComma; }
    TDisplay DisplayType() const { return FDisplayType; }
    std::string DTFormat() const;
    QString DTFormatQ() const { return FDTFormat; }
    bool Empty() const { return FEmpty; }
    bool ForcePlusSign() const { return FForcePlusSign; }
    int32_t LabelWidth() const { return FLabelWidth; }
    int32_t LeftSpace() const { return FLeftSpace; }
    std::string LeftText() const;
    QString LeftTextQ() const { return FLeftText; }
    TAlignment LeftTextAlignment() const { return FLeftTextAlignment; }
    std::string OverflowIndicator() const;
    QString OverflowIndicatorQ() const { return FOverflowIndicator; }
    int32_t Precision() const { return FPrecision; }
    std::string RightText() const;
    QString RightTextQ() const { return FRightText; }
    TAlignment RightTextAlignment() const { return FRightTextAlignment; }
    std::string StateText() const;
    QString StateTextQ() const { return FStateText; }
    bool Transparent() const { return FTransparent; }
    double Value() const { return FValue; }

    // The precision a setter stores for Value: none when Value is the
    // present one or negative (ignored), else Value limited to 15.
    std::optional<int32_t> PrecisionToStore(int Value) const;
    // The left space a setter stores for Value: none when Value is the
    // present one or negative, else Value limited to LayoutWidth.
    std::optional<int32_t> LeftSpaceToStore(int Value) const;

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

    // The whole picture on C (a bitmap's canvas of the label's size):
    // background (white when Transparent, for a see-through transfer),
    // side texts, frame, and unless Empty the value box with the value
    // text. Returns what the value box shows: the value text, or the
    // indicator in its place; empty when Empty.
    QString ComposePicture(TCanvas& C);
    // An exception OnBeforeDisplay threw while ComposePicture ran, which it
    // held back so that the picture came out whole (with the value text as
    // the handler got it); null when none. The face reports it.
    std::exception_ptr TakeHandlerError() { return std::exchange(FHandlerError, nullptr); }

protected:
    // The text to draw in the value box and its width.
    struct TShownText {
        QString Text;
        int32_t Width = 0;
    };

    static constexpr TColor DefaultBackground = clBtnFace;
    // The text whose height is the height of every text row.
    static constexpr std::string_view SampleText = "(8g]}\xDC\xC4\xA7";

    // What the face supplies.
    virtual int32_t LayoutWidth() const = 0;
    virtual int32_t LayoutHeight() const = 0;
    virtual const TFont& LayoutFont() const = 0;
    virtual TFrameStyle LayoutFrameStyle() const = 0;
    virtual QObject* EventSender() const = 0;

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
    // OnBeforeDisplay's exception during the present composition.
    mutable std::exception_ptr FHandlerError;
    QString FRightText;
    QString FStateText = QStringLiteral("undefined");
    TAlignment FAlignment = taCenter;
    TAlignment FLeftTextAlignment = taRightJustify;
    TAlignment FRightTextAlignment = taLeftJustify;
    QString FOverflowIndicator = QStringLiteral("*********");
    double FValue = 0.0;
    bool FEnabled = true;
    TColor FColorLabBakG = DefaultBackground;
    TColor FColorLabText = clBlack;
    TColor FColorOutBakG = DefaultBackground;
    TColor FColorOutText = clBlack;
    TDisplay FDisplayType = dtFixP;
    QString FDTFormat = QStringLiteral("mmm-dd, yyyy");

    int32_t FTextTop = 0;  // y of every text row on the picture
};

// Pixel coordinates of the label's layout come from sums of any two 32-bit
// properties; far outside every surface they are all alike.
int32_t LabelCoord(int64_t V);

}  // namespace zent
