#include "core/TournamentData.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::CrLf;
using test::ReadAll;
using test::S;
using test::TempDir;
using test::WriteAll;

const std::string kFile = CrLf({"4,2,1,2,60", "##Format: 1", "##Tournament: Cup",
                                "a,a,0,,,,1,1,10,0,-2,1,0,0", "b,b,0,,,,0,-1,-10,0,-1,0,0,0",
                                "c,c,0,,,,3,0,0,0,-1,0,0,0", "d,d,0,,,,2,0,0,0,9,1,4,0"});

TEST(TournamentDataTest, LoadValidatesAndComputesLikeOpeningAFile)
{
    TournamentData d;
    ASSERT_EQ(d.Load(kFile), LoadStatus::Ok);
    EXPECT_EQ(d.info.name, "Cup");
    EXPECT_EQ(d.table.Entry(0).points, 4);
    EXPECT_EQ(d.table.Entry(0).winPointsA, 0); // row 1 lost, the bye is no opponent
    EXPECT_EQ(d.table.Cell(3, 1).opponent, NoOpponent); // 9 is beyond the 4 rows
    EXPECT_EQ(d.table.Entry(3).points, 1);
    EXPECT_TRUE(d.playersModified);
}

TEST(TournamentDataTest, RejectedOrEmptyFileKeepsTheOpenTournament)
{
    TournamentData d;
    ASSERT_EQ(d.Load(kFile), LoadStatus::Ok);
    d.info.year = 2020;
    EXPECT_EQ(d.Load("not a tournament\r\n"), LoadStatus::Rejected);
    EXPECT_EQ(d.Load(""), LoadStatus::Empty);
    EXPECT_EQ(d.info.name, "Cup");
    EXPECT_EQ(d.info.year, 2020);
    EXPECT_EQ(d.table.PlayerCount(), 4);
    EXPECT_EQ(d.table.settings.tieBreak, 2);
}

TEST(TournamentDataTest, OpeningStartsFromResetDetails)
{
    TournamentData d;
    ASSERT_EQ(d.Load(kFile), LoadStatus::Ok);
    ASSERT_EQ(d.info.format, 1);
    // The next file has no details lines: it is read with the older layout.
    ASSERT_EQ(d.Load("1,1,1,0,60\r\nz,z,0,,-1,0,0\r\n"), LoadStatus::Ok);
    EXPECT_EQ(d.info.format, 0);
    EXPECT_EQ(d.info.name, "");
    EXPECT_FALSE(d.table.Entry(0).IsEmpty());
}

TEST(TournamentDataTest, NewTournamentKeepsSettingsAndResetsDetails)
{
    TournamentData d;
    ASSERT_EQ(d.Load(kFile), LoadStatus::Ok);
    d.NewTournament();
    EXPECT_EQ(d.table.PlayerCount(), 32);
    EXPECT_EQ(d.table.RoundCount(), 6);
    EXPECT_TRUE(d.table.RowsEmptyFrom(0));
    EXPECT_EQ(d.info.name, "");
    EXPECT_EQ(d.table.settings.tieBreak, 2);
}

TEST(TournamentDataTest, FilesRoundTripAndMissingFilesAreReported)
{
    TempDir dir;
    WriteAll(dir / "t.stg", kFile);
    TournamentData d;
    std::string error;
    ASSERT_EQ(d.LoadFile(dir / "t.stg", &error), LoadStatus::Ok);
    ASSERT_TRUE(d.SaveFile(dir / "u.stg", &error)) << error;
    TournamentData e;
    ASSERT_EQ(e.LoadFile(dir / "u.stg"), LoadStatus::Ok);
    EXPECT_EQ(e.Save(), ReadAll(dir / "u.stg"));
    EXPECT_EQ(d.LoadFile(dir / "missing.stg", &error), LoadStatus::CannotOpen);
    EXPECT_NE(error.find("missing.stg"), std::string::npos);
    EXPECT_FALSE(d.SaveFile(dir / "no" / "t.stg", &error));
}

TEST(TournamentDataTest, PlayersComeFromTheDatabaseFileOrOnlyTheByeRecord)
{
    TempDir dir;
    TournamentData d;
    d.LoadPlayers(dir / "player.db");
    EXPECT_EQ(d.players.GetCount(), 1);
    EXPECT_EQ(d.players.GetAt(0).m_longName, S("不戦"));
    WriteAll(dir / "player.db", "a,a,a,0,,\r\nb,b,b,0,,\r\n");
    d.LoadPlayers(dir / "player.db");
    EXPECT_EQ(d.players.GetCount(), 3);
    ASSERT_EQ(d.Load(kFile), LoadStatus::Ok);
    EXPECT_EQ(d.table.Entry(0).playerIndex, 1); // found, not added
}

} // namespace
} // namespace tabry
