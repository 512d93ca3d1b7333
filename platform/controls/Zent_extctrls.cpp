#include "Zent_extctrls.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "Zent_forms.h"
#include "Zent_latin1.h"

namespace zent {

// ---------------------------------------------------------------- TPanel

namespace {
// By TBevelCut: QFrame draws a one-pixel Panel frame in the palette's dark
// (clBtnShadow) and light (clBtnHighlight) colours.
constexpr std::array<int, 3> PanelFrameStyle = {
    QFrame::NoFrame, QFrame::Panel | QFrame::Sunken, QFrame::Panel | QFrame::Raised};
}  // namespace

TPanel::TPanel(QWidget* Parent) : QFrame(Parent), TAlignedControl(this) {
    setLineWidth(1);
    setFrameStyle(PanelFrameStyle[FBevelOuter]);
}

void TPanel::SetBevelOuter(TBevelCut Value) {
    if (Value == FBevelOuter || Value > bvRaised) return;
    FBevelOuter = Value;
    setFrameStyle(PanelFrameStyle[Value]);  // the client area follows: aligned children move
}

void TPanel::SetBevelOuterValue(int Value) {
    if (Value < bvNone || Value > bvRaised) return;
    SetBevelOuter(TBevelCut(Value));
}

// ---------------------------------------------------------------- TRadioGroup

TRadioGroup::TRadioGroup(QWidget* Parent)
    : QGroupBox(Parent), TAlignedControl(this), FGroup(new QButtonGroup(this)), FLayout(new QVBoxLayout(this)) {
    // The group keeps the size it is given, however many items it holds.
    FLayout->setSizeConstraint(QLayout::SetNoConstraint);
    FLayout->setContentsMargins(8, 0, 4, 0);
    FLayout->setSpacing(0);
    connect(FGroup, &QButtonGroup::idToggled, this, [this](int, bool Checked) {
        if (Checked && !FSelecting) Guarded([this] { Click(); });
    });
}

std::string TRadioGroup::Caption() const { return QStringToLatin1(title()); }
void TRadioGroup::SetCaption(const std::string& Value) { setTitle(Latin1ToQString(Value)); }

std::vector<std::string> TRadioGroup::Items() const {
    std::vector<std::string> Result;
    for (QAbstractButton* Button : FGroup->buttons()) Result.push_back(QStringToLatin1(Button->text()));
    return Result;
}

void TRadioGroup::SetItems(const std::vector<std::string>& Value) {
    QStringList Texts;
    for (const std::string& Item : Value) Texts.push_back(Latin1ToQString(Item));
    SetItemTexts(Texts);
}

QStringList TRadioGroup::ItemTexts() const {
    QStringList Result;
    for (QAbstractButton* Button : FGroup->buttons()) Result.push_back(Button->text());
    return Result;
}

void TRadioGroup::SetItemTexts(const QStringList& Value) {
    if (Value == ItemTexts()) return;
    const int32_t Kept = FGroup->checkedId() < Value.size() ? FGroup->checkedId() : -1;
    for (QAbstractButton* Button : FGroup->buttons()) delete Button;
    for (int i = 0; i < Value.size(); ++i) {
        auto* Button = new QRadioButton(Value[i], this);
        FGroup->addButton(Button, i);
        FLayout->addWidget(Button);
    }
    FSelecting = true;
    if (Kept >= 0) FGroup->button(Kept)->setChecked(true);
    FSelecting = false;
}

int32_t TRadioGroup::ItemIndex() const {
    return FStoredIndex ? *FStoredIndex : FGroup->checkedId();
}

void TRadioGroup::SetItemIndex(int32_t Value) {
    if (ComponentState() & csLoading) {
        FStoredIndex = Value;
        return;
    }
    if (Value < -1 || Value >= int32_t(FGroup->buttons().size()) || Value == ItemIndex()) return;
    FSelecting = true;
    if (Value >= 0) {
        FGroup->button(Value)->setChecked(true);
    } else {
        // An exclusive group keeps one button checked; let go of it for a moment.
        FGroup->setExclusive(false);
        FGroup->checkedButton()->setChecked(false);
        FGroup->setExclusive(true);
    }
    FSelecting = false;
}

void TRadioGroup::LayoutLoaded() {
    TComponent::LayoutLoaded();
    if (!FStoredIndex) return;
    const int32_t Index = *FStoredIndex;
    FStoredIndex.reset();
    SetItemIndex(Index);
}

void TRadioGroup::Click() {
    Raise(OnClick, this);
}

// ---------------------------------------------------------------- TSplitter

namespace {
// Where a drag would put the splitter: a bar that inverts what is under it,
// dithered (rsPattern) or solid (rsLine).
class TSplitterBar final : public QWidget {
public:
    TSplitterBar(QWidget* Parent, bool Dithered) : QWidget(Parent), FDithered(Dithered) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter Painter(this);
        Painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        Painter.fillRect(rect(), QBrush(Qt::white, FDithered ? Qt::Dense4Pattern : Qt::SolidPattern));
    }

private:
    bool FDithered;
};
}  // namespace

TSplitter::TSplitter(QWidget* Parent) : TGraphicControl(Parent) {
    setCursor(Qt::SplitVCursor);
    resize(width(), 3);
}

TSplitter::~TSplitter() {
    delete FPattern.data();
}

void TSplitter::SetMinSize(int32_t Value) {
    if (Value < 1) return;
    FMinSize = Value;
}

void TSplitter::SetBeveled(bool Value) {
    if (Value == FBeveled) return;
    FBeveled = Value;
    Invalidate();
}

void TSplitter::SetResizeStyle(TResizeStyle Value) {
    if (Value > rsPattern) return;
    FResizeStyle = Value;
}

void TSplitter::SetResizeStyleValue(int Value) {
    if (Value < rsNone || Value > rsPattern) return;
    SetResizeStyle(TResizeStyle(Value));
}

QWidget* TSplitter::ResizedControl() const {
    if ((Align() != alTop && Align() != alBottom) || !parentWidget()) return nullptr;
    QWidget* Previous = nullptr;
    for (TAlignedControl* Control : AlignedChildren(parentWidget())) {
        if (Control == this) return Previous;
        if (Control->Align() == Align()) Previous = Control->AlignedWidget();
    }
    return nullptr;
}

void TSplitter::Paint() {
    if (!FBeveled) return;
    const int32_t W = Width(), H = Height();
    Canvas().Pen.Color = clBtnHighlight;
    Canvas().MoveTo(0, H - 1);
    Canvas().LineTo(0, 0);
    Canvas().LineTo(W - 1, 0);
    Canvas().Pen.Color = clBtnShadow;
    Canvas().LineTo(W - 1, H - 1);
    Canvas().LineTo(-1, H - 1);
}

int32_t TSplitter::PointerRow(const QMouseEvent* Event) const {
    // In the parent's coordinates: the splitter itself moves under rsUpdate.
    return mapToParent(Event->position().toPoint()).y();
}

void TSplitter::mousePressEvent(QMouseEvent* Event) {
    TGraphicControl::mousePressEvent(Event);
    if (Event->button() == Qt::LeftButton && !FDrag) BeginDrag(PointerRow(Event));
}

void TSplitter::mouseMoveEvent(QMouseEvent* Event) {
    TGraphicControl::mouseMoveEvent(Event);
    if (!FDrag) return;
    const int32_t Moved = PointerRow(Event) - FDrag->StartPointer;
    Propose(std::max(FMinSize, std::min(FDrag->StartSize + FDrag->Sign * Moved, FDrag->MaxSize)));
}

void TSplitter::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton && FDrag) EndDrag(true);
    TGraphicControl::mouseReleaseEvent(Event);
}

bool TSplitter::eventFilter(QObject* Watched, QEvent* Event) {
    if (FDrag && Event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Escape) {
        EndDrag(false);
        return true;
    }
    return TGraphicControl::eventFilter(Watched, Event);
}

void TSplitter::BeginDrag(int32_t PointerRow) {
    QWidget* Control = ResizedControl();
    if (!Control) return;
    const QWidget* Parent = parentWidget();
    int32_t Stacked = 0;
    for (TAlignedControl* C : AlignedChildren(Parent))
        if (C->Align() == alTop || C->Align() == alBottom) Stacked += C->AlignedWidget()->height();
    const int32_t Free = Parent->contentsRect().height() - FMinSize - Stacked + Control->height();
    FDrag = TDrag{Control, Align() == alTop ? 1 : -1, PointerRow, Control->height(), Free, Control->height()};
    qApp->installEventFilter(this);
    ShowFeedback();
}

void TSplitter::Propose(int32_t NewSize) {
    bool Accept = true, Answered = false;
    Guarded([&] {
        Raise(OnCanResize, this, NewSize, Accept);
        Answered = true;
    });
    Accept = Accept && Answered;  // a handler that failed accepted nothing
    if (!Accept || !FDrag) return;
    NewSize = std::clamp(NewSize, 0, MaxCoordinate);  // whatever the handler answered
    if (FAutoSnap && NewSize <= FMinSize) NewSize = 0;
    FDrag->Size = NewSize;
    ShowFeedback();
}

void TSplitter::ShowFeedback() {
    if (FResizeStyle == rsUpdate) {
        if (FDrag->Control && FDrag->Control->height() != FDrag->Size)
            FDrag->Control->resize(FDrag->Control->width(), FDrag->Size);
        return;
    }
    if (FResizeStyle == rsNone) return;
    if (!FPattern || FPattern->parentWidget() != parentWidget()) {
        delete FPattern.data();
        FPattern = new TSplitterBar(parentWidget(), FResizeStyle == rsPattern);
    }
    FPattern->setGeometry(geometry().translated(0, FDrag->Sign * (FDrag->Size - FDrag->StartSize)));
    FPattern->raise();
    FPattern->show();
}

void TSplitter::EndDrag(bool Apply) {
    const TDrag Drag = *FDrag;
    FDrag.reset();
    qApp->removeEventFilter(this);
    delete FPattern.data();  // its style may differ next time
    const int32_t Size = Apply ? Drag.Size : Drag.StartSize;
    if (Drag.Control && Drag.Control->height() != Size) Drag.Control->resize(Drag.Control->width(), Size);
}

}  // namespace zent
