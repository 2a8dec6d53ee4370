#pragma once
// The matcher written as plainly as it is described: the greedy start and the
// three exchange phases as nested loops over every candidate, in scan order.
// It is the yardstick for CPairingMatcher, whose pruned scans must make the
// same decisions; it is never used to pair a tournament.

#include <cstdint>
#include <string>
#include <vector>

namespace tabry::test {

class ReferenceMatcher {
public:
    explicit ReferenceMatcher(int n);

    void SetCost(int a, int b, std::int32_t cost);
    // Greedy start and the two-, three- and four-pair phases, appending the
    // progress lines to `trace`.
    void Optimise(std::string& trace);

    // Position of the cost of (a, b) in `cost`.
    size_t At(int a, int b) const { return static_cast<size_t>(a) * static_cast<size_t>(n) + static_cast<size_t>(b); }

    int n;
    std::vector<std::int32_t> cost; // n x n
    std::vector<int> partner;
    std::int64_t totalCost = 0;

private:
    std::int64_t c(int a, int b) const { return cost[At(a, b)]; }
    void Link(int a, int b);
    void State(std::string& trace) const;
    bool TryTwoExchange(int x);
    bool TryThreeExchange(int x);
    bool TryFourExchange(int x);
};

} // namespace tabry::test
