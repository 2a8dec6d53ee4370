#include "grid/CellEdits.h"

#include "text/Cp932.h"
#include "core/TournamentData.h"

#include <algorithm>
#include <cstdio>

namespace tabry::grid {

namespace {

const std::string& LongNameOfRow(const TournamentData& data, int row)
{
    return data.players.GetAt(data.table.Entry(row).playerIndex).m_longName;
}

std::string Format(const std::string& format, auto... args)
{
    const int n = std::snprintf(nullptr, 0, format.c_str(), args...);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), format.c_str(), args...);
    out.resize(static_cast<size_t>(n));
    return out;
}

// Empties the game of (row, round) and recomputes that row.
void EmptyCell(TournamentData& data, int row, int round, EditEffects& fx)
{
    data.table.SetCell(row, round, ResultCell{});
    data.table.ComputeTotals(row, -1);
    fx.cells.push_back({round + 1, row});
    fx.totalsRows.push_back(row);
}

void WriteCell(TournamentData& data, int row, int round, int opponent, int result, int disc, EditEffects& fx)
{
    ResultCell cell;
    cell.opponent = opponent;
    cell.result = static_cast<std::int8_t>(result);
    cell.disc = static_cast<std::int8_t>(disc);
    cell.reserved = 0;
    data.table.SetCell(row, round, cell);
    data.table.ComputeTotals(row, -1);
    fx.cells.push_back({round + 1, row});
    fx.totalsRows.push_back(row);
}

bool IsPlayerRow(const CResultTable& table, int row)
{
    return row >= 0 && row < table.PlayerCount() && !table.Entry(row).IsEmpty();
}

} // namespace

EditEffects SetRowPlayer(TournamentData& data, int row, int record)
{
    EditEffects fx;
    CResultTable& table = data.table;
    if (row < 0 || row >= table.PlayerCount())
        return fx;
    PlayerEntry& entry = table.Entry(row);
    if (entry.playerIndex < 0 && record < 0)
        return fx;
    // Taking the row's own player again (F2, Enter) is no change and must
    // not mark the tournament as changed.
    if (record >= 0 && entry.playerIndex == record)
        return fx;
    if (table.RowHasGames(row)) {
        if (record < 0)
            table.DeletePlayer(row); // also clears the mirrors and recomputes everything
        else
            entry.playerIndex = record; // the games now belong to the new player
        fx.wholeGrid = true;
    } else {
        entry.playerIndex = record < 0 ? -1 : record;
        fx.cells.push_back({0, row});
    }
    fx.totalsRows.push_back(row);
    fx.modified = true;
    return fx;
}

EditEffects SetCellResult(TournamentData& data, int row, int round, int opponent, int result, int disc,
                          const ConfirmFn& confirm)
{
    EditEffects fx;
    CResultTable& table = data.table;
    if (row < 0 || row >= table.PlayerCount() || round < 0 || round >= table.RoundCount())
        return fx;
    if (opponent >= 0 && (!IsPlayerRow(table, opponent) || opponent == row))
        return fx; // an editor never offers these; refuse rather than corrupt the pairing
    if (opponent < ByeOpponent)
        return fx;

    disc = std::clamp(disc, -64, 64);
    if (opponent == NoOpponent) {
        result = ResultWin;
        disc = 0;
    } else if (result == ResultNone) {
        disc = 0;
    }
    const ResultCell current = table.Cell(row, round);
    if (current.opponent == opponent && current.result == result && current.disc == disc)
        return fx;

    if (opponent >= 0) {
        // In a table whose pairs all mirror each other, a third player x is
        // there exactly when the current cell does not name the opponent
        // yet. Asking about x rather than about the current cell also covers
        // a table read with a one-sided pair: a cell that names this row
        // without being named back is no third player, and a real pairing
        // of the opponent is never overwritten without the question.
        const int third = table.Cell(opponent, round).opponent;
        if (third >= 0 && third != row) {
            static const std::string question =
                SJ("「%s」さんの%d回戦の相手は\n「%s」さんになっています。\n 上書きしますか？");
            const std::string text = Format(question, LongNameOfRow(data, opponent).c_str(), round + 1,
                                            LongNameOfRow(data, third).c_str());
            if (!confirm || !confirm(text))
                return fx;
            if (table.Cell(third, round).opponent == opponent)
                EmptyCell(data, third, round, fx);
        }
    }
    // The previous partner is freed only when his cell still names this row;
    // otherwise it holds a game of his own.
    if (current.opponent >= 0 && table.Cell(current.opponent, round).opponent == row)
        EmptyCell(data, current.opponent, round, fx);

    WriteCell(data, row, round, opponent, result, disc, fx);
    if (opponent >= 0) {
        const int mirrored = result == ResultNone ? ResultNone : -result;
        WriteCell(data, opponent, round, row, mirrored, -disc, fx);
    }
    // Win points, secondary points and the Brightwell score depend on every
    // opponent's totals, so one game can move every row's values.
    if (table.settings.tieBreak != DiscDifference) {
        table.ComputeTieBreaks(-1);
        fx.allTotals = true;
    }
    fx.modified = true;
    return fx;
}

std::string DeletePlayerQuestion(const TournamentData& data, int row)
{
    static const std::string question = SJ("「%s」さんを削除します。よろしいですか？");
    return Format(question, LongNameOfRow(data, row).c_str());
}

} // namespace tabry::grid
