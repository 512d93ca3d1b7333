#include "Zent_latin1.h"

#include <QByteArray>

namespace zent {

QString Latin1ToQString(std::string_view Text) {
    return QString::fromLatin1(Text.data(), qsizetype(Text.size()));
}

std::string QStringToLatin1(const QString& Text) {
    const QByteArray Bytes = Text.toLatin1();
    return std::string(Bytes.constData(), std::size_t(Bytes.size()));
}

}  // namespace zent
