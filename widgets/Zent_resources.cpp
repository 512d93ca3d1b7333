#include "Zent_resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE declares the generated registration function, which lives
// in the global namespace, so it must be expanded outside any namespace.
static void InitSegmentResources() {
    Q_INIT_RESOURCE(segments);
}

namespace zent {

void InitResources() {
    // Thread-safe, once per process.
    static const bool Done = (InitSegmentResources(), true);
    (void)Done;
}

}  // namespace zent
