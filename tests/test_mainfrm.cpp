#include <gtest/gtest.h>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <stdexcept>

#include "Zent_NumLab.h"
#include "Zent_dateutils.h"
#include "Zent_internal.h"
#include "Zent_segglyphs.h"
#include "Zent_sevenseg.h"
#include "mainfrm.h"
#include "realwindow/display_measure.h"
#include "test_support.h"

using namespace zent;

namespace {

test::TDisplayMeasure Measure(TSevenSeg& Display) {
    test::TDisplayMeasure M;
    EXPECT_TRUE(test::MeasureDisplay(test::Grab(Display), {0, 0}, Display.Width(), M));
    return M;
}

// The window as the program shows it.
struct TShownForm : TForm1 {
    TShownForm() {
        show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(this));
    }

    QRadioButton* ModeButton(int Index) { return RGDisplayMode->findChildren<QRadioButton*>().at(Index); }
    void SelectMode(int Index) { QTest::mouseClick(ModeButton(Index), Qt::LeftButton); }

    // Presses on the splitter and moves the pointer by each distance in turn.
    void DragSplitter(const std::vector<int>& Distances) {
        const int Start = Splitter1->y() + 3;
        QTest::mousePress(Splitter1, Qt::LeftButton, {}, {100, 3});
        for (const int D : Distances) QTest::mouseMove(Splitter1, {100, Start + D - Splitter1->y()});
    }
    void ReleaseSplitter() { QTest::mouseRelease(Splitter1, Qt::LeftButton, {}, {100, 3}); }
};

}  // namespace

TEST(MainForm, StartsFromItsLayoutWithoutAHandlerAndShowsEightDigits) {
    TForm1 Form;
    EXPECT_EQ(Form.HandlerRuns(), 0);
    // Every name the layout writes met its property (a missed one would have
    // become a dynamic property), and no control keeps a font of its own.
    QObjectList Objects = Form.findChildren<QObject*>();
    Objects << &Form;
    for (const QObject* Object : Objects) {
        EXPECT_TRUE(Object->dynamicPropertyNames().isEmpty()) << Object->objectName().toStdString();
        const auto* W = qobject_cast<const QWidget*>(Object);
        if (W && W != &Form) {
            EXPECT_FALSE(W->testAttribute(Qt::WA_SetFont)) << W->objectName().toStdString();
        }
    }
    EXPECT_EQ(Form.font().pixelSize(), 13);

    Form.show();
    EXPECT_EQ(Form.HandlerRuns(), 1) << "FormShow only";
    test::SavePicture(Form.grab().toImage(), "mainfrm_start");
    EXPECT_EQ(Form.My7Seg->NumDigits(), 8);
    EXPECT_EQ(Form.SBarNumDig->Position(), 6);
    EXPECT_EQ(Form.NLabNumDig->DrawnText(), "6");
    EXPECT_EQ(Form.NLabMargin->DrawnText(), "10");
    EXPECT_EQ(Form.NLabInterDigDist->DrawnText(), "4");
    const test::TDisplayMeasure M = Measure(*Form.My7Seg);
    EXPECT_EQ(M.Cells, 8);
    EXPECT_EQ(M.Background & 0xFFFFFF, 0x202020u);
    EXPECT_EQ(Form.CSelBakg->SelColor(), clBlack);
    EXPECT_EQ(Form.My7Seg->ColorText(), clRed);
    EXPECT_EQ(Form.CSelText->SelColor(), clRed);
    EXPECT_EQ(Form.EdCaption->Text(), Form.My7Seg->Caption());
}

TEST(MainForm, ScrollBarsDriveTheDisplay) {
    TShownForm Form;
    struct TCase {
        TScrollBar* Bar;
        int32_t (TSevenSeg::*Shown)() const;
    };
    for (const TCase& C :
         {TCase{Form.SBarNumDig, &TSevenSeg::NumDigits}, TCase{Form.SBarMargin, &TSevenSeg::Margin},
          TCase{Form.SBarInterdig, &TSevenSeg::InterDigDist}}) {
        for (const Qt::Key Key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Left}) {
            QTest::keyClick(C.Bar, Key);
            EXPECT_EQ((Form.My7Seg->*C.Shown)(), C.Bar->Position()) << C.Bar->objectName().toStdString();
        }
    }
    EXPECT_EQ(Measure(*Form.My7Seg).Cells, 5);
}

TEST(MainForm, TheCaptionFollowsEveryKeystroke) {
    TShownForm Form;
    Form.EdCaption->selectAll();
    std::string Typed;
    for (const char Key : std::string("-1.5")) {
        QTest::keyClick(Form.EdCaption, Key);
        Typed += Key;
        EXPECT_EQ(Form.My7Seg->Caption(), Typed);
    }
    EXPECT_EQ(Measure(*Form.My7Seg).Cells, 3);
    for (int i = 0; i < 4; ++i) QTest::keyClick(Form.EdCaption, Qt::Key_Backspace);
    EXPECT_EQ(Form.My7Seg->Caption(), "");
    EXPECT_EQ(Measure(*Form.My7Seg).Cells, 0) << "background and frame only";
}

TEST(MainForm, APickedColourRecoloursTheDisplay) {
    TShownForm Form;
    QTest::keyClick(Form.CSelBakg, Qt::Key_Down);
    EXPECT_EQ(Form.CSelBakg->SelColor(), clMaroon);
    EXPECT_EQ(Form.My7Seg->ColorBackGnd(), clMaroon);
    EXPECT_EQ(Measure(*Form.My7Seg).Background & 0xFFFFFF, 0x800000u);
    QTest::keyClick(Form.CSelText, Qt::Key_Down);
    EXPECT_EQ(Form.My7Seg->ColorText(), clLime);
    const QImage Shot = test::Grab(*Form.My7Seg);
    test::SavePicture(Shot, "mainfrm_colours");
    int Lime = 0, Red = 0;
    for (int Y = 0; Y < Shot.height(); ++Y)
        for (int X = 0; X < Shot.width(); ++X) {
            Lime += test::PixelAt(Shot, X, Y) == clLime;
            Red += test::PixelAt(Shot, X, Y) == clRed;
        }
    EXPECT_GT(Lime, 1000);
    EXPECT_EQ(Red, 0);
}

TEST(MainForm, TheSplitterKeepsTheDisplayAtFiftyPixelsOrMore) {
    TShownForm Form;
    Measure(*Form.My7Seg);  // painted once
    const int Rebuilds = Form.My7Seg->GlyphCacheStats().Rebuilds;
    Form.DragSplitter({-20, -46, -47});  // heights 76, 50, then 49 refused
    EXPECT_EQ(Form.My7Seg->Height(), 96) << "applied on release";
    Form.ReleaseSplitter();
    EXPECT_EQ(Form.My7Seg->Height(), 50);
    EXPECT_EQ(Measure(*Form.My7Seg).Height, 50);
    EXPECT_EQ(Form.My7Seg->GlyphCacheStats().Rebuilds, Rebuilds + 1) << "rebuilt once, for the new height";

    Form.DragSplitter({30});
    QTest::keyClick(Form.Splitter1, Qt::Key_Escape);
    Form.ReleaseSplitter();
    EXPECT_EQ(Form.My7Seg->Height(), 50) << "Esc abandons the drag";

    // A margin the low display cannot take is clamped there, while the label
    // shows what the user chose.
    Form.SBarMargin->SetPosition(32);
    EXPECT_EQ(Form.NLabMargin->DrawnText(), "32");
    EXPECT_EQ(Form.My7Seg->Margin(), 50 / 2 - 1);
}

namespace {
TModeClock FixedClock(double DateTime, char TimeSeparator = ':') {
    TModeClock Clock;
    Clock.Now = [DateTime] { return DateTime; };
    Clock.TimeOfDay = [DateTime] { return DateTime - std::floor(DateTime); };
    Clock.Settings = DefaultFormatSettings();
    Clock.Settings->TimeSeparator = std::string(1, TimeSeparator);
    return Clock;
}
const double Day = EncodeDate(2024, 3, 1);
}  // namespace

TEST(MainForm, TheRunningModesWriteTheClockAndTheCounter) {
    struct TCase {
        int Mode;
        double Time;
        char TimeSeparator;
        std::string Caption;
        int LitCells;
        bool FirstCellBlank;
    };
    const TCase Cases[] = {
        {TForm1::dmClock, EncodeTime(14, 5, 9, 123), ':', "14:05:09", 8, false},
        {TForm1::dmClock, EncodeTime(14, 5, 9, 0), '.', "14.05.09", 6, false},  // points, not colons
        {TForm1::dmClock, 0, ':', "00:00:00", 8, false},
        {TForm1::dmCounter, EncodeTime(14, 5, 9, 123), ':', "50709.123", 8, false},
        {TForm1::dmCounter, EncodeTime(0, 0, 5, 250), ':', " 5.250", 4, true},
        {TForm1::dmCounter, EncodeTime(23, 59, 59, 999), ':', "86399.999", 8, false},
    };
    for (const TCase& C : Cases) {
        TShownForm Form;
        Form.SetClock(FixedClock(Day + C.Time, C.TimeSeparator));
        Form.SelectMode(C.Mode);
        EXPECT_TRUE(Form.Timer1->Enabled());
        EXPECT_FALSE(Form.EdCaption->isEnabled());
        EXPECT_EQ(Form.My7Seg->Caption(), Form.EdCaption->Text()) << "until the first tick";
        Form.Timer1->Tick();
        EXPECT_EQ(Form.My7Seg->Caption(), C.Caption);
        const test::TDisplayMeasure M = Measure(*Form.My7Seg);
        EXPECT_EQ(M.Cells, C.LitCells) << C.Caption;
        const int SecondCell = Form.My7Seg->Margin() + int(Form.My7Seg->Geometry().Pitch);
        EXPECT_EQ(M.FirstLit >= SecondCell, C.FirstCellBlank) << C.Caption;
    }
}

TEST(MainForm, ASixDigitClockShowsHoursAndMinutes) {
    TShownForm Form;
    Form.SetClock(FixedClock(Day + EncodeTime(14, 5, 9, 0)));
    QTest::keyClick(Form.SBarNumDig, Qt::Key_Left);
    QTest::keyClick(Form.SBarNumDig, Qt::Key_Right);
    Form.SelectMode(TForm1::dmClock);
    Form.Timer1->Tick();
    const QImage Clock = test::Grab(*Form.My7Seg);
    Form.My7Seg->SetCaption("14:05:");
    EXPECT_EQ(test::Grab(*Form.My7Seg), Clock);
    test::SavePicture(Clock, "mainfrm_clock6");
}

TEST(MainForm, StaticNumberRestoresTheTextAndALateTickOnlyStopsTheTimer) {
    TShownForm Form;
    Form.SetClock(FixedClock(Day + EncodeTime(14, 5, 9, 0)));
    Form.SelectMode(TForm1::dmCounter);
    Form.Timer1->Tick();
    Form.SelectMode(TForm1::dmStatic);
    EXPECT_TRUE(Form.EdCaption->isEnabled());
    EXPECT_EQ(Form.My7Seg->Caption(), "8.8.8.8.8.8.8.8.");
    const int Runs = Form.HandlerRuns();
    Form.Timer1->Tick();  // a tick that was pending
    EXPECT_EQ(Form.HandlerRuns(), Runs + 1);
    EXPECT_EQ(Form.My7Seg->Caption(), "8.8.8.8.8.8.8.8.");
    Form.Timer1->SetEnabled(true);  // a tick in the static mode stops the timer
    Form.Timer1->Tick();
    EXPECT_EQ(Form.My7Seg->Caption(), "8.8.8.8.8.8.8.8.");
}

TEST(MainForm, TheTimerTicksOnItsOwnAndAFailingTickIsReported) {
    std::vector<std::string> Reports;
    const TErrorReporter Previous =
        SetErrorReporter([&](const std::string&, const std::string& Text) { Reports.push_back(Text); });
    TShownForm Form;
    Form.SetClock(FixedClock(Day + EncodeTime(9, 30, 0, 0)));
    Form.SelectMode(TForm1::dmClock);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Form.My7Seg->Caption() == "09:30:00"; }, 2000));

    TModeClock Broken;
    Broken.Now = []() -> double { throw std::runtime_error("the clock failed"); };
    Form.SetClock(Broken);
    Form.Timer1->Tick();
    EXPECT_EQ(Reports, std::vector<std::string>{"the clock failed."});
    EXPECT_EQ(Form.My7Seg->Caption(), "09:30:00");
    SetErrorReporter(Previous);
}

// When the platform refuses the timer, a running mode reports it and leaves
// the edit box usable; once a timer is free, choosing a running mode again
// starts it.
TEST(MainForm, ARefusedTimerIsReportedAndTheEditBoxStaysEnabled) {
    std::vector<std::string> Reports;
    const TErrorReporter Previous =
        SetErrorReporter([&](const std::string&, const std::string& Text) { Reports.push_back(Text); });
    const struct {
        int Refused, Then;
    } Cases[] = {{TForm1::dmClock, TForm1::dmCounter}, {TForm1::dmCounter, TForm1::dmClock}};
    for (const auto& C : Cases) {
        TShownForm Form;
        Reports.clear();
        TPlatformAccess::RefuseTimerStarts(*Form.Timer1, true);
        Form.SelectMode(C.Refused);
        EXPECT_EQ(Reports, std::vector<std::string>{"Not enough timers available."}) << C.Refused;
        EXPECT_TRUE(Form.EdCaption->isEnabled()) << C.Refused;
        EXPECT_FALSE(Form.Timer1->Enabled()) << C.Refused;

        TPlatformAccess::RefuseTimerStarts(*Form.Timer1, false);
        Form.SelectMode(C.Then);
        EXPECT_TRUE(Form.Timer1->Enabled()) << C.Then;
        EXPECT_FALSE(Form.EdCaption->isEnabled()) << C.Then;
        EXPECT_EQ(Reports.size(), 1u) << C.Then;
    }
    SetErrorReporter(Previous);
}
