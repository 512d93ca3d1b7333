// Replays bytes as a sequence of property writes on a shown display (bounds,
// digits, margin, gap, colours, frame, scheme, caption, cache limit, strip
// builds, pending repaints). Whatever the order, the picture it shows must be
// the one a fresh display shows for the same final properties, and nothing
// may be reported or fault.
#include <QApplication>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Zent_forms.h"
#include "Zent_segglyphs.h"
#include "Zent_sevenseg.h"

namespace {

using namespace zent;

QWidget* Window = nullptr;

struct TBytes {
    const uint8_t* Data;
    std::size_t Size, At = 0;
    bool More() const { return At < Size; }
    uint8_t Byte() { return At < Size ? Data[At++] : 0; }
    int Int16() {
        const int Low = Byte();
        return int(int16_t(uint16_t(Low | Byte() << 8)));
    }
};

// Mostly modest sizes, so that a run stays fast; now and then a screen-sized
// one. Negative sizes count as 0.
void WriteBounds(TSevenSeg& Seg, TBytes& In) {
    const uint8_t Kind = In.Byte();
    int W = In.Int16() % 601, H = In.Int16() % 601;
    if (Kind == 0xFF) {
        W = 600 + (W + 600) * 3;  // up to 4200
        H = 600 + (H + 600) * 2;  // up to 3000
    }
    Seg.SetBounds(0, 0, W, H);
}

TColor ReadColor(TBytes& In) {
    static constexpr TColor Special[] = {clWhite, 0xFEFEFE, clBlack,        clNone,
                                         clDefault, clBtnFace, clBtnHighlight, clRed};
    const uint8_t Kind = In.Byte();
    if (Kind < 32) return Special[Kind % std::size(Special)];
    TColor Rgb = 0;
    for (int Shift = 0; Shift < 24; Shift += 8) Rgb |= TColor(In.Byte()) << Shift;
    return Rgb;
}

QImage Picture(QWidget& Widget) {
    return Widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Writes A's properties to B through the setters. B is first made tall
// enough that its margin is stored as A holds it, whatever A's height was
// when its margin was written.
void WriteSame(const TSevenSeg& A, TSevenSeg& B) {
    B.SetBounds(0, 0, A.Width(), std::max(A.Height(), 2 * A.Margin() + 2));
    B.SetNumDigits(A.NumDigits());
    B.SetMargin(A.Margin());
    B.SetInterDigDist(A.InterDigDist());
    B.SetColorText(A.ColorText());
    B.SetColorBackGnd(A.ColorBackGnd());
    B.SetFrameStyle(A.FrameStyle());
    B.SetColorScheme(A.ColorScheme());
    B.SetCaption(A.Caption());
    B.SetBounds(0, 0, A.Width(), A.Height());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int Argc = 1;
    static char Name[] = "fuzz_sevenseg";
    static char* Argv[] = {Name, nullptr};
    new QApplication(Argc, Argv);  // lives as long as the process
    SetErrorReporter([](const std::string&, const std::string& Text) {
        std::fprintf(stderr, "reported: %s\n", Text.c_str());
        std::abort();
    });
    Window = new QWidget;
    Window->resize(640, 640);
    Window->show();
    QApplication::processEvents();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    TBytes In{Data, Size};
    auto* Shown = new TSevenSeg(Window);
    Shown->show();
    QApplication::processEvents();  // the first picture: what the writes below change
    // One byte per step: the low nibble picks the write, the high one is a
    // small argument; larger arguments follow.
    for (int Step = 0; Step < 32 && In.More(); ++Step) {
        const uint8_t Op = In.Byte(), Arg = Op >> 4;
        switch (Op & 15) {
            case 0: WriteBounds(*Shown, In); break;
            case 1: Shown->SetNumDigits(int8_t(In.Byte())); break;
            case 2: Shown->SetMargin(In.Int16()); break;
            case 3: Shown->SetInterDigDist(In.Int16()); break;
            case 4: Shown->SetColorText(ReadColor(In)); break;
            case 5: Shown->SetColorBackGnd(ReadColor(In)); break;
            case 6: Shown->setProperty("FrameStyle", Arg % 8); break;  // 6 and 7 are ignored
            case 7: Shown->SetColorScheme(TColorScheme(Arg & 1)); break;
            case 8: {
                std::string Caption(Arg, ' ');
                for (char& Ch : Caption) Ch = char(In.Byte());
                Shown->SetCaption(Caption);
                break;
            }
            case 9:  // mostly a few KiB, so that glyphs must make room
                Shown->SetGlyphCacheLimit(Arg ? int64_t(Arg) << 10 : DefaultGlyphCacheLimit);
                break;
            case 10:
                if (Arg == 11) Shown->BuildGlyphStrip();  // rare: all 21 symbols
                break;
            default: QApplication::processEvents(); break;  // the repaints asked for later
        }
    }
    QApplication::processEvents();
    const QImage Got = Picture(*Shown);

    auto* Fresh = new TSevenSeg(Window);  // never shown: painted by the grab alone
    WriteSame(*Shown, *Fresh);
    const QImage Want = Picture(*Fresh);
    if (Got != Want) {
        std::fprintf(stderr, "picture differs from a fresh display's: %dx%d, %d cells, margin %d, gap %d\n",
                     Shown->Width(), Shown->Height(), Shown->NumDigits(), Shown->Margin(), Shown->InterDigDist());
        std::abort();
    }
    delete Fresh;
    delete Shown;
    return 0;
}
