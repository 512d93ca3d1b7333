// What assistive tools learn from a numeric label: the text it shows, not
// only the number behind it.
#pragma once

namespace zent {

class TNumLab;

// Registers the label's accessible interface with Qt; the first call does
// it, later calls cost a check of a static. Every TNumLab constructor calls
// it.
//
// The interface has the role StaticText. Its name is the text the value box
// shows (the overflow indicator when the value is too wide, nothing while
// Empty is true), its description the side texts (one blank between them
// when both are set), and its value interface gives Value, read-only. A
// name or description the application set comes first.
void InstallNumLabAccessible();

// Tells assistive tools that the label shows another text: a value change
// and a name change, sent where SetAccessibleEventSink (Zent_accessible.h)
// says. Does nothing unless someone listens.
void AnnounceShownText(TNumLab& Label);

}  // namespace zent
