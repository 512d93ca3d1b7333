#include "Zent_numlabcompose.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "Zent_dateutils.h"
#include "Zent_latin1.h"
#include "Zent_math1.h"
#include "Zent_stringl.h"
#include "Zent_zentbase.h"

namespace zent {

// ------------------------------------------------------------ integer texts

namespace {

// The digits of V, zero-padded on the left to at least MinDigits, a '-' in
// front of the padding.
std::string DecimalText(int64_t V, int MinDigits) {
    uint64_t Magnitude = V < 0 ? 0 - uint64_t(V) : uint64_t(V);
    std::string Reversed;
    do {
        Reversed += char('0' + Magnitude % 10);
        Magnitude /= 10;
    } while (Magnitude);
    if (int(Reversed.size()) < MinDigits) Reversed.append(std::size_t(MinDigits) - Reversed.size(), '0');
    if (V < 0) Reversed += '-';
    return {Reversed.rbegin(), Reversed.rend()};
}

// To the nearest integer, ties to even; only for values inside the int64 range.
int64_t RoundEven(double V) {
    return int64_t(std::nearbyint(V));
}

bool FitsInt64(double V) {
    return V >= -0x1p63 && V < 0x1p63;
}

}  // namespace

// ------------------------------------------------------------ value text

namespace {

// Which values a display type can show; the others show the indicator.
enum class TRange : uint8_t {
    Any,
    Bits32,    // -2147483648 to 4294967295, tested before rounding
    Signed32,  // -2147483648 to 2147483647
    NotEmpty,  // any value whose text is not empty
};
struct TDisplayRule {
    TRange Range;
    bool SeparatorAndSign;  // Comma chooses the separator; ForcePlusSign applies
};
constexpr std::array<TDisplayRule, DisplayTypeCount> DisplayRules = {{
    {TRange::Any, true},       // dtFloat
    {TRange::Any, true},       // dtFixP
    {TRange::Any, true},       // dtExp
    {TRange::Bits32, false},   // dtHex
    {TRange::Signed32, true},  // dtZeroInt
    {TRange::Any, true},       // dtInt
    {TRange::Any, false},      // dtDateTime
    {TRange::Any, false},      // dtState
    {TRange::Bits32, false},   // dtBin
    {TRange::Bits32, true},    // dtOct
    {TRange::NotEmpty, true},  // dtDeg
    {TRange::NotEmpty, true},  // dtDegMin
    {TRange::NotEmpty, true},  // dtDegMinSec
    {TRange::NotEmpty, true},  // dtEEng
    {TRange::NotEmpty, true},  // dtEEngNoDP
}};

bool InRange(TRange Range, double V) {
    switch (Range) {
        case TRange::Bits32:
            return V >= -2147483648.0 && V <= 4294967295.0;
        case TRange::Signed32:
            return V >= -2147483648.0 && V <= 2147483647.0;
        default:
            return true;  // NaN included
    }
}

}  // namespace

QString TNumLabComposer::TypeText() const {
    const TDisplayRule Rule = DisplayRules[FDisplayType];
    if (!InRange(Rule.Range, FValue)) return FOverflowIndicator;
    const double V = FValue;
    const int P = std::clamp(FPrecision, 0, 15);
    std::string Text;  // the number texts are Latin-1
    switch (FDisplayType) {
        // Texts of their own, in full Unicode.
        case dtDateTime:
            return DateTimeToText(FDTFormat, V);
        case dtState:
            return FStateText;
        case dtFloat:
            Text = FloatToText(TFloatFormat::General, V, P);
            break;
        case dtFixP:
            Text = FloatToText(TFloatFormat::Fixed, V, P);
            break;
        case dtExp:
            Text = FloatToText(TFloatFormat::Exponent, V, P);
            break;
        case dtHex:
            Text = HexDigits(uint32_t(RoundEven(V)), std::min(P, 8));
            break;
        case dtZeroInt:
            Text = DecimalText(RoundEven(V), P);
            break;
        case dtInt:
            Text = FitsInt64(V) ? DecimalText(RoundEven(V), 1) : FloatToText(TFloatFormat::Fixed, V, 0);
            break;
        // The digit routines give at least one digit; a count of 0 shows nothing.
        case dtBin:
            Text = P ? BinDigits(uint32_t(RoundEven(V)), std::min(P, 32)) : "";
            break;
        case dtOct:
            Text = P ? OctDigits(uint32_t(RoundEven(V)), std::min(P, 12)) : "";
            break;
        case dtDeg:
        case dtDegMin:
        case dtDegMinSec:
            Text = FormatDegrees(FDisplayType - dtDeg, P, V);
            break;
        case dtEEng:
            Text = FormatEngineering(P, V);
            break;
        case dtEEngNoDP:
            Text = FormatEngineering(-P, V);
            break;
    }
    if (Rule.Range == TRange::NotEmpty && Text.empty()) return FOverflowIndicator;
    return Latin1ToQString(Text);
}

QString TNumLabComposer::ValueTextQ() const {
    return MakeValueText(nullptr);
}

QString TNumLabComposer::MakeValueText(std::exception_ptr* HandlerError) const {
    QString Text = TypeText();
    if (DisplayRules[FDisplayType].SeparatorAndSign) {
        if (FComma)
            Text.replace(u'.', u',');
        else
            Text.replace(u',', u'.');
        if (FForcePlusSign && FValue > 0) Text.prepend(u'+');
    }
    if (!HandlerError) {
        Raise(OnBeforeDisplay, EventSender(), Text);
        return Text;
    }
    QString Handled = Text;
    try {
        Raise(OnBeforeDisplay, EventSender(), Handled);
    } catch (...) {
        *HandlerError = std::current_exception();
        return Text;
    }
    return Handled;
}

std::string TNumLabComposer::ValueText() const {
    return QStringToLatin1(ValueTextQ());
}


int32_t LabelCoord(int64_t V) {
    return int32_t(std::clamp<int64_t>(V, -(int64_t(1) << 30), int64_t(1) << 30));
}

TNumLabComposer::~TNumLabComposer() = default;

// ------------------------------------------------------------ setter rules

std::optional<int32_t> TNumLabComposer::PrecisionToStore(int Value) const {
    if (Value == FPrecision || Value < 0) return std::nullopt;  // compared before the limit on purpose
    return std::min(Value, 15);
}

std::optional<int32_t> TNumLabComposer::LeftSpaceToStore(int Value) const {
    if (Value == FLeftSpace || Value < 0) return std::nullopt;  // compared before the limit on purpose
    return std::min(Value, LayoutWidth());
}

// ------------------------------------------------------------ texts

std::string TNumLabComposer::DTFormat() const {
    return QStringToLatin1(FDTFormat);
}
std::string TNumLabComposer::LeftText() const {
    return QStringToLatin1(FLeftText);
}
std::string TNumLabComposer::OverflowIndicator() const {
    return QStringToLatin1(FOverflowIndicator);
}
std::string TNumLabComposer::RightText() const {
    return QStringToLatin1(FRightText);
}
std::string TNumLabComposer::StateText() const {
    return QStringToLatin1(FStateText);
}


// ------------------------------------------------------------ composition

QString TNumLabComposer::ComposePicture(TCanvas& C) {
    ComposeSides(C, FTransparent ? clWhite : FColorOutBakG);
    if (FEmpty) return {};
    TShownText Shown = ShownText(C);
    ComposeValue(C, Shown);
    return std::move(Shown.Text);
}

TRect TNumLabComposer::ValueBox() const {
    const int64_t LS = FLeftSpace, LW = FLabelWidth;
    return Rect(LabelCoord(LS + 1), 0, LabelCoord(std::max(LS + LW + 1, LS + 1)), std::max(LayoutHeight() - 1, 0));
}

TRect TNumLabComposer::ValueInside() const {
    const int64_t H = LayoutHeight(), LS = FLeftSpace, LW = FLabelWidth;
    return Rect(LabelCoord(LS + 3), 2, LabelCoord(LS + LW - 1), LabelCoord(H - 3));
}

TRect TNumLabComposer::ValueArea() const {
    const TRect Inside = ValueInside();
    return Inside.Width() > 0 && Inside.Height() > 0 ? Inside : ValueBox();
}


TNumLabComposer::TShownText TNumLabComposer::ShownText(const TCanvas& C) const {
    TShownText Shown{MakeValueText(&FHandlerError), 0};
    Shown.Width = C.TextWidth(Shown.Text);
    if (Shown.Width > int64_t(FLabelWidth) - 6 && FDisplayType != dtState) {
        Shown.Text = FOverflowIndicator;
        Shown.Width = C.TextWidth(Shown.Text);
    }
    return Shown;
}

void TNumLabComposer::ComposeSides(TCanvas& C, TColor Background) {
    const int64_t W = LayoutWidth(), H = LayoutHeight(), LS = FLeftSpace, LW = FLabelWidth;
    C.CopyMode = SRCCOPY;
    C.Font = LayoutFont();
    FTextTop = LabelCoord((H - C.TextHeight(std::string(SampleText))) / 2);
    C.Pen.Color = Background;
    C.Brush.SetColor(Background);
    C.Rectangle(0, 0, int32_t(W), int32_t(H));

    // Enabled texts take the background in their cells; greyed ones are a
    // grey copy over a white one, one pixel right and below, glyphs only.
    const auto SideText = [&](int64_t X, const QString& Text) {
        if (Text.isEmpty()) return;
        if (FEnabled) {
            C.Font.Color = FColorOutText;
            C.TextOut(LabelCoord(X), FTextTop, Text);
            return;
        }
        C.Brush.SetStyle(bsClear);
        C.Font.Color = clWhite;
        C.TextOut(LabelCoord(X + 1), FTextTop + 1, Text);
        C.Font.Color = clGray;
        C.TextOut(LabelCoord(X), FTextTop, Text);
    };
    if (!FLeftText.isEmpty()) {
        const int64_t lw = C.TextWidth(FLeftText);
        SideText(FLeftTextAlignment == taLeftJustify    ? 7
                 : FLeftTextAlignment == taRightJustify ? LS - lw - 5
                                                        : (LS - lw) / 2,
                 FLeftText);
    }
    if (!FRightText.isEmpty()) {
        const int64_t rw = C.TextWidth(FRightText);
        SideText(FRightTextAlignment == taLeftJustify    ? LS + LW + 7
                 : FRightTextAlignment == taRightJustify ? W - rw - 6
                                                         : LS + LW + 1 + (W - LS - LW - rw) / 2,
                 FRightText);
    }

    C.Brush.SetColor(FColorLabBakG);
    DrawFrame(C, LayoutFrameStyle(), LabelCoord(LS + 1), 0, LabelCoord(LS + LW), LabelCoord(H - 2));
}

void TNumLabComposer::ComposeValue(TCanvas& C, const TShownText& Shown) {
    const int64_t LS = FLeftSpace, LW = FLabelWidth, tw = Shown.Width;
    const int64_t X = FAlignment == taLeftJustify    ? LS + 4
                      : FAlignment == taRightJustify ? LS + LW - 2 - tw
                                                     : LS + 2 + (LW - tw) / 2;
    C.Brush.SetColor(FColorLabBakG);
    C.Font.Color = FEnabled ? FColorLabText : clBtnShadow;
    // The solid brush paints the whole inside of the box, then the text, clipped to it.
    C.TextRect(ValueInside(), LabelCoord(X), FTextTop, Shown.Text);
}

}  // namespace zent
