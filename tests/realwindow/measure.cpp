// Measures the seven-segment display on a screenshot of the demonstration
// window, or cuts the window out of the screenshot.
//
//   zent_measure display SHOT.png LEFT TOP WIDTH
//     prints "height=H cells=N background=RRGGBB" for the display whose
//     top-left corner is at (LEFT, TOP) and which is WIDTH pixels wide
//     (display_measure.h says how each is found).
//   zent_measure crop SHOT.png LEFT TOP WIDTH HEIGHT OUT.png
#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "display_measure.h"

namespace {
int Number(const char* Text) {
    return int(std::strtol(Text, nullptr, 10));
}
}  // namespace

int main(int argc, char** argv) {
    const QString Mode = argc > 1 ? argv[1] : "";
    if (!(Mode == "display" && argc == 6) && !(Mode == "crop" && argc == 8)) {
        std::fprintf(stderr,
                     "usage: %s display SHOT.png LEFT TOP WIDTH\n"
                     "       %s crop SHOT.png LEFT TOP WIDTH HEIGHT OUT.png\n",
                     argv[0], argv[0]);
        return 2;
    }
    const QImage Shot(QString::fromLocal8Bit(argv[2]));
    if (Shot.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 1;
    }
    const int Left = Number(argv[3]), Top = Number(argv[4]), Width = Number(argv[5]);
    if (Mode == "crop") {
        const QImage Part = Shot.copy(Left, Top, Width, Number(argv[6]));
        return Part.save(QString::fromLocal8Bit(argv[7]), "PNG") ? 0 : 1;
    }
    zent::test::TDisplayMeasure M;
    if (!zent::test::MeasureDisplay(Shot, {Left, Top}, Width, M)) {
        std::fprintf(stderr, "the display lies outside the screenshot\n");
        return 1;
    }
    std::printf("height=%d cells=%d background=%06X\n", M.Height, M.Cells, unsigned(M.Background & 0xFFFFFF));
    return 0;
}
