// The greedy start, the two-pair exchange and the trace lines.
#include "pairing/PairingMatcher.h"

#include "pairing/TraceText.h"

namespace tabry {

void CPairingMatcher::Init(int n)
{
    m_n = n > 0 ? n : 0;
    m_cost.assign(static_cast<size_t>(m_n) * static_cast<size_t>(m_n), 0);
    m_partner.assign(static_cast<size_t>(m_n), -1);
    m_current.assign(static_cast<size_t>(m_n), 0);
    m_totalCost = 0;
}

void CPairingMatcher::SetCost(int a, int b, std::int32_t cost)
{
    if (a == b)
        return;
    m_cost[Index(a, b)] = cost;
    m_cost[Index(b, a)] = cost;
}

void CPairingMatcher::AppendStateLine(std::string& out, std::int64_t totalCost, const std::vector<int>& partner)
{
    // Room for the total and " %02d-%02d" of every pair, however wide.
    const size_t start = out.size();
    out.resize(start + (partner.size() / 2 + 1) * (2 * trace::kMaxField + 2) + 2);
    char* const first = out.data() + start;
    char* p = trace::PutNumber(first, totalCost, 7, ' ');
    *p++ = ':';
    for (size_t i = 0; i < partner.size(); ++i) {
        if (partner[i] > static_cast<int>(i)) {
            *p++ = ' ';
            p = trace::PutNumber(p, static_cast<std::int64_t>(i), 2, '0');
            *p++ = '-';
            p = trace::PutNumber(p, partner[i], 2, '0');
        }
    }
    *p++ = '\n';
    out.resize(start + static_cast<size_t>(p - first));
}

void CPairingMatcher::Optimise(std::string* trace)
{
    if (m_n < 2 || m_n % 2 != 0)
        return;
    // A second run on the same costs starts over rather than from a full pairing.
    m_partner.assign(static_cast<size_t>(m_n), -1);
    m_totalCost = 0;
    GreedyStart();
    if (trace != nullptr) {
        *trace += "     ";
        AppendStateLine(*trace, m_totalCost, m_partner);
    }

    // Each phase runs once, slot by slot; a slot is retried until its scan
    // finds nothing, and an earlier phase is not revisited afterwards.
    struct Phase {
        char digit;
        bool (CPairingMatcher::*attempt)(int);
    };
    static constexpr Phase kPhases[] = {
        {'2', &CPairingMatcher::TryTwoExchange},
        {'3', &CPairingMatcher::TryThreeExchange},
        {'4', &CPairingMatcher::TryFourExchange},
    };
    for (const Phase& phase : kPhases) {
        if (phase.digit == '3')
            PrepareRows(); // the costs are final now; the later searches walk these rows
        m_foundPhase = 0;
        if (trace != nullptr)
            *trace += "--\n";
        for (int x = 0; x < m_n; ++x) {
            while ((this->*phase.attempt)(x)) {
                if (trace != nullptr) {
                    char step[2 + trace::kMaxField + 1];
                    step[0] = phase.digit;
                    step[1] = ':';
                    char* p = trace::PutNumber(step + 2, x, 2, ' ');
                    *p++ = ':';
                    trace->append(step, static_cast<size_t>(p - step));
                    AppendStateLine(*trace, m_totalCost, m_partner);
                }
            }
        }
    }
}

void CPairingMatcher::GreedyStart()
{
    // Pairs are taken alternately from the top and the bottom of the list, so
    // neither end is left with only the expensive leftovers.
    int remaining = m_n;
    int top = 0;
    int bottom = m_n - 1;
    for (bool fromTop = true;; fromTop = !fromTop) {
        if (fromTop) {
            while (m_partner[static_cast<size_t>(top)] >= 0)
                ++top;
            int best = -1;
            for (int j = top + 1; j < m_n; ++j)
                if (m_partner[static_cast<size_t>(j)] < 0 && (best < 0 || Cost(top, j) < Cost(top, best)))
                    best = j;
            Pair(top, best);
            m_totalCost += C(top, best);
        } else {
            while (m_partner[static_cast<size_t>(bottom)] >= 0)
                --bottom;
            int best = -1;
            for (int j = bottom - 1; j >= 0; --j)
                if (m_partner[static_cast<size_t>(j)] < 0 && (best < 0 || Cost(bottom, j) < Cost(bottom, best)))
                    best = j;
            Pair(bottom, best);
            m_totalCost += C(bottom, best);
        }
        remaining -= 2;
        if (remaining <= 0)
            break;
    }
}

bool CPairingMatcher::TryTwoExchange(int x)
{
    const int xp = Partner(x);
    const std::int64_t current = m_current[static_cast<size_t>(x)];
    const std::int32_t* const costX = &m_cost[Index(x, 0)];
    const std::int32_t* const costXp = &m_cost[Index(xp, 0)];
    for (int j = 0; j < m_n; ++j) {
        const int jp = Partner(j);
        if (j == x || jp == x)
            continue;
        const std::int64_t now = m_current[static_cast<size_t>(j)] + current;
        const std::int64_t alt = static_cast<std::int64_t>(costX[j]) + costXp[jp];
        if (alt < now) {
            Pair(x, j);
            Pair(xp, jp);
            m_totalCost += alt - now;
            return true;
        }
    }
    return false;
}

} // namespace tabry
