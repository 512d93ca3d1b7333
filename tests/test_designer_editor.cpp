// The plugin in Qt Designer's own form editor, the library the designer
// program is made of: what its property editor lists, offers and writes,
// the signals and slots it offers for connections, and what happens when a
// control refuses a value.
#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMessageBox>
#include <QMetaProperty>
#include <QPalette>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QXmlStreamReader>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerMemberSheetExtension>
#include <QtDesigner/QDesignerPropertyEditorInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "Zent_components.h"
#include "Zent_enums.h"
#include "test_support.h"

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

// Designer's property editor on Form, shown as the program shows it; hidden
// again, and Form no longer the active one, when the scope ends, as closing
// the form leaves them (the form editor must not deactivate it as it ends).
class TPropertyEditing {
public:
    explicit TPropertyEditing(QDesignerFormWindowInterface* Form) : FForm(Form) {
        Core()->formWindowManager()->setActiveFormWindow(Form);
        Core()->propertyEditor()->show();
    }
    ~TPropertyEditing() {
        Core()->propertyEditor()->hide();
        Core()->formWindowManager()->setActiveFormWindow(nullptr);
    }
    TPropertyEditing(const TPropertyEditing&) = delete;
    TPropertyEditing& operator=(const TPropertyEditing&) = delete;

    // The editor it opens on Property once Control is selected, as a user
    // opens it by clicking the value: a reset button beside the value's own
    // editor. Null when the property is not listed.
    QWidget* Open(QWidget* Control, const QString& Property) {
        FForm->clearSelection(false);
        FForm->selectWidget(Control);
        QCoreApplication::processEvents();  // the property editor follows the selection
        QDesignerPropertyEditorInterface* Editor = Core()->propertyEditor();
        EXPECT_EQ(Editor->object(), Control);
        auto* View = Editor->findChild<QTreeView*>();
        if (!View) return nullptr;
        const QAbstractItemModel* Model = View->model();
        for (int Group = 0; Group < Model->rowCount(); ++Group) {  // one group per class
            const QModelIndex Class = Model->index(Group, 0);
            for (int Row = 0; Row < Model->rowCount(Class); ++Row) {
                if (Model->index(Row, 0, Class).data().toString() != Property) continue;
                const QModelIndex Value = Model->index(Row, 1, Class);
                View->setCurrentIndex(Value);
                View->edit(Value);
                for (QWidget* W : View->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    if (W->isVisible()) return W;
            }
        }
        return nullptr;
    }

private:
    QDesignerFormWindowInterface* FForm;
};

// What clBtnFace shows in: the application palette's button colour.
QColor ButtonFace() {
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
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
        Xml.readNextStartElement();  // <number>, <string>, <enum>, <stringlist>, <color>, ...
        QString Value;
        if (Xml.name() == u"stringlist") {
            while (Xml.readNextStartElement()) Value += Xml.readElementText() + '\n';
        } else if (Xml.name() == u"color") {  // <red>, <green>, <blue>: as "#rrggbb"
            int Rgb[3] = {};
            for (int& Part : Rgb)
                if (Xml.readNextStartElement()) Part = Xml.readElementText().toInt();
            Value = QColor(Rgb[0], Rgb[1], Rgb[2]).name();
            Xml.skipCurrentElement();
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

// The display widgets' enumerations are drop-downs of their keys and their
// colours Designer's colour editor, each showing the control's value; the
// numbers the plugin's tooltips explain stay spin boxes.
TEST(DesignerEditor, ShowsEnumerationsAsDropDownsAndColoursAsColourEditors) {
    QDesignerFormWindowInterface* Form = OpenForm();
    TPropertyEditing Editing(Form);
    const std::tuple<const char*, const char*, QMetaEnum> Enumerations[] = {
        {"My7Seg", "ColorScheme", QMetaEnum::fromType<TColorScheme>()},
        {"My7Seg", "FrameStyle", QMetaEnum::fromType<TFrameStyle>()},
        {"NLabVolts", "Alignment", QMetaEnum::fromType<TAlignment>()},
        {"NLabVolts", "ColorScheme", QMetaEnum::fromType<TColorScheme>()},
        {"NLabVolts", "DisplayType", QMetaEnum::fromType<TDisplay>()},
        {"NLabVolts", "FrameStyle", QMetaEnum::fromType<TFrameStyle>()},
        {"NLabVolts", "LeftTextAlignment", QMetaEnum::fromType<TAlignment>()},
        {"NLabVolts", "RightTextAlignment", QMetaEnum::fromType<TAlignment>()},
    };
    for (const auto& [Name, Property, Enum] : Enumerations) {
        SCOPED_TRACE(std::string(Name) + "." + Property);
        QWidget* W = Control(Form, Name);
        ASSERT_NE(W, nullptr);
        QWidget* Editor = Editing.Open(W, QString::fromLatin1(Property));
        ASSERT_NE(Editor, nullptr);
        auto* Box = Editor->findChild<QComboBox*>();
        ASSERT_NE(Box, nullptr) << "a drop-down";
        QStringList Keys, Items;
        for (int i = 0; i < Enum.keyCount(); ++i) Keys << QString::fromLatin1(Enum.key(i));
        for (int i = 0; i < Box->count(); ++i) Items << Box->itemText(i);
        EXPECT_EQ(Items, Keys);
        EXPECT_EQ(Box->currentText(), QString::fromLatin1(Enum.valueToKey(W->property(Property).toInt())));
    }

    const std::pair<const char*, const char*> Colours[] = {
        {"My7Seg", "ColorBackGnd"},    {"My7Seg", "ColorText"},       {"NLabVolts", "ColorLabBakG"},
        {"NLabVolts", "ColorLabText"}, {"NLabVolts", "ColorOutBakG"}, {"NLabVolts", "ColorOutText"},
        {"CSelText", "Color"},         {"CSelText", "SelColor"},
    };
    for (const auto& [Name, Property] : Colours) {
        SCOPED_TRACE(std::string(Name) + "." + Property);
        QWidget* W = Control(Form, Name);
        ASSERT_NE(W, nullptr);
        QDesignerPropertySheetExtension* S = Sheet(W);
        const QVariant Value = S->property(S->indexOf(QString::fromLatin1(Property)));
        EXPECT_EQ(Value.metaType(), QMetaType::fromType<QColor>());
        EXPECT_EQ(Value, W->property(Property));
        QWidget* Editor = Editing.Open(W, QString::fromLatin1(Property));
        ASSERT_NE(Editor, nullptr);
        bool ColourEditor = false;
        for (QWidget* Part : Editor->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            ColourEditor |= Part->inherits("QtColorEditWidget");
        EXPECT_TRUE(ColourEditor) << "Designer's colour editor";
    }
    // The background left at its default reads as it is drawn: the palette's.
    EXPECT_EQ(Control(Form, "NLabVolts")->property("ColorOutBakG").value<QColor>(), ButtonFace());

    for (const char* Property : {"Align", "NumDigits"}) {
        QWidget* Editor = Editing.Open(Control(Form, "My7Seg"), QString::fromLatin1(Property));
        ASSERT_NE(Editor, nullptr);
        EXPECT_NE(Editor->findChild<QSpinBox*>(), nullptr) << Property;
    }
}

// What Designer's signal/slot editor lists for a control: the signals and
// the slots of its member sheet. Every property's NOTIFY signal is there,
// and the setters taking Qt types as slots with the signals' parameter types.
TEST(DesignerEditor, OffersTheSignalsAndSlotsForConnections) {
    QDesignerFormWindowInterface* Form = OpenForm();
    const auto Members = [](QWidget* W) {
        return qt_extension<QDesignerMemberSheetExtension*>(Core()->extensionManager(), W);
    };
    // A signal or slot of Name's, which the editor shows; its index.
    const auto Offered = [&](const char* Name, const QString& Signature, bool Signal) {
        QDesignerMemberSheetExtension* M = Members(Control(Form, Name));
        const int Index = M ? M->indexOf(Signature) : -1;
        EXPECT_GE(Index, 0) << Name << " " << Signature.toStdString();
        if (Index < 0) return -1;
        EXPECT_TRUE(M->isVisible(Index)) << Signature.toStdString();
        EXPECT_EQ(M->isSignal(Index), Signal) << Signature.toStdString();
        EXPECT_EQ(M->isSlot(Index), !Signal) << Signature.toStdString();
        return Index;
    };
    // A signal, and a slot of another control it may drive.
    const std::tuple<const char*, const char*, const char*, const char*> Pairs[] = {
        {"NLabVolts", "PrecisionChanged(int)", "My7Seg", "SetNumDigits(int)"},
        {"My7Seg", "NumDigitsChanged(int)", "NLabVolts", "SetPrecision(int)"},
        {"My7Seg", "CaptionChanged(QString)", "NLabVolts", "SetLeftText(QString)"},
        {"CSelText", "SelColorChanged(QColor)", "My7Seg", "SetColorText(QColor)"},
        {"My7Seg", "ColorTextChanged(QColor)", "CSelText", "SetSelColor(QColor)"},
        {"NLabVolts", "ValueChanged(double)", "NLabVolts", "SetValue(double)"},
        {"NLabVolts", "DisplayTypeChanged(zent::TDisplay)", "NLabVolts", "SetDisplayType(zent::TDisplay)"},
        {"My7Seg", "FrameStyleChanged(zent::TFrameStyle)", "NLabVolts", "SetFrameStyle(zent::TFrameStyle)"},
    };
    for (const auto& [Sender, Signal, Receiver, Slot] : Pairs) {
        SCOPED_TRACE(std::string(Sender) + "." + Signal + " -> " + Receiver + "." + Slot);
        const int SignalIndex = Offered(Sender, QString::fromLatin1(Signal), true);
        const int SlotIndex = Offered(Receiver, QString::fromLatin1(Slot), false);
        if (SignalIndex < 0 || SlotIndex < 0) continue;
        EXPECT_EQ(Members(Control(Form, Sender))->parameterTypes(SignalIndex),
                  Members(Control(Form, Receiver))->parameterTypes(SlotIndex));
    }
    for (const char* Name : {"My7Seg", "NLabVolts", "CSelText"}) {
        const QMetaObject* Meta = Control(Form, Name)->metaObject();
        for (int i = 0; i < Meta->propertyCount(); ++i) {
            const QMetaProperty P = Meta->property(i);
            if (QByteArray(P.enclosingMetaObject()->className()).startsWith("zent::") && P.hasNotifySignal())
                Offered(Name, QString::fromLatin1(P.notifySignal().methodSignature()), true);
        }
    }
}

// An enumeration picked from its drop-down is stored by name; a colour that
// follows the palette until it is set, once reset, follows it again and is
// left out of the file, as the default of a new control is.
TEST(DesignerEditor, StoresEnumerationsByNameAndLeavesResetColoursOut) {
    QDesignerFormWindowInterface* Form = OpenForm();
    QWidget* Label = Control(Form, "NLabVolts");
    ASSERT_NE(Label, nullptr);
    TPropertyEditing Editing(Form);
    QWidget* Editor = Editing.Open(Label, QStringLiteral("DisplayType"));
    ASSERT_NE(Editor, nullptr);
    auto* Box = Editor->findChild<QComboBox*>();
    ASSERT_NE(Box, nullptr);
    Box->setCurrentIndex(Box->findText(QStringLiteral("dtExp")));
    EXPECT_EQ(Label->property("DisplayType").toInt(), dtExp);

    // ColorLabBakG is stored in the file: reset with the editor's button.
    ASSERT_NE(Label->property("ColorLabBakG").value<QColor>(), ButtonFace());
    Editor = Editing.Open(Label, QStringLiteral("ColorLabBakG"));
    ASSERT_NE(Editor, nullptr);
    auto* Reset = Editor->findChild<QToolButton*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(Reset, nullptr);
    Reset->click();
    EXPECT_EQ(Label->property("ColorLabBakG").value<QColor>(), ButtonFace());
    // ColorOutBakG set to a colour, then reset.
    Form->cursor()->setWidgetProperty(Label, QStringLiteral("ColorOutBakG"), QColor(Qt::yellow));
    EXPECT_EQ(StoredProperties(Form->contents()).at({"NLabVolts", "ColorOutBakG"}).second, "#ffff00");
    Form->cursor()->resetWidgetProperty(Label, QStringLiteral("ColorOutBakG"));
    EXPECT_EQ(Label->property("ColorOutBakG").value<QColor>(), ButtonFace());

    {
        // Following the palette, not holding the colour it showed when reset.
        const QColor Dark(0x20, 0x24, 0x28);
        test::TPaletteColor DarkButtons(QPalette::Button, Dark);
        EXPECT_EQ(Label->property("ColorLabBakG").value<QColor>(), Dark);
        EXPECT_EQ(Label->property("ColorOutBakG").value<QColor>(), Dark);
    }

    const TStored Saved = StoredProperties(Form->contents());
    EXPECT_EQ(Saved.at({"NLabVolts", "DisplayType"}), std::make_pair(QString("0"), QString("zent::dtExp")));
    EXPECT_EQ(Saved.count({"NLabVolts", "ColorLabBakG"}), 0u);
    EXPECT_EQ(Saved.count({"NLabVolts", "ColorOutBakG"}), 0u);
    // The colours that were set stay stored as colours.
    EXPECT_EQ(Saved.at({"NLabVolts", "ColorLabText"}).second, "#800000");
    EXPECT_EQ(Saved.at({"My7Seg", "ColorText"}).second, "#00ff00");
}
