// torva-cli pair, run as the organiser's scripts run it.
#include "core/TournamentData.h"
#include "tests/pairing/PairingTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace tabry::test {
namespace {

int RunCli(const std::string& args)
{
#if defined(_WIN32)
    const std::string command = "\"\"" TORVA_CLI_PATH "\" " + args + " >NUL 2>&1\"";
    return std::system(command.c_str());
#else
    const std::string command = "'" TORVA_CLI_PATH "' " + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

std::string Q(const std::filesystem::path& p)
{
    return "\"" + p.string() + "\"";
}

class PairCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Six players, three rounds, the first one played.
        TournamentData data;
        for (int i = 0; i < 6; ++i) {
            const std::string name = "player" + std::to_string(i);
            data.players.Add(name, name, name, "", 0, "");
        }
        data.table.Resize(6, 3);
        for (int r = 0; r < 6; ++r)
            data.table.Entry(r).playerIndex = r + 1;
        PlayGame(data.table, 0, 0, 1, ResultWin, 10);
        PlayGame(data.table, 0, 2, 3, ResultWin, 4);
        PlayGame(data.table, 0, 4, 5, ResultDraw);
        ASSERT_TRUE(data.SaveFile(dir / "t.stg"));
    }

    std::string Pair(const std::string& options, const std::string& output = "out.stg")
    {
        return "--db " + Q(dir / "player.db") + " pair " + options + " --trace-dir " + Q(dir.Path()) + " -o "
               + Q(dir / output) + " " + Q(dir / "t.stg");
    }

    TempDir dir;
};

TEST_F(PairCommandTest, PairsTheRoundAndWritesTheTournamentAndTheTraces)
{
    ASSERT_EQ(RunCli(Pair("--round 2 --seed 4")), 0);
    TournamentData out;
    ASSERT_EQ(out.LoadFile(dir / "out.stg"), LoadStatus::Ok);
    for (int r = 0; r < 6; ++r) {
        EXPECT_GE(out.table.Cell(r, 1).opponent, 0);
        EXPECT_EQ(out.table.Cell(r, 1).result, ResultNone);
        EXPECT_EQ(out.table.Cell(r, 2).opponent, NoOpponent);
    }
    EXPECT_EQ(out.table.Cell(0, 0).opponent, 1);
    EXPECT_TRUE(RoundIsSymmetric(out.table, 1));
    EXPECT_FALSE(ReadAll(dir / "panelty.txt").empty());
    EXPECT_FALSE(ReadAll(dir / "test.txt").empty());

    // The seed decides everything: a second run gives the same bytes.
    const std::string first = ReadAll(dir / "out.stg");
    ASSERT_EQ(RunCli(Pair("--round 2 --seed 4", "again.stg")), 0);
    EXPECT_EQ(ReadAll(dir / "again.stg"), first);

    // Without a seed the clock seeds the generator; the run still succeeds.
    EXPECT_EQ(RunCli(Pair("--round 3")), 0);
}

TEST_F(PairCommandTest, ARoundWithEveryonePairedExitsFourAndWritesNothing)
{
    ASSERT_EQ(RunCli(Pair("--round 2 --seed 1")), 0);
    // Pair the already paired file again, tracing into a fresh folder.
    TempDir traces;
    const std::string args = "--db " + Q(dir / "player.db") + " pair --round 2 --seed 1 --trace-dir " + Q(traces.Path())
                             + " -o " + Q(dir / "second.stg") + " " + Q(dir / "out.stg");
    EXPECT_EQ(RunCli(args), 4);
    EXPECT_FALSE(std::filesystem::exists(dir / "second.stg"));
    EXPECT_TRUE(std::filesystem::is_empty(traces.Path()));
    EXPECT_EQ(RunCli(Pair("--round 1 --seed 1", "first.stg")), 4); // round 1 was played
    EXPECT_FALSE(std::filesystem::exists(dir / "first.stg"));
}

TEST_F(PairCommandTest, RoundAndSeedMustBeValid)
{
    for (const char* bad : {"--round 0", "--round 4", "--round -1", "--round two", "--seed 3", "--round 1 --seed -1",
                            "--round 1 --seed 4294967296", "--round 1 --seed x"}) {
        EXPECT_EQ(RunCli(Pair(bad, "bad.stg")), 2) << bad;
        EXPECT_FALSE(std::filesystem::exists(dir / "bad.stg")) << bad;
    }
    EXPECT_EQ(RunCli(Pair("--round 2 --seed 4294967295")), 0);
}

TEST_F(PairCommandTest, APlayerSittingOutIsPairedAgainInTheNextRound)
{
    TournamentData data;
    ASSERT_EQ(data.LoadFile(dir / "t.stg"), LoadStatus::Ok);
    data.table.Entry(1).absent.set(1);
    data.table.Entry(4).absent.set(1);
    ASSERT_TRUE(data.SaveFile(dir / "t.stg"));
    ASSERT_EQ(RunCli(Pair("--round 2 --seed 7", "two.stg")), 0);
    const std::string round3 = "--db " + Q(dir / "player.db") + " pair --round 3 --seed 7 --trace-dir " + Q(dir.Path())
                               + " -o " + Q(dir / "three.stg") + " " + Q(dir / "two.stg");
    ASSERT_EQ(RunCli(round3), 0);
    TournamentData out;
    ASSERT_EQ(out.LoadFile(dir / "three.stg"), LoadStatus::Ok);
    for (int r = 0; r < 6; ++r) {
        const bool out2 = r == 1 || r == 4;
        EXPECT_EQ(out.table.Cell(r, 1).opponent == NoOpponent, out2) << r;
        EXPECT_NE(out.table.Cell(r, 2).opponent, NoOpponent) << r;
        EXPECT_EQ(out.table.Entry(r).IsAbsentIn(1), out2) << r;
    }
    EXPECT_TRUE(RoundIsSymmetric(out.table, 1));
    EXPECT_TRUE(RoundIsSymmetric(out.table, 2));
}

} // namespace
} // namespace tabry::test
