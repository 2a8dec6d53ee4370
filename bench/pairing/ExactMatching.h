#pragma once
// The exact minimum-cost perfect matching of a cost matrix, the yardstick of
// the pairing benchmark. Plain types only: the solver's headers need an
// older language standard than the rest of the program and stay in their own
// translation unit.

#include <cstdint>
#include <vector>

namespace tabry::bench {

// The lowest total of a perfect matching of n slots (n even) under the
// symmetric costs `cost` (n x n, row-major), and each slot's partner.
std::int64_t ExactMinimumCost(int n, const std::vector<std::int32_t>& cost, std::vector<int>& partner);

} // namespace tabry::bench
