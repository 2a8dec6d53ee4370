#include "core/ResultTable.h"

#include <algorithm>

namespace tabry {

void PlayerEntry::CopyStandingFrom(const PlayerEntry& other)
{
    playerIndex = other.playerIndex;
    wins = other.wins;
    losses = other.losses;
    draws = other.draws;
    discTotal = other.discTotal;
    points = other.points;
    winPointsA = other.winPointsA;
    secondaryA = other.secondaryA;
    winPointsB = other.winPointsB;
    secondaryB = other.secondaryB;
    brightwell = other.brightwell;
    withdrawnFrom = other.withdrawnFrom;
    absent = other.absent;
}

ResultCell ByeRule::ByeCell() const
{
    ResultCell cell;
    cell.opponent = ByeOpponent;
    cell.result = winDisc > 0 ? ResultWin : ResultNone;
    cell.disc = static_cast<std::int8_t>(winDisc > 0 ? std::min(winDisc, kMaxWinDisc) : 0);
    return cell;
}

ResultCell ByeRule::SittingOutCell() const
{
    return winDisc > 0 ? ByeCell() : ResultCell{};
}

CResultTable::CResultTable()
{
    Resize(kNewTablePlayers, kNewTableRounds);
}

CResultTable::CResultTable(const CResultTable& other)
{
    *this = other;
}

CResultTable& CResultTable::operator=(const CResultTable& other)
{
    if (this == &other)
        return *this;
    settings = other.settings;
    playerCount = other.playerCount;
    roundCount = other.roundCount;
    cellCount = other.cellCount;
    entries.assign(other.entries.size(), PlayerEntry{});
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].CopyStandingFrom(other.entries[i]);
    cells = other.cells;
    plans = other.plans;
    reportRows.clear();
    reportWidths = {};
    rankedCount = 0;
    ComputeTotals(-1, -1);
    return *this;
}

CResultTable::~CResultTable() = default;

void CResultTable::Clear()
{
    entries.clear();
    entries.shrink_to_fit();
    cells.clear();
    cells.shrink_to_fit();
    plans.clear();
    playerCount = 0;
    roundCount = 0;
    cellCount = 0;
}

void CResultTable::Resize(int players, int rounds)
{
    players = std::max(players, 0);
    rounds = std::max(rounds, 0);
    std::vector<PlayerEntry> newEntries(static_cast<size_t>(players));
    std::vector<ResultCell> newCells(static_cast<size_t>(players) * static_cast<size_t>(rounds));
    const int keepRows = std::min(playerCount, players);
    const int keepRounds = std::min(roundCount, rounds);
    for (int r = 0; r < keepRows; ++r) {
        PlayerEntry& entry = newEntries[static_cast<size_t>(r)];
        entry.CopyStandingFrom(entries[static_cast<size_t>(r)]);
        if (entry.withdrawnFrom >= rounds)
            entry.withdrawnFrom = kNotWithdrawn;
        for (int j = rounds; j < kMaxRounds; ++j)
            entry.absent.reset(static_cast<size_t>(j));
        for (int j = 0; j < keepRounds; ++j)
            newCells[static_cast<size_t>(r) * static_cast<size_t>(rounds) + static_cast<size_t>(j)] =
                cells[static_cast<size_t>(r) * static_cast<size_t>(roundCount) + static_cast<size_t>(j)];
    }
    entries = std::move(newEntries);
    cells = std::move(newCells);
    plans.resize(static_cast<size_t>(rounds));
    for (BoardPlan& plan : plans)
        for (BoardSeat& seat : plan)
            if (seat.left >= players || seat.right >= players)
                seat = BoardSeat{};
    playerCount = players;
    roundCount = rounds;
    cellCount = players * rounds;
    ComputeTotals(-1, -1);
}

void CResultTable::AssignStorage(int players, int rounds, std::vector<PlayerEntry> newEntries,
                                 std::vector<ResultCell> newCells)
{
    playerCount = players;
    roundCount = rounds;
    cellCount = players * rounds;
    entries = std::move(newEntries);
    cells = std::move(newCells);
    plans.resize(static_cast<size_t>(std::max(rounds, 0)));
}

const BoardPlan& CResultTable::Plan(int round) const
{
    static const BoardPlan kNone;
    return round >= 0 && round < static_cast<int>(plans.size()) ? plans[static_cast<size_t>(round)] : kNone;
}

void CResultTable::SetPlan(int round, BoardPlan plan)
{
    if (round >= 0 && round < static_cast<int>(plans.size()))
        plans[static_cast<size_t>(round)] = std::move(plan);
}

ResultCell& CResultTable::Cell(int row, int round)
{
    const long long index = static_cast<long long>(row) * roundCount + round;
    if (index < 0 || index >= cellCount) {
        m_emptyCell = ResultCell{};
        return m_emptyCell;
    }
    return cells[static_cast<size_t>(index)];
}

const ResultCell& CResultTable::Cell(int row, int round) const
{
    static const ResultCell kEmpty{};
    const long long index = static_cast<long long>(row) * roundCount + round;
    if (index < 0 || index >= cellCount)
        return kEmpty;
    return cells[static_cast<size_t>(index)];
}

void CResultTable::SetCell(int row, int round, const ResultCell& cell)
{
    Cell(row, round) = cell;
}

PlayerEntry& CResultTable::Entry(int row)
{
    if (row < 0 || row >= playerCount) {
        m_emptyEntry = PlayerEntry{};
        return m_emptyEntry;
    }
    return entries[static_cast<size_t>(row)];
}

const PlayerEntry& CResultTable::Entry(int row) const
{
    static const PlayerEntry kEmpty{};
    if (row < 0 || row >= playerCount)
        return kEmpty;
    return entries[static_cast<size_t>(row)];
}

int CResultTable::FindRowOfPlayer(int playerIndex) const
{
    for (int r = 0; r < playerCount; ++r)
        if (entries[static_cast<size_t>(r)].playerIndex == playerIndex)
            return r;
    return -1;
}

int CResultTable::FindOtherRowOfPlayer(int playerIndex, int exceptedRow) const
{
    for (int r = 0; r < playerCount; ++r)
        if (r != exceptedRow && entries[static_cast<size_t>(r)].playerIndex == playerIndex)
            return r;
    return -1;
}

namespace {
bool IsGame(const ResultCell& c)
{
    return c.opponent >= 0 || c.opponent == ByeOpponent;
}
} // namespace

bool CResultTable::RowHasGames(int row) const
{
    if (row < 0 || row >= playerCount)
        return false;
    for (int j = 0; j < roundCount; ++j)
        if (IsGame(Cell(row, j)))
            return true;
    return false;
}

bool CResultTable::RoundHasGames(int round) const
{
    if (round < 0 || round >= roundCount)
        return false;
    for (int r = 0; r < playerCount; ++r)
        if (IsGame(Cell(r, round)))
            return true;
    return false;
}

bool CResultTable::RoundsEmptyFrom(int round) const
{
    for (int r = 0; r < playerCount; ++r) {
        if (entries[static_cast<size_t>(r)].IsEmpty())
            continue;
        for (int j = std::max(round, 0); j < roundCount; ++j)
            if (Cell(r, j).opponent != NoOpponent)
                return false;
    }
    return true;
}

bool CResultTable::RowsEmptyFrom(int row) const
{
    for (int r = std::max(row, 0); r < playerCount; ++r)
        if (!entries[static_cast<size_t>(r)].IsEmpty())
            return false;
    return true;
}

namespace {
// The rows with a player for whom `is` holds in `round`.
std::vector<int> PlayerRows(const std::vector<PlayerEntry>& entries, int playerCount,
                            bool (PlayerEntry::*is)(int) const, int round)
{
    std::vector<int> rows;
    for (int r = 0; r < playerCount; ++r) {
        const PlayerEntry& e = entries[static_cast<size_t>(r)];
        if (!e.IsEmpty() && (e.*is)(round))
            rows.push_back(r);
    }
    return rows;
}
} // namespace

std::vector<int> CResultTable::WithdrawnRows(int round) const
{
    return PlayerRows(entries, playerCount, &PlayerEntry::IsWithdrawnIn, round);
}

std::vector<int> CResultTable::AbsentRows(int round) const
{
    return PlayerRows(entries, playerCount, &PlayerEntry::IsAbsentIn, round);
}

int CResultTable::RoundAfterLast(int row, bool (*counts)(const ResultCell&)) const
{
    if (row < 0 || row >= playerCount)
        return 0;
    for (int j = roundCount - 1; j >= 0; --j)
        if (counts(Cell(row, j)))
            return j + 1;
    return 0;
}

int CResultTable::FirstRoundWithoutResult(int row) const
{
    return RoundAfterLast(row, [](const ResultCell& c) { return IsGame(c) && c.result != ResultNone; });
}

int CResultTable::EarliestWithdrawal(int row) const
{
    return RoundAfterLast(row, [](const ResultCell& c) { return c.opponent >= 0 && c.result != ResultNone; });
}

void CResultTable::Validate()
{
    for (int r = 0; r < playerCount; ++r) {
        const bool emptyRow = entries[static_cast<size_t>(r)].IsEmpty();
        if (emptyRow) {
            entries[static_cast<size_t>(r)].withdrawnFrom = kNotWithdrawn;
            entries[static_cast<size_t>(r)].absent.reset();
        }
        for (int j = 0; j < roundCount; ++j) {
            ResultCell& c = Cell(r, j);
            if (emptyRow || c.opponent == NoOpponent || (c.opponent != ByeOpponent && !IsPlayerRow(c.opponent)))
                c.ClearGame();
        }
    }
}

void CResultTable::DropDanglingGames()
{
    for (int r = 0; r < playerCount; ++r) {
        const bool emptyRow = entries[static_cast<size_t>(r)].IsEmpty();
        for (int j = 0; j < roundCount; ++j) {
            ResultCell& c = Cell(r, j);
            if (c.opponent == NoOpponent)
                continue;
            if (emptyRow || (c.opponent != ByeOpponent && !IsPlayerRow(c.opponent)))
                c.ClearGame();
        }
    }
}

void CResultTable::DeletePlayer(int row)
{
    if (row < 0 || row >= playerCount || entries[static_cast<size_t>(row)].IsEmpty())
        return;
    entries[static_cast<size_t>(row)] = PlayerEntry{};
    for (int j = 0; j < roundCount; ++j)
        Cell(row, j).ClearGame();
    for (BoardPlan& plan : plans)
        for (BoardSeat& seat : plan)
            if (seat.left == row || seat.right == row)
                seat = BoardSeat{};
    Validate();
    ComputeAll();
}

void CResultTable::ClearRound(int round)
{
    if (round >= 0 && round < roundCount) {
        for (int r = 0; r < playerCount; ++r)
            Cell(r, round).ClearGame();
        plans[static_cast<size_t>(round)].clear();
    }
    ComputeAll();
}

} // namespace tabry
