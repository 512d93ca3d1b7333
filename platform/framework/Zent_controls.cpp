#include "Zent_controls.h"

#include <QEvent>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "Zent_forms.h"
#include "Zent_internal.h"
#include "Zent_latin1.h"
#include "Zent_pixels.h"
#include "Zent_sysutils.h"

namespace zent {

std::string ClassNameOf(const QObject* Object) {
    if (!Object) return "nil";
    std::string_view Name = Object->metaObject()->className();
    if (const auto Colons = Name.rfind("::"); Colons != std::string_view::npos)
        Name.remove_prefix(Colons + 2);
    return std::string(Name);
}

namespace {
TRepaintPolicy ApplicationPolicy = TRepaintPolicy::Immediate;
}  // namespace

void SetRepaintPolicy(TRepaintPolicy Policy) {
    ApplicationPolicy = Policy;
}

TRepaintPolicy RepaintPolicy() {
    return ApplicationPolicy;
}

namespace {
TShiftState ShiftOf(Qt::KeyboardModifiers Mods, Qt::MouseButtons Buttons) {
    TShiftState S = 0;
    if (Mods & Qt::ShiftModifier) S |= ssShift;
    if (Mods & Qt::AltModifier) S |= ssAlt;
    if (Mods & Qt::ControlModifier) S |= ssCtrl;
    if (Buttons & Qt::LeftButton) S |= ssLeft;
    if (Buttons & Qt::RightButton) S |= ssRight;
    if (Buttons & Qt::MiddleButton) S |= ssMiddle;
    return S;
}
TMouseButton ButtonOf(Qt::MouseButton B) {
    return B == Qt::RightButton ? mbRight : B == Qt::MiddleButton ? mbMiddle : mbLeft;
}
// The face, size and style of F as a TFont of colour Color. A pixel size
// becomes a negative Size, as ToQFont reads it back; so does a point size
// with a fraction, which whole points cannot hold.
TFont FontOf(const QFont& F, TColor Color) {
    TFont Font;
    Font.Name = QStringToLatin1(F.family());
    if (F.pixelSize() > 0)
        Font.Size = -F.pixelSize();
    else if (F.pointSizeF() == F.pointSize())
        Font.Size = std::max(F.pointSize(), 0);
    else
        Font.Size = -QFontInfo(F).pixelSize();
    Font.Style = uint8_t((F.bold() ? fsBold : 0) | (F.italic() ? fsItalic : 0) |
                         (F.underline() ? fsUnderline : 0) | (F.strikeOut() ? fsStrikeOut : 0));
    Font.Color = Color;
    return Font;
}
// The part of Area on a Width x Height control. Computed in 64 bits: an
// area may reach anywhere in 32 bits.
QRect OnControl(const TRect& Area, int32_t Width, int32_t Height) {
    const pixels::Box B = pixels::Clip(Area.Left, Area.Top, Area.Right, Area.Bottom, Width, Height);
    return QRect(B.left, B.top, B.width(), B.height());
}
}  // namespace

TGraphicControl::TGraphicControl(QWidget* Owner) : QWidget(Owner), TAlignedControl(this) {
    // Windowless: Qt draws the parent's background underneath, which is what
    // see-through (SRCAND) painting needs.
    setAttribute(Qt::WA_NoSystemBackground, false);
    setAutoFillBackground(false);
    FFont = FontOf(font(), FFont.Color);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::SetLeft(int32_t Value) {
    SetBounds(Value, Top(), Width(), Height());
}
void TGraphicControl::SetTop(int32_t Value) {
    SetBounds(Left(), Value, Width(), Height());
}
void TGraphicControl::SetWidth(int32_t Value) {
    SetBounds(Left(), Top(), Value, Height());
}
void TGraphicControl::SetHeight(int32_t Value) {
    SetBounds(Left(), Top(), Width(), Value);
}

QRect ClampedBounds(int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
    const auto Position = [](int32_t V) { return std::clamp(V, -MaxCoordinate, MaxCoordinate); };
    const auto Size = [](int32_t V) { return std::clamp(V, 0, MaxCoordinate); };
    return QRect(Position(Left), Position(Top), Size(Width), Size(Height));
}

void TGraphicControl::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
    setGeometry(ClampedBounds(ALeft, ATop, AWidth, AHeight));
    // Qt defers resize events of hidden widgets; the notice must not wait.
    BoundsChanged();
}

void TGraphicControl::SetVisible(bool Value) {
    FVisible = Value;
    setVisible(Value);
}

void TGraphicControl::SetFont(const TFont& Value) {
    if (Value == FFont && !FParentFont) return;
    const bool WasParentFont = std::exchange(FParentFont, false);
    FFont = Value;
    setFont(ToQFont(Value));
    Invalidate();
    if (WasParentFont) emit ParentFontChanged(false);
}

void TGraphicControl::SetParentFont(bool Value) {
    if (Value == FParentFont) return;
    FParentFont = Value;
    if (Value) {
        setFont(QFont());  // no attribute of its own: Qt resolves all from the parent
        FFont = FontOf(font(), FFont.Color);
    } else {
        setFont(ToQFont(FFont));  // keeps the present font when the parent's changes
    }
    Invalidate();
    emit ParentFontChanged(Value);
}

void TGraphicControl::changeEvent(QEvent* Event) {
    // Qt sends FontChange when the parent's font reaches the control and when
    // the control is moved to another parent.
    if (Event->type() == QEvent::FontChange && FParentFont) FFont = FontOf(font(), FFont.Color);
    QWidget::changeEvent(Event);
}

void TGraphicControl::SetOpaque(bool Value) {
    setAttribute(Qt::WA_OpaquePaintEvent, Value);
}

bool TGraphicControl::Opaque() const {
    return testAttribute(Qt::WA_OpaquePaintEvent);
}

void TGraphicControl::RepaintNow() {
    RepaintNow(Rect(0, 0, Width(), Height()));
}

void TGraphicControl::RepaintNow(const TRect& Area) {
    if (FPainting) {
        FChangedInPaint = true;
        return;
    }
    // Qt paints only a shown widget; a hidden one paints when it is shown.
    repaint(OnControl(Area, Width(), Height()));
}

void TGraphicControl::RepaintChanged() {
    RepaintChanged(Rect(0, 0, Width(), Height()));
}

void TGraphicControl::RepaintChanged(const TRect& Area) {
    if (RepaintPolicy() == TRepaintPolicy::Coalesced && !FPainting) {
        update(OnControl(Area, Width(), Height()));
        return;
    }
    const bool Outermost = !FPainting;
    RepaintNow(Area);
    // An event handler of that paint changed the control: show that too.
    if (Outermost && std::exchange(FChangedInPaint, false)) RepaintNow();
}

void TGraphicControl::Assign(QObject* Source) {
    if (auto* Control = qobject_cast<TGraphicControl*>(Source)) {
        Control->AssignTo(this);
        return;
    }
    AssignError(Source);
}

void TGraphicControl::AssignTo(QObject* Dest) {
    // Nothing in the base class knows how to copy itself elsewhere.
    throw EConvertError(Format("Cannot assign a %s to a %s", {ClassNameOf(this), ClassNameOf(Dest)}));
}

void TGraphicControl::AssignError(QObject* Source) {
    throw EConvertError(Format("Cannot assign a %s to a %s", {ClassNameOf(Source), ClassNameOf(this)}));
}

void TGraphicControl::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
    Raise(OnMouseMove, this, Shift, X, Y);
}

void TGraphicControl::Click() {
    Raise(OnClick, this);
}

void TGraphicControl::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    TPlatformAccess::BindPainter(FCanvas, &Painter, width(), height());
    FChangedInPaint = false;
    FPainting = true;
    Guarded([this] { Paint(); });
    FPainting = false;
    TPlatformAccess::Unbind(FCanvas);
    if (FChangedInPaint) update();  // after this paint, not inside it
}

void TGraphicControl::BoundsChanged() {
    // One notice per actual change, whether it came from SetBounds or from Qt.
    if (geometry() == FNotifiedBounds) return;
    FNotifiedBounds = geometry();
    if (ComponentState() & csLoading) return;
    Guarded([this] { Raise(OnResize, this); });
}

void TGraphicControl::resizeEvent(QResizeEvent*) {
    BoundsChanged();
}
void TGraphicControl::moveEvent(QMoveEvent*) {
    BoundsChanged();
}

void TGraphicControl::mousePressEvent(QMouseEvent* E) {
    FPressed = E->button() == Qt::LeftButton;
    const auto P = E->position().toPoint();
    Guarded([&] {
        Raise(OnMouseDown, this, ButtonOf(E->button()), ShiftOf(E->modifiers(), E->buttons()), P.x(), P.y());
    });
}

void TGraphicControl::mouseReleaseEvent(QMouseEvent* E) {
    const auto P = E->position().toPoint();
    const bool WasClick = FPressed && E->button() == Qt::LeftButton && rect().contains(P);
    FPressed = false;
    if (WasClick) Guarded([this] { Click(); });
    Guarded([&] {
        Raise(OnMouseUp, this, ButtonOf(E->button()), ShiftOf(E->modifiers(), E->buttons()), P.x(), P.y());
    });
}

void TGraphicControl::mouseDoubleClickEvent(QMouseEvent* E) {
    Guarded([this] { Raise(OnDblClick, this); });
    mousePressEvent(E);
}

void TGraphicControl::mouseMoveEvent(QMouseEvent* E) {
    const auto P = E->position().toPoint();
    Guarded([&] { MouseMove(ShiftOf(E->modifiers(), E->buttons()), P.x(), P.y()); });
}

void TGraphicControl::SetAlignedBounds(const QRect& Bounds) {
    SetBounds(Bounds.x(), Bounds.y(), Bounds.width(), Bounds.height());
}

}  // namespace zent
