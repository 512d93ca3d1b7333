#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QMetaProperty>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <climits>
#include <functional>

#include "Zent_Colsel.h"
#include "Zent_combobox.h"
#include "Zent_zentcolors.h"
#include "test_support.h"

using namespace zent;

namespace {

const std::vector<std::string> FirstTwenty = {
    "clBlack", "clMaroon", "clGreen",      "clOlive",   "clNavy",   "clPurple", "clTeal",
    "clGray",  "clSilver", "clRed",        "clLime",    "clYellow", "clBlue",   "clFuchsia",
    "clAqua",  "clWhite",  "clMoneyGreen", "clSkyBlue", "clCream",  "clMedGray"};

std::vector<std::string> ItemTexts(const TColSel& Sel) {
    std::vector<std::string> T;
    for (int32_t i = 0; i < Sel.Items().Count(); ++i) T.push_back(Sel.Items().Strings(i));
    return T;
}

// Sets the application's window colour (clWindow) for one scope.
struct TWindowColor : test::TPaletteColor {
    explicit TWindowColor(TColor Rgb) : TPaletteColor(QPalette::Base, QColor::fromRgb(RGBToPixel(Rgb))) {}
};

// A selector in a shown window that logs its pick events with the colour
// SelColor returns inside them.
struct ShownSelector : ::testing::Test {
    QWidget Window;
    TColSel* Sel = new TColSel(&Window);
    std::vector<std::string> Events;
    ShownSelector() {
        Window.resize(260, 220);
        Sel->SetBounds(10, 10, 180, 24);
        Sel->OnClick = [this](QObject*) { Events.push_back("click " + ColorToText(Sel->SelColor())); };
        Sel->OnChange = [this](QObject*) { Events.push_back("change " + ColorToText(Sel->SelColor())); };
        Window.show();
        QApplication::setActiveWindow(&Window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Window));
    }
    QAbstractItemView* List() { return Sel->view(); }
};

}  // namespace

TEST(StandardPalette, RowsAndTheirIdentifiers) {
    const std::pair<uint32_t, const char*> Rows[] = {
        {0x00000000, "clBlack"},
        {0x00000080, "clMaroon"},
        {0x00008000, "clGreen"},
        {0x00008080, "clOlive"},
        {0x00800000, "clNavy"},
        {0x00800080, "clPurple"},
        {0x00808000, "clTeal"},
        {0x00808080, "clGray"},
        {0x00C0C0C0, "clSilver"},
        {0x000000FF, "clRed"},
        {0x0000FF00, "clLime"},
        {0x0000FFFF, "clYellow"},
        {0x00FF0000, "clBlue"},
        {0x00FF00FF, "clFuchsia"},
        {0x00FFFF00, "clAqua"},
        {0x00FFFFFF, "clWhite"},
        {0x00C0DCC0, "clMoneyGreen"},
        {0x00F0CAA6, "clSkyBlue"},
        {0x00F0FBFF, "clCream"},
        {0x00A4A0A0, "clMedGray"},
        {0xFF00000A, "clActiveBorder"},
        {0xFF000002, "clActiveCaption"},
        {0xFF00000C, "clAppWorkSpace"},
        {0xFF000001, "clBackground"},
        {0xFF00000F, "clBtnFace"},
        {0xFF000014, "clBtnHighlight"},
        {0xFF000010, "clBtnShadow"},
        {0xFF000012, "clBtnText"},
        {0xFF000009, "clCaptionText"},
        {0x20000000, "clDefault"},
        {0xFF000011, "clGrayText"},
        {0xFF00000D, "clHighlight"},
        {0xFF00000E, "clHighlightText"},
        {0xFF00000B, "clInactiveBorder"},
        {0xFF000003, "clInactiveCaption"},
        {0xFF000013, "clInactiveCaptionText"},
        {0xFF000018, "clInfoBk"},
        {0xFF000017, "clInfoText"},
        {0xFF000004, "clMenu"},
        {0xFF000007, "clMenuText"},
        {0x1FFFFFFF, "clNone"},
        {0xFF000000, "clScrollBar"},
        {0xFF000015, "cl3DDkShadow"},
        {0xFF000016, "cl3DLight"},
        {0xFF000005, "clWindow"},
        {0xFF000006, "clWindowFrame"},
        {0xFF000008, "clWindowText"},
    };
    static_assert(std::size(Rows) == StandardPaletteSize);
    for (int32_t Row = 1; Row <= StandardPaletteSize; ++Row) {
        const auto& [Value, Identifier] = Rows[Row - 1];
        EXPECT_EQ(StandardPalette(Row), TColor(Value)) << "row " << Row;
        EXPECT_EQ(ColorToText(StandardPalette(Row)), Identifier) << "row " << Row;
    }
    EXPECT_THROW(StandardPalette(0), EListError);
    EXPECT_THROW(StandardPalette(48), EListError);
}

TEST(ColSel, EntriesBeforeTheListIsBuilt) {
    TColSel Sel;
    for (int32_t Number = 1; Number <= TColSel::MaxEntries; ++Number) {
        const TColor Want = Number <= StandardPaletteSize ? StandardPalette(Number) : clBlack;
        EXPECT_EQ(Sel.EntryColor(Number), Want) << "entry " << Number;
        EXPECT_EQ(Sel.EntryName(Number), ColorToText(Want)) << "entry " << Number;
    }
    EXPECT_THROW(Sel.EntryColor(0), EListError);
    EXPECT_THROW(Sel.EntryName(256), EListError);
    EXPECT_EQ(Sel.Items().Count(), 0) << "a selector made in code lists nothing until NumColors is set";
    EXPECT_EQ(Sel.SelColor(), clBlack);
    EXPECT_EQ(Sel.Color(), clWindow);
}

// A colour that is not listed renames the current entry: its colour, its
// name and its item text change together or not at all, whatever the name
// handler does while they change.
TEST(ColSel, AnEntrysColourAndNameChangeTogether) {
    const std::string Long = "a name long enough to live on the heap";
    int Calls = 0;
    struct TCase {
        const char* What;
        std::function<void(TColSel&)> Attach;
        TColor Color;  // entry 1 afterwards, with Name
        QString Name;
        bool Raises;
    };
    const TCase Cases[] = {
        {"renames", [](TColSel& S) { S.OnColorNameChange = [](QObject*, std::string& N) { N = "Ocean"; }; },
         0x112233, "Ocean", false},
        {"renames in Unicode",
         [](TColSel& S) {
             S.OnColorNameChange = [](QObject*, QString& N) {
                 N.prepend(QStringLiteral("\u041C\u043E\u0440\u0435 "));
             };
         },
         0x112233, QStringLiteral("\u041C\u043E\u0440\u0435 $00112233"), false},
        {"sets another colour first",
         [&](TColSel& S) {
             S.OnColorNameChange = [&S, &Calls](QObject*, std::string&) {
                 if (++Calls == 1) S.SetSelColor(0x445566);
             };
         },
         0x112233, "$00112233", false},
        {"fails",
         [](TColSel& S) { S.OnColorNameChange = [](QObject*, std::string&) { throw Exception("no name"); }; },
         clBlack, "clBlack", true},
        {"clears itself",
         [&](TColSel& S) {
             S.OnColorNameChange = [&S, Long](QObject*, std::string& N) {
                 S.OnColorNameChange = nullptr;
                 N = Long;
             };
         },
         0x112233, QString::fromStdString(Long), false},
    };
    for (const TCase& C : Cases) {
        TColSel Sel;
        Sel.SetNumColors(20);
        C.Attach(Sel);
        if (C.Raises)
            EXPECT_THROW(Sel.SetSelColor(0x112233), Exception) << C.What;
        else
            Sel.SetSelColor(0x112233);
        EXPECT_EQ(Sel.EntryColor(1), C.Color) << C.What;
        EXPECT_EQ(Sel.EntryNameQ(1), C.Name) << C.What;
        EXPECT_EQ(Sel.Items().StringsQ(0), C.Name) << C.What << ": the item, which screen readers read";
        EXPECT_EQ(Sel.EntryName(1), C.Name.toLatin1().toStdString()) << C.What << ": the Latin-1 face";
    }
}

TEST_F(ShownSelector, SelectionExamples) {
    Sel->SetNumColors(20);
    EXPECT_EQ(ItemTexts(*Sel), FirstTwenty);
    EXPECT_EQ(Sel->ItemIndex(), 0);

    Sel->SetSelColor(clRed);
    EXPECT_EQ(Sel->ItemIndex(), 9);
    EXPECT_EQ(Sel->CurrentEntry(), 10);

    for (const auto& [Base, Item] : {std::pair{clWhite, 15}, std::pair{clCream, 18}}) {
        TWindowColor Scope(Base);
        Sel->SetSelColor(clWindow);
        EXPECT_EQ(Sel->ItemIndex(), Item) << "clWindow is found by its current RGB value";
        EXPECT_EQ(Sel->SelColor(), Base) << "the listed entry keeps its own colour";
    }

    // Not listed: the current entry takes the colour and the name of its RGB value.
    Sel->SetNumColors(10);
    Sel->SetSelColor(clRed);
    Sel->SetSelColor(clSkyBlue);
    EXPECT_EQ(Sel->ItemIndex(), 9);
    EXPECT_EQ(Sel->SelColor(), TColor(0xF0CAA6));
    EXPECT_EQ(Sel->EntryName(10), "clSkyBlue");
    EXPECT_EQ(Sel->Items().Strings(9), "clSkyBlue") << "the item text follows the entry's name";
    EXPECT_EQ(Sel->EntryColor(10 + 8), clSkyBlue) << "only the current entry changes";

    Sel->SetSelColor(0x123456);
    EXPECT_EQ(Sel->EntryName(10), "$00123456");
    {
        TWindowColor Scope(0x010203);
        Sel->SetSelColor(clWindow);
        EXPECT_EQ(Sel->SelColor(), clWindow) << "a system colour is stored as it is";
        EXPECT_EQ(Sel->EntryName(10), "$00010203");
    }

    std::vector<std::string> Offered;
    Sel->OnColorNameChange = [&](QObject* Sender, std::string& Name) {
        EXPECT_EQ(Sender, Sel);
        Offered.push_back(Name);
        Name = "Mine";
    };
    Sel->SetSelColor(0xABCDEF);
    Sel->SetSelColor(clNavy);  // listed: no new name
    EXPECT_EQ(Offered, std::vector<std::string>{"$00ABCDEF"});
    EXPECT_EQ(Sel->EntryName(10), "Mine");
    EXPECT_EQ(Sel->Items().Strings(9), "Mine");
    EXPECT_EQ(Sel->ItemIndex(), 4);
    // A handler that rebuilds the list still names the entry it was called for.
    Sel->OnColorNameChange = [&](QObject*, std::string& Name) {
        Sel->SetNumColors(5);
        Name = "Late";
    };
    Sel->SetSelColor(0xA0B0C0);
    EXPECT_EQ(Sel->EntryName(5), "Late");
    EXPECT_EQ(ItemTexts(*Sel),
              (std::vector<std::string>{"clBlack", "clMaroon", "clGreen", "clOlive", "Late"}));
    Sel->OnColorNameChange = nullptr;

    Sel->SetNumColors(50);
    ASSERT_EQ(Sel->Items().Count(), 50);
    EXPECT_EQ(Sel->Items().Strings(9), "Mine") << "entries last for the life of the selector";
    for (int i = 47; i < 50; ++i) EXPECT_EQ(Sel->Items().Strings(i), "clBlack");
    EXPECT_EQ(Sel->EntryColor(50), clBlack);
    Sel->SetSelColor(clYellow);
    for (const int32_t Ignored : {0, 256, -1, INT_MAX}) Sel->SetNumColors(Ignored);
    EXPECT_EQ(Sel->NumColors(), 50);
    EXPECT_EQ(Sel->ItemIndex(), 11);
    Sel->SetNumColors(50);
    EXPECT_EQ(Sel->CurrentEntry(), 1) << "setting the same count selects entry 1 again";
    EXPECT_EQ(Sel->ItemIndex(), 0);

    Sel->SetColorBarWidth(0);
    Sel->SetColorBarWidth(-5);
    EXPECT_EQ(Sel->ColorBarWidth(), 0);

    EXPECT_TRUE(Events.empty()) << "setters raise no OnClick or OnChange";
}

// What DrawItem paints into an item at (L, T, R, B) of a surface filled with
// a marker colour; every pixel is checked against the rules.
TEST(ColSel, ItemPixels) {
    constexpr TColor Marker = 0x00123457, Background = 0x00E0FFFF;
    constexpr int32_t L = 5, T = 4, R = 175, B = 20;
    const std::tuple<const char*, bool, int32_t, int32_t, TOwnerDrawState> Cases[] = {
        {"enabled_red", true, 30, 9, 0},
        {"enabled_red_selected", true, 30, 9, odSelected},  // the selection does not show
        {"enabled_narrow", true, 1, 9, 0},
        {"enabled_no_bar", true, 0, 9, 0},
        {"enabled_none", true, 30, 40, 0},
        {"enabled_default", true, 12, 29, 0},
        {"enabled_endless_bar", true, INT32_MAX, 9, 0},
        {"disabled_red", false, 30, 9, 0},
        {"disabled_no_bar", false, 0, 9, 0},
    };
    TColSel Sel;
    Sel.SetNumColors(StandardPaletteSize);
    Sel.SetColor(Background);
    for (const auto& [Name, Enabled, BarWidth, Index, State] : Cases) {
        SCOPED_TRACE(Name);
        Sel.SetEnabled(Enabled);
        Sel.SetColorBarWidth(BarWidth);
        QImage Image(R + 12, B + 8, QImage::Format_RGB32);
        Image.fill(RGBToPixel(Marker));
        {
            QPainter P(&Image);
            Sel.PaintItem(P, Image.width(), Image.height(), Index, Rect(L, T, R, B), State);
        }
        test::SavePicture(Image.scaled(Image.size() * 4), std::string("colsel_item_") + Name);

        const TColor Entry = Sel.EntryColor(Index + 1), TextBack = Enabled ? Background : clSilver;
        const bool NoColor = Entry == clNone || Entry == clDefault;
        const int64_t BarRight = int64_t(L) + 3 + BarWidth, TextX = BarRight + 3;
        int64_t FirstGlyph = INT64_MAX;
        int LastStrokeY = B;
        for (int X = 0; X < Image.width(); ++X)
            for (int Y = 0; Y < Image.height(); ++Y) {
                const TColor Got = test::PixelAt(Image, X, Y);
                const bool InBar = BarWidth > 0 && X >= L + 3 && X < BarRight && Y >= T + 2 && Y < B - 2;
                const bool BarEdge = InBar && (X == L + 3 || X == BarRight - 1 || Y == T + 2 || Y == B - 3);
                const bool Grey =
                    !Enabled && BarWidth > 0 && X >= L - 1 && X < BarRight && Y >= T - 1 && Y <= B;
                const bool InText = X >= BarRight && X < R && Y >= T && Y < B;
                if (InText && Got != TextBack) FirstGlyph = std::min<int64_t>(FirstGlyph, X);
                if (InBar && Enabled && NoColor && Got == clBlack && !BarEdge) {
                    ASSERT_LE(Y, LastStrokeY) << "one stroke, rising to the right, at " << X;
                    LastStrokeY = Y;
                    continue;
                }
                const TColor Want = BarEdge                ? (Enabled ? clBlack : clGray)
                                    : InBar && !Enabled    ? clSilver
                                    : InBar && NoColor     ? ColorToRGB(clWindow)
                                    : InBar                ? Entry
                                    : Grey                 ? clSilver
                                    : InText && X >= TextX ? Got  // glyphs
                                    : InText               ? TextBack
                                                           : Marker;
                ASSERT_EQ(Got, Want) << "pixel " << X << "," << Y;
            }
        EXPECT_EQ(FirstGlyph <= TextX + 2, TextX < R) << "the name starts 3 pixels after the bar";
        if (NoColor) {
            EXPECT_EQ(test::PixelAt(Image, L + 4, B - 4), clBlack) << "the stroke starts at the lower left";
            EXPECT_EQ(LastStrokeY, T + 3) << "and ends at the top";
        }
    }
}

// The open list of the demo's twenty colours: the README's picture, and the
// bars drawn in device pixels at a device pixel ratio of 2.
TEST_F(ShownSelector, OpenListOfTwentyStaysCrispAtRatioTwo) {
    Sel->SetNumColors(20);
    Sel->SetDropDownCount(20);
    Sel->SetSelColor(clRed);
    Sel->showPopup();
    QApplication::processEvents();
    QWidget* Popup = List()->window();
    const QPoint At = Popup->mapToGlobal(QPoint(0, 0)) - Window.mapToGlobal(QPoint(0, 0));
    QImage Picture(Sel->width() + 20, At.y() + Popup->height() + 10, QImage::Format_RGB32);
    Picture.fill(Window.palette().color(QPalette::Window));
    {
        QPainter P(&Picture);
        P.drawImage(0, 0, test::Grab(Window));
        P.drawImage(At, test::Grab(*Popup));
    }
    test::SavePicture(Picture, "colsel_open_list");

    QWidget* Viewport = List()->viewport();
    QImage Image(Viewport->size() * 2, QImage::Format_RGB32);
    Image.setDevicePixelRatio(2);
    Viewport->render(&Image);
    Image.setDevicePixelRatio(1);
    test::SavePicture(Image, "colsel_list_dpr2");
    for (int Item = 0; Item < 20; ++Item) {
        const TColor Inside = Sel->EntryColor(Item + 1);
        const int Top = 2 * (16 * Item + 2), Bottom = 2 * (16 * Item + 14), Left = 2 * 3, Right = 2 * 33;
        for (int Y = Top; Y < Bottom; ++Y)
            for (int X = Left; X < Right; ++X) {
                const bool Outline = X < Left + 2 || X >= Right - 2 || Y < Top + 2 || Y >= Bottom - 2;
                ASSERT_EQ(test::PixelAt(Image, X, Y), Outline ? clBlack : Inside)
                    << FirstTwenty[Item] << " " << X << "," << Y;
            }
    }
    Sel->hidePopup();
}

TEST_F(ShownSelector, ClosedBoxFollowsEnabled) {
    Sel->SetNumColors(20);
    Sel->SetSelColor(clRed);
    const QImage Enabled = test::Grab(*Sel);
    const int Y = Enabled.height() / 2;
    int Red = 0;  // the bar's first inner column
    while (Red < Enabled.width() && test::PixelAt(Enabled, Red, Y) != clRed) ++Red;
    ASSERT_LT(Red, Enabled.width());
    EXPECT_EQ(test::PixelAt(Enabled, Red - 1, Y), clBlack);
    Sel->SetEnabled(false);
    EXPECT_FALSE(Sel->isEnabled());
    const QImage Disabled = test::Grab(*Sel);
    EXPECT_EQ(test::PixelAt(Disabled, Red - 1, Y), clGray);
    EXPECT_EQ(test::PixelAt(Disabled, Red, Y), clSilver) << "the colour is not shown";
    Sel->SetEnabled(true);
    EXPECT_EQ(test::PixelAt(test::Grab(*Sel), Red - 1, Y), clBlack);
    test::SavePicture(Enabled.scaled(Enabled.size() * 4), "colsel_closed_enabled");
    test::SavePicture(Disabled.scaled(Disabled.size() * 4), "colsel_closed_disabled");
}

TEST_F(ShownSelector, RealPicksSetTheColourBeforeTheEvents) {
    Sel->SetNumColors(20);
    Sel->SetSelColor(clGreen);
    Sel->SetItemIndex(3);
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(Sel->SelColor(), clGreen) << "ItemIndex writes do not pick";

    Sel->setFocus();
    Sel->SetItemIndex(2);
    QTest::keyClick(Sel, Qt::Key_Down);
    EXPECT_EQ(Events, (std::vector<std::string>{"click clOlive", "change clOlive"}));

    Events.clear();
    Sel->showPopup();
    QApplication::processEvents();
    const QRect Row = List()->visualRect(Sel->model()->index(6, 0));
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, Row.center());
    EXPECT_EQ(Events, (std::vector<std::string>{"click clTeal", "change clTeal"}));
    EXPECT_EQ(Sel->CurrentEntry(), 7);

    Events.clear();
    QTest::keyClicks(Sel, "clsk");
    ASSERT_GE(Events.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(Events.end() - 2, Events.end()),
              (std::vector<std::string>{"click clSkyBlue", "change clSkyBlue"}))
        << "typing a name's first letters picks it";
    EXPECT_EQ(Sel->SelColor(), clSkyBlue);
}

TEST_F(ShownSelector, ScreenReadersReadTheNames) {
    Sel->SetNumColors(20);
    Sel->OnColorNameChange = [](QObject*, std::string& Name) { Name = "Ocean"; };
    Sel->SetSelColor(0x00804020);  // not listed: entry 1 is renamed
    QAccessibleInterface* List = QAccessible::queryAccessibleInterface(Sel->view());
    ASSERT_NE(List, nullptr);
    ASSERT_EQ(List->childCount(), 20);
    std::vector<std::string> Read;
    for (int i = 0; i < 20; ++i) Read.push_back(List->child(i)->text(QAccessible::Name).toStdString());
    std::vector<std::string> Want = FirstTwenty;
    Want[0] = "Ocean";
    EXPECT_EQ(Read, Want);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Sel)->text(QAccessible::Name).toStdString(), "Ocean")
        << "the closed box reads the selected name";
}

TEST(ColSel, LoadsFromAStoredLayout) {
    // The published properties in the order a layout stores them: the
    // drop-down list's own first, NumColors before SelColor.
    const char* const Published[] = {"Color",         "DropDownCount", "Enabled",
                                     "ColorBarWidth", "NumColors",     "SelColor"};
    const QMetaObject& Meta = TColSel::staticMetaObject;
    for (std::size_t i = 1; i < std::size(Published); ++i)
        EXPECT_LT(Meta.indexOfProperty(Published[i - 1]), Meta.indexOfProperty(Published[i])) << Published[i];

    QWidget Window;
    TColSel* Sel;
    {
        TLayoutLoading Loading;
        Sel = new TColSel(&Window);
        const std::pair<const char*, QVariant> Stored[] = {
            {"Color", QColor(Qt::white)}, {"DropDownCount", 8}, {"Enabled", false},
            {"ColorBarWidth", 30},        {"NumColors", 20},    {"SelColor", QColor(Qt::red)}};
        for (const auto& [Name, Value] : Stored) EXPECT_TRUE(Sel->setProperty(Name, Value)) << Name;
        EXPECT_TRUE(Sel->ComponentState() & csLoading);
        EXPECT_EQ(Sel->ItemIndex(), 9) << "NumColors built the list before SelColor chose from it";
        Sel->SetItemIndex(-1);  // LayoutLoaded selects the current entry again
    }
    EXPECT_FALSE(Sel->ComponentState() & csLoading);
    EXPECT_EQ(ItemTexts(*Sel), FirstTwenty);
    EXPECT_EQ(Sel->ItemIndex(), 9);
    EXPECT_EQ(Sel->SelColor(), clRed);
    EXPECT_FALSE(Sel->Enabled());
    EXPECT_FALSE(Sel->isEnabled()) << "\"Enabled\" reaches the control";
    EXPECT_EQ(Sel->property("Enabled").toBool(), false);
}

// In a layout the selector is as wide as a QComboBox of the same names,
// plus its bar and the bar's margins, and follows the list, the bar and the
// names as they change.
TEST(ColSel, SizeHintsFollowTheNamesAndTheBar) {
    QWidget Window;
    QVBoxLayout Layout(&Window);
    Layout.setContentsMargins(0, 0, 0, 0);
    auto* Sel = new TColSel;
    Layout.addWidget(Sel);
    Window.show();
    Sel->SetNumColors(Sel->NumColors());
    auto ComboBoxHint = [&](int32_t Count) {
        QComboBox Plain;
        Plain.setFont(Sel->font());
        for (int32_t Number = 1; Number <= Count; ++Number)
            Plain.addItem(QString::fromLatin1(Sel->EntryName(Number).c_str()));
        return Plain.sizeHint();
    };
    struct TStep {
        const char* What;
        std::function<void()> Change;
    };
    const TStep Steps[] = {
        {"as made", [] {}},
        {"three short names", [&] { Sel->SetNumColors(3); }},
        {"a wider bar", [&] { Sel->SetColorBarWidth(60); }},
        {"a longer name", [&] { Sel->SetSelColor(0x123456); }},  // entry 1 becomes "$00123456"
        {"no bar", [&] { Sel->SetColorBarWidth(0); }},
        {"all 255", [&] { Sel->SetNumColors(255); }},
    };
    int PreviousWidth = 0;
    for (const TStep& Step : Steps) {
        Step.Change();
        const QSize Plain = ComboBoxHint(Sel->NumColors());
        const QSize Expected(Plain.width() + Sel->ColorBarWidth() + 6, Plain.height());
        EXPECT_EQ(Sel->sizeHint(), Expected) << Step.What;
        EXPECT_EQ(Sel->minimumSizeHint(), Expected) << Step.What;
        Window.adjustSize();
        EXPECT_EQ(Sel->size(), Expected) << Step.What << ": the layout took the new hint";
        EXPECT_NE(Sel->width(), PreviousWidth) << Step.What;
        PreviousWidth = Sel->width();
    }
}
