#include "tests/pairing/SimulatedTournament.h"

#include <algorithm>
#include <random>
#include <vector>

namespace tabry::test {

namespace {

struct Simulator {
    CResultTable table;
    std::mt19937 rng;
    std::vector<int> strength;

    int Below(int m) { return static_cast<int>(rng() % static_cast<std::uint32_t>(m)); }

    bool Met(int a, int b, int round) const
    {
        for (int j = 0; j < round; ++j)
            if (table.Cell(a, j).opponent == b)
                return true;
        return false;
    }

    void Play(int a, int b, int round, int drawPerMille)
    {
        ResultCell ca;
        ResultCell cb;
        ca.opponent = b;
        cb.opponent = a;
        const int edge =
            std::clamp(500 + (strength[static_cast<size_t>(a)] - strength[static_cast<size_t>(b)]) / 2, 50, 950);
        if (Below(1000) < drawPerMille) {
            ca.result = cb.result = ResultDraw;
        } else {
            const bool aWins = Below(1000) < edge;
            const int margin = 2 + 2 * Below(32);
            ca.result = aWins ? ResultWin : ResultLoss;
            cb.result = static_cast<std::int8_t>(-ca.result);
            ca.disc = static_cast<std::int8_t>(aWins ? margin : -margin);
            cb.disc = static_cast<std::int8_t>(-ca.disc);
        }
        table.SetCell(a, round, ca);
        table.SetCell(b, round, cb);
    }

    // Points groups best first, random order inside; each player takes the
    // first later player not met before (or the next one when all were met).
    void PlayRound(int round, const SimulationOptions& o)
    {
        table.ComputeTotals(-1, round);
        std::vector<int> rows;
        for (int r = 0; r < table.PlayerCount(); ++r)
            if (!table.Entry(r).IsEmpty() && table.Cell(r, round).opponent == NoOpponent
                && Below(1000) >= o.absentPerMille)
                rows.push_back(r);
        std::vector<int> key(rows.size());
        for (size_t s = 0; s < rows.size(); ++s)
            key[s] = table.Entry(rows[s]).points * 100000 + Below(100000);
        std::vector<size_t> order(rows.size());
        for (size_t s = 0; s < order.size(); ++s)
            order[s] = s;
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return key[a] > key[b]; });
        std::vector<int> sorted;
        for (size_t s : order)
            sorted.push_back(rows[s]);

        if (sorted.size() % 2 != 0) {
            const int byeRow = sorted.back();
            sorted.pop_back();
            ResultCell bye;
            bye.opponent = ByeOpponent;
            bye.result = ResultWin;
            bye.disc = 64;
            table.SetCell(byeRow, round, bye);
        }
        std::vector<bool> done(sorted.size(), false);
        for (size_t s = 0; s < sorted.size(); ++s) {
            if (done[s])
                continue;
            size_t pick = sorted.size();
            for (size_t t = s + 1; t < sorted.size(); ++t) {
                if (done[t])
                    continue;
                if (pick == sorted.size())
                    pick = t;
                if (!Met(sorted[s], sorted[t], round)) {
                    pick = t;
                    break;
                }
            }
            if (pick == sorted.size())
                break;
            done[s] = done[pick] = true;
            Play(sorted[s], sorted[pick], round, o.drawPerMille);
        }
    }
};

} // namespace

CResultTable SimulateTournament(const SimulationOptions& o)
{
    Simulator sim;
    sim.rng.seed(o.seed);
    sim.table.Resize(o.players, o.rounds);
    sim.table.settings.tieBreak = o.tieBreak;
    sim.strength.resize(static_cast<size_t>(o.players));
    for (int r = 0; r < o.players; ++r) {
        sim.strength[static_cast<size_t>(r)] = sim.Below(1000);
        if (sim.Below(1000) >= o.emptyRowsPerMille)
            sim.table.Entry(r).playerIndex = r + 1;
    }
    for (int j = 0; j < std::min(o.playedRounds, o.rounds); ++j)
        sim.PlayRound(j, o);

    // Pairs set by hand in the next round: random players, no result yet.
    if (o.playedRounds < o.rounds) {
        for (int p = 0; p < o.handPairedPairs; ++p) {
            const int a = sim.Below(o.players);
            const int b = sim.Below(o.players);
            const int k = o.playedRounds;
            if (a == b || sim.table.Entry(a).IsEmpty() || sim.table.Entry(b).IsEmpty()
                || sim.table.Cell(a, k).opponent != NoOpponent || sim.table.Cell(b, k).opponent != NoOpponent)
                continue;
            ResultCell ca;
            ca.opponent = b;
            ca.result = ResultNone;
            ResultCell cb = ca;
            cb.opponent = a;
            sim.table.SetCell(a, k, ca);
            sim.table.SetCell(b, k, cb);
        }
    }
    sim.table.ComputeAll();
    return sim.table;
}

} // namespace tabry::test
