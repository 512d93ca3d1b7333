// The readouts the panel benchmark compares: the library's numeric label and
// seven-segment display under each repaint policy, and the Qt widgets a user
// would pick instead, each showing the same texts at the same size.
#pragma once

#include <QSize>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Zent_controls.h"

namespace zent::bench {

enum TVariantId : uint8_t {
    NumLabImmediate,
    NumLabCoalesced,
    FramedQLabel,
    SevenSegImmediate,
    SevenSegCoalesced,
    Dseg7QLabel,
    LcdNumber,
    VariantCount
};

struct TVariant {
    std::string Name;  // also the benchmark's name: "TNumLab/Immediate"
    QSize Size;
    // The application's repaint policy while the variant runs; Qt's own
    // widgets have none and always wait for the next paint.
    std::optional<TRepaintPolicy> Policy;
    std::function<QWidget*(QWidget* Parent)> Make;
    std::function<void(QWidget* Readout, double Value)> Write;
};

// The variants in TVariantId order. Needs the application; raises
// std::runtime_error when the DSEG7 Classic font is missing or when the
// label's value text and the QLabel's text disagree.
std::vector<TVariant> PanelVariants();

// What readout Index shows at tick Tick: 10.00 to 999.99, in steps of 0.01,
// different at every tick and between neighbouring readouts, so every write
// changes the text.
double ReadoutValue(int64_t Tick, int Index);

}  // namespace zent::bench
