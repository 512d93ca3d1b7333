// Any pattern with any value, in both faces: the text stays within 256
// characters (code points in the Unicode face), a value outside the
// calendar's range gives the empty text, a surrogate pair is never split,
// the byte face equals the Unicode face in Latin-1, and nothing faults.
#include <QList>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "Zent_dateutils.h"
#include "Zent_latin1.h"

namespace {

// Half of the inputs take the value from a day number and a millisecond count
// inside the range, so that the pattern code sees real dates.
double ValueFrom(const uint8_t*& Data, std::size_t& Size) {
    if (Size < 9) return 0.0;
    uint64_t Bits;
    std::memcpy(&Bits, Data + 1, 8);
    const bool Raw = Data[0] & 1;
    Data += 9;
    Size -= 9;
    if (Raw) {
        double Value;
        std::memcpy(&Value, &Bits, 8);
        return Value;
    }
    const int64_t Day = int64_t(Bits % 3'700'000) - 720'000;
    const double Fraction = double((Bits >> 32) % 86'400'000) / 86'400'000;
    return (Bits >> 63) ? Day - Fraction : Day + Fraction;
}

const zent::TUnicodeFormatSettings& OddSettings() {
    static const zent::TUnicodeFormatSettings S = [] {
        zent::TUnicodeFormatSettings T = zent::DefaultUnicodeFormatSettings();
        T.DateSeparator = QString();
        T.TimeSeparator = QStringLiteral("::");
        T.ShortDateFormat = QStringLiteral("dddddd c t 'q");  // composites inside composites
        T.LongTimeFormat = QString(300, u'h');
        T.TimeAMString = QString();
        T.LongMonthNames[0] = QStringView(u"\u044F\u043D\u0432\u0430\u0440\u044F").toString();
        T.LongDayNames[0] = QStringView(u"\U0001F600\u65E5\U0001F600").toString();
        return T;
    }();
    return S;
}

void Check(bool Ok) {
    if (!Ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    const double Value = ValueFrom(Data, Size);
    const std::string_view Bytes(reinterpret_cast<const char*>(Data), Size);
    // The same bytes as UTF-16. At an odd length lone surrogates are
    // replaced, so that a lone one in the text can only be a split pair.
    QString Units(qsizetype(Size / 2), Qt::Uninitialized);
    std::memcpy(Units.data(), Data, Size / 2 * 2);
    const bool WellFormed = Size % 2 == 1;
    if (WellFormed) Units = QString::fromUtf8(Units.toUtf8());
    // Behind 240 to 255 blanks the limit falls among the first characters.
    const QString Padded = QString(240 + (Size > 0 ? Data[0] % 16 : 0), u' ') + Units;

    zent::TDateTimeFields Fields;
    const bool Valid = zent::DecodeDateTime(Value, Fields);
    static const zent::TFormatSettings System = zent::FormatSettingsToLatin1(zent::UnicodeFormatSettings());
    static const zent::TFormatSettings Odd = zent::FormatSettingsToLatin1(OddSettings());
    for (const auto& [U, B] : {std::pair{&zent::UnicodeFormatSettings(), &System}, {&OddSettings(), &Odd}}) {
        const std::string Text = zent::DateTimeToText(Bytes, Value, *B);
        Check(Text.size() <= 256 && (Valid || Text.empty()));
        for (const QString& Pattern : {Units, Padded}) {
            const QString Unicode = zent::DateTimeToText(Pattern, Value, *U);
            Check(Unicode.toUcs4().size() <= 256 && (Valid || Unicode.isEmpty()));
            Check(!WellFormed || QStringView(Unicode).isValidUtf16());
        }
        // A character outside the BMP is two bytes in Latin-1 but one code
        // point, and the system's patterns may hold direction marks, which
        // Latin-1 drops: compare where neither can be.
        const QString Wide = zent::DateTimeToText(zent::Latin1ToQString(Bytes), Value, *U);
        if (U == &OddSettings() &&
            !std::any_of(Wide.begin(), Wide.end(), [](QChar C) { return C.isSurrogate(); }))
            Check(zent::QStringToLatin1(Wide) == Text);
    }
    return 0;
}
