#include "Zent_SevenSegAccessible.h"

#include "Zent_accessible.h"
#include "Zent_latin1.h"
#include "Zent_sevenseg.h"

namespace zent {

#if QT_CONFIG(accessibility)

namespace {

// QLCDNumber's interface reports its value ("12:30" reads as 0); this one
// reads back what the cells show.
class TSevenSegAccessible : public QAccessibleWidget {
public:
    explicit TSevenSegAccessible(TSevenSeg* Display) : QAccessibleWidget(Display, QAccessible::StaticText) {}

    QString text(QAccessible::Text Kind) const override {
        if (Kind == QAccessible::Name)
            return ShownTextName(*widget(), Latin1ToQString(Display().ShownText()));
        return QAccessibleWidget::text(Kind);
    }

private:
    const TSevenSeg& Display() const { return *static_cast<const TSevenSeg*>(widget()); }
};

}  // namespace

void InstallSevenSegAccessible() {
    InstallAccessibleFactory<TSevenSeg, TSevenSegAccessible>();
}

void SevenSegNameChanged(TSevenSeg& Display) {
    // Not even built while nobody listens: a clock's caption changes stay cheap.
    if (!AccessibleEventsHeard()) return;
    QAccessibleEvent Event(&Display, QAccessible::NameChanged);
    SendAccessibleEvent(Event);
}

#else

void InstallSevenSegAccessible() {}
void SevenSegNameChanged(TSevenSeg&) {}

#endif

}  // namespace zent
