// The bye rule and the withdrawals in the tournament file: written only when
// used, read back exactly, carried along when rows move, and read from any
// bytes a hand edit leaves without harm.
#include "core/TournamentData.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::CrLf;

// Four players in a 5 x 3 table; row 1 beat row 0 in round 1, row 3 had a
// bye, row 2 is unpaired.
std::string FourPlayers(std::initializer_list<std::string_view> details)
{
    std::vector<std::string_view> lines{"5,3,1,0,60", "##Format: 1"};
    lines.insert(lines.end(), details.begin(), details.end());
    for (std::string_view l : {"a,a,0,,a,,1,-1,-8,0,-1,0,0,0,-1,0,0,0", "b,b,0,,b,,0,1,8,0,-1,0,0,0,-1,0,0,0",
                               "c,c,0,,c,,-1,0,0,0,-1,0,0,0,-1,0,0,0", "d,d,0,,d,,-2,1,64,0,-1,0,0,0,-1,0,0,0", ""})
        lines.push_back(l);
    std::string out;
    for (std::string_view l : lines)
        out += std::string(l) + "\r\n";
    return out;
}

TournamentData Loaded(const std::string& bytes)
{
    TournamentData d;
    EXPECT_EQ(d.Load(bytes), LoadStatus::Ok);
    return d;
}

std::string NameOfRow(const TournamentData& d, int row)
{
    return d.players.GetAt(d.table.Entry(row).playerIndex).m_longName;
}

TEST(EventLinesTest, LinesRoundTripAfterTheOtherDetailsAndOnlyWhenUsed)
{
    // Nothing used: nothing written, the file as it always was.
    const std::string plain = FourPlayers({"##Tournament: Cup"});
    EXPECT_EQ(Loaded(plain).Save(), plain);

    const std::string used =
        FourPlayers({"##Tournament: Cup", "##Bye: 33-31,lowest", "##Withdrawn: 0,2", "##Withdrawn: 2,1"});
    TournamentData d = Loaded(used);
    EXPECT_EQ(d.table.settings.bye.winDisc, 2);
    EXPECT_TRUE(d.table.settings.bye.toLowest);
    EXPECT_EQ(d.table.Entry(0).withdrawnFrom, 1);
    EXPECT_EQ(d.table.Entry(2).withdrawnFrom, 0);
    EXPECT_FALSE(d.table.Entry(1).IsWithdrawn());
    EXPECT_EQ(d.table.WithdrawnRows(1), (std::vector<int>{0, 2}));
    EXPECT_EQ(d.table.WithdrawnRows(0), (std::vector<int>{2}));
    EXPECT_EQ(d.Save(), used);
    // Played games still count.
    EXPECT_EQ(d.table.Entry(0).losses, 1);

    // Each part of the rule on its own, keys in any case on reading.
    EXPECT_EQ(Loaded(FourPlayers({"##bye : none , LOWEST"})).Save(), FourPlayers({"##Bye: none,lowest"}));
    EXPECT_EQ(Loaded(FourPlayers({"##BYE: 64-0"})).Save(), FourPlayers({"##Bye: 64-0,pairing"}));

    // A new tournament keeps the rule, like every setting, but no row.
    d.table.Entry(0).withdrawnFrom = 2;
    d.NewTournament();
    EXPECT_EQ(d.table.settings.bye.winDisc, 2);
    EXPECT_TRUE(d.table.WithdrawnRows(2).empty());
    // Opening a file without the line brings back the default rule.
    EXPECT_TRUE(Loaded(plain).table.settings.bye.IsDefault());
}

TEST(EventLinesTest, WithdrawalsFollowTheirPlayersThroughSortResizeAndRemoval)
{
    TournamentData d = Loaded(FourPlayers({"##Withdrawn: 2,2", "##Withdrawn: 3,3"}));
    d.table.Sort(DiscDifference, false); // b (1-0, +8), d (1-0, +64): d, b, c, a
    ASSERT_EQ(NameOfRow(d, 0), "d");
    EXPECT_EQ(d.table.Entry(0).withdrawnFrom, 2);
    for (int r = 1; r < 4; ++r)
        EXPECT_EQ(d.table.Entry(r).withdrawnFrom, NameOfRow(d, r) == "c" ? 1 : kNotWithdrawn) << r;
    const std::string sorted = d.Save();
    EXPECT_NE(sorted.find("##Withdrawn: 0,3\r\n##Withdrawn: 2,2\r\n"), std::string::npos) << test::U(sorted);
    // A copy (the interim sheets sort one) carries them too.
    const CResultTable copy(d.table);
    EXPECT_EQ(copy.WithdrawnRows(2), d.table.WithdrawnRows(2));

    // Fewer rounds: a withdrawal from a removed round goes with it.
    const auto withdrawalsFrom = [&d](int round) {
        for (int r = 0; r < d.table.PlayerCount(); ++r)
            if (!d.table.Entry(r).IsEmpty() && d.table.Entry(r).IsWithdrawn()
                && d.table.Entry(r).withdrawnFrom >= round)
                return true;
        return false;
    };
    EXPECT_TRUE(withdrawalsFrom(2));
    d.table.Resize(5, 2);
    EXPECT_FALSE(d.table.Entry(0).IsWithdrawn());
    EXPECT_EQ(d.table.Entry(2).withdrawnFrom, 1);
    EXPECT_FALSE(withdrawalsFrom(2));
    // A removed player leaves no withdrawal behind.
    d.table.DeletePlayer(2);
    EXPECT_TRUE(d.table.WithdrawnRows(1).empty());
    EXPECT_EQ(d.Save().find("##Withdrawn"), std::string::npos);
}

TEST(EventLinesTest, LinesThatCannotBeReadRefuseTheFileAndAnEmptyRowIsAFinding)
{
    const std::string plain = FourPlayers({});
    // Read anyhow, each would pair a player who left or score the bye by
    // another rule: the file is refused, naming the line, and the open
    // tournament stays.
    for (const char* line :
         {"##Withdrawn: 5,1", // beyond the table
          "##Withdrawn: 1,4", // beyond the rounds
          "##Withdrawn: 1,0", // rounds count from 1
          "##Withdrawn: -1,2", "##Withdrawn: 1", "##Withdrawn: x,y", "##Withdrawn: 1,2x",
          "##Withdrawn:", "##Withdrawn: 99999999999999999999,2", "##Withdrawn: 1,99999999999999999999",
          "##Withdrawn: 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18",
          "##Bye: 32-32,sometimes", // a draw is no win; unknown receiver
          "##Bye: 33-31,sometimes", // unknown receiver
          "##Bye: 40-20",           // not a full board
          "##Bye: 31-33", "##Bye: 65--1", "##Bye: -", "##Bye: 99999999999-0"}) {
        SCOPED_TRACE(line);
        TournamentData d = Loaded(plain);
        LoadReport report;
        EXPECT_EQ(d.Load(FourPlayers({line}), &report), LoadStatus::BadEventLine);
        EXPECT_EQ(report.faultLine, 3);
        ASSERT_EQ(report.findings.size(), 1u);
        EXPECT_EQ(report.findings[0].kind, FindingKind::BadEventLine);
        EXPECT_EQ(d.Save(), plain);
    }
    // A withdrawal of an empty row: the file opens, the line is dropped, and
    // the report says so.
    TournamentData d;
    LoadReport report;
    ASSERT_EQ(d.Load(FourPlayers({"##Withdrawn: 4,2"}), &report), LoadStatus::Ok);
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_EQ(report.findings[0].kind, FindingKind::WithdrawalOfEmptyRow);
    EXPECT_EQ(report.findings[0].line, 3);
    EXPECT_EQ(report.findings[0].row, 4);
    EXPECT_EQ(d.Save(), plain);
    EXPECT_EQ(NameOfRow(d, 3), "d");
    // Two withdrawals of one row: the earlier round counts.
    EXPECT_EQ(Loaded(FourPlayers({"##Withdrawn: 1,3", "##Withdrawn: 1,2", "##Withdrawn: 1,3"})).Save(),
              FourPlayers({"##Withdrawn: 1,2"}));
    // A withdrawal after games he still has keeps both: a file is not
    // corrected beyond what it says.
    const TournamentData kept = Loaded(FourPlayers({"##Withdrawn: 3,1"}));
    EXPECT_EQ(kept.table.Cell(3, 0).opponent, ByeOpponent);
    EXPECT_EQ(kept.table.Entry(3).wins, 1);
    EXPECT_EQ(kept.Save(), FourPlayers({"##Withdrawn: 3,1"}));
}

TEST(EventLinesTest, SecondMethodAndAbsencesRoundTripFollowSortsAndRefuseWhatCannotBeRead)
{
    // Row 2 (c, unpaired in round 1) sits out rounds 1 and 3; row 0 round 2.
    const std::string used = FourPlayers({"##Bye: 33-31,pairing", "##TieBreak2: 5", "##Withdrawn: 1,3", "##Absent: 0,2",
                                          "##Absent: 2,1", "##Absent: 2,3"});
    TournamentData d = Loaded(used);
    EXPECT_EQ(d.table.settings.tieBreak2, WinPointsB);
    EXPECT_EQ(d.table.AbsentRows(0), std::vector<int>{2});
    EXPECT_EQ(d.table.AbsentRows(1), std::vector<int>{0});
    EXPECT_FALSE(d.table.Entry(2).PlaysIn(2));
    EXPECT_TRUE(d.table.Entry(2).PlaysIn(1));
    // The bye rule scores the rounds sat out: c has two wins by 2.
    EXPECT_EQ(d.table.Entry(2).wins, 2);
    EXPECT_EQ(d.table.Entry(2).discTotal, 4);
    EXPECT_EQ(d.Save(), used);

    // The absences move with their players; lines written again in row order.
    d.table.Sort(DiscDifference, false); // c (4 points), then d (+64), b (+8), a (-6) on 2
    ASSERT_EQ(NameOfRow(d, 0), "c");
    const std::string sorted = d.Save();
    EXPECT_NE(sorted.find("##Withdrawn: 2,3\r\n##Absent: 0,1\r\n##Absent: 0,3\r\n##Absent: 3,2\r\n"), std::string::npos)
        << test::U(sorted);
    const TournamentData again = Loaded(sorted);
    EXPECT_EQ(again.Save(), sorted);
    EXPECT_TRUE(again.table.Entry(0).IsAbsentIn(2));
    EXPECT_EQ(NameOfRow(again, 3), "a");
    EXPECT_TRUE(again.table.Entry(3).IsAbsentIn(1));

    for (const char* line : {"##TieBreak2: 8", "##TieBreak2: -1", "##TieBreak2:", "##TieBreak2: x", "##Absent: 5,1",
                             "##Absent: 1,4", "##Absent: 1,0", "##Absent: 1", "##Absent: ,2", "##Absent: 1,2x"}) {
        SCOPED_TRACE(line);
        LoadReport report;
        TournamentData refused;
        EXPECT_EQ(refused.Load(FourPlayers({line}), &report), LoadStatus::BadEventLine);
        EXPECT_EQ(report.faultLine, 3);
    }
    // An absence of an empty row is dropped with a finding, like a withdrawal.
    LoadReport report;
    TournamentData empty;
    ASSERT_EQ(empty.Load(FourPlayers({"##Absent: 4,2"}), &report), LoadStatus::Ok);
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_EQ(report.findings[0].kind, FindingKind::AbsenceOfEmptyRow);
    EXPECT_EQ(empty.Save(), FourPlayers({}));
}

} // namespace
} // namespace tabry
