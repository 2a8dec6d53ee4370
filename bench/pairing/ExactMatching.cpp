#include "bench/pairing/ExactMatching.h"

#include <lemon/full_graph.h>
#include <lemon/matching.h>

namespace tabry::bench {

std::int64_t ExactMinimumCost(int n, const std::vector<std::int32_t>& cost, std::vector<int>& partner)
{
    using Graph = lemon::FullGraph;
    using Weights = Graph::EdgeMap<std::int64_t>;
    const Graph graph(n);
    // The solver maximises: the lowest cost is the highest negated cost.
    Weights weight(graph);
    for (Graph::EdgeIt e(graph); e != lemon::INVALID; ++e) {
        const auto u = static_cast<std::size_t>(graph.id(graph.u(e)));
        const auto v = static_cast<std::size_t>(graph.id(graph.v(e)));
        weight[e] = -static_cast<std::int64_t>(cost[u * static_cast<std::size_t>(n) + v]);
    }
    lemon::MaxWeightedPerfectMatching<Graph, Weights> exact(graph, weight);
    partner.assign(static_cast<std::size_t>(n), -1);
    if (!exact.run())
        return -1;
    for (Graph::NodeIt v(graph); v != lemon::INVALID; ++v)
        partner[static_cast<std::size_t>(graph.id(v))] = graph.id(exact.mate(v));
    return -exact.matchingWeight();
}

} // namespace tabry::bench
