#include "Zent_stringl.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace zent {

namespace {

__extension__ typedef unsigned __int128 u128;

static_assert(sizeof(long double) >= 10 && std::numeric_limits<long double>::digits == 64,
              "FormatFixed reads the x86 80-bit extended format");

constexpr int MaxDecimals = 216;
constexpr int MaxWidth = 255;
constexpr int SignificantDigits = 18;

constexpr std::array<u128, 39> MakePow10() {
    std::array<u128, 39> P{};
    P[0] = 1;
    for (std::size_t i = 1; i < P.size(); ++i) P[i] = P[i - 1] * 10;
    return P;
}
constexpr std::array<u128, 39> Pow10 = MakePow10();

// The exact value is Mantissa * 2^Exponent.
struct TBinary {
    uint64_t Mantissa;
    int Exponent;
    bool Negative;
    bool Valid;  // false for NaN and unsupported encodings (unnormals)
};

TBinary Decompose(long double Value) {
    unsigned char Bytes[sizeof(long double)];
    std::memcpy(Bytes, &Value, sizeof Value);
    TBinary B{};
    std::memcpy(&B.Mantissa, Bytes, 8);
    const unsigned SignExp = Bytes[8] | (unsigned(Bytes[9]) << 8);
    const unsigned BiasedExp = SignExp & 0x7FFF;
    B.Negative = (SignExp & 0x8000) != 0;
    // Exponent 0 holds denormals (and pseudo-denormals, same value rule).
    B.Exponent = (BiasedExp == 0 ? 1 : int(BiasedExp)) - 16383 - 63;
    B.Valid = BiasedExp != 0x7FFF && (BiasedExp == 0 || (B.Mantissa >> 63) != 0);
    return B;
}

int DecimalDigits(u128 X) {
    int N = 1;
    while (N < 39 && X >= Pow10[N]) ++N;
    return N;
}

// Rounds Num / 2^Shift to an integer, ties to even.
u128 ShiftRoundEven(u128 Num, int Shift) {
    if (Shift <= 0) return Num;
    if (Shift >= 127) return 0;  // callers keep Num below 2^121
    const u128 Q = Num >> Shift;
    const u128 Rem = Num & ((u128(1) << Shift) - 1);
    const u128 Half = u128(1) << (Shift - 1);
    return (Rem > Half || (Rem == Half && (Q & 1))) ? Q + 1 : Q;
}

// Rounds Num / Den to an integer, ties to even.
u128 DivRoundEven(u128 Num, u128 Den) {
    const u128 Q = Num / Den;
    const u128 Rem2 = (Num % Den) * 2;
    return (Rem2 > Den || (Rem2 == Den && (Q & 1))) ? Q + 1 : Q;
}

// The leading digits of a magnitude: Value ~ Digits * 10^(Exp10 - 17), with
// Digits below 10^18 or exactly 10^18 after a carry.
struct TDigits {
    uint64_t Digits;
    int Exp10;
};

// Magnitudes below 2^120: everything fits in 128 bits.
TDigits LeadingDigitsSmall(const TBinary& B, long double Magnitude) {
    if (Magnitude < 10.0L) {
        // M * 10^17 < 2^121; shifts beyond that leave less than one half.
        const u128 Num = u128(B.Mantissa) * Pow10[17];
        return {uint64_t(ShiftRoundEven(Num, -B.Exponent)), 0};
    }
    // Here 10 <= Magnitude < 2^120, so -60 <= Exponent <= 56.
    const u128 IntPart = B.Exponent >= 0 ? u128(B.Mantissa) << B.Exponent : u128(B.Mantissa) >> -B.Exponent;
    const int K = DecimalDigits(IntPart) - 1;
    if (K <= 17) {
        // Below 10^18 < 2^63 the exponent is negative: only a shift remains.
        const u128 Num = u128(B.Mantissa) * Pow10[17 - K];
        return {uint64_t(ShiftRoundEven(Num, -B.Exponent)), K};
    }
    if (B.Exponent >= 0) return {uint64_t(DivRoundEven(u128(B.Mantissa) << B.Exponent, Pow10[K - 17])), K};
    return {uint64_t(DivRoundEven(B.Mantissa, Pow10[K - 17] << -B.Exponent)), K};
}

// Magnitudes of 2^120 and above are whole numbers of up to 16384 bits.
class TBigUInt {
public:
    TBigUInt(uint64_t Mantissa, int Shift) {
        const int Word = Shift / 32, Bit = Shift % 32;
        const u128 Wide = u128(Mantissa) << Bit;
        for (int i = 0; i < 3; ++i) FLimbs[Word + i] = uint32_t(Wide >> (32 * i));
        FSize = Word + 3;
        Trim();
    }
    // Divides by Divisor (below 2^32); the remainder tells whether it was exact.
    bool DivideExact(uint32_t Divisor) {
        uint64_t Rem = 0;
        for (int i = FSize - 1; i >= 0; --i) {
            const uint64_t Cur = (Rem << 32) | FLimbs[i];
            FLimbs[i] = uint32_t(Cur / Divisor);
            Rem = Cur % Divisor;
        }
        Trim();
        return Rem == 0;
    }
    bool FitsU128() const { return FSize <= 4; }
    u128 ToU128() const {
        u128 X = 0;
        for (int i = std::min(FSize, 4) - 1; i >= 0; --i) X = (X << 32) | FLimbs[i];
        return X;
    }

private:
    void Trim() {
        while (FSize > 0 && FLimbs[FSize - 1] == 0) --FSize;
    }
    static constexpr int MaxLimbs = 16384 / 32 + 4;
    std::array<uint32_t, MaxLimbs> FLimbs{};
    int FSize = 0;
};

TDigits LeadingDigitsHuge(const TBinary& B, long double Magnitude) {
    // An estimate of the decimal exponent, good to +-1; the exact one follows
    // from the digits that remain after dividing off 10^Shift.
    const int Estimate = int(std::floor(std::log10(Magnitude)));
    const int Shift = Estimate - 20;
    TBigUInt X(B.Mantissa, B.Exponent);
    bool Exact = true;
    for (int Left = Shift; Left > 0; Left -= 9)
        Exact = X.DivideExact(uint32_t(Pow10[std::min(Left, 9)])) && Exact;
    const u128 T = X.ToU128();
    const int Dropped = DecimalDigits(T) - SignificantDigits;
    if (!X.FitsU128() || Dropped < 1) return {0, 0};  // unreachable: log10 is never that far off
    const int K = Shift + Dropped + 17;
    const u128 Unit = Pow10[Dropped];
    u128 Q = T / Unit;
    const u128 Rem = T % Unit, Half = Unit / 2;
    if (Rem > Half || (Rem == Half && (!Exact || (Q & 1)))) ++Q;
    return {uint64_t(Q), K};
}

// Appends the decimal digits of X.
void AppendNumber(std::string& Text, uint64_t X) {
    char Buf[20];
    Text.append(Buf, std::to_chars(Buf, Buf + sizeof Buf, X).ptr);
}

// Rounds Digits * 10^-Cut to an integer, halves away from zero.
uint64_t CutDigits(uint64_t Digits, int Cut) {
    if (Cut <= 0) return Digits;
    if (Cut > 19) return 0;
    const uint64_t Kept = Digits / uint64_t(Pow10[Cut]);
    const uint64_t Next = (Digits / uint64_t(Pow10[Cut - 1])) % 10;
    return Next >= 5 ? Kept + 1 : Kept;
}

std::string FixedText(bool Negative, TDigits D, int Decimals) {
    // Value ~ Digits * 10^Scale; we want the digits of Value * 10^Decimals.
    const int Scale = D.Exp10 - 17 + Decimals;
    uint64_t Kept = CutDigits(D.Digits, -Scale);
    char Rev[20];
    int NumDigits = 0;
    do {
        Rev[NumDigits++] = char('0' + Kept % 10);
        Kept /= 10;
    } while (Kept != 0);
    const int Zeros = Scale > 0 ? Scale : 0;
    const int Total = std::max(NumDigits + Zeros, Decimals + 1);

    char Buf[MaxWidth + 8];
    char* Out = Buf;
    if (Negative) *Out++ = '-';
    const int IntDigits = Total - Decimals;
    for (int Pos = 0; Pos < Total; ++Pos) {
        if (Pos == IntDigits) *Out++ = '.';
        const int FromEnd = Total - 1 - Pos;  // 0 is the last digit
        char C = '0';
        if (FromEnd >= Zeros && FromEnd - Zeros < NumDigits) C = Rev[FromEnd - Zeros];
        *Out++ = C;
    }
    return std::string(Buf, Out);
}

std::string ExponentText(bool Negative, TDigits D, int Width) {
    const int G = std::clamp(Width - 8, 2, SignificantDigits);
    uint64_t Digits = D.Digits;
    int Exp10 = D.Exp10;
    if (Digits >= uint64_t(Pow10[18])) {  // carried to 19 digits: all zeros after the 1
        Digits /= 10;
        ++Exp10;
    }
    uint64_t Kept = CutDigits(Digits, SignificantDigits - G);
    if (Kept >= uint64_t(Pow10[G])) {
        Kept /= 10;
        ++Exp10;
    }
    std::string Mantissa;
    AppendNumber(Mantissa, Kept);
    std::string Text;
    Text += Negative ? '-' : ' ';
    Text += Mantissa[0];
    Text += '.';
    Text.append(Mantissa, 1, std::string::npos);
    Text += 'E';
    Text += Exp10 < 0 ? '-' : '+';
    const int AbsExp = Exp10 < 0 ? -Exp10 : Exp10;
    for (int Div = 1000; Div > 0; Div /= 10) Text += char('0' + AbsExp / Div % 10);
    return Text;
}

std::string PadLeft(std::string Text, int Width) {
    if (int(Text.size()) < Width) Text.insert(0, std::size_t(Width) - Text.size(), ' ');
    return Text;
}

}  // namespace

std::string FormatFixed(int32_t Width, int32_t Decimals, long double Value) {
    Width = std::clamp(Width, 0, MaxWidth);  // no padding below 0; keeps Width - 8 from overflowing
    Decimals = std::clamp(Decimals, 0, MaxDecimals);
    const TBinary B = Decompose(Value);
    if (!B.Valid) {
        if (!std::isinf(Value)) return PadLeft("NAN", Width);
        return PadLeft(B.Negative ? "-INF" : "INF", Width);
    }
    const long double Magnitude = std::fabs(Value);
    const bool Negative = Value < 0;
    constexpr long double ExponentFormFrom = 0x1p120L;
    if (Magnitude >= ExponentFormFrom)
        return PadLeft(ExponentText(Negative, LeadingDigitsHuge(B, Magnitude), Width), Width);
    return PadLeft(FixedText(Negative, LeadingDigitsSmall(B, Magnitude), Decimals), Width);
}

}  // namespace zent
