#include "tests/cli/CliRunner.h"

#include "core/TournamentData.h"

#include <gtest/gtest.h>

#include "TorvaVersion.h"

#include <cstdlib>

namespace tabry {
namespace {

using test::CrLf;
using test::ReadAll;
using test::RunCli;
using test::S;
using test::TempDir;
using test::WriteAll;

// Row 0 lost to row 1 in round 1; sorting swaps them. Player "c" is not in
// the database.
const std::string kFile = CrLf({"3,1,1,0,60", "##Format: 1", "a,a,0,,ia,,1,-1,-6,0", "b,b,0,,ib,,0,1,6,0",
                                S("c,c,0,大阪,ic,,-1,0,0,0")});
const std::string kDb = CrLf({"a,a,ia,0,,", "b,b,ib,0,,"});

struct CliFixture : ::testing::Test {
    TempDir dir;
    std::string stg = (dir / "t.stg").string();
    std::string db = (dir / "player.db").string();

    void SetUp() override
    {
        WriteAll(stg, kFile);
        WriteAll(db, kDb);
    }
};

TEST_F(CliFixture, SortWritesTheStandingsOrderToStandardOutput)
{
    const auto r = RunCli(dir, {"--db", db, "sort", stg});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // c (no game, disc 0) now stands above a (lost by 6); b's opponent moved to row 2.
    EXPECT_EQ(r.out, CrLf({"3,1,1,0,60", "##Format: 1", "b,b,0,,ib,,2,1,6,0", S("c,c,0,大阪,ic,,-1,0,0,0"),
                           "a,a,0,,ia,,0,-1,-6,0"}));
    EXPECT_EQ(ReadAll(db), kDb); // never written without --save-db
}

TEST_F(CliFixture, OutputMayReplaceTheInputFile)
{
    const auto r = RunCli(dir, {"--db", db, "sort", "-o", stg, stg});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(ReadAll(stg).substr(0, 30), CrLf({"3,1,1,0,60", "##Format: 1", "b,b,0"}).substr(0, 30));
}

TEST_F(CliFixture, SaveDbWritesTheDatabaseWhenLoadingAddedPlayers)
{
    const auto r = RunCli(dir, {"--db", db, "--save-db", "sort", "-o", (dir / "u.stg").string(), stg});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadAll(db), kDb + S("c,c,ic,0,大阪,\r\n"));
}

TEST_F(CliFixture, MissingDatabaseMeansOnlyTheByeRecord)
{
    const auto r = RunCli(dir, {"--db", (dir / "none.db").string(), "sort", stg});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("b,b,0,,ib,,2,1,6,0"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.db"));
}

TEST_F(CliFixture, CheckPrintsAUtf8Summary)
{
    const auto r = RunCli(dir, {"--db", db, "check", stg});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("参加者: 3 人"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("石差（石数）"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("   1    1勝 0敗 0分"), std::string::npos) << r.out;
}

TEST_F(CliFixture, UnreadableOrRejectedInputExitsWith3AndNamesTheFile)
{
    auto r = RunCli(dir, {"--db", db, "sort", (dir / "missing.stg").string()});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("missing.stg"), std::string::npos);

    WriteAll(dir / "empty.stg", "");
    r = RunCli(dir, {"--db", db, "sort", (dir / "empty.stg").string()});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("empty.stg"), std::string::npos);

    WriteAll(dir / "bad.stg", "600,1,1,0,60\r\n");
    r = RunCli(dir, {"--db", db, "sort", "-o", (dir / "out.stg").string(), (dir / "bad.stg").string()});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("bad.stg"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.stg"));
}

TEST_F(CliFixture, UsageErrorsExitWith2)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"sort"}, {"frobnicate", stg}, {"sort", "--bogus", stg}, {"sort", stg, stg}, {"--db"},
             {"sort", "-o"}}) {
        const auto r = RunCli(dir, args);
        EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("usage: torva-cli"), std::string::npos);
    }
}

TEST_F(CliFixture, UnwritableOutputIsReported)
{
    const auto r = RunCli(dir, {"--db", db, "sort", "-o", (dir / "no" / "out.stg").string(), stg});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("out.stg"), std::string::npos);
}

TEST_F(CliFixture, VersionIsTheProjects)
{
    const auto r = RunCli(dir, {"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "torva-cli " TORVA_VERSION "\n");
}

#if !defined(_WIN32)
// Copies of torva-cli laid out as the package installs it (<root>/usr/bin
// beside <root>/usr/share/torva) and as a program folder, run without --db.
TEST_F(CliFixture, WithoutDbAnInstalledCopyUsesTheUsersDatabaseAndAFolderCopyTheOneBesideIt)
{
    namespace fs = std::filesystem;
    const fs::path bin = dir / "root" / "usr" / "bin";
    const fs::path folder = dir / "folder";
    fs::create_directories(bin);
    fs::create_directories(dir / "root" / "usr" / "share" / "torva");
    fs::create_directories(folder);
    fs::copy_file(TORVA_CLI_PATH, bin / "torva-cli");
    fs::copy_file(TORVA_CLI_PATH, folder / "torva-cli");
    const fs::path home = dir / "home";
    auto run = [&](const fs::path& exe) {
        const std::string command = "env -u XDG_DATA_HOME HOME=" + test::Quote(home.string()) + " "
            + test::Quote(exe.string()) + " --save-db sort -o " + test::Quote((dir / "out.stg").string()) + " "
            + test::Quote(stg) + " 2>/dev/null";
        return std::system(command.c_str());
    };

    ASSERT_EQ(run(bin / "torva-cli"), 0);
    const fs::path own = home / ".local" / "share" / "qelt" / "TORVA" / "player.db";
    // A missing database holds only the bye; loading added the file's three.
    EXPECT_EQ(ReadAll(own), kDb + S("c,c,ic,0,大阪,\r\n"));
    EXPECT_FALSE(fs::exists(bin / "player.db"));

    ASSERT_EQ(run(folder / "torva-cli"), 0);
    EXPECT_EQ(ReadAll(folder / "player.db"), ReadAll(own));
}
#endif

} // namespace
} // namespace tabry
