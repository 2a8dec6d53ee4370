#include "reports/InterimOutputs.h"

#include "outputs/OutputKinds.h"
#include "reports/ReportRows.h"
#include "tests/reports/ReportFixture.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::CrLf;
using test::S;
using test::TournamentBuilder;
using test::U;

std::string Render(OutputKind kind, TournamentData& d, int round = 0)
{
    std::string out;
    std::string refusal;
    EXPECT_EQ(RenderOutput(kind, d, round, out, &refusal), OutputStatus::Ok) << U(refusal);
    return out;
}

TEST(ScoreSheetTest, AllRoundsInStandingsOrder)
{
    TournamentData d = test::SpringCup();
    EXPECT_EQ(U(Render(OutputKind::ScoreSheet, d)),
              U(CrLf({
                  S("1.,山田 太郎,三段,東京,,○+12,佐藤,○+ 4,ジョン,,鈴木,,2勝 0敗 0分,+16"),
                  S("2.,佐藤　花子,２級,大阪,,×-12,山田,○+ 4,鈴木,○  0,不戦,,2勝 1敗 0分,- 8"),
                  S("3.,ジョン・スミス,,,,△  0,鈴木,×- 4,山田,,,,0勝 1敗 1分,- 4"),
                  S("3.,鈴木一郎,初段,北海道,,△  0,ジョン,×- 4,佐藤,,山田,,0勝 1敗 1分,- 4"),
              })));
}

TEST(ScoreSheetTest, TwoTieBreakValuesEndTheLine)
{
    TournamentData d = test::SpringCup();
    d.table.settings.tieBreak = WinPointsBSecondary;
    const std::string out = Render(OutputKind::ScoreSheet, d);
    EXPECT_EQ(U(out.substr(0, out.find("\r\n"))),
              "1.,山田 太郎,三段,東京,,○+12,佐藤,○+ 4,ジョン,,鈴木,,2勝 0敗 0分,2.5,0.5");
}

// After round 1: A won, C and D drew, B lost; later rounds are two empty
// fields each, and the rows tied on the limited totals keep the order of
// the full standings.
TEST(ScoreSheetTest, ThroughARoundCountsOnlyTheRoundsUpToIt)
{
    TournamentData d = test::SpringCup();
    EXPECT_EQ(U(Render(OutputKind::ScoreSheet, d, 1)),
              U(CrLf({
                  S("1.,山田 太郎,三段,東京,,○+12,佐藤,,,,,,1勝 0敗 0分,+12"),
                  S("2.,ジョン・スミス,,,,△  0,鈴木,,,,,,0勝 0敗 1分,  0"),
                  S("2.,鈴木一郎,初段,北海道,,△  0,ジョン,,,,,,0勝 0敗 1分,  0"),
                  S("4.,佐藤　花子,２級,大阪,,×-12,山田,,,,,,0勝 1敗 0分,-12"),
              })));
    EXPECT_EQ(Render(OutputKind::ScoreSheet, d, 3), Render(OutputKind::ScoreSheet, d));
}

TEST(ScoreSheetTest, ThroughARoundUsesTheRoundLimitedTieBreakValues)
{
    TournamentData d = test::SpringCup();
    d.table.settings.tieBreak = WinPointsA;
    // After round 1 A's only opponent B has no points, C's and D's a draw each.
    std::vector<std::string> tails;
    const std::string out = Render(OutputKind::ScoreSheet, d, 1);
    for (size_t from = 0; from < out.size();) {
        const size_t end = out.find("\r\n", from);
        const std::string line = out.substr(from, end - from);
        tails.push_back(U(line.substr(0, 2) + line.substr(line.rfind(',', line.size()))));
        from = end + 2;
    }
    EXPECT_EQ(tails, (std::vector<std::string>{"1.,0.0", "2.,0.5", "2.,0.5", "4.,1.0"}));
}

TEST(PairingTableTest, GamesOnceOnTheHigherPlacedLineThenPassLines)
{
    TournamentData d = test::SpringCup();
    // Before round 3: A 2.0, B 1.0, C and D 0.5. A meets D (no result yet),
    // B has the bye, C has no game.
    EXPECT_EQ(U(Render(OutputKind::PairingTable, d, 3)), U(CrLf({
                                                             S(" 1.,山田 太郎,三段,[2.0],-,鈴木一郎,初段,[0.5]"),
                                                             S(",佐藤　花子,２級,[1.0],-,PASS,,[0.0]"),
                                                             S(",ジョン・スミス,,[0.5],-,PASS,,[0.0]"),
                                                         })));
}

TEST(PairingTableTest, FirstRoundHasNoPointsAndFollowsTheCurrentStandings)
{
    TournamentData d = test::SpringCup();
    EXPECT_EQ(U(Render(OutputKind::PairingTable, d, 1)), U(CrLf({
                                                             S(" 1.,山田 太郎,三段,[0.0],-,佐藤　花子,２級,[0.0]"),
                                                             S(" 2.,ジョン・スミス,,[0.0],-,鈴木一郎,初段,[0.0]"),
                                                         })));
}

TEST(PairingTableTest, NumbersArePaddedToTwoAndPointsShowHalves)
{
    TournamentBuilder b(24, 4);
    for (int r = 0; r < 24; ++r)
        b.Player(r, test::Numbered("P", r), test::Numbered("s", r), "", 0);
    // Three rounds give row 0 two wins and a draw, then everyone is paired.
    b.Game(0, 0, 1, ResultWin, 2).Game(1, 0, 2, ResultWin, 2).Game(2, 0, 3, ResultDraw, 0);
    for (int r = 0; r < 24; r += 2)
        b.Game(3, r, r + 1, ResultNone, 0);
    TournamentData& d = b.Done();
    const std::string out = Render(OutputKind::PairingTable, d, 4);
    EXPECT_EQ(out.substr(0, out.find("\r\n")), " 1.,p0,,[2.5],-,p1,,[0.0]");
    EXPECT_NE(out.find("\r\n 2.,p3,,[0.5],-,p2,,[0.0]\r\n"), std::string::npos);
    EXPECT_NE(out.find("\r\n 9.,"), std::string::npos);
    EXPECT_NE(out.find("\r\n10.,"), std::string::npos);
    EXPECT_NE(out.find("\r\n12.,"), std::string::npos);
    EXPECT_EQ(out.find("\r\n13.,"), std::string::npos);
    EXPECT_EQ(out.find("PASS"), std::string::npos);
}

// The interim outputs sort and recompute a private copy: the open table keeps
// its order, its totals (even stale ones) and its report cache.
TEST(InterimOutputsTest, TheLiveTableNeverChanges)
{
    TournamentData d = test::SpringCup();
    d.table.Sort(WinPointsB, false);
    d.table.Entry(0).wins = 7; // stale on purpose
    FormatReportRows(d.table, d.players);
    const std::string saved = d.Save();
    const std::vector<CFieldList> cache = d.table.reportRows;

    Render(OutputKind::ScoreSheet, d);
    Render(OutputKind::ScoreSheet, d, 2);
    Render(OutputKind::PairingTable, d, 3);

    EXPECT_EQ(d.Save(), saved); // the same rows in the same order with the same cells
    EXPECT_EQ(d.table.Entry(0).wins, 7);
    ASSERT_EQ(d.table.reportRows.size(), cache.size());
    for (size_t r = 0; r < cache.size(); ++r)
        EXPECT_TRUE(
            std::equal(cache[r].begin(), cache[r].end(), d.table.reportRows[r].begin(), d.table.reportRows[r].end()));
}

TEST(InterimOutputsTest, ARoundOutsideTheTableIsRefused)
{
    TournamentData d = test::SpringCup();
    for (const OutputKind kind : {OutputKind::ScoreSheet, OutputKind::PairingTable}) {
        for (const int round : {0, -1, 4}) {
            if (round == 0 && kind == OutputKind::ScoreSheet)
                continue; // round 0 is the sheet over all rounds
            std::string out = "old";
            std::string refusal;
            EXPECT_EQ(RenderOutput(kind, d, round, out, &refusal), OutputStatus::Refused);
            EXPECT_EQ(out, "");
            EXPECT_FALSE(refusal.empty());
            EXPECT_EQ(RenderOutput(kind, d, round, out, nullptr), OutputStatus::Refused);
        }
    }
    // The kinds without a round ignore it.
    std::string out;
    EXPECT_EQ(RenderOutput(OutputKind::Text, d, 99, out, nullptr), OutputStatus::Ok);
}

} // namespace
} // namespace tabry
