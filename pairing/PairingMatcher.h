#pragma once
// A heuristic minimum-cost perfect matching over n slots (n even), given the
// symmetric cost of every pair: a greedy start taking pairs alternately from
// the top and the bottom of the slot list, then rounds of two-, three- and
// four-pair exchanges, each taking the first improving exchange in a fixed
// scan order. The matcher knows nothing of players or rounds: slots are
// indices, costs are numbers.
//
// The decisions (and the trace) are exactly those of the plain nested scans.
// Scanned plainly, the three- and four-pair phases cost O(n^2) and O(n^3)
// per attempted slot, minutes at 512 slots; instead the matcher lists only
// the exchanges that can still improve and picks the one the plain scan
// would have met first (see PairingMatcherSearch.cpp).

#include <cstdint>
#include <string>
#include <vector>

namespace tabry {

class CPairingMatcher {
public:
    // n slots, every slot unpaired, every cost 0, total 0. A perfect matching
    // needs an even n; the pairing adds the bye slot to make it so.
    void Init(int n);
    int SlotCount() const { return m_n; }

    // Sets cost(a, b) and cost(b, a); the diagonal stays 0.
    void SetCost(int a, int b, std::int32_t cost);
    std::int32_t Cost(int a, int b) const { return m_cost[Index(a, b)]; }

    // Pairs every slot. With `trace`, appends the progress lines: the state
    // after the greedy start, then "--" and one line per improvement of each
    // exchange phase. With fewer than two slots or an odd number of them it
    // does nothing. It only reads the costs, so another thread may read them
    // meanwhile (the pairing writes its cost trace so).
    void Optimise(std::string* trace = nullptr);

    // The partner of a slot, -1 before Optimise.
    int Partner(int slot) const { return m_partner[static_cast<size_t>(slot)]; }
    const std::vector<int>& Partners() const { return m_partner; }
    // Sum of the costs of the current pairs, exact in 64 bits.
    std::int64_t TotalCost() const { return m_totalCost; }

    // One trace state line: "%7d:" of the total, then " %02d-%02d" for every
    // slot whose partner is higher, then a newline.
    static void AppendStateLine(std::string& out, std::int64_t totalCost, const std::vector<int>& partner);

private:
    size_t Index(int a, int b) const
    {
        return static_cast<size_t>(a) * static_cast<size_t>(m_n) + static_cast<size_t>(b);
    }
    std::int64_t C(int a, int b) const { return m_cost[Index(a, b)]; }
    void Pair(int a, int b)
    {
        m_partner[static_cast<size_t>(a)] = b;
        m_partner[static_cast<size_t>(b)] = a;
        m_current[static_cast<size_t>(a)] = C(a, b);
        m_current[static_cast<size_t>(b)] = m_current[static_cast<size_t>(a)];
    }

    void GreedyStart();
    bool TryTwoExchange(int x);
    bool TryThreeExchange(int x);
    bool TryFourExchange(int x);

    // ---- the search behind the three- and four-pair phases ---------------
    // Change of s's pair cost if s took t's partner: cost(s, t') - cost(s, s').
    std::int64_t Delta(int s, int t) const { return C(s, Partner(t)) - C(s, Partner(s)); }
    template <class Visit>
    void ForEachCheaper(int s, std::int64_t limit, Visit&& visit);
    template <class Hit>
    void ForEachClosing(int s, std::int64_t limit, Hit&& hit);
    void PrepareRows();
    size_t ExtendSortedRow(int s);
    void PrepareClosing(int s0);
    void FindThreeExchanges();
    void FindFourExchanges();
    void OfferCandidate(int x, int a, int b, int c);

    int m_n = 0;
    std::vector<std::int32_t> m_cost; // n x n, row-major
    std::vector<int> m_partner;
    std::int64_t m_totalCost = 0;

    // Row s of m_rows: every other slot u with its cost(s, u), packed as
    // (cost + 2^31) << 32 | u so that one integer comparison orders them,
    // cheapest first and equal costs by slot. Only the first
    // m_sortedLength[s] entries are in order: the rest is sorted when a
    // search walks that far, which few do.
    std::vector<std::uint64_t> m_rows;
    std::vector<size_t> m_sortedLength;
    // Each slot's current pair cost (kept by Pair), and the scratch row of
    // the cycle searches: for every slot u, what the pair cost of u's
    // partner would change by if the partner took that of the slot the
    // cycle started from.
    std::vector<std::int64_t> m_current;
    std::vector<std::int64_t> m_closing;
    // The first two steps of the four-cycles from one start: where they end,
    // through which slot, and the bound of the last two steps in the row's
    // biased costs.
    struct TwoSteps {
        int s2;
        int s1;
        std::int64_t bound;
    };
    std::vector<TwoSteps> m_paths;
    // For each slot x, the first improving exchange of x's scan in scan
    // order, packed as a number that grows with that order (kNone: none).
    // Valid for the phase in m_foundPhase until the pairing changes.
    static constexpr std::int64_t kNone = -1;
    std::vector<std::int64_t> m_first;
    int m_foundPhase = 0;
};

} // namespace tabry
