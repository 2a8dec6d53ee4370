#include "reports/Formatters.h"

#include "core/ResultTable.h"
#include "outputs/OutputKinds.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tabry {
namespace {

using test::S;

TEST(FormattersTest, HalfPointsShowTheHalfAndPadTheWideForm)
{
    EXPECT_EQ(FormatHalfPoints(0, true), "0.0");
    EXPECT_EQ(FormatHalfPoints(7, true), "3.5");
    EXPECT_EQ(FormatHalfPoints(38, true), "19.0");
    EXPECT_EQ(FormatHalfPoints(7, false), "    3.5");
    EXPECT_EQ(FormatHalfPoints(123456, false), "61728.0");
}

// The Brightwell score is printed from integers; it must match what the C
// library prints for v x 0.05 over the whole range a tournament can reach.
TEST(FormattersTest, BrightwellMatchesTheCLibraryOverTheWholeRange)
{
    for (int v = -3000; v <= 400000; ++v) {
        char compact[64];
        char wide[64];
        std::snprintf(compact, sizeof compact, "%3.2f", v * 0.05);
        std::snprintf(wide, sizeof wide, "%8.2f", v * 0.05);
        ASSERT_EQ(FormatBrightwell(v, true), compact) << v;
        ASSERT_EQ(FormatBrightwell(v, false), wide) << v;
    }
    EXPECT_EQ(FormatBrightwell(1680, true), "84.00");
    EXPECT_EQ(FormatBrightwell(1, false), "    0.05");
}

TEST(FormattersTest, DiscDifferenceSignsAndPadding)
{
    EXPECT_EQ(FormatDiscValue(12, false, 1, true, true), "+12");
    EXPECT_EQ(FormatDiscValue(-4, false, 1, true, true), "- 4");
    EXPECT_EQ(FormatDiscValue(0, false, 1, true, true), "  0");
    EXPECT_EQ(FormatDiscValue(0, true, 1, true, true), "+0");
    EXPECT_EQ(FormatDiscValue(-4, true, 1, true, true), "-4");
    EXPECT_EQ(FormatDiscValue(-64, false, 1, false, true), "-64");
    EXPECT_EQ(FormatDiscValue(-300, false, 7, true, true), "-300");
}

TEST(FormattersTest, DiscCountIsTheOwnCountWithHalfOrTwoBlanks)
{
    EXPECT_EQ(FormatDiscValue(3, false, 1, true, false), "33.5");
    EXPECT_EQ(FormatDiscValue(-2, false, 1, true, false), "31  ");
    EXPECT_EQ(FormatDiscValue(-2, false, 1, false, false), "31");
    EXPECT_EQ(FormatDiscValue(12, false, 1, true, false), "38  ");
    EXPECT_EQ(FormatDiscValue(-64, false, 1, true, false), " 0  ");
    EXPECT_EQ(FormatDiscValue(-64, true, 1, true, false), "0  ");
    // Totals: each game adds 64 discs before halving.
    EXPECT_EQ(FormatDiscValue(16, false, 2, true, false), "72  ");
    EXPECT_EQ(FormatDiscValue(-7, false, 3, true, false), "92.5");
    EXPECT_EQ(FormatDiscValue(0, false, 0, true, false), " 0  ");
}

TEST(FormattersTest, ResultMarks)
{
    EXPECT_EQ(ResultMark(ResultWin), S("○"));
    EXPECT_EQ(ResultMark(5), S("○"));
    EXPECT_EQ(ResultMark(ResultDraw), S("△"));
    EXPECT_EQ(ResultMark(ResultLoss), S("×"));
    EXPECT_EQ(ResultMark(-7), S("×"));
    EXPECT_EQ(ResultMark(ResultNone), "");
}

TEST(FormattersTest, HomePageComesFromTheBuildSetting)
{
    EXPECT_EQ(ProgramHomePage(), TABRY_HOMEPAGE_URL);
}

TEST(DefaultReportFileNameTest, DropsOnlyAnExactTrailingStg)
{
    EXPECT_EQ(DefaultReportFileName("spring.stg"), "spring");
    EXPECT_EQ(DefaultReportFileName(S("春季大会.stg")), S("春季大会"));
    EXPECT_EQ(DefaultReportFileName("spring.STG"), "spring.STG");
    EXPECT_EQ(DefaultReportFileName("spring"), "spring");
    EXPECT_EQ(DefaultReportFileName("a.stg.stg"), "a.stg");
    EXPECT_EQ(DefaultReportFileName(".stg"), "");
    EXPECT_EQ(DefaultReportFileName("stg"), "stg");
    EXPECT_EQ(DefaultReportFileName(""), "");
}

} // namespace
} // namespace tabry
