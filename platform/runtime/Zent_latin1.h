// The one crossing between the library's byte strings and QString.
//
// Strings of the library are bytes in ISO-8859-1 (the degree sign is 0xB0);
// Qt's are UTF-16. Every conversion between the two goes through this pair,
// so embedded NUL bytes and the characters outside Latin-1 are treated alike
// everywhere.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zent {

// Every byte becomes the character of the same code; NUL bytes included.
QString Latin1ToQString(std::string_view Text);
// Every character becomes its Latin-1 byte; characters outside Latin-1
// become '?'. NUL characters are kept.
std::string QStringToLatin1(const QString& Text);

}  // namespace zent
