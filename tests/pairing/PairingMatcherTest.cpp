// The matcher on small cases worked out by hand, down to the trace bytes.
#include "pairing/PairingMatcher.h"
#include "pairing/PairingTrace.h"

#include <gtest/gtest.h>

namespace tabry::test {
namespace {

CPairingMatcher Matrix(std::initializer_list<std::initializer_list<std::int32_t>> upper)
{
    // Rows of the upper triangle: row a lists cost(a, a+1), cost(a, a+2), ...
    CPairingMatcher m;
    m.Init(static_cast<int>(upper.size()) + 1);
    int a = 0;
    for (const auto& row : upper) {
        int b = a + 1;
        for (std::int32_t c : row)
            m.SetCost(a, b++, c);
        ++a;
    }
    return m;
}

TEST(PairingMatcherTest, TwoPairExchangeMendsTheGreedyStartAndIsTraced)
{
    // Greedy takes 0-1 (free), which leaves 2-3 at 100; swapping partners
    // costs 1 + 1.
    CPairingMatcher m = Matrix({{0, 1, 50}, {50, 1}, {100}});
    std::string trace;
    m.Optimise(&trace);
    EXPECT_EQ(trace, "         100: 00-01 02-03\n"
                     "--\n"
                     "2: 0:      2: 00-02 01-03\n"
                     "--\n"
                     "--\n");
    EXPECT_EQ(m.Partners(), (std::vector<int>{2, 3, 0, 1}));
    EXPECT_EQ(m.TotalCost(), 2);
}

TEST(PairingMatcherTest, GreedyStartAlternatesTopAndBottomAndBreaksTiesTowardsTheScanStart)
{
    // Six slots, every cost 5 except those named. Top first: slot 0 takes the
    // lowest of its cheapest (1 and 4 tie at 1 -> 1). Then the bottom: slot 5
    // scans down and takes the first of its cheapest (4 and 2 tie at 0 -> 4).
    // Left: 2-3.
    CPairingMatcher m;
    m.Init(6);
    for (int a = 0; a < 6; ++a)
        for (int b = a + 1; b < 6; ++b)
            m.SetCost(a, b, 5);
    m.SetCost(0, 1, 1);
    m.SetCost(0, 4, 1);
    m.SetCost(5, 4, 0);
    m.SetCost(5, 2, 0);
    std::string trace;
    m.Optimise(&trace);
    EXPECT_EQ(trace.substr(0, trace.find('\n') + 1), "           6: 00-01 02-03 04-05\n");
}

TEST(PairingMatcherTest, TiedFourPairRePairingsTakeTheLowestNumberedWay)
{
    // Found by search: in the four-pair phase two re-pairings of the pairs
    // 00-06, 01-02, 03-05, 04-09 both reach the total 1; the lower-numbered
    // one pairs 0 with 5 (the other would pair 0 with 4).
    CPairingMatcher m = Matrix({
        {1, 6, 6, 0, 0, 1, 0, 7, 8},
        {1, 2, 1, 1, 2, 0, 0, 6},
        {2, 7, 2, 7, 2, 2, 0},
        {1, 0, 0, 0, 0, 0},
        {6, 2, 8, 2, 0},
        {2, 7, 7, 8},
        {8, 7, 2},
        {0, 2},
        {1},
    });
    std::string trace;
    m.Optimise(&trace);
    EXPECT_EQ(trace, "           4: 00-04 01-07 02-08 03-09 05-06\n"
                     "--\n"
                     "2: 1:      3: 00-04 01-02 03-09 05-06 07-08\n"
                     "--\n"
                     "3: 0:      2: 00-06 01-02 03-05 04-09 07-08\n"
                     "--\n"
                     "4: 0:      1: 00-05 01-04 02-09 03-06 07-08\n");
}

TEST(PairingMatcherTest, TotalsBeyondThirtyTwoBitsAreExactInTheTrace)
{
    // Four pairs of 600000000: 2400000000 does not fit a signed 32-bit total.
    CPairingMatcher m;
    m.Init(8);
    for (int a = 0; a < 8; ++a)
        for (int b = a + 1; b < 8; ++b)
            m.SetCost(a, b, 600000000);
    std::string trace;
    m.Optimise(&trace);
    EXPECT_EQ(m.TotalCost(), 2400000000LL);
    EXPECT_EQ(trace.substr(0, 31), "     2400000000: 00-01 02-03 04");
}

TEST(PairingMatcherTest, CostTraceShowsLargeCostsAsSixNines)
{
    CPairingMatcher m = Matrix({{12, 999999, 1000000}, {-5, 2147483647}, {0}});
    EXPECT_EQ(FormatCostTrace(m), "00:      0     12 999999 999999\n"
                                  "01:     12      0     -5 999999\n"
                                  "02: 999999     -5      0      0\n"
                                  "03: 999999 999999      0      0\n");
}

} // namespace
} // namespace tabry::test
