#include "playerdb/PlayerText.h"

#include "tests/support/TestSupport.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <climits>

namespace tabry {
namespace {

using test::S;

TEST(FoldLowerCaseTest, FoldsAsciiOnlyAndNeverATrailByte)
{
    EXPECT_EQ(FoldLowerCase("ABC xyz 09"), "abc xyz 09");
    EXPECT_EQ(FoldLowerCase(S("アイ")), S("アイ")); // trail bytes 0x41 and 0x43
    EXPECT_EQ(FoldLowerCase(S("Ａ")), S("Ａ"));
    // A lead byte followed by a non-trail byte is copied alone; the next byte folds.
    EXPECT_EQ(FoldLowerCase("\x83\x1F"
                            "A"),
              "\x83\x1F"
              "a");
    EXPECT_EQ(FoldLowerCase("Z\x83"), "z\x83");
}

TEST(FoldLowerCaseTest, NoDoubleByteCharacterIsEverChanged)
{
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!cp932::IsLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!cp932::IsTrailByte(static_cast<unsigned char>(trail)))
                continue;
            const std::string ch{static_cast<char>(lead), static_cast<char>(trail)};
            ASSERT_EQ(FoldLowerCase("A" + ch + "B"), "a" + ch + "b") << std::hex << lead << trail;
        }
    }
}

TEST(EscapeFieldTest, EscapesPercentAndCommaAndRoundTrips)
{
    EXPECT_EQ(EscapeField("a,b%"), "a%cb%%");
    EXPECT_EQ(EscapeField(""), "");
    EXPECT_EQ(UnescapeField("a%cb%%"), "a,b%");
    EXPECT_EQ(UnescapeField("%x"), "%");
    EXPECT_EQ(UnescapeField("ab%"), "ab%");
    EXPECT_EQ(UnescapeField("%"), "%");
    EXPECT_EQ(UnescapeField("%C"), "%");
    for (const char* text : {"%%%", ",,", "%c%", "plain", "%,%,"})
        EXPECT_EQ(UnescapeField(EscapeField(text)), text);
}

TEST(TrimBlanksTest, TrimsBlanksAndTabsButNotFullWidthSpaces)
{
    EXPECT_EQ(TrimBlanks("  x y  "), "x y");
    EXPECT_EQ(TrimBlanks("\t \t"), "");
    EXPECT_EQ(TrimBlanks(S("　名　")), S("　名　"));
    const std::string longText(300, 'q');
    EXPECT_EQ(TrimBlanks(" " + longText + " "), longText); // kept whole
}

TEST(GradeTest, FormatGradeClampsBothWays)
{
    EXPECT_EQ(FormatGrade(0), "");
    EXPECT_EQ(FormatGrade(1), S("初段"));
    EXPECT_EQ(FormatGrade(2), S("二段"));
    EXPECT_EQ(FormatGrade(12), S("九段"));
    EXPECT_EQ(FormatGrade(-1), S("１級"));
    EXPECT_EQ(FormatGrade(-12), S("９級"));
    EXPECT_EQ(FormatGrade(INT_MIN), S("９級"));
    EXPECT_EQ(FormatGrade(INT_MAX), S("九段"));
}

TEST(GradeTest, TextsAndComboIndices)
{
    EXPECT_EQ(GradeRankOfText(S("５級")), 0);
    EXPECT_EQ(GradeRankOfText(S("九段")), 13);
    EXPECT_EQ(GradeRankOfText(S("６級")), -1);
    EXPECT_EQ(GradeRankOfText(""), -1);
    EXPECT_EQ(GradeFromText(S("二段")), 2);
    EXPECT_EQ(GradeFromText(S("ニ段")), 0); // katakana ni, as the combo box shows it
    EXPECT_EQ(GradeFromText(S("３級")), -3);
    EXPECT_EQ(GradeFromText(S("７級")), 0);
    EXPECT_EQ(GradeFromComboIndex(-1), 9);
    EXPECT_EQ(GradeFromComboIndex(0), 9);
    EXPECT_EQ(GradeFromComboIndex(8), 1);
    EXPECT_EQ(GradeFromComboIndex(9), -1);
    EXPECT_EQ(GradeFromComboIndex(14), 0);
    EXPECT_EQ(GradeFromComboIndex(99), 0);
    EXPECT_EQ(GradeToComboIndex(-7), 14);
    EXPECT_EQ(GradeToComboIndex(1), 8);
    EXPECT_EQ(GradeToComboIndex(0), 14);
    EXPECT_EQ(GradeToComboIndex(12), 14);
    ASSERT_EQ(GradeComboTexts().size(), 15u);
    EXPECT_EQ(GradeComboTexts()[7], S("ニ段"));
    EXPECT_EQ(GradeComboTexts()[14], S("無し"));
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(GradeToComboIndex(GradeFromComboIndex(i)), i);
}

TEST(PrefectureTest, FortySevenNamesInCodeOrder)
{
    ASSERT_EQ(PrefectureNames().size(), 47u);
    EXPECT_EQ(PrefectureIndexOfText(S("北海道")), 0);
    EXPECT_EQ(PrefectureIndexOfText(S("東京")), 12);
    EXPECT_EQ(PrefectureIndexOfText(S("神奈川")), 13);
    EXPECT_EQ(PrefectureIndexOfText(S("京都")), 25);
    EXPECT_EQ(PrefectureIndexOfText(S("大阪")), 26);
    EXPECT_EQ(PrefectureIndexOfText(S("鹿児島")), 45);
    EXPECT_EQ(PrefectureIndexOfText(S("沖縄")), 46);
    EXPECT_EQ(PrefectureIndexOfText(S("東京都")), -1);
    EXPECT_EQ(PrefectureIndexOfText(""), -1);
}

} // namespace
} // namespace tabry
