// What assistive tools learn of a TSevenSeg: a static text whose name is
// what its cells show.
#pragma once

namespace zent {

class TSevenSeg;

// Registers the display's accessible interface with Qt once; later calls
// cost a check of a static. TSevenSeg's constructor calls it.
void InstallSevenSegAccessible();

// Tells assistive tools that the display's cells show something else.
void SevenSegNameChanged(TSevenSeg& Display);

}  // namespace zent
