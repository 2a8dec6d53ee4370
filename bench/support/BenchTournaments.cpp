#include "bench/support/BenchTournaments.h"

#include "text/Cp932.h"

namespace tabry::bench {

TournamentData FullTournament(int players, int rounds, const std::string& family)
{
    TournamentData d;
    d.table.Clear();
    d.table.Resize(players, rounds);
    for (int r = 0; r < players; ++r) {
        const std::string n = std::to_string(r);
        d.table.Entry(r).playerIndex = d.players.Add(family + " " + n, "p" + n, "s" + n, SJ("鹿児島"), r % 19 - 9, n);
    }
    for (int j = 0; j < rounds; ++j)
        for (int r = 0; r < players; ++r) {
            const int o = r ^ (2 * j + 1);
            const auto result = static_cast<std::int8_t>((r + j) % 3 - 1);
            const auto disc = static_cast<std::int8_t>((r * 7 + j) % 65);
            if (r < o && o < players) {
                d.table.SetCell(r, j, ResultCell{o, result, disc, 0});
                d.table.SetCell(o, j, ResultCell{r, static_cast<std::int8_t>(-result), static_cast<std::int8_t>(-disc), 0});
            }
        }
    d.table.settings.tieBreak = WinPointsASecondary;
    d.table.Sort(WinPointsASecondary, false);
    d.info.name = SJ("全国大会");
    d.info.year = 2024;
    return d;
}

} // namespace tabry::bench
