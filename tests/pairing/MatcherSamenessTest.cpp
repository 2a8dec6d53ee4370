// The matcher's pruned searches against the plain nested scans: same pairs,
// same total, same trace, on random cost matrices and on tournaments.
#include "pairing/PairingCost.h"
#include "pairing/PairingGenerator.h"
#include "pairing/PairingMatcher.h"
#include "pairing/PairingTrace.h"
#include "pairing/RandomGenerator.h"
#include "tests/pairing/ReferenceMatcher.h"
#include "tests/pairing/SimulatedTournament.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <iterator>
#include <limits>
#include <random>

namespace tabry::test {
namespace {

enum class Costs {
    FewValues,     // 0..4: ties everywhere
    Uniform,       // 0..99999
    Signed,        // -1000..1000
    NearScoreGaps, // the penalty constants, up to 500000000 and 2^31-1: sums pass 32 bits
    Banded,        // tournament-like: cheap near the diagonal, steep away from it
};

// The reference's own rendering of the cost trace, written from the format.
std::string PlainCostTrace(const ReferenceMatcher& ref)
{
    std::string out;
    char buf[32];
    for (int m = 0; m < ref.n; ++m) {
        std::snprintf(buf, sizeof buf, "%02d:", m);
        out += buf;
        for (int b = 0; b < ref.n; ++b) {
            const int c = ref.cost[ref.At(m, b)];
            std::snprintf(buf, sizeof buf, " %6d", c > 999999 ? 999999 : c);
            out += buf;
        }
        out += "\n";
    }
    return out;
}

// Returns the number of four-pair steps in the plain scans' trace.
int ExpectSameDecisions(CPairingMatcher& matcher)
{
    const int n = matcher.SlotCount();
    ReferenceMatcher ref(n);
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b)
            ref.SetCost(a, b, matcher.Cost(a, b));
    EXPECT_EQ(FormatCostTrace(matcher), PlainCostTrace(ref));

    std::string fastTrace;
    std::string plainTrace;
    matcher.Optimise(&fastTrace);
    ref.Optimise(plainTrace);
    EXPECT_EQ(matcher.Partners(), ref.partner);
    EXPECT_EQ(matcher.TotalCost(), ref.totalCost);
    EXPECT_EQ(fastTrace, plainTrace);

    // The total is the true sum of the pairs, wherever it lies.
    std::int64_t sum = 0;
    for (int a = 0; a < n; ++a)
        if (matcher.Partner(a) > a)
            sum += matcher.Cost(a, matcher.Partner(a));
    EXPECT_EQ(matcher.TotalCost(), sum);

    int fourPairSteps = 0;
    for (size_t at = plainTrace.find("\n4:"); at != std::string::npos; at = plainTrace.find("\n4:", at + 1))
        ++fourPairSteps;
    return fourPairSteps;
}

std::int32_t Draw(Costs kind, std::mt19937& rng, int a, int b)
{
    switch (kind) {
    case Costs::FewValues:
        return static_cast<std::int32_t>(rng() % 5);
    case Costs::Uniform:
        return static_cast<std::int32_t>(rng() % 100000);
    case Costs::Signed:
        return static_cast<std::int32_t>(rng() % 2001) - 1000;
    case Costs::NearScoreGaps: {
        static constexpr std::int32_t kValues[] = {
            0,
            1,
            4,
            10000,
            30000,
            3100000,
            100000000,
            499999999,
            500000000,
            500010000,
            std::numeric_limits<std::int32_t>::max() - 1,
            std::numeric_limits<std::int32_t>::max(),
        };
        const std::int32_t v = kValues[rng() % std::size(kValues)];
        return v >= std::numeric_limits<std::int32_t>::max() - 1 ? v : v + static_cast<std::int32_t>(rng() % 3);
    }
    case Costs::Banded:
        break;
    }
    const std::uint64_t gap = static_cast<std::uint64_t>(std::abs(a - b));
    return static_cast<std::int32_t>(gap * gap * (rng() % 4) + (gap > 6 ? 30000 : 0));
}

// 60 matrices per kind, 300 in all, of even sizes 2 to 80.
class RandomMatrices : public ::testing::TestWithParam<Costs> {};

TEST_P(RandomMatrices, GiveTheSamePairsTotalsAndTraceAsThePlainScans)
{
    const int kind = static_cast<int>(GetParam());
    std::mt19937 rng(static_cast<std::uint32_t>(1000 + kind));
    for (int k = 0; k < 60; ++k) {
        const int n = 2 + 2 * ((k * 7 + kind) % 40);
        SCOPED_TRACE("matrix " + std::to_string(k) + ", " + std::to_string(n) + " slots");
        CPairingMatcher matcher;
        matcher.Init(n);
        for (int a = 0; a < n; ++a)
            for (int b = a + 1; b < n; ++b)
                matcher.SetCost(a, b, Draw(GetParam(), rng, a, b));
        ExpectSameDecisions(matcher);
        if (HasFailure())
            return;
    }
}

std::string KindName(const ::testing::TestParamInfo<Costs>& param)
{
    static const char* const kNames[] = {"FewValues", "Uniform", "Signed", "NearScoreGaps", "Banded"};
    return kNames[static_cast<int>(param.param)];
}

INSTANTIATE_TEST_SUITE_P(AllKinds, RandomMatrices,
                         ::testing::Values(Costs::FewValues, Costs::Uniform, Costs::Signed, Costs::NearScoreGaps,
                                           Costs::Banded),
                         KindName);

// Rarely does anything survive the two- and three-pair phases, so the
// four-pair phase is met mostly on small matrices of few values, where it
// decides often.
TEST(FourPairPhase, DecidesAsThePlainScansOnSmallMatrices)
{
    std::mt19937 rng(20);
    int fourPairSteps = 0;
    for (int k = 0; k < 10000; ++k) {
        const int n = 8 + 2 * (k % 3);
        SCOPED_TRACE("matrix " + std::to_string(k));
        CPairingMatcher matcher;
        matcher.Init(n);
        for (int a = 0; a < n; ++a)
            for (int b = a + 1; b < n; ++b)
                matcher.SetCost(a, b, static_cast<std::int32_t>(rng() % (3 + k % 4)));
        fourPairSteps += ExpectSameDecisions(matcher);
        if (HasFailure())
            return;
    }
    // Enough decisions of that phase for a wrong re-pairing to show.
    EXPECT_GE(fourPairSteps, 300);
}

// Two re-pairings of the four-pair phase that cost the same are decided by
// their order, but such ties are rare. In each of these matrices (upper
// triangles, row by row) the phase meets one, between one pair of
// neighbours in that order after another, so the order is checked whole.
TEST(FourPairPhase, BreaksTiesBetweenRePairingsInTheirOrder)
{
    const std::vector<std::vector<std::int32_t>> matrices = {
        {4, 4, 1, 3, 5, 3, 0, 1, 6, 6, 1, 1, 4, 4, 5, 4, 2, 0, 2, 1, 1, 0, 1,
         5, 2, 4, 4, 2, 2, 5, 0, 5, 4, 6, 1, 0, 0, 5, 1, 5, 3, 2, 1, 0, 4},
        {1, 4, 1, 3, 4, 0, 1, 4, 3, 4, 1, 1, 1, 0, 3, 0, 0, 2, 0, 3, 2, 2, 2, 4, 0, 4, 0, 2},
        {3, 1, 3, 0, 3, 3, 3, 3, 3, 4, 1, 1, 1, 4, 4, 4, 2, 4, 4, 4, 2, 0, 4, 0, 0, 0, 0, 1},
        {2, 3, 0, 3, 2, 2, 2, 1, 1, 1, 1, 3, 0, 0, 2, 0, 3, 3, 3, 0, 4, 0, 4, 2, 3, 0, 4, 0},
        {0, 3, 0, 1, 0, 2, 1, 1, 3, 3, 4, 3, 1, 1, 1, 4, 0, 1, 4, 0, 0, 1, 2, 3, 0, 0, 0, 1},
        {4, 4, 0, 1, 4, 2, 0, 3, 3, 1, 0, 1, 2, 1, 1, 1, 4, 3, 0, 4, 0, 0, 2, 4, 4, 4, 2, 3},
        {1, 1, 1, 2, 2, 1, 1, 1, 0, 0, 0, 1, 2, 0, 1, 2, 0, 2, 0, 0, 2, 1, 1, 0, 2, 1, 2, 1},
    };
    for (const std::vector<std::int32_t>& upper : matrices) {
        const int n = upper.size() == 28 ? 8 : 10;
        SCOPED_TRACE(std::to_string(n) + " slots");
        CPairingMatcher matcher;
        matcher.Init(n);
        size_t k = 0;
        for (int a = 0; a < n; ++a)
            for (int b = a + 1; b < n; ++b)
                matcher.SetCost(a, b, upper[k++]);
        EXPECT_GE(ExpectSameDecisions(matcher), 1);
    }
}

// The trace's number fields at their edges, against the printf forms: slot
// numbers of three digits, costs and totals of any sign and width.
TEST(TraceText, MatchesThePrintfFormsAtEveryWidth)
{
    const int n = 130;
    ReferenceMatcher ref(n);
    CPairingMatcher matcher;
    matcher.Init(n);
    const std::int32_t extremes[] = {
        std::numeric_limits<std::int32_t>::min(), -1000000, -100000, -99999, -1, 0, 7, 999999, 1000000,
        std::numeric_limits<std::int32_t>::max()};
    std::mt19937 rng(5);
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b) {
            const std::int32_t c = extremes[rng() % std::size(extremes)];
            ref.SetCost(a, b, c);
            matcher.SetCost(a, b, c);
        }
    EXPECT_EQ(FormatCostTrace(matcher), PlainCostTrace(ref));

    // Every slot paired with its mirror, so every slot number is written.
    std::vector<int> partner(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        partner[static_cast<size_t>(i)] = n - 1 - i;
    for (const std::int64_t total :
         {std::numeric_limits<std::int64_t>::min(), std::int64_t{-1234567}, std::int64_t{-1}, std::int64_t{0},
          std::int64_t{999999}, std::int64_t{12345678}, std::numeric_limits<std::int64_t>::max()}) {
        std::string expected;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%7" PRId64 ":", total);
        expected += buf;
        for (int i = 0; i < n / 2; ++i) {
            std::snprintf(buf, sizeof buf, " %02d-%02d", i, n - 1 - i);
            expected += buf;
        }
        expected += "\n";
        std::string line = "kept ";
        CPairingMatcher::AppendStateLine(line, total, partner);
        EXPECT_EQ(line, "kept " + expected);
    }
}

// Whole runs on simulated tournaments: the trace files of GeneratePairing
// against the plain matcher on the same slots and costs.
TEST(TournamentSameness, GeneratedTournamentsPairAsThePlainScansWould)
{
    TempDir dir;
    for (int k = 0; k < 24; ++k) {
        SimulationOptions o;
        o.players = 6 + 3 * k;
        o.rounds = 14;
        o.playedRounds = k % 13;
        o.seed = static_cast<std::uint32_t>(k + 1);
        o.emptyRowsPerMille = (k % 3) * 60;
        o.absentPerMille = (k % 4) * 40;
        o.handPairedPairs = k % 3;
        o.drawPerMille = k % 2 == 0 ? 30 : 250;
        o.tieBreak = k % kTieBreakMethodCount;
        SCOPED_TRACE("tournament " + std::to_string(k));
        const CResultTable played = SimulateTournament(o);

        CResultTable plainTable = played;
        CRandomGenerator plainRandom(static_cast<std::uint32_t>(k));
        const std::vector<int> slots = PrepareRound(plainTable, o.playedRounds, plainRandom).rows;
        ASSERT_FALSE(slots.empty());
        CPairingMatcher costs;
        costs.Init(static_cast<int>(slots.size()));
        BuildPairCosts(plainTable, PairingPenalties{}, o.playedRounds, slots, costs);
        ReferenceMatcher ref(costs.SlotCount());
        for (int a = 0; a < ref.n; ++a)
            for (int b = a + 1; b < ref.n; ++b)
                ref.SetCost(a, b, costs.Cost(a, b));
        const std::string plainCosts = PlainCostTrace(ref);
        std::string plainSteps;
        ref.Optimise(plainSteps);

        CResultTable table = played;
        CRandomGenerator random(static_cast<std::uint32_t>(k));
        PairingOptions options;
        options.trace.directory = dir.Path();
        PairingRunInfo info;
        ASSERT_EQ(GeneratePairing(table, o.playedRounds, random, options, &info), 0);
        EXPECT_EQ(info.slotRows, slots);
        EXPECT_EQ(info.partner, ref.partner);
        EXPECT_EQ(info.totalCost, ref.totalCost);
        EXPECT_EQ(ReadAll(dir / kCostTraceFileName), plainCosts);
        EXPECT_EQ(ReadAll(dir / kStepTraceFileName), plainSteps);
        if (HasFailure())
            return;
    }
}

} // namespace
} // namespace tabry::test
