#include "edit/EditRules.h"

#include <algorithm>

namespace tabry {

namespace {

bool IsPlayerRow(const CResultTable& table, int row)
{
    return row >= 0 && row < table.PlayerCount() && !table.Entry(row).IsEmpty();
}

bool IsResult(int result)
{
    return result == ResultWin || result == ResultDraw || result == ResultLoss || result == ResultNone;
}

EditRefusal Refuse(RefusalCode code, int row, int round = -1, int other = -1, int record = -1)
{
    return {code, row, round, other, record};
}

} // namespace

EditRefusal GameRefusal(const TournamentData& data, int row, int round, int opponent, int result)
{
    const CResultTable& table = data.table;
    if (row < 0 || row >= table.PlayerCount() || round < 0 || round >= table.RoundCount())
        return Refuse(RefusalCode::OutOfTable, row, round);
    if (opponent == NoOpponent)
        return {};
    // A game needs a player on both sides: written from an empty row, its
    // mirror would name nobody and vanish at the next opening.
    if (!IsPlayerRow(table, row))
        return Refuse(RefusalCode::EmptyRow, row, round);
    if (opponent < ByeOpponent || (opponent >= 0 && (!IsPlayerRow(table, opponent) || opponent == row)))
        return Refuse(RefusalCode::NoSuchOpponent, row, round, opponent);
    if (!IsResult(result))
        return Refuse(RefusalCode::BadResult, row, round, opponent);
    // Neither does a player who sits the round out: his totals count the
    // round as the bye rule says, and a game there would count it twice.
    if (table.Entry(row).IsAbsentIn(round))
        return Refuse(RefusalCode::Absent, row, round);
    if (opponent >= 0 && table.Entry(opponent).IsAbsentIn(round))
        return Refuse(RefusalCode::OpponentAbsent, row, round, opponent);
    // A player who left plays no game there, not even the bye: standings
    // would count a game he never played.
    if (!table.Entry(row).PlaysIn(round))
        return Refuse(RefusalCode::Withdrawn, row, round, table.Entry(row).withdrawnFrom);
    if (opponent >= 0 && !table.Entry(opponent).PlaysIn(round))
        return Refuse(RefusalCode::OpponentWithdrawn, row, round, opponent);
    return {};
}

EditRefusal RowPlayerRefusal(const TournamentData& data, int row, int record)
{
    const CResultTable& table = data.table;
    if (row < 0 || row >= table.PlayerCount())
        return Refuse(RefusalCode::OutOfTable, row);
    if (record < 0)
        return {};
    // Record 0 is the bye, never a player.
    if (record == 0 || record >= data.players.GetCount())
        return Refuse(RefusalCode::BadRecord, row, -1, -1, record);
    // The same person in two rows would count twice in every standing.
    if (const int other = table.FindOtherRowOfPlayer(record, row); other >= 0)
        return Refuse(RefusalCode::PlayerInOtherRow, row, -1, other, record);
    return {};
}

EditRefusal WithdrawalRefusal(const TournamentData& data, int row, int round)
{
    const CResultTable& table = data.table;
    if (row < 0 || row >= table.PlayerCount() || round < 0 || round >= table.RoundCount())
        return Refuse(RefusalCode::OutOfTable, row, round);
    if (table.Entry(row).IsEmpty())
        return Refuse(RefusalCode::EmptyRow, row, round);
    if (const int earliest = table.EarliestWithdrawal(row); round < earliest)
        return Refuse(RefusalCode::WithdrawalTooEarly, row, round, earliest);
    if (table.Entry(row).withdrawnFrom == round)
        return Refuse(RefusalCode::AlreadyWithdrawn, row, round);
    return {};
}

EditRefusal AbsenceRefusal(const TournamentData& data, int row, int round, bool absent)
{
    const CResultTable& table = data.table;
    if (row < 0 || row >= table.PlayerCount() || round < 0 || round >= table.RoundCount())
        return Refuse(RefusalCode::OutOfTable, row, round);
    const PlayerEntry& entry = table.Entry(row);
    if (entry.IsEmpty())
        return Refuse(RefusalCode::EmptyRow, row, round);
    if (!absent)
        return entry.IsAbsentIn(round) ? EditRefusal{} : Refuse(RefusalCode::NotAbsent, row, round);
    if (entry.IsWithdrawnIn(round))
        return Refuse(RefusalCode::Withdrawn, row, round, entry.withdrawnFrom);
    // The game would have to go first: taking it away silently could drop
    // a result, and his opponent would be left without a game.
    if (table.Cell(row, round).opponent != NoOpponent)
        return Refuse(RefusalCode::HasGame, row, round);
    return {};
}

std::vector<OpenBoards> OpenBoardsBefore(const CResultTable& table, int round)
{
    std::vector<OpenBoards> open;
    for (int j = 0; j < std::min(round, table.RoundCount()); ++j) {
        int boards = 0;
        for (int r = 0; r < table.PlayerCount(); ++r) {
            const ResultCell& c = table.Cell(r, j);
            if (table.Entry(r).IsEmpty() || c.result != ResultNone)
                continue;
            // A pair is counted from its lower row; a cell whose partner does
            // not name it back is a board of its own.
            if (c.opponent == ByeOpponent
                || (c.opponent >= 0 && (r < c.opponent || table.Cell(c.opponent, j).opponent != r)))
                ++boards;
        }
        if (boards > 0)
            open.push_back({j, boards});
    }
    return open;
}

} // namespace tabry
