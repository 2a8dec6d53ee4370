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

void ExpectSameDecisions(CPairingMatcher& matcher)
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
