#include "Zent_align.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace zent {

namespace {

uint64_t NextCreationOrder() {
    static uint64_t Counter = 0;  // GUI thread only
    return ++Counter;
}

// Hidden by the program, as opposed to not shown yet because the window is
// not: only the first leaves the layout.
bool ExplicitlyHidden(const QWidget* Widget) {
    return Widget->isHidden() && Widget->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

}  // namespace

// One per parent that has aligned children: lays them out and watches the
// parent for what moves them.
class TAlignHost final : public QObject {
public:
    static TAlignHost* Of(QWidget* Parent) {
        for (QObject* Child : Parent->children())
            if (auto* Host = dynamic_cast<TAlignHost*>(Child)) return Host;
        return new TAlignHost(Parent);
    }

    void Realign() {
        // Placing a control sends it events that ask for this again.
        if (FAligning) return;
        FAligning = true;
        LayOut();
        FAligning = false;
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Watched == parent()) {
            switch (Event->type()) {
                case QEvent::Resize:
                case QEvent::ContentsRectChange:
                case QEvent::ChildRemoved:
                    Realign();
                    break;
                default:
                    break;
            }
        }
        return false;
    }

private:
    explicit TAlignHost(QWidget* Parent) : QObject(Parent), FParent(Parent) {
        Parent->installEventFilter(this);
    }

    void LayOut() {
        const std::vector<TAlignedControl*> Controls = AlignedChildren(FParent);
        const QRect Client = FParent->contentsRect();
        int X0 = Client.left(), Y0 = Client.top();
        int X1 = X0 + Client.width(), Y1 = Y0 + Client.height();  // exclusive
        for (const TAlign Pass : {alTop, alBottom, alLeft, alRight, alClient}) {
            for (TAlignedControl* Control : Controls) {
                if (Control->Align() != Pass) continue;
                const int W = Control->AlignedWidget()->width(), H = Control->AlignedWidget()->height();
                const int FreeW = std::max(X1 - X0, 0), FreeH = std::max(Y1 - Y0, 0);
                QRect Bounds;
                switch (Pass) {
                    case alTop:
                        Bounds = QRect(X0, Y0, FreeW, H);
                        Y0 += H;
                        break;
                    case alBottom:
                        Bounds = QRect(X0, Y1 - H, FreeW, H);
                        Y1 -= H;
                        break;
                    case alLeft:
                        Bounds = QRect(X0, Y0, W, FreeH);
                        X0 += W;
                        break;
                    case alRight:
                        Bounds = QRect(X1 - W, Y0, W, FreeH);
                        X1 -= W;
                        break;
                    case alClient:
                        Bounds = QRect(X0, Y0, FreeW, FreeH);
                        break;
                    case alNone:
                        break;
                }
                Control->SetAlignedBounds(Bounds);
            }
        }
    }

    QWidget* FParent;
    bool FAligning = false;
};

// Watches one control for what changes its parent's layout.
class TAlignHook final : public QObject {
public:
    explicit TAlignHook(TAlignedControl* Owner) : QObject(Owner->FSelf), FOwner(Owner) {
        Owner->FSelf->installEventFilter(this);
    }

    // The control is being destroyed; its widget part lives a little longer.
    void Detach() {
        if (!FOwner) return;
        FOwner->FSelf->removeEventFilter(this);
        FOwner = nullptr;
    }

protected:
    bool eventFilter(QObject*, QEvent* Event) override {
        if (!FOwner) return false;
        switch (Event->type()) {
            case QEvent::ParentChange:
                // Joins the end of its new parent's order.
                FOwner->FCreationOrder = NextCreationOrder();
                [[fallthrough]];
            case QEvent::Resize:
            case QEvent::Move:
            case QEvent::ShowToParent:
            case QEvent::HideToParent:
                if (FOwner->FAlign != alNone) AlignControls(FOwner->FSelf->parentWidget());
                break;
            default:
                break;
        }
        return false;
    }

private:
    TAlignedControl* FOwner;
};

TAlignedControl::TAlignedControl(QWidget* Self)
    : FSelf(Self), FHook(new TAlignHook(this)), FCreationOrder(NextCreationOrder()) {}

TAlignedControl::~TAlignedControl() {
    FHook->Detach();
}

void TAlignedControl::SetAlign(TAlign Value) {
    if (Value == FAlign) return;
    FAlign = Value;
    AlignControls(FSelf->parentWidget());
    AfterAlign();
}

void TAlignedControl::SetAlignValue(int Value) {
    if (Value < alNone || Value > alClient) return;
    SetAlign(TAlign(Value));
}

void TAlignedControl::SetAlignedBounds(const QRect& Bounds) {
    FSelf->setGeometry(Bounds);
}

void AlignControls(QWidget* Parent) {
    if (Parent) TAlignHost::Of(Parent)->Realign();
}

std::vector<TAlignedControl*> AlignedChildren(const QWidget* Parent) {
    std::vector<TAlignedControl*> Result;
    for (QObject* Child : Parent->children()) {
        if (!Child->isWidgetType()) continue;
        auto* Widget = static_cast<QWidget*>(Child);
        if (Widget->isWindow() || ExplicitlyHidden(Widget)) continue;
        // A control being built or destroyed is no TAlignedControl yet or any more.
        auto* Control = dynamic_cast<TAlignedControl*>(Widget);
        if (Control && Control->Align() != alNone) Result.push_back(Control);
    }
    std::stable_sort(Result.begin(), Result.end(), [](const TAlignedControl* A, const TAlignedControl* B) {
        return A->CreationOrder() < B->CreationOrder();
    });
    return Result;
}

}  // namespace zent
