#include "Zent_dateutils.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>

#include "Zent_latin1.h"
#include "Zent_sysutils.h"

namespace zent {

namespace {

constexpr int64_t MSecsPerDay = 86'400'000;
// Day number (0001-01-01 is 1) of the value 0.0, 1899-12-30.
constexpr int64_t DateDelta = 693'594;
constexpr int64_t MaxDayNumber = 3'652'059;  // 9999-12-31

constexpr bool IsLeapYear(int Year) {
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

constexpr int DaysInMonth(int Year, int Month) {
    constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

bool DecodeDayNumber(int64_t DayNumber, TDateTimeFields& F) {
    if (DayNumber < 1 || DayNumber > MaxDayNumber) return false;
    int64_t N = DayNumber - 1;
    int Year = 1 + 400 * int(N / 146'097);
    N %= 146'097;
    int64_t Centuries = N / 36'524;
    if (Centuries == 4) Centuries = 3;  // the last day of a 400-year cycle
    N -= Centuries * 36'524;
    Year += 100 * int(Centuries);
    Year += 4 * int(N / 1'461);
    N %= 1'461;
    int64_t Years = N / 365;
    if (Years == 4) Years = 3;  // the leap day of a 4-year cycle
    N -= Years * 365;
    Year += int(Years);
    int Month = 1;
    while (N >= DaysInMonth(Year, Month)) N -= DaysInMonth(Year, Month++);
    F.Year = uint16_t(Year);
    F.Month = uint16_t(Month);
    F.Day = uint16_t(N + 1);
    F.DayOfWeek = uint16_t(DayNumber % 7 + 1);
    return true;
}

void TakeIfGiven(QString& Setting, const QString& Text) {
    if (!Text.isEmpty()) Setting = Text;
}

// The first punctuation character after the first field, outside quotes, or
// 0 when there is none. Blanks and characters outside Latin-1 (direction
// marks, and the vowel signs and syllable marks inside the words of a few
// locales' formats) are no separators.
QChar FieldSeparator(const QString& Format) {
    bool SeenLetter = false;
    bool Quoted = false;
    for (const QChar C : Format) {
        if (C == u'\'') {
            Quoted = !Quoted;
            continue;
        }
        if (Quoted) continue;
        if (C.isLetter())
            SeenLetter = true;
        else if (SeenLetter && !C.isSpace() && C.unicode() < 0x100)
            return C;
    }
    return QChar();
}

struct TTimeFacts {
    bool LeadingZeroHour = false;
    bool TwelveHour = false;
    bool MarkerInFront = false;
};

// Reads a Qt time format: "hh"/"HH" for a leading zero, "ap"/"AP"/"a"/"A" for
// the 12-hour clock, and whether the marker comes before the hours.
TTimeFacts TimeFactsOf(const QString& Format) {
    TTimeFacts Facts;
    qsizetype HourAt = -1, MarkerAt = -1;
    bool Quoted = false;
    for (qsizetype i = 0; i < Format.size(); ++i) {
        const QChar C = Format[i];
        if (C == u'\'') {
            Quoted = !Quoted;
            continue;
        }
        if (Quoted) continue;
        if ((C == u'h' || C == u'H') && HourAt < 0) {
            HourAt = i;
            Facts.LeadingZeroHour = i + 1 < Format.size() && Format[i + 1] == C;
        } else if ((C == u'a' || C == u'A') && MarkerAt < 0) {
            MarkerAt = i;
        }
    }
    Facts.TwelveHour = MarkerAt >= 0;
    Facts.MarkerInFront = MarkerAt >= 0 && HourAt >= 0 && MarkerAt < HourAt;
    return Facts;
}

double FromClockFields(const QDate& Date, const QTime& Time) {
    return EncodeDate(Date.year(), Date.month(), Date.day()) +
           EncodeTime(Time.hour(), Time.minute(), Time.second(), Time.msec());
}

}  // namespace

TUnicodeFormatSettings DefaultUnicodeFormatSettings() {
    TUnicodeFormatSettings S;
    S.DateSeparator = QStringLiteral("/");
    S.TimeSeparator = QStringLiteral(":");
    S.ShortDateFormat = QStringLiteral("m/d/yy");
    S.LongDateFormat = QStringLiteral("mmmm d, yyyy");
    S.ShortTimeFormat = Latin1ToQString(BuildTimeFormat(false, true, false, false));
    S.LongTimeFormat = Latin1ToQString(BuildTimeFormat(false, true, false, true));
    S.TimeAMString = QStringLiteral("am");
    S.TimePMString = QStringLiteral("pm");
    static constexpr const char16_t* LongMonths[12] = {u"January",   u"February", u"March",    u"April",
                                                       u"May",       u"June",     u"July",     u"August",
                                                       u"September", u"October",  u"November", u"December"};
    static constexpr const char16_t* LongDays[7] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                                    u"Thursday", u"Friday", u"Saturday"};
    for (int i = 0; i < 12; ++i) {
        S.LongMonthNames[i] = QStringView(LongMonths[i]).toString();
        S.ShortMonthNames[i] = S.LongMonthNames[i].left(3);
    }
    for (int i = 0; i < 7; ++i) {
        S.LongDayNames[i] = QStringView(LongDays[i]).toString();
        S.ShortDayNames[i] = S.LongDayNames[i].left(3);
    }
    return S;
}

TFormatSettings DefaultFormatSettings() {
    return FormatSettingsToLatin1(DefaultUnicodeFormatSettings());
}

std::string BuildTimeFormat(bool LeadingZeroHour, bool TwelveHour, bool MarkerInFront, bool WithSeconds) {
    std::string Format;
    if (TwelveHour && MarkerInFront) Format += "AMPM ";
    Format += LeadingZeroHour ? "hh" : "h";
    Format += WithSeconds ? ":mm:ss" : ":mm";
    if (TwelveHour && !MarkerInFront) Format += " AMPM";
    return Format;
}

TUnicodeFormatSettings UnicodeFormatSettingsFromLocale(const QLocale& Locale) {
    TUnicodeFormatSettings S = DefaultUnicodeFormatSettings();
    for (int i = 0; i < 12; ++i) {
        TakeIfGiven(S.LongMonthNames[i], Locale.monthName(i + 1, QLocale::LongFormat));
        TakeIfGiven(S.ShortMonthNames[i], Locale.monthName(i + 1, QLocale::ShortFormat));
    }
    for (int i = 0; i < 7; ++i) {
        const int QtDay = i == 0 ? 7 : i;  // Qt counts from Monday (1) to Sunday (7)
        TakeIfGiven(S.LongDayNames[i], Locale.dayName(QtDay, QLocale::LongFormat));
        TakeIfGiven(S.ShortDayNames[i], Locale.dayName(QtDay, QLocale::ShortFormat));
    }
    TakeIfGiven(S.TimeAMString, Locale.amText());
    TakeIfGiven(S.TimePMString, Locale.pmText());

    const QLocale::Language Language = Locale.language();
    const bool Cjk =
        Language == QLocale::Chinese || Language == QLocale::Japanese || Language == QLocale::Korean;
    auto DateFormat = [Cjk](QString Format) {
        if (Cjk) Format.removeIf([](QChar C) { return C == u'g' || C == u'G'; });
        return Format;
    };
    const QString ShortDate = Locale.dateFormat(QLocale::ShortFormat);
    const QString LongDate = Locale.dateFormat(QLocale::LongFormat);
    if (!ShortDate.isEmpty()) S.ShortDateFormat = DateFormat(ShortDate);
    if (!LongDate.isEmpty()) S.LongDateFormat = DateFormat(LongDate);
    if (const QChar Sep = FieldSeparator(ShortDate); !Sep.isNull()) S.DateSeparator = Sep;

    const QString ShortTime = Locale.timeFormat(QLocale::ShortFormat);
    if (!ShortTime.isEmpty()) {
        const TTimeFacts Facts = TimeFactsOf(ShortTime);
        S.ShortTimeFormat = Latin1ToQString(
            BuildTimeFormat(Facts.LeadingZeroHour, Facts.TwelveHour, Facts.MarkerInFront, false));
        S.LongTimeFormat = Latin1ToQString(
            BuildTimeFormat(Facts.LeadingZeroHour, Facts.TwelveHour, Facts.MarkerInFront, true));
        if (const QChar Sep = FieldSeparator(ShortTime); !Sep.isNull()) S.TimeSeparator = Sep;
    }
    if (const QString Decimal = Locale.decimalPoint(); Decimal.size() == 1) S.DecimalSeparator = Decimal[0];
    return S;
}

TFormatSettings FormatSettingsToLatin1(const TUnicodeFormatSettings& U) {
    // Direction marks and other invisible format characters have no Latin-1
    // form; in a pattern they would turn into literal '?'.
    auto Pattern = [](QString Format) {
        Format.removeIf([](QChar C) { return C.category() == QChar::Other_Format; });
        return QStringToLatin1(Format);
    };
    TFormatSettings S;
    S.DateSeparator = QStringToLatin1(U.DateSeparator);
    S.TimeSeparator = QStringToLatin1(U.TimeSeparator);
    S.ShortDateFormat = Pattern(U.ShortDateFormat);
    S.LongDateFormat = Pattern(U.LongDateFormat);
    S.ShortTimeFormat = Pattern(U.ShortTimeFormat);
    S.LongTimeFormat = Pattern(U.LongTimeFormat);
    S.TimeAMString = QStringToLatin1(U.TimeAMString);
    S.TimePMString = QStringToLatin1(U.TimePMString);
    for (int i = 0; i < 12; ++i) {
        S.ShortMonthNames[i] = QStringToLatin1(U.ShortMonthNames[i]);
        S.LongMonthNames[i] = QStringToLatin1(U.LongMonthNames[i]);
    }
    for (int i = 0; i < 7; ++i) {
        S.ShortDayNames[i] = QStringToLatin1(U.ShortDayNames[i]);
        S.LongDayNames[i] = QStringToLatin1(U.LongDayNames[i]);
    }
    if (U.DecimalSeparator.unicode() < 0x100) S.DecimalSeparator = char(U.DecimalSeparator.unicode());
    return S;
}

TFormatSettings FormatSettingsFromLocale(const QLocale& Locale) {
    return FormatSettingsToLatin1(UnicodeFormatSettingsFromLocale(Locale));
}

const TUnicodeFormatSettings& UnicodeFormatSettings() {
    static const TUnicodeFormatSettings Settings = UnicodeFormatSettingsFromLocale(QLocale::system());
    return Settings;
}

const TFormatSettings& FormatSettings() {
    static const TFormatSettings Settings = FormatSettingsToLatin1(UnicodeFormatSettings());
    return Settings;
}

bool DecodeDateTime(double Value, TDateTimeFields& Fields) {
    Fields = TDateTimeFields{};
    // Reject before the conversion to a 64-bit count; the exact limits follow
    // from the day number below. The product is taken in extended precision.
    const long double Scaled = static_cast<long double>(Value) * MSecsPerDay;
    if (!(Scaled > -1e15L && Scaled < 1e15L)) return false;
    const int64_t MSecs = int64_t(std::nearbyint(Scaled));
    const int64_t Magnitude = MSecs < 0 ? -MSecs : MSecs;
    const int64_t Days = Magnitude / MSecsPerDay;
    const int64_t DayNumber = MSecs < 0 ? DateDelta - Days : DateDelta + Days;
    TDateTimeFields F;
    if (!DecodeDayNumber(DayNumber, F)) return false;
    const int64_t TimeOfDay = Magnitude % MSecsPerDay;
    F.Hour = uint16_t(TimeOfDay / 3'600'000);
    F.Min = uint16_t(TimeOfDay / 60'000 % 60);
    F.Sec = uint16_t(TimeOfDay / 1'000 % 60);
    F.MSec = uint16_t(TimeOfDay % 1'000);
    Fields = F;
    return true;
}

bool DecodeDate(double Value, uint16_t& Year, uint16_t& Month, uint16_t& Day) {
    TDateTimeFields F;
    const bool Valid = DecodeDateTime(Value, F);
    Year = F.Year;
    Month = F.Month;
    Day = F.Day;
    return Valid;
}

bool DecodeTime(double Value, uint16_t& Hour, uint16_t& Min, uint16_t& Sec, uint16_t& MSec) {
    TDateTimeFields F;
    const bool Valid = DecodeDateTime(Value, F);
    Hour = F.Hour;
    Min = F.Min;
    Sec = F.Sec;
    MSec = F.MSec;
    return Valid;
}

int DayOfWeek(double Value) {
    TDateTimeFields F;
    DecodeDateTime(Value, F);
    return F.DayOfWeek;
}

double EncodeDate(int Year, int Month, int Day) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInMonth(Year, Month))
        throw EConvertError("Invalid argument to date encode");
    int64_t DayNumber = Day;
    for (int m = 1; m < Month; ++m) DayNumber += DaysInMonth(Year, m);
    const int64_t Before = Year - 1;
    DayNumber += Before * 365 + Before / 4 - Before / 100 + Before / 400;
    return double(DayNumber - DateDelta);
}

double EncodeTime(int Hour, int Min, int Sec, int MSec) {
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
        throw EConvertError("Invalid argument to time encode");
    return double(Hour * 3'600'000 + Min * 60'000 + Sec * 1'000 + MSec) / MSecsPerDay;
}

double CurrentDateTime() {
    const QDateTime Now = QDateTime::currentDateTime();
    return FromClockFields(Now.date(), Now.time());
}

double CurrentTimeOfDay() {
    const QTime Now = QTime::currentTime();
    return EncodeTime(Now.hour(), Now.minute(), Now.second(), Now.msec());
}

}  // namespace zent
