#include "tests/cli/CliRunner.h"

#include "core/TournamentData.h"
#include "text/FileIo.h"

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
const std::string kFile =
    CrLf({"3,1,1,0,60", "##Format: 1", "a,a,0,,ia,,1,-1,-6,0", "b,b,0,,ib,,0,1,6,0", S("c,c,0,大阪,ic,,-1,0,0,0")});
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

// The result slips say on standard error what they lack, and the address of
// their QR codes is taken for them only, and only as an address.
TEST_F(CliFixture, ResultSlipsSayWhatTheyLackAndTakeAnAddressOnlyForThemselves)
{
    if (!TABRY_HAS_PDF)
        GTEST_SKIP() << "this build writes no PDF (it says so, as ReportCommandTest checks)";
    const std::string keyed = CrLf({"3,1,1,0,60", "##Format: 1", "##Reporting: 0123456789abcdef0123456789abcdef",
                                    "a,a,0,,ia,,1,-2,0,0", "b,b,0,,ib,,0,-2,0,0", S("c,c,0,大阪,ic,,-1,0,0,0")});
    auto r = RunCli(dir, {"--db", db, "report", "--format", "pdf-slips", "--round", "1", stg});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("%PDF-", 0), 0u);
    EXPECT_NE(r.err.find("no codes"), std::string::npos) << r.err;
    WriteAll(stg, keyed);
    r = RunCli(dir, {"--db", db, "report", "--format", "pdf-slips", "--round", "1", stg});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("no --url"), std::string::npos) << r.err;
    r = RunCli(dir, {"--db", db, "report", "--format", "pdf-slips", "--round", "1", "--url", "http://10.1.1.1:8080",
                     "-o", (dir / "s.pdf").string(), stg});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadAll(dir / "s.pdf").rfind("%PDF-", 0), 0u);
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--format", "pdf-pairing", "--round", "1", "--url", "http://10.1.1.1:8080"},
          std::vector<std::string>{"--format", "pdf-slips", "--round", "1", "--url", "10.1.1.1:8080"},
          std::vector<std::string>{"--format", "pdf-slips"}}) {
        std::vector<std::string> args = {"--db", db, "report"};
        args.insert(args.end(), bad.begin(), bad.end());
        args.push_back(stg);
        EXPECT_EQ(RunCli(dir, args).exitCode, 2) << bad[1];
    }
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

TEST_F(CliFixture, DamagedOrEndlessInputExitsWith3AndSaysWhy)
{
    using namespace std::string_literals;
    std::string damaged = kFile;
    damaged[damaged.find("b,b")] = '\0';    // line 4
    WriteAll(dir / "damaged.stg", damaged); // not "nul.stg": that names a device on Windows
    auto r = RunCli(dir, {"--db", db, "sort", "-o", (dir / "out.stg").string(), (dir / "damaged.stg").string()});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("damaged.stg: line 4 holds a NUL byte"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.stg"));

    // A database that cannot be read is refused, not taken for an empty one
    // that --save-db would then write over.
    const std::string damagedDb = "a,a,ia,0,,\r\nb\0,b,ib,0,,\r\n"s;
    WriteAll(db, damagedDb);
    r = RunCli(dir, {"--db", db, "--save-db", "sort", stg});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("line 2 holds a NUL byte"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(db), damagedDb);

#if !defined(_WIN32)
    WriteAll(db, kDb);
    r = RunCli(dir, {"--db", db, "sort", "/dev/zero"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("/dev/zero: not a regular file"), std::string::npos) << r.err;
#endif
}

TEST_F(CliFixture, ADatabaseThatCannotBeWrittenIsItsOwnErrorAndTheOutputIsWritten)
{
    const std::string out = (dir / "out.stg").string();
    const std::string expected = RunCli(dir, {"--db", db, "sort", stg}).out;
    // Loading adds "c"; the database's folder does not exist.
    auto r = RunCli(dir, {"--db", (dir / "gone" / "player.db").string(), "--save-db", "sort", "-o", out, stg});
    EXPECT_EQ(r.exitCode, 6);
    EXPECT_NE(r.err.find("player database not saved"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(out), expected);

#if !defined(_WIN32)
    // A full disk: a file size limit of a few kB fails the database write as
    // no space would, while the small output still fits.
    std::string bigDb = kDb;
    for (int i = 0; i < 400; ++i)
        bigDb += "member" + std::to_string(i) + ",m,m" + std::to_string(i) + ",0," + std::string(40, 'r') + ",\r\n";
    WriteAll(db, bigDb);
    std::filesystem::remove(out);
    r = RunCli(dir, {"--db", db, "--save-db", "sort", "-o", out, stg}, "trap '' XFSZ; ulimit -f 16; ");
    EXPECT_EQ(r.exitCode, 6) << r.err;
    EXPECT_NE(r.err.find("File too large"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(out), expected);
    EXPECT_EQ(ReadAll(db), bigDb);
#endif
}

TEST_F(CliFixture, JapaneseFileNamesReachEveryFileTheToolTouches)
{
    // Beyond the ANSI code page of a Western Windows: there only the wide
    // command line carries these names.
    const auto input = dir.Path() / PathFromUtf8("春の大会.stg");
    const auto output = dir.Path() / PathFromUtf8("結果（最終）.stg");
    const auto database = dir.Path() / PathFromUtf8("選手名簿.db");
    const auto traces = dir.Path() / PathFromUtf8("記録");
    WriteAll(input, kFile);
    WriteAll(database, kDb);
    std::filesystem::create_directory(traces);

    auto r = RunCli(dir, {"--db", PathText(database), "--save-db", "sort", "-o", PathText(output), PathText(input)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadAll(output), RunCli(dir, {"--db", db, "sort", stg}).out);
    EXPECT_EQ(ReadAll(database), kDb + S("c,c,ic,0,大阪,\r\n"));

    r = RunCli(dir, {"--db", PathText(database), "check", PathText(input)});
    EXPECT_NE(r.out.find("ファイル: " + PathText(input)), std::string::npos) << r.out;
    r = RunCli(dir, {"--db", PathText(database), "pair", "--round", "1", "--seed", "1", "--trace-dir", PathText(traces),
                     "-o", PathText(output), PathText(input)});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_FALSE(ReadAll(traces / "panelty.txt").empty());
    r = RunCli(dir, {"--db", PathText(database), "sort", PathText(dir.Path() / PathFromUtf8("無い.stg"))});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("無い.stg"), std::string::npos) << r.err;
}

TEST_F(CliFixture, UsageErrorsExitWith2)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{},
                                                                                      {"sort"},
                                                                                      {"frobnicate", stg},
                                                                                      {"sort", "--bogus", stg},
                                                                                      {"sort", stg, stg},
                                                                                      {"--db"},
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
    // Messages are console text: Windows ends their lines with CR LF.
    std::string out = r.out;
    std::erase(out, '\r');
    EXPECT_EQ(out, "torva-cli " TORVA_VERSION "\n");
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
                                    + test::Quote(exe.string()) + " --save-db sort -o "
                                    + test::Quote((dir / "out.stg").string()) + " " + test::Quote(stg) + " 2>/dev/null";
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
