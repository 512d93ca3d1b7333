#include "Zent_combobox.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>

#include "Zent_forms.h"
#include "Zent_internal.h"
#include "Zent_latin1.h"

namespace zent {

namespace {

// Styles that open a combo box as a menu over the box ignore the row count;
// this one keeps every other look of the application style and drops the
// list down below the box.
class TDropDownListStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget,
                  QStyleHintReturn* Return) const override {
        if (Hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(Hint, Option, Widget, Return);
    }
};

// One shared style per application style; null when the application style
// cannot be recreated by name (a program's own style class), which is then
// left alone.
QStyle* DropDownListStyle() {
    static QPointer<QStyle> Style;
    static QString Key;
    const QString Current = QApplication::style()->name();
    if (Style && Key == Current) return Style;
    if (!QStyleFactory::keys().contains(Current, Qt::CaseInsensitive)) return nullptr;
    Style = new TDropDownListStyle(Current);
    Style->setParent(qApp);
    Key = Current;
    return Style;
}

class TItemDelegate : public QAbstractItemDelegate {
public:
    explicit TItemDelegate(TCustomComboBox& Box) : QAbstractItemDelegate(&Box), FBox(Box) {}

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override {
        TOwnerDrawState State = 0;
        if (Option.state & QStyle::State_Selected) State |= odSelected;
        if (Option.state & QStyle::State_HasFocus) State |= odFocused;
        if (!(Option.state & QStyle::State_Enabled)) State |= odDisabled;
        QSize Surface =
            Painter->device() ? QSize(Painter->device()->width(), Painter->device()->height()) : QSize();
        if (const auto* View = qobject_cast<const QAbstractItemView*>(Option.widget))
            Surface = View->viewport()->size();
        const QRect& R = Option.rect;
        FBox.PaintItem(*Painter, Surface.width(), Surface.height(), Index.row(),
                       Rect(R.left(), R.top(), R.left() + R.width(), R.top() + R.height()), State);
    }

    // Width 0: the list is as wide as the box.
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(0, TCustomComboBox::ItemHeight);
    }

private:
    TCustomComboBox& FBox;
};

// The dotted focus rectangle: every other pixel of the outline inverted, so
// that drawing it twice removes it again; the first dot on the top-left
// corner. The four sides do not overlap. Edges far outside the Width x
// Height surface are pulled in, keeping the dots where they were.
void DrawFocusRect(QPainter& Painter, int32_t Width, int32_t Height, const TRect& R) {
    const auto PullIn = [](int64_t V, int64_t Limit) { return V < Limit ? Limit - ((Limit - V) & 1) : V; };
    const int64_t L = PullIn(R.Left, -2), T = PullIn(R.Top, -2);
    const int64_t W = std::min<int64_t>(R.Right, int64_t(Width) + 2) - L;
    const int64_t H = std::min<int64_t>(R.Bottom, int64_t(Height) + 2) - T;
    if (W <= 0 || H <= 0) return;
    QRect Sides[4] = {QRect(int(L), int(T), int(W), 1)};
    int Count = 1;
    if (H > 1) Sides[Count++] = QRect(int(L), int(T + H - 1), int(W), 1);
    if (H > 2) Sides[Count++] = QRect(int(L), int(T + 1), 1, int(H - 2));
    if (H > 2 && W > 1) Sides[Count++] = QRect(int(L + W - 1), int(T + 1), 1, int(H - 2));
    // Only what is changed is put back: a whole save and restore costs more
    // than the dots.
    const QPainter::RenderHints Hints = Painter.renderHints();
    const QPainter::CompositionMode Mode = Painter.compositionMode();
    const QPen Pen = Painter.pen();
    const QBrush Brush = Painter.brush();
    const QPointF Origin = Painter.brushOrigin();
    Painter.setRenderHint(QPainter::Antialiasing, false);
    Painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(QBrush(Qt::white, Qt::Dense4Pattern));
    Painter.setBrushOrigin(int(L) + 1, int(T));  // the pattern's first dot is at (1, 0)
    Painter.drawRects(Sides, Count);
    Painter.setBrushOrigin(Origin);
    Painter.setBrush(Brush);
    Painter.setPen(Pen);
    Painter.setCompositionMode(Mode);
    Painter.setRenderHint(QPainter::Antialiasing, Hints.testFlag(QPainter::Antialiasing));
}

// By code unit, ASCII letters without case: a Latin-1 text sorts as its bytes do.
bool TextLess(const QString& A, const QString& B) {
    const auto Upper = [](QChar C) { return C >= u'a' && C <= u'z' ? C.unicode() - 32 : C.unicode(); };
    return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(),
                                        [&](QChar X, QChar Y) { return Upper(X) < Upper(Y); });
}

}  // namespace

// ---------------------------------------------------------------- items

int32_t TComboBoxItems::Count() const {
    return FOwner.count();
}

void TComboBoxItems::CheckIndex(int32_t Index) const {
    if (Index < 0 || Index >= Count()) throw EListError::OutOfBounds(Index);
}

QString TComboBoxItems::StringsQ(int32_t Index) const {
    CheckIndex(Index);
    return FOwner.itemText(Index);
}

void TComboBoxItems::SetStrings(int32_t Index, const QString& Text) {
    CheckIndex(Index);
    FOwner.setItemText(Index, Text);
}

int32_t TComboBoxItems::Add(const QString& Text) {
    int32_t At = Count();
    if (FOwner.Sorted()) {
        int32_t Lo = 0, Hi = Count();  // first item that sorts after Text
        while (Lo < Hi) {
            const int32_t Mid = Lo + (Hi - Lo) / 2;
            if (TextLess(Text, StringsQ(Mid)))
                Hi = Mid;
            else
                Lo = Mid + 1;
        }
        At = Lo;
    }
    // QComboBox selects the first item put into an empty list; a framework
    // list keeps having no selection.
    const bool NoneSelected = FOwner.currentIndex() < 0;
    FOwner.insertItem(At, Text);
    if (NoneSelected) FOwner.setCurrentIndex(-1);
    return At;
}

void TComboBoxItems::AddStrings(const QStringList& Texts) {
    if (FOwner.Sorted()) {
        for (const QString& T : Texts) Add(T);
        return;
    }
    const bool NoneSelected = FOwner.currentIndex() < 0;
    FOwner.insertItems(Count(), Texts);
    if (NoneSelected) FOwner.setCurrentIndex(-1);
}

// The byte-string face.
std::string TComboBoxItems::Strings(int32_t Index) const {
    return QStringToLatin1(StringsQ(Index));
}
void TComboBoxItems::SetStrings(int32_t Index, const std::string& Text) {
    SetStrings(Index, Latin1ToQString(Text));
}
int32_t TComboBoxItems::Add(const std::string& Text) {
    return Add(Latin1ToQString(Text));
}
void TComboBoxItems::AddStrings(const std::vector<std::string>& Texts) {
    QStringList List;
    List.reserve(qsizetype(Texts.size()));
    for (const std::string& T : Texts) List.append(Latin1ToQString(T));
    AddStrings(List);
}

void TComboBoxItems::Clear() {
    FOwner.clear();
}

// ---------------------------------------------------------------- control

TCustomComboBox::TCustomComboBox(QWidget* Owner) : QComboBox(Owner) {
    setEditable(false);
    if (QStyle* Style = DropDownListStyle()) setStyle(Style);
    setItemDelegate(new TItemDelegate(*this));
    setMaxVisibleItems(8);
    connect(this, &QComboBox::activated, this, [this](int) { Pick(); });
}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::SetSorted(bool Value) {
    if (Value == FSorted) return;
    FSorted = Value;
    if (!FSorted || count() < 2) return;
    QStringList Texts;
    for (int32_t i = 0; i < count(); ++i) Texts.push_back(FItems.StringsQ(i));
    const QString Selected = currentIndex() < 0 ? QString() : currentText();
    const bool NoneSelected = currentIndex() < 0;
    std::stable_sort(Texts.begin(), Texts.end(), TextLess);
    clear();
    FSorted = false;  // the texts come in sorted already
    FItems.AddStrings(Texts);
    FSorted = true;
    setCurrentIndex(NoneSelected ? -1 : findText(Selected, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void TCustomComboBox::SetDropDownCount(int Value) {
    if (Value < 1 || Value == DropDownCount()) return;
    setMaxVisibleItems(Value);
    emit DropDownCountChanged(Value);
}

void TCustomComboBox::SetItemIndex(int32_t Value) {
    setCurrentIndex(Value >= 0 && Value < count() ? Value : -1);
}

void TCustomComboBox::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    update();
    view()->viewport()->update();
    emit ColorChanged(ToQColor(Value));
}

void TCustomComboBox::SetColor(const QColor& Value) {
    if (Value.isValid()) SetColor(FromQColor(Value));
}

QColor TCustomComboBox::ColorColor() const {
    return ToQColor(FColor);
}

void TCustomComboBox::SetEnabled(bool Value) {
    if (Value == Enabled()) return;
    setEnabled(Value);
    emit EnabledChanged(Value);
}

void TCustomComboBox::SetVisible(bool Value) {
    if (Value == Visible()) return;
    setVisible(Value);
    emit VisibleChanged(Value);
}

void TCustomComboBox::SetFont(const TFont& Value) {
    if (Value == FFont) return;
    FFont = Value;
    setFont(ToQFont(Value));
    update();
}

bool TCustomComboBox::TabStop() const {
    return focusPolicy() & Qt::TabFocus;
}

void TCustomComboBox::SetTabStop(bool Value) {
    if (Value == TabStop()) return;
    setFocusPolicy(Value ? Qt::WheelFocus : Qt::ClickFocus);
    emit TabStopChanged(Value);
}

void TCustomComboBox::SetBounds(int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
    setGeometry(ClampedBounds(Left, Top, Width, Height));
}

void TCustomComboBox::RepaintNow() {
    repaint();
    if (view()->isVisible()) view()->viewport()->repaint();
}

void TCustomComboBox::RepaintChanged() {
    if (RepaintPolicy() == TRepaintPolicy::Immediate) {
        RepaintNow();
        return;
    }
    update();
    if (view()->isVisible()) view()->viewport()->update();
}

void TCustomComboBox::DrawItem(int32_t Index, const TRect& R, TOwnerDrawState) {
    // The plain look: the item's text on the prepared brush.
    if (Index < 0 || Index >= count()) return;
    const int64_t Y = R.Top + (int64_t(R.Bottom) - R.Top - FCanvas.TextHeight("")) / 2;
    FCanvas.TextRect(R, Saturate(int64_t(R.Left) + 2), Saturate(Y), FItems.StringsQ(Index));
}

void TCustomComboBox::Click() {
    Raise(OnClick, this);
}

void TCustomComboBox::DropDown() {
    Raise(OnDropDown, this);
}

void TCustomComboBox::Pick() {
    Guarded([this] {
        Click();
        Raise(OnChange, this);
        Picked();
    });
}

void TCustomComboBox::showPopup() {
    Guarded([this] { DropDown(); });
    QComboBox::showPopup();
}

void TCustomComboBox::PaintItem(QPainter& Painter, int32_t Width, int32_t Height, int32_t Index,
                                const TRect& R, TOwnerDrawState State) {
    TPlatformAccess::BindPainter(FCanvas, &Painter, Width, Height);
    FCanvas.Pen = TPen{};
    FCanvas.CopyMode = SRCCOPY;
    FCanvas.Font = FFont;
    FCanvas.Brush.SetColor(FColor);
    if (State & odSelected) {
        FCanvas.Brush.SetColor(clHighlight);
        FCanvas.Font.Color = clHighlightText;
    }
    if (Index < 0) {
        FCanvas.FillRect(R);
    } else {
        Guarded([&] { DrawItem(Index, R, State); });
        if (State & odFocused) DrawFocusRect(Painter, Width, Height, R);
    }
    TPlatformAccess::Unbind(FCanvas);
}

QSize TCustomComboBox::SizeFromContent(const QSize& Content) const {
    QStyleOptionComboBox Option;
    initStyleOption(&Option);
    return style()
        ->sizeFromContents(QStyle::CT_ComboBox, &Option, Content, this)
        .boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

void TCustomComboBox::paintEvent(QPaintEvent*) {
    QStylePainter Painter(this);
    QStyleOptionComboBox Option;
    initStyleOption(&Option);
    Option.currentText.clear();
    Option.currentIcon = QIcon();
    Painter.drawComplexControl(QStyle::CC_ComboBox, Option);
    const QRect Field =
        style()->subControlRect(QStyle::CC_ComboBox, &Option, QStyle::SC_ComboBoxEditField, this);
    const TRect R =
        Rect(Field.left(), Field.top(), Field.left() + Field.width(), Field.top() + Field.height());
    TOwnerDrawState State = odComboBoxEdit;
    if (hasFocus() && !view()->isVisible()) State |= odSelected | odFocused;
    if (!isEnabled()) State |= odDisabled;
    Painter.fillRect(Field, QColor::fromRgb(RGBToPixel(ColorToRGB(FColor))));
    PaintItem(Painter, width(), height(), currentIndex(), R, State);
}

void TCustomComboBox::focusInEvent(QFocusEvent* Event) {
    QComboBox::focusInEvent(Event);
    if (FEntered) return;  // back from the list or from another window
    FEntered = true;
    Guarded([this] { Raise(OnEnter, this); });
}

void TCustomComboBox::focusOutEvent(QFocusEvent* Event) {
    QComboBox::focusOutEvent(Event);
    // The open list takes the focus from the box; it stays within the control.
    const Qt::FocusReason Reason = Event->reason();
    if (Reason == Qt::PopupFocusReason || Reason == Qt::ActiveWindowFocusReason || view()->isVisible())
        return;
    if (!FEntered) return;
    FEntered = false;
    Guarded([this] { Raise(OnExit, this); });
}

}  // namespace zent
