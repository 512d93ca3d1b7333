#include "Zent_NumLab.h"

#include <QWidget>
#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <utility>

#include "Zent_NumLabAccessible.h"
#include "Zent_events.h"
#include "Zent_latin1.h"

namespace zent {

// ------------------------------------------------------------ life cycle

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
    const std::optional<int32_t> Stored = LeftSpaceToStore(Value);
    if (!Stored) return;
    const int32_t Old = std::exchange(FLeftSpace, *Stored);
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
    const std::optional<int32_t> Stored = PrecisionToStore(Value);
    if (!Stored) return;
    const int32_t Old = std::exchange(FPrecision, *Stored);
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

std::string TNumLab::DrawnText() const {
    return QStringToLatin1(FDrawnText);
}
void TNumLab::SetDTFormat(const std::string& Value) {
    SetDTFormat(Latin1ToQString(Value));
}
void TNumLab::SetLeftText(const std::string& Value) {
    SetLeftText(Latin1ToQString(Value));
}
void TNumLab::SetOverflowIndicator(const std::string& Value) {
    SetOverflowIndicator(Latin1ToQString(Value));
}
void TNumLab::SetRightText(const std::string& Value) {
    SetRightText(Latin1ToQString(Value));
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
void TNumLab::Paint() {
    TFramedControl::Paint();
    if (std::exception_ptr Error = TakeHandlerError()) std::rethrow_exception(Error);
}

void TNumLab::PaintWithoutBuffer(TCanvas& Screen) {
    ComposeSides(Screen, FColorOutBakG);
    if (!FEmpty) ComposeValue(Screen, ShownText(Screen));
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
        Screen.Rectangle(LabelCoord(LS + 2), 2, LabelCoord(LS + LW), Height() - 2);
        Screen.CopyMode = SRCAND;
    } else {
        Screen.CopyMode = SRCCOPY;
    }
    Screen.Draw(0, 0, Picture);
    if (std::exchange(FNewText, false)) AnnounceShownText(*this);
}

}  // namespace zent
