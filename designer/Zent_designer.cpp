#include "Zent_designer.h"

#include <QPixmap>
#include <QWidget>

#include "Zent_components.h"
#include "Zent_forms.h"

namespace zent {

namespace {
TComponent* AsComponent(QWidget* Widget) {
    return dynamic_cast<TComponent*>(Widget);
}
}  // namespace

// ------------------------------------------------------------ one class

TDesignerWidget::TDesignerWidget(const TDesignerEntry& Entry, TDesignerWidgets& Collection)
    : QObject(&Collection), FEntry(Entry), FCollection(Collection) {}

QString TDesignerWidget::name() const { return QString::fromLatin1(FEntry.ClassName); }
QString TDesignerWidget::group() const { return QString::fromLatin1(FEntry.Group); }
QString TDesignerWidget::toolTip() const { return QString::fromLatin1(FEntry.ToolTip); }
QString TDesignerWidget::whatsThis() const { return QString::fromLatin1(FEntry.WhatsThis); }
QString TDesignerWidget::includeFile() const { return QString::fromLatin1(FEntry.Header); }
bool TDesignerWidget::isContainer() const { return FEntry.Container; }

void TDesignerWidget::initialize(QDesignerFormEditorInterface*) {
    FInitialized = true;
}

QWidget* TDesignerWidget::createWidget(QWidget* Parent) {
    FCollection.BeginLoading();
    QWidget* Widget = nullptr;
    // Designer and QUiLoader are Qt code: no exception may reach them.
    Guarded([&] { Widget = FEntry.Create(Parent); });
    if (Widget && FInitialized) AsComponent(Widget)->SetDesigning(true);
    return Widget;
}

void TDesignerWidget::MakeSample() const {
    if (FSampled) return;
    FSampled = true;
    Guarded([this] {
        // A parent, as the setters that repaint at once need one; never shown.
        QWidget Parent;
        QWidget* Sample = FEntry.Create(&Parent);
        AsComponent(Sample)->LayoutLoaded();  // a colour list fills its items here
        if (FEntry.DefaultSize.isValid())
            FDefaultSize = FEntry.DefaultSize;
        else if (Sample->testAttribute(Qt::WA_Resized))
            FDefaultSize = Sample->size();  // the control sets its own size
        else
            FDefaultSize = Sample->sizeHint();
        Sample->resize(FDefaultSize);
        if (FEntry.Showcase) FEntry.Showcase(Sample);
        FIcon = QIcon(Sample->grab());
    });
}

QIcon TDesignerWidget::icon() const {
    MakeSample();
    return FIcon;
}

QSize TDesignerWidget::DefaultSize() const {
    MakeSample();
    return FDefaultSize;
}

QString TDesignerWidget::domXml() const {
    QString Specifications;
    for (const TPropertyNote& Note : FEntry.Notes) {
        const QString Name = QString::fromLatin1(Note.Name);
        if (Note.Text)
            Specifications += QStringLiteral("    <stringpropertyspecification name=\"%1\" notr=\"true\" type=\"singleline\"/>\n")
                                  .arg(Name);
        if (Note.ToolTip)
            Specifications += QStringLiteral("    <tooltip name=\"%1\">%2</tooltip>\n")
                                  .arg(Name, QString::fromLatin1(Note.ToolTip).toHtmlEscaped());
    }
    const QSize Size = DefaultSize();
    return QStringLiteral(
               "<ui language=\"c++\">\n"
               " <widget class=\"%1\" name=\"%2\">\n"
               "  <property name=\"geometry\"><rect><x>0</x><y>0</y><width>%3</width><height>%4</height></rect>"
               "</property>\n"
               "%5"
               " </widget>\n"
               " <customwidgets>\n"
               "  <customwidget>\n"
               "   <class>%1</class>\n"
               "   <propertyspecifications>\n%6   </propertyspecifications>\n"
               "  </customwidget>\n"
               " </customwidgets>\n"
               "</ui>\n")
        .arg(name(), QString::fromLatin1(FEntry.ObjectName))
        .arg(Size.width())
        .arg(Size.height())
        .arg(QString::fromLatin1(FEntry.InitialProperties), Specifications);
}

// ------------------------------------------------------------ the collection

TDesignerWidgets::TDesignerWidgets(QObject* Parent) : QObject(Parent) {
    for (const TDesignerEntry& Entry : DesignerEntries()) FWidgets.append(new TDesignerWidget(Entry, *this));
}

TDesignerWidgets::~TDesignerWidgets() {
    FinishLoading();
}

QList<QDesignerCustomWidgetInterface*> TDesignerWidgets::customWidgets() const {
    return FWidgets;
}

void TDesignerWidgets::BeginLoading() {
    if (FLoading) return;
    FLoading = std::make_unique<TLayoutLoading>();
    QMetaObject::invokeMethod(this, &TDesignerWidgets::FinishLoading, Qt::QueuedConnection);
}

void TDesignerWidgets::FinishLoading() {
    // The scope's destructor runs each LayoutLoaded and reports what one raises.
    FLoading.reset();
}

}  // namespace zent
