#include "tests/pairing/PairingTestSupport.h"

namespace tabry::test {

CResultTable MakeTable(int players, int rounds, int tieBreak)
{
    CResultTable table;
    table.Resize(players, rounds);
    table.settings.tieBreak = tieBreak;
    for (int r = 0; r < players; ++r)
        table.Entry(r).playerIndex = r + 1;
    table.ComputeAll();
    return table;
}

void PlayGame(CResultTable& table, int round, int a, int b, std::int8_t result, int disc)
{
    ResultCell ca;
    ca.opponent = b;
    ca.result = result;
    ca.disc = static_cast<std::int8_t>(disc);
    ResultCell cb;
    cb.opponent = a;
    cb.result = result == ResultNone ? ResultNone : static_cast<std::int8_t>(-result);
    cb.disc = static_cast<std::int8_t>(-disc);
    table.SetCell(a, round, ca);
    table.SetCell(b, round, cb);
    table.ComputeAll();
}

void GiveBye(CResultTable& table, int round, int row, std::int8_t result, int disc)
{
    ResultCell c;
    c.opponent = ByeOpponent;
    c.result = result;
    c.disc = static_cast<std::int8_t>(disc);
    table.SetCell(row, round, c);
    table.ComputeAll();
}

bool RoundIsSymmetric(const CResultTable& table, int round)
{
    for (int r = 0; r < table.PlayerCount(); ++r) {
        const ResultCell& c = table.Cell(r, round);
        if (c.opponent < 0)
            continue;
        const ResultCell& m = table.Cell(c.opponent, round);
        const int mirrored = c.result == ResultNone ? ResultNone : -c.result;
        if (m.opponent != r || m.result != mirrored || m.disc != -c.disc)
            return false;
    }
    return true;
}

} // namespace tabry::test
