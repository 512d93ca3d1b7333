#include "Zent_events.h"

#include "Zent_latin1.h"

namespace zent {

TTextEvent::TUnicodeHandler TTextEvent::FromLatin1(TLatin1Handler Handler) {
    return [Latin1 = std::move(Handler)](QObject* Sender, QString& Text) {
        std::string Bytes = QStringToLatin1(Text);
        Latin1(Sender, Bytes);
        Text = Latin1ToQString(Bytes);
    };
}

void TTextEvent::operator()(QObject* Sender, std::string& Text) const {
    QString Unicode = Latin1ToQString(Text);
    FHandler(Sender, Unicode);
    Text = QStringToLatin1(Unicode);
}

}  // namespace zent
