#include <gtest/gtest.h>

#include "Zent_latin1.h"

using namespace zent;

TEST(Latin1, RoundTripKeepsEveryByteIncludingNul) {
    std::string All;
    for (int b = 0; b < 256; ++b) All += char(b);
    const QString Text = Latin1ToQString(All);
    ASSERT_EQ(Text.size(), 256);
    EXPECT_EQ(Text[0xB0], QChar(0x00B0));  // the degree sign
    EXPECT_EQ(QStringToLatin1(Text), All);
    EXPECT_EQ(QStringToLatin1(QStringLiteral("a\u20ACb")), "a?b");  // outside Latin-1
}
