// Any display type byte, precision, double bit pattern, separator and sign
// flags and any state, indicator and date-time pattern strings: the value
// text is the same on every call and for a second label set alike, the
// separator and sign step leaves no other separator and puts '+' before a
// positive value, the digit types give only their digits, and nothing faults.
#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Zent_NumLab.h"

namespace {

using namespace zent;

TNumLab* Labels[2];

struct TInput {
    int Type, Precision;
    double Value;
    bool Comma, Plus;
    std::string Strings[3];  // state text, indicator, date-time pattern
};

// Bytes 0..10: type, precision (0..23: beyond the cap too), value, flags;
// then the three strings separated by NUL bytes.
bool Read(const uint8_t* Data, std::size_t Size, TInput& In) {
    if (Size < 11) return false;
    In.Type = Data[0] % DisplayTypeCount;
    In.Precision = Data[1] % 24;
    std::memcpy(&In.Value, Data + 2, 8);
    In.Comma = Data[10] & 1;
    In.Plus = Data[10] & 2;
    int k = 0;
    for (std::size_t i = 11; i < Size; ++i) {
        if (Data[i] == 0 && k < 2)
            ++k;
        else
            In.Strings[k] += char(Data[i]);
    }
    return true;
}

void Configure(TNumLab& L, const TInput& In) {
    L.SetDisplayType(TDisplay(In.Type));
    L.SetPrecision(In.Precision);
    L.SetValue(In.Value);
    L.SetComma(In.Comma);
    L.SetForcePlusSign(In.Plus);
    L.SetStateText(In.Strings[0]);
    L.SetOverflowIndicator(In.Strings[1]);
    L.SetDTFormat(In.Strings[2]);
}

bool OnlyOf(const std::string& Text, const char* Digits) {
    return Text.find_first_not_of(Digits) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int Argc = 1;
    static char Name[] = "fuzz_numlab";
    static char* Argv[] = {Name, nullptr};
    new QApplication(Argc, Argv);  // lives as long as the process
    // Without a parent the setters store and never paint.
    Labels[0] = new TNumLab;
    Labels[1] = new TNumLab;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    TInput In;
    if (!Read(Data, Size, In)) return 0;
    Configure(*Labels[0], In);
    const std::string Text = Labels[0]->ValueText();
    if (Labels[0]->ValueText() != Text) std::abort();
    // The second label is set to something else first: nothing may carry over.
    Configure(*Labels[1], TInput{(In.Type + 7) % DisplayTypeCount,
                                 15 - In.Precision % 16,
                                 -In.Value,
                                 !In.Comma,
                                 !In.Plus,
                                 {"s", "i", "p"}});
    Configure(*Labels[1], In);
    if (Labels[1]->ValueText() != Text) std::abort();

    const TNumLab& L = *Labels[0];
    const std::string& Indicator = L.OverflowIndicator();
    switch (L.DisplayType()) {
        case dtHex:
            if (Text != Indicator && !OnlyOf(Text, "0123456789ABCDEF")) std::abort();
            break;
        case dtBin:
            if (Text != Indicator && !OnlyOf(Text, "01")) std::abort();
            break;
        case dtDateTime:
            if (Text.size() > 256) std::abort();
            break;
        case dtState:
            if (Text != L.StateText()) std::abort();
            break;
        default: {  // the types of the separator and sign step
            if (Text.find(L.Comma() ? '.' : ',') != std::string::npos) std::abort();
            if (L.ForcePlusSign() && L.Value() > 0 && Text[0] != '+') std::abort();
            if (Text.size() > 700 + Indicator.size()) std::abort();
            break;
        }
    }
    return 0;
}
