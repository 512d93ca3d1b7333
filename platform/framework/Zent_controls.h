// TGraphicControl: a control without a native window, painted through a
// TCanvas that is bound to the widget's QPainter for the duration of Paint.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "Zent_align.h"
#include "Zent_components.h"
#include "Zent_events.h"
#include "Zent_graphics.h"

namespace zent {

class TGraphicControl;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : uint16_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = uint16_t;

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TMouseEvent =
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y)>;
using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int32_t X, int32_t Y)>;

// The class name a persistent object reports in messages ("TSevenSeg", "nil").
std::string ClassNameOf(const QObject* Object);

// How the setters of the library's controls bring a change to the screen.
// - Immediate (the default): the setter repaints before it returns, so the
//   new value is on the screen when it does.
// - Coalesced: the setter stores the value, marks what is stale and asks Qt
//   for a repaint (QWidget::update); Qt then paints every changed control of
//   a window in one pass per turn of the event loop. For panels of many
//   readouts that change often.
// Under both, whatever paints the control (the screen, grab(), render())
// shows the newest values.
enum class TRepaintPolicy : uint8_t { Immediate, Coalesced };
// The policy of every control of the application that has none of its own.
void SetRepaintPolicy(TRepaintPolicy Policy);
TRepaintPolicy RepaintPolicy();

// Mixed into every control with setters that repaint: its own repaint
// policy when one is set, otherwise the application's. std::nullopt goes
// back to following the application.
class TRepaintPolicyChoice {
public:
    TRepaintPolicy RepaintPolicy() const { return FPolicy.value_or(zent::RepaintPolicy()); }
    void SetRepaintPolicy(std::optional<TRepaintPolicy> Policy) { FPolicy = Policy; }

private:
    std::optional<TRepaintPolicy> FPolicy;
};

// Qt's largest widget size. Every control clamps the bounds it is given,
// positions to -MaxCoordinate..MaxCoordinate and sizes to 0..MaxCoordinate
// (a negative size is a 0 size): a position plus a size then always fits
// 32 bits, where Qt's rectangles do not overflow.
inline constexpr int32_t MaxCoordinate = (1 << 24) - 1;
// The geometry a control takes for the bounds Left, Top, Width, Height.
QRect ClampedBounds(int32_t Left, int32_t Top, int32_t Width, int32_t Height);

// Copies the fields Members (pointers to members of T or of its bases) from
// Source to Dest, in the order given: Assign's plain copies, listed as data.
template <class T, class... TMembers>
void CopyFields(T& Dest, const T& Source, TMembers... Members) {
    ((Dest.*Members = Source.*Members), ...);
}

class TGraphicControl : public QWidget,
                        public TComponent,
                        public TAlignedControl,
                        public TRepaintPolicyChoice {
    Q_OBJECT
    Q_PROPERTY(int Align READ AlignValue WRITE SetAlignValue NOTIFY AlignChanged)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont NOTIFY ParentFontChanged)
public:
    explicit TGraphicControl(QWidget* Owner = nullptr);
    ~TGraphicControl() override;

    // Geometry, in pixels of the parent, clamped as ClampedBounds says. Every
    // change of position or size raises OnResize unless the control is loading.
    int32_t Left() const { return x(); }
    int32_t Top() const { return y(); }
    int32_t Width() const { return width(); }
    int32_t Height() const { return height(); }
    void SetLeft(int32_t Value);
    void SetTop(int32_t Value);
    void SetWidth(int32_t Value);
    void SetHeight(int32_t Value);
    void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight);

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool Value) { setEnabled(Value); }
    // While ParentFont is true (the default) Font follows the font Qt hands
    // down from the parent (face, size, style); SetFont gives the control a
    // font of its own and sets ParentFont false. Font's colour is the
    // control's own either way.
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    std::string Name() const { return objectName().toStdString(); }
    void SetName(const std::string& Value) { setObjectName(QString::fromStdString(Value)); }

    TCanvas& Canvas() { return FCanvas; }

    // A control whose every paint covers its whole rectangle says so: the
    // parent's background is then not drawn underneath first. Off by
    // default, which see-through (SRCAND) painting needs.
    void SetOpaque(bool Value);
    bool Opaque() const;

    virtual void Paint() {}
    void Invalidate() { update(); }
    // Repaints before returning, when the control is shown; a hidden or
    // parentless control paints when it is shown. Called during the
    // control's own paint, it repaints once that paint has finished instead:
    // a paint never nests.
    void RepaintNow();
    // Repaints only Area (control coordinates), as RepaintNow does.
    void RepaintNow(const TRect& Area);
    // What a setter calls after a change: repaints Area (control
    // coordinates; without it, all of the control) as the repaint policy
    // says. Immediate: RepaintNow, and once more when a setter ran inside
    // that paint, so the setter returns with the newest values on the
    // screen. Coalesced: at Qt's next paint of the window.
    void RepaintChanged();
    void RepaintChanged(const TRect& Area);

    // Copying between persistent objects: Assign asks Source to AssignTo this
    // when it cannot copy itself; when neither knows the other it raises
    // "Cannot assign a %s to a %s".
    virtual void Assign(QObject* Source);
    virtual void AssignTo(QObject* Dest);

    virtual void MouseMove(TShiftState Shift, int32_t X, int32_t Y);
    virtual void Click();

    TNotifyEvent OnResize;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

signals:
    void AlignChanged(int Align);
    void ParentFontChanged(bool ParentFont);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void moveEvent(QMoveEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    // Aligned placement goes through SetBounds, so OnResize follows.
    void SetAlignedBounds(const QRect& Bounds) override;
    void AfterAlign() override { emit AlignChanged(Align()); }
    // The framework's default assignment when neither side converts.
    [[noreturn]] void AssignError(QObject* Source);

private:
    void BoundsChanged();

    TCanvas FCanvas;
    TFont FFont;
    QRect FNotifiedBounds;
    bool FVisible = true;
    bool FPressed = false;
    bool FParentFont = true;
    bool FPainting = false;        // inside paintEvent
    bool FChangedInPaint = false;  // a repaint was asked for inside paintEvent
};

}  // namespace zent
