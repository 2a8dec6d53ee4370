// The ranking by points, the first method and the second, on random
// tournaments (with byes and rounds sat out), against a direct computation
// of every value from the cells.
#include "core/ResultTable.h"
#include "core/Standings.h"

#include "tests/core/TableBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace tabry {
namespace {

using test::MakeTable;
using test::SetBye;
using test::SetGame;

// Small discs and many draws, so that players are often level.
CResultTable RandomTournament(std::mt19937& rng)
{
    const int players = 4 + static_cast<int>(rng() % 14);
    const int rounds = 2 + static_cast<int>(rng() % 5);
    CResultTable t = MakeTable(players, rounds, players);
    t.settings.bye.winDisc = rng() % 2 == 0 ? 0 : 2;
    for (int j = 0; j < rounds; ++j) {
        std::vector<int> rows;
        for (int r = 0; r < players; ++r) {
            if (rng() % 6 == 0)
                t.Entry(r).absent.set(static_cast<size_t>(j));
            else
                rows.push_back(r);
        }
        std::shuffle(rows.begin(), rows.end(), rng);
        for (size_t k = 0; k + 1 < rows.size(); k += 2) {
            const int result = static_cast<int>(rng() % 3) - 1;
            const int disc = result == 0 ? 0 : result * 2 * static_cast<int>(1 + rng() % 2);
            SetGame(t, j, rows[k], rows[k + 1], result, disc);
        }
        if (rows.size() % 2 != 0)
            SetBye(t, j, rows.back(), rng() % 2 == 0 ? ResultNone : ResultWin, 2);
    }
    t.settings.tieBreak = static_cast<int>(rng() % kTieBreakMethodCount);
    t.settings.tieBreak2 = static_cast<int>(rng() % (kTieBreakMethodCount + 1)) - 1;
    return t;
}

// Every value a method may compare, worked out from the cells alone.
struct Values {
    long long points = 0, games = 0, disc = 0, wpa = 0, wpb = 0, sa = 0, sb = 0, bw = 0;
};

std::vector<Values> DirectValues(const CResultTable& t)
{
    const int n = t.PlayerCount();
    std::vector<Values> v(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) {
        for (int j = 0; j < t.RoundCount(); ++j) {
            const ResultCell& c = t.Cell(r, j);
            Values& mine = v[static_cast<size_t>(r)];
            if (c.opponent == NoOpponent) {
                // A round sat out scores as a scored bye, or not at all.
                if (t.Entry(r).absent.test(static_cast<size_t>(j)) && t.settings.bye.winDisc > 0) {
                    mine.points += 2;
                    mine.games += 1;
                    mine.disc += t.settings.bye.winDisc;
                }
                continue;
            }
            if (c.result == ResultNone)
                continue;
            mine.points += c.result > 0 ? 2 : (c.result == 0 ? 1 : 0);
            mine.games += 1;
            mine.disc += c.disc;
        }
    }
    for (int r = 0; r < n; ++r)
        for (int j = 0; j < t.RoundCount(); ++j) {
            const ResultCell& c = t.Cell(r, j);
            if (c.opponent < 0)
                continue;
            v[static_cast<size_t>(r)].wpa += v[static_cast<size_t>(c.opponent)].points;
            if (c.result > 0)
                v[static_cast<size_t>(r)].wpb += v[static_cast<size_t>(c.opponent)].points;
        }
    for (int r = 0; r < n; ++r) {
        Values& mine = v[static_cast<size_t>(r)];
        mine.bw = mine.wpa * t.settings.brightwellTenths + (mine.games * 64 + mine.disc) * 10;
        for (int j = 0; j < t.RoundCount(); ++j) {
            const ResultCell& c = t.Cell(r, j);
            if (c.opponent < 0)
                continue;
            mine.sa += v[static_cast<size_t>(c.opponent)].wpa;
            if (c.result > 0)
                mine.sb += v[static_cast<size_t>(c.opponent)].wpb;
        }
    }
    return v;
}

// What each method compares after the points, in the order of the settings
// list: 石差, ブライトウェル, 勝数Ａ, Ａ＋二次, Ａ＋石差, 勝数Ｂ, Ｂ＋二次, Ｂ＋石差.
std::vector<long long> MethodKeys(int method, const Values& v)
{
    using F = long long Values::*;
    static const std::vector<std::vector<F>> kKeys = {{&Values::disc},
                                                      {&Values::bw},
                                                      {&Values::wpa},
                                                      {&Values::wpa, &Values::sa},
                                                      {&Values::wpa, &Values::disc},
                                                      {&Values::wpb},
                                                      {&Values::wpb, &Values::sb},
                                                      {&Values::wpb, &Values::disc}};
    std::vector<long long> keys;
    if (method >= 0 && method < static_cast<int>(kKeys.size()))
        for (const F f : kKeys[static_cast<size_t>(method)])
            keys.push_back(v.*f);
    return keys;
}

std::vector<long long> ChainKey(const CResultTable& t, const Values& v)
{
    std::vector<long long> key{v.points};
    for (const int method : {t.settings.tieBreak, t.settings.tieBreak2})
        for (const long long k : MethodKeys(method, v))
            key.push_back(k);
    return key;
}

TEST(TieBreakChainTest, RanksOfRandomTournamentsFollowPointsThenBothMethods)
{
    int separatedBySecond = 0;
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        const CResultTable t = RandomTournament(rng);
        const std::vector<Values> values = DirectValues(t);
        std::vector<std::vector<long long>> keys;
        for (const Values& v : values)
            keys.push_back(ChainKey(t, v));

        const std::vector<int> order = StandingsOrder(t);
        const std::vector<int> ranks = StandingsCopy(t).RankNumbers(t.settings.tieBreak);
        ASSERT_EQ(order.size(), keys.size());
        for (size_t i = 0; i < order.size(); ++i) {
            const auto& mine = keys[static_cast<size_t>(order[i])];
            int expected = 1;
            for (const auto& other : keys)
                expected += other > mine ? 1 : 0;
            EXPECT_EQ(ranks[i], expected) << "row " << order[i];
        }
        // How often the second method decided something the first left level.
        for (size_t i = 1; i < order.size(); ++i) {
            const Values& a = values[static_cast<size_t>(order[i - 1])];
            const Values& b = values[static_cast<size_t>(order[i])];
            if (a.points == b.points && MethodKeys(t.settings.tieBreak, a) == MethodKeys(t.settings.tieBreak, b)
                && ranks[i] != ranks[i - 1])
                ++separatedBySecond;
        }
    }
    // The random tables do exercise the second method.
    EXPECT_GT(separatedBySecond, 20);
}

} // namespace
} // namespace tabry
