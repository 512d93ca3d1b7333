// The Designer plugin as Designer and QUiLoader meet it: loaded with
// QPluginLoader, each class described and made through its interface, and
// .ui files read through QUiLoader giving what uic gives.
//
// The plugin carries its own copy of the libraries, so its controls are not
// this program's classes: they are compared through Qt's meta-objects,
// their geometry and their pictures.
#include <QComboBox>
#include <QFile>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QSet>
#include <QUiLoader>
#include <QXmlStreamReader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "Zent_components.h"
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

}  // namespace

TEST(DesignerPlugin, DescribesEachClassAndMakesIt) {
    const QSet<QString> DisplayWidgets = {"zent::TSevenSeg", "zent::TNumLab", "zent::TColSel"};
    const QList<QDesignerCustomWidgetInterface*> Widgets = Offered();
    ASSERT_EQ(Widgets.size(), 10);
    QWidget Parent;
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
        QXmlStreamReader Xml(I->domXml());
        QSize Size;
        while (!Xml.atEnd()) {
            if (Xml.readNext() != QXmlStreamReader::StartElement) continue;
            const auto Attr = Xml.attributes();
            if (Xml.name() == u"widget") {
                EXPECT_EQ(Attr.value("class"), I->name());
            }
            if (Xml.name() == u"width") Size.setWidth(Xml.readElementText().toInt());
            if (Xml.name() == u"height") Size.setHeight(Xml.readElementText().toInt());
            if (Xml.name() == u"tooltip" || Xml.name() == u"stringpropertyspecification") {
                const int Index = Made->metaObject()->indexOfProperty(Attr.value("name").toLatin1());
                ASSERT_GE(Index, 0) << Attr.value("name").toString().toStdString();
                if (Xml.name() == u"stringpropertyspecification") {
                    EXPECT_EQ(Made->metaObject()->property(Index).metaType(), QMetaType::fromType<QString>());
                }
            }
        }
        EXPECT_FALSE(Xml.hasError()) << Xml.errorString().toStdString();
        EXPECT_FALSE(Size.isEmpty());
        // The widgets' own default sizes; the selector's is its size hint.
        const std::map<std::string, QSize> Defaults = {
            {"zent::TSevenSeg", {216, 76}}, {"zent::TNumLab", {160, 28}}, {"zent::TColSel", Made->sizeHint()}};
        if (Defaults.count(Name)) {
            EXPECT_EQ(Size, Defaults.at(Name));
        }
    }
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
