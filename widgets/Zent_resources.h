// Registration of the resources compiled into the (static) widget library.
#pragma once

namespace zent {

// Registers the segment artworks (":/SEGVERT" and the others) with Qt's
// resource system. A static library's resources are not registered by
// themselves; every widget that loads them calls this first. Safe to call any
// number of times.
void InitResources();

}  // namespace zent
