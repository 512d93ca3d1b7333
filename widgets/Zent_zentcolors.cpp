#include "Zent_zentcolors.h"

#include "Zent_combobox.h"

namespace zent {

TColor StandardPalette(int32_t Row) {
    if (Row < 1 || Row > StandardPaletteSize)
        throw EListError(Format("List index out of bounds (%s)", {std::to_string(Row)}));
    return StandardPaletteRows[std::size_t(Row - 1)];
}

}  // namespace zent
