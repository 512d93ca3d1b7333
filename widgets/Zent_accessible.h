// What the widgets' accessible units share: the name they give, the way
// they are registered with Qt, and where their events go. Not installed.
#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <string>

class QAccessibleEvent;

namespace zent {

// Where the widgets' accessibility events go: to QAccessible::updateAccessibility
// while the sink is null (Qt drops them while no assistive tool listens),
// else to the sink (tests record them). Returns the previous sink.
using TAccessibleEventSink = void (*)(QAccessibleEvent* Event);
TAccessibleEventSink SetAccessibleEventSink(TAccessibleEventSink Sink);

#if QT_CONFIG(accessibility)

// Whether an event would reach anyone. The widgets ask before they build
// one, so that changes nobody hears cost a check and no more.
bool AccessibleEventsHeard();
void SendAccessibleEvent(QAccessibleEvent& Event);

// The name of a widget that shows a text: a name the application set comes
// first, as for Qt's own widgets, else the text shown.
QString ShownTextName(const QWidget& Widget, const QString& Shown);

// Registers TInterface (constructed from a TWidget*) as the accessible
// interface of TWidget and its subclasses; only the first call per pair
// registers.
template <class TWidget, class TInterface>
void InstallAccessibleFactory() {
    // Qt asks with the class names of the object's ancestry, most derived
    // first: the first name already gets the interface.
    static const bool Installed =
        (QAccessible::installFactory([](const QString&, QObject* Object) {
             auto* Widget = qobject_cast<TWidget*>(Object);
             return Widget ? static_cast<QAccessibleInterface*>(new TInterface(Widget)) : nullptr;
         }),
         true);
    (void)Installed;
}

#endif

}  // namespace zent
