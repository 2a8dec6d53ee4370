// What pairing two players costs: the worked figures, the float history and
// the group positions, and the one-pass matrix against the per-pair formula.
#include "pairing/PairingCost.h"

#include "pairing/PairingGenerator.h"
#include "pairing/PairingMatcher.h"
#include "pairing/RandomGenerator.h"
#include "tests/pairing/PairingTestSupport.h"
#include "tests/pairing/SimulatedTournament.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tabry::test {
namespace {

int SlotOf(const std::vector<int>& slots, int row)
{
    const auto it = std::find(slots.begin(), slots.end(), row);
    return it == slots.end() ? -1 : static_cast<int>(it - slots.begin());
}

// Eight players after two rounds, ranked by win points A, then discs:
//   E 4 (+80), A 4 (+4), G 3, B 2 (opponents' points 5), F 2 (3), H 1, C 0, D 0.
// A (last of the 4-point group) beat D, who now has 0, in the last round;
// B (first of the 2-point group) drew F, who has 2 like B.
constexpr int A = 0, B = 1, C = 2, D = 3, E = 4, F = 5, G = 6, H = 7;

CResultTable WorkedTable()
{
    CResultTable t = MakeTable(8, 4, WinPointsADisc);
    PlayGame(t, 0, A, C, ResultWin, 2);
    PlayGame(t, 0, E, D, ResultWin, 40);
    PlayGame(t, 0, B, G, ResultDraw);
    PlayGame(t, 0, F, H, ResultDraw);
    PlayGame(t, 1, A, D, ResultWin, 2);
    PlayGame(t, 1, E, C, ResultWin, 40);
    PlayGame(t, 1, B, F, ResultDraw);
    PlayGame(t, 1, G, H, ResultWin, 10);
    return t;
}

TEST(PairingCostTest, WorkedCostOfAScoreGapWithARepeatedFloat)
{
    CResultTable t = WorkedTable();
    CRandomGenerator random(3);
    const std::vector<int> slots = PrepareRound(t, 2, random).rows;
    ASSERT_EQ(slots.size(), 8u);
    EXPECT_EQ(t.Entry(A).groupPosBottom, 1);
    EXPECT_EQ(t.Entry(B).groupPosTop, 1);
    EXPECT_EQ(FloatHistory(t, A, 2), -1);
    EXPECT_EQ(FloatHistory(t, B, 2), 0);

    // 30000 + (1 + 1)^2 + (4 + 2) * 1000 * 2 / 2 + 10000
    EXPECT_EQ(PairCost(t, PairingPenalties{}, 2, A, B), 46004);
    CPairingMatcher m;
    m.Init(8);
    BuildPairCosts(t, PairingPenalties{}, 2, slots, m);
    EXPECT_EQ(m.Cost(SlotOf(slots, A), SlotOf(slots, B)), 46004);
}

TEST(PairingCostTest, WorkedByeCostsAndTheRepeatedBye)
{
    // Round 1: P beat Q in round 0 (2 points); R had the bye as a loss.
    // Ranked P, R (0, disc 0), Q (0, disc -30): Q is last of the 0-point group.
    CResultTable t = MakeTable(3, 2);
    constexpr int P = 0, Q = 1, R = 2;
    PlayGame(t, 0, P, Q, ResultWin, 30);
    GiveBye(t, 0, R, ResultLoss, 0);
    CRandomGenerator random(1);
    const std::vector<int> slots = PrepareRound(t, 1, random).rows;
    ASSERT_EQ(slots, (std::vector<int>{P, R, Q, ByeOpponent}));

    const PairingPenalties pen;
    EXPECT_EQ(PairCost(t, pen, 1, P, ByeOpponent), 32001); // 30000 + 1 + 1000 * 2 * 2 / 2
    EXPECT_EQ(PairCost(t, pen, 1, Q, ByeOpponent), 1);
    EXPECT_EQ(PairCost(t, pen, 1, R, ByeOpponent), 500000 + 4); // second bye, two from the bottom
    CPairingMatcher m;
    m.Init(4);
    BuildPairCosts(t, pen, 1, slots, m);
    EXPECT_EQ(m.Cost(0, 3), 32001);
    EXPECT_EQ(m.Cost(2, 3), 1);
    EXPECT_EQ(m.Cost(3, 1), 500004);
}

TEST(PairingCostTest, EveryEarlierGameCostsARepeatAndTheLastRoundOneMore)
{
    CResultTable t = MakeTable(4, 4);
    PlayGame(t, 0, 0, 1, ResultDraw);
    PlayGame(t, 0, 2, 3, ResultWin, 10);
    PlayGame(t, 1, 0, 1, ResultWin, 2);
    PlayGame(t, 1, 2, 3, ResultWin, 10);
    PairingPenalties noRepeats;
    noRepeats.repeatPenalty = 0;
    noRepeats.lastRoundRepeatPenalty = 0;
    auto repeatPart = [&](int round, int a, int b) {
        t.ComputeTotals(-1, round);
        return PairCost(t, PairingPenalties{}, round, a, b) - PairCost(t, noRepeats, round, a, b);
    };
    EXPECT_EQ(repeatPart(1, 0, 1), 3000000 + 100000);
    EXPECT_EQ(repeatPart(2, 0, 1), 2 * 3000000 + 100000);
    EXPECT_EQ(repeatPart(2, 0, 2), 0);
    PlayGame(t, 2, 0, 2, ResultWin, 2);
    PlayGame(t, 2, 1, 3, ResultWin, 2);
    EXPECT_EQ(repeatPart(3, 0, 1), 2 * 3000000); // not met in the round just before
    EXPECT_EQ(repeatPart(3, 0, 2), 3000000 + 100000);
}

TEST(PairingCostTest, FloatHistoryTakesTheLastGameBack)
{
    CResultTable t = MakeTable(6, 3);
    PlayGame(t, 0, 0, 1, ResultWin, 4);   // row 0: 2, row 1: 0
    PlayGame(t, 0, 2, 3, ResultDraw);     // rows 2, 3: 1
    PlayGame(t, 1, 0, 2, ResultWin, 4);   // 0 (2) beat 2 (1): floated down
    PlayGame(t, 1, 1, 3, ResultLoss, -4); // 1 (0) lost to 3 (1): floated up
    GiveBye(t, 1, 4, ResultWin);          // a bye with 2 points: not more than 2
    GiveBye(t, 0, 5, ResultWin);
    GiveBye(t, 1, 5, ResultWin); // 4 points: a bye counts as floating down
    EXPECT_EQ(FloatHistory(t, 0, 2), -1);
    EXPECT_EQ(FloatHistory(t, 2, 2), 1);
    EXPECT_EQ(FloatHistory(t, 1, 2), 1);
    EXPECT_EQ(FloatHistory(t, 3, 2), -1);
    EXPECT_EQ(FloatHistory(t, 4, 2), 0);
    EXPECT_EQ(FloatHistory(t, 5, 2), -1);
    EXPECT_EQ(FloatHistory(t, 0, 0), 0);
    EXPECT_EQ(FloatHistory(t, 0, 3), 0); // no game in round 2

    // An unplayed pairing is taken back like a loss: only the opponent loses 2.
    CResultTable u = MakeTable(2, 2);
    PlayGame(u, 0, 0, 1, ResultNone);
    EXPECT_EQ(FloatHistory(u, 0, 1), -1); // 0 against -2: "floated down"
}

TEST(PairingCostTest, GroupPositionsCountFromBothEndsOfEachPointsGroup)
{
    CResultTable t = MakeTable(6, 2);
    const int points[] = {4, 4, 4, 2, 0, 0};
    for (int r = 0; r < 6; ++r)
        t.Entry(r).points = points[r];
    AssignGroupPositions(t, {0, 1, 2, 3, 4, 5});
    const int top[] = {1, 2, 3, 1, 1, 2};
    const int bottom[] = {3, 2, 1, 1, 2, 1};
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(t.Entry(r).groupPosTop, top[r]) << r;
        EXPECT_EQ(t.Entry(r).groupPosBottom, bottom[r]) << r;
    }
}

TEST(PairingCostTest, TheOnePassMatrixEqualsThePerPairFormula)
{
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        SimulationOptions o;
        o.players = 40;
        o.rounds = 30;
        o.playedRounds = static_cast<int>(seed * 4); // up to 24 rounds: repeats are certain
        o.seed = seed;
        o.absentPerMille = 50;
        o.handPairedPairs = 2;
        CResultTable t = SimulateTournament(o);
        CRandomGenerator random(seed);
        const std::vector<int> slots = PrepareRound(t, o.playedRounds, random).rows;
        const int n = static_cast<int>(slots.size());
        CPairingMatcher m;
        m.Init(n);
        BuildPairCosts(t, PairingPenalties{}, o.playedRounds, slots, m);
        for (int a = 0; a < n; ++a) {
            EXPECT_EQ(m.Cost(a, a), 0);
            for (int b = a + 1; b < n; ++b) {
                const std::int32_t w = PairCost(t, PairingPenalties{}, o.playedRounds, slots[static_cast<size_t>(a)],
                                                slots[static_cast<size_t>(b)]);
                ASSERT_EQ(m.Cost(a, b), w) << "seed " << seed << ", slots " << a << ", " << b;
                ASSERT_EQ(m.Cost(b, a), w);
            }
        }
    }
}

} // namespace
} // namespace tabry::test
