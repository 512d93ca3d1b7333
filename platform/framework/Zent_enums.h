// The enumerations of the library's controls, registered with Qt's
// meta-object system so that Designer, .ui files, QML and Python know them
// by name. Qt registers the enumerations of a namespace from one header,
// so all of them are declared here; the units that use them include it.
// They are ints, as Qt converts numbers to enumerations: in a narrower type
// a number written with setProperty would wrap onto a valid value before
// the setter's range check could refuse it.
#pragma once

#include <QObject>
#include <cstdint>
#include <type_traits>

namespace zent {

Q_NAMESPACE

// Horizontal alignment of a text.
enum TAlignment : int { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)

// The frame drawn round a control.
enum TFrameStyle : int { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
Q_ENUM_NS(TFrameStyle)

// Which frame colours a control stores: black, grey and white, or the
// desktop's button shadow and highlight.
enum TColorScheme : int { csBWG, csSystem };
Q_ENUM_NS(TColorScheme)

// How a numeric label shows its value.
enum TDisplay : int {
    dtFloat,      // general form, Precision significant digits
    dtFixP,       // fixed point, Precision decimals
    dtExp,        // exponent form, Precision significant digits
    dtHex,        // hexadecimal, Precision digits (at most 8)
    dtZeroInt,    // integer padded with zeros to Precision digits
    dtInt,        // plain integer
    dtDateTime,   // DTFormat applied to Value as a date-time value
    dtState,      // StateText, whatever Value is
    dtBin,        // binary, Precision digits (at most 32)
    dtOct,        // octal, Precision digits (at most 11)
    dtDeg,        // degrees with a degree sign
    dtDegMin,     // degrees and minutes
    dtDegMinSec,  // degrees, minutes and seconds
    dtEEng,       // engineering notation, prefix letter after the number
    dtEEngNoDP,   // engineering notation, prefix letter in place of the point
};
Q_ENUM_NS(TDisplay)
inline constexpr int DisplayTypeCount = dtEEngNoDP + 1;

// ------------------------------------------------------------ range check

// The last value of an enumeration whose values run from 0 without gaps.
template <class TEnum>
inline constexpr TEnum LastValue = TEnum{};
template <>
inline constexpr TAlignment LastValue<TAlignment> = taCenter;
template <>
inline constexpr TFrameStyle LastValue<TFrameStyle> = fsEngraved;
template <>
inline constexpr TColorScheme LastValue<TColorScheme> = csSystem;
template <>
inline constexpr TDisplay LastValue<TDisplay> = dtEEngNoDP;

// Whether Value is one of TEnum's values. Setters ignore the others, which
// a layout, setProperty or a cast can write.
template <class TEnum>
constexpr bool InRange(int64_t Value) {
    static_assert(std::is_enum_v<TEnum>);
    return Value >= 0 && Value <= int64_t(LastValue<TEnum>);
}
template <class TEnum>
requires std::is_enum_v<TEnum>
constexpr bool InRange(TEnum Value) {
    return InRange<TEnum>(int64_t(Value));
}

}  // namespace zent
