#include "Zent_colorlist.h"

#include <utility>

#include "Zent_latin1.h"
#include "Zent_sysutils.h"
#include "Zent_zentcolors.h"

namespace zent {

TColorList::TColorList() {
    for (int32_t Number = 1; Number <= MaxEntries; ++Number) {
        TEntry& E = Entry(Number);
        E.Color = Number <= StandardPaletteSize ? StandardPalette(Number) : clBlack;
        E.Name = Latin1ToQString(ColorToText(E.Color));
    }
}

const TColorList::TEntry& TColorList::Entry(int32_t Number) const {
    if (Number < 1 || Number > MaxEntries) throw EListError::OutOfBounds(Number);
    return FEntries[std::size_t(Number - 1)];
}

TColorList::TEntry& TColorList::Entry(int32_t Number) {
    return const_cast<TEntry&>(std::as_const(*this).Entry(Number));
}

bool TColorList::SetNumColors(int32_t Value) {
    if (Value < 1 || Value > MaxEntries) return false;
    FNumColors = Value;
    FCurrentEntry = 1;
    return true;
}

void TColorList::Pick(int32_t Number) {
    if (Number >= 1 && Number <= FNumColors) FCurrentEntry = Number;
}

int32_t TColorList::SelectColor(TColor Value, const TOnColorNameChangeEvent& OnNameChange, QObject* Sender) {
    const TColor Rgb = ColorToRGB(Value);
    for (int32_t Number = 1; Number <= FNumColors; ++Number) {
        if (ColorToRGB(Entry(Number).Color) != Rgb) continue;
        FCurrentEntry = Number;
        return 0;
    }
    // The entry is the one current now, whatever the handler selects. Its
    // colour and name are stored together after the handler: one that fails
    // changes nothing, one that sets SelColor too cannot part them.
    const int32_t Number = FCurrentEntry;
    QString Name = Latin1ToQString(ColorToText(Rgb));
    Raise(OnNameChange, Sender, Name);
    Entry(Number) = {Value, Name};
    return Number;
}

}  // namespace zent
