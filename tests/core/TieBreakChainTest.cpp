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

// What each method compares after the points, as the settings list names it.
std::vector<long long> MethodKeys(int method, const Values& v)
{
    switch (method) {
    case 0:
        return {v.disc}; // 石差
    case 1:
        return {v.bw}; // ブライトウェル
    case 2:
        return {v.wpa}; // 勝数ポイントＡ
    case 3:
        return {v.wpa, v.sa}; // Ａ＋二次
    case 4:
        return {v.wpa, v.disc}; // Ａ＋石差
    case 5:
        return {v.wpb}; // 勝数ポイントＢ
    case 6:
        return {v.wpb, v.sb}; // Ｂ＋二次
    case 7:
        return {v.wpb, v.disc}; // Ｂ＋石差
    default:
        return {}; // なし
    }
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

TEST(TieBreakChainTest, WithoutASecondMethodLevelPlayersShareTheRank)
{
    CResultTable t = MakeTable(4, 2, 4);
    // 0 and 1 draw; 2 beats 3 and 3 beats 2 back: everybody level on points
    // and discs, while the win points B tell 2 and 3 apart from 0 and 1.
    SetGame(t, 0, 0, 1, ResultDraw, 0);
    SetGame(t, 1, 0, 1, ResultDraw, 0);
    SetGame(t, 0, 2, 3, ResultWin, 2);
    SetGame(t, 1, 2, 3, ResultLoss, -2);
    EXPECT_EQ(StandingsCopy(t).RankNumbers(t.settings.tieBreak), (std::vector<int>{1, 1, 1, 1}));
    t.settings.tieBreak2 = WinPointsB;
    EXPECT_EQ(StandingsCopy(t).RankNumbers(t.settings.tieBreak), (std::vector<int>{1, 1, 3, 3}));
    EXPECT_EQ(StandingsOrder(t), (std::vector<int>{2, 3, 0, 1}));
}

} // namespace
} // namespace tabry
