// The Qt Designer plugin: the display widgets and the standard controls in
// Designer's widget box, and the factory QUiLoader uses for them at run time.
#pragma once

#include <QIcon>
#include <QObject>
#include <QSize>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <memory>
#include <span>

namespace zent {

class TLayoutLoading;

// What Designer's property editor says of one property.
struct TPropertyNote {
    const char* Name;
    const char* ToolTip;  // null: none
    // A one-line string stored as written: Designer marks it notr="true", so
    // uic sets it in stored order rather than in retranslateUi.
    bool Text = false;
};

// One class the plugin offers, as data.
struct TDesignerEntry {
    const char* ClassName;   // as .ui files declare it, with its namespace
    const char* Header;      // the unit's header, which uic includes
    const char* Group;       // the section of Designer's widget box
    const char* ObjectName;  // the name Designer gives the first one placed
    const char* ToolTip;
    const char* WhatsThis;
    bool Container;  // other controls may be placed inside it
    QWidget* (*Create)(QWidget* Parent);
    // Sets up an instance for the picture Designer shows in its widget box.
    void (*Showcase)(QWidget* Widget);
    // The size a new control gets; when invalid, the size the control sets
    // itself, or else its size hint.
    QSize DefaultSize;
    // <property> elements a new control starts with, as .ui XML.
    const char* InitialProperties;
    std::span<const TPropertyNote> Notes;
};

// Every class the plugin offers, in widget-box order.
std::span<const TDesignerEntry> DesignerEntries();

class TDesignerWidgets;

// Designer's description of one class. The icon and the default size come
// from an instance made the first time either is asked for.
class TDesignerWidget : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    TDesignerWidget(const TDesignerEntry& Entry, TDesignerWidgets& Collection);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QString domXml() const override;
    // Designer calls initialize with its core; QUiLoader never does. A
    // control created after it is being designed.
    bool isInitialized() const override { return FInitialized; }
    void initialize(QDesignerFormEditorInterface* Core) override;
    // Null when the control cannot be made; the reason is reported.
    QWidget* createWidget(QWidget* Parent) override;

    QSize DefaultSize() const;

private:
    void MakeSample() const;

    const TDesignerEntry& FEntry;
    TDesignerWidgets& FCollection;
    bool FInitialized = false;
    mutable bool FSampled = false;
    mutable QIcon FIcon;
    mutable QSize FDefaultSize;
};

// The plugin's root object.
//
// Controls it creates load as a window layout does: all that are created
// before control returns to the event loop start in the loading state, take
// their properties in stored order, and then get LayoutLoaded in creation
// order. That is how QUiLoader and Designer read a .ui file: control by
// control, property by property, and then back to the event loop.
class TDesignerWidgets : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TDesignerWidgets(QObject* Parent = nullptr);
    ~TDesignerWidgets() override;

    QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

    // Opens the loading scope unless one is open; it ends when control
    // returns to the event loop.
    void BeginLoading();
    // Ends the open loading scope now: LayoutLoaded for each control
    // created in it. Invokable, so that a program that loaded a .ui file
    // through QUiLoader may finish loading before it returns to the loop.
    Q_INVOKABLE void FinishLoading();

private:
    QList<QDesignerCustomWidgetInterface*> FWidgets;
    std::unique_ptr<TLayoutLoading> FLoading;
};

}  // namespace zent
