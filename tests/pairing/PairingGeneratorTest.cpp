// Whole pairing runs: what is written into the table, what is left alone,
// and the trace files.
#include "pairing/PairingGenerator.h"

#include "pairing/RandomGenerator.h"
#include "tests/pairing/PairingTestSupport.h"
#include "tests/pairing/SimulatedTournament.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tabry::test {
namespace {

struct Snapshot {
    std::vector<ResultCell> cells;
    std::vector<PlayerEntry> entries;
};

Snapshot Take(const CResultTable& t)
{
    Snapshot s;
    for (int r = 0; r < t.PlayerCount(); ++r) {
        PlayerEntry e = t.Entry(r);
        e.groupPosTop = e.groupPosBottom = 0; // scratch, meaningful during a run only
        s.entries.push_back(e);
        for (int j = 0; j < t.RoundCount(); ++j)
            s.cells.push_back(t.Cell(r, j));
    }
    return s;
}

bool SameTotals(const std::vector<PlayerEntry>& a, const std::vector<PlayerEntry>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const PlayerEntry& x, const PlayerEntry& y) {
        return x.playerIndex == y.playerIndex && x.wins == y.wins && x.losses == y.losses && x.draws == y.draws
               && x.discTotal == y.discTotal && x.points == y.points && x.winPointsA == y.winPointsA
               && x.secondaryA == y.secondaryA && x.winPointsB == y.winPointsB && x.secondaryB == y.secondaryB
               && x.brightwell == y.brightwell;
    });
}

PairingOptions TraceInto(const TempDir& dir)
{
    PairingOptions o;
    o.trace.directory = dir.Path();
    return o;
}

TEST(PairingGeneratorTest, NobodyToPairChangesNothingAndWritesNoTrace)
{
    CResultTable t = MakeTable(4, 3);
    PlayGame(t, 0, 0, 1, ResultWin, 10);
    PlayGame(t, 0, 2, 3, ResultDraw);
    PlayGame(t, 1, 0, 2, ResultNone); // round 1 already paired by hand
    PlayGame(t, 1, 1, 3, ResultNone);
    const Snapshot before = Take(t);
    TempDir dir;
    CRandomGenerator random(1);
    EXPECT_EQ(GeneratePairing(t, 1, random, TraceInto(dir)), -1);
    const Snapshot after = Take(t);
    EXPECT_EQ(after.cells, before.cells);
    EXPECT_TRUE(SameTotals(after.entries, before.entries));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    EXPECT_EQ(random.State(), 1u) << "no random draw is spent";

    // A round outside the table is refused the same way, before anything else.
    EXPECT_EQ(GeneratePairing(t, 3, random, TraceInto(dir)), -1);
    EXPECT_EQ(GeneratePairing(t, -1, random, TraceInto(dir)), -1);
    EXPECT_EQ(Take(t).cells, before.cells);
}

TEST(PairingGeneratorTest, TheOnlyUnpairedPlayerGetsTheBye)
{
    CResultTable t = MakeTable(5, 2);
    PlayGame(t, 0, 0, 1, ResultNone);
    PlayGame(t, 0, 2, 3, ResultNone);
    CRandomGenerator random(7);
    TempDir dir;
    ASSERT_EQ(GeneratePairing(t, 0, random, TraceInto(dir)), 0);
    const ResultCell& c = t.Cell(4, 0);
    EXPECT_EQ(c.opponent, ByeOpponent);
    EXPECT_EQ(c.result, ResultNone);
    EXPECT_EQ(c.disc, 0);
    EXPECT_EQ(t.Cell(0, 0).opponent, 1);
    EXPECT_EQ(t.Cell(2, 0).opponent, 3);
}

TEST(PairingGeneratorTest, FirstRoundOfEqualPlayersPairsNeighboursOfTheShuffledList)
{
    for (int players : {10, 9}) {
        CResultTable t = MakeTable(players, 5);
        CRandomGenerator random(12345);
        TempDir dir;
        PairingRunInfo info;
        ASSERT_EQ(GeneratePairing(t, 0, random, TraceInto(dir), &info), 0);
        const int n = players + players % 2;
        ASSERT_EQ(static_cast<int>(info.slotRows.size()), n);
        EXPECT_EQ(info.totalCost, players % 2); // the last player's bye costs 1
        for (int s = 0; s < n; s += 2) {
            EXPECT_EQ(info.partner[static_cast<size_t>(s)], s + 1);
            const int row = info.slotRows[static_cast<size_t>(s)];
            EXPECT_EQ(t.Cell(row, 0).opponent, info.slotRows[static_cast<size_t>(s + 1)]);
        }
        if (players % 2 != 0) {
            EXPECT_EQ(t.Cell(info.slotRows[static_cast<size_t>(players - 1)], 0).opponent, ByeOpponent);
        }

        // One shuffled run: every player once, and not the table order.
        std::vector<int> rows(info.slotRows.begin(), info.slotRows.begin() + players);
        std::vector<int> sorted = rows;
        std::sort(sorted.begin(), sorted.end());
        for (int r = 0; r < players; ++r)
            EXPECT_EQ(sorted[static_cast<size_t>(r)], r);
        EXPECT_NE(rows, sorted);
    }
}

TEST(PairingGeneratorTest, RepeatPenaltyKeepsEqualPlayersWhoMetApart)
{
    // A and B drew in round 0 and stand level; C beat D and E beat F.
    constexpr int A = 0, B = 1, C = 2, D = 3, E = 4, F = 5;
    CResultTable played = MakeTable(6, 3);
    PlayGame(played, 0, A, B, ResultDraw);
    PlayGame(played, 0, C, D, ResultWin, 10);
    PlayGame(played, 0, E, F, ResultWin, 12);

    CResultTable t = played;
    CRandomGenerator random(5);
    TempDir dir;
    ASSERT_EQ(GeneratePairing(t, 1, random, TraceInto(dir)), 0);
    EXPECT_NE(t.Cell(A, 1).opponent, B);
    EXPECT_TRUE(RoundIsSymmetric(t, 1));

    // Without the penalty the two neighbours of the 1-point group meet again.
    CResultTable u = played;
    CRandomGenerator random2(5);
    PairingOptions noPenalty = TraceInto(dir);
    noPenalty.penalties.repeatPenalty = 0;
    noPenalty.penalties.lastRoundRepeatPenalty = 0;
    ASSERT_EQ(GeneratePairing(u, 1, random2, noPenalty), 0);
    EXPECT_EQ(u.Cell(A, 1).opponent, B);
}

TEST(PairingGeneratorTest, ByeGoesToTheLowPlayerWhoHasNotHadOne)
{
    // After round 0: P 2 (+20), T 2 (+2), R 0 (-2), S 0 (-20), Q 0 (bye lost, -30).
    // Q is last and would take the bye, but had one already; S takes it.
    constexpr int P = 0, Q = 1, R = 2, S = 3, T = 4;
    CResultTable played = MakeTable(5, 3);
    PlayGame(played, 0, P, S, ResultWin, 20);
    PlayGame(played, 0, T, R, ResultWin, 2);
    GiveBye(played, 0, Q, ResultLoss, -30);

    CResultTable t = played;
    CRandomGenerator random(1);
    TempDir dir;
    ASSERT_EQ(GeneratePairing(t, 1, random, TraceInto(dir)), 0);
    EXPECT_EQ(t.Cell(S, 1).opponent, ByeOpponent);
    EXPECT_NE(t.Cell(Q, 1).opponent, ByeOpponent);

    CResultTable u = played;
    CRandomGenerator random2(1);
    PairingOptions noPenalty = TraceInto(dir);
    noPenalty.penalties.byeRepeatPenalty = 0;
    ASSERT_EQ(GeneratePairing(u, 1, random2, noPenalty), 0);
    EXPECT_EQ(u.Cell(Q, 1).opponent, ByeOpponent);
}

TEST(PairingGeneratorTest, HandPairedPlayersAndOtherRoundsAreUntouchedAndPairsAreSymmetric)
{
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        SimulationOptions o;
        o.players = 41;
        o.rounds = 9;
        o.playedRounds = static_cast<int>(seed % 7);
        o.seed = seed;
        o.emptyRowsPerMille = 80;
        o.absentPerMille = 60;
        o.handPairedPairs = 4;
        o.tieBreak = static_cast<int>(seed % kTieBreakMethodCount);
        CResultTable t = SimulateTournament(o);
        const int k = o.playedRounds;
        const CResultTable before = t;

        CRandomGenerator random(seed);
        TempDir dir;
        ASSERT_EQ(GeneratePairing(t, k, random, TraceInto(dir)), 0);
        for (int r = 0; r < t.PlayerCount(); ++r) {
            for (int j = 0; j < t.RoundCount(); ++j) {
                const ResultCell& was = before.Cell(r, j);
                const ResultCell& now = t.Cell(r, j);
                if (j != k || was.opponent != NoOpponent || t.Entry(r).IsEmpty()) {
                    ASSERT_EQ(now, was) << "row " << r << " round " << j;
                    continue;
                }
                // Newly paired: an opponent or the bye, no result yet.
                EXPECT_TRUE(now.opponent >= 0 || now.opponent == ByeOpponent);
                EXPECT_NE(now.opponent, r);
                EXPECT_EQ(now.result, ResultNone);
                EXPECT_EQ(now.disc, 0);
                if (now.opponent >= 0) {
                    EXPECT_EQ(before.Cell(now.opponent, k).opponent, NoOpponent)
                        << "a hand-paired player was re-paired";
                }
            }
        }
        EXPECT_TRUE(RoundIsSymmetric(t, k));
        int byes = 0;
        for (int r = 0; r < t.PlayerCount(); ++r)
            byes += before.Cell(r, k).opponent == NoOpponent && t.Cell(r, k).opponent == ByeOpponent;
        EXPECT_LE(byes, 1);

        // The totals cover every round again.
        CResultTable fresh = t;
        fresh.ComputeAll();
        EXPECT_TRUE(SameTotals(Take(t).entries, Take(fresh).entries));
    }
}

TEST(PairingGeneratorTest, TraceFilesAreWrittenAndAFailureToWriteThemIsNotAFailure)
{
    CResultTable t = MakeTable(4, 2);
    TempDir dir;
    CRandomGenerator random(3);
    PairingRunInfo info;
    ASSERT_EQ(GeneratePairing(t, 0, random, TraceInto(dir), &info), 0);
    EXPECT_TRUE(info.traceWritten);
    EXPECT_EQ(ReadAll(dir / "panelty.txt"), "00:      0      0      1      4\n"
                                            "01:      0      0      0      1\n"
                                            "02:      1      0      0      0\n"
                                            "03:      4      1      0      0\n");
    EXPECT_EQ(ReadAll(dir / "test.txt"), "           0: 00-01 02-03\n--\n--\n--\n");

    // A folder that does not exist: the pairing is still made.
    CResultTable u = MakeTable(4, 2);
    PairingOptions missing;
    missing.trace.directory = dir / "no" / "such" / "folder";
    ASSERT_EQ(GeneratePairing(u, 0, random, missing, &info), 0);
    EXPECT_FALSE(info.traceWritten);
    EXPECT_FALSE(info.traceError.empty());
    EXPECT_TRUE(RoundIsSymmetric(u, 0));
    EXPECT_NE(u.Cell(0, 0).opponent, NoOpponent);

    // Tracing switched off writes nothing.
    TempDir quiet;
    CResultTable w = MakeTable(4, 2);
    PairingOptions off = TraceInto(quiet);
    off.trace.enabled = false;
    ASSERT_EQ(GeneratePairing(w, 0, random, off), 0);
    EXPECT_TRUE(std::filesystem::is_empty(quiet.Path()));
}

} // namespace
} // namespace tabry::test

namespace tabry::test {
namespace {

int ByesBefore(const CResultTable& t, int row, int round)
{
    int byes = 0;
    for (int j = 0; j < round; ++j)
        byes += t.Cell(row, j).opponent == ByeOpponent ? 1 : 0;
    return byes;
}

// Many random tournaments, some players withdrawn (also before rounds they
// still have games in), every bye rule: the withdrawn are never paired,
// everybody else is, and the bye is the rule's, given as the rule says.
TEST(PairingGeneratorTest, WithdrawnPlayersAreNeverPairedAndTheByeFollowsTheRule)
{
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        SimulationOptions o;
        o.players = 3 + static_cast<int>(rng() % 30);
        o.rounds = 2 + static_cast<int>(rng() % 6);
        o.playedRounds = static_cast<int>(rng() % static_cast<std::uint32_t>(o.rounds));
        o.seed = seed;
        o.emptyRowsPerMille = static_cast<int>(rng() % 150);
        o.absentPerMille = 50 + static_cast<int>(rng() % 200);
        o.handPairedPairs = static_cast<int>(rng() % 3);
        o.tieBreak = static_cast<int>(rng() % kTieBreakMethodCount);
        CResultTable t = SimulateTournament(o);
        const int k = o.playedRounds;
        const int winDiscs[] = {0, 2, 64};
        t.settings.bye.winDisc = winDiscs[rng() % 3];
        t.settings.bye.toLowest = rng() % 2 == 0;
        for (int r = 0; r < t.PlayerCount(); ++r) {
            if (t.Entry(r).IsEmpty())
                continue;
            // Byes without a result, which move nobody up the standings, so
            // that low players with and without a bye meet.
            for (int j = 0; j < k; ++j)
                if (t.Cell(r, j).opponent == NoOpponent && rng() % 2 == 0)
                    GiveBye(t, j, r, ResultNone);
            if (rng() % 4 == 0)
                t.Entry(r).withdrawnFrom = static_cast<int>(rng() % static_cast<std::uint32_t>(k + 1));
        }

        // Standings before the round, as the pairing ranks the players.
        CResultTable before = t;
        before.ComputeTotals(-1, k);
        before.ComputeTieBreaks(k);
        std::vector<int> eligible;
        for (int r = 0; r < t.PlayerCount(); ++r)
            if (!t.Entry(r).IsEmpty() && t.Entry(r).PlaysIn(k) && t.Cell(r, k).opponent == NoOpponent)
                eligible.push_back(r);

        CRandomGenerator random(seed);
        PairingOptions options;
        options.trace.enabled = false;
        ASSERT_EQ(GeneratePairing(t, k, random, options), eligible.empty() ? -1 : 0);
        EXPECT_TRUE(RoundIsSymmetric(t, k));
        int byeRow = -1;
        for (int r = 0; r < t.PlayerCount(); ++r) {
            const bool wasFree = before.Cell(r, k).opponent == NoOpponent;
            const ResultCell& now = t.Cell(r, k);
            if (!wasFree || t.Entry(r).IsEmpty())
                continue;
            if (!t.Entry(r).PlaysIn(k)) {
                ASSERT_EQ(now.opponent, NoOpponent) << "withdrawn row " << r << " was paired";
                continue;
            }
            if (now.opponent >= 0) {
                ASSERT_TRUE(t.Entry(now.opponent).PlaysIn(k)) << "row " << r << " met a withdrawn player";
                continue;
            }
            ASSERT_EQ(now.opponent, ByeOpponent) << "row " << r << " left unpaired";
            ASSERT_EQ(byeRow, -1) << "two byes";
            byeRow = r;
            EXPECT_EQ(now, t.settings.bye.ByeCell());
        }
        EXPECT_EQ(byeRow >= 0, eligible.size() % 2 != 0);
        if (byeRow < 0 || !t.settings.bye.toLowest)
            continue;
        // Nobody free has had fewer byes, and nobody with as few ranks below.
        const int mine = ByesBefore(t, byeRow, k);
        for (const int r : eligible) {
            const int theirs = ByesBefore(t, r, k);
            EXPECT_GE(theirs, mine) << "row " << r << " had fewer byes than " << byeRow;
            if (theirs == mine) {
                EXPECT_LE(before.CompareRows(t.settings.tieBreak, CompareMode::Equality, r, byeRow), 0)
                    << "row " << r << " ranks below " << byeRow;
            }
        }
    }
}

} // namespace
} // namespace tabry::test
