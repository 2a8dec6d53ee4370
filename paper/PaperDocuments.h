#pragma once
// The three printed documents, laid out as page descriptions (A4): the
// pairing sheet of a round, the standings and the whole result table. Each
// works on a private copy of the table in standings order, so the open
// tournament never changes. Every page carries the tournament's name and
// date, the document's title, "n / N" and the column headings.

#include "paper/PageDescription.h"

#include <span>
#include <string>
#include <string_view>
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
// round, and an empty box for the result. Boards go by their numbers (see
// core/Boards.h: the same numbers as on the players' phones), the player
// who sits on the left first. Then the players without a game: the bye
// (不戦), players not yet paired (組合せ待ち), and the players who withdrew
// from the round or earlier (棄権).
PaperDocument LayoutPairingSheet(const TournamentData& data, int round);

// 成績表, portrait: rank (shared by tied players), name, grade, residence,
// wins-losses-draws, points and the tie-break value(s) of the tournament's
// method, in standings order. The title line says after which round the
// standings stand; a tournament with withdrawals gets a remarks column
// that marks each withdrawn player (棄権(3回戦から)).
PaperDocument LayoutStandings(const TournamentData& data);

// 対戦表, landscape: per player his number, rank, name and grade, per round the
// result and the opponent's number, then the totals. Rounds without any game
// are left out; wide tables are split into even bands of rounds and long
// ones by players; every page repeats the row and column headings. A
// withdrawn player is marked under his name, and his rounds without a game
// from his withdrawal on show 棄.
PaperDocument LayoutResultTable(const TournamentData& data);

// The printed documents as one table: per kind its title and layout.
struct PaperKindInfo {
    PaperKind kind;
    std::string_view title; // UTF-8: "組み合わせ表", "成績表", "対戦表"
    bool usesRound;         // the pairing sheet of one round
    PaperDocument (*layout)(const TournamentData& data, int round);
};
std::span<const PaperKindInfo> PaperKinds();
const PaperKindInfo& PaperKindOf(PaperKind kind);

// The document of a kind; `round` is used by the pairing sheet only.
PaperDocument LayoutPaper(PaperKind kind, const TournamentData& data, int round);

// The kind's title (Shift_JIS).
const std::string& PaperTitle(PaperKind kind);

} // namespace tabry::paper
