// What assistive tools learn of a TSevenSeg: a static text whose name is
// what its cells show.
#pragma once

class QAccessibleEvent;

namespace zent {

class TSevenSeg;

// Registers the display's accessible interface with Qt once; later calls
// cost a check of a static. TSevenSeg's constructor calls it.
void InstallSevenSegAccessible();

// Tells assistive tools that the display's cells show something else.
void SevenSegNameChanged(TSevenSeg& Display);

// Where those events go: to QAccessible::updateAccessibility while the sink
// is null (Qt drops them while no assistive tool listens), else to the sink
// (tests record them). Returns the previous sink.
using TAccessibleEventSink = void (*)(QAccessibleEvent* Event);
TAccessibleEventSink SetSevenSegEventSink(TAccessibleEventSink Sink);

}  // namespace zent
