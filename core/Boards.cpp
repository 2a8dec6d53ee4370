#include "core/Boards.h"

#include "core/Standings.h"

#include <algorithm>
#include <set>
#include <utility>

namespace tabry {

namespace {

bool IsPlayerRow(const CResultTable& table, int row)
{
    return row >= 0 && row < table.PlayerCount() && !table.Entry(row).IsEmpty();
}

// A game of the round between the two rows, as either of their cells says.
bool IsGame(const CResultTable& table, int round, int a, int b)
{
    return a != b && IsPlayerRow(table, a) && IsPlayerRow(table, b)
           && (table.Cell(a, round).opponent == b || table.Cell(b, round).opponent == a);
}

std::vector<Board> BoardsOf(const BoardPlan& plan)
{
    std::vector<Board> boards;
    for (size_t k = 0; k < plan.size(); ++k)
        if (!plan[k].IsUnused())
            boards.push_back({static_cast<int>(k) + 1, plan[k].left, plan[k].right});
    return boards;
}

// `plan` read against the cells (see RoundBoards). A row may stand on two
// boards only in a file whose cells do not mirror each other (a names b, b
// names c): the pairing table lists both games, and so do the boards.
BoardPlan Reconciled(const CResultTable& table, int round, BoardPlan plan)
{
    std::set<std::pair<int, int>> held;
    const auto game = [](int a, int b) { return std::make_pair(std::min(a, b), std::max(a, b)); };
    for (BoardSeat& seat : plan) {
        if (seat.IsUnused())
            continue;
        if (!IsGame(table, round, seat.left, seat.right) || !held.insert(game(seat.left, seat.right)).second)
            seat = BoardSeat{};
    }
    bool missing = false;
    for (int r = 0; r < table.PlayerCount() && !missing; ++r) {
        const int o = table.Cell(r, round).opponent;
        missing = IsGame(table, round, r, o) && held.count(game(r, o)) == 0;
    }
    if (!missing)
        return plan;
    // New games follow after the highest number; once the numbers reach the
    // limit a file holds, they take the first unused one instead, so that
    // games removed and paired again and again cannot grow a plan the reader
    // would refuse. A round never has more games than the limit.
    size_t unused = 0;
    for (const Board& b : DerivedBoards(table, round)) {
        if (!held.insert(game(b.left, b.right)).second)
            continue;
        if (plan.size() < static_cast<size_t>(kMaxBoardNumbers)) {
            plan.push_back({b.left, b.right});
            continue;
        }
        while (unused < plan.size() && !plan[unused].IsUnused())
            ++unused;
        if (unused < plan.size())
            plan[unused] = {b.left, b.right};
    }
    return plan;
}

} // namespace

std::vector<int> PairingTimeOrder(const CResultTable& table, int round)
{
    if (round < 0 || round >= table.RoundCount())
        return StandingsOrder(table, std::max(round, 0));
    // The table as it stood: the later rounds still empty (so left out),
    // the round's games without results, and a bye what the bye rule enters.
    const int players = table.PlayerCount();
    const int rounds = round + 1;
    std::vector<ResultCell> cells(static_cast<size_t>(players) * static_cast<size_t>(rounds));
    for (int r = 0; r < players; ++r) {
        for (int j = 0; j < rounds; ++j)
            cells[static_cast<size_t>(r) * static_cast<size_t>(rounds) + static_cast<size_t>(j)] = table.Cell(r, j);
        ResultCell& c = cells[static_cast<size_t>(r) * static_cast<size_t>(rounds) + static_cast<size_t>(round)];
        if (c.opponent >= 0) {
            c.result = ResultNone;
            c.disc = 0;
        } else if (c.opponent == ByeOpponent) {
            const std::int8_t reserved = c.reserved;
            c = table.settings.bye.ByeCell();
            c.reserved = reserved;
        }
    }
    CResultTable then;
    then.settings = table.settings;
    then.AssignStorage(players, rounds, table.Entries(), std::move(cells));
    return StandingsOrder(std::move(then), round);
}

std::vector<Board> DerivedBoards(const CResultTable& table, int round)
{
    std::vector<Board> boards;
    if (round < 0 || round >= table.RoundCount() || !table.RoundHasGames(round))
        return boards;
    const std::vector<int> order = PairingTimeOrder(table, round);
    std::vector<int> position(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        position[static_cast<size_t>(order[i])] = static_cast<int>(i);
    for (size_t i = 0; i < order.size(); ++i) {
        const int row = order[i];
        const int o = table.Cell(row, round).opponent;
        // Each game once, on the line of the higher placed of the two.
        if (IsPlayerRow(table, row) && IsPlayerRow(table, o) && o != row
            && position[static_cast<size_t>(o)] > static_cast<int>(i))
            boards.push_back({static_cast<int>(boards.size()) + 1, row, o});
    }
    return boards;
}

std::vector<Board> RoundBoards(const CResultTable& table, int round)
{
    const BoardPlan& plan = table.Plan(round);
    if (plan.empty())
        return DerivedBoards(table, round);
    return BoardsOf(Reconciled(table, round, plan));
}

BoardPlan CheckedPlan(const CResultTable& table, int round)
{
    const BoardPlan& plan = table.Plan(round);
    return plan.empty() ? BoardPlan{} : Reconciled(table, round, plan);
}

BoardPlan PlanOf(const std::vector<Board>& boards)
{
    BoardPlan plan;
    for (const Board& b : boards) {
        if (b.number < 1)
            continue;
        if (plan.size() < static_cast<size_t>(b.number))
            plan.resize(static_cast<size_t>(b.number));
        plan[static_cast<size_t>(b.number - 1)] = {b.left, b.right};
    }
    return plan;
}

BoardPlan RefixedPlan(const CResultTable& table, int round, const std::vector<Board>& before)
{
    return Reconciled(table, round, PlanOf(before));
}

const Board* FindBoard(const std::vector<Board>& boards, int number)
{
    const auto it = std::find_if(boards.begin(), boards.end(), [number](const Board& b) { return b.number == number; });
    return it != boards.end() ? &*it : nullptr;
}

const Board* BoardOfRow(const std::vector<Board>& boards, int row)
{
    const auto it =
        std::find_if(boards.begin(), boards.end(), [row](const Board& b) { return b.left == row || b.right == row; });
    return it != boards.end() ? &*it : nullptr;
}

RoundSeating SeatRound(const CResultTable& table, int round)
{
    RoundSeating seating;
    seating.round = round;
    seating.pointsBefore.resize(static_cast<size_t>(table.PlayerCount()));
    for (int r = 0; r < table.PlayerCount(); ++r)
        seating.pointsBefore[static_cast<size_t>(r)] = table.PointsThrough(r, round);
    if (round < 0 || round >= table.RoundCount())
        return seating;
    seating.boards = RoundBoards(table, round);
    std::vector<char> seated(static_cast<size_t>(table.PlayerCount()), 0);
    for (const Board& b : seating.boards)
        seated[static_cast<size_t>(b.left)] = seated[static_cast<size_t>(b.right)] = 1;
    for (const int r : PairingTimeOrder(table, round)) {
        const PlayerEntry& e = table.Entry(r);
        if (e.IsEmpty() || seated[static_cast<size_t>(r)] != 0)
            continue;
        if (table.Cell(r, round).opponent == ByeOpponent)
            seating.byes.push_back(r);
        else if (e.PlaysIn(round))
            seating.unpaired.push_back(r);
        else
            seating.withdrawn.push_back(r);
    }
    return seating;
}

} // namespace tabry
