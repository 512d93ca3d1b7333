#include "Zent_dateutils.h"

#include <QDateTime>
#include <QLocale>
#include <charconv>
#include <cmath>

#include "Zent_latin1.h"
#include "Zent_sysutils.h"

namespace zent {

namespace {

constexpr int64_t MSecsPerDay = 86'400'000;
// Day number (0001-01-01 is 1) of the value 0.0, 1899-12-30.
constexpr int64_t DateDelta = 693'594;
constexpr int64_t MaxDayNumber = 3'652'059;  // 9999-12-31
constexpr std::size_t MaxTextLength = 256;

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

bool StartsWithNoCase(std::string_view Text, std::size_t Pos, std::string_view Word) {
    if (Text.size() - Pos < Word.size()) return false;
    for (std::size_t i = 0; i < Word.size(); ++i)
        if (UpperCase(Text[Pos + i]) != Word[i]) return false;
    return true;
}

// The upper-case letter of C, or 0 when C is no letter A to Z.
char UpperLetter(char C) {
    const char U = UpperCase(C);
    return U >= 'A' && U <= 'Z' ? U : 0;
}

bool IsMarkerForm(std::string_view Pattern, std::size_t Pos) {
    return StartsWithNoCase(Pattern, Pos, "AM/PM") || StartsWithNoCase(Pattern, Pos, "A/P") ||
           StartsWithNoCase(Pattern, Pos, "AMPM");
}

// After an h run: does the pattern switch to the 12-hour clock before the
// next hour field? Quoted text does not count.
bool MarkerFollows(std::string_view Pattern, std::size_t From) {
    bool Quoted = false;
    for (std::size_t i = From; i < Pattern.size(); ++i) {
        const char C = Pattern[i];
        if (C == '\'' || C == '"') {
            Quoted = !Quoted;
            continue;
        }
        if (Quoted) continue;
        const char U = UpperLetter(C);
        if (U == 'H') return false;
        if (U == 'A') return IsMarkerForm(Pattern, i);
    }
    return false;
}

// One run of a token letter as the writer meets it.
struct TTokenRun {
    char Letter;         // upper case; 'N' for an m or M after an h
    char Written;        // as written in the pattern
    std::size_t Length;  // of the run of identical characters
    bool Inserted;       // inside a composite's pattern, where composites give nothing
    bool TwelveHour;
};

class TPatternWriter {
public:
    TPatternWriter(const TFormatSettings& Settings, const TDateTimeFields& Fields) : S(Settings), F(Fields) {}

    void Write(std::string_view Pattern, bool Inserted);
    std::string Text;

private:
    bool Full() const { return Text.size() >= MaxTextLength; }
    void Put(std::string_view Part) { Text.append(Part.substr(0, MaxTextLength - Text.size())); }
    void Put(char C) {
        if (!Full()) Text += C;
    }
    void PutNumber(unsigned Value, int MinDigits) {
        char Buf[12];
        const auto [End, Ec] = std::to_chars(Buf, Buf + sizeof Buf, Value);
        for (auto N = End - Buf; N < MinDigits; ++N) Put('0');
        for (const char* C = Buf; C != End; ++C) Put(*C);
    }
    // Each returns the pattern characters it consumed.
    std::size_t PutNonLetter(std::string_view Pattern, std::size_t i);
    std::size_t PutAForm(std::string_view Pattern, std::size_t i, bool& TwelveHour);
    std::size_t PutRun(const TTokenRun& R);
    // One family of token letters each.
    void PutYear(const TTokenRun& R);
    void PutMonth(const TTokenRun& R);
    void PutDay(const TTokenRun& R);
    void PutHour(const TTokenRun& R);
    void PutClockField(unsigned Value, const TTokenRun& R);  // n and s
    void PutMilliseconds(const TTokenRun& R);
    void PutComposite(const TTokenRun& R);  // t and c
    void PutEra(const TTokenRun& R);        // e and g

    const TFormatSettings& S;
    const TDateTimeFields& F;
};

void TPatternWriter::Write(std::string_view Pattern, bool Inserted) {
    char LastLetter = ' ';
    bool TwelveHour = false;
    std::size_t i = 0;
    while (i < Pattern.size() && !Full()) {
        const char C = Pattern[i];
        char Letter = UpperLetter(C);
        if (Letter == 0) {
            i += PutNonLetter(Pattern, i);
        } else if (Letter == 'A') {
            LastLetter = 'A';
            i += PutAForm(Pattern, i, TwelveHour);
        } else {
            std::size_t Length = 1;
            while (i + Length < Pattern.size() && Pattern[i + Length] == C) ++Length;
            if (Letter == 'M' && LastLetter == 'H') Letter = 'N';
            LastLetter = Letter;
            if (Letter == 'H' && MarkerFollows(Pattern, i + Length)) TwelveHour = true;
            i += PutRun({Letter, C, Length, Inserted, TwelveHour});
        }
    }
}

std::size_t TPatternWriter::PutRun(const TTokenRun& R) {
    switch (R.Letter) {
        case 'Y': PutYear(R); break;
        case 'M': PutMonth(R); break;
        case 'D': PutDay(R); break;
        case 'H': PutHour(R); break;
        case 'N': PutClockField(F.Min, R); break;
        case 'S': PutClockField(F.Sec, R); break;
        case 'Z': PutMilliseconds(R); break;
        case 'T':
        case 'C': PutComposite(R); break;
        case 'E':
        case 'G': PutEra(R); break;
        default: Put(R.Written); return 1;  // no token: copied, one letter at a time
    }
    return R.Length;
}

std::size_t TPatternWriter::PutNonLetter(std::string_view Pattern, std::size_t i) {
    const char C = Pattern[i];
    if (C == '\'' || C == '"') {  // literal text up to the same quote, or to the end
        const std::size_t Close = Pattern.find(C, i + 1);
        const std::size_t End = Close == std::string_view::npos ? Pattern.size() : Close;
        Put(Pattern.substr(i + 1, End - i - 1));
        return End + 1 - i;
    }
    if (C == '/')
        Put(S.DateSeparator);
    else if (C == ':')
        Put(S.TimeSeparator);
    else
        Put(C);
    return 1;
}

std::size_t TPatternWriter::PutAForm(std::string_view Pattern, std::size_t i, bool& TwelveHour) {
    const bool Morning = F.Hour < 12;
    if (StartsWithNoCase(Pattern, i, "AM/PM")) {
        Put(Pattern.substr(Morning ? i : i + 3, 2));
        TwelveHour = true;
        return 5;
    }
    if (StartsWithNoCase(Pattern, i, "A/P")) {
        Put(Pattern[Morning ? i : i + 2]);
        TwelveHour = true;
        return 3;
    }
    if (StartsWithNoCase(Pattern, i, "AMPM")) {
        Put(Morning ? S.TimeAMString : S.TimePMString);
        TwelveHour = true;
        return 4;
    }
    if (StartsWithNoCase(Pattern, i, "AAAA")) {
        Put(S.LongDayNames[F.DayOfWeek - 1]);
        return 4;
    }
    if (StartsWithNoCase(Pattern, i, "AAA")) {
        Put(S.ShortDayNames[F.DayOfWeek - 1]);
        return 3;
    }
    Put(Pattern[i]);
    return 1;
}

void TPatternWriter::PutYear(const TTokenRun& R) {
    if (R.Length <= 2)
        PutNumber(F.Year % 100, 2);
    else
        PutNumber(F.Year, 4);
}

void TPatternWriter::PutMonth(const TTokenRun& R) {
    if (R.Length <= 2)
        PutNumber(F.Month, int(R.Length));
    else
        Put(R.Length == 3 ? S.ShortMonthNames[F.Month - 1] : S.LongMonthNames[F.Month - 1]);
}

void TPatternWriter::PutDay(const TTokenRun& R) {
    if (R.Length <= 2)
        PutNumber(F.Day, int(R.Length));
    else if (R.Length == 3)
        Put(S.ShortDayNames[F.DayOfWeek - 1]);
    else if (R.Length == 4)
        Put(S.LongDayNames[F.DayOfWeek - 1]);
    else if (!R.Inserted)
        Write(R.Length == 5 ? S.ShortDateFormat : S.LongDateFormat, true);
}

void TPatternWriter::PutHour(const TTokenRun& R) {
    unsigned Hour = F.Hour;
    if (R.TwelveHour) Hour = Hour % 12 == 0 ? 12 : Hour % 12;
    PutNumber(Hour, R.Length == 1 ? 1 : 2);
}

void TPatternWriter::PutClockField(unsigned Value, const TTokenRun& R) {
    PutNumber(Value, R.Length == 1 ? 1 : 2);
}

void TPatternWriter::PutMilliseconds(const TTokenRun& R) {
    PutNumber(F.MSec, R.Length < 3 ? int(R.Length) : 3);
}

void TPatternWriter::PutComposite(const TTokenRun& R) {
    if (R.Inserted) return;  // insertion goes one level deep
    if (R.Letter == 'T') {
        Write(R.Length == 1 ? S.ShortTimeFormat : S.LongTimeFormat, true);
        return;
    }
    Write(S.ShortDateFormat, true);
    if (F.Hour != 0 || F.Min != 0 || F.Sec != 0) {
        Put(' ');
        Write(S.LongTimeFormat, true);
    }
}

void TPatternWriter::PutEra(const TTokenRun& R) {
    if (R.Letter == 'G') return;  // no era names on a Gregorian calendar
    // Gregorian only: the era year is the year.
    if (R.Length <= 2)
        PutNumber(F.Year % 100, int(R.Length));
    else
        PutNumber(F.Year, 4);
}

void TakeIfGiven(std::string& Setting, const QString& Text) {
    if (!Text.isEmpty()) Setting = QStringToLatin1(Text);
}

// The first punctuation character after the first field, outside quotes, or
// 0 when there is none. Blanks and characters outside Latin-1 (such as the
// direction marks of right-to-left locales) are no separators.
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

std::string LocaleDateFormat(QString Format, bool RemoveEras) {
    // Direction marks and other invisible format characters have no Latin-1 form.
    Format.removeIf([](QChar C) { return C.category() == QChar::Other_Format; });
    std::string Result = QStringToLatin1(Format);
    if (RemoveEras) std::erase_if(Result, [](char C) { return C == 'g' || C == 'G'; });
    return Result;
}

double FromClockFields(const QDate& Date, const QTime& Time) {
    return EncodeDate(Date.year(), Date.month(), Date.day()) +
           EncodeTime(Time.hour(), Time.minute(), Time.second(), Time.msec());
}

}  // namespace

TFormatSettings DefaultFormatSettings() {
    // Strings moved in rather than literals assigned: GCC 12 reports a false
    // -Wrestrict on a short literal assigned to a string at -O2 and above.
    using std::string;
    TFormatSettings S;
    S.DateSeparator = string("/");
    S.TimeSeparator = string(":");
    S.ShortDateFormat = string("m/d/yy");
    S.LongDateFormat = string("mmmm d, yyyy");
    S.ShortTimeFormat = BuildTimeFormat(false, true, false, false);
    S.LongTimeFormat = BuildTimeFormat(false, true, false, true);
    S.TimeAMString = string("am");
    S.TimePMString = string("pm");
    static constexpr const char* LongMonths[12] = {"January",   "February", "March",    "April",
                                                   "May",       "June",     "July",     "August",
                                                   "September", "October",  "November", "December"};
    static constexpr const char* LongDays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                "Thursday", "Friday", "Saturday"};
    for (int i = 0; i < 12; ++i) {
        S.LongMonthNames[i] = LongMonths[i];
        S.ShortMonthNames[i] = S.LongMonthNames[i].substr(0, 3);
    }
    for (int i = 0; i < 7; ++i) {
        S.LongDayNames[i] = LongDays[i];
        S.ShortDayNames[i] = S.LongDayNames[i].substr(0, 3);
    }
    return S;
}

std::string BuildTimeFormat(bool LeadingZeroHour, bool TwelveHour, bool MarkerInFront, bool WithSeconds) {
    std::string Format;
    if (TwelveHour && MarkerInFront) Format += "AMPM ";
    Format += LeadingZeroHour ? "hh" : "h";
    Format += WithSeconds ? ":mm:ss" : ":mm";
    if (TwelveHour && !MarkerInFront) Format += " AMPM";
    return Format;
}

TFormatSettings FormatSettingsFromLocale(const QLocale& Locale) {
    TFormatSettings S = DefaultFormatSettings();
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
    const QString ShortDate = Locale.dateFormat(QLocale::ShortFormat);
    const QString LongDate = Locale.dateFormat(QLocale::LongFormat);
    if (!ShortDate.isEmpty()) S.ShortDateFormat = LocaleDateFormat(ShortDate, Cjk);
    if (!LongDate.isEmpty()) S.LongDateFormat = LocaleDateFormat(LongDate, Cjk);
    if (const QChar Sep = FieldSeparator(ShortDate); !Sep.isNull()) S.DateSeparator = QStringToLatin1(QString(Sep));

    const QString ShortTime = Locale.timeFormat(QLocale::ShortFormat);
    if (!ShortTime.isEmpty()) {
        const TTimeFacts Facts = TimeFactsOf(ShortTime);
        S.ShortTimeFormat =
            BuildTimeFormat(Facts.LeadingZeroHour, Facts.TwelveHour, Facts.MarkerInFront, false);
        S.LongTimeFormat =
            BuildTimeFormat(Facts.LeadingZeroHour, Facts.TwelveHour, Facts.MarkerInFront, true);
        if (const QChar Sep = FieldSeparator(ShortTime); !Sep.isNull())
            S.TimeSeparator = QStringToLatin1(QString(Sep));
    }
    const QString Decimal = Locale.decimalPoint();
    if (Decimal.size() == 1 && Decimal[0].unicode() < 0x100) S.DecimalSeparator = char(Decimal[0].unicode());
    return S;
}

const TFormatSettings& FormatSettings() {
    static const TFormatSettings Settings = FormatSettingsFromLocale(QLocale::system());
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

std::string DateTimeToText(std::string_view Pattern, double Value, const TFormatSettings& Settings) {
    TDateTimeFields Fields;
    if (!DecodeDateTime(Value, Fields)) return {};
    TPatternWriter Writer(Settings, Fields);
    Writer.Write(Pattern.empty() ? std::string_view("C") : Pattern, false);
    return std::move(Writer.Text);
}

std::string DateTimeToText(std::string_view Pattern, double Value) {
    return DateTimeToText(Pattern, Value, FormatSettings());
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
