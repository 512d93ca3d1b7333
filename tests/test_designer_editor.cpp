// The plugin in Qt Designer's own form editor, the library the designer
// program is made of: what its property editor lists and writes, and what
// happens when a control refuses a value.
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QMetaProperty>
#include <QTimer>
#include <QXmlStreamReader>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "Zent_components.h"

using namespace zent;

namespace {

// One form editor for the program, as designer makes it, finding the
// plugin where QT_PLUGIN_PATH would show it.
QDesignerFormEditorInterface* Core() {
    static QDesignerFormEditorInterface* const Editor = [] {
        QCoreApplication::addLibraryPath(QStringLiteral(ZENT_PLUGIN_PATH));
        QDesignerFormEditorInterface* Core = QDesignerComponents::createFormEditor(qApp);
        QDesignerComponents::initializePlugins(Core);
        Core->setWidgetBox(QDesignerComponents::createWidgetBox(Core, nullptr));
        Core->setPropertyEditor(QDesignerComponents::createPropertyEditor(Core, nullptr));
        new QDesignerIntegration(Core, qApp);
        return Core;
    }();
    return Editor;
}

// A form editor window holding the test layout, loaded: as a user would
// find it once the file is open.
QDesignerFormWindowInterface* OpenForm() {
    QFile File(QStringLiteral(ZENT_SOURCE_DIR "/tests/test_designer.ui"));
    EXPECT_TRUE(File.open(QIODevice::ReadOnly));
    QDesignerFormWindowInterface* Form = Core()->formWindowManager()->createFormWindow(nullptr);
    Form->setContents(QString::fromUtf8(File.readAll()));
    QCoreApplication::sendPostedEvents();
    return Form;
}

QWidget* Control(QDesignerFormWindowInterface* Form, const char* Name) {
    QWidget* W = Form->mainContainer()->findChild<QWidget*>(QString::fromLatin1(Name));
    EXPECT_NE(W, nullptr) << Name;
    return W;
}

QDesignerPropertySheetExtension* Sheet(QWidget* Widget) {
    return qt_extension<QDesignerPropertySheetExtension*>(Core()->extensionManager(), Widget);
}

// Each property a .ui text stores: (control, property) -> (stdset, value).
using TStored = std::map<std::pair<QString, QString>, std::pair<QString, QString>>;
TStored StoredProperties(const QString& Ui) {
    TStored Result;
    QXmlStreamReader Xml(Ui);
    std::vector<QString> Controls;
    while (!Xml.atEnd()) {
        Xml.readNext();
        if (Xml.isEndElement() && Xml.name() == u"widget") Controls.pop_back();
        if (!Xml.isStartElement()) continue;
        if (Xml.name() == u"widget") Controls.push_back(Xml.attributes().value("name").toString());
        if (Xml.name() != u"property" || Controls.empty()) continue;
        const QString Name = Xml.attributes().value("name").toString(), StdSet = Xml.attributes().value("stdset").toString();
        if (Name == "geometry") continue;
        Xml.readNextStartElement();  // <number>, <string>, <stringlist>, ...
        QString Value;
        if (Xml.name() == u"stringlist") {
            while (Xml.readNextStartElement()) Value += Xml.readElementText() + '\n';
        } else {
            Value = Xml.readElementText();
        }
        Result[{Controls.back(), Name}] = {StdSet, Value};
    }
    return Result;
}

}  // namespace

TEST(DesignerEditor, ListsThePublishedPropertiesAndStoresWritesWithStdsetZero) {
    QDesignerFormWindowInterface* Form = OpenForm();
    QFile File(QStringLiteral(ZENT_SOURCE_DIR "/tests/test_designer.ui"));
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    const TStored Original = StoredProperties(QString::fromUtf8(File.readAll()));

    for (const char* Name : {"My7Seg", "NLabVolts", "CSelText", "SBarNumDig", "RGDisplayMode"}) {
        SCOPED_TRACE(Name);
        QWidget* W = Control(Form, Name);
        ASSERT_NE(W, nullptr);
        EXPECT_TRUE(dynamic_cast<const TComponent&>(*W).ComponentState() & csDesigning);
        QDesignerPropertySheetExtension* S = Sheet(W);
        for (const QMetaObject* M = W->metaObject(); QByteArray(M->className()).startsWith("zent::");
             M = M->superClass()) {
            for (int i = M->propertyOffset(); i < M->propertyCount(); ++i) {
                const int Index = S->indexOf(QString::fromLatin1(M->property(i).name()));
                EXPECT_TRUE(Index >= 0 && S->isVisible(Index)) << M->property(i).name();
            }
        }
    }

    // Written as the property editor writes them.
    const std::tuple<const char*, const char*, QVariant, QString> Writes[] = {
        {"My7Seg", "NumDigits", 5, "5"},
        {"NLabVolts", "Value", 2.5, "2.500000000000000"},
        {"CSelText", "ColorBarWidth", 40, "40"},
        {"SBarNumDig", "Position", 9, "9"},
    };
    TStored Expected = Original;
    for (const auto& [Name, Property, Value, Text] : Writes) {
        Form->cursor()->setWidgetProperty(Control(Form, Name), QString::fromLatin1(Property), Value);
        Expected[{Name, Property}] = {"0", Text};
    }
    const TStored Saved = StoredProperties(Form->contents());
    for (const auto& [Key, Value] : Expected) {
        SCOPED_TRACE((Key.first + "." + Key.second).toStdString());
        ASSERT_TRUE(Saved.count(Key));
        EXPECT_EQ(Saved.at(Key).first, Value.first) << "stdset";
        EXPECT_EQ(Saved.at(Key).second, Value.second);
    }
}

// A scroll bar raises on a Max below Min; in the designer that is reported
// in a message box and the old value stays, where an exception would end
// the designer.
TEST(DesignerEditor, AValueAControlRefusesIsReported) {
    QDesignerFormWindowInterface* Form = OpenForm();
    QWidget* Bar = Control(Form, "SBarNumDig");
    ASSERT_NE(Bar, nullptr);
    QString Report;
    QTimer::singleShot(0, [&] {
        if (auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            Report = Box->text();
            Box->accept();
        }
    });
    Form->cursor()->setWidgetProperty(Bar, QStringLiteral("Max"), 0);
    EXPECT_EQ(Report, "Scrollbar property out of range.");
    EXPECT_EQ(Bar->property("Max").toInt(), 32);
    EXPECT_EQ(StoredProperties(Form->contents()).at({"SBarNumDig", "Max"}).second, "32");
}
