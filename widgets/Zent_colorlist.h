// TColorList: the colour selector's entries, free of widgets: 255 numbered
// colours with names, how many of them are listed, which one is current,
// and how a colour is selected or names a new entry. TColSel is one face of
// it; a list model for Qt Quick is another.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "Zent_events.h"
#include "Zent_graphics.h"

class QObject;

namespace zent {

// Called with the selector and the name a newly set colour gets; the handler
// may change the name, and the selector keeps the changed text.
using TOnColorNameChangeEvent = TTextEvent;

// Entries are numbered from 1: entries 1..47 start as the standard palette
// under their identifiers, the rest as black "clBlack". The first NumColors
// are listed.
class TColorList {
public:
    static constexpr int32_t MaxEntries = 255;

    TColorList();

    // Entry Number (1..255); another number raises EListError.
    TColor EntryColor(int32_t Number) const { return Entry(Number).Color; }
    QString EntryName(int32_t Number) const { return Entry(Number).Name; }
    // clNone and clDefault are no colours: a selector draws their bar in the
    // window colour, struck through.
    static bool IsNoColor(TColor Color) { return Color == clNone || Color == clDefault; }

    // Entries listed, 1..255; other values are ignored (false). Setting it,
    // also to the present value, selects entry 1.
    int32_t NumColors() const { return FNumColors; }
    bool SetNumColors(int32_t Value);
    // The entry SelColor reads and writes, 1..NumColors.
    int32_t CurrentEntry() const { return FCurrentEntry; }
    // A pick: Number becomes current when it is listed; others are ignored.
    void Pick(int32_t Number);

    TColor SelColor() const { return EntryColor(FCurrentEntry); }
    // Selects the first listed entry whose colour has Value's RGB value
    // (system colours compare by their current RGB) and returns 0. When none
    // has, the current entry takes Value as it is and the name ColorToText
    // of its RGB value, which OnNameChange (raised with Sender) may change;
    // returns that entry's number. The handler may select another entry; the
    // one renamed is the one current when it was called.
    int32_t SelectColor(TColor Value, const TOnColorNameChangeEvent& OnNameChange, QObject* Sender);

private:
    struct TEntry {
        TColor Color = clBlack;
        QString Name;
    };
    // The one place where entry numbers become array indexes.
    const TEntry& Entry(int32_t Number) const;
    TEntry& Entry(int32_t Number);

    int32_t FCurrentEntry = 1;
    int32_t FNumColors = 20;
    std::array<TEntry, MaxEntries> FEntries;
};

}  // namespace zent
