// TCustomComboBox: an owner-drawn drop-down list with fixed-height items and
// no edit field. Every item, in the open list and in the closed box, is drawn
// by the virtual DrawItem on a canvas that the control prepares.
#pragma once

#include <QColor>
#include <QComboBox>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "Zent_components.h"
#include "Zent_controls.h"
#include "Zent_graphics.h"
#include "Zent_sysutils.h"

namespace zent {

// What DrawItem is asked to draw:
// - odSelected: the highlighted item (the current row of the open list, or
//   the closed box while it has the focus); the canvas comes prepared with
//   the highlight colours;
// - odFocused: the control draws the dotted focus rectangle over the item
//   after DrawItem;
// - odDisabled: the control is disabled;
// - odComboBoxEdit: the item shown in the closed box, not a row of the list.
enum TOwnerDrawStateFlag : uint8_t { odSelected = 1, odFocused = 2, odDisabled = 4, odComboBoxEdit = 8 };
using TOwnerDrawState = uint8_t;

class TCustomComboBox;

// The item texts of a combo box, in full Unicode or as Latin-1 byte strings.
// Indexes count from 0; an index outside 0..Count-1 raises EListError.
// Changing the items raises no event.
class TComboBoxItems {
public:
    int32_t Count() const;
    QString StringsQ(int32_t Index) const;
    std::string Strings(int32_t Index) const;
    void SetStrings(int32_t Index, const QString& Text);
    void SetStrings(int32_t Index, const std::string& Text);
    void SetStrings(int32_t Index, const char* Text) { SetStrings(Index, std::string(Text)); }
    // Appends, or inserts at its sorted place when the box is Sorted (ASCII
    // letters compared without case; equal texts keep the order they came
    // in). Returns the new item's index. The selection stays as it was.
    int32_t Add(const QString& Text);
    int32_t Add(const std::string& Text);
    int32_t Add(const char* Text) { return Add(std::string(Text)); }
    void AddStrings(const QStringList& Texts);
    void AddStrings(const std::vector<std::string>& Texts);
    void AddStrings(std::initializer_list<const char*> Texts) {
        AddStrings(std::vector<std::string>(Texts.begin(), Texts.end()));
    }
    void Clear();

private:
    friend class TCustomComboBox;
    explicit TComboBoxItems(TCustomComboBox& Owner) : FOwner(Owner) {}
    void CheckIndex(int32_t Index) const;
    TCustomComboBox& FOwner;
};

// The closed box is the style's frame and arrow with the current item drawn
// by DrawItem in the style's edit field, which is first filled with Color.
// The open list drops down below the box in every style and shows
// DropDownCount rows of ItemHeight pixels on the list's background.
//
// Before each DrawItem the canvas font is Font and the brush colour Color;
// for a selected item the brush is clHighlight and the font colour
// clHighlightText. The pen is black, one pixel wide. DrawItem may draw
// outside its Rect; only the surface clips it. At index -1 (no selection)
// the closed box fills Rect with the brush instead of calling DrawItem.
//
// A pick by the user (a click in the list, Return in the list, arrow keys,
// the wheel or typed first letters on the closed box) selects the item, then
// calls Click, which raises OnClick, then raises OnChange; also when the
// picked item was already selected. Writing ItemIndex and changing Items
// raise neither. OnEnter and OnExit follow the focus between the controls of
// a window; opening the list or switching windows raises neither.
class TCustomComboBox : public QComboBox, public TComponent, public TRepaintPolicyChoice {
    Q_OBJECT
    // The framework's published properties of every drop-down list. Color
    // reads as it is drawn and follows the palette (clWindow) until it is
    // set; a reset gives that back.
    Q_PROPERTY(QColor Color READ ColorColor WRITE SetColor RESET ResetColor NOTIFY ColorChanged)
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount NOTIFY DropDownCountChanged)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled NOTIFY EnabledChanged)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop NOTIFY TabStopChanged)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible NOTIFY VisibleChanged)

public:
    explicit TCustomComboBox(QWidget* Owner = nullptr);
    ~TCustomComboBox() override;

    TComboBoxItems& Items() { return FItems; }
    const TComboBoxItems& Items() const { return FItems; }
    bool Sorted() const { return FSorted; }
    // Turning sorting on sorts the present items; the selected text stays selected.
    void SetSorted(bool Value);
    // Rows the open list shows; values below 1 are ignored.
    int32_t DropDownCount() const { return maxVisibleItems(); }
    // -1: no selection. Writing raises no event; an index outside the list
    // selects nothing.
    int32_t ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int32_t Value);
    static constexpr int32_t ItemHeight = 16;

    // The background of the items. Default clWindow.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value);
    virtual bool Enabled() const { return isEnabled(); }
    // Reachable with the Tab key; a control that is no tab stop still takes
    // the focus when clicked.
    bool TabStop() const;
    bool Visible() const { return !isHidden(); }
    std::string Name() const { return objectName().toStdString(); }
    void SetName(const std::string& Value) { setObjectName(QString::fromStdString(Value)); }
    // Clamped as ClampedBounds says.
    void SetBounds(int32_t Left, int32_t Top, int32_t Width, int32_t Height);

public slots:
    void SetDropDownCount(int Value);
    // An invalid QColor is ignored.
    void SetColor(const QColor& Value);
    void ResetColor() { SetColor(clWindow); }
    virtual void SetEnabled(bool Value);
    void SetTabStop(bool Value);
    void SetVisible(bool Value);

signals:
    void ColorChanged(const QColor& Color);
    void DropDownCountChanged(int DropDownCount);
    void EnabledChanged(bool Enabled);
    void TabStopChanged(bool TabStop);
    void VisibleChanged(bool Visible);

public:
    // Repaints the closed box, and the list when it is open, before returning.
    void RepaintNow();
    // What a setter calls after a change: RepaintNow, or under the
    // Coalesced repaint policy a repaint at Qt's next paint.
    void RepaintChanged();

    // Valid while an item is drawn.
    TCanvas& Canvas() { return FCanvas; }

    virtual void DrawItem(int32_t Index, const TRect& Rect, TOwnerDrawState State);
    virtual void Click();
    // Called after a pick has raised OnClick and OnChange.
    virtual void Picked() {}
    // Called when the list is about to open; raises OnDropDown.
    virtual void DropDown();

    TNotifyEvent OnChange;
    TNotifyEvent OnClick;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // Prepares the canvas on Painter (a surface of Width x Height), draws item
    // Index through DrawItem and then the focus rectangle. Used by the closed
    // box and by the list's item delegate.
    void PaintItem(QPainter& Painter, int32_t Width, int32_t Height, int32_t Index, const TRect& Rect,
                   TOwnerDrawState State);

    void showPopup() override;

protected:
    // The size the style gives a closed box whose field holds Content: the
    // style's frame and arrow around it, at most Qt's largest widget size.
    QSize SizeFromContent(const QSize& Content) const;

    void paintEvent(QPaintEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;

private:
    friend class TComboBoxItems;
    QColor ColorColor() const;
    void Pick();

    TComboBoxItems FItems{*this};
    TCanvas FCanvas;
    TFont FFont;
    TColor FColor = clWindow;
    bool FSorted = false;
    bool FEntered = false;  // between OnEnter and OnExit
};

}  // namespace zent
