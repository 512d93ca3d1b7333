#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <array>
#include <climits>
#include <functional>
#include <memory>

#include "Zent_combobox.h"
#include "Zent_controls.h"
#include "Zent_events.h"
#include "Zent_extctrls.h"
#include "Zent_forms.h"
#include "Zent_stdctrls.h"
#include "Zent_sysutils.h"
#include "test_support.h"

using namespace zent;

namespace {

// Draws a finished bitmap: a white left half and a coloured right half.
class TStencil : public TGraphicControl {
    Q_OBJECT
public:
    using TGraphicControl::TGraphicControl;
    uint32_t Mode = SRCCOPY;
    TColor Right = 0x0000F0F0;
    int Paints = 0;
    void Paint() override {
        ++Paints;
        TBitmap Buffer;
        Buffer.SetSize(Width(), Height());
        Buffer.Canvas().Brush.SetColor(Right);
        Buffer.Canvas().FillRect(Rect(Width() / 2, 0, Width(), Height()));
        Canvas().CopyMode = Mode;
        Canvas().Draw(0, 0, Buffer);
    }
};

class TOther : public TGraphicControl {
    Q_OBJECT
public:
    using TGraphicControl::TGraphicControl;
    void LayoutLoaded() override {
        TGraphicControl::LayoutLoaded();
        if (Log) Log->push_back(this);
    }
    std::vector<TOther*>* Log = nullptr;
};

struct TParent {
    QWidget Window;
    explicit TParent(TColor Background) {
        QPalette P = Window.palette();
        P.setColor(QPalette::Window, QColor::fromRgb(RGBToPixel(Background)));
        Window.setPalette(P);
        Window.setAutoFillBackground(true);
        Window.resize(120, 60);
    }
};

struct TCapturedReports {
    std::vector<std::pair<std::string, std::string>> Reports;
    TErrorReporter Previous;
    TCapturedReports() {
        Previous = SetErrorReporter([this](const std::string& T, const std::string& M) { Reports.emplace_back(T, M); });
    }
    ~TCapturedReports() { SetErrorReporter(Previous); }
};

}  // namespace

TEST(GraphicControl, CopyModesOnAShownControl) {
    constexpr TColor Background = 0x00336699;
    for (const uint32_t Mode : {SRCCOPY, SRCAND}) {
        TParent P(Background);
        TStencil S(&P.Window);
        S.Mode = Mode;
        S.SetBounds(10, 10, 40, 20);
        P.Window.show();
        const QImage Shot = test::Grab(P.Window);
        test::SavePicture(Shot, Mode == SRCAND ? "control_srcand" : "control_srccopy");
        const TColor Left = test::PixelAt(Shot, 15, 20), Right = test::PixelAt(Shot, 40, 20);
        if (Mode == SRCAND) {
            EXPECT_EQ(Left, Background);  // white leaves the parent's background
            EXPECT_EQ(Right, Background & S.Right);
        } else {
            EXPECT_EQ(Left, clWhite);
            EXPECT_EQ(Right, S.Right);
        }
        EXPECT_EQ(test::PixelAt(Shot, 5, 5), Background);  // outside the control
    }
}

TEST(GraphicControl, RepaintNowPaintsBeforeReturningAndInvalidateLater) {
    TParent P(clSilver);
    TStencil S(&P.Window);
    S.SetBounds(0, 0, 30, 30);
    P.Window.show();
    QApplication::processEvents();
    const int Before = S.Paints;
    S.RepaintNow();
    EXPECT_EQ(S.Paints, Before + 1);
    S.Invalidate();
    S.Invalidate();
    EXPECT_EQ(S.Paints, Before + 1);
    QApplication::processEvents();
    EXPECT_EQ(S.Paints, Before + 2);  // two requests, one paint
}

TEST(GraphicControl, WithoutAParentRepaintWaitsUntilShown) {
    TParent P(clSilver);
    auto* S = new TStencil;
    S->RepaintNow();
    EXPECT_EQ(S->Paints, 0);
    S->setParent(&P.Window);
    S->SetBounds(0, 0, 30, 30);
    P.Window.show();
    QApplication::processEvents();
    EXPECT_GE(S->Paints, 1);
}

// Any area may be asked for: what lies on the control is repainted, under
// either repaint policy; nothing else is.
TEST(GraphicControl, RepaintsOnlyWhatOfAnAreaLiesOnTheControl) {
    struct TRecorder : TGraphicControl {
        using TGraphicControl::TGraphicControl;
        std::vector<TRect> Areas;
        void Paint() override { Areas.push_back(Canvas().PaintArea()); }
    };
    const std::pair<TRect, std::vector<TRect>> Cases[] = {
        {Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), {Rect(0, 0, 30, 20)}},
        {Rect(5, INT_MIN, 8, 2), {Rect(5, 0, 8, 2)}},
        {Rect(INT_MAX - 1, 0, INT_MAX, 10), {}},
        {Rect(12, 12, 4, 4), {}},  // inverted
    };
    TParent P(clSilver);
    TRecorder C(&P.Window);
    C.SetBounds(0, 0, 30, 20);
    P.Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&P.Window));
    for (const TRepaintPolicy Policy : {TRepaintPolicy::Immediate, TRepaintPolicy::Coalesced}) {
        C.SetRepaintPolicy(Policy);
        for (const auto& [Area, Painted] : Cases) {
            QApplication::processEvents();
            C.Areas.clear();
            C.RepaintChanged(Area);
            QApplication::processEvents();
            EXPECT_EQ(C.Areas, Painted) << Area.Left << "," << Area.Top << " " << int(Policy);
        }
    }
}

TEST(GraphicControl, AssignBetweenUnrelatedClassesNamesBoth) {
    TStencil A;
    TOther B;
    QObject Plain;
    auto MessageOf = [](auto&& Call) {
        try {
            Call();
        } catch (const EConvertError& E) {
            return E.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(MessageOf([&] { A.Assign(&B); }), "Cannot assign a TOther to a TStencil");
    EXPECT_EQ(MessageOf([&] { A.Assign(nullptr); }), "Cannot assign a nil to a TStencil");
    EXPECT_EQ(MessageOf([&] { A.Assign(&Plain); }), "Cannot assign a QObject to a TStencil");
}

TEST(LayoutLoading, ControlsLoadUntilFinishedThenHearLayoutLoadedInCreationOrder) {
    TParent P(clSilver);
    std::vector<TOther*> Log;
    TOther* A;
    TOther* C;
    {
        TLayoutLoading Loading;
        A = new TOther(&P.Window);
        auto* B = new TOther(&P.Window);
        C = new TOther(&P.Window);
        for (TOther* X : {A, B, C}) {
            X->Log = &Log;
            EXPECT_TRUE(X->ComponentState() & csLoading);
        }
        delete B;  // gone before the end of loading: skipped
        Loading.Finish();
        EXPECT_FALSE(A->ComponentState() & csLoading);
        EXPECT_FALSE(TOther(&P.Window).ComponentState() & csLoading);  // created after Finish
    }
    EXPECT_EQ(Log, (std::vector<TOther*>{A, C}));
    EXPECT_FALSE(TOther(&P.Window).ComponentState() & csLoading);
}

TEST(GraphicControl, OnResizeIsSilentWhileLoading) {
    TParent P(clSilver);
    TOther C(&P.Window);
    int Resizes = 0;
    C.OnResize = [&](QObject* Sender) {
        EXPECT_EQ(Sender, &C);
        ++Resizes;
    };
    C.BeginLoading();
    C.SetWidth(50);
    C.SetHeight(20);
    EXPECT_EQ(Resizes, 0);
    C.LayoutLoaded();
    EXPECT_FALSE(C.ComponentState() & csLoading);
    C.SetWidth(60);
    EXPECT_EQ(Resizes, 1);
    C.SetLeft(3);
    EXPECT_EQ(Resizes, 2);  // a move is a change of bounds too
    C.SetWidth(60);
    EXPECT_EQ(Resizes, 2);
}

TEST(GraphicControl, BoundsAreClampedSoThatPositionPlusSizeFits) {
    static constexpr int32_t Max = (1 << 24) - 1;  // Qt's largest widget size
    struct Case {
        std::function<void(TGraphicControl&)> Set;
        std::array<int32_t, 4> Bounds;  // Left, Top, Width, Height after the call
    };
    const Case Cases[] = {
        {[](TGraphicControl& C) { C.SetBounds(10, 10, INT_MAX, INT_MAX); }, {10, 10, Max, Max}},
        {[](TGraphicControl& C) { C.SetLeft(INT_MAX); }, {Max, 2, 30, 40}},
        {[](TGraphicControl& C) { C.SetTop(INT_MIN); }, {1, -Max, 30, 40}},
        {[](TGraphicControl& C) { C.SetBounds(INT_MIN, INT_MAX, INT_MIN, -1); }, {-Max, Max, 0, 0}},
        {[](TGraphicControl& C) { C.SetWidth(Max); }, {1, 2, Max, 40}},  // the limit itself is kept
    };
    TParent P(clSilver);
    for (const Case& K : Cases) {
        TOther C(&P.Window);
        C.SetBounds(1, 2, 30, 40);
        K.Set(C);
        EXPECT_EQ((std::array{C.Left(), C.Top(), C.Width(), C.Height()}), K.Bounds) << &K - Cases;
    }
}

TEST(GraphicControl, AlignedControlsFollowTheParent) {
    TParent P(clSilver);
    TOther C(&P.Window);
    C.SetBounds(7, 9, 20, 15);
    C.SetAlign(alTop);
    TParent Q(clSilver);
    TOther R(&Q.Window);
    R.SetBounds(3, 4, 30, 10);
    R.SetAlign(alRight);
    P.Window.show();
    Q.Window.show();
    EXPECT_EQ(C.Left(), 0);
    EXPECT_EQ(C.Top(), 0);
    EXPECT_EQ(C.Width(), 120);
    P.Window.resize(200, 80);
    EXPECT_EQ(C.Width(), 200);
    EXPECT_EQ(C.Height(), 15);
    // On the right it keeps its width and takes the parent's height.
    EXPECT_EQ((std::array{R.Left(), R.Top(), R.Width(), R.Height()}), (std::array{90, 0, 30, 60}));
    Q.Window.resize(200, 80);
    EXPECT_EQ((std::array{R.Left(), R.Top(), R.Width(), R.Height()}), (std::array{170, 0, 30, 80}));
}

TEST(GraphicControl, AClickIsAPressAndAReleaseInside) {
    TParent P(clSilver);
    TOther C(&P.Window);
    C.SetBounds(10, 10, 30, 30);
    int Clicks = 0;
    C.OnClick = [&](QObject*) { ++Clicks; };
    P.Window.show();
    const auto Send = [&](QEvent::Type Type, QPointF At, Qt::MouseButton Button) {
        QMouseEvent E(Type, At, C.mapToGlobal(At), Button,
                      Type == QEvent::MouseButtonPress ? Button : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&C, &E);
    };
    Send(QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, {25, 6}, Qt::LeftButton);
    EXPECT_EQ(Clicks, 1);
    Send(QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, {45, 6}, Qt::LeftButton);  // dragged off the control first
    Send(QEvent::MouseButtonPress, {5, 5}, Qt::RightButton);
    Send(QEvent::MouseButtonRelease, {5, 5}, Qt::RightButton);
    Send(QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton);  // no press before it
    EXPECT_EQ(Clicks, 1);
}

TEST(ErrorReport, EscapingExceptionsAreReportedAndTheProgramGoesOn) {
    TCapturedReports Captured;
    QApplication::setApplicationDisplayName("Seven Segment Display");
    TParent P(clSilver);
    TOther C(&P.Window);
    C.OnResize = [](QObject*) { throw Exception("logarithm: invalid argument"); };
    C.SetWidth(33);
    ASSERT_EQ(Captured.Reports.size(), 1u);
    EXPECT_EQ(Captured.Reports[0].first, "Seven Segment Display");
    EXPECT_EQ(Captured.Reports[0].second, "logarithm: invalid argument.");
    EXPECT_EQ(C.Width(), 33);

    TTimer T;
    T.SetEnabled(false);
    int Ticks = 0;
    T.OnTimer = [&](QObject*) {
        ++Ticks;
        throw std::runtime_error("tick failed!");
    };
    T.Tick();
    T.Tick();
    EXPECT_EQ(Ticks, 2);
    ASSERT_EQ(Captured.Reports.size(), 3u);
    EXPECT_EQ(Captured.Reports[2].second, "tick failed!");
    QApplication::setApplicationDisplayName(QString());
}

TEST(ErrorReport, AReporterMayReplaceItselfWhileItRuns) {
    TCapturedReports Captured;
    std::vector<std::string> Seen;
    // The closure alone owns heap state, which it reads after replacing itself.
    SetErrorReporter(
        [&Seen, Prefix = std::make_shared<std::string>("first reporter, with a long enough text: ")](
            const std::string&, const std::string& Text) {
            SetErrorReporter(
                [&Seen](const std::string&, const std::string& T) { Seen.push_back("second: " + T); });
            Seen.push_back(*Prefix + Text);
        });
    ShowErrorReport("one");
    ShowErrorReport("two");
    EXPECT_EQ(Seen,
              (std::vector<std::string>{"first reporter, with a long enough text: one.", "second: two."}));
}

// A handler may replace or clear its own event while it runs, as a window's
// handlers detach themselves: the call goes on in a handler that is still
// alive, here one that reads the text it holds after clearing its event.
TEST(Events, AHandlerMayClearItsEventWhileItRuns) {
    std::vector<std::string> Heard;
    const auto SelfClearing = [&Heard](auto& Event, const char* Name) {
        Event = [&Event, &Heard,
                 Text = std::string(Name) + ", a text long enough to live on the heap"](auto&&...) {
            Event = nullptr;
            Heard.push_back(Text);
        };
    };
    QWidget Window;
    Window.resize(200, 200);
    TOther Control(&Window);
    Control.SetBounds(0, 0, 40, 40);
    TCustomComboBox Box(&Window);
    Box.Items().AddStrings({"one", "two"});
    TScrollBar Bar(&Window);
    TEdit Edit(&Window);
    TRadioGroup Group(&Window);
    TOther Resized(&Window);
    Resized.SetHeight(50);
    Resized.SetAlign(alTop);
    TSplitter Splitter(&Window);
    Splitter.SetAlign(alTop);
    TTimer Timer;
    Timer.SetEnabled(false);
    TForm Form;
    Window.show();
    const auto Mouse = [](QWidget& Target, QEvent::Type Type, QPointF At) {
        QMouseEvent E(Type, At, Target.mapToGlobal(At), Qt::LeftButton,
                      Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&Target, &E);
    };
    const auto Focus = [&Box](QEvent::Type Type) {
        QFocusEvent E(Type, Qt::TabFocusReason);
        QApplication::sendEvent(&Box, &E);
    };

    struct TCase {
        const char* Name;
        std::function<void(const char*)> Attach;
        std::function<void()> Raise;
    };
    const TCase Cases[] = {
        {"OnResize", [&](auto N) { SelfClearing(Control.OnResize, N); }, [&] { Control.SetWidth(41); }},
        {"OnClick", [&](auto N) { SelfClearing(Control.OnClick, N); },
         [&] {
             Mouse(Control, QEvent::MouseButtonPress, {5, 5});
             Mouse(Control, QEvent::MouseButtonRelease, {5, 5});
         }},
        {"OnDblClick", [&](auto N) { SelfClearing(Control.OnDblClick, N); },
         [&] {
             Mouse(Control, QEvent::MouseButtonDblClick, {5, 5});
         }},
        {"OnMouseDown", [&](auto N) { SelfClearing(Control.OnMouseDown, N); },
         [&] {
             Mouse(Control, QEvent::MouseButtonPress, {5, 5});
         }},
        {"OnMouseUp", [&](auto N) { SelfClearing(Control.OnMouseUp, N); },
         [&] {
             Mouse(Control, QEvent::MouseButtonRelease, {5, 5});
         }},
        {"OnMouseMove", [&](auto N) { SelfClearing(Control.OnMouseMove, N); },
         [&] {
             Mouse(Control, QEvent::MouseMove, {6, 5});
         }},
        {"box OnClick", [&](auto N) { SelfClearing(Box.OnClick, N); }, [&] { emit Box.activated(1); }},
        {"box OnChange", [&](auto N) { SelfClearing(Box.OnChange, N); }, [&] { emit Box.activated(0); }},
        {"box OnDropDown", [&](auto N) { SelfClearing(Box.OnDropDown, N); }, [&] { Box.DropDown(); }},
        {"box OnEnter", [&](auto N) { SelfClearing(Box.OnEnter, N); }, [&] { Focus(QEvent::FocusIn); }},
        {"box OnExit", [&](auto N) { SelfClearing(Box.OnExit, N); }, [&] { Focus(QEvent::FocusOut); }},
        {"scroll bar OnChange", [&](auto N) { SelfClearing(Bar.OnChange, N); }, [&] { Bar.SetPosition(7); }},
        {"edit OnChange", [&](auto N) { SelfClearing(Edit.OnChange, N); }, [&] { Edit.SetText("typed"); }},
        {"radio group OnClick", [&](auto N) { SelfClearing(Group.OnClick, N); },
         [&] {
             Group.SetItems({"a", "b"});
             Group.findChildren<QRadioButton*>()[1]->click();
         }},
        {"splitter OnCanResize", [&](auto N) { SelfClearing(Splitter.OnCanResize, N); },
         [&] {
             Mouse(Splitter, QEvent::MouseButtonPress, {5, 1});
             Mouse(Splitter, QEvent::MouseMove, {5, 9});
             Mouse(Splitter, QEvent::MouseButtonRelease, {5, 9});
         }},
        {"OnTimer", [&](auto N) { SelfClearing(Timer.OnTimer, N); }, [&] { Timer.Tick(); }},
        {"OnShow", [&](auto N) { SelfClearing(Form.OnShow, N); }, [&] { Form.show(); }},
    };
    for (const TCase& C : Cases) {
        Heard.clear();
        C.Attach(C.Name);
        C.Raise();
        C.Raise();  // the event is cleared now
        EXPECT_EQ(Heard,
                  std::vector<std::string>{std::string(C.Name) + ", a text long enough to live on the heap"})
            << C.Name;
    }
}

// A text event hands back the Unicode handler it holds, by its type, and
// nothing for another type, for a Latin-1 handler (held wrapped) or when empty.
TEST(Events, TextEventTargetFindsTheUnicodeHandlerItHolds) {
    struct TTagged {
        int Tag;
        void operator()(QObject*, QString& Text) const { Text += QString::number(Tag); }
    };
    struct TOther {
        void operator()(QObject*, QString&) const {}
    };
    const auto Latin1 = [](QObject*, std::string&) {};
    struct TCase {
        const char* What;
        TTextEvent Event;
        int Tag;  // -1: no TTagged found
    };
    const TCase Cases[] = {
        {"tagged handler", TTextEvent(TTagged{7}), 7},
        {"other Unicode handler", TTextEvent(TOther{}), -1},
        {"Latin-1 handler", TTextEvent(Latin1), -1},
        {"empty", TTextEvent(nullptr), -1},
    };
    for (const TCase& C : Cases) {
        const TTagged* Found = C.Event.Target<TTagged>();
        EXPECT_EQ(Found ? Found->Tag : -1, C.Tag) << C.What;
        if (!Found) continue;
        QString Text = "x";
        C.Event(nullptr, Text);
        EXPECT_EQ(Text, "x7") << C.What << ": the handler found is the one that runs";
    }
}

// Paint cost follows what is visible, not the control's size: a control of
// Qt's largest size seen through a small window draws its frame and its
// diagonals in the time the window's pixels take.
TEST(GraphicControl, AHugeControlPaintsOnlyWhatIsVisible) {
    class TCrossed : public TGraphicControl {
    public:
        using TGraphicControl::TGraphicControl;
        void Paint() override {
            const int32_t W = Width(), H = Height();
            TCanvas& C = Canvas();
            C.Pen.Color = clBlack;
            C.MoveTo(0, 0);
            C.LineTo(W - 1, 0);
            C.LineTo(W - 1, H - 1);
            C.LineTo(0, H - 1);
            C.LineTo(0, 0);
            C.LineTo(W, H);
            C.MoveTo(W, 0);
            C.LineTo(0, H);
            C.MoveTo(0, H / 4);
            C.LineTo(W, H / 4 + 1);
        }
    };
    TParent P(clWhite);
    P.Window.resize(200, 100);
    TCrossed Control(&P.Window);
    // The window shows the middle of the square control, where its diagonals
    // cross: window (X, Y) is control (X + Half - 100, Y + Half - 50).
    constexpr int32_t Half = MaxCoordinate / 2;
    Control.SetBounds(100 - Half, 50 - Half, MaxCoordinate, MaxCoordinate);
    P.Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&P.Window));
    QElapsedTimer Clock;
    qint64 Fastest = INT64_MAX;
    for (int Round = 0; Round < 3; ++Round) {
        Clock.start();
        Control.repaint();
        Fastest = std::min(Fastest, Clock.elapsed());
    }
    // Stepping along the lines takes seconds; the window's pixels a few milliseconds.
    EXPECT_LT(Fastest, 250);
    // Each row shows the two diagonals, x = y and x + y = MaxCoordinate, and nothing else.
    const QImage Shown = test::Grab(P.Window);
    for (int Y = 0; Y < 100; ++Y) {
        std::vector<int> Black;
        for (int X = 0; X < 200; ++X)
            if (test::PixelAt(Shown, X, Y) == clBlack) Black.push_back(X);
        EXPECT_EQ(Black, (std::vector<int>{std::min(Y + 50, 151 - Y), std::max(Y + 50, 151 - Y)})) << Y;
    }
}

TEST(Timer, RealTimerTicksThroughTheMessageLoop) {
    auto RunLoopFor = [](int Ms, QEventLoop& Loop) {
        QTimer::singleShot(Ms, &Loop, &QEventLoop::quit);
        Loop.exec();
    };
    TTimer T;
    T.SetInterval(5);
    int Ticks = 0;
    QEventLoop Loop;
    T.OnTimer = [&](QObject*) {
        if (++Ticks == 2) Loop.quit();
    };
    RunLoopFor(5000, Loop);
    EXPECT_GE(Ticks, 2);
    T.SetEnabled(false);
    const int Stopped = Ticks;
    QEventLoop Idle;
    RunLoopFor(30, Idle);
    EXPECT_EQ(Ticks, Stopped);
}

#include "test_controls.moc"
