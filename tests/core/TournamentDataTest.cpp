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

const std::string kFile =
    CrLf({"4,2,1,2,60", "##Format: 1", "##Tournament: Cup", "a,a,0,,,,1,1,10,0,-2,1,0,0",
          "b,b,0,,,,0,-1,-10,0,-1,0,0,0", "c,c,0,,,,3,0,0,0,-1,0,0,0", "d,d,0,,,,2,0,0,0,9,1,4,0"});

TEST(TournamentDataTest, LoadValidatesAndComputesLikeOpeningAFile)
{
    TournamentData d;
    ASSERT_EQ(d.Load(kFile), LoadStatus::Ok);
    EXPECT_EQ(d.info.name, "Cup");
    EXPECT_EQ(d.table.Entry(0).points, 4);
    EXPECT_EQ(d.table.Entry(0).winPointsA, 0);          // row 1 lost, the bye is no opponent
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
    LoadReport report;
    FileError error;
    ASSERT_EQ(d.LoadFile(dir / "t.stg", &report), LoadStatus::Ok);
    ASSERT_TRUE(d.SaveFile(dir / "u.stg", &error)) << FileErrorText(error);
    TournamentData e;
    ASSERT_EQ(e.LoadFile(dir / "u.stg"), LoadStatus::Ok);
    EXPECT_EQ(e.Save(), ReadAll(dir / "u.stg"));
    EXPECT_EQ(d.LoadFile(dir / "missing.stg", &report), LoadStatus::CannotOpen);
    EXPECT_EQ(report.file.problem, FileProblem::Missing);
    EXPECT_NE(FileErrorText(report.file).find("missing.stg"), std::string::npos);
    EXPECT_FALSE(d.SaveFile(dir / "no" / "t.stg", &error));
    EXPECT_EQ(error.problem, FileProblem::FolderMissing) << FileErrorText(error);
}

TEST(TournamentDataTest, ANulByteRefusesTheFileNamesTheLineAndLeavesTheOpenTournament)
{
    std::string damaged = kFile;
    damaged[damaged.find("c,c") + 1] = '\0'; // in the third player's line, line 6
    TempDir dir;
    WriteAll(dir / "t.stg", damaged);
    TournamentData d;
    ASSERT_EQ(d.Load(kFile), LoadStatus::Ok);
    const std::string before = d.Save();
    LoadReport report;
    EXPECT_EQ(d.LoadFile(dir / "t.stg", &report), LoadStatus::NulByte);
    EXPECT_EQ(report.faultLine, 6);
    const std::string error = FileErrorText(report.file);
    EXPECT_NE(error.find("t.stg: line 6 holds a NUL byte"), std::string::npos) << error;
    EXPECT_EQ(d.Save(), before);
    // The reader itself takes nothing from such bytes either.
    CResultTable table;
    CTournamentInfo info;
    bool added = false;
    EXPECT_EQ(table.Read(damaged, info, d.players, added), -1);
    EXPECT_FALSE(added);

    WriteAll(dir / "player.db", damaged);
    FileError dbError;
    EXPECT_EQ(d.LoadPlayers(dir / "player.db", &dbError), LoadStatus::NulByte);
    EXPECT_EQ(dbError.line, 6);
    EXPECT_EQ(d.players.GetCount(), 1);
}

TEST(TournamentDataTest, InputThatIsNoRegularFileOrTooLargeIsRefused)
{
    TempDir dir;
    TournamentData d;
    LoadReport report;
    WriteAll(dir / "huge.stg", "1,1,1,0,60\r\n");
    std::filesystem::resize_file(dir / "huge.stg", kMaxTournamentFileBytes + 1);
    EXPECT_EQ(d.LoadFile(dir / "huge.stg", &report), LoadStatus::CannotOpen);
    EXPECT_EQ(report.file.problem, FileProblem::TooLarge);
    EXPECT_NE(FileErrorText(report.file).find("larger than"), std::string::npos);
#if defined(_WIN32)
    const std::filesystem::path device = "NUL";
#else
    const std::filesystem::path device = "/dev/zero";
#endif
    EXPECT_EQ(d.LoadFile(device, &report), LoadStatus::CannotOpen);
    EXPECT_NE(FileErrorText(report.file).find("not a regular file"), std::string::npos);
    // A database that cannot be read is not an empty one: it is never saved over.
    std::filesystem::create_directory(dir / "player.db");
    FileError error;
    EXPECT_EQ(d.LoadPlayers(dir / "player.db", &error), LoadStatus::CannotOpen);
    EXPECT_TRUE(d.players.LoadRefused());
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
