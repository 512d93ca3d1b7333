// Fixed-point text of extended reals.
#pragma once

#include <cstdint>
#include <string>

namespace zent {

// Fixed-point text of Value: a '-' for a negative value, the integer digits
// (at least one), and, when Decimals is above 0, a '.' and exactly Decimals
// digits. No '+', no thousands separator. Blanks are added on the left up to
// Width; a longer text is never cut.
//
// Digits come from the exact binary value in two roundings. First the value
// is rounded to 18 significant digits but no more than 17 decimals, ties to
// even (a carry gives 19 digits, a power of ten). Every later digit position
// is '0'. That digit string is then cut after the last written digit,
// rounding halves away from zero: (1, 0, 2.5) gives "3", (1, 2, 0.125) "0.13".
//
// Magnitudes of 2^120 and above use exponent form instead: a sign position
// (' ' or '-'), one digit, '.', G-1 digits, 'E', the exponent's sign and four
// exponent digits, where G = Width - 8 limited to 2..18: (1, 0, 1e38) gives
// " 1.0E+0038".
//
// Any long double format works (x86 80-bit, IEEE quad, double): the digits
// come from the value's exact significand, whatever its width.
//
// Limits and odd input: Decimals is limited to 0..216 and Width to 0..255, so
// no text is longer than 255 characters. A NaN (and any invalid 80-bit
// encoding) gives "NAN", infinities "INF" and "-INF", padded to Width like
// numbers. Negative zero gives "0".
std::string FormatFixed(int32_t Width, int32_t Decimals, long double Value);

}  // namespace zent
