#include "text/LineString.h"

#include <gtest/gtest.h>

#include <climits>

namespace tabry {
namespace {

std::vector<std::string> Items(const CFieldList& list)
{
    std::vector<std::string> out;
    for (const CLineString& s : list)
        out.push_back(s.str());
    return out;
}

std::vector<std::string> SplitComma(std::string_view text, int maxCount = -1)
{
    CFieldList list;
    const int n = CLineString(text).Split(list, ',', maxCount);
    EXPECT_EQ(n, list.Count());
    return Items(list);
}

using V = std::vector<std::string>;

TEST(SplitTest, KeepsInnerEmptyFieldsButNoTrailingOne)
{
    EXPECT_EQ(SplitComma("5,3,1,0,60"), (V{"5", "3", "1", "0", "60"}));
    EXPECT_EQ(SplitComma("5,3,1,0,60,"), (V{"5", "3", "1", "0", "60"}));
    EXPECT_EQ(SplitComma("a,,b"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitComma(",a"), (V{"", "a"}));
    EXPECT_EQ(SplitComma("a,"), (V{"a"}));
    EXPECT_EQ(SplitComma("a,,"), (V{"a", ""}));
    EXPECT_EQ(SplitComma(","), (V{""}));
    EXPECT_EQ(SplitComma("x"), (V{"x"}));
    EXPECT_EQ(SplitComma(""), V{});
}

TEST(SplitTest, LimitPutsTheRestIntoTheLastItem)
{
    EXPECT_EQ(SplitComma("a,b,c", 2), (V{"a", "b,c"}));
    EXPECT_EQ(SplitComma("a,b,c", 1), (V{"a", "b", "c"})); // 1 means no limit
    EXPECT_EQ(SplitComma("a,b,c", 3), (V{"a", "b", "c"}));
    EXPECT_EQ(SplitComma("a,b,", 2), (V{"a", "b,"}));
}

TEST(SplitTest, StopsAtAnEmbeddedNul)
{
    CLineString s;
    s.Assign("a,b\0,c", 6);
    CFieldList list;
    EXPECT_EQ(s.Split(list, ',', -1), 2);
    EXPECT_EQ(list.Get(1).str(), "b");
}

TEST(SplitTest, LeavesShiftJisDoubleByteCharactersWhole)
{
    // 表 is 0x95 0x5C: its trail byte is a backslash, never a delimiter here.
    const std::string text = "\x95\x5C,\x83\x41";
    EXPECT_EQ(SplitComma(text), (V{"\x95\x5C", "\x83\x41"}));
}

TEST(SplitWhiteTest, SkipsRunsOfWhiteSpace)
{
    CFieldList list;
    EXPECT_EQ(CLineString("  ab\tcd ").SplitWhite(list, -1), 2);
    EXPECT_EQ(Items(list), (V{"ab", "cd"}));
    EXPECT_EQ(CLineString(" \r\n\t ").SplitWhite(list, -1), 0);
    EXPECT_EQ(CLineString("").SplitWhite(list, -1), 0);
}

TEST(SplitWhiteTest, LimitTakesTheRestWithItsInnerAndTrailingWhiteSpace)
{
    CFieldList list;
    EXPECT_EQ(CLineString("  a  b c  ").SplitWhite(list, 2), 2);
    EXPECT_EQ(Items(list), (V{"a", "b c  "}));
}

TEST(FieldListTest, GetOutOfRangeGivesTheSharedEmptyString)
{
    CFieldList list;
    list.Append("x");
    list.Append("y");
    list.Append("z");
    EXPECT_TRUE(list.Get(7).IsEmpty());
    EXPECT_TRUE(list.Get(-1).IsEmpty());
    EXPECT_EQ(ParseDecimal(list.Get(7).str()), 0);
    EXPECT_EQ(list.Find("y"), 1);
    EXPECT_EQ(list.Find("w"), -1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(LineStringTest, AssignAndCharAtEdges)
{
    CLineString s;
    s.Assign("hello", -1);
    EXPECT_EQ(s.str(), "hello");
    s.Assign("hello", 3);
    EXPECT_EQ(s.str(), "hel");
    s.Assign(nullptr, 5);
    EXPECT_TRUE(s.IsEmpty());
    s.Assign("abc", 0);
    EXPECT_TRUE(s.IsEmpty());
    s.Assign("ab", -1);
    EXPECT_EQ(s.CharAt(1), 'b');
    EXPECT_EQ(s.CharAt(2), 0);
    EXPECT_EQ(s.CharAt(-1), 0);
    EXPECT_TRUE(s.Equals("ab"));
    EXPECT_TRUE(s.NotEquals("abc"));
    EXPECT_TRUE(s.NotEquals("a"));
}

TEST(TrimSpacesTest, RemovesBlankTabCrLfAtBothEndsOnly)
{
    std::string t = " \t5,3 ,1\r\n";
    TrimSpaces(t);
    EXPECT_EQ(t, "5,3 ,1");
    t = "   \r\n";
    TrimSpaces(t);
    EXPECT_EQ(t, "");
    t = "\x81\x40x\x81\x40"; // the full-width space is not white space here
    TrimSpaces(t);
    EXPECT_EQ(t, "\x81\x40x\x81\x40");
}

TEST(ParseDecimalTest, BehavesLikeAtoiWithoutOverflow)
{
    EXPECT_EQ(ParseDecimal("42"), 42);
    EXPECT_EQ(ParseDecimal("  -7x"), -7);
    EXPECT_EQ(ParseDecimal("+3"), 3);
    EXPECT_EQ(ParseDecimal("\t12 "), 12);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("abc"), 0);
    EXPECT_EQ(ParseDecimal("-"), 0);
    EXPECT_EQ(ParseDecimal("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseDecimal("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(ParseDecimal("-2147483648"), INT_MIN);
}

TEST(SplitLinesTest, AcceptsCrLfAndBareLf)
{
    const auto lines = SplitLines("a\r\nb\nc\r\n\r\nd");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1], "b");
    EXPECT_EQ(lines[2], "c");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "d");
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(SplitLines("x\r\n").size(), 1u);
    EXPECT_EQ(SplitLines("a\rb\n")[0], "a\rb"); // a CR inside a line stays
    EXPECT_EQ(SplitLines(std::string_view("ab\0cd\n", 6))[0], "ab");
}

TEST(SplitLinesTest, FirstLineWithNulCountsLinesAsTheSplitterDoes)
{
    using namespace std::literals;
    EXPECT_EQ(FirstLineWithNul("a\r\nb\r\n"), 0);
    EXPECT_EQ(FirstLineWithNul("\0"sv), 1);
    EXPECT_EQ(FirstLineWithNul("a\r\n\0b\0\r\n\0"sv), 2);
    EXPECT_EQ(FirstLineWithNul("a\rb\nc\r\0\n"sv), 2); // a bare CR ends no line
    const std::string data = "x\r\ny\r\nz\r\nw\0"s;
    EXPECT_EQ(SplitLines(data).size(), static_cast<size_t>(FirstLineWithNul(data)));
}

} // namespace
} // namespace tabry
