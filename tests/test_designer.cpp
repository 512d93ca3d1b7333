// The Designer plugin as Designer and QUiLoader meet it: loaded with
// QPluginLoader, each class described and made through its interface, and
// .ui files read through QUiLoader giving what uic gives.
//
// The plugin carries its own copy of the libraries, so its controls are not
// this program's classes: they are compared through Qt's meta-objects,
// their geometry and their pictures.
#include <gtest/gtest.h>
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
#include <sstream>

#include "Zent_NumLab.h"
#include "Zent_components.h"
#include "Zent_extctrls.h"
#include "Zent_forms.h"
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

}  // namespace

TEST(DesignerPlugin, DescribesEachClassAndMakesIt) {
    const QSet<QString> DisplayWidgets = {"zent::TSevenSeg", "zent::TNumLab", "zent::TColSel"};
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
        EXPECT_TRUE(Contains(ZENT_SOURCE_DIR "/widgets/" + Header, "class " + Short + " ") ||
                    Contains(ZENT_SOURCE_DIR "/platform/" + Header, "class " + Short + " "))
            << Header;
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
        const TDom Dom = ReadDom(I->domXml());
        QByteArray Xml = I->domXml().toUtf8();
        QBuffer Buffer(&Xml);
        ASSERT_TRUE(Buffer.open(QIODevice::ReadOnly));
        const std::unique_ptr<QWidget> Made(Loader.load(&Buffer));
        ASSERT_NE(Made, nullptr) << Loader.errorString().toStdString();
        ASSERT_TRUE(QMetaObject::invokeMethod(PluginInstance(), "FinishLoading"));
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
// the controls keep.
TEST(DesignerPlugin, PropertyToolTipsSayWhatTheControlsDo) {
    // The names the tooltips use, read from the library's own headers.
    // clang-format off
    const std::map<QString, int> Named = {
        {"alNone", alNone}, {"alTop", alTop}, {"alBottom", alBottom}, {"alLeft", alLeft}, {"alRight", alRight},
        {"alClient", alClient},
        {"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter},
        {"fsNone", fsNone}, {"fsSimple", fsSimple}, {"fsLowered", fsLowered}, {"fsRaised", fsRaised},
        {"fsEmbossed", fsEmbossed}, {"fsEngraved", fsEngraved},
        {"csBWG", csBWG}, {"csSystem", csSystem},
        {"dtFloat", dtFloat}, {"dtFixP", dtFixP}, {"dtExp", dtExp}, {"dtHex", dtHex}, {"dtZeroInt", dtZeroInt},
        {"dtInt", dtInt}, {"dtDateTime", dtDateTime}, {"dtState", dtState}, {"dtBin", dtBin}, {"dtOct", dtOct},
        {"dtDeg", dtDeg}, {"dtDegMin", dtDegMin}, {"dtDegMinSec", dtDegMinSec}, {"dtEEng", dtEEng},
        {"dtEEngNoDP", dtEEngNoDP},
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
            if (Enumeration.match(Tip).hasMatch()) {
                ++Enumerations;
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
    EXPECT_EQ(Enumerations, 19);
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
    QUiLoader Loader;
    Loader.addPluginPath(QStringLiteral(ZENT_DESIGNER_PLUGIN_DIR));
    EXPECT_TRUE(Loader.availableWidgets().contains("zent::TSevenSeg"));
    QFile File(QString::fromLatin1(UiFile));
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    const std::unique_ptr<QWidget> Loaded(Loader.load(&File));
    ASSERT_NE(Loaded, nullptr) << Loader.errorString().toStdString();
    ASSERT_TRUE(QMetaObject::invokeMethod(PluginInstance(), "FinishLoading"));
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
