// TColSel: a drop-down list of colours. Each item is a colour bar followed by
// the colour's name; the application reads the picked colour from SelColor.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "Zent_colorlist.h"
#include "Zent_combobox.h"
#include "Zent_events.h"
#include "Zent_graphics.h"

namespace zent {

// The selector holds 255 entries (numbered from 1), each a colour and a
// name: entries 1..47 start as the standard palette under their identifiers,
// the rest as black "clBlack". It lists the first NumColors entries; the
// item texts are the entry names, so screen readers read them and typing a
// name's first letters selects it.
//
// The list is empty until it is built: by LayoutLoaded after a layout was
// read, or by the NumColors setter. Setting NumColors always selects entry
// 1, so set it before SelColor.
//
// Item drawing: a ColorBarWidth x (height - 4) bar three pixels from the
// item's left edge and two from its top and bottom, outlined in black, and
// the name on Color from three pixels after the bar. The columns left of the
// bar and the rows above and below it are left to the list's background.
// The selected item is drawn like any other; only the focus rectangle marks
// it. clNone and clDefault are no colours: their bar is filled with the
// window colour (clWindow) and struck through from its lower left to its
// upper right corner with the outline's black. A disabled selector draws
// every item on silver with grey text and a grey-outlined silver bar.
class TColSel : public TCustomComboBox {
    Q_OBJECT
    // Stored layouts apply these in this order: NumColors before SelColor.
    // Color, DropDownCount, Enabled, TabStop and Visible come from
    // TCustomComboBox.
    Q_PROPERTY(int ColorBarWidth READ ColorBarWidth WRITE SetColorBarWidth NOTIFY ColorBarWidthChanged)
    Q_PROPERTY(int NumColors READ NumColors WRITE SetNumColors NOTIFY NumColorsChanged)
    Q_PROPERTY(QColor SelColor READ SelColorQ WRITE SetSelColor NOTIFY SelColorChanged)

public:
    static constexpr int32_t MaxEntries = TColorList::MaxEntries;

    explicit TColSel(QWidget* Owner = nullptr);
    ~TColSel() override;

    // Width of the colour bar; 0 draws none. Negative values are ignored;
    // there is no upper bound. Repaints before returning (under the
    // Coalesced repaint policy, at Qt's next paint).
    int32_t ColorBarWidth() const { return FColorBarWidth; }
    // The entry SelColor reads and writes, 1..NumColors.
    int32_t CurrentEntry() const { return FList.CurrentEntry(); }
    // Entries listed, 1..255; other values are ignored. Setting it (also to
    // the current value) rebuilds the list and selects entry 1.
    int32_t NumColors() const { return FList.NumColors(); }
    // The selector's own enabled state, which its drawing follows.
    bool Enabled() const override { return FEnabled; }

    // The colour of the current entry.
    TColor SelColor() const { return FList.SelColor(); }
    QColor SelColorQ() const { return ToQColor(SelColor()); }
    // Selects the first listed entry whose colour has Value's RGB value
    // (system colours compare by their current RGB). When none has, the
    // current entry takes Value as it is and the name ColorToText of its RGB
    // value, which OnColorNameChange may change; the item's text follows.
    // Raises no OnClick or OnChange. Repaints as ColorBarWidth does.
    void SetSelColor(TColor Value);

    // Entry Number (1..255); another number raises EListError.
    TColor EntryColor(int32_t Number) const { return FList.EntryColor(Number); }
    std::string EntryName(int32_t Number) const;
    QString EntryNameQ(int32_t Number) const { return FList.EntryName(Number); }

    // Refills Items with the names of entries 1..NumColors and selects
    // CurrentEntry, without events.
    void RebuildItems();
    void LayoutLoaded() override;
    void DrawItem(int32_t Index, const TRect& Rect, TOwnerDrawState State) override;
    // Makes the picked item's entry current, then raises OnClick.
    void Click() override;
    // After OnClick and OnChange: SelColorChanged, when the pick changed it.
    void Picked() override;

    // What QComboBox gives for the longest of the NumColors names, widened
    // by the bar and its margins (ColorBarWidth + 6); the minimum is the same.
    // Both follow NumColors, ColorBarWidth and renamed entries.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    TOnColorNameChangeEvent OnColorNameChange;

public slots:
    void SetColorBarWidth(int Value);
    void SetNumColors(int Value);
    void SetEnabled(bool Value) override;
    // An invalid QColor is ignored.
    void SetSelColor(const QColor& Value);

signals:
    void ColorBarWidthChanged(int ColorBarWidth);
    void NumColorsChanged(int NumColors);
    // Also after a pick, once OnClick and OnChange have run.
    void SelColorChanged(const QColor& SelColor);

private:
    // Tells of a new SelColor when it differs from Old.
    void SelColorSet(TColor Old);

    void DrawColorBar(TColor Color, const TRect& Bar);

    int32_t FColorBarWidth = 30;
    bool FEnabled = true;
    TColor FColorBeforePick = clBlack;
    TColorList FList;  // the entries, the count listed and the current one
};

}  // namespace zent
