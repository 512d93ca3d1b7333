#include "Zent_accessible.h"

#include <QWidget>
#include <utility>

#include "Zent_latin1.h"

namespace zent {

namespace {
TAccessibleEventSink EventSink = nullptr;  // Qt's
}  // namespace

TAccessibleEventSink SetAccessibleEventSink(TAccessibleEventSink Sink) {
    return std::exchange(EventSink, Sink);
}

#if QT_CONFIG(accessibility)

bool AccessibleEventsHeard() {
    return EventSink || QAccessible::isActive();
}

void SendAccessibleEvent(QAccessibleEvent& Event) {
    (EventSink ? EventSink : &QAccessible::updateAccessibility)(&Event);
}

QString ShownTextName(const QWidget& Widget, const QString& Shown) {
    const QString Set = Widget.accessibleName();
    return Set.isEmpty() ? Shown : Set;
}

#endif

}  // namespace zent
