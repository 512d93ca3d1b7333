// Standard windowed controls: TScrollBar, TEdit and TLabel, each a thin class
// over the Qt widget of the same purpose.
//
// Every control is a TComponent (created inside a TLayoutLoading it loads
// until LayoutLoaded) and can be aligned in its parent (Align). Texts are
// byte strings in ISO-8859-1 in the C++ interface and QString in the
// properties that layouts write. Events reach program code through Guarded.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <cstdint>
#include <optional>
#include <string>

#include "Zent_align.h"
#include "Zent_components.h"
#include "Zent_controls.h"

namespace zent {

// A horizontal scroll bar. Position stays within Min to Max; arrow clicks and
// the arrow keys move it by SmallChange, clicks in the track and the page
// keys by LargeChange, and dragging the thumb follows the pointer. Every
// change of Position raises OnChange, also while the thumb is dragged and
// when it is written from code.
//
// Min, Max and PageSize must satisfy Min <= Max and PageSize <= Max: a write
// that breaks this raises "Scrollbar property out of range" and changes
// nothing (while designing, the error is reported instead of raised). While the control loads, Min, Max, Position and PageSize are only
// stored, whatever the order they come in; LayoutLoaded checks them (same
// error) and then applies them without raising OnChange, so a stored
// position below Min shows Min and handlers attached before LayoutLoaded
// stay silent.
class TScrollBar : public QScrollBar, public TComponent, public TAlignedControl {
    Q_OBJECT
    Q_PROPERTY(int Align READ AlignValue WRITE SetAlignValue)
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int PageSize READ PageSize WRITE SetPageSize)
    Q_PROPERTY(int SmallChange READ SmallChange WRITE SetSmallChange)
    Q_PROPERTY(int LargeChange READ LargeChange WRITE SetLargeChange)

public:
    explicit TScrollBar(QWidget* Parent = nullptr);

    int32_t Min() const;
    void SetMin(int32_t Value);
    int32_t Max() const;
    void SetMax(int32_t Value);
    int32_t Position() const;
    void SetPosition(int32_t Value);
    // Checked against Max; negative values are ignored. The thumb's length
    // follows LargeChange, as Qt's page step does both.
    int32_t PageSize() const;
    void SetPageSize(int32_t Value);
    // 1 to 32767; other values are ignored.
    int32_t SmallChange() const { return singleStep(); }
    void SetSmallChange(int32_t Value);
    int32_t LargeChange() const { return pageStep(); }
    void SetLargeChange(int32_t Value);
    // Sets Position, Min and Max together, checked once.
    void SetParams(int32_t APosition, int32_t AMin, int32_t AMax);

    void LayoutLoaded() override;

    TNotifyEvent OnChange;

protected:
    // Right and Down, Page Down and End move towards Max, as on other
    // desktops; QScrollBar turns the horizontal arrow keys round.
    void keyPressEvent(QKeyEvent* Event) override;

private:
    struct TRange {
        int32_t Position, Min, Max, PageSize;
    };
    // Raises "Scrollbar property out of range" unless Range fits, else shows it.
    void Apply(const TRange& Range);
    static void Check(const TRange& Range);
    void ShowRange(const TRange& Range);
    // The values read so far while loading, starting from the current ones.
    TRange& Stored();

    int32_t FPageSize = 0;
    std::optional<TRange> FStored;  // only while loading
    bool FShowingLoaded = false;
};

// A one-line edit box. OnChange follows every change of the text, typed or
// written. Characters outside ISO-8859-1 read back as '?'.
class TEdit : public QLineEdit, public TComponent, public TAlignedControl {
    Q_OBJECT
    Q_PROPERTY(int Align READ AlignValue WRITE SetAlignValue)
    Q_PROPERTY(QString Text READ text WRITE setText)

public:
    explicit TEdit(QWidget* Parent = nullptr);

    std::string Text() const;
    void SetText(const std::string& Value);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool Value) { setEnabled(Value); }

    TNotifyEvent OnChange;
};

// A text label. Alignment places the text horizontally (at the top of the
// label); with AutoSize the label takes the size of its text, keeping its
// top-left corner, whenever the caption or the font changes (while loading,
// once in LayoutLoaded, so that the stored order does not matter). The
// caption is plain text.
class TLabel : public QLabel, public TComponent, public TAlignedControl {
    Q_OBJECT
    Q_PROPERTY(int Align READ AlignValue WRITE SetAlignValue)
    Q_PROPERTY(QString Caption READ text WRITE SetCaptionText)
    Q_PROPERTY(int Alignment READ AlignmentValue WRITE SetAlignmentValue)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)

public:
    explicit TLabel(QWidget* Parent = nullptr);

    std::string Caption() const;
    void SetCaption(const std::string& Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

    void LayoutLoaded() override;

protected:
    void changeEvent(QEvent* Event) override;

private:
    void SetCaptionText(const QString& Value);
    int AlignmentValue() const { return FAlignment; }
    void SetAlignmentValue(int Value);
    void AdjustBounds();

    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
};

}  // namespace zent
