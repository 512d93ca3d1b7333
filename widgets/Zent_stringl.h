// Fixed-point text of extended reals, and the floating-point texts of the
// numeric label.
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

// The three floating-point texts of the numeric label.
enum class TFloatFormat : uint8_t {
    General,   // P significant digits, positional or scientific
    Exponent,  // P significant digits, always scientific
    Fixed,     // P decimals
};

// Text of Value in Format with Digits = P. All three round once, on the
// exact decimal expansion of the binary value, to at most 18 significant
// digits, halves away from zero. The decimal separator is '.'; there is no
// thousands separator and no '+' in front. A value that rounds to zero has no
// '-' (-0.001 with Fixed, 2 gives "0.00").
//
// General: P limited to 2..18 is the working precision W. The value is
// rounded to W significant digits and trailing zeros are dropped. With e the
// number of digits before the point in positional form (1 for 1 <= |x| < 10,
// -2 for 0.001234), -3 <= e <= W is written positionally ("1235", "0.0003",
// "2.5"), anything else as one digit, '.' and further digits only if there
// are any, 'E', '-' for a negative exponent only, and at least three
// exponent digits: (4, 12345.678) gives "1.235E004", (4, 0.00003) "3E-005".
// Zero gives "0".
//
// Exponent: W as for General; one digit, '.', W-1 digits (trailing zeros
// kept), 'E', the exponent's sign and at least three exponent digits:
// (3, 0.00015) gives "1.50E-004". Zero gives "0.00E+000" at W = 3.
//
// Fixed: the integer digits (at least "0"), then, when P is above 0, '.' and
// exactly P decimals: (2, 3.14159) gives "3.14", (0, 2.5) "3". Beyond the
// 18th significant digit every digit is '0': 1e308 gives
// "100000000000000001" and 291 zeros.
//
// Odd input: P below 0 counts as 0. Fixed limits P to 341, enough decimals
// for the 18 significant digits of the smallest denormal (so no text is
// longer than 652 characters). Denormals are exact like any other value:
// (General, 4, 5e-324) gives "4.941E-324". Negative zero is written as zero.
// A NaN gives "NAN", infinities "INF" and "-INF", whatever Format and P. A
// Format outside the three named values is treated as General.
std::string FloatToText(TFloatFormat Format, double Value, int32_t Digits);

// Degrees of Value with the degree sign "\xB0". Precision (limited to 0..8)
// is the number of decimals of the last field. Kind 1 adds whole degrees
// and minutes right-aligned in Precision + 3 characters: (1, 0, 12.5) gives
// "12\xB0  30'". Kind 2 adds two-digit minutes and seconds: (2, 1, 10.7578125)
// gives "10\xB0 45' 28.1\"". Any other Kind gives the degrees alone with
// Precision decimals: (0, 2, -0.25) gives "-0.25\xB0". The value is rounded
// once, half away from zero, at the last field; a result within 3e-12 of a
// whole degree or minute counts as that whole number. A negative value
// below one degree keeps its sign: (1, 0, -0.5) gives "-0\xB0  30'".
//
// Extremes: a NaN or an infinity gives the degrees form of kind 0 ("NAN\xB0",
// "INF\xB0", "-INF\xB0") for every Kind. Values whose scaled form exceeds 64
// bits are computed in extended precision without an integer conversion:
// the whole degrees are written as FormatFixed writes them (18 significant
// digits, then zeros; its exponent form from 2^120 on), and the minutes and
// seconds are those of the extended value, always within 0 to 60.
std::string FormatDegrees(int32_t Kind, int32_t Precision, double Value);
// The lowest Count hexadecimal digits of Bits (upper-case), most
// significant first; Count is limited to 0..8, and 0 gives the empty text.
std::string HexDigits(uint32_t Bits, int32_t Count);
// The lowest Count octal digits of Bits, most significant first; Count is
// limited to 1..11, so the text has exactly that many digits.
std::string OctDigits(uint32_t Bits, int32_t Count);
// The lowest Count binary digits of Bits, most significant first; Count is
// limited to 1..32.
std::string BinDigits(uint32_t Bits, int32_t Count);

}  // namespace zent
