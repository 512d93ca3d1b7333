// Draws one widget made in C++ and saves what it grabs, the reference the
// Python tests compare their own widget against:
//   zent_pixel_reference OUT.png CLASS WIDTH HEIGHT [Property=Value ...]
// CLASS is TSevenSeg or TNumLab; each property is written through Qt's
// property system in the order given (enumerations by name, colours as
// #rrggbb, numbers and texts as written).
#include <QApplication>
#include <QColor>
#include <QImage>
#include <QMetaProperty>
#include <QVariant>
#include <cstdio>
#include <memory>

#include "Zent_NumLab.h"
#include "Zent_sevenseg.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    const QStringList Args = App.arguments();
    if (Args.size() < 5) {
        std::fprintf(stderr, "usage: %s OUT.png CLASS WIDTH HEIGHT [Property=Value ...]\n", argv[0]);
        return 2;
    }
    std::unique_ptr<QWidget> Widget;
    if (Args[2] == "TSevenSeg")
        Widget = std::make_unique<zent::TSevenSeg>();
    else if (Args[2] == "TNumLab")
        Widget = std::make_unique<zent::TNumLab>();
    else {
        std::fprintf(stderr, "unknown class %s\n", qPrintable(Args[2]));
        return 2;
    }
    Widget->resize(Args[3].toInt(), Args[4].toInt());
    for (const QString& Setting : Args.mid(5)) {
        const qsizetype Eq = Setting.indexOf('=');
        const QByteArray Name = Setting.left(Eq).toUtf8();
        const QString Text = Setting.mid(Eq + 1);
        const int Index = Widget->metaObject()->indexOfProperty(Name.constData());
        QVariant Value(Text);
        if (Eq < 1 || Index < 0) {
            std::fprintf(stderr, "unknown property in %s\n", qPrintable(Setting));
            return 2;
        }
        if (Widget->metaObject()->property(Index).metaType() == QMetaType::fromType<QColor>())
            Value = QColor::fromString(Text);  // a string converts to QColor only this way
        if (!Widget->setProperty(Name.constData(), Value)) {
            std::fprintf(stderr, "cannot set %s\n", qPrintable(Setting));
            return 2;
        }
    }
    const QImage Picture = Widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return Picture.save(Args[1]) ? 0 : 1;
}
