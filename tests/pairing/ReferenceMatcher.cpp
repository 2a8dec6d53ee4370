#include "tests/pairing/ReferenceMatcher.h"

#include <cinttypes>
#include <cstdio>

namespace tabry::test {

ReferenceMatcher::ReferenceMatcher(int size) : n(size), cost(static_cast<size_t>(size * size), 0), partner(static_cast<size_t>(size), -1) {}

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

bool ReferenceMatcher::TryFourExchange(int X)
{
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
                // The current pairing and the eight ways of re-pairing the
                // four pairs: new partners of X, i, b and d.
                const int ways[9][4] = {
                    {xp, ip, bp, dp}, {ip, bp, dp, xp}, {ip, dp, xp, bp},
                    {bp, xp, dp, ip}, {bp, dp, xp, ip}, {bp, dp, ip, xp},
                    {dp, xp, ip, bp}, {dp, bp, ip, xp}, {dp, bp, xp, ip},
                };
                std::int64_t sum[9];
                int best = 0;
                for (int k = 0; k < 9; ++k) {
                    sum[k] = c(X, ways[k][0]) + c(i, ways[k][1]) + c(b, ways[k][2]) + c(d, ways[k][3]);
                    if (sum[k] < sum[best])
                        best = k;
                }
                if (best != 0) {
                    Link(X, ways[best][0]);
                    Link(i, ways[best][1]);
                    Link(b, ways[best][2]);
                    Link(d, ways[best][3]);
                    totalCost += sum[best] - sum[0];
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace tabry::test
