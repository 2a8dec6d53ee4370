#include "tests/pairing/ReferenceMatcher.h"

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdio>

namespace tabry::test {

ReferenceMatcher::ReferenceMatcher(int size)
    : n(size), cost(static_cast<size_t>(size * size), 0), partner(static_cast<size_t>(size), -1)
{
}

void ReferenceMatcher::SetCost(int a, int b, std::int32_t w)
{
    if (a == b)
        return;
    cost[At(a, b)] = w;
    cost[At(b, a)] = w;
}

void ReferenceMatcher::Link(int a, int b)
{
    partner[static_cast<size_t>(a)] = b;
    partner[static_cast<size_t>(b)] = a;
}

void ReferenceMatcher::State(std::string& trace) const
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%7" PRId64 ":", totalCost);
    trace += buf;
    for (int i = 0; i < n; ++i) {
        if (partner[static_cast<size_t>(i)] > i) {
            std::snprintf(buf, sizeof buf, " %02d-%02d", i, partner[static_cast<size_t>(i)]);
            trace += buf;
        }
    }
    trace += "\n";
}

void ReferenceMatcher::Optimise(std::string& trace)
{
    // Greedy start: lowest unpaired slot with its cheapest higher slot (first
    // on ties), then highest unpaired slot with its cheapest lower slot
    // scanning down (first met on ties), alternately.
    int r = n;
    while (true) {
        int i = 0;
        while (partner[static_cast<size_t>(i)] != -1)
            ++i;
        int best = -1;
        for (int j = i + 1; j < n; ++j)
            if (partner[static_cast<size_t>(j)] == -1 && (best == -1 || c(i, j) < c(i, best)))
                best = j;
        Link(i, best);
        totalCost += c(i, best);
        r -= 2;
        if (r <= 0)
            break;

        i = n - 1;
        while (partner[static_cast<size_t>(i)] != -1)
            --i;
        best = -1;
        for (int j = i - 1; j >= 0; --j)
            if (partner[static_cast<size_t>(j)] == -1 && (best == -1 || c(i, j) < c(i, best)))
                best = j;
        Link(i, best);
        totalCost += c(i, best);
        r -= 2;
        if (r <= 0)
            break;
    }
    trace += "     ";
    State(trace);

    char buf[16];
    trace += "--\n";
    for (int x = 0; x < n; ++x)
        while (TryTwoExchange(x)) {
            std::snprintf(buf, sizeof buf, "2:%2d:", x);
            trace += buf;
            State(trace);
        }
    trace += "--\n";
    for (int x = 0; x < n; ++x)
        while (TryThreeExchange(x)) {
            std::snprintf(buf, sizeof buf, "3:%2d:", x);
            trace += buf;
            State(trace);
        }
    trace += "--\n";
    for (int x = 0; x < n; ++x)
        while (TryFourExchange(x)) {
            std::snprintf(buf, sizeof buf, "4:%2d:", x);
            trace += buf;
            State(trace);
        }
}

bool ReferenceMatcher::TryTwoExchange(int X)
{
    const int xp = partner[static_cast<size_t>(X)];
    for (int j = 0; j < n; ++j) {
        const int jp = partner[static_cast<size_t>(j)];
        if (j == X || jp == X)
            continue;
        if (c(X, j) + c(xp, jp) < c(j, jp) + c(X, xp)) {
            totalCost += c(X, j) + c(xp, jp) - c(j, jp) - c(X, xp);
            Link(X, j);
            Link(xp, jp);
            return true;
        }
    }
    return false;
}

bool ReferenceMatcher::TryThreeExchange(int X)
{
    const int xp = partner[static_cast<size_t>(X)];
    for (int i = 0; i < n; ++i) {
        const int ip = partner[static_cast<size_t>(i)];
        if (i == X || ip == X)
            continue;
        for (int j = i + 1; j < n; ++j) {
            const int jp = partner[static_cast<size_t>(j)];
            if (j == X || jp == X || jp == i)
                continue;
            const std::int64_t old = c(X, xp) + c(i, ip) + c(j, jp);
            const std::int64_t alt1 = c(X, ip) + c(i, jp) + c(j, xp);
            const std::int64_t alt2 = c(X, jp) + c(i, xp) + c(j, ip);
            if (alt1 < old && alt1 < alt2) {
                Link(X, ip);
                Link(i, jp);
                Link(j, xp);
                totalCost += alt1 - old;
                return true;
            }
            if (alt2 < old) {
                Link(X, jp);
                Link(i, xp);
                Link(j, ip);
                totalCost += alt2 - old;
                return true;
            }
        }
    }
    return false;
}

namespace {

// A re-pairing of the four pairs (X, x'), (i, i'), (b, b'), (d, d'): the
// entry k names the pair whose old partner slot k takes, slots numbered
// 0 X, 1 i, 2 b, 3 d.
using Way = std::array<int, 4>;

// Every way of handing the four old partners round so that nobody keeps his
// own, except X and i swapping theirs while b and d swap theirs. In the order
// they are tried: by X's new partner (i', b', d'), then by i's (x', b', d'),
// and where both agree the two swaps before the four-cycle.
std::vector<Way> FourPairWays()
{
    std::vector<Way> ways;
    for (int x = 0; x < 4; ++x)
        for (int i = 0; i < 4; ++i)
            for (int b = 0; b < 4; ++b)
                for (int d = 0; d < 4; ++d) {
                    const Way w = {x, i, b, d};
                    const bool handsAllFour = x != i && x != b && x != d && i != b && i != d && b != d;
                    const bool nobodyKeeps = x != 0 && i != 1 && b != 2 && d != 3;
                    const bool xiAndBdSwap = x == 1 && i == 0 && b == 3 && d == 2;
                    if (handsAllFour && nobodyKeeps && !xiAndBdSwap)
                        ways.push_back(w);
                }
    auto twoSwaps = [](const Way& w) { return w[static_cast<size_t>(w[0])] == 0; };
    std::stable_sort(ways.begin(), ways.end(), [&](const Way& l, const Way& r) {
        if (l[0] != r[0])
            return l[0] < r[0];
        if (l[1] != r[1])
            return l[1] < r[1];
        return twoSwaps(l) && !twoSwaps(r);
    });
    return ways;
}

} // namespace

bool ReferenceMatcher::TryFourExchange(int X)
{
    static const std::vector<Way> kWays = FourPairWays();
    const int xp = partner[static_cast<size_t>(X)];
    for (int i = 0; i < n; ++i) {
        const int ip = partner[static_cast<size_t>(i)];
        if (i == X || ip == X)
            continue;
        for (int b = i + 1; b < n; ++b) {
            const int bp = partner[static_cast<size_t>(b)];
            if (b == X || bp == X || bp == i)
                continue;
            for (int d = b + 1; d < n; ++d) {
                const int dp = partner[static_cast<size_t>(d)];
                if (d == X || d == i || d == b || dp == X || dp == i || dp == b)
                    continue;
                const std::array<int, 4> slot = {X, i, b, d};
                const std::array<int, 4> old = {xp, ip, bp, dp};
                const std::int64_t now = c(X, xp) + c(i, ip) + c(b, bp) + c(d, dp);
                // The cheapest way wins, the first one tried on ties, and
                // only when it is cheaper than the pairs as they are.
                const Way* best = nullptr;
                std::int64_t bestSum = now;
                for (const Way& w : kWays) {
                    std::int64_t sum = 0;
                    for (size_t k = 0; k < 4; ++k)
                        sum += c(slot[k], old[static_cast<size_t>(w[k])]);
                    if (sum < bestSum) {
                        best = &w;
                        bestSum = sum;
                    }
                }
                if (best != nullptr) {
                    for (size_t k = 0; k < 4; ++k)
                        Link(slot[k], old[static_cast<size_t>((*best)[k])]);
                    totalCost += bestSum - now;
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace tabry::test
