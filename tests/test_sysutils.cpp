#include <gtest/gtest.h>

#include "Zent_sysutils.h"

using namespace zent;

TEST(Format, ReplacesEachPlaceholderInTurn) {
    EXPECT_EQ(Format("Cannot assign a %s to a %s", {"nil", "TSevenSeg"}),
              "Cannot assign a nil to a TSevenSeg");
    EXPECT_EQ(Format("Resource %s not found", {}), "Resource  not found");
    EXPECT_EQ(Format("100%% %s", {"done", "extra"}), "100% done");
}

TEST(ErrorReportText, AppendsFullStopOnlyAfterCharactersSortingAfterDot) {
    EXPECT_EQ(ErrorReportText("logarithm: invalid argument"), "logarithm: invalid argument.");
    EXPECT_EQ(ErrorReportText("Resource SEGX not found."), "Resource SEGX not found.");
    EXPECT_EQ(ErrorReportText("Really!"), "Really!");  // '!' sorts before '.'
    EXPECT_EQ(ErrorReportText("count 7"), "count 7.");
    EXPECT_EQ(ErrorReportText("path/"), "path/.");   // '/' sorts after '.'
    EXPECT_EQ(ErrorReportText(""), "");
}

TEST(UpperCase, ChangesOnlyAsciiLetters) {
    const std::string In = std::string("az AZ09.\xE4\xB0", 10), Want = std::string("AZ AZ09.\xE4\xB0", 10);
    std::string Out;
    for (const char C : In) Out += UpperCase(C);
    EXPECT_EQ(Out, Want);
}
