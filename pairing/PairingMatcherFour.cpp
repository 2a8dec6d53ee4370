// The four-pair exchange (temporary plain scan).
#include "pairing/PairingMatcher.h"

#include <array>

namespace tabry {

bool CPairingMatcher::TryFourExchange(int x)
{
    const int xp = Partner(x);
    for (int i = 0; i < m_n; ++i) {
        const int ip = Partner(i);
        if (i == x || ip == x)
            continue;
        for (int b = i + 1; b < m_n; ++b) {
            const int bp = Partner(b);
            if (b == x || bp == x || bp == i)
                continue;
            for (int d = b + 1; d < m_n; ++d) {
                const int dp = Partner(d);
                if (d == x || dp == x || dp == i || dp == b)
                    continue;
                const std::array<std::int64_t, 9> w = {
                    C(x, xp) + C(i, ip) + C(b, bp) + C(d, dp),
                    C(x, ip) + C(i, bp) + C(b, dp) + C(d, xp),
                    C(x, ip) + C(i, dp) + C(b, xp) + C(d, bp),
                    C(x, bp) + C(i, xp) + C(b, dp) + C(d, ip),
                    C(x, bp) + C(i, dp) + C(b, xp) + C(d, ip),
                    C(x, bp) + C(i, dp) + C(b, ip) + C(d, xp),
                    C(x, dp) + C(i, xp) + C(b, ip) + C(d, bp),
                    C(x, dp) + C(i, bp) + C(b, ip) + C(d, xp),
                    C(x, dp) + C(i, bp) + C(b, xp) + C(d, ip),
                };
                int best = 0;
                for (int k = 1; k < 9; ++k)
                    if (w[static_cast<size_t>(k)] < w[static_cast<size_t>(best)])
                        best = k;
                if (best == 0)
                    continue;
                const int np[9][4] = {
                    {xp, ip, bp, dp}, {ip, bp, dp, xp}, {ip, dp, xp, bp}, {bp, xp, dp, ip}, {bp, dp, xp, ip},
                    {bp, dp, ip, xp}, {dp, xp, ip, bp}, {dp, bp, ip, xp}, {dp, bp, xp, ip},
                };
                Pair(x, np[best][0]);
                Pair(i, np[best][1]);
                Pair(b, np[best][2]);
                Pair(d, np[best][3]);
                m_totalCost += w[static_cast<size_t>(best)] - w[0];
                return true;
            }
        }
    }
    return false;
}

} // namespace tabry
