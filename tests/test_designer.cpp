// The Designer plugin as Designer and QUiLoader meet it: loaded with
// QPluginLoader, each class described and made through its interface, and
// .ui files read through QUiLoader giving what uic gives.
//
// The plugin carries its own copy of the libraries, so its controls are not
// this program's classes: they are compared through Qt's meta-objects,
// their geometry and their pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QSet>
#include <QUiLoader>
#include <QXmlStreamReader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "Zent_Colsel.h"
#include "Zent_NumLab.h"
#include "Zent_components.h"
#include "Zent_extctrls.h"
#include "Zent_forms.h"
#include "Zent_sevenseg.h"
#include "mainfrm.h"
#include "test_support.h"
#include "ui_test_designer.h"

using namespace zent;

namespace {

QObject* PluginInstance() {
    static QPluginLoader Loader(QStringLiteral(ZENT_DESIGNER_PLUGIN));
    QObject* Instance = Loader.instance();
    EXPECT_NE(Instance, nullptr) << Loader.errorString().toStdString();
    return Instance;
}

QList<QDesignerCustomWidgetInterface*> Offered() {
    auto* Collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(PluginInstance());
    return Collection ? Collection->customWidgets() : QList<QDesignerCustomWidgetInterface*>{};
}

bool Contains(const std::string& Path, const std::string& Text) {
    std::ifstream File(Path);
    std::stringstream Content;
    Content << File.rdbuf();
    return Content.str().find(Text) != std::string::npos;
}

// The properties the Zent classes of Object's meta-object chain declare.
std::vector<QMetaProperty> ZentProperties(const QObject& Object) {
    std::vector<QMetaProperty> Result;
    for (const QMetaObject* M = Object.metaObject(); M; M = M->superClass()) {
        if (!QByteArray(M->className()).startsWith("zent::")) continue;
        for (int i = M->propertyOffset(); i < M->propertyCount(); ++i) Result.push_back(M->property(i));
    }
    return Result;
}

// The controls of a window by name: every Zent class under it (the inner
// parts of a radio group or a list are Qt's own classes).
std::map<QString, QWidget*> ControlsOf(QWidget& Window) {
    std::map<QString, QWidget*> Result;
    for (QWidget* W : Window.findChildren<QWidget*>())
        if (QByteArray(W->metaObject()->className()).startsWith("zent::")) Result[W->objectName()] = W;
    return Result;
}

const TComponent& AsComponent(const QWidget& W) {
    return dynamic_cast<const TComponent&>(W);
}

// What a class's domXml says, read as Designer reads it.
struct TDom {
    QString Class, Name;
    QSize Size;
    std::map<QString, QString> Properties;  // the new control's, geometry aside
    std::map<QString, QString> ToolTips;
    std::map<QString, QString> Strings;  // string property specifications: notr and type
    bool Valid = false;
};

TDom ReadDom(const QString& Text) {
    TDom Dom;
    QXmlStreamReader Xml(Text);
    while (!Xml.atEnd()) {
        if (Xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto Attr = Xml.attributes();
        const QString Name = Attr.value("name").toString();
        if (Xml.name() == u"widget") {
            Dom.Class = Attr.value("class").toString();
            Dom.Name = Name;
        } else if (Xml.name() == u"width") {
            Dom.Size.setWidth(Xml.readElementText().toInt());
        } else if (Xml.name() == u"height") {
            Dom.Size.setHeight(Xml.readElementText().toInt());
        } else if (Xml.name() == u"property" && Name != "geometry") {
            Xml.readNextStartElement();  // <string>, <number>, ...
            Dom.Properties[Name] = Xml.readElementText();
        } else if (Xml.name() == u"tooltip") {
            Dom.ToolTips[Name] = Xml.readElementText();
        } else if (Xml.name() == u"stringpropertyspecification") {
            Dom.Strings[Name] = Attr.value("notr").toString() + " " + Attr.value("type").toString();
        }
    }
    Dom.Valid = !Xml.hasError();
    return Dom;
}

// A layout read with QUiLoader through the plugin, and its loading finished
// at once rather than when the event loop turns.
std::unique_ptr<QWidget> LoadUi(QIODevice& Ui) {
    QUiLoader Loader;
    Loader.addPluginPath(QStringLiteral(ZENT_DESIGNER_PLUGIN_DIR));
    std::unique_ptr<QWidget> Loaded(Loader.load(&Ui));
    EXPECT_NE(Loaded, nullptr) << Loader.errorString().toStdString();
    EXPECT_TRUE(QMetaObject::invokeMethod(PluginInstance(), "FinishLoading"));
    return Loaded;
}

std::unique_ptr<QWidget> LoadUi(QByteArray Xml) {
    QBuffer Buffer(&Xml);
    EXPECT_TRUE(Buffer.open(QIODevice::ReadOnly));
    return LoadUi(Buffer);
}

std::unique_ptr<QWidget> LoadUiFile(const char* Path) {
    QFile File(QString::fromLatin1(Path));
    EXPECT_TRUE(File.open(QIODevice::ReadOnly)) << Path;
    return LoadUi(File);
}

// The control called Name under Window.
QWidget& Named(QWidget& Window, const char* Name) {
    auto* W = Window.findChild<QWidget*>(QString::fromLatin1(Name));
    EXPECT_NE(W, nullptr) << Name;
    return W ? *W : Window;
}

// The pixels of Image in Colour.
int PixelsOf(const QImage& Image, const QColor& Colour) {
    const TColor Want = FromQColor(Colour);
    return test::CountPixels(Image, [Want](int, int, TColor Pixel) { return Pixel == Want; });
}

// A colour property as it reads.
QColor ColourOf(const QWidget& W, const char* Property) {
    return W.property(Property).value<QColor>();
}

// What clBtnFace shows in.
QColor ButtonFace() {
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

}  // namespace

TEST(DesignerPlugin, DescribesEachClassAndMakesIt) {
    const QSet<QString> DisplayWidgets = {"zent::TSevenSeg", "zent::TNumLab", "zent::TColSel"};
    const char* const SourceFolders[] = {"/widgets/", "/platform/framework/", "/platform/controls/"};
    const QList<QDesignerCustomWidgetInterface*> Widgets = Offered();
    ASSERT_EQ(Widgets.size(), 10);
    QWidget Parent;
    QSet<QString> ToolTips;
    for (QDesignerCustomWidgetInterface* I : Widgets) {
        const std::string Name = I->name().toStdString();
        SCOPED_TRACE(Name);
        EXPECT_EQ(I->group(), DisplayWidgets.contains(I->name()) ? "Zent Display Widgets" : "Zent Standard Controls");
        EXPECT_FALSE(I->toolTip().isEmpty());
        EXPECT_FALSE(I->whatsThis().isEmpty());
        // The include file declares the class.
        const std::string Short = Name.substr(Name.find("::") + 2), Header = I->includeFile().toStdString();
        const bool Declared = std::any_of(
            std::begin(SourceFolders), std::end(SourceFolders),
            [&](const char* Folder) { return Contains(ZENT_SOURCE_DIR + std::string(Folder) + Header, "class " + Short + " "); });
        EXPECT_TRUE(Declared) << Header;
        const QIcon Icon = I->icon();
        ASSERT_FALSE(Icon.isNull());
        test::SavePicture(Icon.pixmap(48, 48).toImage(), "designer_icon_" + Short);

        QWidget* Made = I->createWidget(&Parent);
        ASSERT_NE(Made, nullptr);
        EXPECT_EQ(Made->metaObject()->className(), Name) << ".ui files name the class as its meta-object does";
        EXPECT_EQ(Made->parentWidget(), &Parent);
        EXPECT_EQ(I->isContainer(), Name == "zent::TForm" || Name == "zent::TPanel");

        // domXml: the class, a default size, and property notes that name
        // properties the class has (strings for the string notes).
        const TDom Dom = ReadDom(I->domXml());
        EXPECT_TRUE(Dom.Valid);
        EXPECT_EQ(Dom.Class, I->name());
        for (const auto* Notes : {&Dom.ToolTips, &Dom.Strings})
            for (const auto& [Property, Note] : *Notes)
                EXPECT_GE(Made->metaObject()->indexOfProperty(Property.toLatin1()), 0)
                    << Property.toStdString();
        // A one-line string is stored as written, for every string the class publishes.
        std::map<QString, QString> Strings;
        for (const QMetaProperty& P : ZentProperties(*Made))
            if (P.metaType() == QMetaType::fromType<QString>()) Strings[P.name()] = "true singleline";
        EXPECT_EQ(Dom.Strings, Strings);
        EXPECT_FALSE(Dom.Size.isEmpty());
        // The widgets' own default sizes; the selector's is its size hint.
        const std::map<std::string, QSize> Defaults = {
            {"zent::TSevenSeg", {216, 76}}, {"zent::TNumLab", {160, 28}}, {"zent::TColSel", Made->sizeHint()}};
        if (Defaults.count(Name)) {
            EXPECT_EQ(Dom.Size, Defaults.at(Name));
        }
        // The description names properties of this class, not of another.
        static const QRegularExpression PropertyName("\\b[A-Z][a-z]+[A-Z]\\w*\\b");
        for (const auto& Match : PropertyName.globalMatch(I->whatsThis()))
            EXPECT_GE(Made->metaObject()->indexOfProperty(Match.captured().toLatin1()), 0)
                << Match.captured().toStdString();
        ToolTips.insert(I->toolTip());
    }
    EXPECT_EQ(ToolTips.size(), Widgets.size()) << "a tooltip of its own for each class";
}

// Designer places a new control from its domXml: loaded, that makes the
// class, under a name of its own that C++ accepts, with the properties the
// XML gives it.
TEST(DesignerPlugin, DomXmlLoadsAsTheControlItDescribes) {
    QUiLoader Loader;
    Loader.addPluginPath(QStringLiteral(ZENT_DESIGNER_PLUGIN_DIR));
    static const QRegularExpression Identifier("^[A-Za-z_][A-Za-z0-9_]*$");
    QSet<QString> Names;
    for (QDesignerCustomWidgetInterface* I : Offered()) {
        SCOPED_TRACE(I->name().toStdString());
        EXPECT_TRUE(Loader.availableWidgets().contains(I->name()));
        const TDom Dom = ReadDom(I->domXml());
        const std::unique_ptr<QWidget> Made = LoadUi(I->domXml().toUtf8());
        ASSERT_NE(Made, nullptr);
        EXPECT_EQ(Made->metaObject()->className(), I->name().toStdString());
        EXPECT_TRUE(Identifier.match(Made->objectName()).hasMatch()) << Made->objectName().toStdString();
        Names.insert(Made->objectName());
        // A name the class lacks would have become a dynamic property.
        EXPECT_TRUE(Made->dynamicPropertyNames().isEmpty());
        for (const auto& [Property, Value] : Dom.Properties)
            EXPECT_EQ(Made->property(Property.toLatin1()).toString(), Value) << Property.toStdString();
    }
    EXPECT_EQ(Names.size(), Offered().size()) << "a name of its own for each class";
}

// The property editor's tooltips explain numbers: the enumerators and
// colours they name are the library's, and the ranges they give are what
// the controls keep. Only a property that is a number has such a note: the
// enumerations and colours the display widgets declare are Qt's, which
// Designer shows as drop-downs and colour pickers.
TEST(DesignerPlugin, PropertyToolTipsSayWhatTheControlsDo) {
    // The names the tooltips use, read from the library's own headers.
    // clang-format off
    const std::map<QString, int> Named = {
        {"alNone", alNone}, {"alTop", alTop}, {"alBottom", alBottom}, {"alLeft", alLeft}, {"alRight", alRight},
        {"alClient", alClient},
        {"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter},
        {"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised},
        {"rsNone", rsNone}, {"rsLine", rsLine}, {"rsUpdate", rsUpdate}, {"rsPattern", rsPattern},
        {"red", clRed}, {"lime", clLime}, {"blue", clBlue}, {"white", clWhite},
        {"clWindow", clWindow}, {"clBtnFace", clBtnFace},
    };
    // clang-format on
    // "0 alNone, 1 alTop, ...", colours as "(red 255, lime 65280, ...)", and ranges.
    static const QRegularExpression Enumeration("^\\d+ \\w+(, \\d+ \\w+)*$"), Enumerator("(\\d+) (\\w+)"),
        Colour("(?:\\(|, )([A-Za-z]\\w*) (-?\\d+)"), Range("(-?\\d+) to (-?\\d+)"), AtMost("at most (\\d+)");
    QWidget Parent;
    int Enumerations = 0, Colours = 0, Ranges = 0;
    for (QDesignerCustomWidgetInterface* I : Offered()) {
        QWidget* Made = I->createWidget(&Parent);
        ASSERT_NE(Made, nullptr);
        ASSERT_TRUE(QMetaObject::invokeMethod(PluginInstance(), "FinishLoading"));
        // Whether Made keeps Value when it is written (the value before is put back).
        const auto Keeps = [Made](const QByteArray& Property, int Value) {
            const QVariant Before = Made->property(Property);
            Made->setProperty(Property, Value);
            const bool Kept = Made->property(Property).toInt() == Value;
            Made->setProperty(Property, Before);
            return Kept;
        };
        for (const auto& [Property, Tip] : ReadDom(I->domXml()).ToolTips) {
            const QByteArray Key = Property.toLatin1();
            SCOPED_TRACE(I->name().toStdString() + "." + Key.toStdString() + ": " + Tip.toStdString());
            const QMetaType Type =
                Made->metaObject()->property(Made->metaObject()->indexOfProperty(Key)).metaType();
            if (Enumeration.match(Tip).hasMatch()) {
                ++Enumerations;
                EXPECT_EQ(Type, QMetaType::fromType<int>()) << "a number, which the note explains";
                int Count = 0;
                for (const auto& M : Enumerator.globalMatch(Tip)) {
                    EXPECT_EQ(M.captured(1).toInt(), Count) << "listed in order from 0";
                    ASSERT_TRUE(Named.count(M.captured(2))) << M.captured(2).toStdString();
                    EXPECT_EQ(Named.at(M.captured(2)), Count) << M.captured(2).toStdString();
                    EXPECT_TRUE(Keeps(Key, Count));
                    ++Count;
                }
                EXPECT_FALSE(Keeps(Key, Count)) << "one past the last is not a value";
                EXPECT_FALSE(Keeps(Key, -1));
            }
            for (const auto& M : Colour.globalMatch(Tip)) {
                ++Colours;
                EXPECT_EQ(Type, QMetaType::fromType<int>()) << "a number, which the note explains";
                ASSERT_TRUE(Named.count(M.captured(1))) << M.captured(1).toStdString();
                EXPECT_EQ(Named.at(M.captured(1)), M.captured(2).toInt()) << M.captured(1).toStdString();
            }
            for (const auto& M : Range.globalMatch(Tip)) {
                ++Ranges;
                const int Low = M.captured(1).toInt(), High = M.captured(2).toInt();
                EXPECT_TRUE(Keeps(Key, Low) && Keeps(Key, High));
                EXPECT_FALSE(Keeps(Key, Low - 1) || Keeps(Key, High + 1));
            }
            for (const auto& M : AtMost.globalMatch(Tip)) {
                ++Ranges;
                const int High = M.captured(1).toInt();
                EXPECT_TRUE(Keeps(Key, High) && !Keeps(Key, High + 1));
            }
        }
    }
    // All were read: a tooltip that no longer reads as its kind shows here.
    EXPECT_EQ(Enumerations, 11);
    EXPECT_GT(Colours, 0);
    EXPECT_EQ(Ranges, 4);
}

// A control the plugin makes loads as a layout does: it takes its
// properties in stored order, and LayoutLoaded comes when the event loop
// turns, or when the program asks for it.
TEST(DesignerPlugin, ControlsFinishLoadingWhenTheLoopTurns) {
    QDesignerCustomWidgetInterface* ColSel = nullptr;
    for (QDesignerCustomWidgetInterface* I : Offered())
        if (I->name() == "zent::TColSel") ColSel = I;
    ASSERT_NE(ColSel, nullptr);
    QWidget Parent;
    auto* First = qobject_cast<QComboBox*>(ColSel->createWidget(&Parent));
    auto* Second = qobject_cast<QComboBox*>(ColSel->createWidget(&Parent));
    ASSERT_TRUE(First && Second);
    EXPECT_TRUE(AsComponent(*First).ComponentState() & csLoading);
    EXPECT_EQ(First->count(), 0) << "the list is built by LayoutLoaded";
    QCoreApplication::sendPostedEvents();
    for (QComboBox* Box : {First, Second}) {
        EXPECT_EQ(Box->count(), 20);
        EXPECT_EQ(AsComponent(*Box).ComponentState(), 0) << "neither loading nor designed";
    }
    auto* Third = qobject_cast<QComboBox*>(ColSel->createWidget(&Parent));
    ASSERT_TRUE(QMetaObject::invokeMethod(PluginInstance(), "FinishLoading"));
    EXPECT_EQ(Third->count(), 20);
}

namespace {

// Reads UiFile with QUiLoader through the plugin and expects what uic
// made of it in Compiled: the same controls, classes, places, published
// property values and pictures.
void ExpectLoadsAsCompiled(QWidget& Compiled, const char* UiFile, const std::string& Picture) {
    const std::unique_ptr<QWidget> Loaded = LoadUiFile(UiFile);
    ASSERT_NE(Loaded, nullptr);
    EXPECT_EQ(Loaded->metaObject()->className(), std::string("zent::TForm"));

    const auto Want = ControlsOf(Compiled), Got = ControlsOf(*Loaded);
    ASSERT_EQ(Got.size(), Want.size());
    for (const auto& [Name, W] : Want) {
        SCOPED_TRACE(Name.toStdString());
        ASSERT_TRUE(Got.count(Name));
        const QWidget& G = *Got.at(Name);
        EXPECT_EQ(G.metaObject()->className(), std::string(W->metaObject()->className()));
        EXPECT_EQ(G.parentWidget()->objectName(), W->parentWidget()->objectName());
        EXPECT_EQ(G.geometry(), W->geometry());
        EXPECT_EQ(AsComponent(G).ComponentState(), 0) << "loaded, and not designed";
        for (const QMetaProperty& P : ZentProperties(*W))
            EXPECT_EQ(G.property(P.name()), W->property(P.name())) << P.name();
    }
    for (const QMetaProperty& P : ZentProperties(Compiled))
        EXPECT_EQ(Loaded->property(P.name()), Compiled.property(P.name())) << P.name();
    const QImage WantPicture = test::Grab(Compiled), GotPicture = test::Grab(*Loaded);
    test::SavePicture(GotPicture, Picture + "_uiloader");
    EXPECT_EQ(GotPicture, WantPicture) << test::SavePicture(WantPicture, Picture + "_uic");
}

}  // namespace

TEST(DesignerPlugin, UiLoaderGivesWhatUicGives) {
    TForm Compiled;
    Ui::DesignerLayout Ui;
    {
        TLayoutLoading Loading;
        Ui.setupUi(&Compiled);
    }
    ExpectLoadsAsCompiled(Compiled, ZENT_SOURCE_DIR "/tests/test_designer.ui", "designer_layout");
}

// The demonstration window as the program builds it, before it is shown
// (showing it runs FormShow, which sets the display to eight digits).
TEST(DesignerPlugin, UiLoaderGivesTheDemonstrationWindow) {
    TForm1 Window;
    ExpectLoadsAsCompiled(Window, ZENT_SOURCE_DIR "/resources/mainfrm.ui", "designer_mainfrm");
}

// An enumeration goes by name: <enum>zent::dtExp</enum> in a .ui file and
// setProperty("DisplayType", "dtExp") give the value of that name, for every
// value of every enumeration the display widgets publish; numbers and names
// outside it change nothing.
TEST(DesignerPlugin, EnumerationsGoByNameThroughUiFilesAndSetProperty) {
    std::set<std::string> Enumerations;
    QWidget Parent;
    for (QDesignerCustomWidgetInterface* I : Offered()) {
        QWidget* Sample = I->createWidget(&Parent);
        ASSERT_NE(Sample, nullptr);
        ASSERT_TRUE(QMetaObject::invokeMethod(PluginInstance(), "FinishLoading"));
        for (const QMetaProperty& P : ZentProperties(*Sample)) {
            if (!P.isEnumType()) continue;
            Enumerations.insert(I->name().toStdString() + "." + P.name());
            const QMetaEnum Enum = P.enumerator();
            for (int k = 0; k < Enum.keyCount(); ++k) {
                const QString Key = QString::fromLatin1(Enum.key(k));
                const QString Scoped = QString::fromLatin1(Enum.scope()) + "::" + Key;
                SCOPED_TRACE(I->name().toStdString() + "." + P.name() + " " + Scoped.toStdString());
                EXPECT_EQ(Enum.value(k), k) << "values from 0 without gaps";
                const std::unique_ptr<QWidget> Loaded =
                    LoadUi(QStringLiteral("<ui version=\"4.0\"><widget class=\"%1\" name=\"W\">"
                                          "<property name=\"%2\" stdset=\"0\"><enum>%3</enum></property>"
                                          "</widget></ui>")
                               .arg(I->name(), QString::fromLatin1(P.name()), Scoped)
                               .toUtf8());
                ASSERT_NE(Loaded, nullptr);
                EXPECT_EQ(Loaded->property(P.name()).toInt(), k);
                // The next name, then this one with its scope, as setProperty takes them.
                const int Next = (k + 1) % Enum.keyCount();
                EXPECT_TRUE(Loaded->setProperty(P.name(), QString::fromLatin1(Enum.key(Next))));
                EXPECT_EQ(Loaded->property(P.name()).toInt(), Next);
                EXPECT_TRUE(Loaded->setProperty(P.name(), Scoped));
                EXPECT_EQ(Loaded->property(P.name()).toInt(), k);
            }
            const int Kept = Sample->property(P.name()).toInt();
            EXPECT_FALSE(Sample->setProperty(P.name(), QStringLiteral("dtNone")));
            for (const int Outside : {Enum.keyCount(), -1}) Sample->setProperty(P.name(), Outside);
            EXPECT_EQ(Sample->property(P.name()).toInt(), Kept) << P.name();
        }
    }
    EXPECT_EQ(Enumerations, std::set<std::string>({
                                "zent::TSevenSeg.ColorScheme",
                                "zent::TSevenSeg.FrameStyle",
                                "zent::TNumLab.ColorScheme",
                                "zent::TNumLab.FrameStyle",
                                "zent::TNumLab.Alignment",
                                "zent::TNumLab.DisplayType",
                                "zent::TNumLab.LeftTextAlignment",
                                "zent::TNumLab.RightTextAlignment",
                            }));
}

namespace {

// The test layout compiled by uic: the library's own classes.
struct TCompiledLayout {
    TForm Form;
    Ui::DesignerLayout Ui;
    TCompiledLayout() {
        TLayoutLoading Loading;
        Ui.setupUi(&Form);
    }
};

}  // namespace

// Colours go through .ui files and setProperty as QColor: the TColor a
// control keeps has red in its low byte, and a colour reads as the control
// draws it. The layout also wires the selector's SelColorChanged to the
// display's SetColorText, as Designer's signal/slot editor stores it, and
// uic and QUiLoader both connect it.
TEST(DesignerPlugin, ColoursGoThroughUiFilesAsTheColoursDrawn) {
    TCompiledLayout Compiled;
    zent::TSevenSeg& Display = *Compiled.Ui.My7Seg;
    EXPECT_EQ(Display.ColorText(), TColor(0x00FF00));
    EXPECT_EQ(Compiled.Ui.NLabVolts->ColorLabText(), TColor(0x000080));  // <red>128</red>
    EXPECT_EQ(Compiled.Ui.CSelText->SelColor(), clRed);
    EXPECT_TRUE(Display.setProperty("ColorText", QColor(0x12, 0x34, 0x56)));
    EXPECT_EQ(Display.ColorText(), TColor(0x563412));
    EXPECT_TRUE(Display.setProperty("ColorText", QColor(Qt::green)));
    EXPECT_EQ(Display.ColorText(), TColor(0x00FF00));
    EXPECT_FALSE(Display.setProperty("ColorText", 0xFF)) << "a number is not a colour";
    EXPECT_EQ(Display.ColorText(), TColor(0x00FF00));
    // A system colour reads as the palette shows it.
    Display.SetColorBackGnd(clBtnFace);
    EXPECT_EQ(ColourOf(Display, "ColorBackGnd"), ButtonFace());

    const std::unique_ptr<QWidget> Loaded = LoadUiFile(ZENT_SOURCE_DIR "/tests/test_designer.ui");
    ASSERT_NE(Loaded, nullptr);
    EXPECT_EQ(ColourOf(Named(*Loaded, "My7Seg"), "ColorText"), QColor(0, 255, 0));
    EXPECT_EQ(ColourOf(Named(*Loaded, "NLabVolts"), "ColorLabText"), QColor(128, 0, 0));
    for (QWidget* Form : {static_cast<QWidget*>(&Compiled.Form), Loaded.get()}) {
        SCOPED_TRACE(Form == Loaded.get() ? "QUiLoader" : "uic");
        // A colour unlike itself with red and blue swapped.
        Named(*Form, "My7Seg").setProperty("ColorText", QColor(0x12, 0x34, 0x56));
        const std::pair<const char*, const char*> Drawn[] = {
            {"My7Seg", "ColorText"},       {"My7Seg", "ColorBackGnd"}, {"NLabVolts", "ColorLabBakG"},
            {"NLabVolts", "ColorOutBakG"}, {"CSelText", "SelColor"},
        };
        for (const auto& [Name, Property] : Drawn) {
            QWidget& W = Named(*Form, Name);
            const QImage Picture = test::Grab(W);
            EXPECT_GT(PixelsOf(Picture, ColourOf(W, Property)), Picture.width() * Picture.height() / 100)
                << Name << "." << Property << " " << ColourOf(W, Property).name().toStdString() << " in "
                << test::SavePicture(Picture, std::string("designer_colour_") + Name);
        }
        Named(*Form, "CSelText").setProperty("SelColor", QColor(Qt::blue));
        EXPECT_EQ(ColourOf(Named(*Form, "My7Seg"), "ColorText"), QColor(Qt::blue))
            << "through the connection";
    }
}

// A background left at its default, clBtnFace, in a .ui file follows the
// palette's button colour: with a dark palette the label reads and draws
// dark, and it comes back with the palette. ColorLabBakG, set in the file,
// stays.
TEST(DesignerPlugin, ADefaultBackgroundFromAUiFileFollowsThePalette) {
    TCompiledLayout Compiled;
    const std::unique_ptr<QWidget> Loaded = LoadUiFile(ZENT_SOURCE_DIR "/tests/test_designer.ui");
    ASSERT_NE(Loaded, nullptr);
    const QColor Light = ButtonFace(), Dark(0x20, 0x24, 0x28), White(Qt::white);
    ASSERT_NE(Light, Dark);
    for (QWidget* Form : {static_cast<QWidget*>(&Compiled.Form), Loaded.get()}) {
        SCOPED_TRACE(Form == Loaded.get() ? "QUiLoader" : "uic");
        QWidget& Label = Named(*Form, "NLabVolts");
        EXPECT_EQ(ColourOf(Label, "ColorOutBakG"), Light);
        const QImage Before = test::Grab(Label);
        const int Background = PixelsOf(Before, Light), Box = PixelsOf(Before, White);
        EXPECT_GT(Background, Before.width() * Before.height() / 10);
        {
            test::TPaletteColor DarkButtons(QPalette::Button, Dark);
            EXPECT_EQ(ColourOf(Label, "ColorOutBakG"), Dark);
            EXPECT_EQ(ColourOf(Label, "ColorLabBakG"), White);
            const QImage Darkened = test::Grab(Label);
            test::SavePicture(Darkened, "designer_numlab_dark_palette");
            // Text edges blended onto the dark may match it too.
            EXPECT_GE(PixelsOf(Darkened, Dark), Background);
            EXPECT_EQ(PixelsOf(Darkened, Light), 0);
            EXPECT_EQ(PixelsOf(Darkened, White), Box);
        }
        EXPECT_EQ(ButtonFace(), Light);
        EXPECT_EQ(test::Grab(Label), Before) << "back with the palette";
    }
}
