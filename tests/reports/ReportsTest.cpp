// Checks every writer must pass, whatever its format.
#include "reports/Reports.h"

#include "reports/ReportRows.h"
#include "tests/reports/ReportFixture.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::S;
using test::TournamentBuilder;

const ReportKind kAllKinds[] = {ReportKind::RatingCsv,  ReportKind::Text,
                                ReportKind::Html,       ReportKind::Zep,
                                ReportKind::ScoreSheet, ReportKind::ScoreSheetThrough,
                                ReportKind::PairingTable};

std::string Name(const ::testing::TestParamInfo<ReportKind>& info)
{
    const char* const names[] = {"RatingCsv", "Text", "Html", "Zep", "ScoreSheet", "ScoreSheetThrough", "PairingTable"};
    return names[static_cast<int>(info.param)];
}

// Every line of `bytes` ends in CR LF and no CR or LF stands alone.
::testing::AssertionResult OnlyCrLf(const std::string& bytes)
{
    for (size_t i = 0; i < bytes.size(); ++i) {
        const bool cr = bytes[i] == '\r';
        const bool lf = bytes[i] == '\n';
        if (cr && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))
            return ::testing::AssertionFailure() << "bare CR at byte " << i;
        if (lf && (i == 0 || bytes[i - 1] != '\r'))
            return ::testing::AssertionFailure() << "bare LF at byte " << i;
    }
    if (!bytes.empty() && bytes.substr(bytes.size() - 2) != "\r\n")
        return ::testing::AssertionFailure() << "the last line has no line end";
    return ::testing::AssertionSuccess();
}

class EveryReportTest : public ::testing::TestWithParam<ReportKind> {
protected:
    std::string Render(TournamentData& d)
    {
        std::string out;
        std::string refusal;
        EXPECT_EQ(RenderReport(GetParam(), d, 1, out, &refusal), 0);
        return out;
    }
};

TEST_P(EveryReportTest, WritesOnlyCrLfLineEnds)
{
    TournamentData d = test::SpringCup();
    const std::string out = Render(d);
    EXPECT_FALSE(out.empty());
    EXPECT_TRUE(OnlyCrLf(out));
}

TEST_P(EveryReportTest, ATableWithoutPlayersGivesAValidFile)
{
    TournamentData d;
    const std::string out = Render(d);
    EXPECT_TRUE(OnlyCrLf(out));
    EXPECT_EQ(out.find("PASS"), std::string::npos);
    EXPECT_EQ(out.find(S("勝")), std::string::npos); // no record of any player
}

TEST_P(EveryReportTest, LeavesTheRowsCellsAndTotalsOfTheTable)
{
    TournamentData d = test::SpringCup();
    d.table.Entry(3).draws = 5; // stale totals stay stale
    const std::string saved = d.Save();
    Render(d);
    EXPECT_EQ(d.Save(), saved);
    EXPECT_EQ(d.table.Entry(3).draws, 5);
}

// The largest table the program accepts, with long names: nothing overflows
// and the layout stays line-based.
TEST_P(EveryReportTest, TheLargestTable)
{
    TournamentBuilder b(kMaxPlayers, kMaxRounds);
    std::string longName;
    for (int i = 0; i < 60; ++i)
        longName += "漢";
    for (int r = 0; r < kMaxPlayers; ++r)
        b.Player(r, test::Numbered(longName, r), test::Numbered("短", r), "鹿児島", r % 19 - 9);
    // Round j pairs every row r with r XOR (2j + 1): an even row with an odd one.
    for (int j = 0; j < kMaxRounds; ++j)
        for (int r = 0; r < kMaxPlayers; ++r) {
            const int other = r ^ (2 * j + 1);
            if (r < other)
                b.Game(j, r, other, static_cast<std::int8_t>(j % 3 - 1), (j * 7 + r) % 129 - 64);
        }
    TournamentData& d = b.Done();
    d.table.Sort(DiscDifference, false);
    const std::string out = Render(d);
    EXPECT_TRUE(OnlyCrLf(out));
    EXPECT_GT(out.size(), 50000u);
}

INSTANTIATE_TEST_SUITE_P(Reports, EveryReportTest, ::testing::ValuesIn(kAllKinds), Name);

} // namespace
} // namespace tabry
