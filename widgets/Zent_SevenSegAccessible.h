// What assistive tools learn of a TSevenSeg: a static text whose name is
// what its cells show.
#pragma once

namespace zent {

class TSevenSeg;

// Registers the display's accessible interface with Qt once; later calls
// cost a check of a static. TSevenSeg's constructor calls it.
//
// The interface has the role StaticText; its name is what the cells show,
// unless the application set an accessible name.
void InstallSevenSegAccessible();

// Tells assistive tools that the display's cells show something else: a
// name change, sent where SetAccessibleEventSink (Zent_accessible.h) says.
// Does nothing unless someone listens.
void SevenSegNameChanged(TSevenSeg& Display);

}  // namespace zent
