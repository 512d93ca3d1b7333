// The text of a date-time value by a pattern, one writer for both faces.
#include <QChar>
#include <algorithm>
#include <charconv>
#include <string>
#include <type_traits>

#include "Zent_dateutils.h"
#include "Zent_sysutils.h"

namespace zent {

namespace {

constexpr std::size_t MaxTextLength = 256;

// The writer works on the code units of either face: Latin-1 bytes or UTF-16.
template <class TText>
struct TUnits;
template <>
struct TUnits<std::string> {
    using Char = char;
    static std::string_view View(std::string_view Text) { return Text; }
};
template <>
struct TUnits<QString> {
    using Char = char16_t;
    static std::u16string_view View(QStringView Text) { return {Text.utf16(), std::size_t(Text.size())}; }
};

template <class Char>
unsigned CodeOf(Char C) {
    return std::make_unsigned_t<Char>(C);
}

// Code units of the character at Pos: a surrogate pair is one character.
template <class Char>
std::size_t UnitsAt(std::basic_string_view<Char> Text, std::size_t Pos) {
    if constexpr (sizeof(Char) == 1) {
        return 1;
    } else {
        return QChar::isHighSurrogate(Text[Pos]) && Pos + 1 < Text.size() &&
                       QChar::isLowSurrogate(Text[Pos + 1])
                   ? 2
                   : 1;
    }
}

// The upper-case letter of C, or 0 when C is no letter A to Z.
template <class Char>
char UpperLetter(Char C) {
    const unsigned Code = CodeOf(C);
    const char U = Code < 0x80 ? UpperCase(char(Code)) : 0;
    return U >= 'A' && U <= 'Z' ? U : 0;
}

template <class Char>
bool StartsWithNoCase(std::basic_string_view<Char> Text, std::size_t Pos, std::string_view Word) {
    if (Text.size() - Pos < Word.size()) return false;
    for (std::size_t i = 0; i < Word.size(); ++i) {
        const unsigned Code = CodeOf(Text[Pos + i]);
        if (Code >= 0x80 || UpperCase(char(Code)) != Word[i]) return false;
    }
    return true;
}

template <class Char>
bool IsMarkerForm(std::basic_string_view<Char> Pattern, std::size_t Pos) {
    return StartsWithNoCase(Pattern, Pos, "AM/PM") || StartsWithNoCase(Pattern, Pos, "A/P") ||
           StartsWithNoCase(Pattern, Pos, "AMPM");
}

template <class Char>
bool IsQuote(Char C) {
    return C == Char('\'') || C == Char('"');
}

// After an h run: does the pattern switch to the 12-hour clock before the
// next hour field? Quoted text does not count.
template <class Char>
bool MarkerFollows(std::basic_string_view<Char> Pattern, std::size_t From) {
    bool Quoted = false;
    for (std::size_t i = From; i < Pattern.size(); ++i) {
        const Char C = Pattern[i];
        if (IsQuote(C)) {
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

template <class TText>
class TPatternWriter {
public:
    using Char = typename TUnits<TText>::Char;
    using View = std::basic_string_view<Char>;

    TPatternWriter(const TFormatSettingsOf<TText>& Settings, const TDateTimeFields& Fields)
        : S(Settings), F(Fields) {}

    void Write(View Pattern, bool Inserted);
    std::basic_string<Char> Text;

private:
    static View Of(const TText& Setting) { return TUnits<TText>::View(Setting); }
    // Whole characters only, as many as there is room for.
    void Put(View Part) {
        std::size_t Units = 0;
        if constexpr (sizeof(Char) == 1) {
            Units = std::min(Part.size(), Room);
            Room -= Units;
        } else {
            for (; Units < Part.size() && Room > 0; --Room) Units += UnitsAt(Part, Units);
        }
        Text.append(Part.substr(0, Units));
    }
    void PutAscii(char C) {
        if (Room == 0) return;
        Text += Char(C);
        --Room;
    }
    void PutNumber(unsigned Value, int MinDigits) {
        char Buf[12];
        const auto [End, Ec] = std::to_chars(Buf, Buf + sizeof Buf, Value);
        for (auto N = End - Buf; N < MinDigits; ++N) PutAscii('0');
        for (const char* C = Buf; C != End; ++C) PutAscii(*C);
    }
    // Each returns the pattern characters it consumed.
    std::size_t PutNonLetter(View Pattern, std::size_t i);
    std::size_t PutAForm(View Pattern, std::size_t i, bool& TwelveHour);
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

    const TFormatSettingsOf<TText>& S;
    const TDateTimeFields& F;
    std::size_t Room = MaxTextLength;  // characters (code points) still allowed
};

template <class TText>
void TPatternWriter<TText>::Write(View Pattern, bool Inserted) {
    char LastLetter = ' ';
    bool TwelveHour = false;
    std::size_t i = 0;
    while (i < Pattern.size() && Room > 0) {
        const Char C = Pattern[i];
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
            i += PutRun({Letter, char(C), Length, Inserted, TwelveHour});
        }
    }
}

template <class TText>
std::size_t TPatternWriter<TText>::PutRun(const TTokenRun& R) {
    switch (R.Letter) {
        case 'Y':
            PutYear(R);
            break;
        case 'M':
            PutMonth(R);
            break;
        case 'D':
            PutDay(R);
            break;
        case 'H':
            PutHour(R);
            break;
        case 'N':
            PutClockField(F.Min, R);
            break;
        case 'S':
            PutClockField(F.Sec, R);
            break;
        case 'Z':
            PutMilliseconds(R);
            break;
        case 'T':
        case 'C':
            PutComposite(R);
            break;
        case 'E':
        case 'G':
            PutEra(R);
            break;
        default:
            PutAscii(R.Written);
            return 1;  // no token: copied, one letter at a time
    }
    return R.Length;
}

template <class TText>
std::size_t TPatternWriter<TText>::PutNonLetter(View Pattern, std::size_t i) {
    const Char C = Pattern[i];
    if (IsQuote(C)) {  // literal text up to the same quote, or to the end
        const std::size_t Close = Pattern.find(C, i + 1);
        const std::size_t End = Close == View::npos ? Pattern.size() : Close;
        Put(Pattern.substr(i + 1, End - i - 1));
        return End + 1 - i;
    }
    if (C == Char('/')) {
        Put(Of(S.DateSeparator));
    } else if (C == Char(':')) {
        Put(Of(S.TimeSeparator));
    } else {
        const std::size_t Units = UnitsAt(Pattern, i);
        Put(Pattern.substr(i, Units));
        return Units;
    }
    return 1;
}

template <class TText>
std::size_t TPatternWriter<TText>::PutAForm(View Pattern, std::size_t i, bool& TwelveHour) {
    const bool Morning = F.Hour < 12;
    if (StartsWithNoCase(Pattern, i, "AM/PM")) {
        Put(Pattern.substr(Morning ? i : i + 3, 2));
        TwelveHour = true;
        return 5;
    }
    if (StartsWithNoCase(Pattern, i, "A/P")) {
        Put(Pattern.substr(Morning ? i : i + 2, 1));
        TwelveHour = true;
        return 3;
    }
    if (StartsWithNoCase(Pattern, i, "AMPM")) {
        Put(Of(Morning ? S.TimeAMString : S.TimePMString));
        TwelveHour = true;
        return 4;
    }
    if (StartsWithNoCase(Pattern, i, "AAAA")) {
        Put(Of(S.LongDayNames[F.DayOfWeek - 1]));
        return 4;
    }
    if (StartsWithNoCase(Pattern, i, "AAA")) {
        Put(Of(S.ShortDayNames[F.DayOfWeek - 1]));
        return 3;
    }
    Put(Pattern.substr(i, 1));
    return 1;
}

template <class TText>
void TPatternWriter<TText>::PutYear(const TTokenRun& R) {
    if (R.Length <= 2)
        PutNumber(F.Year % 100, 2);
    else
        PutNumber(F.Year, 4);
}

template <class TText>
void TPatternWriter<TText>::PutMonth(const TTokenRun& R) {
    if (R.Length <= 2)
        PutNumber(F.Month, int(R.Length));
    else
        Put(Of(R.Length == 3 ? S.ShortMonthNames[F.Month - 1] : S.LongMonthNames[F.Month - 1]));
}

template <class TText>
void TPatternWriter<TText>::PutDay(const TTokenRun& R) {
    if (R.Length <= 2)
        PutNumber(F.Day, int(R.Length));
    else if (R.Length == 3)
        Put(Of(S.ShortDayNames[F.DayOfWeek - 1]));
    else if (R.Length == 4)
        Put(Of(S.LongDayNames[F.DayOfWeek - 1]));
    else if (!R.Inserted)
        Write(Of(R.Length == 5 ? S.ShortDateFormat : S.LongDateFormat), true);
}

template <class TText>
void TPatternWriter<TText>::PutHour(const TTokenRun& R) {
    unsigned Hour = F.Hour;
    if (R.TwelveHour) Hour = Hour % 12 == 0 ? 12 : Hour % 12;
    PutNumber(Hour, R.Length == 1 ? 1 : 2);
}

template <class TText>
void TPatternWriter<TText>::PutClockField(unsigned Value, const TTokenRun& R) {
    PutNumber(Value, R.Length == 1 ? 1 : 2);
}

template <class TText>
void TPatternWriter<TText>::PutMilliseconds(const TTokenRun& R) {
    PutNumber(F.MSec, R.Length < 3 ? int(R.Length) : 3);
}

template <class TText>
void TPatternWriter<TText>::PutComposite(const TTokenRun& R) {
    if (R.Inserted) return;  // insertion goes one level deep
    if (R.Letter == 'T') {
        Write(Of(R.Length == 1 ? S.ShortTimeFormat : S.LongTimeFormat), true);
        return;
    }
    Write(Of(S.ShortDateFormat), true);
    if (F.Hour != 0 || F.Min != 0 || F.Sec != 0) {
        PutAscii(' ');
        Write(Of(S.LongTimeFormat), true);
    }
}

template <class TText>
void TPatternWriter<TText>::PutEra(const TTokenRun& R) {
    if (R.Letter == 'G') return;  // no era names on a Gregorian calendar
    // Gregorian only: the era year is the year.
    if (R.Length <= 2)
        PutNumber(F.Year % 100, int(R.Length));
    else
        PutNumber(F.Year, 4);
}

// The text of Value by Pattern in either face.
template <class TText>
auto WriteDateTime(typename TPatternWriter<TText>::View Pattern, double Value,
                   const TFormatSettingsOf<TText>& Settings) {
    using TWriter = TPatternWriter<TText>;
    static constexpr typename TWriter::Char C[] = {'C'};  // an empty pattern means "C"
    TDateTimeFields Fields;
    TWriter Writer(Settings, Fields);
    if (DecodeDateTime(Value, Fields))
        Writer.Write(Pattern.empty() ? typename TWriter::View(C, 1) : Pattern, false);
    return std::move(Writer.Text);
}

}  // namespace

std::string DateTimeToText(std::string_view Pattern, double Value, const TFormatSettings& Settings) {
    return WriteDateTime(Pattern, Value, Settings);
}

std::string DateTimeToText(std::string_view Pattern, double Value) {
    return DateTimeToText(Pattern, Value, FormatSettings());
}

QString DateTimeToText(QStringView Pattern, double Value, const TUnicodeFormatSettings& Settings) {
    const std::u16string Text = WriteDateTime(TUnits<QString>::View(Pattern), Value, Settings);
    // Not QString::fromUtf16, which would take a leading U+FEFF or U+FFFE for a byte-order mark.
    return QString(reinterpret_cast<const QChar*>(Text.data()), qsizetype(Text.size()));
}

QString DateTimeToText(QStringView Pattern, double Value) {
    return DateTimeToText(Pattern, Value, UnicodeFormatSettings());
}

}  // namespace zent
