#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>
#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <type_traits>

#include "Zent_dateutils.h"
#include "Zent_latin1.h"
#include "Zent_sysutils.h"
#include "test_support.h"

using namespace zent;
using namespace Qt::StringLiterals;

namespace {

const TFormatSettings& English() {
    static const TFormatSettings Settings = DefaultFormatSettings();
    return Settings;
}

std::string Text(std::string_view Pattern, double Value) {
    return DateTimeToText(Pattern, Value, English());
}

double At(int Year, int Month, int Day, int Hour = 0, int Min = 0, int Sec = 0, int MSec = 0) {
    return EncodeDate(Year, Month, Day) + EncodeTime(Hour, Min, Sec, MSec);
}

struct PatternCase {
    const char* Pattern;
    double Value;
    const char* Text;
};

TEST(DateTimeToText, PatternLanguage) {
    const double Afternoon = At(2024, 3, 9, 14, 5, 9, 7);  // a Saturday
    const double HalfPastMidnight = At(2024, 3, 9, 0, 30);
    const PatternCase Cases[] = {
        {"HH:MM:SS", Afternoon, "14:05:09"},  // MM after HH is minutes
        {"mmm-dd, yyyy", 6.0, "Jan-05, 1900"},
        {"h:nn am/pm", HalfPastMidnight, "12:30 am"},
        {"h:nn am/pm a/p AMPM", At(2024, 3, 9, 12, 30), "12:30 pm p pm"},  // noon is afternoon
        {"hh:nn", HalfPastMidnight, "00:30"},
        {"h:nn AM/PM", Afternoon, "2:05 PM"},
        {"h:nn a/p", Afternoon, "2:05 p"},
        {"h:nn AMPM", Afternoon, "2:05 pm"},
        {"mm/dd", Afternoon, "03/09"},  // no h before: month
        {"hh:mm", Afternoon, "14:05"},
        {"hh-x-mm", Afternoon, "14-x-03"},  // x became the last letter
        {"dD", Afternoon, "99"},            // two runs of 1
        {"d/m/y yyy yyyyy", Afternoon, "9/3/24 2024 2024"},
        {"mmmm mmmmm ddd dddd aaa aaaa", Afternoon, "March March Sat Saturday Sat Saturday"},
        {"z zz zzz zzzz", Afternoon, "7 07 007 007"},
        {"n s nn ss", Afternoon, "5 9 05 09"},
        {"'h'h", Afternoon, "h14"},  // quoted h, then the hour
        {"\"mm\" 'unclosed mm", Afternoon, "mm unclosed mm"},
        {"x'y''z'", Afternoon, "xyz"},
        {"ddddd", Afternoon, "3/9/24"},
        {"dddddd", Afternoon, "March 9, 2024"},
        {"t", Afternoon, "2:05 pm"},
        {"tt", Afternoon, "2:05:09 pm"},
        {"c", Afternoon, "3/9/24 2:05:09 pm"},
        {"", At(2024, 3, 9), "3/9/24"},       // empty means c; no time, no trailing blank
        {"hh a/p hh", Afternoon, "02 p 02"},  // the marker switches the rest to 12 hours
        {"hh hh a/p", Afternoon, "14 02 p"},  // the first scan stops at the next h
        {"h 'a/p' h", Afternoon, "14 a/p 14"},
        {"ampm AmPm", At(2024, 3, 9, 11, 59), "am am"},
        {"e ee eee g gg", At(2005, 1, 1), "5 05 2005  "},
        {"b#q\xB0", Afternoon, "b#q\xB0"},
        {"hh:nn:ss", 0.9999999999, "00:00:00"},  // rounds up to the next midnight
        {"yyyy-mm-dd", 0.9999999999, "1899-12-31"},
        {"yyyy-mm-dd hh:nn", -1.25, "1899-12-29 06:00"},
        {"yyyy-mm-dd", 1.0, "1899-12-31"},
    };
    for (const PatternCase& C : Cases) EXPECT_EQ(Text(C.Pattern, C.Value), C.Text) << "pattern " << C.Pattern;
}

TEST(DateTimeToText, UsesSeparatorsAndLocalePatterns) {
    TFormatSettings S = DefaultFormatSettings();
    S.DateSeparator = ".";
    S.TimeSeparator = "";
    S.ShortDateFormat = "dd/mm/yyyy t c";  // composites inside an inserted pattern give nothing
    S.LongTimeFormat = "hh:nn:ss";
    const double Value = At(2024, 3, 9, 14, 5, 9);
    EXPECT_EQ(DateTimeToText("ddddd", Value, S), "09.03.2024  ");
    EXPECT_EQ(DateTimeToText("c", Value, S), "09.03.2024   140509");
    EXPECT_EQ(DateTimeToText("c", At(2024, 3, 9, 0, 0, 0, 999), S), "09.03.2024  ");
}

TEST(DateTimeToText, OutputIsLimitedTo256Characters) {
    EXPECT_EQ(Text(std::string(300, '#'), 1.0), std::string(256, '#'));
    std::string Composites;
    for (int i = 0; i < 100; ++i) Composites += "c ";
    EXPECT_EQ(Text(Composites, At(2024, 3, 9, 1)).size(), 256u);
    EXPECT_EQ(Text(std::string(252, '/') + "mmmm", 1.0), std::string(252, '/') + "Dece");
}

TEST(DateTimeToText, OutOfRangeValuesGiveEmptyText) {
    for (double Value : {-693594.0, 2958466.0, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(Text("yyyy dddd mmmm 'x'", Value), "") << Value;
        TDateTimeFields F;
        EXPECT_FALSE(DecodeDateTime(Value, F));
        EXPECT_EQ(F.Year + F.Month + F.Day + F.Hour + F.DayOfWeek, 0);
        EXPECT_EQ(DayOfWeek(Value), 0);
    }
    EXPECT_EQ(Text("yyyy-mm-dd hh:nn:ss.zzz", -693593.0), "0001-01-01 00:00:00.000");
    EXPECT_EQ(Text("yyyy-mm-dd hh:nn:ss.zzz", 2958465.99999998), "9999-12-31 23:59:59.998");
    EXPECT_EQ(Text("yyyy-mm-dd", 2958465.9999999999), "");  // rounds into year 10000
}

TEST(Decode, MatchesChronoOverTheWholeRange) {
    using namespace std::chrono;
    constexpr int64_t DayNumberOf1970 = 719'163;  // 0001-01-01 is day 1
    constexpr int64_t DateDelta = 693'594;
    std::mt19937 Rng(8675309);
    auto Check = [&](int64_t DayNumber, int64_t MSecOfDay) {
        const year_month_day Ymd{sys_days{days{DayNumber - DayNumberOf1970}}};
        const weekday Wd{sys_days{days{DayNumber - DayNumberOf1970}}};
        const double Value = double(DayNumber - DateDelta) + double(MSecOfDay) / 86'400'000;
        // A negative value carries its time of day as a magnitude.
        const double Signed =
            Value < 0 ? double(DayNumber - DateDelta) - double(MSecOfDay) / 86'400'000 : Value;
        TDateTimeFields F;
        ASSERT_TRUE(DecodeDateTime(Signed, F)) << DayNumber;
        ASSERT_EQ(F.Year, int(Ymd.year())) << DayNumber;
        ASSERT_EQ(F.Month, unsigned(Ymd.month())) << DayNumber;
        ASSERT_EQ(F.Day, unsigned(Ymd.day())) << DayNumber;
        ASSERT_EQ(F.DayOfWeek, Wd.c_encoding() + 1) << DayNumber;
        ASSERT_EQ(F.Hour * 3'600'000 + F.Min * 60'000 + F.Sec * 1'000 + F.MSec, MSecOfDay) << DayNumber;
        ASSERT_EQ(EncodeDate(F.Year, F.Month, F.Day), double(DayNumber - DateDelta));
    };
    for (int64_t DayNumber : {1, 2, 365, 366, 146'097, 693'594, 3'652'059}) Check(DayNumber, 0);
    for (int i = 0; i < 200'000; ++i) {
        const int64_t DayNumber = 1 + int64_t(Rng() % 3'652'059);
        Check(DayNumber, int64_t(Rng() % 86'400'000));
    }
}

TEST(Encode, RejectsInvalidFields) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(2000, 2, 29), 36585.0);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    for (auto [Y, M, D] : {std::tuple{0, 1, 1},
                           {10000, 1, 1},
                           {2023, 2, 29},
                           {1900, 2, 29},
                           {2024, 13, 1},
                           {2024, 0, 1},
                           {2024, 4, 31},
                           {2024, 1, 0}}) {
        try {
            EncodeDate(Y, M, D);
            ADD_FAILURE() << Y << "-" << M << "-" << D;
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(), "Invalid argument to date encode");
        }
    }
    for (auto [H, M, S, Ms] :
         {std::tuple{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}}) {
        try {
            EncodeTime(H, M, S, Ms);
            ADD_FAILURE() << H << ":" << M << ":" << S << "." << Ms;
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(), "Invalid argument to time encode");
        }
    }
}

TEST(Clock, AgreesWithQtAndKeepsMilliseconds) {
    const QDateTime Before = QDateTime::currentDateTime();
    const double Now = CurrentDateTime();
    const double TimeOfDay = CurrentTimeOfDay();
    const QDateTime After = QDateTime::currentDateTime();
    const double Lo =
        At(Before.date().year(), Before.date().month(), Before.date().day(), Before.time().hour(),
           Before.time().minute(), Before.time().second(), Before.time().msec());
    const double Hi = At(After.date().year(), After.date().month(), After.date().day(), After.time().hour(),
                         After.time().minute(), After.time().second(), After.time().msec());
    EXPECT_GE(Now, Lo);
    EXPECT_LE(Now, Hi);
    EXPECT_GE(TimeOfDay, 0.0);
    EXPECT_LT(TimeOfDay, 1.0);
}

TEST(FormatSettings, FallbacksAndLocaleFacts) {
    const TFormatSettings D = DefaultFormatSettings();
    EXPECT_EQ(D.ShortTimeFormat, "h:mm AMPM");
    EXPECT_EQ(D.LongTimeFormat, "h:mm:ss AMPM");
    EXPECT_EQ(D.ShortDateFormat, "m/d/yy");
    EXPECT_EQ(D.LongDateFormat, "mmmm d, yyyy");
    EXPECT_EQ(D.ShortMonthNames[8], "Sep");
    EXPECT_EQ(D.LongDayNames[0], "Sunday");
    EXPECT_EQ(BuildTimeFormat(true, false, false, true), "hh:mm:ss");
    EXPECT_EQ(BuildTimeFormat(false, true, true, false), "AMPM h:mm");

    const TFormatSettings German = FormatSettingsFromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(German.DateSeparator, ".");
    EXPECT_EQ(German.ShortTimeFormat, "hh:mm");      // 24-hour clock with leading zero
    EXPECT_EQ(German.LongMonthNames[2], "M\xE4rz");  // ISO-8859-1
    EXPECT_EQ(German.ShortDayNames[0].substr(0, 2), "So");
    EXPECT_EQ(DateTimeToText("ddddd", At(2024, 3, 9), German), "09.03.24");

    const TFormatSettings Us = FormatSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(Us.ShortTimeFormat, "h:mm AMPM");
    EXPECT_EQ(DateTimeToText("t", At(2024, 3, 9, 14, 5), Us), "2:05 PM");
    EXPECT_EQ(Us.DateSeparator, "/");

    // Blanks, quoted text and direction marks are no separators.
    EXPECT_EQ(FormatSettingsFromLocale(QLocale::c()).DateSeparator, "/");
    EXPECT_EQ(FormatSettingsFromLocale(QLocale(QLocale::French, QLocale::Canada)).TimeSeparator, ":");
    const TFormatSettings Arabic = FormatSettingsFromLocale(QLocale(QLocale::Arabic, QLocale::Egypt));
    EXPECT_EQ(Arabic.DateSeparator, "/");
    EXPECT_EQ(Arabic.ShortDateFormat.find('?'), std::string::npos) << Arabic.ShortDateFormat;
}

// A narrow literal picks the byte face; UTF-16 texts the Unicode one.
static_assert(std::is_same_v<decltype(DateTimeToText("hh:nn", 0.0)), std::string>);
static_assert(std::is_same_v<decltype(DateTimeToText(u"hh:nn", 0.0)), QString>);
static_assert(std::is_same_v<decltype(DateTimeToText(QString(), 0.0)), QString>);

QString Emoji(int Count) {
    return u"\U0001F600"_s.repeated(Count);
}

TEST(UnicodeDateTimeToText, LiteralsPassThroughWhole) {
    const TUnicodeFormatSettings English = DefaultUnicodeFormatSettings();
    const double Afternoon = At(2024, 3, 9, 14, 5, 9);
    const struct {
        QString Pattern, Text;
    } Cases[] = {
        {u"yyyy\u5E74mm\u6708dd\u65E5 hh\u6642nn\u5206"_s, u"2024\u5E7403\u670809\u65E5 14\u664205\u5206"_s},
        {u"\u0414\u0430\u0442\u0430 dd.mm"_s, u"\u0414\u0430\u0442\u0430 09.03"_s},  // Cyrillic, unquoted
        {u"'\u03A9\u03C1\u03B1 h' h"_s, u"\u03A9\u03C1\u03B1 h 14"_s},
        {u"\u05E9\u05E2\u05D4 'yy"_s, u"\u05E9\u05E2\u05D4 yy"_s},              // Hebrew, unclosed quote
        {u"h\U0001F600m \"\U0001F600mm\""_s, u"14\U0001F6005 \U0001F600mm"_s},  // m after h stays minutes
        {u"\u00E9\u00B0 AMPM"_s, u"\u00E9\u00B0 pm"_s},
        {u"x\xD83D \xDE00x"_s, u"x\xD83D \xDE00x"_s},  // lone surrogates copied as they are
        {u"\uFFFE\uFEFFx"_s, u"\uFFFE\uFEFFx"_s},      // no byte-order marks: kept, nothing swapped
    };
    for (const auto& C : Cases)
        EXPECT_EQ(DateTimeToText(C.Pattern, Afternoon, English), C.Text) << C.Pattern.toStdString();
    EXPECT_EQ(DateTimeToText(u"yyyy-mm-dd", Afternoon), u"2024-03-09"_s);  // the system's settings
}

TEST(UnicodeDateTimeToText, LimitCountsCodePointsAndNeverSplitsAPair) {
    TUnicodeFormatSettings S = DefaultUnicodeFormatSettings();
    S.LongMonthNames[0] = Emoji(2);
    const QString Hashes(255, u'#');
    const struct {
        QString Pattern, Text;
    } Cases[] = {
        {Emoji(300), Emoji(256)},
        {Hashes + Emoji(2), Hashes + Emoji(1)},
        {Hashes + u"#"_s + Emoji(1), Hashes + u"#"_s},
        {Hashes + u"mmmm"_s, Hashes + Emoji(1)},
        {Hashes + u"'"_s + Emoji(3), Hashes + Emoji(1)},
    };
    for (const auto& C : Cases) EXPECT_EQ(DateTimeToText(C.Pattern, 6.0, S), C.Text) << C.Pattern.size();
}

TEST(UnicodeDateTimeToText, LocaleNamesWhole) {
    const QDate Saturday(2024, 3, 9);
    const double Morning = At(2024, 3, 9, 9, 5);
    const struct {
        QLocale Locale;
        QString Pattern, Text;
    } Cases[] = {
        {QLocale(QLocale::Russian, QLocale::Russia), u"mmmm mmm dddd ddd"_s,
         u"\u043C\u0430\u0440\u0442\u0430 \u043C\u0430\u0440. "
         u"\u0441\u0443\u0431\u0431\u043E\u0442\u0430 \u0441\u0431"_s},
        {QLocale(QLocale::Japanese, QLocale::Japan), u"mmmm dddd ddd AMPM t"_s,
         u"3\u6708 \u571F\u66DC\u65E5 \u571F \u5348\u524D 9:05"_s},
    };
    for (const auto& C : Cases) {
        const TUnicodeFormatSettings S = UnicodeFormatSettingsFromLocale(C.Locale);
        EXPECT_EQ(DateTimeToText(C.Pattern, Morning, S), C.Text);
        // The long date read through the pattern language is Qt's own.
        EXPECT_EQ(DateTimeToText(u"dddddd", Morning, S), C.Locale.toString(Saturday, QLocale::LongFormat));
    }
    const QLocale Russian(QLocale::Russian, QLocale::Russia);
    EXPECT_EQ(UnicodeFormatSettingsFromLocale(Russian).LongMonthNames[0], Russian.monthName(1));
}

TEST(FormatSettings, UnicodeKeepsWhatLatin1CannotHold) {
    const TUnicodeFormatSettings Arabic =
        UnicodeFormatSettingsFromLocale(QLocale(QLocale::Arabic, QLocale::Egypt));
    EXPECT_EQ(Arabic.ShortDateFormat, u"d\u200F/M\u200F/yyyy"_s);  // right-to-left marks kept
    EXPECT_EQ(Arabic.DecimalSeparator, QChar(0x066B));
    const TFormatSettings Latin1 = FormatSettingsToLatin1(Arabic);
    EXPECT_EQ(Latin1.ShortDateFormat, "d/M/yyyy");
    EXPECT_EQ(Latin1.DecimalSeparator, '.');
}

// Over Latin-1 patterns the byte face is the Unicode face converted to Latin-1.
TEST(UnicodeDateTimeToText, Latin1FaceMatchesUnicodeFace) {
    constexpr std::string_view Alphabet("yYmMdDhHnNsSzZtTcCeEgGaApP/:'\" .-x\xB0\xE9\0", 37);
    std::mt19937 Rng(20240309);
    for (const QLocale& Locale :
         {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
          QLocale(QLocale::Russian, QLocale::Russia), QLocale(QLocale::Japanese, QLocale::Japan)}) {
        const TFormatSettings Bytes = FormatSettingsFromLocale(Locale);
        const TUnicodeFormatSettings Unicode = UnicodeFormatSettingsFromLocale(Locale);
        for (int i = 0; i < 3000; ++i) {
            std::string Pattern(Rng() % 24 + (i % 10 == 0 ? 240 : 0), ' ');
            for (char& C : Pattern) C = Alphabet[Rng() % Alphabet.size()];
            const double Value =
                double(int64_t(Rng() % 3'700'000) - 720'000) + Rng() % 86'400'000 / 86'400'000.0;
            ASSERT_EQ(DateTimeToText(Pattern, Value, Bytes),
                      QStringToLatin1(DateTimeToText(Latin1ToQString(Pattern), Value, Unicode)))
                << Locale.name().toStdString() << " " << Pattern;
        }
    }
}

}  // namespace
