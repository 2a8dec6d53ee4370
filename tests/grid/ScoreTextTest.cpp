#include "grid/ScoreText.h"

#include "core/ResultTable.h"

#include <gtest/gtest.h>

namespace tabry::grid {
namespace {

constexpr bool kDiff = true;
constexpr bool kCount = false;

TEST(ScoreTextTest, DifferenceModeReadsTheLeadingSignedIntegerWithinTheBoard)
{
    EXPECT_EQ(ParseScoreText("+12", kDiff), 12);
    EXPECT_EQ(ParseScoreText("-4", kDiff), -4);
    EXPECT_EQ(ParseScoreText("  7x", kDiff), 7);
    EXPECT_EQ(ParseScoreText("", kDiff), 0);
    EXPECT_EQ(ParseScoreText("+", kDiff), 0);
    EXPECT_EQ(ParseScoreText("abc", kDiff), 0);
    EXPECT_EQ(ParseScoreText("65", kDiff), 64);
    EXPECT_EQ(ParseScoreText("-100", kDiff), -64);
    // A run of digits far beyond any integer is still only the board's edge.
    EXPECT_EQ(ParseScoreText("99999999999999999999999", kDiff), 64);
    EXPECT_EQ(ParseScoreText("-99999999999999999999999", kDiff), -64);
}

TEST(ScoreTextTest, CountModeTurnsTheDiscCountIntoTheDifference)
{
    EXPECT_EQ(ParseScoreText("33", kCount), 2);
    EXPECT_EQ(ParseScoreText("32", kCount), 0);
    EXPECT_EQ(ParseScoreText("32.5", kCount), 1);
    EXPECT_EQ(ParseScoreText("31.5", kCount), -1);
    EXPECT_EQ(ParseScoreText("32.0", kCount), 0);
    EXPECT_EQ(ParseScoreText("32.", kCount), 0);
    EXPECT_EQ(ParseScoreText("0", kCount), -64);
    EXPECT_EQ(ParseScoreText("64", kCount), 64);
    EXPECT_EQ(ParseScoreText("70", kCount), 64);
    EXPECT_EQ(ParseScoreText("32  ", kCount), 0); // as the arrows leave it
    // Nothing readable counts as a difference of 0, that is 32 discs.
    EXPECT_EQ(ParseScoreText("", kCount), 0);
    EXPECT_EQ(ParseScoreText(".5", kCount), 0);
    EXPECT_EQ(ParseScoreText("99999999999999999999999", kCount), 64);
}

TEST(ScoreTextTest, StepsMoveOneUnitOfTheStoredDifferenceAndStopAtTheEdges)
{
    EXPECT_EQ(StepScoreText("+12", 1, kDiff), "+13");
    EXPECT_EQ(StepScoreText("-1", 1, kDiff), "+0");
    EXPECT_EQ(StepScoreText("", -1, kDiff), "-1");
    EXPECT_EQ(StepScoreText("64", 1, kDiff), "+64");
    EXPECT_EQ(StepScoreText("-64", -1, kDiff), "-64");

    EXPECT_EQ(StepScoreText("32", 1, kCount), "32.5");
    EXPECT_EQ(StepScoreText("32.5", 1, kCount), "33  ");
    EXPECT_EQ(StepScoreText("32", -1, kCount), "31.5");
    EXPECT_EQ(StepScoreText("0", -1, kCount), "0  ");
    EXPECT_EQ(StepScoreText("64", 1, kCount), "64  ");
}

TEST(ScoreTextTest, TheFieldShowsTheStoredScoreInTheDisplayMode)
{
    EXPECT_EQ(ScoreFieldText(12, kDiff), "+12");
    EXPECT_EQ(ScoreFieldText(0, kDiff), "+0");
    EXPECT_EQ(ScoreFieldText(-4, kDiff), "-4");
    EXPECT_EQ(ScoreFieldText(12, kCount), "38");
    EXPECT_EQ(ScoreFieldText(1, kCount), "32.5");
    EXPECT_EQ(ScoreFieldText(-64, kCount), "0");
    // What the field shows reads back as the same score.
    for (int v = -64; v <= 64; ++v) {
        EXPECT_EQ(ParseScoreText(ScoreFieldText(v, kDiff), kDiff), v);
        EXPECT_EQ(ParseScoreText(ScoreFieldText(v, kCount), kCount), v);
    }
}

TEST(ScoreTextTest, TheMarkFollowsTheSignOfAnyNumberAndNothingElse)
{
    EXPECT_EQ(AutoMarkEntry("3", MarkBlank, kDiff), MarkWin);
    EXPECT_EQ(AutoMarkEntry("-", MarkWin, kDiff), MarkLoss);
    EXPECT_EQ(AutoMarkEntry("+", MarkLoss, kDiff), MarkWin);
    EXPECT_EQ(AutoMarkEntry("-2", MarkDraw, kDiff), MarkLoss);
    EXPECT_EQ(AutoMarkEntry("0", MarkBlank, kDiff), MarkDraw);
    // A zero is a draw over any mark: "3" then "32" in count mode passes
    // through a loss of 3 discs and must not stay one.
    EXPECT_EQ(AutoMarkEntry("0", MarkWin, kDiff), MarkDraw);
    EXPECT_EQ(AutoMarkEntry("32", MarkLoss, kCount), MarkDraw);
    EXPECT_EQ(AutoMarkEntry("33", MarkBlank, kCount), MarkWin);
    EXPECT_EQ(AutoMarkEntry("31.5", MarkWin, kCount), MarkLoss);
    EXPECT_EQ(AutoMarkEntry("3", MarkBlank, kCount), MarkLoss);  // 3 discs of 64
    EXPECT_EQ(AutoMarkEntry("3240", MarkLoss, kCount), MarkWin); // refused at the commit
    // Text that is no number says nothing about the game.
    EXPECT_EQ(AutoMarkEntry("", MarkLoss, kDiff), MarkLoss);
    EXPECT_EQ(AutoMarkEntry("  ", MarkBlank, kCount), MarkBlank);
    EXPECT_EQ(AutoMarkEntry("abc", MarkWin, kDiff), MarkWin);
}

TEST(ScoreTextTest, ACommitReadsTheWholeTextAndRefusesWhatNoGameEndsWith)
{
    using K = ScoreReading;
    struct Case {
        const char* text;
        bool difference;
        K::Kind kind;
        int disc;
    };
    const Case cases[] = {
        {"+12", kDiff, K::Number, 12},
        {" -4 ", kDiff, K::Number, -4},
        {"64", kDiff, K::Number, 64},
        {"-64", kDiff, K::Number, -64},
        {"65", kDiff, K::OutOfRange, 0},
        {"-3240", kDiff, K::OutOfRange, 0},
        {"99999999999999999999", kDiff, K::OutOfRange, 0},
        {"1.5", kDiff, K::NotANumber, 0},
        {"7x", kDiff, K::NotANumber, 0},
        {"+", kDiff, K::Number, 0}, // a sign alone: won or lost by default
        {" - ", kDiff, K::Number, 0},
        {"- 3", kDiff, K::NotANumber, 0},
        {"3 2", kDiff, K::NotANumber, 0},
        {"", kDiff, K::Empty, 0},
        {"32", kCount, K::Number, 0},
        {"32  ", kCount, K::Number, 0},
        {"32.5", kCount, K::Number, 1},
        {"32.", kCount, K::Number, 0},
        {"+40", kCount, K::Number, 16},
        {"0", kCount, K::Number, -64},
        {"63.5", kCount, K::Number, 63},
        {"64", kCount, K::Number, 64},
        {"3240", kCount, K::OutOfRange, 0},
        {"65", kCount, K::OutOfRange, 0},
        {"64.5", kCount, K::OutOfRange, 0},
        {"-1", kCount, K::OutOfRange, 0},
        {"-0", kCount, K::OutOfRange, 0},
        {"32.5.5", kCount, K::NotANumber, 0},
        {".5", kCount, K::NotANumber, 0},
        {"abc", kCount, K::NotANumber, 0},
        {"-", kCount, K::Number, 0},
        {"+", kCount, K::Number, 0},
        {"   ", kCount, K::Empty, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + (c.difference ? " (difference)" : " (count)"));
        const ScoreReading r = ReadScoreText(c.text, c.difference);
        EXPECT_EQ(r.kind, c.kind);
        if (c.kind == K::Number) {
            EXPECT_EQ(r.disc, c.disc);
        }
    }
    // Whatever the field shows or the arrows leave is a number to commit.
    for (int v = -64; v <= 64; ++v) {
        for (bool difference : {kDiff, kCount}) {
            const ScoreReading shown = ReadScoreText(ScoreFieldText(v, difference), difference);
            EXPECT_EQ(shown.kind, K::Number);
            EXPECT_EQ(shown.disc, v);
            const std::string stepped = StepScoreText(ScoreFieldText(v, difference), 0, difference);
            EXPECT_EQ(ReadScoreText(stepped, difference).disc, v) << stepped;
        }
    }
}

TEST(ScoreTextTest, SelectorEntriesAndResultsCorrespond)
{
    EXPECT_EQ(ResultOfMarkEntry(MarkBlank), ResultNone);
    EXPECT_EQ(ResultOfMarkEntry(MarkWin), ResultWin);
    EXPECT_EQ(ResultOfMarkEntry(MarkDraw), ResultDraw);
    EXPECT_EQ(ResultOfMarkEntry(MarkLoss), ResultLoss);
    EXPECT_EQ(ResultOfMarkEntry(-1), ResultNone); // nothing selected
    // NOLINTNEXTLINE(bugprone-signed-char-misuse): the results are -2..1, stored as signed bytes
    for (int result : {ResultWin, ResultDraw, ResultLoss, ResultNone})
        EXPECT_EQ(ResultOfMarkEntry(MarkEntryOfResult(result)), result);
}

} // namespace
} // namespace tabry::grid
