// The Qt Quick items against the widgets they stand for: the same pixels
// for the same settings, the same setter rules, one notification per real
// change, and the selector's list as a model.
#include <QAccessible>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "Zent_Colsel.h"
#include "Zent_NumLab.h"
#include "Zent_qmlcolors.h"
#include "Zent_qmlenums.h"
#include "Zent_qmlnumlab.h"
#include "Zent_qmlsevenseg.h"
#include "Zent_qmltexture.h"
#include "Zent_sevenseg.h"
#include "test_support.h"

namespace zent {
namespace {

// One window with the software renderer; items made from QML text.
class TScene {
public:
    TScene() {
        FWindow.setColor(QColor(255, 0, 255));  // shows wherever an item leaves a pixel undrawn
        FWindow.resize(400, 200);
        FWindow.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&FWindow));
    }
    // Makes Qml (an item, with QtQuick and Zent imported) at the window's top left.
    template <class T>
    T* Make(const QString& Qml) {
        QQmlComponent Component(&FEngine);
        Component.setData(("import QtQuick\nimport Zent\n" + Qml).toUtf8(), QUrl("qrc:/zent_test.qml"));
        QObject* Made = Component.create();
        EXPECT_TRUE(Made) << Component.errorString().toStdString() << qPrintable(Component.errors().value(0).toString());
        auto* Item = qobject_cast<T*>(Made);
        if (!Item) return nullptr;
        Item->setParentItem(FWindow.contentItem());
        Item->setParent(FWindow.contentItem());  // dies with the window
        return Item;
    }
    // The item's pixels on the window, in device pixels.
    QImage Shot(const QQuickItem& Item) {
        const QImage Window = FWindow.grabWindow().convertToFormat(QImage::Format_RGB32);
        // The software renderer's grab is in device pixels but does not say so.
        const qreal r = qreal(Window.width()) / FWindow.width();
        return Window.copy(QRectF(Item.x() * r, Item.y() * r, Item.width() * r, Item.height() * r).toRect());
    }
    QQuickWindow& Window() { return FWindow; }

private:
    QQmlEngine FEngine;
    QQuickWindow FWindow;
};

// Device pixels of a widget's fresh paint.
QImage WidgetShot(QWidget& Widget) {
    return Widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Expects equal pixels; saves both pictures when they differ, and always
// the item's, for a person to look at.
void ExpectSamePixels(const QImage& Item, const QImage& Widget, const std::string& Name) {
    test::SavePicture(Item, "qml_" + Name);
    ASSERT_EQ(Item.size(), Widget.size()) << Name;
    int Differ = 0;
    QPoint First;
    for (int y = 0; y < Item.height(); ++y)
        for (int x = 0; x < Item.width(); ++x)
            if ((Item.pixel(x, y) & 0xFFFFFF) != (Widget.pixel(x, y) & 0xFFFFFF) && Differ++ == 0) First = {x, y};
    if (Differ)
        ADD_FAILURE() << Name << ": " << Differ << " pixels differ, the first at (" << First.x() << ", " << First.y()
                      << "); see " << test::SavePicture(Widget, "qml_" + Name + "_widget");
}

// ------------------------------------------------------------ seven-segment display

struct TDisplayCase {
    const char* Name;
    QString Qml;  // the item's properties
    int W, H;
    std::function<void(TSevenSeg&)> Widget;
};

TEST(QmlSevenSegment, DrawsTheWidgetsPixelsForTheSameSettings) {
    const TDisplayCase Cases[] = {
        {"defaults", "", 216, 76, [](TSevenSeg&) {}},
        {"clock_raised", "caption: '12:34'; numDigits: 5; frameStyle: Zent.FsRaised", 300, 90,
         [](TSevenSeg& S) {
             S.SetCaption("12:34");
             S.SetNumDigits(5);
             S.SetFrameStyle(fsRaised);
         }},
        {"degrees_simple_green",
         "caption: '-3.5\u00B0C'; numDigits: 6; frameStyle: Zent.FsSimple; colorText: 'lime'; "
         "colorBackGnd: 'black'; margin: 4; interDigDist: 6",
         250, 60,
         [](TSevenSeg& S) {
             S.SetNumDigits(6);
             S.SetCaption(QStringLiteral("-3.5\u00B0C"));
             S.SetFrameStyle(fsSimple);
             S.SetColorText(clLime);
             S.SetColorBackGnd(clBlack);
             S.SetMargin(4);
             S.SetInterDigDist(6);
         }},
        {"cells_reach_the_frame", "caption: 'AbCdEF'; numDigits: 6; frameStyle: Zent.FsEngraved; margin: 1", 200,
         50,
         [](TSevenSeg& S) {
             S.SetNumDigits(6);
             S.SetCaption("AbCdEF");
             S.SetFrameStyle(fsEngraved);
             S.SetMargin(1);
         }},
        {"negative_margin_embossed", "caption: '0.1.2'; margin: -6; frameStyle: Zent.FsEmbossed", 180, 70,
         [](TSevenSeg& S) {
             S.SetCaption("0.1.2");
             S.SetMargin(-6);
             S.SetFrameStyle(fsEmbossed);
         }},
        {"overlapping_cells_white", "caption: '8+8.8'; interDigDist: -9; colorText: 'white'; frameStyle: Zent.FsNone",
         216, 76,
         [](TSevenSeg& S) {
             S.SetCaption("8+8.8");
             S.SetInterDigDist(-9);
             S.SetColorText(clWhite);
             S.SetFrameStyle(fsNone);
         }},
    };
    for (const TDisplayCase& C : Cases) {
        TScene Scene;
        auto* Item = Scene.Make<TQmlSevenSeg>(QString("SevenSegment { width: %1; height: %2; %3 }")
                                                  .arg(C.W)
                                                  .arg(C.H)
                                                  .arg(C.Qml));
        ASSERT_TRUE(Item) << C.Name;
        TSevenSeg Widget;
        Widget.SetBounds(0, 0, C.W, C.H);
        C.Widget(Widget);
        ExpectSamePixels(Scene.Shot(*Item), WidgetShot(Widget), std::string("sevenseg_") + C.Name);
    }
}

TEST(QmlSevenSegment, ANewCaptionShowsTheNewCellsAndTellsScreenReaders) {
    TScene Scene;
    auto* Item = Scene.Make<TQmlSevenSeg>("SevenSegment { caption: '1234' }");
    ASSERT_TRUE(Item);
    Scene.Shot(*Item);  // the first frame, with the atlas
    QSignalSpy Shown(Item, &TQmlSevenSeg::shownTextChanged);
    Item->setCaption("9.87");
    Item->setCaption("9.87");
    Item->setCaption("9,87");  // other text, same cells: the caption changes, what shows does not
    EXPECT_EQ(Shown.count(), 1);
    TSevenSeg Widget;
    Widget.SetCaption("9.87");
    EXPECT_EQ(Item->shownText().toStdString(), Widget.ShownText());
    ExpectSamePixels(Scene.Shot(*Item), WidgetShot(Widget), "sevenseg_new_caption");

    QAccessibleInterface* Face = QAccessible::queryAccessibleInterface(Item);
    ASSERT_TRUE(Face);
    EXPECT_EQ(Face->role(), QAccessible::StaticText);
    EXPECT_EQ(Face->text(QAccessible::Name).toStdString(), Widget.ShownText());
}

TEST(QmlSevenSegment, ResizingAndRecolouringRenewTheGlyphs) {
    TScene Scene;
    auto* Item = Scene.Make<TQmlSevenSeg>("SevenSegment { caption: '42' }");
    ASSERT_TRUE(Item);
    Scene.Shot(*Item);
    Item->setSize(QSizeF(150, 50));
    Item->setColorText(QColor(0, 0, 255));
    Item->setNumDigits(3);
    TSevenSeg Widget;
    Widget.SetBounds(0, 0, 150, 50);
    Widget.SetCaption("42");
    Widget.SetColorText(clBlue);
    Widget.SetNumDigits(3);
    ExpectSamePixels(Scene.Shot(*Item), WidgetShot(Widget), "sevenseg_renewed");
}

TEST(QmlSevenSegment, DisplaysOfOneLookShareOneAtlasPerWindow) {
    TScene Scene, Other;
    auto* Item = Scene.Make<TQmlSevenSeg>("SevenSegment {}");
    ASSERT_TRUE(Item);
    Scene.Shot(*Item);  // the scene graph is up
    Other.Shot(*Other.Make<TQmlSevenSeg>("SevenSegment {}"));
    TSevenSeg Widget;
    const QImage Strip = Widget.GlyphStrip().ToImage();
    std::shared_ptr<QSGTexture> A = WindowTexture(&Scene.Window(), Strip);
    EXPECT_NE(WindowTexture(&Scene.Window(), Strip.copy()), A) << "another image, another texture";
    EXPECT_EQ(WindowTexture(&Scene.Window(), Strip), A) << "the same strip in the same window";
    EXPECT_NE(WindowTexture(&Other.Window(), Strip), A) << "a texture belongs to its window";
    A.reset();
    EXPECT_TRUE(WindowTexture(&Scene.Window(), Strip)) << "made again once the last holder let go";
}

// One row per property: what a write stores and whether it tells. Every
// row is run on the widget too, and the item must store what it stores.
struct TRuleCase {
    const char* Property;  // the item's name; the widget's begins with a capital
    QVariant Written;
};

template <class TItem, class TWidget>
void ExpectTheWidgetsRules(TItem& Item, TWidget& Widget, const std::vector<TRuleCase>& Cases) {
    for (const TRuleCase& C : Cases) {
        QString WidgetName = QString::fromLatin1(C.Property);
        WidgetName[0] = WidgetName[0].toUpper();
        if (WidgetName == "DtFormat") WidgetName = "DTFormat";
        const QMetaProperty P = Item.metaObject()->property(Item.metaObject()->indexOfProperty(C.Property));
        const QMetaProperty WP = Widget.metaObject()->property(Widget.metaObject()->indexOfProperty(qPrintable(WidgetName)));
        ASSERT_TRUE(P.isValid() && WP.isValid() && P.hasNotifySignal()) << C.Property;
        QSignalSpy Told(&Item, P.notifySignal());
        const QVariant Before = WP.read(&Widget);
        ASSERT_EQ(P.read(&Item).toString(), Before.toString()) << C.Property << ": the same default";
        WP.write(&Widget, C.Written);
        P.write(&Item, C.Written);
        const QVariant After = WP.read(&Widget);
        EXPECT_EQ(P.read(&Item).toString(), After.toString()) << C.Property << " written " << qPrintable(C.Written.toString());
        EXPECT_EQ(Told.count(), After != Before ? 1 : 0) << C.Property << " written " << qPrintable(C.Written.toString());
        P.write(&Item, C.Written);
        EXPECT_EQ(Told.count(), After != Before ? 1 : 0) << C.Property << ": an unchanged value tells nothing";
    }
}

TEST(QmlSevenSegment, SettersFollowTheWidgetsRules) {
    TScene Scene;
    auto* Item = Scene.Make<TQmlSevenSeg>("SevenSegment {}");
    ASSERT_TRUE(Item);
    TSevenSeg Widget;
    ExpectTheWidgetsRules(*Item, Widget,
                          {
                              {"numDigits", 0},
                              {"numDigits", 33},
                              {"numDigits", 32},
                              {"numDigits", 1},
                              {"interDigDist", 300},
                              {"interDigDist", -4},
                              {"margin", 100},  // limited to half the height less one
                              {"margin", -3},
                              {"margin", -3},
                              {"caption", "1.5"},
                              {"colorText", QColor()},  // invalid: ignored
                              {"colorText", QColor("#123456")},
                              {"colorBackGnd", QColor("#fedcba")},
                              {"frameStyle", 77},  // outside the enumeration: ignored
                              {"frameStyle", int(fsRaised)},
                              {"colorScheme", int(csSystem)},
                          });
    EXPECT_EQ(Item->implicitWidth(), Widget.sizeHint().width());
    EXPECT_EQ(Item->implicitHeight(), Widget.sizeHint().height());
}

// ------------------------------------------------------------ numeric label

struct TLabelCase {
    TDisplay Type;
    double Value;
    QString Qml;  // further properties of the item
    std::function<void(TNumLab&)> Widget;
};

TEST(QmlNumericLabel, DrawsTheWidgetsPixelsForEveryDisplayType) {
    const auto None = [](TNumLab&) {};
    const TLabelCase Cases[] = {
        {dtFloat, 3.14159, "", None},
        {dtFixP, -2.5, "comma: true; leftText: 'U'; rightText: 'V'",
         [](TNumLab& L) {
             L.SetComma(true);
             L.SetLeftText("U");
             L.SetRightText("V");
         }},
        {dtExp, 12345.678, "precision: 3; frameStyle: Zent.FsRaised",
         [](TNumLab& L) {
             L.SetPrecision(3);
             L.SetFrameStyle(fsRaised);
         }},
        {dtHex, 48879, "precision: 6; alignment: Zent.TaLeftJustify",
         [](TNumLab& L) {
             L.SetPrecision(6);
             L.SetAlignment(taLeftJustify);
         }},
        {dtZeroInt, 42, "precision: 5; alignment: Zent.TaRightJustify",
         [](TNumLab& L) {
             L.SetPrecision(5);
             L.SetAlignment(taRightJustify);
         }},
        {dtInt, 7, "forcePlusSign: true; colorLabBakG: 'navy'; colorLabText: 'yellow'",
         [](TNumLab& L) {
             L.SetForcePlusSign(true);
             L.SetColorLabBakG(clNavy);
             L.SetColorLabText(clYellow);
         }},
        {dtDateTime, 45000.5, "dtFormat: 'yyyy-mm-dd hh:nn'; labelWidth: 110",
         [](TNumLab& L) {
             L.SetDTFormat("yyyy-mm-dd hh:nn");
             L.SetLabelWidth(110);
         }},
        {dtState, 0, "stateText: 'running'; frameStyle: Zent.FsSimple",
         [](TNumLab& L) {
             L.SetStateText("running");
             L.SetFrameStyle(fsSimple);
         }},
        {dtBin, 5, "precision: 8", [](TNumLab& L) { L.SetPrecision(8); }},
        {dtOct, 64, "precision: 4; colorOutBakG: 'white'; colorOutText: 'maroon'; leftText: 'oct'",
         [](TNumLab& L) {
             L.SetPrecision(4);
             L.SetColorOutBakG(clWhite);
             L.SetColorOutText(clMaroon);
             L.SetLeftText("oct");
         }},
        {dtDeg, 12.5, "", None},
        {dtDegMin, -12.5, "frameStyle: Zent.FsEngraved", [](TNumLab& L) { L.SetFrameStyle(fsEngraved); }},
        {dtDegMinSec, 48.8584, "labelWidth: 100", [](TNumLab& L) { L.SetLabelWidth(100); }},
        {dtEEng, 0.00047, "rightText: 'F'; rightTextAlignment: Zent.TaRightJustify",
         [](TNumLab& L) {
             L.SetRightText("F");
             L.SetRightTextAlignment(taRightJustify);
         }},
        {dtEEngNoDP, 4700, "enabled: false", [](TNumLab& L) { L.SetEnabled(false); }},
    };
    TScene Scene;
    for (const TLabelCase& C : Cases) {
        auto* Item = Scene.Make<TQmlNumLab>(
            QString("NumericLabel { displayType: Zent.%1; value: %2; %3 }")
                .arg(QMetaEnum::fromType<ZentQml::TDisplay>().valueToKey(int(C.Type))).arg(C.Value, 0, 'g', 17).arg(C.Qml));
        ASSERT_TRUE(Item) << int(C.Type);
        TNumLab Widget;
        Widget.SetDisplayType(C.Type);
        Widget.SetValue(C.Value);
        C.Widget(Widget);
        EXPECT_EQ(Item->valueText(), Widget.ValueTextQ()) << int(C.Type);
        ExpectSamePixels(Scene.Shot(*Item), WidgetShot(Widget), "numlab_" + std::to_string(int(C.Type)));
        EXPECT_EQ(Item->shownText(), Widget.DrawnTextQ()) << int(C.Type);
        delete Item;
    }
}

TEST(QmlNumericLabel, SettersFollowTheWidgetsRules) {
    TScene Scene;
    auto* Item = Scene.Make<TQmlNumLab>("NumericLabel {}");
    ASSERT_TRUE(Item);
    TNumLab Widget;
    ExpectTheWidgetsRules(*Item, Widget,
                          {
                              {"precision", 20},  // stored as 15
                              {"precision", 15},
                              {"precision", -1},  // ignored
                              {"leftSpace", 1000},  // stored as the width
                              {"leftSpace", -5},
                              {"leftSpace", 20},
                              {"labelWidth", 90},
                              {"value", 2.5},
                              {"value", -0.0},
                              {"displayType", 99},
                              {"displayType", int(dtHex)},
                              {"alignment", int(taLeftJustify)},
                              {"leftTextAlignment", 5},
                              {"rightTextAlignment", int(taCenter)},
                              {"comma", true},
                              {"forcePlusSign", true},
                              {"empty", true},
                              {"transparent", true},
                              {"leftText", "a"},
                              {"rightText", "b"},
                              {"stateText", "on"},
                              {"dtFormat", "hh:nn"},
                              {"overflowIndicator", "#"},
                              {"colorLabBakG", QColor("#102030")},
                              {"colorLabText", QColor()},
                              {"colorOutBakG", QColor("#405060")},
                              {"colorOutText", QColor("#708090")},
                              {"frameStyle", int(fsNone)},
                          });
}

TEST(QmlNumericLabel, ValueTextFollowsItsPropertiesAndScreenReadersReadTheBox) {
    TScene Scene;
    auto* Item = Scene.Make<TQmlNumLab>("NumericLabel { labelWidth: 40 }");
    ASSERT_TRUE(Item);
    QSignalSpy Text(Item, &TQmlNumLab::valueTextChanged);
    Item->setValue(1234567.0);  // too wide for the box: the indicator shows
    Item->setPrecision(0);
    EXPECT_EQ(Text.count(), 2);
    EXPECT_EQ(Item->valueText(), "1234567");
    Scene.Shot(*Item);
    EXPECT_EQ(Item->shownText(), Item->overflowIndicator());
    QAccessibleInterface* Face = QAccessible::queryAccessibleInterface(Item);
    ASSERT_TRUE(Face);
    EXPECT_EQ(Face->text(QAccessible::Name), Item->overflowIndicator());
}

// ------------------------------------------------------------ colour list

TEST(QmlColorListModel, RowsAndRolesAreTheSelectorsEntries) {
    TQmlColorList Model;
    TColSel Sel;
    Sel.SetNumColors(Sel.NumColors());
    ASSERT_EQ(Model.rowCount(), Sel.NumColors());
    const QHash<int, QByteArray> Roles = Model.roleNames();
    const int Name = Roles.key("name"), Color = Roles.key("color"), NoColor = Roles.key("noColor");
    for (int Row = 0; Row < Model.rowCount(); ++Row) {
        EXPECT_EQ(Model.data(Model.index(Row), Name).toString(), Sel.EntryNameQ(Row + 1)) << Row;
        EXPECT_EQ(Model.data(Model.index(Row), Color).value<QColor>(), ToQColor(Sel.EntryColor(Row + 1))) << Row;
    }
    Model.setNumColors(47);
    EXPECT_TRUE(Model.data(Model.index(40), NoColor).toBool()) << "clNone, the 41st colour";
    EXPECT_FALSE(Model.data(Model.index(0), NoColor).toBool());
    EXPECT_FALSE(Model.data(Model.index(47), Name).isValid()) << "past the listed rows";
}

TEST(QmlColorListModel, SelColorSearchesAndRenamesAsTheSelectorDoes) {
    TQmlColorList Model;
    TColSel Sel;
    Sel.SetNumColors(Sel.NumColors());
    QSignalSpy Changed(&Model, &QAbstractItemModel::dataChanged);
    QSignalSpy Told(&Model, &TQmlColorList::selColorChanged);
    const QColor Writes[] = {QColor("red"), QColor("#123456"), QColor("red"), QColor("#123456"), QColor()};
    for (const QColor& C : Writes) {
        Model.setSelColor(C);
        Sel.SetSelColor(C);
        EXPECT_EQ(Model.currentIndex(), Sel.CurrentEntry() - 1) << C.name().toStdString();
        EXPECT_EQ(Model.selColor(), Sel.SelColorQ());
    }
    for (int Row = 0; Row < Model.rowCount(); ++Row)
        EXPECT_EQ(Model.entryName(Row + 1), Sel.EntryNameQ(Row + 1)) << Row;
    // Red is found, then each write renames the current entry, which held the other colour.
    EXPECT_EQ(Changed.count(), 3);
    EXPECT_EQ(Told.count(), 4);
    Model.setNumColors(300);  // ignored
    EXPECT_EQ(Model.numColors(), Sel.NumColors());
    Model.setCurrentIndex(5);
    EXPECT_EQ(Model.selColor(), ToQColor(Sel.EntryColor(6)));
}

}  // namespace
}  // namespace zent
