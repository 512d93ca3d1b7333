#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "Zent_combobox.h"
#include "Zent_forms.h"
#include "test_support.h"

using namespace zent;

namespace {

// Records what the framework hands to DrawItem and fills the item with the
// prepared brush.
class TRecordingBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
    struct TCall {
        int32_t Index;
        TRect Rect;
        TOwnerDrawState State;
        TColor Brush, FontColor;
        TFont Font;
    };
    std::vector<TCall> Calls;
    void DrawItem(int32_t Index, const TRect& R, TOwnerDrawState State) override {
        Calls.push_back({Index, R, State, Canvas().Brush.Color(), Canvas().Font.Color, Canvas().Font});
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
    TErrorReporter Previous;
    TCapturedReports() {
        Previous = SetErrorReporter([this](const std::string&, const std::string& M) { Messages.push_back(M); });
    }
    ~TCapturedReports() { SetErrorReporter(Previous); }
};

// A shown window with the box and a line edit to move the focus to.
struct TShownBox {
    QWidget Window;
    TRecordingBox* Box = new TRecordingBox(&Window);
    QLineEdit* Other = new QLineEdit(&Window);
    explicit TShownBox(int Items = 20) {
        static const char* const Words[] = {"alfa",  "bravo", "charlie", "delta",    "echo",  "foxtrot", "golf",
                                            "hotel", "india", "juliett", "kilo",     "lima",  "mike",    "november",
                                            "oscar", "papa",  "quebec",  "romeo",    "sierra", "tango"};
        Window.resize(240, 120);
        Box->SetBounds(10, 10, 160, 24);
        Other->setGeometry(10, 60, 160, 24);
        for (int i = 0; i < Items; ++i) Box->Items().Add(Words[i % 20]);
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
    struct TCase {
        bool Sorted;
        std::vector<std::string> Added, Expected;
    };
    const std::vector<TCase> Cases = {
        {false, {"clRed", "clAqua", "clBlack"}, {"clRed", "clAqua", "clBlack"}},
        {true, {"clRed", "clAqua", "clBlack"}, {"clAqua", "clBlack", "clRed"}},
        {true, {"b", "B", "a", "A", "\xE9", "Z"}, {"a", "A", "b", "B", "Z", "\xE9"}},
    };
    for (const TCase& C : Cases) {
        TCustomComboBox Box;
        Box.SetSorted(C.Sorted);
        for (const std::string& T : C.Added) Box.Items().Add(T);
        EXPECT_EQ(Texts(Box), C.Expected);
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
    Box.Items().Clear();
    EXPECT_EQ(Box.Items().Count(), 0);
}

TEST(ComboBox, CanvasIsPreparedForEachItem) {
    TShownBox S(3);
    S.Show();
    TFont Font;
    Font.Size = 11;
    Font.Style = fsBold;
    S.Box->SetFont(Font);
    S.Box->SetColor(0x00E0F0FF);
    S.Box->SetItemIndex(1);
    S.Box->setFocus();

    S.Box->Calls.clear();
    S.Box->RepaintNow();
    ASSERT_EQ(S.Box->Calls.size(), 1u);
    const auto Closed = S.Box->Calls[0];
    EXPECT_EQ(Closed.Index, 1);
    EXPECT_EQ(Closed.State, odComboBoxEdit | odSelected | odFocused) << "the focused closed box shows a selected item";
    EXPECT_EQ(Closed.Brush, clHighlight);
    EXPECT_EQ(Closed.FontColor, clHighlightText);
    EXPECT_TRUE(QRect(0, 0, S.Box->width(), S.Box->height())
                    .contains(QRect(Closed.Rect.Left, Closed.Rect.Top, Closed.Rect.Width(), Closed.Rect.Height())));

    S.Box->showPopup();
    QApplication::processEvents();
    S.Box->Calls.clear();
    S.List()->viewport()->repaint();
    ASSERT_EQ(S.Box->Calls.size(), 3u);
    for (const auto& C : S.Box->Calls) {
        SCOPED_TRACE(C.Index);
        EXPECT_EQ(C.Rect, Rect(0, 16 * C.Index, S.List()->viewport()->width(), 16 * C.Index + 16));
        EXPECT_EQ(C.Font.Size, 11);
        EXPECT_EQ(C.Font.Style, fsBold);
        const bool Current = C.Index == 1;
        EXPECT_EQ(C.State, Current ? odSelected | odFocused : 0);
        EXPECT_EQ(C.Brush, Current ? clHighlight : 0x00E0F0FF);
        EXPECT_EQ(C.FontColor, Current ? clHighlightText : clWindowText);
    }
    S.Box->hidePopup();

    S.Other->setFocus();
    S.Box->SetEnabled(false);
    S.Box->Calls.clear();
    S.Box->RepaintNow();
    ASSERT_EQ(S.Box->Calls.size(), 1u);
    EXPECT_EQ(S.Box->Calls[0].State, odComboBoxEdit | odDisabled);
    EXPECT_EQ(S.Box->Calls[0].Brush, 0x00E0F0FF);

    // No selection: the item area is filled with the brush, DrawItem is not asked.
    S.Box->SetEnabled(true);
    S.Box->SetItemIndex(-1);
    S.Box->SetColor(0x00336699);
    S.Box->Calls.clear();
    S.Box->RepaintNow();
    EXPECT_TRUE(S.Box->Calls.empty());
    const QImage Shot = test::Grab(*S.Box);
    test::SavePicture(Shot, "combobox_no_selection");
    EXPECT_EQ(test::PixelAt(Shot, S.Box->width() / 3, S.Box->height() / 2), 0x00336699);
}

TEST(ComboBox, FocusRectangleInvertsEveryOtherOutlinePixel) {
    TRecordingBox Box;
    Box.Items().Add("x");
    Box.SetColor(0x00406080);
    const TRect R = Rect(3, 2, 14, 9);
    const auto Render = [&](TOwnerDrawState State) {
        QImage Image(20, 12, QImage::Format_RGB32);
        Image.fill(0xFF00FF00);
        QPainter P(&Image);
        Box.PaintItem(P, Image.width(), Image.height(), 0, R, State);
        return Image;
    };
    const QImage Plain = Render(0), Focused = Render(odFocused);
    test::SavePicture(Focused, "combobox_focus_rect");
    for (int Y = 0; Y < Plain.height(); ++Y)
        for (int X = 0; X < Plain.width(); ++X) {
            const bool Outline = X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom &&
                                 (X == R.Left || X == R.Right - 1 || Y == R.Top || Y == R.Bottom - 1);
            const bool Dot = Outline && (X - R.Left + Y - R.Top) % 2 == 0;
            const TColor Want = Dot ? test::PixelAt(Plain, X, Y) ^ 0xFFFFFF : test::PixelAt(Plain, X, Y);
            EXPECT_EQ(test::PixelAt(Focused, X, Y), Want) << "at " << X << "," << Y;
        }
}

TEST(ComboBox, UserPicksRaiseClickThenChangeAndCodeRaisesNothing) {
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
    S.Show();  // the window gives the box the focus
    QTest::keyClick(S.Box, Qt::Key_Down);  // closed box: the next item
    S.Box->SetItemIndex(5);                // code: no events
    S.Box->Items().Add("late");
    S.Box->Items().SetStrings(0, "first");
    QTest::keyClick(S.Box, Qt::Key_F4);  // opens the list
    ASSERT_TRUE(S.List()->isVisible());
    QTest::keyClick(S.List(), Qt::Key_Down);
    QTest::keyClick(S.List(), Qt::Key_Return);
    EXPECT_FALSE(S.List()->isVisible());
    S.Box->showPopup();
    const QRect Row = S.List()->visualRect(S.Box->model()->index(2, 0));
    QTest::mouseClick(S.List()->viewport(), Qt::LeftButton, {}, Row.center());
    QTest::keyClicks(S.Box, "ki");  // typed first letters: "kilo"
    S.Other->setFocus();

    // A handler that throws is reported; the control goes on, without OnChange.
    S.Box->OnClick = [](QObject*) { throw EConvertError("bad pick"); };
    S.Box->setFocus();
    QTest::keyClick(S.Box, Qt::Key_Down);
    EXPECT_EQ(Reports.Messages, std::vector<std::string>{"bad pick."});
    EXPECT_EQ(S.Box->ItemIndex(), 11);

    const std::vector<std::string> Expected = {
        "enter -1",   "click 0", "change 0", "dropdown 5", "click 6",  "change 6", "dropdown 6",
        "click 2",    "change 2", "click 10", "change 10", "exit 10",  "enter 10"};
    EXPECT_EQ(Log, Expected);
}

TEST(ComboBox, OpenListShowsDropDownCountRowsInEveryStyle) {
    TShownBox S(20);
    S.Show();
    for (const int32_t Count : {5, 12}) {
        S.Box->SetDropDownCount(Count);
        S.Box->SetDropDownCount(0);  // ignored
        EXPECT_EQ(S.Box->DropDownCount(), Count);
        S.Box->showPopup();
        EXPECT_EQ(S.List()->viewport()->height(), Count * TCustomComboBox::ItemHeight);
        EXPECT_GE(S.List()->window()->mapToGlobal(QPoint(0, 0)).y(),
                  S.Box->mapToGlobal(QPoint(0, S.Box->height())).y() - 1)
            << "the list drops down below the box";
        S.Box->hidePopup();
    }
}
