// The widgets' signals: one for each real change of a property, carrying
// the value stored, and none for a write the setter ignores.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Zent_Colsel.h"
#include "Zent_NumLab.h"
#include "Zent_sevenseg.h"

using namespace zent;

namespace {

// Another value of the property's type than Old.
QVariant Another(const QMetaProperty& P, const QVariant& Old) {
    if (P.isEnumType()) return P.enumerator().value((Old.toInt() + 1) % P.enumerator().keyCount());
    switch (Old.typeId()) {
        case QMetaType::Bool:
            return !Old.toBool();
        case QMetaType::Int:
            return Old.toInt() + 1;
        case QMetaType::Double:
            return Old.toDouble() + 1.5;
        case QMetaType::QString:
            return Old.toString() + "x";
        case QMetaType::QColor:
            return QColor(Old.value<QColor>().rgb() ^ 0x102030);
        default:
            return {};
    }
}

// The index of the first property a class of the library declares: Qt's
// own (QWidget's, QComboBox's) have no NOTIFY.
int FirstLibraryProperty(const QMetaObject* Meta) {
    while (Meta->superClass() && QByteArray(Meta->superClass()->className()).startsWith("zent::"))
        Meta = Meta->superClass();
    return Meta->propertyOffset();
}

std::vector<std::function<QWidget*(QWidget&)>> Makers() {
    return {[](QWidget& W) { return new TSevenSeg(&W); }, [](QWidget& W) { return new TNumLab(&W); },
            [](QWidget& W) {
                auto* Sel = new TColSel(&W);
                Sel->SetNumColors(20);
                return Sel;
            }};
}

TEST(Signals, EveryWritablePropertyTellsEachChangeOnceWithTheValueStored) {
    for (const auto& Make : Makers()) {
        QWidget Window;
        QWidget* W = Make(Window);
        Window.show();
        const QMetaObject* Meta = W->metaObject();
        int Checked = 0;
        for (int i = FirstLibraryProperty(Meta); i < Meta->propertyCount(); ++i) {
            const QMetaProperty P = Meta->property(i);
            if (!P.isWritable()) continue;
            const std::string Where = std::string(Meta->className()) + "." + P.name();
            ASSERT_TRUE(P.hasNotifySignal()) << Where;
            EXPECT_EQ(P.notifySignal().name(), QByteArray(P.name()) + "Changed") << Where;
            QSignalSpy Spy(W, P.notifySignal());
            const QVariant New = Another(P, W->property(P.name()));
            ASSERT_TRUE(New.isValid()) << Where;
            ASSERT_TRUE(W->setProperty(P.name(), New)) << Where;
            ASSERT_EQ(Spy.count(), 1) << Where;
            EXPECT_EQ(Spy[0][0], W->property(P.name())) << Where << ": the value stored";
            W->setProperty(P.name(), W->property(P.name()));
            EXPECT_EQ(Spy.count(), 1) << Where << ": an equal write tells nothing";
            ++Checked;
        }
        EXPECT_GE(Checked, 8) << Meta->className();
    }
}

// Writes a setter ignores, or clamps to the value it has, tell nothing; a
// clamped value tells the value stored.
TEST(Signals, IgnoredAndClampedWrites) {
    QWidget Window;
    auto* Seg = new TSevenSeg(&Window);
    auto* Lab = new TNumLab(&Window);
    auto* Sel = new TColSel(&Window);
    Seg->resize(216, 40);
    struct TCase {
        const char* What;
        QObject* Sender;
        const char* Signal;
        std::function<void()> Write;
        std::vector<QVariant> Told;
    };
    const TCase Cases[] = {
        {"NumDigits 0", Seg, SIGNAL(NumDigitsChanged(int)), [&] { Seg->SetNumDigits(0); }, {}},
        {"NumDigits 33", Seg, SIGNAL(NumDigitsChanged(int)), [&] { Seg->SetNumDigits(33); }, {}},
        {"Margin 60 on 40 pixels", Seg, SIGNAL(MarginChanged(int)), [&] { Seg->SetMargin(60); }, {19}},
        {"Margin 60 again, clamped to 19 again",
         Seg,
         SIGNAL(MarginChanged(int)),
         [&] { Seg->SetMargin(60); },
         {}},
        {"InterDigDist 300",
         Seg,
         SIGNAL(InterDigDistChanged(int)),
         [&] { Seg->SetInterDigDist(300); },
         {255}},
        {"InterDigDist 256", Seg, SIGNAL(InterDigDistChanged(int)), [&] { Seg->SetInterDigDist(256); }, {}},
        {"FrameStyle 6",
         Seg,
         SIGNAL(FrameStyleChanged(zent::TFrameStyle)),
         [&] { Seg->setProperty("FrameStyle", 6); },
         {}},
        {"Caption as it is", Seg, SIGNAL(CaptionChanged(QString)), [&] { Seg->SetCaption("8.8.8.8."); }, {}},
        {"Precision 20", Lab, SIGNAL(PrecisionChanged(int)), [&] { Lab->SetPrecision(20); }, {15}},
        {"Precision 20 again", Lab, SIGNAL(PrecisionChanged(int)), [&] { Lab->SetPrecision(20); }, {}},
        {"Precision -1", Lab, SIGNAL(PrecisionChanged(int)), [&] { Lab->SetPrecision(-1); }, {}},
        {"LeftSpace 500", Lab, SIGNAL(LeftSpaceChanged(int)), [&] { Lab->SetLeftSpace(500); }, {160}},
        {"Value -0 over 0", Lab, SIGNAL(ValueChanged(double)), [&] { Lab->SetValue(-0.0); }, {}},
        {"Enabled true again", Lab, SIGNAL(EnabledChanged(bool)), [&] { Lab->SetEnabled(true); }, {}},
        {"DisplayType by name",
         Lab,
         SIGNAL(DisplayTypeChanged(zent::TDisplay)),
         [&] { Lab->setProperty("DisplayType", "dtExp"); },
         {QVariant::fromValue(dtExp)}},
        {"a colour of no meaning",
         Lab,
         SIGNAL(ColorLabTextChanged(QColor)),
         [&] { Lab->SetColorLabText(QColor()); },
         {}},
        {"NumColors 20, selecting entry 1",
         Sel,
         SIGNAL(NumColorsChanged(int)),
         [&] { Sel->SetNumColors(20); },
         {}},
        {"SelColor listed",
         Sel,
         SIGNAL(SelColorChanged(QColor)),
         [&] { Sel->SetSelColor(clRed); },
         {QColor(Qt::red)}},
        {"SelColor of the same RGB",
         Sel,
         SIGNAL(SelColorChanged(QColor)),
         [&] { Sel->SetSelColor(0x0000FF); },
         {}},
        {"ColorBarWidth -5", Sel, SIGNAL(ColorBarWidthChanged(int)), [&] { Sel->SetColorBarWidth(-5); }, {}},
    };
    for (const TCase& C : Cases) {
        QSignalSpy Spy(C.Sender, C.Signal);
        ASSERT_TRUE(Spy.isValid()) << C.What;
        C.Write();
        std::vector<QVariant> Told;
        for (const QList<QVariant>& Args : Spy) Told.push_back(Args[0]);
        EXPECT_EQ(Told, C.Told) << C.What;
    }
}

// A signal comes after the repaint: a slot finds the new value shown.
TEST(Signals, ComeAfterTheRepaint) {
    QWidget Window;
    auto* Lab = new TNumLab(&Window);
    Window.show();
    QApplication::processEvents();
    std::string Shown;
    QObject::connect(Lab, &TNumLab::ValueChanged, [&] { Shown = Lab->DrawnText(); });
    Lab->SetValue(5);
    EXPECT_EQ(Shown, "5.00");
}

// A pick tells OnClick, then OnChange, then the signal.
TEST(Signals, APickRaisesTheEventsFirstThenTheSignal) {
    QWidget Window;
    auto* Sel = new TColSel(&Window);
    Sel->SetNumColors(20);
    std::vector<std::string> Order;
    Sel->OnClick = [&](QObject*) { Order.push_back("OnClick"); };
    Sel->OnChange = [&](QObject*) { Order.push_back("OnChange"); };
    QObject::connect(Sel, &TColSel::SelColorChanged,
                     [&](const QColor& C) { Order.push_back("SelColorChanged " + C.name().toStdString()); });
    Sel->setCurrentIndex(9);
    emit Sel->activated(9);  // as a click in the list picks
    EXPECT_EQ(Order, (std::vector<std::string>{"OnClick", "OnChange", "SelColorChanged #ff0000"}));
    Order.clear();
    emit Sel->activated(9);  // the same entry again: the events, no change
    EXPECT_EQ(Order, (std::vector<std::string>{"OnClick", "OnChange"}));
}

}  // namespace
