#pragma once
// The three printed documents, laid out as page descriptions (A4): the
// pairing sheet of a round, the standings and the whole result table. Each
// works on a private copy of the table in standings order, so the open
// tournament never changes. Every page carries the tournament's name and
// date, the document's title, "n / N" and the column headings.

#include "paper/PageDescription.h"

#include <string>
#include <vector>

namespace tabry {
struct TournamentData;
}

namespace tabry::paper {

enum class PaperKind {
    PairingSheet, // 組み合わせ表 of one round
    Standings,    // 成績表
    ResultTable,  // 対戦表
};

// Boards per page of the pairing sheet: with 12 pt names they fill an A4 page.
constexpr int kBoardsPerPage = 40;
// Players per page of the standings.
constexpr int kStandingsRowsPerPage = 45;
// Players per page of the result table (landscape).
constexpr int kTableRowsPerPage = 24;

// 組み合わせ表 of round `round` (1..roundCount), portrait: one line per board
// with the board number, both players' names, grades and points before the
// round, and an empty box for the result. Boards are ordered by the higher
// points of the pair, then by the lower (points before the round), as an
// organiser reads them out, the higher-placed player on the left. Then the
// players without a game: the bye (不戦), players not yet paired
// (組合せなし), and the players who withdrew from the round or earlier, with
// `withdrawnRows` (rows of data.table as it stands) besides (棄権), unless
// they have a game in the round.
PaperDocument LayoutPairingSheet(const TournamentData& data, int round, const std::vector<int>& withdrawnRows = {});

// 成績表, portrait: rank (shared by tied players), name, grade, residence,
// wins-losses-draws, points and the tie-break value(s) of the tournament's
// method, in standings order.
PaperDocument LayoutStandings(const TournamentData& data);

// 対戦表, landscape: per player his number, rank, name and grade, per round the
// result and the opponent's number, then the totals. Wide tables are split by
// rounds and long ones by players; every page repeats the row and column
// headings.
PaperDocument LayoutResultTable(const TournamentData& data);

// The document of a kind; `round` is used by the pairing sheet only.
PaperDocument LayoutPaper(PaperKind kind, const TournamentData& data, int round);

// "組み合わせ表", "成績表", "対戦表" (Shift_JIS).
const std::string& PaperTitle(PaperKind kind);

} // namespace tabry::paper
