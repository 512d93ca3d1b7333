#include "Zent_SevenSegAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <utility>

#include "Zent_latin1.h"
#include "Zent_sevenseg.h"

namespace zent {

#if QT_CONFIG(accessibility)

namespace {

// QLCDNumber's interface reports its value ("12:30" reads as 0); this one
// reads back what the cells show. A name the application set comes first,
// as for Qt's own widgets.
class TSevenSegAccessible : public QAccessibleWidget {
public:
    explicit TSevenSegAccessible(TSevenSeg* Display) : QAccessibleWidget(Display, QAccessible::StaticText) {}

    QString text(QAccessible::Text Kind) const override {
        if (Kind != QAccessible::Name) return QAccessibleWidget::text(Kind);
        const QString Set = widget()->accessibleName();
        return Set.isEmpty() ? Latin1ToQString(static_cast<const TSevenSeg*>(widget())->ShownText()) : Set;
    }
};

TAccessibleEventSink EventSink = nullptr;  // Qt's

QAccessibleInterface* SevenSegAccessibleFactory(const QString&, QObject* Object) {
    auto* Display = qobject_cast<TSevenSeg*>(Object);
    return Display ? new TSevenSegAccessible(Display) : nullptr;
}

}  // namespace

void InstallSevenSegAccessible() {
    static const bool Installed = (QAccessible::installFactory(SevenSegAccessibleFactory), true);
    (void)Installed;
}

void SevenSegNameChanged(TSevenSeg& Display) {
    // Qt drops the event when no tool listens; then it is not even built,
    // which keeps a clock's caption changes cheap.
    if (!EventSink && !QAccessible::isActive()) return;
    QAccessibleEvent Event(&Display, QAccessible::NameChanged);
    (EventSink ? EventSink : &QAccessible::updateAccessibility)(&Event);
}

TAccessibleEventSink SetSevenSegEventSink(TAccessibleEventSink Sink) {
    return std::exchange(EventSink, Sink);
}

#else

void InstallSevenSegAccessible() {}
void SevenSegNameChanged(TSevenSeg&) {}
TAccessibleEventSink SetSevenSegEventSink(TAccessibleEventSink) {
    return nullptr;
}

#endif

}  // namespace zent
