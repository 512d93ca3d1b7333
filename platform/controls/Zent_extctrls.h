// TPanel, TRadioGroup and TSplitter.
//
// Like the standard controls, each is a TComponent, can be aligned in its
// parent (Align), takes ISO-8859-1 byte strings in its C++ interface and
// raises its events through Guarded.
#pragma once

#include <QFrame>
#include <QGroupBox>
#include <QPointer>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Zent_align.h"
#include "Zent_components.h"
#include "Zent_controls.h"

class QButtonGroup;
class QVBoxLayout;

namespace zent {

enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised };
enum TResizeStyle : uint8_t { rsNone, rsLine, rsUpdate, rsPattern };

// A container with a one-pixel bevel around its client area: bvLowered looks
// sunken (shadow colour at the top and left, highlight at the bottom and
// right), bvRaised the other way round, bvNone has no border. Aligned
// children are laid out inside the bevel.
class TPanel : public QFrame, public TComponent, public TAlignedControl {
    Q_OBJECT
    Q_PROPERTY(int Align READ AlignValue WRITE SetAlignValue)
    Q_PROPERTY(int BevelOuter READ BevelOuterValue WRITE SetBevelOuterValue)

public:
    explicit TPanel(QWidget* Parent = nullptr);

    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);

private:
    int BevelOuterValue() const { return FBevelOuter; }
    void SetBevelOuterValue(int Value);

    TBevelCut FBevelOuter = bvRaised;
};

// A framed group of radio buttons, one per item. A click on a button that is
// not yet selected selects it, sets ItemIndex and calls Click, which raises
// OnClick; a click on the selected button and ItemIndex written from code
// raise nothing. ItemIndex is -1 when no button is selected; values outside
// -1 to the last item are ignored. While the control loads, ItemIndex is
// only stored and LayoutLoaded selects it, so it may come before Items.
class TRadioGroup : public QGroupBox, public TComponent, public TAlignedControl {
    Q_OBJECT
    Q_PROPERTY(int Align READ AlignValue WRITE SetAlignValue)
    Q_PROPERTY(QString Caption READ title WRITE setTitle)
    Q_PROPERTY(QStringList Items READ ItemTexts WRITE SetItemTexts)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)

public:
    explicit TRadioGroup(QWidget* Parent = nullptr);

    std::string Caption() const;
    void SetCaption(const std::string& Value);
    std::vector<std::string> Items() const;
    // Replaces the buttons; the selection stays if its index still exists.
    void SetItems(const std::vector<std::string>& Value);
    int32_t ItemIndex() const;
    void SetItemIndex(int32_t Value);

    void LayoutLoaded() override;
    virtual void Click();

    TNotifyEvent OnClick;

private:
    QStringList ItemTexts() const;
    void SetItemTexts(const QStringList& Value);

    QButtonGroup* FGroup;
    QVBoxLayout* FLayout;
    std::optional<int32_t> FStoredIndex;  // only while loading
    bool FSelecting = false;              // ItemIndex is being written from code
};

using TCanResizeEvent = std::function<void(QObject* Sender, int32_t& NewSize, bool& Accept)>;

// A bar that resizes the control next to it: aligned alTop, it sits under
// the control it resizes, which is the top-aligned control just before it in
// creation order; aligned alBottom, it sits above the bottom-aligned control
// just before it. Other alignments (alNone is the default) resize nothing.
//
// Dragging with the left button proposes, at each pointer move, the size the
// control had when the drag began plus the distance moved, clamped to
// MinSize .. (the parent's client height - MinSize - the heights of all its
// top- and bottom-aligned controls + the control's own height); when the
// parent leaves less than MinSize, MinSize wins. OnCanResize may change or
// refuse each proposal (Accept comes preset to true); a refused one leaves
// the last accepted size in force, and an accepted one is limited to
// 0..MaxCoordinate. With AutoSnap an accepted size not above
// MinSize becomes 0. ResizeStyle decides what the drag shows: rsPattern a
// dithered bar and rsLine a solid bar where the splitter would go, both
// inverting what is under them, with the size applied when the button is
// released; rsUpdate resizes at each accepted proposal; rsNone shows nothing
// until the release. Esc abandons the drag and restores the size it began
// with.
class TSplitter : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(int MinSize READ MinSize WRITE SetMinSize)
    Q_PROPERTY(bool Beveled READ Beveled WRITE SetBeveled)
    Q_PROPERTY(int ResizeStyle READ ResizeStyleValue WRITE SetResizeStyleValue)
    Q_PROPERTY(bool AutoSnap READ AutoSnap WRITE SetAutoSnap)

public:
    explicit TSplitter(QWidget* Parent = nullptr);
    ~TSplitter() override;

    // At least 1; other values are ignored.
    int32_t MinSize() const { return FMinSize; }
    void SetMinSize(int32_t Value);
    // Draws a raised edge around the bar.
    bool Beveled() const { return FBeveled; }
    void SetBeveled(bool Value);
    TResizeStyle ResizeStyle() const { return FResizeStyle; }
    void SetResizeStyle(TResizeStyle Value);
    bool AutoSnap() const { return FAutoSnap; }
    void SetAutoSnap(bool Value) { FAutoSnap = Value; }

    // The control a drag resizes, or null.
    QWidget* ResizedControl() const;
    bool Dragging() const { return FDrag.has_value(); }

    void Paint() override;

    TCanResizeEvent OnCanResize;

protected:
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    // Watches the whole application for Esc while a drag lasts, wherever
    // the keyboard focus is.
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    struct TDrag {
        QPointer<QWidget> Control;
        int Sign;             // +1: growing downwards (alTop), -1: upwards
        int32_t StartPointer;  // pointer row in the parent when the drag began
        int32_t StartSize, MaxSize;
        int32_t Size;  // last accepted
    };
    int ResizeStyleValue() const { return FResizeStyle; }
    void SetResizeStyleValue(int Value);
    void BeginDrag(int32_t PointerRow);
    void Propose(int32_t NewSize);
    void ShowFeedback();
    void EndDrag(bool Apply);
    int32_t PointerRow(const QMouseEvent* Event) const;

    int32_t FMinSize = 30;
    bool FBeveled = false;
    bool FAutoSnap = true;
    TResizeStyle FResizeStyle = rsPattern;
    std::optional<TDrag> FDrag;
    QPointer<QWidget> FPattern;  // the drag's bar, a child of the parent
};

}  // namespace zent
