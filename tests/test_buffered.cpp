// The repaint policies and the kept picture, as both windowless widgets
// show them on the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "Zent_Colsel.h"
#include "Zent_NumLab.h"
#include "Zent_forms.h"
#include "Zent_sevenseg.h"
#include "Zent_zentcolors.h"
#include "test_support.h"

using namespace zent;

namespace {

// Counts the paints of a widget: its paint events, whatever it draws.
template <class TWidget>
struct TCounting : TWidget {
    using TWidget::TWidget;
    int Paints = 0;
    void paintEvent(QPaintEvent* Event) override {
        ++Paints;
        TWidget::paintEvent(Event);
    }
};

void SetPolicy(QWidget& W, std::optional<TRepaintPolicy> Policy) {
    if (auto* Control = qobject_cast<TGraphicControl*>(&W)) Control->SetRepaintPolicy(Policy);
    if (auto* Box = qobject_cast<TCustomComboBox*>(&W)) Box->SetRepaintPolicy(Policy);
}
TRepaintPolicy PolicyOf(QWidget& W) {
    if (auto* Box = qobject_cast<TCustomComboBox*>(&W)) return Box->RepaintPolicy();
    return qobject_cast<TGraphicControl*>(&W)->RepaintPolicy();
}

// A widget shown in a window, and a write that changes what it shows.
struct TSubject {
    const char* What;
    std::function<QWidget*(QWidget&)> Make;
    std::function<void(QWidget&, int)> Write;
    std::function<int(QWidget&)> Paints;
};

template <class TWidget>
TCounting<TWidget>& As(QWidget& W) {
    return static_cast<TCounting<TWidget>&>(W);
}

const std::vector<TSubject>& Subjects() {
    static const std::vector<TSubject> List = {
        {"label", [](QWidget& W) { return new TCounting<TNumLab>(&W); },
         [](QWidget& C, int V) { As<TNumLab>(C).SetValue(V); },
         [](QWidget& C) { return As<TNumLab>(C).Paints; }},
        {"display", [](QWidget& W) { return new TCounting<TSevenSeg>(&W); },
         [](QWidget& C, int V) { As<TSevenSeg>(C).SetCaption(std::to_string(V) + ".5"); },
         [](QWidget& C) { return As<TSevenSeg>(C).Paints; }},
        {"colour list",
         [](QWidget& W) {
             auto* Sel = new TCounting<TColSel>(&W);
             Sel->SetNumColors(20);
             return Sel;
         },
         [](QWidget& C, int V) { As<TColSel>(C).SetSelColor(StandardPalette(V + 1)); },
         [](QWidget& C) { return As<TColSel>(C).Paints; }},
    };
    return List;
}

struct TReports {
    std::vector<std::string> Messages;
    TErrorReporter Previous =
        SetErrorReporter([this](const std::string&, const std::string& M) { Messages.push_back(M); });
    ~TReports() { SetErrorReporter(Previous); }
};

struct TPolicyCase {
    const char* What;
    TRepaintPolicy Application;
    std::optional<TRepaintPolicy> Own;
    TRepaintPolicy Effective;
};

TEST(RepaintPolicy, SettersShowNowOrAtTheNextPaintAndGrabAlwaysShowsTheNewest) {
    const TPolicyCase Cases[] = {
        {"default", TRepaintPolicy::Immediate, std::nullopt, TRepaintPolicy::Immediate},
        {"coalesced application", TRepaintPolicy::Coalesced, std::nullopt, TRepaintPolicy::Coalesced},
        {"coalesced control", TRepaintPolicy::Immediate, TRepaintPolicy::Coalesced,
         TRepaintPolicy::Coalesced},
        {"immediate control", TRepaintPolicy::Coalesced, TRepaintPolicy::Immediate,
         TRepaintPolicy::Immediate},
    };
    for (const TSubject& S : Subjects()) {
        for (const TPolicyCase& P : Cases) {
            const std::string Where = std::string(S.What) + ", " + P.What;
            SetRepaintPolicy(P.Application);
            QWidget Window;
            Window.resize(260, 110);
            QWidget* Control = S.Make(Window);
            SetPolicy(*Control, P.Own);
            EXPECT_EQ(PolicyOf(*Control), P.Effective) << Where;
            Window.show();
            QApplication::processEvents();
            const QImage Before = test::OnScreen(*Control);

            const int PaintsBefore = S.Paints(*Control);
            for (int V = 1; V <= 5; ++V) S.Write(*Control, V);
            const int PaintsInSetters = S.Paints(*Control) - PaintsBefore;
            const QImage Screen = test::OnScreen(*Control);
            const QImage Newest = test::Grab(*Control);
            EXPECT_NE(Newest, Before) << Where;
            if (P.Effective == TRepaintPolicy::Immediate) {
                EXPECT_EQ(PaintsInSetters, 5) << Where;
                EXPECT_EQ(Screen, Newest) << Where << ": on the screen when the setter returns";
            } else {
                EXPECT_EQ(PaintsInSetters, 0) << Where;
                EXPECT_EQ(Screen, Before) << Where << ": the screen waits for Qt's paint";
            }
            const int PaintsBeforeLoop = S.Paints(*Control);
            QApplication::processEvents();
            EXPECT_EQ(test::OnScreen(*Control), Newest) << Where;
            if (P.Effective == TRepaintPolicy::Coalesced) {
                EXPECT_EQ(S.Paints(*Control) - PaintsBeforeLoop, 1) << Where << ": five writes, one paint";
            }
        }
    }
    SetRepaintPolicy(TRepaintPolicy::Immediate);
}

// A handler called during a paint may write the control's properties: the
// write never nests a paint, and what it wrote is shown when the outermost
// setter returns (Immediate) or after the next paint (Coalesced).
TEST(RepaintPolicy, SetterInsideAPaintShowsItsValueAfterThatPaint) {
    for (const TRepaintPolicy Policy : {TRepaintPolicy::Immediate, TRepaintPolicy::Coalesced}) {
        TReports Reports;
        QWidget Window;
        auto* L = new TNumLab(&Window);
        L->SetRepaintPolicy(Policy);
        Window.show();
        QApplication::processEvents();
        int Runs = 0;
        L->OnBeforeDisplay = [&](QObject* Sender, std::string&) {
            if (++Runs == 1) static_cast<TNumLab*>(Sender)->SetValue(7);
        };
        L->SetValue(1);
        // Coalesced: the paint whose handler writes 7, then the one that write
        // asks for, which Qt delivers a loop turn or two later.
        for (int Turn = 0; Policy == TRepaintPolicy::Coalesced && Turn < 3; ++Turn)
            QApplication::processEvents();
        EXPECT_EQ(L->Value(), 7);
        EXPECT_EQ(L->DrawnText(), "7.00");
        EXPECT_EQ(test::OnScreen(*L), test::Grab(*L));
        QApplication::processEvents();
        EXPECT_TRUE(Reports.Messages.empty()) << Reports.Messages.front();
    }
}

}  // namespace
