#include <gtest/gtest.h>

#include "Zent_combobox.h"
#include "Zent_zentcolors.h"

using namespace zent;

TEST(StandardPalette, RowsAndTheirIdentifiers) {
    struct TRow {
        int32_t Row;
        uint32_t Value;
        const char* Identifier;
    };
    const TRow Rows[] = {
        {1, 0x00000000, "clBlack"},          {2, 0x00000080, "clMaroon"},
        {3, 0x00008000, "clGreen"},          {4, 0x00008080, "clOlive"},
        {5, 0x00800000, "clNavy"},           {6, 0x00800080, "clPurple"},
        {7, 0x00808000, "clTeal"},           {8, 0x00808080, "clGray"},
        {9, 0x00C0C0C0, "clSilver"},         {10, 0x000000FF, "clRed"},
        {11, 0x0000FF00, "clLime"},          {12, 0x0000FFFF, "clYellow"},
        {13, 0x00FF0000, "clBlue"},          {14, 0x00FF00FF, "clFuchsia"},
        {15, 0x00FFFF00, "clAqua"},          {16, 0x00FFFFFF, "clWhite"},
        {17, 0x00C0DCC0, "clMoneyGreen"},    {18, 0x00F0CAA6, "clSkyBlue"},
        {19, 0x00F0FBFF, "clCream"},         {20, 0x00A4A0A0, "clMedGray"},
        {21, 0xFF00000A, "clActiveBorder"},  {22, 0xFF000002, "clActiveCaption"},
        {23, 0xFF00000C, "clAppWorkSpace"},  {24, 0xFF000001, "clBackground"},
        {25, 0xFF00000F, "clBtnFace"},       {26, 0xFF000014, "clBtnHighlight"},
        {27, 0xFF000010, "clBtnShadow"},     {28, 0xFF000012, "clBtnText"},
        {29, 0xFF000009, "clCaptionText"},   {30, 0x20000000, "clDefault"},
        {31, 0xFF000011, "clGrayText"},      {32, 0xFF00000D, "clHighlight"},
        {33, 0xFF00000E, "clHighlightText"}, {34, 0xFF00000B, "clInactiveBorder"},
        {35, 0xFF000003, "clInactiveCaption"}, {36, 0xFF000013, "clInactiveCaptionText"},
        {37, 0xFF000018, "clInfoBk"},        {38, 0xFF000017, "clInfoText"},
        {39, 0xFF000004, "clMenu"},          {40, 0xFF000007, "clMenuText"},
        {41, 0x1FFFFFFF, "clNone"},          {42, 0xFF000000, "clScrollBar"},
        {43, 0xFF000015, "cl3DDkShadow"},    {44, 0xFF000016, "cl3DLight"},
        {45, 0xFF000005, "clWindow"},        {46, 0xFF000006, "clWindowFrame"},
        {47, 0xFF000008, "clWindowText"},
    };
    static_assert(std::size(Rows) == StandardPaletteSize);
    for (const TRow& R : Rows) {
        EXPECT_EQ(StandardPalette(R.Row), TColor(R.Value)) << "row " << R.Row;
        EXPECT_EQ(ColorToText(StandardPalette(R.Row)), R.Identifier) << "row " << R.Row;
    }
    EXPECT_THROW(StandardPalette(0), EListError);
    EXPECT_THROW(StandardPalette(48), EListError);
}

