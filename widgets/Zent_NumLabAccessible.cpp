#include "Zent_NumLabAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "Zent_NumLab.h"
#include "Zent_latin1.h"

namespace zent {

namespace {

class TNumLabAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TNumLabAccessible(TNumLab* Label) : QAccessibleWidget(Label, QAccessible::StaticText) {}

    QString text(QAccessible::Text Kind) const override {
        const TNumLab& L = Label();
        if (Kind == QAccessible::Name) return Latin1ToQString(L.DrawnText());
        if (Kind == QAccessible::Description) {
            const char* Gap = !L.LeftText().empty() && !L.RightText().empty() ? " " : "";
            return Latin1ToQString(L.LeftText() + Gap + L.RightText());
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

// Qt asks with the class names of the object's ancestry, most derived first,
// so labels of derived classes get the interface too.
QAccessibleInterface* NumLabFactory(const QString& ClassName, QObject* Object) {
    if (ClassName != QLatin1String(TNumLab::staticMetaObject.className())) return nullptr;
    auto* Label = qobject_cast<TNumLab*>(Object);
    return Label ? new TNumLabAccessible(Label) : nullptr;
}

}  // namespace

void InstallNumLabAccessible() {
    static const bool Installed = (QAccessible::installFactory(NumLabFactory), true);
    (void)Installed;
}

void AnnounceShownText(TNumLab& Label) {
    if (!QAccessible::isActive()) return;
    QAccessibleValueChangeEvent ValueChange(&Label, Label.Value());
    QAccessible::updateAccessibility(&ValueChange);
    QAccessibleEvent NameChange(&Label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&NameChange);
}

}  // namespace zent
