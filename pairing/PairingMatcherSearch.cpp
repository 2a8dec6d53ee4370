// The three- and four-pair exchange phases.
//
// Plainly, the scan of slot X tries every pair of slots (i, j) or triple
// (i, b, d) in turn and applies the first exchange that lowers the total.
// Almost always none does, and the plain scan spends O(n^2) or O(n^3) to learn
// that. Here the exchanges that lower the total are listed directly, and each
// slot's scan takes the one the plain scan would have met first.
//
// Write s' for the partner of s and D(s, t) = cost(s, t') - cost(s, s'), the
// change of s's pair cost when s takes t's partner. An exchange moves the
// partners of its slots around a cycle (X gets i', i gets j', j gets x', ...),
// so its change of the total is the sum of D along the cycle, or of two
// two-cycles for the double swaps of the four-pair phase. If a cycle's sum is
// negative, some rotation of it has every partial sum negative (start just
// after the point where the running sum peaks). So every improving cycle is
// found by starting at an edge with D < 0 and extending only while the running
// sum stays negative. Each row of costs is sorted cheapest first, so "every t
// with D(s, t) < limit" is a walk along a prefix of s's row; only the
// prefixes the walks reach are ever sorted.
//
// The last step of a cycle back to its start s0 is known in advance: the
// slot reached last takes s0's partner. So before the cycles from s0 are
// walked, what that step would add is worked out once for every slot
// (m_closing), and the innermost walk is a plain scan of one row.
//
// The listing is exact: it yields every improving exchange, each checked by
// its exact sum, and the choice among them follows the plain scan's order.
// Its work grows with the number of cheaper alternatives to the current
// pairs, which is small once the greedy start and the earlier phases are done.
// The lists are rebuilt only after an exchange is applied.
#include "pairing/PairingMatcher.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace tabry {

namespace {
// A row entry's cost is kept as cost + kCostBias, never negative.
constexpr std::int64_t kCostBias = std::int64_t{1} << 31;

std::int64_t CostOf(std::uint64_t entry)
{
    return static_cast<std::int64_t>(entry >> 32) - kCostBias;
}

int SlotOf(std::uint64_t entry)
{
    return static_cast<int>(entry & 0xffffffffU);
}

// Added to a slot's closing step to keep a cycle from reaching it: far above
// any sum of costs, far below overflow.
constexpr std::int64_t kBlocked = std::int64_t{1} << 60;

// The innermost walk of the cycle searches, where nearly all their time
// goes: the first of the entries [k, end) of a row whose biased cost reaches
// `bound` (the walk ends there) or whose cost and closing step together stay
// below it (a gaining cycle), or `end`. Kept out of line so that its loop
// has the registers to itself.
[[gnu::noinline]] size_t ScanForClosing(const std::uint64_t* row, size_t k, size_t end, std::int64_t bound,
                                        const std::int64_t* closing)
{
    for (; k < end; ++k) {
        const std::uint64_t entry = row[k];
        const auto cost = static_cast<std::int64_t>(entry >> 32);
        if (cost >= bound || cost + closing[SlotOf(entry)] < bound)
            return k;
    }
    return end;
}
} // namespace

void CPairingMatcher::PrepareRows()
{
    const size_t n = static_cast<size_t>(m_n);
    const size_t width = n - 1;
    m_rows.resize(n * width);
    m_sortedLength.assign(n, 0);
    for (size_t s = 0; s < n; ++s) {
        std::uint64_t* row = &m_rows[s * width];
        const std::int32_t* costs = &m_cost[s * n];
        for (size_t u = 0; u < n; ++u)
            if (u != s)
                *row++ = static_cast<std::uint64_t>(costs[u] + kCostBias) << 32 | u;
    }
    m_closing.resize(n);
}

// Sorts the next stretch of row s after its sorted prefix (first the 128
// cheapest entries, which is as far as most walks go, then doubling) and
// returns the new length of the prefix.
size_t CPairingMatcher::ExtendSortedRow(int s)
{
    const size_t width = static_cast<size_t>(m_n) - 1;
    std::uint64_t* const row = &m_rows[static_cast<size_t>(s) * width];
    size_t& sorted = m_sortedLength[static_cast<size_t>(s)];
    const size_t next = std::min(width, std::max<size_t>(2 * sorted, 128));
    if (next < width)
        std::nth_element(row + sorted, row + next, row + width);
    std::sort(row + sorted, row + next);
    sorted = next;
    return next;
}

// Calls visit(t, D(s, t)) for every slot t outside s's pair with
// D(s, t) < limit, smallest first.
template <class Visit>
void CPairingMatcher::ForEachCheaper(int s, std::int64_t limit, Visit&& visit)
{
    const size_t width = static_cast<size_t>(m_n) - 1;
    const std::uint64_t* const row = &m_rows[static_cast<size_t>(s) * width];
    const int sp = Partner(s);
    const std::int64_t current = m_current[static_cast<size_t>(s)];
    for (size_t k = 0; k < width;) {
        const size_t sorted =
            m_sortedLength[static_cast<size_t>(s)] > k ? m_sortedLength[static_cast<size_t>(s)] : ExtendSortedRow(s);
        for (; k < sorted; ++k) {
            const int u = SlotOf(row[k]); // s would take u, the partner of t = u'
            const std::int64_t d = CostOf(row[k]) - current;
            if (d >= limit)
                return;
            if (u != sp)
                visit(Partner(u), d);
        }
    }
}

// The closing step of every cycle from s0, kept by the partner u of the
// slot t that takes it: m_closing[u] = D(t, s0), what t's pair cost changes
// by when t takes s0's partner. Neither s0 nor its partner can be reached
// again.
void CPairingMatcher::PrepareClosing(int s0)
{
    const int s0p = Partner(s0);
    const std::int32_t* costs = &m_cost[Index(s0p, 0)]; // cost(t, s0') = cost(s0', t)
    for (size_t u = 0; u < static_cast<size_t>(m_n); ++u) {
        const size_t t = static_cast<size_t>(m_partner[u]);
        m_closing[u] = costs[t] - m_current[t];
    }
    m_closing[static_cast<size_t>(s0)] = kBlocked;
    m_closing[static_cast<size_t>(s0p)] = kBlocked;
}

// The last two steps of a cycle, given the sum of the steps before as
// -limit: calls hit(t) for every slot t outside s's pair with
// D(s, t) < limit (the running sum stays negative) and
// D(s, t) + D(t, s0) < limit (the whole cycle gains).
template <class Hit>
void CPairingMatcher::ForEachClosing(int s, std::int64_t limit, Hit&& hit)
{
    const size_t width = static_cast<size_t>(m_n) - 1;
    const std::uint64_t* const row = &m_rows[static_cast<size_t>(s) * width];
    const int sp = Partner(s);
    // In the row's biased costs: where the walk ends, and what an entry's
    // cost and closing step together must stay below.
    const std::int64_t bound = m_current[static_cast<size_t>(s)] + limit + kCostBias;
    size_t k = 0;
    while (k < width) {
        const size_t sorted =
            m_sortedLength[static_cast<size_t>(s)] > k ? m_sortedLength[static_cast<size_t>(s)] : ExtendSortedRow(s);
        k = ScanForClosing(row, k, sorted, bound, m_closing.data());
        if (k == sorted)
            continue; // on into the next stretch of the row
        if (static_cast<std::int64_t>(row[k] >> 32) >= bound)
            return;
        const int u = SlotOf(row[k]);
        if (u != sp)
            hit(Partner(u));
        ++k;
    }
}

// Records the exchange of slot x with the slots a, b (and c, or -1 in the
// three-pair phase) if the plain scan of x would meet it before the one
// recorded so far. The scan order is lexicographic in the sorted slots.
void CPairingMatcher::OfferCandidate(int x, int a, int b, int c)
{
    std::array<int, 3> t = {a, b, c};
    const int k = c < 0 ? 2 : 3;
    std::sort(t.begin(), t.begin() + k);
    std::int64_t key = 0;
    for (int j = 0; j < k; ++j)
        key = key * m_n + t[static_cast<size_t>(j)];
    std::int64_t& first = m_first[static_cast<size_t>(x)];
    if (first == kNone || key < first)
        first = key;
}

// Every improving three-pair exchange is a three-cycle s0 -> s1 -> s2 -> s0 of
// slots from three pairs with a negative sum; X can be any of the three, and
// both directions of the cycle are among X's alternatives.
void CPairingMatcher::FindThreeExchanges()
{
    m_first.assign(static_cast<size_t>(m_n), kNone);
    for (int s0 = 0; s0 < m_n; ++s0) {
        bool closingReady = false; // most slots start no cycle at all
        ForEachCheaper(s0, 0, [&](int s1, std::int64_t d01) {
            if (!closingReady)
                PrepareClosing(s0);
            closingReady = true;
            ForEachClosing(s1, -d01, [&](int s2) {
                OfferCandidate(s0, s1, s2, -1);
                OfferCandidate(s1, s2, s0, -1);
                OfferCandidate(s2, s0, s1, -1);
            });
        });
    }
    m_foundPhase = 3;
}

bool CPairingMatcher::TryThreeExchange(int x)
{
    if (m_foundPhase != 3)
        FindThreeExchanges();
    const std::int64_t key = m_first[static_cast<size_t>(x)];
    if (key == kNone)
        return false;
    const int i = static_cast<int>(key / m_n);
    const int j = static_cast<int>(key % m_n);
    const int xp = Partner(x);
    const int ip = Partner(i);
    const int jp = Partner(j);
    const std::int64_t old = C(x, xp) + C(i, ip) + C(j, jp);
    const std::int64_t alt1 = C(x, ip) + C(i, jp) + C(j, xp);
    const std::int64_t alt2 = C(x, jp) + C(i, xp) + C(j, ip);
    if (!(alt1 < old) && !(alt2 < old)) {
        // Cannot happen: only exchanges with a negative sum are recorded. Never
        // loop on it, though.
        assert(false);
        m_first[static_cast<size_t>(x)] = kNone;
        return false;
    }
    if (alt1 < old && alt1 < alt2) {
        Pair(x, ip);
        Pair(i, jp);
        Pair(j, xp);
        m_totalCost += alt1 - old;
    } else {
        Pair(x, jp);
        Pair(i, xp);
        Pair(j, ip);
        m_totalCost += alt2 - old;
    }
    m_foundPhase = 0;
    return true;
}

// The four-pair alternatives of X are the six four-cycles through X and the
// two double swaps (X b)(i d) and (X d)(i b), where i < b < d are the other
// three slots. Four-cycles come from walks of negative running sum; a double
// swap with a negative sum has a negative swap in it (found from one of its
// two edges, one of which is negative), and the other swap then costs less
// than what the first one saves.
void CPairingMatcher::FindFourExchanges()
{
    m_first.assign(static_cast<size_t>(m_n), kNone);
    const size_t width = static_cast<size_t>(m_n) - 1;
    for (int s0 = 0; s0 < m_n; ++s0) {
        const int s0p = Partner(s0);
        // The first two steps of every cycle from s0. Many of them reach the
        // same s2, and the last two steps from s2 differ only in how far
        // along s2's row they may go and which pair they must avoid, so
        // each row is walked once, as far as the farthest of them, and what
        // it finds is checked against each.
        m_paths.clear();
        ForEachCheaper(s0, 0, [&](int s1, std::int64_t d01) {
            ForEachCheaper(s1, -d01, [&](int s2, std::int64_t d12) {
                if (s2 != s0 && s2 != s0p)
                    m_paths.push_back({s2, s1, m_current[static_cast<size_t>(s2)] - (d01 + d12) + kCostBias});
            });
        });
        if (m_paths.empty())
            continue;
        PrepareClosing(s0);
        std::sort(m_paths.begin(), m_paths.end(), [](const TwoSteps& l, const TwoSteps& r) { return l.s2 < r.s2; });
        for (size_t first = 0; first < m_paths.size();) {
            const int s2 = m_paths[first].s2;
            size_t last = first;
            std::int64_t bound = m_paths[first].bound;
            while (last < m_paths.size() && m_paths[last].s2 == s2)
                bound = std::max(bound, m_paths[last++].bound);
            const std::uint64_t* const row = &m_rows[static_cast<size_t>(s2) * width];
            const int s2p = Partner(s2);
            for (size_t k = 0; k < width;) {
                const size_t sorted = m_sortedLength[static_cast<size_t>(s2)] > k
                                          ? m_sortedLength[static_cast<size_t>(s2)]
                                          : ExtendSortedRow(s2);
                k = ScanForClosing(row, k, sorted, bound, m_closing.data());
                if (k == sorted)
                    continue;
                const auto cost = static_cast<std::int64_t>(row[k] >> 32);
                if (cost >= bound)
                    break;
                const int u = SlotOf(row[k]);
                const int s3 = Partner(u);
                for (size_t p = first; p < last; ++p) {
                    const TwoSteps& path = m_paths[p];
                    // s3 is none of s1's pair, and the cycle gains within
                    // this path's own bound.
                    if (u == s2p || u == path.s1 || s3 == path.s1 || cost >= path.bound
                        || cost + m_closing[static_cast<size_t>(u)] >= path.bound)
                        continue;
                    OfferCandidate(s0, path.s1, s2, s3);
                    OfferCandidate(path.s1, s2, s3, s0);
                    OfferCandidate(s2, s3, s0, path.s1);
                    OfferCandidate(s3, s0, path.s1, s2);
                }
                ++k;
            }
            first = last;
        }
    }

    // Double swaps. For X the swap partner must not be the smallest of the
    // other three: (X i)(b d) is not among the alternatives.
    auto offerSwaps = [&](int a, int c, int e, int f) {
        if (c > std::min(e, f))
            OfferCandidate(a, c, e, f);
        if (a > std::min(e, f))
            OfferCandidate(c, a, e, f);
        if (f > std::min(a, c))
            OfferCandidate(e, f, a, c);
        if (e > std::min(a, c))
            OfferCandidate(f, e, a, c);
    };
    for (int a = 0; a < m_n; ++a) {
        const int ap = Partner(a);
        ForEachCheaper(a, 0, [&](int c, std::int64_t dac) {
            const std::int64_t dca = Delta(c, a);
            const std::int64_t swap = dac + dca;
            // A swap with both edges negative is met from both ends; take it once.
            if (swap >= 0 || (dca < 0 && c < a))
                return;
            const int cp = Partner(c);
            const std::int64_t room = -swap; // the other swap must cost less than this
            for (int e = 0; e < m_n; ++e) {
                if (e == a || e == ap || e == c || e == cp)
                    continue;
                // One of the two edges of a swap costing less than `room` is below half of it.
                ForEachCheaper(e, (room + 1) / 2, [&](int f, std::int64_t def) {
                    if (f == a || f == ap || f == c || f == cp)
                        return;
                    if (def + Delta(f, e) < room)
                        offerSwaps(a, c, e, f);
                });
            }
        });
    }
    m_foundPhase = 4;
}

bool CPairingMatcher::TryFourExchange(int x)
{
    if (m_foundPhase != 4)
        FindFourExchanges();
    const std::int64_t key = m_first[static_cast<size_t>(x)];
    if (key == kNone)
        return false;
    const int i = static_cast<int>(key / m_n / m_n);
    const int b = static_cast<int>(key / m_n % m_n);
    const int d = static_cast<int>(key % m_n);
    const int xp = Partner(x);
    const int ip = Partner(i);
    const int bp = Partner(b);
    const int dp = Partner(d);
    // The current pairing and the eight re-pairings: new partners of X, i, b, d.
    const int ways[9][4] = {
        {xp, ip, bp, dp}, {ip, bp, dp, xp}, {ip, dp, xp, bp}, {bp, xp, dp, ip}, {bp, dp, xp, ip},
        {bp, dp, ip, xp}, {dp, xp, ip, bp}, {dp, bp, ip, xp}, {dp, bp, xp, ip},
    };
    std::int64_t sum[9];
    int best = 0;
    for (int k = 0; k < 9; ++k) {
        sum[k] = C(x, ways[k][0]) + C(i, ways[k][1]) + C(b, ways[k][2]) + C(d, ways[k][3]);
        if (sum[k] < sum[best])
            best = k; // the lowest-numbered way wins a tie
    }
    if (best == 0) {
        assert(false); // as in the three-pair phase: cannot happen
        m_first[static_cast<size_t>(x)] = kNone;
        return false;
    }
    Pair(x, ways[best][0]);
    Pair(i, ways[best][1]);
    Pair(b, ways[best][2]);
    Pair(d, ways[best][3]);
    m_totalCost += sum[best] - sum[0];
    m_foundPhase = 0;
    return true;
}

} // namespace tabry
