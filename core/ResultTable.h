#pragma once
// The tournament table: one row per player slot, one column per round, each
// cell the game the row's player played in that round. Every other part of the
// program reads or changes the tournament through this class.

#include "text/LineString.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabry {

class CPlayerDatabase;
struct CPlayerRecord;
struct ReadFinding;
class CTournamentInfo;

// Opponent sentinels of a ResultCell.
constexpr int NoOpponent = -1;  // no game in this cell
constexpr int ByeOpponent = -2; // the bye / forfeit pseudo-opponent (database record 0)

// Result codes of a ResultCell, from the row's player's view.
constexpr std::int8_t ResultWin = 1;
constexpr std::int8_t ResultDraw = 0;
constexpr std::int8_t ResultLoss = -1;
constexpr std::int8_t ResultNone = -2; // paired, no result yet

constexpr int kMaxPlayers = 512;
constexpr int kMaxRounds = 128;
constexpr int kNewTablePlayers = 32;
constexpr int kNewTableRounds = 6;
constexpr int kNotWithdrawn = -1;

// Thirteen signed 32-bit fields, in this order, and the row's withdrawal.
// Fields 2 to 11 are derived by ComputeTotals and ComputeTieBreaks; the two
// after them are pairing scratch.
struct PlayerEntry {
    std::int32_t playerIndex = -1; // player-database index; negative = empty row
    std::int32_t wins = 0;
    std::int32_t losses = 0;
    std::int32_t draws = 0;
    std::int32_t discTotal = 0;  // sum of disc differences
    std::int32_t points = 0;     // half points: 2 x wins + draws
    std::int32_t winPointsA = 0; // sum of the points of every opponent
    std::int32_t secondaryA = 0;
    std::int32_t winPointsB = 0; // sum of the points of every beaten opponent
    std::int32_t secondaryB = 0;
    std::int32_t brightwell = 0; // in units of 0.05
    std::int32_t groupPosTop = 0;
    std::int32_t groupPosBottom = 0;
    // The first round (from 0) the row's player no longer plays: from there
    // on he is never paired. kNotWithdrawn while he plays on. Tournament
    // data like the player index: it travels with the row and in the file.
    std::int32_t withdrawnFrom = kNotWithdrawn;

    bool IsEmpty() const { return playerIndex < 0; }
    bool IsWithdrawn() const { return withdrawnFrom != kNotWithdrawn; }
    // False from the round of his withdrawal on.
    bool PlaysIn(int round) const { return withdrawnFrom == kNotWithdrawn || round < withdrawnFrom; }
    // Copies fields 1 to 11 and the withdrawal; the pairing scratch fields
    // are never carried over.
    void CopyStandingFrom(const PlayerEntry& other);
    friend bool operator==(const PlayerEntry&, const PlayerEntry&) = default;
};

struct ResultCell {
    std::int32_t opponent = NoOpponent; // row index, NoOpponent or ByeOpponent
    std::int8_t result = ResultDraw;    // ResultWin, ResultDraw, ResultLoss, ResultNone
    std::int8_t disc = 0;               // disc difference from this row's view, -64..64
    std::int8_t reserved = 0;           // carried by the file and every copy, never interpreted

    // Clears the game; `reserved` is left as it is.
    void ClearGame()
    {
        opponent = NoOpponent;
        result = ResultDraw;
        disc = 0;
    }
    friend bool operator==(const ResultCell&, const ResultCell&) = default;
};

// One number of a fixed round's boards: the rows on its left and right
// (row indices, moved by a sort as opponents are), both NoOpponent for a
// number no longer used because its game was removed.
struct BoardSeat {
    int left = NoOpponent;
    int right = NoOpponent;

    bool IsUnused() const { return left < 0 || right < 0; }
    friend bool operator==(const BoardSeat&, const BoardSeat&) = default;
};
// A round's boards once their numbers are fixed: seat k is board k + 1.
// Empty while the round is numbered as the standings before it give (see
// core/Boards.h).
using BoardPlan = std::vector<BoardSeat>;
// The most numbers a round's plan holds: twice the games a round can have,
// so that numbers of removed games can stay unused for a long while.
constexpr int kMaxBoardNumbers = kMaxPlayers;

// The ranking methods, in the order of the settings list.
enum TieBreakMethod : int {
    DiscDifference = 0,
    Brightwell = 1,
    WinPointsA = 2,
    WinPointsASecondary = 3,
    WinPointsADisc = 4,
    WinPointsB = 5,
    WinPointsBSecondary = 6,
    WinPointsBDisc = 7,
};
constexpr int kTieBreakMethodCount = 8;

// A stored method outside 0..7 (a hand-edited file) must never index past the
// comparator table: wherever a method is needed it reads as disc difference.
constexpr int EffectiveTieBreak(int method)
{
    return method >= 0 && method < kTieBreakMethodCount ? method : DiscDifference;
}

// The method's caption in the settings list ("石差（石数）" ...), Shift_JIS.
// A method outside 0..7 gives the caption of disc difference.
const std::string& TieBreakMethodText(int method);

// What a bye scores and who receives it, wherever the program makes one: a
// round's pairing and "pass" in the result editor. The default is what the
// program has always done.
struct ByeRule {
    // 0: the bye is entered without a result (the organiser fills it in);
    // otherwise a win by this disc difference, an even 2..64 (33-31 is 2,
    // 64-0 is 64).
    int winDisc = 0;
    // false: the pairing's costs choose the player; true: the lowest-ranked
    // player of the pairing who has not had a bye (with the fewest byes when
    // everybody has had one).
    bool toLowest = false;

    static constexpr int kMinWinDisc = 2;
    static constexpr int kMaxWinDisc = 64;
    bool IsDefault() const { return winDisc == 0 && !toLowest; }
    // A score the file and the dialog can hold: none, or an even win.
    bool IsValid() const
    {
        return winDisc == 0 || (winDisc >= kMinWinDisc && winDisc <= kMaxWinDisc && winDisc % 2 == 0);
    }
    // The cell a new bye is written as.
    ResultCell ByeCell() const;
    friend bool operator==(const ByeRule&, const ByeRule&) = default;
};

struct TableSettings {
    bool showDiscDifference = true; // false: discs shown and typed as the player's count
    int tieBreak = DiscDifference;  // kept as read from a file, see EffectiveTieBreak
    int brightwellTenths = 60;      // Brightwell coefficient in tenths (6.0)
    ByeRule bye;                    // in its own details line of the file
    friend bool operator==(const TableSettings&, const TableSettings&) = default;
};

enum class CompareMode {
    Ordering, // rows equal on every key are ordered by row index: a total order
    Equality, // rows equal on every key compare equal
};

class CResultTable {
public:
    CResultTable(); // 32 x 6, all rows empty
    // Copies dimensions, settings, entries (standing fields) and cells, then
    // recomputes the totals over all rows and rounds.
    CResultTable(const CResultTable& other);
    CResultTable& operator=(const CResultTable& other);
    CResultTable(CResultTable&&) noexcept = default;
    CResultTable& operator=(CResultTable&&) noexcept = default;
    virtual ~CResultTable();

    // ---- storage ----------------------------------------------------------
    void Clear();
    // Keeps the entries and cells that fit into the new size, adds empty rows
    // and rounds, and recomputes the totals. Cells that name removed rows stay
    // until Validate. A withdrawal from a removed round goes with the round.
    void Resize(int players, int rounds);

    int PlayerCount() const { return playerCount; }
    int RoundCount() const { return roundCount; }
    int CellCount() const { return cellCount; }

    // The cell of (row, round). The position is checked only against the whole
    // cell array; outside it a shared empty cell is returned, and a write
    // through that reference never changes what later reads see.
    ResultCell& Cell(int row, int round);
    const ResultCell& Cell(int row, int round) const;
    // Copies all four fields; the position must be valid.
    void SetCell(int row, int round, const ResultCell& cell);
    // The entry of a row, or a shared empty entry for a row out of range (with
    // the same guarantee as Cell).
    PlayerEntry& Entry(int row);
    const PlayerEntry& Entry(int row) const;

    // ---- queries ----------------------------------------------------------
    int FindRowOfPlayer(int playerIndex) const;
    int FindOtherRowOfPlayer(int playerIndex, int exceptedRow) const;
    // Any cell of the row with a row opponent or the bye.
    bool RowHasGames(int row) const;
    // Any row's cell of the round with a row opponent or the bye.
    bool RoundHasGames(int round) const;
    // No non-empty row has a game in `round` or later.
    bool RoundsEmptyFrom(int round) const;
    // Every row from `row` to the end is empty.
    bool RowsEmptyFrom(int row) const;
    // The rows whose players do not play in `round` (from 0) any more, in
    // row order.
    std::vector<int> WithdrawnRows(int round) const;
    // The round after the last one in which the row has a result (a game
    // with a result, or a bye with one): the first round he can be said to
    // have left. 0 without any result.
    int FirstRoundWithoutResult(int row) const;
    // The earliest round he can withdraw from: after his last game with a
    // result against another player. Byes and games still without a result
    // do not hold him back (a withdrawal takes them away).
    int EarliestWithdrawal(int row) const;

    // ---- consistency and clearing ----------------------------------------
    // Clears every cell (and the withdrawal) of an empty row and, in other
    // rows, every cell whose opponent is NoOpponent, beyond the table or an
    // empty row. Byes stay.
    void Validate();
    // Validate without touching the cells that name nobody: only games with
    // an empty row or a row beyond the table go. A state the program wrote
    // itself (a recovery file) comes back exactly so, a cell emptied as
    // (none, win, 0) included.
    void DropDanglingGames();
    // Empties the row, clears the games that named it, recomputes everything.
    void DeletePlayer(int row);
    // Clears every row's cell of the round and recomputes everything.
    void ClearRound(int round);

    // ---- results and statistics ------------------------------------------
    // row -1: all rows; roundLimit -1: all rounds, else rounds 0..roundLimit-1.
    void ComputeTotals(int row, int roundLimit);
    // All rows; reads the totals of the last ComputeTotals. The round limit
    // applies to the win points and the Brightwell score; the secondary points
    // always sum over every round.
    void ComputeTieBreaks(int roundLimit);
    // ComputeTotals(-1, -1) and ComputeTieBreaks(-1).
    void ComputeAll();
    // The row's half points over rounds 0..roundLimit-1, counted as
    // ComputeTotals counts them, without touching the stored totals.
    int PointsThrough(int row, int roundLimit) const;

    // ---- standings order --------------------------------------------------
    // Negative when row a ranks before row b, positive after, 0 equal. Empty
    // rows rank after every player.
    int CompareRows(int method, CompareMode mode, int a, int b) const;
    // Reorders the rows into standings order and remaps every opponent.
    // Unless keepTotals, totals and tie-break values are recomputed first.
    void Sort(int method, bool keepTotals);
    // The standings order as it stands: order[i] is the row that goes to
    // position i (stable, so empty rows keep their relative order).
    std::vector<int> SortOrder(int method) const;
    // Moves row order[i] to position i and remaps every opponent; `order`
    // must be a permutation of the rows. Totals travel with their rows.
    void PermuteRows(const std::vector<int>& order);
    // Rank number of every row (0 for an empty row): equal players share the
    // rank of the first of them, the next one counts everyone above him.
    std::vector<int> RankNumbers(int method) const;

    // ---- board numbers (core/Boards.h reads them) ---------------------------
    // The fixed boards of a round (from 0); empty for a round not fixed and
    // outside the table. A sort moves their rows with the players, a resize
    // frees the numbers of removed rows, DeletePlayer the numbers of his
    // games and ClearRound the whole round's plan.
    const BoardPlan& Plan(int round) const;
    void SetPlan(int round, BoardPlan plan);
    const std::vector<BoardPlan>& Plans() const { return plans; }

    // ---- tournament file --------------------------------------------------
    // Replaces the table, the settings and the details with the ".stg" bytes
    // (the bye rule and the withdrawals from their details lines, see
    // core/EventLines.h). Players missing from the database are added to it
    // and `dbModified` is set. Returns -1, changing neither table nor settings
    // nor database, when the header line is missing or invalid, a line holds
    // a NUL byte or an event line cannot be read (that one also as a finding);
    // else 0. With `lineRecords`, each row's player as its line describes him
    // (an empty record for a row without a player line) is put there too.
    // With `findings`, everything read otherwise than the file says (see
    // core/ReadFindings.h), in line order per kind. With `whole`, whether
    // every declared row had its line and the last line its end (a file cut
    // at a line end before rows that may have been empty reads without a
    // finding, but is no file this program wrote whole).
    int Read(std::string_view data, CTournamentInfo& info, CPlayerDatabase& db, bool& dbModified,
             std::vector<CPlayerRecord>* lineRecords = nullptr, std::vector<ReadFinding>* findings = nullptr,
             bool* whole = nullptr);
    // Appends the ".stg" bytes of the table to `out`; sets info.format to 1.
    int Write(std::string& out, CTournamentInfo& info, const CPlayerDatabase& db) const;

    // ---- raw storage -------------------------------------------------------
    // The entries and cells exactly as stored, for taking and putting back a
    // state without any recomputation (undo, redo).
    const std::vector<PlayerEntry>& Entries() const { return entries; }
    const std::vector<ResultCell>& Cells() const { return cells; }
    // Replaces size, entries and cells as given (cells row-major, players x
    // rounds of them); nothing is recomputed or validated. The plans of the
    // rounds that remain stay.
    void AssignStorage(int players, int rounds, std::vector<PlayerEntry> newEntries, std::vector<ResultCell> newCells);

    // ---- report cache (filled by the report writers) ---------------------
    // A cache of what the last report showed, not tournament data: a report
    // may rebuild it from a table it only reads.
    mutable std::vector<CFieldList> reportRows;
    mutable std::array<int, 10> reportWidths{};
    mutable int rankedCount = 0;

    TableSettings settings;

private:
    std::vector<PlayerEntry> entries;
    std::vector<ResultCell> cells; // row-major: row * roundCount + round
    std::vector<BoardPlan> plans;  // by round
    int roundCount = 0;
    int playerCount = 0;
    int cellCount = 0;

    mutable ResultCell m_emptyCell;
    mutable PlayerEntry m_emptyEntry;

    bool IsPlayerRow(int opponent) const
    {
        return opponent >= 0 && opponent < playerCount && !entries[static_cast<size_t>(opponent)].IsEmpty();
    }
    // After the player lines: a file that ended before its rows, and text
    // after the last row.
    void NoteWhatIsMissingOrLeft(std::string_view data, const std::vector<std::string_view>& lines, size_t next,
                                 int rowsRead, std::vector<ReadFinding>& findings) const;
    // The round after the row's last cell that `counts`; 0 when none does.
    int RoundAfterLast(int row, bool (*counts)(const ResultCell&)) const;
};

} // namespace tabry
