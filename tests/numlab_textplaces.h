// Where a numeric label puts its three texts, for every alignment: one
// table, which test_numlab checks at device pixel ratio 1 and test_hidpi at
// ratio 2, by finding the glyphs on the label's picture.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <functional>
#include <optional>
#include <string>

#include "Zent_NumLab.h"
#include "test_support.h"

namespace zent::test {

enum class TTextZone { Left, Value, Right };

// The label of the table: 200 x 28, LeftSpace 40 and LabelWidth 80, so the
// left-text zone is x 0 to 40, the value box 41 to 120 (its text rectangle
// 43 to 118) and the right-text zone 121 to 199.
inline constexpr int PlacesWidth = 200, PlacesHeight = 28, PlacesLeftSpace = 40, PlacesLabelWidth = 80;
inline constexpr TColor PlacesOutside = clWhite, PlacesBox = clYellow;

struct TTextPlace {
    TTextZone Zone;
    TAlignment Alignment;
    int Width;  // of the text's cell
    int X;      // where the cell starts
};

// Texts of an even and an odd width, so that centring shows which side
// gets the odd pixel.
inline constexpr TTextPlace TextPlaces[] = {
    {TTextZone::Left, taLeftJustify, 20, 7},  // 7 in from the left edge
    {TTextZone::Left, taLeftJustify, 21, 7},
    {TTextZone::Left, taRightJustify, 20, 15},  // ending 5 before the box
    {TTextZone::Left, taRightJustify, 21, 14},
    {TTextZone::Left, taCenter, 20, 10},  // the odd pixel on the right
    {TTextZone::Left, taCenter, 21, 9},
    {TTextZone::Value, taLeftJustify, 20, 44},  // 1 in from the text rectangle
    {TTextZone::Value, taLeftJustify, 21, 44},
    {TTextZone::Value, taRightJustify, 20, 98},  // ending 1 past it
    {TTextZone::Value, taRightJustify, 21, 97},
    {TTextZone::Value, taCenter, 20, 72},
    {TTextZone::Value, taCenter, 21, 71},
    {TTextZone::Right, taLeftJustify, 20, 127},  // 7 after the box
    {TTextZone::Right, taLeftJustify, 21, 127},
    {TTextZone::Right, taRightJustify, 20, 174},  // ending 6 before the right edge
    {TTextZone::Right, taRightJustify, 21, 173},
    {TTextZone::Right, taCenter, 20, 151},
    {TTextZone::Right, taCenter, 21, 150},
};

// A text the font measures at exactly Width pixels, or "" if none of the
// texts tried has that width.
inline std::string TextOfWidth(const TFont& Font, int Width) {
    TBitmap Measure;
    Measure.SetSize(1, 1);
    Measure.Canvas().Font = Font;
    for (const char* Pair : {"0.", "0i", "0-", ".i", "0:"})
        for (int a = 0; a < 12; ++a)
            for (int b = 0; b < 12; ++b) {
                const std::string S = std::string(a, Pair[0]) + std::string(b, Pair[1]);
                if (Measure.Canvas().TextWidth(S) == Width) return S;
            }
    return "";
}

// Sets up Lab as the table's label showing one text in Place's zone with
// Place's alignment, nothing in the other zones.
inline void ShowTextAt(TNumLab& Lab, const TTextPlace& Place, const QString& Text) {
    Lab.SetBounds(Lab.Left(), Lab.Top(), PlacesWidth, PlacesHeight);
    Lab.SetLeftSpace(PlacesLeftSpace);
    Lab.SetLabelWidth(PlacesLabelWidth);
    Lab.SetColorOutBakG(PlacesOutside);
    Lab.SetColorLabBakG(PlacesBox);
    Lab.SetDisplayType(dtState);
    Lab.SetLeftText(Place.Zone == TTextZone::Left ? Text : QString());
    Lab.SetRightText(Place.Zone == TTextZone::Right ? Text : QString());
    Lab.SetEmpty(Place.Zone != TTextZone::Value);
    Lab.SetStateText(Text);
    Lab.SetLeftTextAlignment(Place.Alignment);
    Lab.SetRightTextAlignment(Place.Alignment);
    Lab.SetAlignment(Place.Alignment);
}

// Where Text landed on Shot, a picture of the table's label in device
// pixels at Ratio: the top-left corner of its cell, in device pixels. The
// glyphs are found inside the zone and matched against the text drawn alone
// at Ratio in Font; none when they differ from it.
inline std::optional<QPoint> FoundCell(const QImage& Shot, int Ratio, TTextZone Zone, const TFont& Font,
                                       const QString& Text) {
    const QRect Logical = Zone == TTextZone::Left ? QRect(0, 0, PlacesLeftSpace + 1, PlacesHeight)
                          : Zone == TTextZone::Right
                              ? QRect(PlacesLeftSpace + PlacesLabelWidth + 1, 0,
                                      PlacesWidth - PlacesLeftSpace - PlacesLabelWidth - 1, PlacesHeight)
                              : QRect(PlacesLeftSpace + 3, 2, PlacesLabelWidth - 4, PlacesHeight - 5);
    const TColor Background = Zone == TTextZone::Value ? PlacesBox : PlacesOutside;
    // The text alone, its cell at (Margin, 0), the glyphs free to overhang it.
    constexpr int Margin = 8;
    TBitmap Alone;
    Alone.SetPixelRatio(Ratio);
    Alone.Canvas().Brush.SetColor(Background);
    Alone.SetSize(PlacesWidth, PlacesHeight);
    Alone.Canvas().Font = Font;
    Alone.Canvas().Font.Color = clBlack;
    Alone.Canvas().TextOut(Margin, 0, Text);
    QImage Reference = ImageOf(Alone).convertToFormat(QImage::Format_RGB32);
    Reference.setDevicePixelRatio(1);
    const QRect Want = PaintedBounds(Reference, Reference.rect(), Background);
    const QRect Got =
        PaintedBounds(Shot, QRect(Logical.topLeft() * Ratio, Logical.size() * Ratio), Background);
    if (Want.isEmpty() || Got.size() != Want.size() || Shot.copy(Got) != Reference.copy(Want))
        return std::nullopt;
    return Got.topLeft() - Want.topLeft() + QPoint(Margin * Ratio, 0);
}

// Shows each row of the table on Lab and expects its text where the row
// says, on the picture Grab returns: Lab in device pixels at Ratio.
inline void ExpectTextPlaces(TNumLab& Lab, int Ratio, const std::function<QImage()>& Grab) {
    std::optional<int> Row;
    for (const TTextPlace& P : TextPlaces) {
        const std::string Text = TextOfWidth(Lab.Font(), P.Width);
        ASSERT_FALSE(Text.empty()) << "no text " << P.Width << " pixels wide in this font";
        ShowTextAt(Lab, P, QString::fromStdString(Text));
        const QImage Shot = Grab();
        ASSERT_EQ(Shot.size(), QSize(PlacesWidth, PlacesHeight) * Ratio);
        const std::optional<QPoint> Cell =
            FoundCell(Shot, Ratio, P.Zone, Lab.Font(), QString::fromStdString(Text));
        const std::string Case = "zone " + std::to_string(int(P.Zone)) + ", alignment " +
                                 std::to_string(int(P.Alignment)) + ", width " + std::to_string(P.Width);
        ASSERT_TRUE(Cell) << Case << ": not the glyphs of the text drawn alone at ratio " << Ratio << ", in "
                          << SavePicture(Shot, "numlab_places_" + std::to_string(Ratio));
        EXPECT_EQ(Cell->x(), P.X * Ratio) << Case;
        if (!Row) Row = Cell->y();
        EXPECT_EQ(Cell->y(), *Row) << Case << ": one row for all texts";
    }
    // The row starts on a logical pixel, centred in the label's height, the
    // odd pixel below it.
    const int Spare = PlacesHeight - Lab.SampleHeight();
    EXPECT_EQ(*Row % Ratio, 0);
    EXPECT_EQ(Spare - 2 * (*Row / Ratio), Spare % 2);
}

}  // namespace zent::test
