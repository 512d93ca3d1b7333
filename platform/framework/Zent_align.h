// Alignment of controls inside their parent, and the horizontal alignment of
// text.
//
// A control mixes in TAlignedControl to take part. The aligned children of a
// parent are laid out in its contents rectangle (inside a panel's border):
// top-aligned controls stack downwards from the top in creation order,
// bottom-aligned ones upwards from the bottom, left- and right-aligned ones
// fill the band between them from the sides, and a client-aligned control
// takes what is left. Each keeps its own height (top, bottom) or width (left,
// right) and takes the rest from the parent. The layout is redone when the
// parent resizes or its border changes, and when an aligned control changes
// its size or position, is shown, hidden, reparented or removed. (Qt holds
// back the size events of widgets in a window that was never shown; such
// changes are laid out when it is shown. Writing Align lays out at once.)
#pragma once

#include <cstdint>
#include <vector>

#include "Zent_enums.h"

class QRect;
class QWidget;

namespace zent {

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TAlignHook;
class TAlignHost;

class TAlignedControl {
public:
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    QWidget* AlignedWidget() const { return FSelf; }
    // Increases with every control created or moved to another parent; the
    // layout orders controls of one alignment by it.
    uint64_t CreationOrder() const { return FCreationOrder; }

protected:
    // Self is the control's own widget, already constructed.
    explicit TAlignedControl(QWidget* Self);
    virtual ~TAlignedControl();
    TAlignedControl(const TAlignedControl&) = delete;
    TAlignedControl& operator=(const TAlignedControl&) = delete;

    // Where the layout puts the control. Controls whose geometry setter
    // raises notices of its own override this to go through it.
    virtual void SetAlignedBounds(const QRect& Bounds);
    // Called after Align changed and the controls were laid out.
    virtual void AfterAlign() {}

    // The Align property as an int for layouts; values outside TAlign are ignored.
    int AlignValue() const { return FAlign; }
    void SetAlignValue(int Value);

private:
    friend class TAlignHook;
    friend class TAlignHost;

    QWidget* FSelf;
    TAlignHook* FHook;  // owned by FSelf as a Qt child
    uint64_t FCreationOrder;
    TAlign FAlign = alNone;
};

// Lays out the aligned children of Parent now. The controls call it
// themselves; it is public for code that moved things behind their back.
void AlignControls(QWidget* Parent);

// The aligned children of Parent that are not hidden, in creation order.
std::vector<TAlignedControl*> AlignedChildren(const QWidget* Parent);

}  // namespace zent
