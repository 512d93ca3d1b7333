#include "Zent_stringl.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

namespace zent {

namespace {

__extension__ typedef unsigned __int128 u128;
using LongLimits = std::numeric_limits<long double>;

constexpr int MaxDecimals = 216;
constexpr int MaxWidth = 255;
constexpr int SignificantDigits = 18;
// Rule F needs no more: the 18th significant digit of the smallest
// denormal double (4.94e-324) is its 341st decimal.
constexpr int MaxFixedDecimals = 341;
constexpr int NoDecimalLimit = 1 << 20;

template <std::size_t N>
constexpr std::array<u128, N> Powers(unsigned Base) {
    std::array<u128, N> P{};
    P[0] = 1;
    for (std::size_t i = 1; i < N; ++i) P[i] = P[i - 1] * Base;
    return P;
}
constexpr std::array<u128, 39> Pow10 = Powers<39>(10);
constexpr std::array<u128, 56> Pow5 = Powers<56>(5);
constexpr int Pow5PerLimb = 13;  // 5^13 < 2^32

int BitLength(u128 X) {
    const auto Hi = uint64_t(X >> 64);
    return Hi != 0 ? 128 - std::countl_zero(Hi) : 64 - std::countl_zero(uint64_t(X));
}

int TrailingZeroBits(u128 X) {
    const auto Lo = uint64_t(X);
    return Lo != 0 ? std::countr_zero(Lo) : 64 + std::countr_zero(uint64_t(X >> 64));
}

int DecimalDigits(u128 X) {
    // floor(log2 X * 1233 / 4096) never exceeds floor(log10 X).
    int N = X == 0 ? 1 : 1 + ((BitLength(X) - 1) * 1233 >> 12);
    while (N < int(Pow10.size()) && X >= Pow10[N]) ++N;
    return N;
}

// A finite value as Mantissa * 2^Exponent, Mantissa odd (or 0).
struct TBinary {
    u128 Mantissa;
    int Exponent;
    bool Negative;
};

// The two layouts whose bits can be read directly: the IEEE double, and the
// x87 extended format (64-bit significand with an explicit leading bit, then
// sign and 15-bit exponent, little-endian).
template <class Float>
constexpr bool IsIeeeDouble = std::numeric_limits<Float>::is_iec559&& std::numeric_limits<Float>::digits ==
                                  53 &&
                              sizeof(Float) == 8;
template <class Float>
constexpr bool IsX87Extended = std::numeric_limits<Float>::digits == 64 &&
                               std::numeric_limits<Float>::max_exponent == 16384 &&
                               sizeof(Float) >= 10 && std::endian::native == std::endian::little;

// Sign, biased exponent and significand read from the bits: a finite
// nonzero value is Significand * 2^(Exp - Bias), denormals included.
template <class Float>
TBinary FromBits(Float Value) {
    uint64_t Significand;
    int Exp;
    bool Negative;
    if constexpr (IsIeeeDouble<Float>) {
        const auto Bits = std::bit_cast<uint64_t>(Value);
        Negative = Bits >> 63;
        const int Biased = int(Bits >> 52 & 0x7FF);
        Significand = Bits & ((uint64_t(1) << 52) - 1);
        if (Biased != 0) Significand |= uint64_t(1) << 52;
        Exp = (Biased == 0 ? 1 : Biased) - 1075;
    } else {
        unsigned char Bytes[sizeof(Float)];
        std::memcpy(Bytes, &Value, sizeof Value);
        std::memcpy(&Significand, Bytes, 8);
        const unsigned SignExp = Bytes[8] | unsigned(Bytes[9]) << 8;
        Negative = SignExp >> 15;
        const int Biased = int(SignExp & 0x7FFF);
        Exp = (Biased == 0 ? 1 : Biased) - 16383 - 63;
    }
    TBinary B{Significand, 0, Negative};
    if (Significand == 0) return B;  // an x87 pseudo-zero: no bit to count from
    const int Zeros = TrailingZeroBits(B.Mantissa);
    B.Mantissa >>= Zeros;
    B.Exponent = Exp + Zeros;
    return B;
}

// Reads any radix-2 format, so neither the width of the significand nor the
// layout of the bits is assumed: directly for the two common layouts,
// through frexp for every other one.
template <class Float>
TBinary Decompose(Float Value) {
    constexpr int Digits = std::numeric_limits<Float>::digits;
    static_assert(std::numeric_limits<Float>::radix == 2 && Digits <= 120);
    TBinary B{0, 0, std::signbit(Value)};
    if (Value == 0) return B;
    if constexpr (IsIeeeDouble<Float> || IsX87Extended<Float>) return FromBits(Value);
    int Exp = 0;
    Float Frac = std::frexp(std::fabs(Value), &Exp);  // in [0.5, 1)
    // Up to 64 bits at a time: scaling by a power of two and taking the
    // whole part off are both exact.
    for (int Left = Digits; Left > 0; Left -= 64) {
        const int Take = std::min(Left, 64);
        Frac *= Float(uint64_t(1) << (Take - 1)) * 2;
        const auto Whole = uint64_t(Frac);
        B.Mantissa = (B.Mantissa << Take) | Whole;
        Frac -= Float(Whole);
    }
    const int Zeros = TrailingZeroBits(B.Mantissa);
    B.Mantissa >>= Zeros;
    B.Exponent = Exp - Digits + Zeros;
    return B;
}

// Whole numbers of up to the magnitude of the largest long double, or of
// the smallest denormal's significand times the power of five that makes it
// whole (little-endian 32-bit limbs).
class TBigUInt {
public:
    explicit TBigUInt(u128 X) {
        for (; X != 0; X >>= 32) FLimbs[FSize++] = uint32_t(X);
    }
    void MultiplyPow5(int N) {
        for (; N > 0; N -= Pow5PerLimb) {
            const auto Factor = uint64_t(Pow5[std::min(N, Pow5PerLimb)]);
            uint64_t Carry = 0;
            for (int i = 0; i < FSize; ++i) {
                const uint64_t Cur = FLimbs[i] * Factor + Carry;
                FLimbs[i] = uint32_t(Cur);
                Carry = Cur >> 32;
            }
            if (Carry != 0) Push(uint32_t(Carry));
        }
    }
    // Each division rounds down; returns whether any of them left a remainder.
    bool DividePow5(int N) {
        bool Inexact = false;
        for (; N > 0; N -= Pow5PerLimb) {
            const auto Divisor = uint64_t(Pow5[std::min(N, Pow5PerLimb)]);
            uint64_t Rem = 0;
            for (int i = FSize - 1; i >= 0; --i) {
                const uint64_t Cur = (Rem << 32) | FLimbs[i];
                FLimbs[i] = uint32_t(Cur / Divisor);
                Rem = Cur % Divisor;
            }
            Trim();
            Inexact = Inexact || Rem != 0;
        }
        return Inexact;
    }
    void ShiftLeft(int N) {
        const int Words = N / 32, Bits = N % 32;
        assert(FSize + Words + 1 <= MaxLimbs);
        if (FSize == 0) return;
        FLimbs[FSize + Words] = 0;
        for (int i = FSize - 1; i >= 0; --i) {
            const uint64_t Wide = uint64_t(FLimbs[i]) << Bits;
            FLimbs[i + Words + 1] |= uint32_t(Wide >> 32);
            FLimbs[i + Words] = uint32_t(Wide);
        }
        std::fill(FLimbs.begin(), FLimbs.begin() + Words, 0u);
        FSize += Words + 1;
        Trim();
    }
    // Rounds down; returns whether a one bit was shifted out.
    bool ShiftRight(int N) {
        const int Words = N / 32, Bits = N % 32;
        if (Words >= FSize) {
            const bool Lost = FSize != 0;
            FSize = 0;
            return Lost;
        }
        bool Lost = (FLimbs[Words] & ((uint32_t(1) << Bits) - 1)) != 0;
        for (int i = 0; i < Words; ++i) Lost = Lost || FLimbs[i] != 0;
        for (int i = Words; i < FSize; ++i) {
            const uint64_t Pair = FLimbs[i] | (i + 1 < FSize ? uint64_t(FLimbs[i + 1]) << 32 : 0);
            FLimbs[i - Words] = uint32_t(Pair >> Bits);
        }
        FSize -= Words;
        Trim();
        return Lost;
    }
    u128 ToU128() const {
        assert(FSize <= 4);
        u128 X = 0;
        for (int i = FSize - 1; i >= 0; --i) X = (X << 32) | FLimbs[i];
        return X;
    }

private:
    void Push(uint32_t Limb) {
        assert(FSize < MaxLimbs);
        FLimbs[FSize++] = Limb;
    }
    void Trim() {
        while (FSize > 0 && FLimbs[FSize - 1] == 0) --FSize;
    }
    // The largest long double has max_exponent bits. The smallest denormal
    // 2^-N needs a factor 5^F, F <= N log10 2 + 22, of F log2 5 bits.
    static constexpr int MaxFives = 22 + (LongLimits::digits - LongLimits::min_exponent) * 30103 / 100000;
    static constexpr int MaxBits =
        std::max(LongLimits::max_exponent, LongLimits::digits + MaxFives * 2322 / 1000 + 1);
    static constexpr int MaxLimbs = MaxBits / 32 + 3;
    std::array<uint32_t, MaxLimbs> FLimbs{};
    int FSize = 0;
};

// floor(|B| / 10^Place), and whether that dropped anything.
struct TTruncated {
    u128 Digits;
    bool Inexact;
};

TTruncated ShiftRightInexact(u128 X, int N) {
    if (N >= 128) return {0, X != 0};
    return {X >> N, (X & ((u128(1) << N) - 1)) != 0};
}

// The callers pick Place so that the result lies below 10^20.
TTruncated Truncate(const TBinary& B, int Place) {
    // |B| / 10^Place = Mantissa * 5^Fives * 2^Twos
    const int Fives = -Place, Twos = B.Exponent - Place;
    const int Bits = BitLength(B.Mantissa);
    if (Fives >= 0 && Fives < int(Pow5.size()) && Bits + BitLength(Pow5[Fives]) <= 128) {
        const u128 N = B.Mantissa * Pow5[Fives];
        return Twos >= 0 ? TTruncated{N << Twos, false} : ShiftRightInexact(N, -Twos);
    }
    if (Fives < 0 && -Fives < int(Pow5.size()) && (Twos < 0 || Bits + Twos <= 128)) {
        const u128 Divisor = Pow5[-Fives];
        const TTruncated N =
            Twos < 0 ? ShiftRightInexact(B.Mantissa, -Twos) : TTruncated{B.Mantissa << Twos, false};
        const u128 Q = N.Digits / Divisor;
        return {Q, N.Inexact || N.Digits != Q * Divisor};
    }
    // Floors of successive divisions compose: floor(floor(n / a) / b) = floor(n / ab).
    TBigUInt N(B.Mantissa);
    N.MultiplyPow5(Fives);
    bool Inexact = false;
    if (Twos >= 0)
        N.ShiftLeft(Twos);
    else
        Inexact = N.ShiftRight(-Twos);
    Inexact = N.DividePow5(-Fives) || Inexact;
    return {N.ToU128(), Inexact};
}

enum class TRounding { TiesToEven, HalfAway };

// A decimal: Digits * 10^Place.
struct TDecimal {
    uint64_t Digits;
    int Place;
};

// Rounds Digits * 10^Place (Digits below 10^20), plus something below one
// unit there when Inexact, to a multiple of 10^ToPlace.
TDecimal RoundAt(u128 Digits, int Place, bool Inexact, int ToPlace, TRounding Mode) {
    if (ToPlace <= Place) return {uint64_t(Digits), Place};
    const int Cut = ToPlace - Place;
    if (Cut >= int(Pow10.size())) return {0, ToPlace};  // Digits < 10^20: below a tenth of the unit
    bool Up, Tie;
    uint64_t Kept;
    if (Digits >> 64 == 0 && Cut < 20) {  // the common case, without 128-bit division
        const auto Unit = uint64_t(Pow10[Cut]), Half = Unit / 2, Low = uint64_t(Digits);
        const uint64_t Rest = Low % Unit;
        Kept = Low / Unit;
        Up = Rest > Half;
        Tie = Rest == Half;
    } else {
        const u128 Unit = Pow10[Cut], Half = Unit / 2;
        const u128 Q = Digits / Unit, Rest = Digits - Q * Unit;
        Kept = uint64_t(Q);
        Up = Rest > Half;
        Tie = Rest == Half;
    }
    if (Tie) Up = Inexact || Mode == TRounding::HalfAway || (Kept & 1) != 0;
    return {Kept + Up, ToPlace};
}

// The leading decimal digits of |B|, rounded once on its exact value at the
// coarser of two places: Significant (1..18) significant digits, and
// Decimals decimals. A carry may give one digit more (a power of ten).
TDecimal RoundedDigits(const TBinary& B, int Significant, int Decimals, TRounding Mode) {
    if (B.Mantissa == 0) return {0, 0};
    const int TopBit = B.Exponent + BitLength(B.Mantissa) - 1;  // 2^TopBit <= |B| < 2^(TopBit + 1)
    // floor(TopBit log10 2), exact for |TopBit| <= 17000: the place of the
    // leading digit, or one below it.
    static_assert(LongLimits::max_exponent <= 17000 &&
                  LongLimits::min_exponent - LongLimits::digits >= -17000);
    const auto Lead = int((int64_t(TopBit) * 1292913986) >> 32);
    if (Lead + 2 <= -Decimals - 1) return {0, -Decimals};  // below a tenth of the last decimal
    const int Place = Lead - SignificantDigits;            // 19 or 20 digits
    const TTruncated T = Truncate(B, Place);
    const int Top = Place + DecimalDigits(T.Digits) - 1;
    return RoundAt(T.Digits, Place, T.Inexact, std::max(Top - Significant + 1, -Decimals), Mode);
}

int LeadingPlace(TDecimal D) {
    return D.Place + DecimalDigits(D.Digits) - 1;
}

// Drops the trailing zero of a carry to Count + 1 digits.
TDecimal Normalized(TDecimal D, int Count) {
    return D.Digits >= Pow10[Count] ? TDecimal{D.Digits / 10, D.Place + 1} : D;
}

// A text assembled in place: the longest is Fixed's 652 characters.
class TText {
public:
    void Put(char C) { FBuf[FSize++] = C; }
    void Put(const char* First, const char* Last) {
        while (First != Last) FBuf[FSize++] = *First++;
    }
    void Put(std::string_view S) { Put(S.data(), S.data() + S.size()); }
    // With blanks on the left up to Width.
    std::string Padded(int Width) const {
        std::string S(std::size_t(std::max(Width - FSize, 0)), ' ');
        S.append(FBuf, std::size_t(FSize));
        return S;
    }

private:
    char FBuf[700];
    int FSize = 0;
};

// D in fixed-point notation with exactly Decimals decimals (D.Place >= -Decimals).
void PutFixed(TText& Text, TDecimal D, int Decimals) {
    char Digits[20];
    const auto Count = D.Digits == 0 ? 0 : int(std::to_chars(Digits, Digits + 20, D.Digits).ptr - Digits);
    const int Top = Count == 0 ? -1 : D.Place + Count - 1;  // the place of Digits[0]
    for (int At = std::max(Top, 0); At >= -Decimals; --At) {
        if (At == -1) Text.Put('.');
        const int i = Top - At;
        Text.Put(i >= 0 && i < Count ? Digits[i] : '0');
    }
}

// Count (1..19) digits of Digits (zeros on the left), a '.' after the first.
void PutMantissa(TText& Text, uint64_t Digits, int Count) {
    char Buf[20] = {};
    for (int i = Count - 1; i >= 0; --i, Digits /= 10) Buf[i] = char('0' + Digits % 10);
    Text.Put(Buf[0]);
    if (Count > 1) {
        Text.Put('.');
        Text.Put(Buf + 1, Buf + Count);
    }
}

void PutExponent(TText& Text, int Exp10, bool PlusSign, int MinDigits) {
    Text.Put('E');
    if (Exp10 < 0 || PlusSign) Text.Put(Exp10 < 0 ? '-' : '+');
    char Buf[12];
    char* End = std::to_chars(Buf, Buf + sizeof Buf, Exp10 < 0 ? -Exp10 : Exp10).ptr;
    for (auto Length = int(End - Buf); Length < MinDigits; ++Length) Text.Put('0');
    Text.Put(Buf, End);
}

template <class Float>
const char* NonFiniteText(Float Value) {
    if (std::isnan(Value)) return "NAN";
    return Value < 0 ? "-INF" : "INF";
}

}  // namespace

std::string FormatFixed(int32_t Width, int32_t Decimals, long double Value) {
    Width = std::clamp(Width, 0, MaxWidth);  // no padding below 0; keeps Width - 8 from overflowing
    Decimals = std::clamp(Decimals, 0, MaxDecimals);
    // isnan also catches the invalid 80-bit encodings (unnormals, pseudo-NaNs).
    TText Text;
    if (std::isnan(Value) || std::isinf(Value)) {
        Text.Put(NonFiniteText(Value));
    } else if (std::fabs(Value) >= 0x1p120L) {
        const int G = std::clamp(Width - 8, 2, SignificantDigits);
        const TDecimal All =
            RoundedDigits(Decompose(Value), SignificantDigits, NoDecimalLimit, TRounding::TiesToEven);
        const TDecimal D = Normalized(
            RoundAt(All.Digits, All.Place, false, LeadingPlace(All) - G + 1, TRounding::HalfAway), G);
        Text.Put(Value < 0 ? '-' : ' ');
        PutMantissa(Text, D.Digits, G);
        PutExponent(Text, LeadingPlace(D), true, 4);
    } else {
        // 18 significant digits but no more than 17 decimals, then the cut.
        const TDecimal All = RoundedDigits(Decompose(Value), SignificantDigits, 17, TRounding::TiesToEven);
        if (Value < 0) Text.Put('-');
        PutFixed(Text, RoundAt(All.Digits, All.Place, false, -Decimals, TRounding::HalfAway), Decimals);
    }
    return Text.Padded(Width);
}

std::string FloatToText(TFloatFormat Format, double Value, int32_t Digits) {
    TText Text;
    if (std::isnan(Value) || std::isinf(Value)) {
        Text.Put(NonFiniteText(Value));
        return Text.Padded(0);
    }
    const TBinary B = Decompose(Value);
    if (Format == TFloatFormat::Fixed) {
        const int Decimals = std::clamp(Digits, 0, MaxFixedDecimals);
        const TDecimal D = RoundedDigits(B, SignificantDigits, Decimals, TRounding::HalfAway);
        if (B.Negative && D.Digits != 0) Text.Put('-');
        PutFixed(Text, D, Decimals);
        return Text.Padded(0);
    }
    const int Precision = std::clamp(Digits, 2, SignificantDigits);
    TDecimal D = Normalized(RoundedDigits(B, Precision, NoDecimalLimit, TRounding::HalfAway), Precision);
    if (B.Negative && D.Digits != 0) Text.Put('-');
    if (Format == TFloatFormat::Exponent) {
        PutMantissa(Text, D.Digits, Precision);
        PutExponent(Text, LeadingPlace(D), true, 3);
        return Text.Padded(0);
    }
    // General, and any other Format value: no trailing zeros; positional
    // while the leading digit's place is -4 to Precision - 1.
    while (D.Digits % 10 == 0 && D.Digits != 0) {
        D.Digits /= 10;
        ++D.Place;
    }
    const int Lead = LeadingPlace(D);
    if (Lead >= -4 && Lead < Precision) {
        PutFixed(Text, D, std::max(0, -D.Place));
    } else {
        PutMantissa(Text, D.Digits, DecimalDigits(D.Digits));
        PutExponent(Text, Lead, false, 3);
    }
    return Text.Padded(0);
}

// ------------------------------------------------------------ degrees and digits

namespace {

// The lowest Count digits of Bits in base 2^Shift, most significant first.
std::string PowerOfTwoDigits(uint32_t Bits, int Count, int Shift) {
    static constexpr char Digit[] = "0123456789ABCDEF";
    std::string Text(std::size_t(Count), '0');
    for (int i = 0; i < Count; ++i)
        Text[std::size_t(Count - 1 - i)] = Digit[(uint64_t(Bits) >> (i * Shift)) & ((1u << Shift) - 1)];
    return Text;
}

// Within 3e-12 of a whole number: that number (ties of the rounding to even).
long double Snap(long double X) {
    const long double Whole = std::nearbyint(X);
    return std::fabs(X - Whole) < 3e-12L ? Whole : X;
}

long double Fraction(long double X) {
    return X - std::trunc(X);
}

constexpr std::array<long double, 9> DecimalScale = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L};

}  // namespace

std::string FormatDegrees(int32_t Kind, int32_t Precision, double Value) {
    const int p = std::clamp(Precision, 0, 8);
    if ((Kind != 1 && Kind != 2) || !std::isfinite(Value)) return FormatFixed(1, p, Value) + "\xB0";
    // Rounded once, at the last field, half away from zero.
    const long double Unit = Kind == 1 ? 60 : 3600, Scale = DecimalScale[std::size_t(p)];
    const long double v = Snap(std::round(Value * Unit * Scale) / Scale / Unit);
    const long double Degrees = std::trunc(v);
    std::string Text = Degrees == 0 && v < 0 ? "-0" : FormatFixed(1, 0, Degrees);
    Text += "\xB0 ";
    const long double Minutes = Fraction(std::fabs(v)) * 60;
    if (Kind == 1) return Text + FormatFixed(p + 3, p, Minutes) + "'";
    const long double m = Snap(Minutes);
    Text += FormatFixed(2, 0, std::trunc(m)) + "' ";
    return Text + FormatFixed(p + 3, p, Fraction(m) * 60) + "\"";
}

std::string HexDigits(uint32_t Bits, int32_t Count) {
    return PowerOfTwoDigits(Bits, std::clamp(Count, 0, 8), 4);
}

std::string OctDigits(uint32_t Bits, int32_t Count) {
    return PowerOfTwoDigits(Bits, std::clamp(Count, 1, 11), 3);
}

std::string BinDigits(uint32_t Bits, int32_t Count) {
    return PowerOfTwoDigits(Bits, std::clamp(Count, 1, 32), 1);
}

}  // namespace zent
