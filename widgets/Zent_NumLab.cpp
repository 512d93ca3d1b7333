#include "Zent_NumLab.h"

#include <QWidget>
#include <algorithm>
#include <array>
#include <cmath>

#include "Zent_NumLabAccessible.h"
#include "Zent_dateutils.h"
#include "Zent_latin1.h"
#include "Zent_math1.h"
#include "Zent_stringl.h"

namespace zent {

// ------------------------------------------------------------ digit texts

namespace {

// The lowest Count digits of Bits in base 2^Shift, most significant first.
std::string PowerOfTwoDigits(uint64_t Bits, int Count, int Shift) {
    static constexpr char Digit[] = "0123456789ABCDEF";
    std::string Text(std::size_t(Count), '0');
    for (int i = 0; i < Count; ++i)
        Text[std::size_t(Count - 1 - i)] = Digit[(Bits >> (i * Shift)) & ((1u << Shift) - 1)];
    return Text;
}

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

// Within 3e-12 of a whole number: that number (ties of the rounding to even).
long double Snap(long double X) {
    const long double Whole = std::nearbyint(X);
    return std::fabs(X - Whole) < 3e-12L ? Whole : X;
}

long double Fraction(long double X) {
    return X - std::trunc(X);
}

constexpr std::array<long double, 9> Pow10 = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L};

}  // namespace

std::string FormatDegrees(int32_t Kind, int32_t Precision, double Value) {
    const int p = std::clamp(Precision, 0, 8);
    if ((Kind != 1 && Kind != 2) || !std::isfinite(Value)) return FormatFixed(1, p, Value) + "\xB0";
    // Rounded once, at the last field, half away from zero.
    const long double Unit = Kind == 1 ? 60 : 3600, Scale = Pow10[std::size_t(p)];
    const long double v = Snap(std::round(Value * Unit * Scale) / Scale / Unit);
    const long double Degrees = std::trunc(v);
    std::string Text = Degrees == 0 && v < 0 ? "-0" : FormatFixed(1, 0, Degrees);
    Text += "\xB0 ";
    const long double Minutes = Fraction(std::fabs(v)) * 60;
    if (Kind == 1) return Text + FormatFixed(p + 3, p, Minutes) + "'";
    const long double m = Snap(Minutes);
    Text += FormatFixed(2, 0, std::trunc(m)) + "' ";
    return Text + FormatFixed(p + 3, p, Fraction(m) * 60) + "\"";
}

std::string OctDigits(uint32_t Bits, int32_t Count) {
    return PowerOfTwoDigits(Bits, std::clamp(Count, 1, 11), 3);
}

std::string BinDigits(uint32_t Bits, int32_t Count) {
    return PowerOfTwoDigits(Bits, std::clamp(Count, 1, 32), 1);
}

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

std::string TNumLab::TypeText() const {
    const TDisplayRule Rule = DisplayRules[FDisplayType];
    if (!InRange(Rule.Range, FValue)) return FOverflowIndicator;
    const double V = FValue;
    const int P = std::clamp(FPrecision, 0, 15);
    std::string Text;
    switch (FDisplayType) {
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
            Text = PowerOfTwoDigits(uint64_t(RoundEven(V)), std::min(P, 8), 4);
            break;
        case dtZeroInt:
            Text = DecimalText(RoundEven(V), P);
            break;
        case dtInt:
            Text = FitsInt64(V) ? DecimalText(RoundEven(V), 1) : FloatToText(TFloatFormat::Fixed, V, 0);
            break;
        case dtDateTime:
            Text = DateTimeToText(FDTFormat, V);
            break;
        case dtState:
            Text = FStateText;
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
    return Text;
}

std::string TNumLab::ValueText() const {
    std::string Text = TypeText();
    if (DisplayRules[FDisplayType].SeparatorAndSign) {
        if (FComma)
            std::replace(Text.begin(), Text.end(), '.', ',');
        else
            std::replace(Text.begin(), Text.end(), ',', '.');
        if (FForcePlusSign && FValue > 0) Text.insert(0, 1, '+');
    }
    if (OnBeforeDisplay) {
        const TBeforeDisplayEvent Handler = OnBeforeDisplay;  // the handler may replace itself
        Handler(const_cast<TNumLab*>(this), Text);
    }
    return Text;
}

// ------------------------------------------------------------ life cycle

namespace {
constexpr int32_t DefaultWidth = 160, DefaultHeight = 28;
constexpr std::string_view SampleText = "(8g]}\xDC\xC4\xA7";

// Pixel coordinates of the layout come from sums of any two 32-bit
// properties; far outside every surface they are all alike.
int32_t Coord(int64_t V) {
    return int32_t(std::clamp<int64_t>(V, -(int64_t(1) << 30), int64_t(1) << 30));
}
}  // namespace

TNumLab::TNumLab(QWidget* Owner) : TGraphicControl(Owner), FPicture(std::make_unique<TBitmap>()) {
    InstallNumLabAccessible();
    SetOpaque(true);  // not see-through: every paint covers the whole rectangle
    SetBounds(Left(), Top(), DefaultWidth, DefaultHeight);
}

TNumLab::~TNumLab() = default;

// ------------------------------------------------------------ properties

void TNumLab::Changed(TStale What) {
    FStale = std::max(FStale, What);
    // Without a parent there is nothing to draw on; the label paints once shown.
    if (parentWidget()) RepaintChanged();
}

// Text setters leave the picture as it is: the paint finds a new text itself.

void TNumLab::SetAlignment(TAlignment Value) {
    if (Value == FAlignment || Value > taCenter) return;
    FAlignment = Value;
    Changed(TStale::Box);
}

void TNumLab::SetColorLabBakG(TColor Value) {
    if (Value == FColorLabBakG) return;
    FColorLabBakG = Value;
    Changed(TStale::Whole);
}

void TNumLab::SetColorLabText(TColor Value) {
    if (Value == FColorLabText) return;
    FColorLabText = Value;
    Changed(TStale::Whole);
}

void TNumLab::SetColorOutBakG(TColor Value) {
    if (Value == FColorOutBakG) return;
    FColorOutBakG = Value;
    Changed(TStale::Whole);
}

void TNumLab::SetColorOutText(TColor Value) {
    if (Value == FColorOutText) return;
    FColorOutText = Value;
    Changed(TStale::Whole);
}

void TNumLab::SetColorScheme(TColorScheme Value) {
    if (Value == FColorScheme || Value > csSystem) return;
    FColorScheme = Value;
    const TSchemeColors Colors = SchemeColors(Value);
    FSchemeShadow = Colors.Shadow;
    FSchemeHighlight = Colors.Highlight;
    Changed(TStale::None);  // no drawing reads the scheme colours
}

void TNumLab::SetComma(bool Value) {
    if (Value == FComma) return;
    FComma = Value;
    Changed(TStale::None);
}

void TNumLab::SetDisplayType(TDisplay Value) {
    if (Value == FDisplayType || Value >= DisplayTypeCount) return;
    FDisplayType = Value;
    Changed(TStale::None);
}

void TNumLab::SetDTFormat(const std::string& Value) {
    if (Value == FDTFormat) return;
    FDTFormat = Value;
    Changed(TStale::None);
}

void TNumLab::SetEmpty(bool Value) {
    if (Value == FEmpty) return;
    FEmpty = Value;
    Changed(TStale::Whole);
}

void TNumLab::SetEnabled(bool Value) {
    FEnabled = Value;  // no equality test: always repaints
    TGraphicControl::SetEnabled(Value);
    Changed(TStale::Whole);
}

void TNumLab::SetForcePlusSign(bool Value) {
    if (Value == FForcePlusSign) return;
    FForcePlusSign = Value;
    Changed(TStale::None);
}

void TNumLab::SetFrameStyle(TFrameStyle Value) {
    if (Value == FFrameStyle || Value > fsEngraved) return;
    FFrameStyle = Value;
    Changed(TStale::Whole);
}

void TNumLab::SetLabelWidth(int32_t Value) {
    if (Value == FLabelWidth) return;
    FLabelWidth = Value;
    updateGeometry();
    Changed(TStale::Whole);
}

void TNumLab::SetLeftSpace(int32_t Value) {
    if (Value == FLeftSpace || Value < 0) return;  // compared before the limit on purpose
    FLeftSpace = std::min(Value, Width());
    updateGeometry();
    Changed(TStale::Whole);
}

void TNumLab::SetLeftText(const std::string& Value) {
    if (Value == FLeftText) return;
    FLeftText = Value;
    Changed(TStale::Whole);
}

void TNumLab::SetLeftTextAlignment(TAlignment Value) {
    if (Value == FLeftTextAlignment || Value > taCenter) return;
    FLeftTextAlignment = Value;
    Changed(TStale::Whole);
}

void TNumLab::SetOverflowIndicator(const std::string& Value) {
    if (Value == FOverflowIndicator) return;
    FOverflowIndicator = Value;
    Changed(TStale::None);
}

void TNumLab::SetPrecision(int32_t Value) {
    if (Value == FPrecision || Value < 0) return;  // compared before the limit on purpose
    FPrecision = std::min(Value, 15);
    Changed(TStale::None);
}

void TNumLab::SetRightText(const std::string& Value) {
    if (Value == FRightText) return;
    FRightText = Value;
    Changed(TStale::Whole);
}

void TNumLab::SetRightTextAlignment(TAlignment Value) {
    if (Value == FRightTextAlignment || Value > taCenter) return;
    FRightTextAlignment = Value;
    Changed(TStale::Whole);
}

void TNumLab::SetStateText(const std::string& Value) {
    if (Value == FStateText) return;
    FStateText = Value;
    Changed(TStale::None);
}

void TNumLab::SetTransparent(bool Value) {
    if (Value == FTransparent) return;
    FTransparent = Value;
    SetOpaque(!Value);
    FStale = TStale::Whole;
    if (Value)
        Invalidate();  // the parent first draws the background that will show through
    else
        Changed(TStale::Whole);
}

void TNumLab::SetValue(double Value) {
    if (Value == FValue) return;
    FValue = Value;
    Changed(TStale::None);
}

// Layouts write enumerations as numbers; one outside the type is ignored.
void TNumLab::SetAlignmentValue(int Value) {
    if (Value >= taLeftJustify && Value <= taCenter) SetAlignment(TAlignment(Value));
}
void TNumLab::SetColorSchemeValue(int Value) {
    if (Value >= csBWG && Value <= csSystem) SetColorScheme(TColorScheme(Value));
}
void TNumLab::SetDisplayTypeValue(int Value) {
    if (Value >= 0 && Value < DisplayTypeCount) SetDisplayType(TDisplay(Value));
}
void TNumLab::SetFrameStyleValue(int Value) {
    if (Value >= fsNone && Value <= fsEngraved) SetFrameStyle(TFrameStyle(Value));
}
void TNumLab::SetLeftTextAlignmentValue(int Value) {
    if (Value >= taLeftJustify && Value <= taCenter) SetLeftTextAlignment(TAlignment(Value));
}
void TNumLab::SetRightTextAlignmentValue(int Value) {
    if (Value >= taLeftJustify && Value <= taCenter) SetRightTextAlignment(TAlignment(Value));
}

QString TNumLab::DTFormatText() const {
    return Latin1ToQString(FDTFormat);
}
void TNumLab::SetDTFormatText(const QString& Value) {
    SetDTFormat(QStringToLatin1(Value));
}
QString TNumLab::LeftTextText() const {
    return Latin1ToQString(FLeftText);
}
void TNumLab::SetLeftTextText(const QString& Value) {
    SetLeftText(QStringToLatin1(Value));
}
QString TNumLab::OverflowIndicatorText() const {
    return Latin1ToQString(FOverflowIndicator);
}
void TNumLab::SetOverflowIndicatorText(const QString& Value) {
    SetOverflowIndicator(QStringToLatin1(Value));
}
QString TNumLab::RightTextText() const {
    return Latin1ToQString(FRightText);
}
void TNumLab::SetRightTextText(const QString& Value) {
    SetRightText(QStringToLatin1(Value));
}
QString TNumLab::StateTextText() const {
    return Latin1ToQString(FStateText);
}
void TNumLab::SetStateTextText(const QString& Value) {
    SetStateText(QStringToLatin1(Value));
}

// ------------------------------------------------------------ copying and the mouse

void TNumLab::Assign(QObject* Source) {
    auto* Other = qobject_cast<TNumLab*>(Source);
    if (!Other) {
        TGraphicControl::Assign(Source);
        return;
    }
    FLeftSpace = Other->FLeftSpace;
    FEmpty = Other->FEmpty;
    FLabelWidth = Other->FLabelWidth;
    FPrecision = Other->FPrecision;
    FLeftText = Other->FLeftText;
    FRightText = Other->FRightText;
    FFrameStyle = Other->FFrameStyle;
    FAlignment = Other->FAlignment;
    FRightTextAlignment = Other->FRightTextAlignment;
    FLeftTextAlignment = Other->FLeftTextAlignment;
    FOverflowIndicator = Other->FOverflowIndicator;
    FValue = Other->FValue;
    FStateText = Other->FStateText;
    FTransparent = Other->FTransparent;
    FColorLabBakG = Other->FColorLabBakG;
    FColorLabText = Other->FColorLabText;
    FColorOutBakG = Other->FColorOutBakG;
    FColorOutText = Other->FColorOutText;
    FSchemeDark = Other->FSchemeDark;
    FSchemeShadow = Other->FSchemeShadow;
    FSchemeHighlight = Other->FSchemeHighlight;
    FColorScheme = Other->FColorScheme;
    FDisplayType = Other->FDisplayType;
    SetOpaque(!FTransparent);
    updateGeometry();
    Changed(TStale::Whole);
}

void TNumLab::AssignTo(QObject* Dest) {
    // Only into a label of this class or of one of its ancestors.
    auto* Other = qobject_cast<TNumLab*>(Dest);
    if (Other && metaObject()->inherits(Other->metaObject())) {
        Other->Assign(this);
        return;
    }
    TGraphicControl::AssignTo(Dest);
}

void TNumLab::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
    FMouseArea = 0;
    if (X > FLeftSpace) FMouseArea = 1;
    if (X > int64_t(FLeftSpace) + FLabelWidth) FMouseArea = 2;
    TGraphicControl::MouseMove(Shift, X, Y);
}

// ------------------------------------------------------------ painting

int32_t TNumLab::SampleHeight() const {
    TCanvas& C = FPicture->Canvas();  // measured where the texts are drawn
    C.Font = Font();
    return C.TextHeight(std::string(SampleText));
}

QSize TNumLab::minimumSizeHint() const {
    const int64_t BoxRight = int64_t(FLeftSpace) + FLabelWidth + 1;
    return {int(std::clamp<int64_t>(BoxRight, 0, QWIDGETSIZE_MAX)), SampleHeight() + 5};
}

QSize TNumLab::sizeHint() const {
    const QSize Minimum = minimumSizeHint();
    return {std::max(Minimum.width(), int(DefaultWidth)), std::max(Minimum.height() + 3, int(DefaultHeight))};
}

TNumLab::TPictureKey TNumLab::CurrentKey(int32_t Ratio) const {
    return {Width(),
            Height(),
            Ratio,
            Font(),
            ColorToRGB(FColorOutBakG),
            ColorToRGB(FColorOutText),
            ColorToRGB(FColorLabBakG),
            ColorToRGB(FColorLabText),
            ColorToRGB(clBtnShadow)};
}

void TNumLab::Paint() {
    if (!Visible() && !(ComponentState() & csDesigning)) return;
    const TPictureKey Now = CurrentKey(Canvas().PixelRatio());
    bool NewText = false;
    try {
        TCanvas& C = FPicture->Canvas();
        if (FStale == TStale::Whole || Now != FBuiltFor) {
            // The picture in device pixels, so that the text is drawn at the
            // screen's resolution rather than scaled up.
            if (FPicture->PixelRatio() != Now.Ratio) FPicture->SetPixelRatio(Now.Ratio);
            FPicture->SetSize(Now.Width, Now.Height);
            FBuiltFor = Now;
            FStale = TStale::Box;
            ComposeSides(C, FTransparent ? clWhite : FColorOutBakG);
        }
        if (FEmpty) {
            NewText = !FDrawnText.empty();
            FDrawnText.clear();
        } else {
            TShownText Shown = ShownText(C);
            NewText = Shown.Text != FDrawnText;
            if (NewText || FStale == TStale::Box) ComposeValue(C, Shown);
            if (NewText) FDrawnText = std::move(Shown.Text);
        }
        FStale = TStale::None;
    } catch (const EOutOfResources&) {
        // Too large for a picture in memory: drawn straight onto the control,
        // opaque whatever Transparent says.
        TCanvas& Screen = Canvas();
        ComposeSides(Screen, FColorOutBakG);
        if (!FEmpty) ComposeValue(Screen, ShownText(Screen));
        return;
    }
    Transfer(Canvas());
    if (NewText) AnnounceShownText(*this);
}

TNumLab::TShownText TNumLab::ShownText(const TCanvas& C) const {
    TShownText Shown{ValueText(), 0};
    Shown.Width = C.TextWidth(Shown.Text);
    if (Shown.Width > int64_t(FLabelWidth) - 6 && FDisplayType != dtState) {
        Shown.Text = FOverflowIndicator;
        Shown.Width = C.TextWidth(Shown.Text);
    }
    return Shown;
}

void TNumLab::ComposeSides(TCanvas& C, TColor Background) {
    const int64_t W = Width(), H = Height(), LS = FLeftSpace, LW = FLabelWidth;
    C.CopyMode = SRCCOPY;
    C.Font = Font();
    FTextTop = Coord((H - C.TextHeight(std::string(SampleText))) / 2);
    C.Pen.Color = Background;
    C.Brush.SetColor(Background);
    C.Rectangle(0, 0, int32_t(W), int32_t(H));

    // Enabled texts take the background in their cells; greyed ones are a
    // grey copy over a white one, one pixel right and below, glyphs only.
    const auto SideText = [&](int64_t X, const std::string& Text) {
        if (Text.empty()) return;
        if (FEnabled) {
            C.Font.Color = FColorOutText;
            C.TextOut(Coord(X), FTextTop, Text);
            return;
        }
        C.Brush.SetStyle(bsClear);
        C.Font.Color = clWhite;
        C.TextOut(Coord(X + 1), FTextTop + 1, Text);
        C.Font.Color = clGray;
        C.TextOut(Coord(X), FTextTop, Text);
    };
    if (!FLeftText.empty()) {
        const int64_t lw = C.TextWidth(FLeftText);
        SideText(FLeftTextAlignment == taLeftJustify    ? 7
                 : FLeftTextAlignment == taRightJustify ? LS - lw - 5
                                                        : (LS - lw) / 2,
                 FLeftText);
    }
    if (!FRightText.empty()) {
        const int64_t rw = C.TextWidth(FRightText);
        SideText(FRightTextAlignment == taLeftJustify    ? LS + LW + 7
                 : FRightTextAlignment == taRightJustify ? W - rw - 6
                                                         : LS + LW + 1 + (W - LS - LW - rw) / 2,
                 FRightText);
    }

    C.Brush.SetColor(FColorLabBakG);
    DrawFrame(C, FFrameStyle, Coord(LS + 1), 0, Coord(LS + LW), Coord(H - 2));
}

void TNumLab::ComposeValue(TCanvas& C, const TShownText& Shown) {
    const int64_t H = Height(), LS = FLeftSpace, LW = FLabelWidth, tw = Shown.Width;
    const int64_t X = FAlignment == taLeftJustify    ? LS + 4
                      : FAlignment == taRightJustify ? LS + LW - 2 - tw
                                                     : LS + 2 + (LW - tw) / 2;
    C.Brush.SetColor(FColorLabBakG);
    C.Font.Color = FEnabled ? FColorLabText : clBtnShadow;
    // The solid brush paints the whole inside of the box, then the text, clipped to it.
    C.TextRect(Rect(Coord(LS + 3), 2, Coord(LS + LW - 1), Coord(H - 3)), Coord(X), FTextTop, Shown.Text);
}

void TNumLab::Transfer(TCanvas& Screen) {
    if (FTransparent) {
        // White passes the picture through unchanged; the box colour ANDed
        // with itself stays, which black text needs.
        const TColor Fill = FColorLabText == clBlack ? FColorLabBakG : clWhite;
        const int64_t LS = FLeftSpace, LW = FLabelWidth;
        Screen.Pen.Color = Fill;
        Screen.Brush.SetColor(Fill);
        Screen.Rectangle(Coord(LS + 2), 2, Coord(LS + LW), Height() - 2);
        Screen.CopyMode = SRCAND;
    } else {
        Screen.CopyMode = SRCCOPY;
    }
    Screen.Draw(0, 0, *FPicture);
}

}  // namespace zent
