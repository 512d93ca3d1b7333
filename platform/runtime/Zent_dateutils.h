// Date-time values, their text by a pattern, the clock and the locale's
// date and time settings.
//
// A date-time value is a double: the whole part counts days from 1899-12-30
// (0.0), the fraction is the time of day (0.5 is noon). The calendar is the
// proleptic Gregorian one. A negative value takes its time of day from the
// magnitude of its fraction: -1.25 is 1899-12-29 06:00.
//
// Supported range: after rounding to the millisecond, 0001-01-01 00:00:00.000
// to 9999-12-31 23:59:59.999. A value outside it, a NaN or an infinity
// decodes to all-zero fields (the decoders return false) and DateTimeToText
// gives the empty text for it, whatever the pattern.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <string>
#include <string_view>

class QLocale;

namespace zent {

// The locale's date and time settings, over the library's ISO-8859-1 byte
// strings (TFormatSettings) or over Unicode (TUnicodeFormatSettings).
template <class TText>
struct TFormatSettingsOf {
    // Text written for '/' and ':' in a pattern. Strings rather than single
    // characters: a setting may be empty (then nothing is written).
    TText DateSeparator;
    TText TimeSeparator;
    TText ShortDateFormat;      // tokens c and ddddd
    TText LongDateFormat;       // token dddddd
    TText ShortTimeFormat;      // token t
    TText LongTimeFormat;       // token tt and the time part of c
    TText TimeAMString;         // AMPM before noon
    TText TimePMString;         // AMPM from noon
    TText ShortMonthNames[12];  // January first
    TText LongMonthNames[12];
    TText ShortDayNames[7];  // Sunday first
    TText LongDayNames[7];
    // Not used by the patterns: the character (char or QChar) the floating-point
    // conversions write.
    typename TText::value_type DecimalSeparator = typename TText::value_type(u'.');
};
using TFormatSettings = TFormatSettingsOf<std::string>;
using TUnicodeFormatSettings = TFormatSettingsOf<QString>;

// English settings used wherever the locale gives nothing: "m/d/yy",
// "mmmm d, yyyy", "h:mm AMPM", "h:mm:ss AMPM", "am"/"pm", '/', ':', '.'.
TFormatSettings DefaultFormatSettings();
TUnicodeFormatSettings DefaultUnicodeFormatSettings();

// Settings of Locale, with the fallbacks for whatever it leaves empty. The
// time patterns are built from the locale's time format facts: "hh" or "h"
// for a leading zero, and with a 12-hour clock "AMPM " in front or " AMPM"
// behind, as the locale places its marker. Date formats are taken as they
// are (their letters d, M, y read the same here); in a Chinese, Japanese or
// Korean locale every 'g' is removed. Separators are the first Latin-1
// punctuation after the first field of the short date and time formats (the
// only other candidates Qt's locales have are marks inside words).
// The Unicode settings hold the locale's texts whole, direction marks in the
// date formats included; the Latin-1 ones are made from them by
// FormatSettingsToLatin1.
TFormatSettings FormatSettingsFromLocale(const QLocale& Locale);
TUnicodeFormatSettings UnicodeFormatSettingsFromLocale(const QLocale& Locale);

// Every text through QStringToLatin1 ('?' for a character outside Latin-1),
// but the four patterns first lose their invisible format characters (such
// as direction marks), and a decimal separator outside Latin-1 gives '.'.
TFormatSettings FormatSettingsToLatin1(const TUnicodeFormatSettings& Settings);

// The settings of the system locale, read once on first use (the Latin-1
// ones are made from the Unicode ones).
const TFormatSettings& FormatSettings();
const TUnicodeFormatSettings& UnicodeFormatSettings();

// Builds a time pattern: "h" or "hh", ":mm", optionally ":ss", with the
// marker "AMPM" in front of or behind the time for a 12-hour clock.
std::string BuildTimeFormat(bool LeadingZeroHour, bool TwelveHour, bool MarkerInFront, bool WithSeconds);

// Text of Value by Pattern, at most 256 characters; an empty pattern means
// "C". Letters are matched without regard to case: y, m, d, h, n, s, z, t, c,
// the a forms (AM/PM, A/P, AMPM, AAA, AAAA), '/', ':' and quoted text; other
// characters are copied. The era tokens are kept simple on this
// Gregorian-only platform: e and ee give the year's last two digits (e
// without a leading zero), eee and longer the year with four digits; g gives
// the empty era name.
std::string DateTimeToText(std::string_view Pattern, double Value, const TFormatSettings& Settings);
std::string DateTimeToText(std::string_view Pattern, double Value);
// The same over UTF-16. Only ASCII characters are tokens; every other one,
// a surrogate pair as one, is copied whole. The 256 characters are code
// points: a surrogate pair counts once and is never split (a lone surrogate
// counts once and is copied as it is). QStringView rather than a QString
// reference, so that a narrow string literal converts to std::string_view
// alone: DateTimeToText("hh:nn", v) stays the byte face.
QString DateTimeToText(QStringView Pattern, double Value, const TUnicodeFormatSettings& Settings);
QString DateTimeToText(QStringView Pattern, double Value);

// The fields of a value; all zero (and false returned) outside the range.
struct TDateTimeFields {
    uint16_t Year = 0, Month = 0, Day = 0;
    uint16_t Hour = 0, Min = 0, Sec = 0, MSec = 0;
    uint16_t DayOfWeek = 0;  // 1 is Sunday, 7 Saturday
};
bool DecodeDateTime(double Value, TDateTimeFields& Fields);
bool DecodeDate(double Value, uint16_t& Year, uint16_t& Month, uint16_t& Day);
bool DecodeTime(double Value, uint16_t& Hour, uint16_t& Min, uint16_t& Sec, uint16_t& MSec);
// 1 is Sunday, 7 Saturday; 0 outside the range.
int DayOfWeek(double Value);

// Whole-day value of a date; raises EConvertError "Invalid argument to date
// encode" for years outside 1..9999 or an invalid month or day.
double EncodeDate(int Year, int Month, int Day);
// Fraction of a day; raises EConvertError "Invalid argument to time encode"
// for an hour above 23, a minute or second above 59 or a millisecond above
// 999 (or any negative field).
double EncodeTime(int Hour, int Min, int Sec, int MSec);

// Local date and time from the system clock, to the millisecond.
double CurrentDateTime();
// Only the time-of-day fraction of CurrentDateTime.
double CurrentTimeOfDay();

}  // namespace zent
