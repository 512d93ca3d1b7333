// Engineering notation and the small math functions it needs.
#pragma once

#include <cstdint>
#include <string>

#include "Zent_sysutils.h"

namespace zent {

// Raised by Log10 for arguments at or below zero: "logarithm: invalid argument".
class EMathError : public Exception {
    using Exception::Exception;
};

// Base-10 logarithm, computed as ln x / ln 10 in extended precision and then
// rounded to a double, so powers of ten give whole numbers. Raises EMathError
// for x at or below 0 and for NaN; +infinity gives +infinity.
double Log10(double x);

// The largest integer not above x. Values beyond the 32-bit range give
// INT32_MIN or INT32_MAX; a NaN gives 0.
int32_t Floor(double x);

// Engineering notation of Value: a mantissa and an SI prefix letter from the
// group g (1e3g, g in -6..4, "afpnum kMGT", micro is 'u').
//
// Digits (limited to -9..9) chooses the decimals: with |Digits| of 2 or more
// the mantissa shows |Digits| significant digits (or its whole integer part).
// Digits 2..9 append the prefix: (3, 12345) gives "12.3k". Digits -9..-2 put
// the prefix in place of the decimal point: (-3, 12345) gives "12k3". Digits
// -1..1 show the mantissa without decimals and append the prefix.
//
// Zero and NaN give "0" followed, when decimals are asked for, by '.' and
// zeros: (3, 0) gives "0.00". Infinities give "INF" and "-INF".
std::string FormatEngineering(int32_t Digits, double Value);

}  // namespace zent
