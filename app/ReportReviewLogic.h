#pragma once
// What the desk does with the results players report from their phones,
// without widgets: the lines of the review list, the game an accepted report
// becomes (written through the editor like a typed result), and the grid
// cells that have a report waiting. A report names its board and the disc
// counts of the board's left and right player (live/ReportInbox.h); the
// board is read against the table as it stands now, so a report whose board
// is gone (a game removed or paired anew since) becomes no game.

#include "live/ReportInbox.h"

#include <optional>
#include <string>
#include <vector>

namespace tabry {
struct TournamentData;
}

namespace tabry::app {

// The game of an accepted report, as the result editor hands it to
// CTournamentEditor::SetGame.
struct ReportedGame {
    int row = 0;
    int round = 0; // from 0
    int opponent = 0;
    int result = 0;
    int disc = 0; // the row player's disc difference
};

// The game `report` stands for in the table now; nothing when its round or
// board no longer holds a game.
std::optional<ReportedGame> GameOfReport(const TournamentData& data, const PendingReport& report);

// One line of the review list (texts Shift_JIS).
struct ReviewLine {
    std::string board; // "3"
    std::string left;  // the left player's long name ("?" when the board is gone)
    std::string right;
    std::string result; // the counts as reported, left first: "40 - 20"
    std::string state;  // 一致, 食い違い or empty
};
ReviewLine ReviewLineOf(const TournamentData& data, const PendingReport& report);

// The cells (row, round from 0) of both players of every waiting report's
// board, each once, in the order of `reports`.
std::vector<std::pair<int, int>> WaitingCells(const TournamentData& data, const std::vector<PendingReport>& reports);

} // namespace tabry::app
