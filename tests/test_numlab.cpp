#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMetaProperty>
#include <QPainter>
#include <QWidget>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "Zent_NumLab.h"
#include "Zent_components.h"
#include "Zent_dateutils.h"
#include "Zent_forms.h"
#include "Zent_stringl.h"
#include "Zent_sysutils.h"
#include "numlab_textplaces.h"
#include "test_support.h"

using namespace zent;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// ------------------------------------------------------------ value text

struct TTextCase {
    TDisplay Type;
    int Precision;
    double Value;
    std::string Want;
    bool Comma = false, Plus = false;
};

void ExpectTexts(const std::vector<TTextCase>& Cases) {
    TNumLab Lab;
    for (const auto& C : Cases) {
        Lab.SetDisplayType(C.Type);
        Lab.SetPrecision(C.Precision);
        Lab.SetValue(C.Value);
        Lab.SetComma(C.Comma);
        Lab.SetForcePlusSign(C.Plus);
        EXPECT_EQ(Lab.ValueText(), C.Want)
            << "type " << int(C.Type) << ", P " << C.Precision << ", value " << C.Value
            << (C.Comma ? ", comma" : "") << (C.Plus ? ", plus" : "");
    }
}

TEST(NumLab, ValueTextOfEveryDisplayType) {
    const std::string Jan = FormatSettings().ShortMonthNames[0];
    ExpectTexts({{dtFloat, 4, 1234.5678, "1235"},
                 {dtFloat, 4, 12345.678, "1.235E004"},
                 {dtFloat, 4, 0.0003, "0.0003"},
                 {dtFloat, 4, 0.00003, "3E-005"},
                 {dtFloat, 4, 2.5, "2.5"},
                 {dtFloat, 4, 0, "0"},
                 {dtFloat, 0, 1234.5678, "1.2E003"},
                 {dtFixP, 2, 3.14159, "3.14"},
                 {dtFixP, 2, -0.001, "0.00"},
                 {dtFixP, 2, 3.14159, "3,14", true},
                 {dtFixP, 2, 3.14159, "+3.14", false, true},
                 {dtFixP, 2, 0, "0.00", false, true},
                 {dtFixP, 0, 2.5, "3"},
                 {dtFixP, 0, -2.5, "-3"},
                 {dtExp, 3, 1234.5, "1.23E+003"},
                 {dtExp, 3, 0.00015, "1.50E-004"},
                 {dtExp, 3, -1234.5, "-1.23E+003"},
                 {dtExp, 0, 1234.5, "1.2E+003"},
                 {dtHex, 4, 255, "00FF"},
                 {dtHex, 4, 74565, "2345"},
                 {dtHex, 8, -1, "FFFFFFFF"},
                 {dtHex, 8, 4294967296.0, "*********"},
                 {dtHex, 0, 255, ""},
                 {dtHex, 4, 255, "00FF", false, true},
                 {dtZeroInt, 5, 42, "00042"},
                 {dtZeroInt, 5, -42, "-00042"},
                 {dtZeroInt, 5, 2.5, "00002"},
                 {dtZeroInt, 5, 3.5, "00004"},
                 {dtZeroInt, 5, 3e9, "*********"},
                 {dtZeroInt, 5, 3e9, "+*********", false, true},
                 {dtInt, 2, 6.0, "6"},
                 {dtInt, 2, 2.5, "2"},
                 {dtInt, 2, -3.5, "-4"},
                 {dtInt, 9, -3.5, "-4"},
                 {dtDateTime, 2, 6.0, Jan + "-05, 1900", true, true},
                 {dtState, 2, -7.5, "undefined", true, true},
                 {dtBin, 8, 5, "00000101"},
                 {dtBin, 8, 300, "00101100"},
                 {dtBin, 15, -1, std::string(15, '1')},
                 {dtBin, 0, 5, ""},
                 {dtBin, 8, 5, "00000101", false, true},
                 {dtOct, 4, 8, "0010"},
                 {dtOct, 12, 8, "00000000010"},
                 {dtOct, 4, 8, "+0010", false, true},
                 {dtOct, 5, -1, "77777"},
                 {dtDeg, 2, 12.5, "12.50\xB0"},
                 {dtDeg, 2, -0.25, "-0.25\xB0"},
                 {dtDeg, 2, 12.5, "12,50\xB0", true},
                 {dtDegMin, 0, 12.5, "12\xB0  30'"},
                 {dtDegMin, 2, 12.5, "12\xB0 30.00'"},
                 {dtDegMin, 0, -0.5, "-0\xB0  30'"},
                 {dtDegMin, 0, -10.5, "-10\xB0  30'"},
                 {dtDegMin, 0, 0.999999, "1\xB0   0'"},
                 {dtDegMinSec, 1, 10.7578125, "10\xB0 45' 28.1\""},
                 {dtDegMinSec, 0, 10.75, "10\xB0 45'   0\""},
                 {dtDegMinSec, 2, 45, "45\xB0  0'  0.00\""},
                 {dtEEng, 3, 12345, "12.3k"},
                 {dtEEngNoDP, 3, 12345, "12k3"}});
}

TEST(NumLab, ValueTextAtTheExtremes) {
    ExpectTexts({{dtFloat, 4, NaN, "NAN"},
                 {dtExp, 4, -Inf, "-INF"},
                 {dtFixP, 2, Inf, "+INF", false, true},
                 {dtFixP, 0, 1e308, "100000000000000001" + std::string(291, '0')},
                 {dtInt, 0, 1e19, "1" + std::string(19, '0')},
                 {dtInt, 0, -0x1p63, "-9223372036854775808"},
                 {dtInt, 0, NaN, "NAN"},
                 {dtInt, 0, -Inf, "-INF"},
                 {dtHex, 8, NaN, "*********"},
                 {dtZeroInt, 3, NaN, "*********"},
                 {dtHex, 8, -2147483648.0, "80000000"},
                 {dtHex, 8, 4294967295.0, "FFFFFFFF"},
                 {dtZeroInt, 3, -2147483648.4, "*********"},
                 {dtDeg, 2, NaN, "NAN\xB0"},
                 {dtDegMin, 2, Inf, "INF\xB0"},
                 {dtDegMinSec, 2, -Inf, "-INF\xB0"},
                 {dtEEng, 3, NaN, "0.00"},
                 {dtEEngNoDP, 3, Inf, "INF"},
                 {dtDateTime, 2, NaN, ""},
                 {dtDateTime, 2, 1e300, ""}});
    // Scaled beyond 64 bits: still whole degrees, and seconds within 0 to 60.
    for (const double V : {1e15, -3e17, 1e300}) {
        const std::string T = FormatDegrees(2, 8, V);
        ASSERT_EQ(T.back(), '"') << T;
        const double Seconds = std::stod(T.substr(T.rfind('\'') + 1));
        EXPECT_TRUE(Seconds >= 0 && Seconds <= 60) << T;
    }
    // The free functions limit what no setter could store.
    EXPECT_EQ(FormatDegrees(7, INT_MAX, 1.5), "1.50000000\xB0");
    EXPECT_EQ(FormatDegrees(-1, INT_MIN, -1.5), "-2\xB0");
    EXPECT_EQ(FormatDegrees(2, -3, -0.0), "0\xB0  0'   0\"");
    EXPECT_EQ(OctDigits(8, INT_MIN), "0");
    EXPECT_EQ(OctDigits(0xFFFFFFFF, INT_MAX), "37777777777");
    EXPECT_EQ(BinDigits(5, -1), "1");
    EXPECT_EQ(BinDigits(0xFFFFFFFF, 32), std::string(32, '1'));
    EXPECT_EQ(BinDigits(5, 1000), std::string(29, '0') + "101");
}

TEST(NumLab, BeforeDisplaySeesTheSignedSeparatedTextAndReplacesItForEveryType) {
    TNumLab Lab;
    Lab.SetComma(true);
    Lab.SetForcePlusSign(true);
    Lab.SetValue(3.14159);
    std::vector<std::string> Seen;
    Lab.OnBeforeDisplay = [&](QObject* Sender, std::string& Text) {
        EXPECT_EQ(Sender, &Lab);
        Seen.push_back(Text);
        Text = "x";
    };
    for (int T = 0; T < DisplayTypeCount; ++T) {
        Lab.SetDisplayType(TDisplay(T));
        EXPECT_EQ(Lab.ValueText(), "x") << T;
    }
    EXPECT_EQ(Seen[dtFixP], "+3,14");
    EXPECT_EQ(Seen[dtState], "undefined");
}

// ------------------------------------------------------------ the model

class TCountingNumLab : public TNumLab {
    Q_OBJECT
public:
    using TNumLab::TNumLab;
    int Paints = 0;
    void Paint() override {
        ++Paints;
        TNumLab::Paint();
    }
};

TEST(NumLab, StartsAsDescribed) {
    TNumLab Lab;
    EXPECT_EQ(QSize(Lab.Width(), Lab.Height()), QSize(160, 28));
    EXPECT_EQ(Lab.ValueText(), "0.00");
    EXPECT_EQ(Lab.OverflowIndicator() + Lab.DTFormat() + Lab.StateText(), "*********mmm-dd, yyyyundefined");
    EXPECT_EQ((std::vector<int>{Lab.LeftSpace(), Lab.LabelWidth(), Lab.Precision(), Lab.Alignment(),
                                Lab.LeftTextAlignment(), Lab.RightTextAlignment(), Lab.FrameStyle()}),
              (std::vector<int>{35, 80, 2, taCenter, taRightJustify, taLeftJustify, fsLowered}));
    EXPECT_EQ(
        (std::vector<TColor>{Lab.ColorLabBakG(), Lab.ColorLabText(), Lab.ColorOutBakG(), Lab.ColorOutText(),
                             Lab.SchemeDark(), Lab.SchemeShadow(), Lab.SchemeHighlight()}),
        (std::vector<TColor>{clBtnFace, clBlack, clBtnFace, clBlack, clBlack, clGray, clWhite}));
    EXPECT_TRUE(Lab.Enabled() && !Lab.Empty() && !Lab.Comma() && !Lab.ForcePlusSign() && !Lab.Transparent());
}

TEST(NumLab, PublishedPropertiesInStoredOrderGoThroughTheSetters) {
    // From the framed control's own: ColorScheme and FrameStyle come first.
    const QMetaObject& Meta = TNumLab::staticMetaObject;
    QStringList Declared;
    for (int i = Meta.superClass()->propertyOffset(); i < Meta.propertyCount(); ++i)
        Declared << Meta.property(i).name();
    EXPECT_EQ(
        Declared.join(' ').toStdString(),
        "ColorScheme FrameStyle Alignment ColorLabBakG ColorLabText ColorOutBakG ColorOutText Comma "
        "DisplayType DTFormat Empty Enabled ForcePlusSign LabelWidth LeftSpace LeftText LeftTextAlignment "
        "OverflowIndicator Precision RightText RightTextAlignment StateText Transparent Value");
    // Written in that order while loading, as uic writes a Designer layout;
    // enumerations by name, as a .ui file stores them.
    QWidget Window;
    TLayoutLoading Loading;
    auto* Loaded = new TNumLab(&Window);
    for (const QString& Name : Declared) {
        const QByteArray Key = Name.toLatin1();
        const QMetaProperty P = Meta.property(Meta.indexOfProperty(Key));
        const QVariant Old = Loaded->property(Key);
        const QVariant New = P.isEnumType()                       ? QVariant(P.enumerator().valueToKey(1))
                             : Old.typeId() == QMetaType::Bool    ? QVariant(!Old.toBool())
                             : Old.typeId() == QMetaType::QString ? QVariant(QString::fromLatin1("\xB0x"))
                             : Old.typeId() == QMetaType::Double  ? QVariant(6.25)
                             : Old.typeId() == QMetaType::QColor  ? QVariant(QColor(1, 2, 3))
                                                                  : QVariant(1);
        EXPECT_TRUE(Loaded->setProperty(Key, New)) << Key.data();
        if (P.isEnumType())
            EXPECT_EQ(Loaded->property(Key).toInt(), 1) << Key.data();
        else
            EXPECT_EQ(Loaded->property(Key), New) << Key.data();
    }
    EXPECT_EQ(Loaded->StateText(), "\xB0x");
    EXPECT_EQ(Loaded->SchemeShadow(), clBtnShadow);
    EXPECT_EQ(Loaded->ColorOutText(), 0x030201);
}

// A shown label in a window, as the demonstration window places its labels.
struct ShownLabel : ::testing::Test {
    QWidget Window;
    TCountingNumLab* Lab = new TCountingNumLab(&Window);
    std::vector<std::string> Reports;
    TErrorReporter Previous =
        SetErrorReporter([this](const std::string&, const std::string& M) { Reports.push_back(M); });

    ShownLabel() {
        Window.resize(220, 60);
        Lab->SetBounds(10, 10, 160, 28);
        Window.show();
        QApplication::processEvents();
    }
    ~ShownLabel() override {
        SetErrorReporter(Previous);
        EXPECT_TRUE(Reports.empty()) << Reports.front();
    }
    QImage Shot() { return Window.grab(Lab->geometry()).toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(ShownLabel, SettersRepaintAtOnceOrLater) {
    struct Step {
        const char* What;
        std::function<void()> Write;
        std::function<double()> Read;
        double Stored;
        int Paints, PaintsLater = 0;
    };
    const std::vector<Step> Steps = {
        {"Value 6", [&] { Lab->SetValue(6); }, [&] { return Lab->Value(); }, 6, 1},
        {"Value 6 again", [&] { Lab->SetValue(6); }, [&] { return Lab->Value(); }, 6, 0},
        {"Value -0 over 0",
         [&] {
             Lab->SetValue(0);
             Lab->SetValue(-0.0);
         },
         [&] { return Lab->Value(); }, 0, 1},
        {"Precision 20", [&] { Lab->SetPrecision(20); }, [&] { return Lab->Precision(); }, 15, 1},
        {"Precision 20 again", [&] { Lab->SetPrecision(20); }, [&] { return Lab->Precision(); }, 15, 1},
        {"Precision 15", [&] { Lab->SetPrecision(15); }, [&] { return Lab->Precision(); }, 15, 0},
        {"Precision -1", [&] { Lab->SetPrecision(-1); }, [&] { return Lab->Precision(); }, 15, 0},
        {"LeftSpace 500", [&] { Lab->SetLeftSpace(500); }, [&] { return Lab->LeftSpace(); }, 160, 1},
        {"LeftSpace -5", [&] { Lab->SetLeftSpace(-5); }, [&] { return Lab->LeftSpace(); }, 160, 0},
        {"LabelWidth -9", [&] { Lab->SetLabelWidth(-9); }, [&] { return Lab->LabelWidth(); }, -9, 1},
        {"Enabled true again", [&] { Lab->SetEnabled(true); }, [&] { return Lab->Enabled(); }, 1, 1},
        {"ColorScheme", [&] { Lab->SetColorScheme(csSystem); }, [&] { return Lab->SchemeHighlight(); },
         clBtnHighlight, 1},
        {"Transparent true", [&] { Lab->SetTransparent(true); }, [&] { return Lab->Transparent(); }, 1, 0, 1},
        {"Transparent false", [&] { Lab->SetTransparent(false); }, [&] { return Lab->Transparent(); }, 0, 1},
        {"DisplayType 15", [&] { Lab->setProperty("DisplayType", 15); }, [&] { return Lab->DisplayType(); },
         dtFixP, 0},
        {"OnBeforeDisplay", [&] { Lab->OnBeforeDisplay = [](QObject*, std::string&) {}; }, [] { return 0; },
         0, 0},
    };
    for (const auto& S : Steps) {
        const int Before = Lab->Paints;
        S.Write();
        EXPECT_EQ(S.Read(), S.Stored) << S.What;
        EXPECT_EQ(Lab->Paints - Before, S.Paints) << S.What << ": paints before the setter returned";
        QApplication::processEvents();
        EXPECT_EQ(Lab->Paints - Before, S.Paints + S.PaintsLater) << S.What << ": paints afterwards";
    }
}

TEST(NumLab, WithoutAParentSettersStoreAndTheFirstShowPaints) {
    QWidget Window;
    TCountingNumLab Lab;
    Lab.SetValue(7);
    Lab.SetEnabled(false);
    EXPECT_EQ(Lab.Paints, 0);
    Lab.setParent(&Window);
    Window.show();
    QApplication::processEvents();
    EXPECT_EQ(Lab.DrawnText(), "7.00");
}

TEST(NumLab, AssignCopiesTheListedFieldsOnly) {
    QWidget Window;
    TNumLab A(&Window), B(&Window);
    A.SetComma(true);
    A.SetValue(2.5);
    A.SetPrecision(4);
    A.SetColorLabText(clRed);
    A.SetColorScheme(csSystem);
    A.SetTransparent(true);
    A.SetDTFormat("yy");
    B.Assign(&A);
    EXPECT_FALSE(B.Comma());
    EXPECT_EQ(B.DTFormat(), "mmm-dd, yyyy");
    EXPECT_EQ(B.Value(), 2.5);
    EXPECT_EQ(B.Precision(), 4);
    EXPECT_EQ(B.ColorLabText(), clRed);
    EXPECT_EQ(B.SchemeShadow(), clBtnShadow);
    EXPECT_TRUE(B.Transparent() && !B.Opaque());

    TCountingNumLab Derived(&Window);
    Derived.SetValue(9);
    Derived.AssignTo(&B);  // into an ancestor class: copies
    EXPECT_EQ(B.Value(), 9);
    QWidget Plain;
    const auto Message = [](const std::function<void()>& F) {
        try {
            F();
        } catch (const EConvertError& E) {
            return std::string(E.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(Message([&] { B.AssignTo(&Derived); }), "Cannot assign a TNumLab to a TCountingNumLab");
    EXPECT_EQ(Message([&] { B.Assign(&Plain); }), "Cannot assign a QWidget to a TNumLab");
    EXPECT_EQ(Message([&] { B.Assign(nullptr); }), "Cannot assign a nil to a TNumLab");
    EXPECT_EQ(B.Value(), 9);
}

TEST(NumLab, MouseAreaZonesAreStrict) {
    TNumLab Lab;
    for (const auto& [X, Area] : {std::pair{-4, 0}, {35, 0}, {36, 1}, {115, 1}, {116, 2}, {500, 2}}) {
        Lab.MouseMove(0, X, 5);
        EXPECT_EQ(Lab.MouseArea(), Area) << X;
    }
}

TEST(NumLab, FontFollowsTheParentUntilSetAndHintsFollowTheFont) {
    QWidget Window;
    QFont Font13 = Window.font();
    Font13.setPixelSize(13);
    Window.setFont(Font13);
    TNumLab Lab(&Window);
    const int th = QFontMetrics(Font13).height();
    EXPECT_EQ(Lab.Font().Size, -13);
    EXPECT_EQ(Lab.SampleHeight(), th);
    EXPECT_EQ(Lab.minimumSizeHint(), QSize(35 + 80 + 1, th + 5));
    EXPECT_EQ(Lab.sizeHint(), QSize(160, std::max(28, th + 8)));

    TFont Own = Lab.Font();
    Own.Size = -30;
    Lab.SetFont(Own);
    Window.setFont(QFont());
    EXPECT_FALSE(Lab.ParentFont());
    EXPECT_EQ(Lab.Font().Size, -30);
    EXPECT_EQ(Lab.sizeHint().height(), Lab.SampleHeight() + 8);
    Window.setFont(Font13);
    Lab.SetParentFont(true);
    EXPECT_EQ(Lab.Font().Size, -13);
}

// ------------------------------------------------------------ pixels

TEST_F(ShownLabel, DefaultLabelFrameValueBoxAndText) {
    const QImage Shot = this->Shot();
    test::SavePicture(Shot, "numlab_default");
    const TColor Face = ColorToRGB(clBtnFace);
    // Lowered frame from x 36 to 115 and y 0 to 26; the value rectangle inside it.
    EXPECT_EQ(test::PixelAt(Shot, 36, 0), clGray);
    EXPECT_EQ(test::PixelAt(Shot, 115, 0), clGray);
    EXPECT_EQ(test::PixelAt(Shot, 36, 26), clWhite);
    EXPECT_EQ(test::PixelAt(Shot, 115, 26), clWhite);
    EXPECT_EQ(test::PixelAt(Shot, 37, 1), clBlack);
    EXPECT_EQ(test::PixelAt(Shot, 114, 25), clSilver);
    EXPECT_EQ(test::PixelAt(Shot, 114, 2), clSilver);
    for (const auto& [x, y] : {std::pair{35, 5}, {116, 5}, {50, 27}, {0, 0}, {159, 27}, {38, 2}, {113, 24}})
        EXPECT_EQ(test::PixelAt(Shot, x, y), Face) << x << ", " << y;
    TBitmap Measure;
    Measure.SetSize(1, 1);
    Measure.Canvas().Font = Lab->Font();
    const int tw = Measure.Canvas().TextWidth("0.00"), th = Lab->SampleHeight();
    const QRect Text = test::PaintedBounds(Shot, QRect(38, 2, 76, 23), Face);
    const int x = 37 + (80 - tw) / 2, y0 = (28 - th) / 2;
    EXPECT_TRUE(QRect(x, y0, tw, th).contains(Text)) << "text at " << Text.x() << ", " << Text.y();
    EXPECT_EQ(test::PaintedBounds(Shot, QRect(0, 0, 160, 28), Face), QRect(36, 0, 80, 27))
        << "nothing outside the box";
}

// Every alignment of every text, read back from where the glyphs landed.
TEST_F(ShownLabel, EachAlignmentPutsItsTextWhereTheTableSays) {
    test::ExpectTextPlaces(*Lab, 1, [this] { return Shot(); });
}

// Texts in full Unicode through the Qt face: drawn in their zones as the
// font draws them (not as the '?' the Latin-1 face reads), and read back
// whole by the property system and by screen readers.
TEST_F(ShownLabel, UnicodeTextsAreDrawnAndReadBack) {
    struct TCase {
        test::TTextZone Zone;
        QString Text;
        const char* Property;
    } Cases[] = {
        {test::TTextZone::Right, QStringLiteral("k\u03A9"), "RightText"},
        {test::TTextZone::Left, QStringLiteral("\u00B5\u2030\u00B3"), "LeftText"},
        {test::TTextZone::Value, QStringLiteral("\u5F85\u6A5F\u4E2D"), "StateText"},
    };
    for (const TCase& C : Cases) {
        const test::TTextPlace Place{C.Zone, taLeftJustify, 0, 0};
        test::ShowTextAt(*Lab, Place, QString());
        Lab->setProperty(C.Property, C.Text);
        EXPECT_EQ(Lab->property(C.Property).toString(), C.Text);
        const QImage Picture = Shot();
        EXPECT_TRUE(test::FoundCell(Picture, 1, C.Zone, Lab->Font(), C.Text)) << C.Property;
        EXPECT_FALSE(test::FoundCell(Picture, 1, C.Zone, Lab->Font(), C.Text.toLatin1())) << C.Property;
        QAccessibleInterface* A = QAccessible::queryAccessibleInterface(Lab);
        EXPECT_TRUE(A->text(C.Zone == test::TTextZone::Value ? QAccessible::Name : QAccessible::Description)
                        .contains(C.Text))
            << C.Property;
    }
    EXPECT_EQ(Lab->StateText(), "???") << "the Latin-1 face";
    EXPECT_EQ(Lab->ValueTextQ(), Cases[2].Text);
}

TEST_F(ShownLabel, EmptyDisabledAndColoursOfTheTexts) {
    TFont Big = Lab->Font();
    Big.Size = -20;
    Big.Style = fsBold;
    Lab->SetFont(Big);
    Lab->SetBounds(10, 10, 200, 40);
    Lab->SetLeftText("Ab");
    Lab->SetRightText("Cd");
    Lab->SetColorOutBakG(clNavy);
    Lab->SetColorLabBakG(clYellow);
    int Calls = 0;
    Lab->OnBeforeDisplay = [&](QObject*, std::string&) { ++Calls; };

    Lab->SetEmpty(true);
    const QRect Inside(38, 2, 76, 35);
    EXPECT_EQ(test::PaintedBounds(Shot(), Inside, clNavy), QRect()) << "the box shows the outer background";
    EXPECT_EQ(Calls, 0);
    Lab->SetEmpty(false);
    EXPECT_GT(Calls, 0);

    // The red channel's range: dark strokes of fully covered pixels have the text colour exactly.
    const auto Red = [](const QImage& Image, const QRect& R) {
        std::pair<int, int> Range{255, 0};
        for (int y = R.top(); y <= R.bottom(); ++y)
            for (int x = R.left(); x <= R.right(); ++x) {
                const int r = test::PixelAt(Image, x, y) & 0xFF;
                Range = {std::min(Range.first, r), std::max(Range.second, r)};
            }
        return Range;
    };
    const QImage Normal = Shot();
    EXPECT_EQ(Red(Normal, Inside).first, 0) << "black value text";
    Lab->SetEnabled(false);
    const QImage Grey = Shot();
    test::SavePicture(Grey, "numlab_disabled");
    EXPECT_EQ(Red(Grey, Inside).first, ColorToRGB(clBtnShadow) & 0xFF);
    // Each greyed side text is a grey copy over a white one, one pixel right
    // and below: the top row is grey over navy (red up to 0x80), the bottom
    // row the white copy's.
    for (const QRect Zone : {QRect(0, 0, 36, 40), QRect(116, 0, 84, 40)}) {
        const QRect Text = test::PaintedBounds(Normal, Zone, clNavy),
                    Both = test::PaintedBounds(Grey, Zone, clNavy);
        ASSERT_FALSE(Text.isEmpty());
        EXPECT_EQ(Both, Text.adjusted(0, 0, 1, 1));
        EXPECT_LE(Red(Grey, QRect(Both.left(), Both.top(), Both.width(), 1)).second, 0x80);
        EXPECT_GT(Red(Grey, QRect(Both.left(), Both.bottom(), Both.width(), 1)).second, 0x80);
    }
}

// A parent that paints a pattern, for labels that let it show through.
class TPatterned : public QWidget {
    void paintEvent(QPaintEvent*) override {
        QPainter P(this);
        for (int y = 0; y < height(); y += 4)
            for (int x = 0; x < width(); x += 4)
                P.fillRect(x, y, 4, 4, (x + y) % 8 ? QColor(0x40, 0xC0, 0x80) : Qt::white);
    }
};

TEST(NumLab, SeeThroughShowsTheParentAroundTheBox) {
    TPatterned Window;
    Window.resize(180, 70);
    TNumLab* Clear = new TNumLab(&Window);
    TNumLab* Opaque = new TNumLab(&Window);
    Clear->SetBounds(0, 0, 160, 28);
    Opaque->SetBounds(0, 34, 160, 28);
    for (TNumLab* L : {Clear, Opaque}) {
        L->SetLeftText("L");
        L->SetColorLabBakG(clAqua);
    }
    Clear->SetTransparent(true);
    Window.show();
    QApplication::processEvents();
    TPatterned Alone;
    Alone.resize(180, 70);
    const QImage Parent = Alone.grab().toImage().convertToFormat(QImage::Format_RGB32);

    for (const TColor Text : {clBlack, clRed}) {
        for (TNumLab* L : {Clear, Opaque}) L->SetColorLabText(Text);
        const QImage Screen = Window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        test::SavePicture(Screen, Text == clBlack ? "numlab_seethrough_black" : "numlab_seethrough_red");
        // Outside the box and the left text (which ends at x 30) the pattern shows.
        for (int y = 0; y < 28; ++y)
            for (int x : {0, 2, 33, 120, 159})
                EXPECT_EQ(test::PixelAt(Screen, x, y), test::PixelAt(Parent, x, y)) << x << ", " << y;
        // Inside it the see-through label looks as the opaque one does: with
        // black text the value rectangle, otherwise all within the outer frame.
        const QRect Same = Text == clBlack ? QRect(38, 2, 76, 23) : QRect(37, 2, 78, 24);
        for (int y = Same.top(); y <= Same.bottom(); ++y)
            for (int x = Same.left(); x <= Same.right(); ++x)
                ASSERT_EQ(test::PixelAt(Screen, x, y), test::PixelAt(Screen, x, y + 34)) << x << ", " << y;
        // The outer frame line is the pattern ANDed with grey.
        const TColor Frame = test::PixelAt(Screen, 36, 12), Under = test::PixelAt(Parent, 36, 12);
        EXPECT_EQ(Frame, Under & clGray);
    }
    Clear->SetColorLabText(clBlack);
    Clear->SetEmpty(true);
    const QImage Box = Window.grab(QRect(38, 2, 76, 23)).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(test::PaintedBounds(Box, QRect(0, 0, 76, 23), clAqua), QRect()) << "the box colour alone";
}

// ------------------------------------------------------------ overflow and what is announced

TEST_F(ShownLabel, OverflowAtLabelWidthMinusSixAndTheAccessibleName) {
    Lab->SetBounds(10, 10, 64, 22);
    Lab->SetLeftSpace(0);
    Lab->SetLabelWidth(60);
    // Texts the label's font measures at exactly 54 and 55 pixels.
    const std::string Fits = test::TextOfWidth(Lab->Font(), 54), TooWide = test::TextOfWidth(Lab->Font(), 55);
    ASSERT_TRUE(!Fits.empty() && !TooWide.empty()) << "no texts of 54 and 55 pixels in this font";
    std::string Replacement;
    Lab->OnBeforeDisplay = [&](QObject*, std::string& Text) { Text = Replacement; };

    QAccessibleInterface* Access = QAccessible::queryAccessibleInterface(Lab);
    ASSERT_NE(Access, nullptr);
    EXPECT_EQ(Access->role(), QAccessible::StaticText);
    for (const auto& [Text, Shown] : std::vector<std::pair<std::string, std::string>>{
             {Fits, Fits}, {TooWide, "*********"}, {"12", "12"}, {"12" + Fits, "*********"}}) {
        Replacement = Text;
        Lab->SetValue(Lab->Value() + 1);
        EXPECT_EQ(Lab->DrawnText(), Shown) << Text;
        EXPECT_EQ(Access->text(QAccessible::Name).toStdString(), Shown);
    }
    EXPECT_EQ(Access->valueInterface()->currentValue().toDouble(), Lab->Value());

    // A state text is clipped at the box's inner edges, never replaced.
    Lab->OnBeforeDisplay = nullptr;
    Lab->SetDisplayType(dtState);
    Lab->SetStateText(std::string(30, 'W'));
    EXPECT_EQ(Lab->DrawnText(), std::string(30, 'W'));
    const QImage Shot = this->Shot();
    for (int y = 2; y < 19; ++y) EXPECT_EQ(test::PixelAt(Shot, 59, y), clSilver) << y;
    EXPECT_EQ(test::PaintedBounds(Shot, QRect(61, 0, 3, 22), ColorToRGB(clBtnFace)), QRect());
}

// ------------------------------------------------------------ what assistive tools read and hear

// The name is what the box shows and the description the side texts, one
// blank between them only when both are set; what the application set
// comes first.
TEST_F(ShownLabel, AccessibleNameAndDescription) {
    struct TCase {
        const char *Left, *Right, *SetName, *SetDescription;
        QString Name, Description;
    };
    const TCase Cases[] = {
        {"", "", "", "", "0.00", ""},
        {"Temp", "", "", "", "0.00", "Temp"},
        {"", "m\xB2", "", "", "0.00", QString::fromUtf8("m\u00B2")},
        {"Temp", "m\xB2", "", "", "0.00", QString::fromUtf8("Temp m\u00B2")},
        {"Temp", "C", "Boiler", "", "Boiler", "Temp C"},
        {"Temp", "C", "", "At the outlet", "0.00", "At the outlet"},
    };
    QAccessibleInterface* Access = QAccessible::queryAccessibleInterface(Lab);
    ASSERT_NE(Access, nullptr);
    for (const TCase& C : Cases) {
        Lab->SetLeftText(C.Left);
        Lab->SetRightText(C.Right);
        Lab->setAccessibleName(C.SetName);
        Lab->setAccessibleDescription(C.SetDescription);
        EXPECT_EQ(Access->text(QAccessible::Name), C.Name) << C.Left << "|" << C.Right;
        EXPECT_EQ(Access->text(QAccessible::Description), C.Description) << C.Left << "|" << C.Right;
    }
}

// Assistive tools hear of every change of the shown text, as a value and a
// name change, and of nothing else.
TEST_F(ShownLabel, AnnouncesEveryChangeOfTheShownText) {
    test::TAccessibleEvents Events;
    struct TStep {
        const char* What;
        std::function<void()> Write;
        const char* Shown;  // null: nothing to hear
    };
    const TStep Steps[] = {
        {"a new value", [&] { Lab->SetValue(2); }, "2.00"},
        {"a value shown alike", [&] { Lab->SetValue(2.001); }, nullptr},
        {"a side text", [&] { Lab->SetLeftText("U"); }, nullptr},
        {"the box emptied", [&] { Lab->SetEmpty(true); }, ""},
        {"the value back", [&] { Lab->SetEmpty(false); }, "2.00"},
        {"a box too narrow", [&] { Lab->SetLabelWidth(20); }, "*********"},
        {"a shorter text", [&] { Lab->SetDisplayType(dtInt); }, "2"},
    };
    using TEvent = test::TAccessibleEvents::TEvent;
    for (const TStep& S : Steps) {
        Events.Clear();
        S.Write();
        const std::vector<TEvent> Want = S.Shown
                                             ? std::vector<TEvent>{{Lab, QAccessible::ValueChanged, S.Shown},
                                                                   {Lab, QAccessible::NameChanged, S.Shown}}
                                             : std::vector<TEvent>{};
        EXPECT_EQ(Events.Of(Lab), Want) << S.What;
    }
}

// A label keeps its picture between paints; whatever the writes, it must show
// what a label given the same properties at once shows.
TEST_F(ShownLabel, KeptPictureMatchesAFreshLabel) {
    std::mt19937 Random(8);
    const auto Pick = [&](int n) { return int(Random() % unsigned(n)); };
    const double Values[] = {0, 7, -2.5, 1e308, NaN, 123456.789, 0.000471};
    const TColor Colors[] = {clBtnFace, clBlack, clRed, clWhite, clYellow};
    const char* const Texts[] = {"LeftText", "RightText"};
    const char* const Alignments[] = {"Alignment", "LeftTextAlignment", "RightTextAlignment"};
    const char* const Flags[] = {"Empty", "Enabled", "Transparent"};
    const char* const ColorNames[] = {"ColorLabText", "ColorLabBakG", "ColorOutBakG"};
    const std::vector<std::function<void()>> Writes = {
        [&] { Lab->SetValue(Values[Pick(7)]); },
        [&] { Lab->SetDisplayType(TDisplay(Pick(DisplayTypeCount))); },
        [&] { Lab->SetPrecision(Pick(18) - 1); },
        [&] { Lab->SetLabelWidth(Pick(140) - 20); },
        [&] { Lab->SetLeftSpace(Pick(90)); },
        [&] { Lab->setProperty(Texts[Pick(2)], QString(Pick(4), QChar('W'))); },
        [&] { Lab->setProperty(Alignments[Pick(3)], Pick(3)); },
        [&] { Lab->SetFrameStyle(TFrameStyle(Pick(6))); },
        [&] { Lab->setProperty(Flags[Pick(3)], bool(Pick(2))); },
        [&] { Lab->setProperty(ColorNames[Pick(3)], int(Colors[Pick(5)])); },
        [&] { Lab->SetBounds(10, 10, 100 + Pick(100), 10 + Pick(30)); },
        [&] { QApplication::processEvents(); },
    };
    for (int Step = 0; Step < 300; ++Step) {
        Writes[std::size_t(Pick(int(Writes.size())))]();
        if (Step % 10) continue;
        QApplication::processEvents();
        TNumLab Fresh(&Window);
        Fresh.setGeometry(Lab->geometry());
        Fresh.Assign(Lab);
        Fresh.SetEnabled(Lab->Enabled());
        ASSERT_EQ(test::Grab(Fresh), test::Grab(*Lab)) << "step " << Step;
    }
}

// A handler that throws while the label paints: the paint is still whole,
// with the value text the handler was given, and the guard reports the
// failure once per paint. Outside a paint the exception reaches the caller.
TEST(NumLab, FailingBeforeDisplayHandlerStillPaintsTheWholeLabel) {
    std::vector<std::string> Reports;
    const TErrorReporter Previous =
        SetErrorReporter([&](const std::string&, const std::string& M) { Reports.push_back(M); });
    struct TCase {
        const char* What;
        std::function<void(QString&)> Before;  // what the handler does before it throws
    };
    const TCase Cases[] = {
        {"throws at once", [](QString&) {}},
        {"changes the text, then throws", [](QString& T) { T = "changed"; }},
    };
    for (const TCase& C : Cases) {
        Reports.clear();
        TNumLab Plain, Failing;
        for (TNumLab* L : {&Plain, &Failing}) {
            L->resize(160, 28);
            L->SetValue(21.5);
        }
        Failing.OnBeforeDisplay = [&C](QObject*, QString& Text) {
            C.Before(Text);
            throw EConvertError("no text");
        };
        const QImage Expected = test::Grab(Plain);
        for (int Paint = 0; Paint < 2; ++Paint) {
            const QImage Actual = test::Grab(Failing);
            EXPECT_EQ(Actual, Expected) << C.What << ", paint " << Paint << "; see "
                                        << test::SavePicture(Actual, "numlab-failing-handler");
        }
        EXPECT_EQ(Reports, (std::vector<std::string>{"no text.", "no text."})) << C.What;
        EXPECT_EQ(Failing.DrawnTextQ(), "21.50") << C.What;
        EXPECT_THROW(Failing.ValueTextQ(), EConvertError) << C.What;
    }
    SetErrorReporter(Previous);
}

// A new value is drawn straight onto the screen, through a picture that all
// labels share; the screen must show what a full composition gives, under
// both policies, after another label of another font and size used the
// shared picture, and after something covered the label for a while.
TEST_F(ShownLabel, ScreenAfterValueChangesMatchesAFullComposition) {
    Window.resize(220, 100);
    const TFont Mono{"DejaVu Sans Mono", 10, 0, 1, clWindowText};
    Lab->SetFont(Mono);
    auto* Other = new TNumLab(&Window);
    Other->SetBounds(10, 45, 200, 40);
    Other->SetFont(TFont{"Liberation Serif", 15, fsBold, 1, clWindowText});
    auto* Ref = new TNumLab(&Window);
    Ref->SetBounds(10, 10, 160, 28);
    Ref->SetFont(Mono);
    Ref->hide();
    auto* Cover = new QWidget(&Window);
    Cover->setAutoFillBackground(true);
    Cover->setPalette(QPalette(Qt::magenta));
    Cover->hide();
    std::mt19937 Rnd(77);
    const std::vector<std::function<void()>> Writes = {
        [&] { Lab->SetDisplayType(TDisplay(Rnd() % DisplayTypeCount)); },
        [&] { Lab->SetAlignment(TAlignment(Rnd() % 3)); },
        [&] { Lab->SetPrecision(int(Rnd() % 5)); },
        [&] { Lab->SetComma(Rnd() % 2); },
        [&] { Lab->SetTransparent(Rnd() % 3 == 0); },
        [&] {
            Cover->setGeometry(int(Rnd() % 170), int(Rnd() % 40), 1 + int(Rnd() % 60), 1 + int(Rnd() % 20));
            Cover->show();
            QApplication::processEvents();
            Cover->hide();
        },
        [] {},  // the value alone
        [] {},
    };
    for (const TRepaintPolicy Policy : {TRepaintPolicy::Immediate, TRepaintPolicy::Coalesced}) {
        Lab->SetRepaintPolicy(Policy);
        for (int Step = 0; Step < 40; ++Step) {
            Writes[Rnd() % Writes.size()]();
            Other->SetValue(double(Rnd() % 100000) / 7);
            Lab->SetValue(double(int(Rnd() % 2000000) - 1000000) / 64);
            if (Policy == TRepaintPolicy::Coalesced) QApplication::processEvents();
            Ref->Assign(Lab);
            Ref->SetComma(Lab->Comma());
            const QImage Shown = test::OnScreen(*Lab), Expected = test::Grab(*Ref);
            if (Shown != Expected) {
                FAIL() << "step " << Step << ", " << Lab->DrawnText() << ": "
                       << test::SavePicture(Shown, "numlab_screen_actual") << " "
                       << test::SavePicture(Expected, "numlab_screen_expected");
            }
        }
    }
}

// The picture of the README: display types, overflow, greyed; opaque on the
// left, see-through on the right.
TEST(NumLab, Gallery) {
    struct TRow {
        const char *Left, *Right;
        TDisplay Type;
        int Precision;
        double Value;
        TFrameStyle Frame = fsLowered;
        bool Signed = false, Enabled = true;
    };
    const TRow Rows[] = {
        {"Temp",
         "\xB0"
         "C",
         dtFixP, 1, 21.5},
        {"Heading", "", dtDegMinSec, 1, 10.7578125},
        {"Power", "W", dtEEng, 3, 12345},
        {"Offset", "mm", dtFixP, 2, 3.14159, fsLowered, true},
        {"Mask", "", dtHex, 8, 48879, fsSimple},
        {"Flags", "", dtBin, 8, 165, fsRaised},
        {"Date", "", dtDateTime, 2, 45000},
        {"Too wide", "", dtFixP, 2, 1e20},
        {"Off", "V", dtFixP, 2, 3.3, fsLowered, false, false},
    };
    QWidget Window;
    Window.resize(2 * 196 + 8, int(std::size(Rows)) * 30 + 8);
    QPalette P = Window.palette();
    P.setColor(QPalette::Window, QColor(0xC8, 0xDC, 0xF0));
    Window.setPalette(P);
    Window.setAutoFillBackground(true);
    for (int i = 0; i < int(std::size(Rows)); ++i)
        for (int Column = 0; Column < 2; ++Column) {
            const TRow& R = Rows[i];
            auto* L = new TNumLab(&Window);
            L->SetBounds(4 + 200 * Column, 4 + 30 * i, 192, 26);
            L->SetLeftSpace(62);
            L->SetLabelWidth(100);
            L->SetColorLabBakG(clWhite);
            L->SetTransparent(Column == 1);
            L->SetLeftText(R.Left);
            L->SetRightText(R.Right);
            L->SetDisplayType(R.Type);
            L->SetPrecision(R.Precision);
            L->SetValue(R.Value);
            L->SetFrameStyle(R.Frame);
            L->SetComma(R.Signed);
            L->SetForcePlusSign(R.Signed);
            L->SetEnabled(R.Enabled);
        }
    Window.show();
    QApplication::processEvents();
    EXPECT_FALSE(test::SavePicture(test::Grab(Window), "numlab_gallery").empty());
}

}  // namespace

#include "test_numlab.moc"
