#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "Zent_extctrls.h"
#include "Zent_forms.h"
#include "Zent_stdctrls.h"
#include "Zent_sysutils.h"
#include "test_support.h"
#include "ui_test_layout.h"

using namespace zent;

TEST(Align, TopAlignedControlsStackInCreationOrderInsideTheBevelAndRestack) {
    QWidget Window;
    Window.resize(300, 240);
    TPanel Panel(&Window);
    Panel.SetBevelOuter(bvLowered);
    Panel.resize(10, 177);
    TGraphicControl Display(&Panel);
    Display.resize(10, 96);
    TSplitter Splitter(&Panel);
    Splitter.resize(10, 6);
    TPanel Lower(&Panel);
    Lower.resize(10, 20);
    TLabel Free(&Panel);
    Free.setGeometry(8, 160, 50, 16);
    // Aligned in another order than created, and raised: creation order counts.
    Lower.SetAlign(alTop);
    Splitter.SetAlign(alTop);
    Display.SetAlign(alTop);
    Panel.SetAlign(alTop);
    Display.raise();
    Window.show();
    EXPECT_EQ(Panel.geometry(), QRect(0, 0, 300, 177));
    EXPECT_EQ(Display.geometry(), QRect(1, 1, 298, 96));
    EXPECT_EQ(Splitter.geometry(), QRect(1, 97, 298, 6));
    EXPECT_EQ(Lower.geometry(), QRect(1, 103, 298, 20));
    EXPECT_EQ(Free.geometry(), QRect(8, 160, 50, 16));

    Window.resize(200, 240);
    Display.SetHeight(50);
    EXPECT_EQ(Lower.geometry(), QRect(1, 57, 198, 20));
    Splitter.hide();
    EXPECT_EQ(Lower.y(), 51);
    Panel.SetBevelOuter(bvNone);
    EXPECT_EQ(Display.geometry(), QRect(0, 0, 200, 50));
    Display.setParent(nullptr);  // leaves the panel
    EXPECT_EQ(Lower.y(), 0);
}

TEST(Align, EachAlignmentTakesItsSideOfWhatIsLeft) {
    QWidget Window;
    Window.resize(200, 100);
    struct TCase {
        TAlign Align;
        QSize Size;
        QRect Expected;
    };
    const TCase Cases[] = {
        {alClient, {5, 5}, {30, 10, 130, 70}},   {alTop, {5, 10}, {0, 0, 200, 10}},
        {alLeft, {30, 5}, {0, 10, 30, 70}},      {alBottom, {5, 20}, {0, 80, 200, 20}},
        {alRight, {40, 5}, {160, 10, 40, 70}},
    };
    std::vector<std::unique_ptr<TGraphicControl>> Controls;
    for (const TCase& C : Cases) {
        Controls.push_back(std::make_unique<TGraphicControl>(&Window));
        Controls.back()->resize(C.Size);
        Controls.back()->SetAlign(C.Align);
    }
    Window.show();
    for (std::size_t i = 0; i < Controls.size(); ++i) EXPECT_EQ(Controls[i]->geometry(), Cases[i].Expected) << i;
}

TEST(Panel, BevelIsOnePixelInTheButtonColours) {
    constexpr TColor Back = 0x00336699;
    const TColor Shadow = ColorToRGB(clBtnShadow), Light = ColorToRGB(clBtnHighlight);
    struct TCase {
        TBevelCut Bevel;
        TColor TopLeft, BottomRight;
    };
    for (const TCase& C : {TCase{bvLowered, Shadow, Light}, TCase{bvRaised, Light, Shadow}, TCase{bvNone, Back, Back}}) {
        TForm Window;
        Window.SetColor(Back);
        TPanel Panel(&Window);
        Panel.setGeometry(0, 0, 40, 20);
        Panel.SetBevelOuter(C.Bevel);
        Window.show();
        const QImage Shot = test::Grab(Panel);
        test::SavePicture(Shot, "panel_bevel" + std::to_string(C.Bevel));
        EXPECT_EQ(test::PixelAt(Shot, 0, 10), C.TopLeft);
        EXPECT_EQ(test::PixelAt(Shot, 20, 0), C.TopLeft);
        EXPECT_EQ(test::PixelAt(Shot, 39, 10), C.BottomRight);
        EXPECT_EQ(test::PixelAt(Shot, 20, 19), C.BottomRight);
        EXPECT_EQ(test::PixelAt(Shot, 1, 1), Back);
        EXPECT_EQ(test::PixelAt(Shot, 38, 18), Back);
    }
}

TEST(RadioGroup, OnClickOnlyWhenAClickSelectsAButton) {
    QWidget Window;
    TRadioGroup Group(&Window);
    Group.setGeometry(0, 0, 129, 81);
    Group.SetItems({"Static Number", "Digital Clock", "Counter"});
    Group.SetItemIndex(0);
    Window.show();
    std::vector<int32_t> Clicks;
    Group.OnClick = [&](QObject*) { Clicks.push_back(Group.ItemIndex()); };
    test::SavePicture(test::Grab(Group), "radiogroup");
    const auto Buttons = Group.findChildren<QRadioButton*>();
    ASSERT_EQ(Buttons.size(), 3);
    EXPECT_TRUE(Buttons[0]->isChecked());
    QTest::mouseClick(Buttons[1], Qt::LeftButton);
    QTest::mouseClick(Buttons[1], Qt::LeftButton);  // already selected
    Group.SetItemIndex(2);                           // from code
    Group.SetItemIndex(7);                           // ignored
    EXPECT_EQ(Group.ItemIndex(), 2);
    EXPECT_TRUE(Buttons[2]->isChecked());
    Group.SetItemIndex(-1);
    for (const QRadioButton* B : Buttons) EXPECT_FALSE(B->isChecked());
    QTest::mouseClick(Buttons[0], Qt::LeftButton);
    EXPECT_EQ(Clicks, (std::vector<int32_t>{1, 0}));
}

namespace {
// The demonstration window's top: a lowered panel with a display and a
// splitter under it, 175 pixels inside the bevel, so the display may grow
// to 175 - 20 - (96 + 6) + 96 = 149.
struct TSplitterRig {
    QWidget Window;
    TPanel Panel{&Window};
    TGraphicControl Display{&Panel};
    TSplitter Splitter{&Panel};
    std::vector<int32_t> Proposals;
    TSplitterRig() {
        Window.resize(376, 240);
        Panel.SetBevelOuter(bvLowered);
        Panel.resize(376, 177);
        Panel.SetAlign(alTop);
        Display.SetHeight(96);
        Display.SetAlign(alTop);
        Splitter.SetHeight(6);
        Splitter.SetAlign(alTop);
        Splitter.SetMinSize(20);
        Splitter.OnCanResize = [this](QObject*, int32_t& NewSize, bool&) { Proposals.push_back(NewSize); };
        Window.show();
    }
    // Presses on the splitter and moves the pointer by each distance in turn
    // (QTest takes positions relative to where the splitter is now).
    void Drag(const std::vector<int>& Distances) {
        const int Start = Splitter.y() + 3;
        QTest::mousePress(&Splitter, Qt::LeftButton, {}, {10, 3});
        for (const int D : Distances) QTest::mouseMove(&Splitter, {10, Start + D - Splitter.y()});
    }
    void Release() { QTest::mouseRelease(&Splitter, Qt::LeftButton, {}, {10, 3}); }
};
}  // namespace

TEST(Splitter, ProposalsAreClampedAndTheSizeAppliesOnRelease) {
    struct TCase {
        std::vector<int> Distances;
        bool AutoSnap;
        TResizeStyle Style;
        std::vector<int32_t> Proposals;
        int32_t Height;
    };
    const TCase Cases[] = {
        {{10, 200, -60}, true, rsPattern, {106, 149, 36}, 36},
        {{-90}, true, rsPattern, {20}, 0},  // accepted at MinSize: collapses
        {{-76}, true, rsPattern, {20}, 0},
        {{-75}, true, rsPattern, {21}, 21},
        {{-90}, false, rsPattern, {20}, 20},
        {{10, -30}, true, rsUpdate, {106, 66}, 66},  // follows the pointer at once
    };
    for (const TCase& C : Cases) {
        TSplitterRig Rig;
        Rig.Splitter.SetAutoSnap(C.AutoSnap);
        Rig.Splitter.SetResizeStyle(C.Style);
        Rig.Drag(C.Distances);
        EXPECT_EQ(Rig.Proposals, C.Proposals);
        EXPECT_EQ(Rig.Display.Height(), C.Style == rsUpdate ? C.Height : 96) << "only rsUpdate before the release";
        Rig.Release();
        EXPECT_EQ(Rig.Display.Height(), C.Height);
        EXPECT_EQ(Rig.Splitter.y(), 1 + C.Height);
    }
}

TEST(Splitter, ARefusedProposalLeavesTheLastAcceptedOneAndEscAbandons) {
    TSplitterRig Rig;
    Rig.Splitter.OnCanResize = [](QObject*, int32_t& NewSize, bool& Accept) {
        EXPECT_TRUE(Accept);
        if (NewSize < 50) Accept = false;
    };
    Rig.Drag({-46, -47});  // 50, then 49
    Rig.Release();
    EXPECT_EQ(Rig.Display.Height(), 50);
    Rig.Drag({-1});
    Rig.Release();
    EXPECT_EQ(Rig.Display.Height(), 50);

    Rig.Drag({30});
    QTest::keyClick(&Rig.Splitter, Qt::Key_Escape);
    EXPECT_FALSE(Rig.Splitter.Dragging());
    Rig.Release();
    EXPECT_EQ(Rig.Display.Height(), 50);
}

// A handler may answer any size: the control gets at most Qt's largest
// widget size, and nothing below 0.
TEST(Splitter, AnsweredSizesAreClampedToWidgetSizes) {
    const std::tuple<int32_t, TResizeStyle, int32_t> Cases[] = {
        {INT_MAX, rsPattern, MaxCoordinate},
        {INT_MAX, rsUpdate, MaxCoordinate},
        {INT_MIN, rsPattern, 0},
        {INT_MIN, rsUpdate, 0},
    };
    for (const auto& [Answer, Style, Height] : Cases) {
        TSplitterRig Rig;
        Rig.Splitter.SetResizeStyle(Style);
        Rig.Splitter.OnCanResize = [Answer](QObject*, int32_t& NewSize, bool&) { NewSize = Answer; };
        Rig.Drag({10});
        Rig.Release();
        EXPECT_EQ(Rig.Display.Height(), Height) << Answer << " " << int(Style);
    }
}

TEST(Splitter, APatternBarFollowsThePointerAndTheBevelIsRaised) {
    TSplitterRig Rig;
    Rig.Splitter.SetBeveled(true);
    const QImage Before = test::Grab(Rig.Panel);
    EXPECT_EQ(test::PixelAt(Before, 100, 97), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(test::PixelAt(Before, 100, 102), ColorToRGB(clBtnShadow));
    Rig.Drag({20});
    const QImage During = test::Grab(Rig.Panel);
    test::SavePicture(During, "splitter_pattern");
    auto ChangedInRow = [&](int Y) {
        int Changed = 0;
        for (int X = 1; X < 375; ++X) Changed += Before.pixel(X, Y) != During.pixel(X, Y);
        return Changed;
    };
    for (int Y = 117; Y < 123; ++Y) EXPECT_GE(ChangedInRow(Y), 180) << Y;  // every other pixel
    EXPECT_EQ(ChangedInRow(116), 0);
    EXPECT_EQ(ChangedInRow(123), 0);
    Rig.Release();
    EXPECT_EQ(ChangedInRow(97), 0);
}

TEST(StandardControls, EveryEventGoesThroughTheGuard) {
    std::vector<std::string> Reports;
    const TErrorReporter Previous =
        SetErrorReporter([&](const std::string&, const std::string& Text) { Reports.push_back(Text); });
    auto Fail = [](auto&&...) { throw Exception("handler failed"); };
    TScrollBar Bar;
    Bar.OnChange = Fail;
    Bar.SetPosition(3);
    TEdit Edit;
    Edit.OnChange = Fail;
    Edit.SetText("x");
    TForm Form;
    Form.OnShow = Fail;
    Form.show();
    TRadioGroup Group(&Form);
    Group.SetItems({"a", "b"});
    Group.OnClick = Fail;
    Group.show();
    QTest::mouseClick(Group.findChildren<QRadioButton*>()[1], Qt::LeftButton);
    TSplitterRig Rig;
    Rig.Splitter.OnCanResize = Fail;
    Rig.Drag({10});
    Rig.Release();
    EXPECT_EQ(Rig.Display.Height(), 96);  // a failed handler accepts nothing
    EXPECT_EQ(Reports, std::vector<std::string>(5, "handler failed."));
    SetErrorReporter(Previous);
}

TEST(Layout, ADesignerFileSetsEveryPropertyInStoredOrder) {
    TForm Form;
    Ui::TestLayout Ui;
    {
        TLayoutLoading Loading;
        Ui.setupUi(&Form);
    }
    // A name that matches no property would have become a dynamic one.
    QObjectList Objects = Form.findChildren<QObject*>();
    Objects << &Form;
    for (const QObject* Object : Objects)
        EXPECT_TRUE(Object->dynamicPropertyNames().isEmpty()) << Object->objectName().toStdString();
    // Laid out as the properties came, before the window is shown.
    EXPECT_EQ(Ui.Splitter1->geometry(), QRect(1, 31, 238, 6));
    Form.show();
    test::SavePicture(test::Grab(Form), "layout");
    EXPECT_EQ(Form.Caption(), "Layout \xB0");
    EXPECT_EQ(Form.minimumHeight(), 150);
    EXPECT_EQ(Ui.SBar->Position(), 1);
    EXPECT_EQ(Ui.Label->geometry(), QRect(8, 60, 200, 16));  // AutoSize false came after the caption
    EXPECT_EQ(Ui.RG->Items(), (std::vector<std::string>{"Static Number", "\xB0" "C"}));
    EXPECT_EQ(Ui.RG->ItemIndex(), 1);  // stored before the items
    EXPECT_EQ(Ui.Splitter1->ResizedControl(), Ui.Display);
    EXPECT_EQ(Ui.Splitter1->cursor().shape(), Qt::SplitVCursor);
}
