#include "Zent_NumLabAccessible.h"

#include "Zent_NumLab.h"
#include "Zent_accessible.h"

namespace zent {

#if QT_CONFIG(accessibility)

namespace {

// The name is what the value box shows rather than the number behind it:
// the overflow indicator, a state text or a date read as they are drawn.
class TNumLabAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TNumLabAccessible(TNumLab* Label) : QAccessibleWidget(Label, QAccessible::StaticText) {}

    QString text(QAccessible::Text Kind) const override {
        if (Kind == QAccessible::Name) return ShownTextName(*widget(), Label().DrawnTextQ());
        if (Kind == QAccessible::Description && widget()->accessibleDescription().isEmpty()) {
            const QString Left = Label().LeftTextQ(), Right = Label().RightTextQ();
            return Left.isEmpty() || Right.isEmpty() ? Left + Right : Left + u' ' + Right;
        }
        return QAccessibleWidget::text(Kind);
    }

    void* interface_cast(QAccessible::InterfaceType Type) override {
        if (Type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(Type);
    }

    QVariant currentValue() const override { return Label().Value(); }
    void setCurrentValue(const QVariant&) override {}  // a display: the program sets its value
    QVariant maximumValue() const override { return {}; }
    QVariant minimumValue() const override { return {}; }
    QVariant minimumStepSize() const override { return {}; }

private:
    const TNumLab& Label() const { return *static_cast<const TNumLab*>(widget()); }
};

}  // namespace

void InstallNumLabAccessible() {
    InstallAccessibleFactory<TNumLab, TNumLabAccessible>();
}

void AnnounceShownText(TNumLab& Label) {
    // Not even built while nobody listens: a label written on every
    // scroll-bar move stays cheap.
    if (!AccessibleEventsHeard()) return;
    QAccessibleValueChangeEvent ValueChange(&Label, Label.Value());
    SendAccessibleEvent(ValueChange);
    QAccessibleEvent NameChange(&Label, QAccessible::NameChanged);
    SendAccessibleEvent(NameChange);
}

#else

void InstallNumLabAccessible() {}
void AnnounceShownText(TNumLab&) {}

#endif

}  // namespace zent
