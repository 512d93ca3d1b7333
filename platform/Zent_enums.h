// The one range check of the enumerations that controls store in a byte.
#pragma once

#include <cstdint>
#include <type_traits>

namespace zent {

// The last value of an enumeration whose values run from 0 without gaps;
// each enumeration that setters check defines it beside itself.
template <class TEnum>
inline constexpr TEnum LastValue = TEnum{};

// Whether Value is one of TEnum's values. Setters ignore the others, since
// a byte may hold any number: a layout, setProperty or a cast can write one.
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
