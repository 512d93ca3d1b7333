#include "Zent_stdctrls.h"

#include <QKeyEvent>
#include <array>

#include "Zent_forms.h"
#include "Zent_latin1.h"
#include "Zent_sysutils.h"

namespace zent {

namespace {
constexpr int32_t MaxChange = 32767;
}  // namespace

// ---------------------------------------------------------------- TScrollBar

TScrollBar::TScrollBar(QWidget* Parent) : QScrollBar(Qt::Horizontal, Parent), TAlignedControl(this) {
    setRange(0, 100);
    setSingleStep(1);
    setPageStep(1);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        if (!FShowingLoaded) Guarded([this] { Raise(OnChange, this); });
    });
}

int32_t TScrollBar::Min() const { return FStored ? FStored->Min : minimum(); }
int32_t TScrollBar::Max() const { return FStored ? FStored->Max : maximum(); }
int32_t TScrollBar::Position() const { return FStored ? FStored->Position : value(); }
int32_t TScrollBar::PageSize() const { return FStored ? FStored->PageSize : FPageSize; }

void TScrollBar::SetMin(int32_t Value) { SetParams(Position(), Value, Max()); }
void TScrollBar::SetMax(int32_t Value) { SetParams(Position(), Min(), Value); }
void TScrollBar::SetPosition(int32_t Value) { SetParams(Value, Min(), Max()); }

void TScrollBar::SetParams(int32_t APosition, int32_t AMin, int32_t AMax) {
    if (ComponentState() & csLoading) {
        TRange& S = Stored();
        S.Position = APosition;
        S.Min = AMin;
        S.Max = AMax;
        return;
    }
    Apply({APosition, AMin, AMax, FPageSize});
}

void TScrollBar::SetPageSize(int32_t Value) {
    if (Value < 0 || Value == PageSize()) return;
    if (ComponentState() & csLoading) {
        Stored().PageSize = Value;
        return;
    }
    Apply({value(), minimum(), maximum(), Value});
}

void TScrollBar::SetSmallChange(int32_t Value) {
    if (Value < 1 || Value > MaxChange) return;
    setSingleStep(Value);
}

void TScrollBar::SetLargeChange(int32_t Value) {
    if (Value < 1 || Value > MaxChange) return;
    setPageStep(Value);
}

void TScrollBar::LayoutLoaded() {
    TComponent::LayoutLoaded();
    if (!FStored) return;
    const TRange Range = *FStored;
    FStored.reset();
    Check(Range);
    // The stored values are no change: handlers attached after the
    // properties must not hear of them.
    FShowingLoaded = true;
    ShowRange(Range);
    FShowingLoaded = false;
}

void TScrollBar::keyPressEvent(QKeyEvent* Event) {
    struct TKeyAction {
        int Key;
        SliderAction Action;
    };
    // Left and right swap in a right-to-left layout, where Max is on the left.
    static constexpr TKeyAction Keys[] = {
        {Qt::Key_Left, SliderSingleStepSub}, {Qt::Key_Right, SliderSingleStepAdd},
        {Qt::Key_Up, SliderSingleStepSub},   {Qt::Key_Down, SliderSingleStepAdd},
        {Qt::Key_PageUp, SliderPageStepSub}, {Qt::Key_PageDown, SliderPageStepAdd},
        {Qt::Key_Home, SliderToMinimum},     {Qt::Key_End, SliderToMaximum},
    };
    int Key = Event->key();
    if (isRightToLeft() && (Key == Qt::Key_Left || Key == Qt::Key_Right))
        Key = Key == Qt::Key_Left ? Qt::Key_Right : Qt::Key_Left;
    for (const TKeyAction& K : Keys) {
        if (K.Key != Key || (Event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) continue;
        triggerAction(K.Action);
        Event->accept();
        return;
    }
    QScrollBar::keyPressEvent(Event);
}

TScrollBar::TRange& TScrollBar::Stored() {
    if (!FStored) FStored = TRange{value(), minimum(), maximum(), FPageSize};
    return *FStored;
}

void TScrollBar::Apply(const TRange& Range) {
    // A form designer writes properties from Qt's event loop, which no
    // exception may cross: there the error is reported and the write refused.
    if (ComponentState() & csDesigning) {
        Guarded([&] {
            Check(Range);
            ShowRange(Range);
        });
        return;
    }
    Check(Range);
    ShowRange(Range);
}

void TScrollBar::Check(const TRange& Range) {
    if (Range.Max < Range.Min || Range.Max < Range.PageSize)
        throw EInvalidOperation("Scrollbar property out of range");
}

void TScrollBar::ShowRange(const TRange& Range) {
    FPageSize = Range.PageSize;
    setRange(Range.Min, Range.Max);  // keeps the position within range
    setValue(Range.Position);
}

// ---------------------------------------------------------------- TEdit

TEdit::TEdit(QWidget* Parent) : QLineEdit(Parent), TAlignedControl(this) {
    connect(this, &QLineEdit::textChanged, this, [this] { Guarded([this] { Raise(OnChange, this); }); });
}

std::string TEdit::Text() const { return QStringToLatin1(text()); }
void TEdit::SetText(const std::string& Value) { setText(Latin1ToQString(Value)); }

// ---------------------------------------------------------------- TLabel

namespace {
// By TAlignment; VCL-style labels draw their text at the top.
constexpr std::array<Qt::Alignment::Int, 3> LabelAlignment = {
    Qt::AlignLeft | Qt::AlignTop, Qt::AlignRight | Qt::AlignTop, Qt::AlignHCenter | Qt::AlignTop};
}  // namespace

TLabel::TLabel(QWidget* Parent) : QLabel(Parent), TAlignedControl(this) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::Alignment(LabelAlignment[FAlignment]));
}

std::string TLabel::Caption() const { return QStringToLatin1(text()); }
void TLabel::SetCaption(const std::string& Value) { SetCaptionText(Latin1ToQString(Value)); }

void TLabel::SetCaptionText(const QString& Value) {
    if (Value == text()) return;
    setText(Value);
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment Value) {
    if (Value == FAlignment || Value > taCenter) return;
    FAlignment = Value;
    setAlignment(Qt::Alignment(LabelAlignment[Value]));
}

void TLabel::SetAlignmentValue(int Value) {
    if (Value < taLeftJustify || Value > taCenter) return;
    SetAlignment(TAlignment(Value));
}

void TLabel::SetAutoSize(bool Value) {
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    AdjustBounds();
}

void TLabel::LayoutLoaded() {
    TComponent::LayoutLoaded();
    AdjustBounds();
}

void TLabel::changeEvent(QEvent* Event) {
    QLabel::changeEvent(Event);
    if (Event->type() == QEvent::FontChange) AdjustBounds();
}

void TLabel::AdjustBounds() {
    if (!FAutoSize || (ComponentState() & csLoading)) return;
    resize(sizeHint());
}

}  // namespace zent
