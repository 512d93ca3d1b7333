#include <QApplication>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "Zent_forms.h"
#include "Zent_stdctrls.h"
#include "Zent_sysutils.h"
#include "test_support.h"

using namespace zent;

namespace {

struct TBarState {
    int32_t Position, Min, Max;
    friend bool operator==(const TBarState&, const TBarState&) = default;
};

std::string ErrorOf(const std::function<void()>& Call) {
    try {
        Call();
    } catch (const Exception& E) {
        return E.Message();
    }
    return "";
}

constexpr const char* OutOfRange = "Scrollbar property out of range";

}  // namespace

TEST(ScrollBar, PositionStaysInRangeAndABadRangeFailsAtOnceOrOnceLoaded) {
    struct TCase {
        bool Loading;
        std::vector<std::pair<const char*, int32_t>> Writes;  // in stored order
        TBarState Expected;
        const char* Error;
    };
    const TCase Cases[] = {
        {false, {{"Position", 150}}, {100, 0, 100}, ""},
        {false, {{"Position", 40}, {"Max", 30}}, {30, 0, 30}, ""},
        {false, {{"Position", 10}, {"Min", 20}}, {20, 20, 100}, ""},
        {false, {{"Position", 7}, {"Max", -1}}, {7, 0, 100}, OutOfRange},
        {false, {{"Min", 101}}, {0, 0, 100}, OutOfRange},
        {false, {{"PageSize", 100}, {"Max", 99}}, {0, 0, 100}, OutOfRange},
        {true, {{"Min", 1}, {"Max", 32}, {"Position", 6}, {"PageSize", 0}}, {6, 1, 32}, ""},
        {true, {{"Min", 1}, {"Position", 0}}, {1, 1, 100}, ""},  // shows Min
        {true, {{"Min", 150}, {"Max", 200}, {"Position", 160}}, {160, 150, 200}, ""},
        {true, {{"Max", 5}, {"Min", 10}}, {0, 0, 100}, OutOfRange},
        {true, {{"PageSize", 10}, {"Max", 5}}, {0, 0, 100}, OutOfRange},
    };
    for (const TCase& C : Cases) {
        TScrollBar Bar;
        if (C.Loading) {
            Bar.BeginLoading();
            Bar.OnChange = [](QObject*) { ADD_FAILURE() << "the stored values are no change"; };
        }
        std::string Error;
        for (const auto& [Name, Value] : C.Writes)
            Error = ErrorOf([&, Name = Name, Value = Value] { Bar.setProperty(Name, Value); });
        if (C.Loading) Error = ErrorOf([&] { Bar.LayoutLoaded(); });
        SCOPED_TRACE(std::string(C.Writes.back().first) + " " + std::to_string(C.Writes.back().second));
        EXPECT_EQ(Error, C.Error);
        EXPECT_EQ((TBarState{Bar.Position(), Bar.Min(), Bar.Max()}), C.Expected);
        EXPECT_EQ(Bar.value(), C.Expected.Position);  // what the user sees
    }
}

namespace {
// Exposes where the style puts the arrows, the track and the thumb.
struct TProbeBar : TScrollBar {
    using TScrollBar::TScrollBar;
    QPoint Centre(QStyle::SubControl Part) const {
        QStyleOptionSlider Option;
        initStyleOption(&Option);
        return style()->subControlRect(QStyle::CC_ScrollBar, &Option, Part, this).center();
    }
};
}  // namespace

TEST(ScrollBar, EveryUserActionRaisesOnChangeAlsoWhileTheThumbIsDragged) {
    QWidget Window;
    Window.resize(200, 40);
    TProbeBar Bar(&Window);
    Bar.setGeometry(8, 8, 121, 20);
    Bar.SetParams(4, 0, 20);
    Window.show();
    std::vector<int32_t> Seen;
    Bar.OnChange = [&](QObject* Sender) {
        EXPECT_EQ(Sender, &Bar);
        Seen.push_back(Bar.Position());
    };
    QTest::mouseClick(&Bar, Qt::LeftButton, {}, Bar.Centre(QStyle::SC_ScrollBarAddLine));
    QTest::mouseClick(&Bar, Qt::LeftButton, {}, Bar.Centre(QStyle::SC_ScrollBarAddPage));
    QTest::mouseClick(&Bar, Qt::LeftButton, {}, Bar.Centre(QStyle::SC_ScrollBarSubPage));
    QTest::keyClick(&Bar, Qt::Key_Right);
    QTest::keyClick(&Bar, Qt::Key_PageDown);
    QTest::keyClick(&Bar, Qt::Key_End);
    Bar.SetMax(15);  // clamps the position
    EXPECT_EQ(Seen, (std::vector<int32_t>{5, 6, 5, 6, 7, 20, 15}));

    Bar.SetPosition(10);
    const QPoint Thumb = Bar.Centre(QStyle::SC_ScrollBarSlider);
    QTest::mousePress(&Bar, Qt::LeftButton, {}, Thumb);
    Seen.clear();
    QTest::mouseMove(&Bar, Thumb - QPoint(30, 0));
    ASSERT_FALSE(Seen.empty());  // before the button is released
    EXPECT_LT(Seen.back(), 10);
    QTest::mouseRelease(&Bar, Qt::LeftButton, {}, Thumb - QPoint(30, 0));
    EXPECT_EQ(Bar.Position(), Seen.back());
}

// Each key moves the position from the middle of the range, by SmallChange,
// LargeChange or to an end; in a right-to-left layout the horizontal arrows
// swap, as Max is then on the left.
TEST(ScrollBar, EachKeyMovesThePositionItsWay) {
    struct TCase {
        Qt::Key Key;
        Qt::LayoutDirection Direction;
        int32_t Position;
    };
    const TCase Cases[] = {
        {Qt::Key_Left, Qt::LeftToRight, 28},   {Qt::Key_Right, Qt::LeftToRight, 32},
        {Qt::Key_Up, Qt::LeftToRight, 28},     {Qt::Key_Down, Qt::LeftToRight, 32},
        {Qt::Key_PageUp, Qt::LeftToRight, 23}, {Qt::Key_PageDown, Qt::LeftToRight, 37},
        {Qt::Key_Home, Qt::LeftToRight, 10},   {Qt::Key_End, Qt::LeftToRight, 50},
        {Qt::Key_Left, Qt::RightToLeft, 32},   {Qt::Key_Right, Qt::RightToLeft, 28},
        {Qt::Key_Up, Qt::RightToLeft, 28},     {Qt::Key_Home, Qt::RightToLeft, 10},
    };
    QWidget Window;
    TScrollBar Bar(&Window);
    Bar.SetParams(30, 10, 50);
    Bar.SetSmallChange(2);
    Bar.SetLargeChange(7);
    Window.show();
    std::vector<int32_t> Seen;
    Bar.OnChange = [&](QObject*) { Seen.push_back(Bar.Position()); };
    for (const TCase& C : Cases) {
        Bar.SetPosition(30);
        Bar.setLayoutDirection(C.Direction);
        Seen.clear();
        QTest::keyClick(&Bar, C.Key);
        EXPECT_EQ(Seen, std::vector<int32_t>{C.Position})
            << QKeySequence(C.Key).toString().toStdString()
            << (C.Direction == Qt::RightToLeft ? ", right to left" : "");
    }
}

TEST(Edit, OnChangeFollowsEveryKeystrokeAndTheTextIsLatin1) {
    QWidget Window;
    TEdit Edit(&Window);
    Window.show();
    std::vector<std::string> Seen;
    Edit.OnChange = [&](QObject*) { Seen.push_back(Edit.Text()); };
    QTest::keyClicks(&Edit, QString::fromUtf8("8.8°"));
    QTest::keyClick(&Edit, Qt::Key_Backspace);
    EXPECT_EQ(Seen, (std::vector<std::string>{"8", "8.", "8.8", "8.8\xB0", "8.8"}));
    Edit.SetText("\xB0" "C");
    EXPECT_EQ(Edit.text(), QString::fromUtf8("°C"));
    EXPECT_EQ(Seen.back(), "\xB0" "C");
    Edit.selectAll();
    QTest::keyClick(&Edit, Qt::Key_Delete);
    EXPECT_EQ(Seen.back(), "");
    EXPECT_EQ(Seen.size(), 7u);
}

namespace {
// First and last columns where the label drew text.
std::pair<int, int> InkColumns(TLabel& Label) {
    const QImage Shot = test::Grab(Label);
    int First = Shot.width(), Last = -1;
    for (int X = 0; X < Shot.width(); ++X)
        for (int Y = 0; Y < Shot.height(); ++Y)
            if (qGray(Shot.pixel(X, Y)) < 128) First = std::min(First, X), Last = std::max(Last, X);
    return {First, Last};
}
}  // namespace

TEST(Label, AlignmentPlacesTheTextAndAutoSizeFitsItOnceLoaded) {
    QWidget Window;
    Window.resize(200, 40);
    for (const TAlignment A : {taLeftJustify, taRightJustify, taCenter}) {
        TLabel Label(&Window);
        Label.SetAutoSize(false);
        Label.setGeometry(0, 0, 120, 20);
        Label.SetCaption("Margin");
        Label.SetAlignment(A);
        Window.show();
        const auto [First, Last] = InkColumns(Label);
        const int LeftGap = First, RightGap = 119 - Last;
        const int Off = A == taLeftJustify ? LeftGap : A == taRightJustify ? RightGap : LeftGap - RightGap;
        EXPECT_LE(std::abs(Off), 2) << int(A);
        EXPECT_GT(LeftGap + RightGap, 40) << "the text is much narrower than the label";
    }
    // AutoSize false may come after the caption in a layout: the stored size stays.
    for (const bool AutoSize : {false, true}) {
        TLabel Label(&Window);
        Label.BeginLoading();
        Label.setGeometry(8, 160, 361, 16);
        Label.setProperty("Caption", "move the splitter");
        Label.setProperty("AutoSize", AutoSize);
        Label.LayoutLoaded();
        EXPECT_EQ(Label.geometry(), AutoSize ? QRect(QPoint(8, 160), Label.sizeHint()) : QRect(8, 160, 361, 16));
    }
}

TEST(Form, OnShowIsRaisedEachTimeTheWindowBecomesVisible) {
    TForm Form;
    int Shows = 0;
    Form.OnShow = [&](QObject* Sender) {
        EXPECT_EQ(Sender, &Form);
        EXPECT_TRUE(Form.isVisible());
        ++Shows;
    };
    Form.SetCaption("Seven Segment Display \xB0");
    Form.SetColor(0x00336699);
    Form.SetMinHeight(150);
    Form.resize(200, 100);
    Form.show();
    QApplication::processEvents();
    Form.hide();
    Form.show();
    QApplication::processEvents();
    EXPECT_EQ(Shows, 2);
    EXPECT_EQ(Form.windowTitle(), QString::fromUtf8("Seven Segment Display °"));
    EXPECT_EQ(Form.height(), 150);
    EXPECT_EQ(test::PixelAt(test::Grab(Form), 5, 5), 0x00336699);
}
