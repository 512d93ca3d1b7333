// The standard palette: the colours with which every colour selector fills
// its first entries, in the order the selector lists them.
#pragma once

#include <array>
#include <cstdint>

#include "Zent_graphics.h"

namespace zent {

inline constexpr int32_t StandardPaletteSize = 47;

// The 16 basic colours, four further named colours, then the system colours
// and the two special values clDefault and clNone: the colour identifier
// table (ColorIdents) in its order without clGradientActiveCaption,
// clGradientInactiveCaption, clHotLight, clMenuBar and clMenuHighlight. So
// ColorToText of each row gives the row's identifier.
inline constexpr std::array<TColor, StandardPaletteSize> StandardPaletteRows = {
    clBlack,
    clMaroon,
    clGreen,
    clOlive,
    clNavy,
    clPurple,
    clTeal,
    clGray,
    clSilver,
    clRed,
    clLime,
    clYellow,
    clBlue,
    clFuchsia,
    clAqua,
    clWhite,
    clMoneyGreen,
    clSkyBlue,
    clCream,
    clMedGray,
    clActiveBorder,
    clActiveCaption,
    clAppWorkSpace,
    clBackground,
    clBtnFace,
    clBtnHighlight,
    clBtnShadow,
    clBtnText,
    clCaptionText,
    clDefault,
    clGrayText,
    clHighlight,
    clHighlightText,
    clInactiveBorder,
    clInactiveCaption,
    clInactiveCaptionText,
    clInfoBk,
    clInfoText,
    clMenu,
    clMenuText,
    clNone,
    clScrollBar,
    cl3DDkShadow,
    cl3DLight,
    clWindow,
    clWindowFrame,
    clWindowText,
};

namespace detail {
constexpr bool AllDistinct(const std::array<TColor, StandardPaletteSize>& Rows) {
    for (std::size_t i = 0; i < Rows.size(); ++i)
        for (std::size_t j = i + 1; j < Rows.size(); ++j)
            if (Rows[i] == Rows[j]) return false;
    return true;
}
}  // namespace detail
static_assert(detail::AllDistinct(StandardPaletteRows),
              "a selector finds each palette colour at its own row");

// Row 1..47 of the palette; another row raises EListError (Zent_sysutils.h)
// "List index out of bounds (%s)".
TColor StandardPalette(int32_t Row);

}  // namespace zent
