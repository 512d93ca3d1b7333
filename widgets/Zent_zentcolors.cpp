#include "Zent_zentcolors.h"

#include "Zent_sysutils.h"

namespace zent {

TColor StandardPalette(int32_t Row) {
    if (Row < 1 || Row > StandardPaletteSize) throw EListError::OutOfBounds(Row);
    return StandardPaletteRows[std::size_t(Row - 1)];
}

}  // namespace zent
