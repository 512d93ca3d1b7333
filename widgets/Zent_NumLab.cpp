#include "Zent_NumLab.h"

#include <QWidget>
#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <utility>

#include "Zent_NumLabAccessible.h"
#include "Zent_dateutils.h"
#include "Zent_events.h"
#include "Zent_latin1.h"
#include "Zent_math1.h"
#include "Zent_stringl.h"

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

QString TNumLab::TypeText() const {
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

QString TNumLab::ValueTextQ() const {
    return MakeValueText(nullptr);
}

QString TNumLab::MakeValueText(std::exception_ptr* HandlerError) const {
    QString Text = TypeText();
    if (DisplayRules[FDisplayType].SeparatorAndSign) {
        if (FComma)
            Text.replace(u'.', u',');
        else
            Text.replace(u',', u'.');
        if (FForcePlusSign && FValue > 0) Text.prepend(u'+');
    }
    if (!HandlerError) {
        Raise(OnBeforeDisplay, const_cast<TNumLab*>(this), Text);
        return Text;
    }
    QString Handled = Text;
    try {
        Raise(OnBeforeDisplay, const_cast<TNumLab*>(this), Handled);
    } catch (...) {
        *HandlerError = std::current_exception();
        return Text;
    }
    return Handled;
}

void TNumLab::Paint() {
    TFramedControl::Paint();
    // The paint is whole, with the text the failing handler was given; then
    // the message loop's guard reports the failure.
    if (FHandlerError) std::rethrow_exception(std::exchange(FHandlerError, nullptr));
}

std::string TNumLab::ValueText() const {
    return QStringToLatin1(ValueTextQ());
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

TNumLab::TNumLab(QWidget* Owner) : TFramedControl(Owner, TRepaint::AsPolicy) {
    InstallNumLabAccessible();
    SetOpaque(true);  // not see-through: every paint covers the whole rectangle
    SetBounds(Left(), Top(), DefaultWidth, DefaultHeight);
}

TNumLab::~TNumLab() = default;

// ------------------------------------------------------------ properties

// Setters check, store, mark stale, repaint as the policy says, then tell.
// What only changes the value text renews the value box alone, on the
// picture and on the screen.

void TNumLab::SetAlignment(TAlignment Value) {
    if (Value == FAlignment || !InRange(Value)) return;
    FAlignment = Value;
    ContentChanged(ValueArea());
    emit AlignmentChanged(Value);
}

void TNumLab::SetColorLabBakG(TColor Value) {
    if (Value == FColorLabBakG) return;
    FColorLabBakG = Value;
    Changed(TStale::Picture);
    emit ColorLabBakGChanged(ToQColor(Value));
}

void TNumLab::SetColorLabText(TColor Value) {
    if (Value == FColorLabText) return;
    FColorLabText = Value;
    Changed(TStale::Picture);
    emit ColorLabTextChanged(ToQColor(Value));
}

void TNumLab::SetColorOutBakG(TColor Value) {
    if (Value == FColorOutBakG) return;
    FColorOutBakG = Value;
    Changed(TStale::Picture);
    emit ColorOutBakGChanged(ToQColor(Value));
}

void TNumLab::SetColorOutText(TColor Value) {
    if (Value == FColorOutText) return;
    FColorOutText = Value;
    Changed(TStale::Picture);
    emit ColorOutTextChanged(ToQColor(Value));
}

void TNumLab::SetComma(bool Value) {
    if (Value == FComma) return;
    FComma = Value;
    ContentChanged(ValueArea());
    emit CommaChanged(Value);
}

void TNumLab::SetDisplayType(TDisplay Value) {
    if (Value == FDisplayType || !InRange(Value)) return;
    FDisplayType = Value;
    ContentChanged(ValueArea());
    emit DisplayTypeChanged(Value);
}

void TNumLab::SetDTFormat(const QString& Value) {
    if (Value == FDTFormat) return;
    FDTFormat = Value;
    ContentChanged(ValueArea());
    emit DTFormatChanged(Value);
}

void TNumLab::SetEmpty(bool Value) {
    if (Value == FEmpty) return;
    FEmpty = Value;
    Changed(TStale::Picture);
    emit EmptyChanged(Value);
}

void TNumLab::SetEnabled(bool Value) {
    const bool Old = std::exchange(FEnabled, Value);  // no equality test: always repaints
    TGraphicControl::SetEnabled(Value);
    Changed(TStale::Picture);
    if (Value != Old) emit EnabledChanged(Value);
}

void TNumLab::SetForcePlusSign(bool Value) {
    if (Value == FForcePlusSign) return;
    FForcePlusSign = Value;
    ContentChanged(ValueArea());
    emit ForcePlusSignChanged(Value);
}

void TNumLab::SetLabelWidth(int Value) {
    if (Value == FLabelWidth) return;
    FLabelWidth = Value;
    updateGeometry();
    Changed(TStale::Picture);
    emit LabelWidthChanged(Value);
}

void TNumLab::SetLeftSpace(int Value) {
    if (Value == FLeftSpace || Value < 0) return;  // compared before the limit on purpose
    const int32_t Old = std::exchange(FLeftSpace, std::min(Value, Width()));
    updateGeometry();
    Changed(TStale::Picture);
    if (FLeftSpace != Old) emit LeftSpaceChanged(FLeftSpace);
}

void TNumLab::SetLeftText(const QString& Value) {
    if (Value == FLeftText) return;
    FLeftText = Value;
    Changed(TStale::Picture);
    emit LeftTextChanged(Value);
}

void TNumLab::SetLeftTextAlignment(TAlignment Value) {
    if (Value == FLeftTextAlignment || !InRange(Value)) return;
    FLeftTextAlignment = Value;
    Changed(TStale::Picture);
    emit LeftTextAlignmentChanged(Value);
}

void TNumLab::SetOverflowIndicator(const QString& Value) {
    if (Value == FOverflowIndicator) return;
    FOverflowIndicator = Value;
    ContentChanged(ValueArea());
    emit OverflowIndicatorChanged(Value);
}

void TNumLab::SetPrecision(int Value) {
    if (Value == FPrecision || Value < 0) return;  // compared before the limit on purpose
    const int32_t Old = std::exchange(FPrecision, std::min(Value, 15));
    ContentChanged(ValueArea());
    if (FPrecision != Old) emit PrecisionChanged(FPrecision);
}

void TNumLab::SetRightText(const QString& Value) {
    if (Value == FRightText) return;
    FRightText = Value;
    Changed(TStale::Picture);
    emit RightTextChanged(Value);
}

void TNumLab::SetRightTextAlignment(TAlignment Value) {
    if (Value == FRightTextAlignment || !InRange(Value)) return;
    FRightTextAlignment = Value;
    Changed(TStale::Picture);
    emit RightTextAlignmentChanged(Value);
}

void TNumLab::SetStateText(const QString& Value) {
    if (Value == FStateText) return;
    FStateText = Value;
    ContentChanged(ValueArea());
    emit StateTextChanged(Value);
}

void TNumLab::SetTransparent(bool Value) {
    if (Value == FTransparent) return;
    FTransparent = Value;
    SetOpaque(!Value);
    // See-through: the parent first draws the background that will show through.
    Changed(TStale::Picture, Value ? TRepaint::Later : TRepaint::AsPolicy);
    emit TransparentChanged(Value);
}

void TNumLab::SetValue(double Value) {
    if (Value == FValue) return;
    FValue = Value;
    ContentChanged(ValueArea());
    emit ValueChanged(Value);
}

// ------------------------------------------------------------ the other faces

void TNumLab::SetColorLabBakG(const QColor& Value) {
    if (Value.isValid()) SetColorLabBakG(FromQColor(Value));
}
void TNumLab::SetColorLabText(const QColor& Value) {
    if (Value.isValid()) SetColorLabText(FromQColor(Value));
}
void TNumLab::SetColorOutBakG(const QColor& Value) {
    if (Value.isValid()) SetColorOutBakG(FromQColor(Value));
}
void TNumLab::SetColorOutText(const QColor& Value) {
    if (Value.isValid()) SetColorOutText(FromQColor(Value));
}
QColor TNumLab::ColorLabBakGQ() const {
    return ToQColor(FColorLabBakG);
}
QColor TNumLab::ColorLabTextQ() const {
    return ToQColor(FColorLabText);
}
QColor TNumLab::ColorOutBakGQ() const {
    return ToQColor(FColorOutBakG);
}
QColor TNumLab::ColorOutTextQ() const {
    return ToQColor(FColorOutText);
}

std::string TNumLab::DrawnText() const {
    return QStringToLatin1(FDrawnText);
}
std::string TNumLab::DTFormat() const {
    return QStringToLatin1(FDTFormat);
}
void TNumLab::SetDTFormat(const std::string& Value) {
    SetDTFormat(Latin1ToQString(Value));
}
std::string TNumLab::LeftText() const {
    return QStringToLatin1(FLeftText);
}
void TNumLab::SetLeftText(const std::string& Value) {
    SetLeftText(Latin1ToQString(Value));
}
std::string TNumLab::OverflowIndicator() const {
    return QStringToLatin1(FOverflowIndicator);
}
void TNumLab::SetOverflowIndicator(const std::string& Value) {
    SetOverflowIndicator(Latin1ToQString(Value));
}
std::string TNumLab::RightText() const {
    return QStringToLatin1(FRightText);
}
void TNumLab::SetRightText(const std::string& Value) {
    SetRightText(Latin1ToQString(Value));
}
std::string TNumLab::StateText() const {
    return QStringToLatin1(FStateText);
}
void TNumLab::SetStateText(const std::string& Value) {
    SetStateText(Latin1ToQString(Value));
}

// ------------------------------------------------------------ copying and the mouse

void TNumLab::Assign(QObject* Source) {
    auto* Other = qobject_cast<TNumLab*>(Source);
    if (!Other) {
        TGraphicControl::Assign(Source);
        return;
    }
    // Plain field copies, no setter's checks; Comma, ForcePlusSign,
    // DTFormat, Enabled and the handler stay the label's own.
    CopyFields(*this, *Other, &TNumLab::FLeftSpace, &TNumLab::FEmpty, &TNumLab::FLabelWidth,
               &TNumLab::FPrecision, &TNumLab::FLeftText, &TNumLab::FRightText, &TNumLab::FAlignment,
               &TNumLab::FRightTextAlignment, &TNumLab::FLeftTextAlignment, &TNumLab::FOverflowIndicator,
               &TNumLab::FValue, &TNumLab::FStateText, &TNumLab::FTransparent, &TNumLab::FColorLabBakG,
               &TNumLab::FColorLabText, &TNumLab::FColorOutBakG, &TNumLab::FColorOutText,
               &TNumLab::FDisplayType);
    CopyFrameFields(*Other);
    SetOpaque(!FTransparent);
    updateGeometry();
    Changed(TStale::Picture);
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
    TCanvas& C = PictureCanvas();  // measured where the texts are drawn
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

TRect TNumLab::ValueBox() const {
    const int64_t LS = FLeftSpace, LW = FLabelWidth;
    return Rect(Coord(LS + 1), 0, Coord(std::max(LS + LW + 1, LS + 1)), std::max(Height() - 1, 0));
}

TRect TNumLab::ValueInside() const {
    const int64_t H = Height(), LS = FLeftSpace, LW = FLabelWidth;
    return Rect(Coord(LS + 3), 2, Coord(LS + LW - 1), Coord(H - 3));
}

TRect TNumLab::ValueArea() const {
    const TRect Inside = ValueInside();
    return Inside.Width() > 0 && Inside.Height() > 0 ? Inside : ValueBox();
}

TNumLab::TPictureColors TNumLab::PictureColors() const {
    return {FColorOutBakG, FColorOutText, FColorLabBakG, FColorLabText, clBtnShadow};
}

void TNumLab::Compose(TCanvas& C, TStale What) {
    if (What >= TStale::Picture) ComposeSides(C, FTransparent ? clWhite : FColorOutBakG);
    if (FEmpty) {
        FNewText = !FDrawnText.isEmpty();
        FDrawnText.clear();
        return;
    }
    TShownText Shown = ShownText(C);
    FNewText = Shown.Text != FDrawnText;
    if (FNewText || What >= TStale::Content) ComposeValue(C, Shown);
    if (FNewText) FDrawnText = std::move(Shown.Text);
}

// Too large for a picture in memory: opaque, whatever Transparent says.
void TNumLab::PaintWithoutBuffer(TCanvas& Screen) {
    ComposeSides(Screen, FColorOutBakG);
    if (!FEmpty) ComposeValue(Screen, ShownText(Screen));
}

TNumLab::TShownText TNumLab::ShownText(const TCanvas& C) const {
    TShownText Shown{MakeValueText(&FHandlerError), 0};
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
    const auto SideText = [&](int64_t X, const QString& Text) {
        if (Text.isEmpty()) return;
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
    DrawFrame(C, FrameStyle(), Coord(LS + 1), 0, Coord(LS + LW), Coord(H - 2));
}

void TNumLab::ComposeValue(TCanvas& C, const TShownText& Shown) {
    const int64_t LS = FLeftSpace, LW = FLabelWidth, tw = Shown.Width;
    const int64_t X = FAlignment == taLeftJustify    ? LS + 4
                      : FAlignment == taRightJustify ? LS + LW - 2 - tw
                                                     : LS + 2 + (LW - tw) / 2;
    C.Brush.SetColor(FColorLabBakG);
    C.Font.Color = FEnabled ? FColorLabText : clBtnShadow;
    // The solid brush paints the whole inside of the box, then the text, clipped to it.
    C.TextRect(ValueInside(), Coord(X), FTextTop, Shown.Text);
}

namespace {
// Where PaintContent composes: one picture for all labels, small enough to
// stay in the processor's caches, and never freed.
TBitmap& SharedValuePicture() {
    static auto* const Picture = new TBitmap;
    return *Picture;
}
constexpr int64_t MaxSharedPixels = int64_t(1) << 20;  // device pixels; a larger label uses its own
}  // namespace

// A new value text alone: the inside of the value box is composed on the
// shared picture and copied to the screen from there, which spares the
// memory traffic of the label's own picture; that one is brought up to
// date at a paint of another kind.
bool TNumLab::PaintContent(TCanvas& Screen, const TRect& Area) {
    const TRect Inside = ValueInside();
    const int64_t Ratio = Screen.PixelRatio(), W = Width(), H = Height();
    const bool Covered = Area.Left >= Inside.Left && Area.Top >= Inside.Top && Area.Right <= Inside.Right &&
                         Area.Bottom <= Inside.Bottom;
    if (FTransparent || FEmpty || !Covered || !Screen.ExactRatio() || PictureRatio(int32_t(Ratio)) != Ratio ||
        W * H * Ratio * Ratio > MaxSharedPixels)
        return false;
    TBitmap& Shared = SharedValuePicture();
    Shared.SetPixelRatio(int32_t(Ratio));
    // It grows to take the largest label, unless labels of unlike shapes
    // would make it too large.
    int32_t SW = std::max(Shared.Width(), Width()), SH = std::max(Shared.Height(), Height());
    if (int64_t(SW) * SH * Ratio * Ratio > MaxSharedPixels) {
        SW = Width();
        SH = Height();
    }
    Shared.SetSize(SW, SH);
    TCanvas& C = Shared.Canvas();
    C.CopyMode = SRCCOPY;
    C.Font = Font();
    TShownText Shown = ShownText(C);
    ComposeValue(C, Shown);
    Screen.CopyMode = SRCCOPY;
    Screen.CopyRect(Inside, C, Inside);
    if (Shown.Text != FDrawnText) {
        FDrawnText = std::move(Shown.Text);
        AnnounceShownText(*this);
    }
    return true;
}

void TNumLab::Transfer(TCanvas& Screen, const TBitmap& Picture) {
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
    Screen.Draw(0, 0, Picture);
    if (std::exchange(FNewText, false)) AnnounceShownText(*this);
}

}  // namespace zent
