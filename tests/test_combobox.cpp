#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "Zent_combobox.h"
#include "Zent_forms.h"
#include "test_support.h"

using namespace zent;

namespace {

// Records what DrawItem is handed and fills the item with the prepared brush.
class TRecordingBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
    struct TCall {
        int32_t Index;
        TRect Rect;
        TOwnerDrawState State;
        TColor Brush, FontColor;
        uint8_t FontStyle;
    };
    std::vector<TCall> Calls;
    void DrawItem(int32_t Index, const TRect& R, TOwnerDrawState State) override {
        Calls.push_back({Index, R, State, Canvas().Brush.Color(), Canvas().Font.Color, Canvas().Font.Style});
        Canvas().FillRect(R);
    }
};

std::vector<std::string> Texts(const TCustomComboBox& Box) {
    std::vector<std::string> T;
    for (int32_t i = 0; i < Box.Items().Count(); ++i) T.push_back(Box.Items().Strings(i));
    return T;
}

struct TCapturedReports {
    std::vector<std::string> Messages;
    TErrorReporter Previous =
        SetErrorReporter([this](const std::string&, const std::string& M) { Messages.push_back(M); });
    ~TCapturedReports() { SetErrorReporter(Previous); }
};

// A shown, active window with the box and a line edit to move the focus to.
struct TShownBox {
    QWidget Window;
    TRecordingBox* Box = new TRecordingBox(&Window);
    QLineEdit* Other = new QLineEdit(&Window);
    TShownBox() {
        Window.resize(240, 120);
        Box->SetBounds(10, 10, 160, 24);
        Other->setGeometry(10, 60, 160, 24);
        for (const char* Word : {"alfa", "bravo", "charlie", "delta", "echo", "foxtrot", "golf", "hotel", "india",
                                 "juliett", "kilo", "lima", "mike", "november"})
            Box->Items().Add(Word);
    }
    void Show() {
        Window.show();
        QApplication::setActiveWindow(&Window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Window));
    }
    QAbstractItemView* List() { return Box->view(); }
};

}  // namespace

TEST(ComboBox, ItemsKeepTheirOrderOrSortWithoutSelecting) {
    const std::tuple<bool, std::vector<std::string>, std::vector<std::string>> Cases[] = {
        {false, {"clRed", "clAqua", "clBlack"}, {"clRed", "clAqua", "clBlack"}},
        {true, {"b", "B", "a", "A", "\xE9", "Z"}, {"a", "A", "b", "B", "Z", "\xE9"}},
    };
    for (const auto& [Sorted, Added, Expected] : Cases) {
        TCustomComboBox Box;
        Box.SetSorted(Sorted);
        for (const std::string& T : Added) Box.Items().Add(T);
        EXPECT_EQ(Texts(Box), Expected);
        EXPECT_EQ(Box.ItemIndex(), -1) << "adding selects nothing";
    }
    TCustomComboBox Box;
    Box.Items().AddStrings({"pear", "Apple", "fig"});
    Box.SetItemIndex(2);
    Box.SetSorted(true);
    EXPECT_EQ(Texts(Box), (std::vector<std::string>{"Apple", "fig", "pear"}));
    EXPECT_EQ(Box.Items().Strings(Box.ItemIndex()), "fig") << "the selected text stays selected";
    Box.Items().SetStrings(0, "caf\xE9");
    EXPECT_EQ(Box.Items().Strings(0), "caf\xE9") << "Latin-1 bytes come back unchanged";
    EXPECT_THROW(Box.Items().Strings(3), EListError);
    EXPECT_THROW(Box.Items().SetStrings(-1, "x"), EListError);
    Box.SetItemIndex(7);
    EXPECT_EQ(Box.ItemIndex(), -1) << "an index outside the list selects nothing";
}

// Bounds are clamped as a windowless control's are: Qt's rectangles
// overflow when a position plus a size leaves 32 bits.
TEST(ComboBox, BoundsAreClampedAsAWindowlessControlsAre) {
    constexpr int32_t Max = (1 << 24) - 1;  // Qt's largest widget size
    const std::pair<std::array<int32_t, 4>, std::array<int32_t, 4>> Cases[] = {
        // SetBounds(Left, Top, Width, Height), then the bounds read back
        {{INT_MIN, 0, 0, 24}, {-Max, 0, 0, 24}},
        {{INT_MAX, 0, 10, 24}, {Max, 0, 10, 24}},
        {{2147483000, 0, 1000, 24}, {Max, 0, 1000, 24}},
        {{5, INT_MIN, INT_MAX, -7}, {5, -Max, Max, 0}},
    };
    QWidget Window;
    TCustomComboBox Box(&Window);
    TGraphicControl Control(&Window);
    for (const auto& [Set, Bounds] : Cases) {
        Box.SetBounds(Set[0], Set[1], Set[2], Set[3]);
        Control.SetBounds(Set[0], Set[1], Set[2], Set[3]);
        const QRect G = Box.geometry();
        EXPECT_EQ((std::array{G.x(), G.y(), G.width(), G.height()}), Bounds) << Set[0];
        EXPECT_EQ(G, Control.geometry()) << Set[0];
    }
}

TEST(ComboBox, CanvasIsPreparedForEachItem) {
    TShownBox S;
    S.Show();
    TFont Bold;
    Bold.Style = fsBold;
    S.Box->SetFont(Bold);
    S.Box->SetColor(0x00E0F0FF);
    S.Box->SetItemIndex(1);
    const auto Paint = [&](QWidget* Surface) {
        S.Box->Calls.clear();
        Surface->repaint();
        return S.Box->Calls;
    };

    S.Box->setFocus();
    auto Calls = Paint(S.Box);
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].Index, 1);
    EXPECT_EQ(Calls[0].State, odComboBoxEdit | odSelected | odFocused) << "the focused closed box";
    EXPECT_EQ(Calls[0].Brush, clHighlight);
    EXPECT_EQ(Calls[0].FontColor, clHighlightText);

    S.Box->showPopup();
    QApplication::processEvents();
    Calls = Paint(S.List()->viewport());
    ASSERT_EQ(Calls.size(), 8u);  // the DropDownCount rows the list shows
    for (const auto& C : Calls) {
        const bool Current = C.Index == 1;
        EXPECT_EQ(C.Rect, Rect(0, 16 * C.Index, S.List()->viewport()->width(), 16 * C.Index + 16));
        EXPECT_EQ(C.FontStyle, fsBold);
        EXPECT_EQ(C.State, Current ? odSelected | odFocused : 0) << C.Index;
        EXPECT_EQ(C.Brush, Current ? clHighlight : 0x00E0F0FF) << C.Index;
        EXPECT_EQ(C.FontColor, Current ? clHighlightText : clWindowText) << C.Index;
    }
    S.Box->hidePopup();

    S.Other->setFocus();
    S.Box->SetEnabled(false);
    Calls = Paint(S.Box);
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].State, odComboBoxEdit | odDisabled);
    EXPECT_EQ(Calls[0].Brush, 0x00E0F0FF);

    // No selection: the item area is filled with the brush instead.
    S.Box->SetItemIndex(-1);
    S.Box->SetColor(0x00336699);
    EXPECT_TRUE(Paint(S.Box).empty());
    const QImage Shot = test::Grab(*S.Box);
    test::SavePicture(Shot, "combobox_no_selection");
    EXPECT_EQ(test::PixelAt(Shot, S.Box->width() / 3, S.Box->height() / 2), 0x00336699);
}

TEST(ComboBox, FocusRectangleInvertsEveryOtherOutlinePixel) {
    TRecordingBox Box;
    Box.Items().Add("x");
    Box.SetColor(0x00406080);
    for (const TRect R : {Rect(3, 2, 14, 9), Rect(-7, -4, INT32_MAX, 9), Rect(INT32_MIN, INT32_MIN + 1, 5, 6)}) {
        const auto Render = [&](TOwnerDrawState State) {
            QImage Image(20, 12, QImage::Format_RGB32);
            Image.fill(0xFF00FF00);
            QPainter P(&Image);
            Box.PaintItem(P, Image.width(), Image.height(), 0, R, State);
            return Image;
        };
        const QImage Plain = Render(0), Focused = Render(odFocused);
        for (int Y = 0; Y < Plain.height(); ++Y)
            for (int X = 0; X < Plain.width(); ++X) {
                const bool Inside = X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
                const bool Edge = X == R.Left || X == int64_t(R.Right) - 1 || Y == R.Top || Y == int64_t(R.Bottom) - 1;
                const bool Dot = Inside && Edge && (int64_t(X) - R.Left + Y - R.Top) % 2 == 0;
                ASSERT_EQ(test::PixelAt(Focused, X, Y), test::PixelAt(Plain, X, Y) ^ (Dot ? 0xFFFFFF : 0))
                    << X << "," << Y << " of " << R.Left << "," << R.Top;
            }
    }
}

TEST(ComboBox, EventsFollowTheUserAndTheFocus) {
    TCapturedReports Reports;
    TShownBox S;
    std::vector<std::string> Log;
    const auto Note = [&](const char* What) {
        return [&Log, What, &S](QObject* Sender) {
            EXPECT_EQ(Sender, S.Box);
            Log.push_back(std::string(What) + " " + std::to_string(S.Box->ItemIndex()));
        };
    };
    S.Box->OnClick = Note("click");
    S.Box->OnChange = Note("change");
    S.Box->OnDropDown = Note("dropdown");
    S.Box->OnEnter = Note("enter");
    S.Box->OnExit = Note("exit");
    S.Show();                // the window gives the box the focus
    S.Box->SetItemIndex(5);  // code: no events
    S.Box->Items().Add("late");
    QTest::keyClick(S.Box, Qt::Key_F4);  // opens the list; the focus goes into it and comes back
    ASSERT_TRUE(S.List()->isVisible());
    QTest::keyClick(S.List(), Qt::Key_Down);
    QTest::keyClick(S.List(), Qt::Key_Return);
    EXPECT_FALSE(S.List()->isVisible());
    S.Other->setFocus();
    S.Box->setFocus();

    // A handler that throws is reported; the control goes on, without OnChange.
    S.Box->OnClick = [](QObject*) { throw EConvertError("bad pick"); };
    QTest::keyClick(S.Box, Qt::Key_Down);
    EXPECT_EQ(Reports.Messages, std::vector<std::string>{"bad pick."});
    EXPECT_EQ(S.Box->ItemIndex(), 7);
    EXPECT_EQ(Log, (std::vector<std::string>{"enter -1", "dropdown 5", "click 6", "change 6", "exit 6", "enter 6"}));
}

TEST(ComboBox, OpenListShowsDropDownCountRowsBelowTheBox) {
    TShownBox S;
    S.Show();
    for (const int32_t Count : {5, 12}) {
        S.Box->SetDropDownCount(Count);
        S.Box->SetDropDownCount(0);  // ignored
        S.Box->showPopup();
        EXPECT_EQ(S.List()->viewport()->height(), Count * TCustomComboBox::ItemHeight);
        EXPECT_GE(S.List()->window()->mapToGlobal(QPoint(0, 0)).y(),
                  S.Box->mapToGlobal(QPoint(0, S.Box->height())).y() - 1);
        S.Box->hidePopup();
    }
}
