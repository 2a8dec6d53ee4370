#include "app/FileDetailsLogic.h"

#include "core/TournamentInfo.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tabry::app {
namespace {

DetailsText Valid()
{
    return {QString::fromUtf8("春季大会"), "2004", "5", "3"};
}

TEST(FileDetailsLogicTest, ValidDetailsAndYearZeroPass)
{
    EXPECT_FALSE(ValidateDetails(Valid()).has_value());
    DetailsText t = Valid();
    t.year = "0";
    EXPECT_FALSE(ValidateDetails(t).has_value());
    t.month = "2";
    t.day = "31"; // the day is not compared with the month
    EXPECT_FALSE(ValidateDetails(t).has_value());
    t.year = " +12 ";
    EXPECT_FALSE(ValidateDetails(t).has_value());
}

TEST(FileDetailsLogicTest, NumbersOutsideTheirRangeNameTheBounds)
{
    struct Case {
        DetailsField field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {DetailsField::Year, "10000", "0 から 9999 までの整数を入力してください。"},
        {DetailsField::Year, "-1", "0 から 9999 までの整数を入力してください。"},
        {DetailsField::Month, "0", "1 から 12 までの整数を入力してください。"},
        {DetailsField::Month, "13", "1 から 12 までの整数を入力してください。"},
        {DetailsField::Day, "0", "1 から 31 までの整数を入力してください。"},
        {DetailsField::Day, "32", "1 から 31 までの整数を入力してください。"},
    };
    for (const Case& c : cases) {
        DetailsText t = Valid();
        (c.field == DetailsField::Year ? t.year : c.field == DetailsField::Month ? t.month : t.day) = c.text;
        const auto error = ValidateDetails(t);
        ASSERT_TRUE(error.has_value()) << c.text;
        EXPECT_EQ(error->field, c.field);
        EXPECT_EQ(error->message, QString::fromUtf8(c.message));
    }
}

TEST(FileDetailsLogicTest, TextThatIsNoIntegerIsRefusedInFieldOrder)
{
    DetailsText t = Valid();
    t.year = "abc";
    t.day = "";
    auto error = ValidateDetails(t);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->field, DetailsField::Year);
    EXPECT_EQ(error->message, QString::fromUtf8("整数を入力してください。"));
    for (const char* bad : {"", " ", "12a", "1 2", "+", "99999999999"})
        EXPECT_FALSE(ParseIntegerField(bad).has_value()) << bad;
    EXPECT_EQ(ParseIntegerField(" -7 "), -7);
}

TEST(FileDetailsLogicTest, NamesAreLimitedTo128ShiftJisBytesWithoutLineBreaks)
{
    DetailsText t = Valid();
    t.name = QString(64, QChar(0x3042)); // 64 x "あ" = 128 bytes
    EXPECT_FALSE(ValidateDetails(t).has_value());
    t.name += 'x';
    auto error = ValidateDetails(t);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->field, DetailsField::Name);
    EXPECT_EQ(error->message, QString::fromUtf8("128 文字以内で入力してください。"));
    t.name = QStringLiteral("a\nb");
    ASSERT_TRUE(ValidateDetails(t).has_value());
    EXPECT_EQ(ValidateDetails(t)->field, DetailsField::Name);
    t.name = QString::fromUtf8("大会\u00e9"); // no Shift_JIS code
    ASSERT_TRUE(ValidateDetails(t).has_value());
}

TEST(FileDetailsLogicTest, ApplyStoresTheNameAsShiftJis)
{
    CTournamentInfo info;
    ApplyDetails(Valid(), info);
    EXPECT_EQ(test::U(info.name), "春季大会");
    EXPECT_EQ(info.year, 2004);
    EXPECT_EQ(info.month, 5);
    EXPECT_EQ(info.day, 3);
    const DetailsText back = DetailsText::FromInfo(info);
    EXPECT_EQ(back.name, QString::fromUtf8("春季大会"));
    EXPECT_EQ(back.year, "2004");
}

} // namespace
} // namespace tabry::app
