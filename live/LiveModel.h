#pragma once
// What the live pages show, worked out from a snapshot with what every other
// view reads too: the standings copy and tie-break table of core/, the
// boards of core/Boards.h, the report rows and value formatters, all in
// UTF-8. The HTML and JSON renderers only arrange these values.

#include "core/Boards.h"

#include <optional>
#include <string>
#include <vector>

namespace tabry::live {

class CLiveSnapshot;

struct PlayerRef {
    std::string key;       // the address key, empty for the bye or nobody
    std::string name;      // long display name
    std::string shortName; // short display name
    std::string grade;
    std::string reading; // the input name the database keeps, for the index's order and search
};

// A result as every page and answer shows it, from one player's view.
struct ResultView {
    enum class Mark {
        None, // a game (or nothing) without a result yet
        Win,
        Draw,
        Loss,
        Bye,    // the bye without a result
        Absent, // no game: he sits this round out (休) or withdrew from it or earlier (棄)
    } mark = Mark::None;
    std::optional<int> disc; // disc difference from his view, with a result
    std::string text;        // "○+12", "×30.5" (by the display mode), "不戦", "休", "棄"; empty for None
};
// "win", "draw", "loss", "none", "bye", "absent".
const char* MarkWord(ResultView::Mark mark);

struct TieBreakValue {
    std::string number; // "84.05", "3.5", "-12": a JSON number
    std::string text;   // as the reports show it: "84.05", "+12", "33.5"
};

struct StandingRow {
    PlayerRef player;
    int rank = 0;
    std::string residence;
    int halfPoints = 0;
    int wins = 0, losses = 0, draws = 0;
    std::string record; // "3勝 1敗 0分"
    std::vector<TieBreakValue> tieBreaks;
    int withdrawnFrom = -1;    // the first round (from 0) he no longer plays; -1 while he plays on
    std::string withdrawnMark; // "棄権(3回戦から)", empty while he plays on
};

struct Standings {
    int method = 0;
    std::vector<std::string> tieBreakCaptions; // headings of the tie-break values
    std::string methodName;
    int afterRound = 0; // the standings stand after this round (0: before any result)
    bool complete = true;
    std::string afterText;         // "3回戦終了時点", "4回戦途中", "開始前"
    std::vector<StandingRow> rows; // standings order
};

// One side of a board, or a player without a game: the player, his points
// before the round and his result.
struct BoardSide {
    PlayerRef player;
    int pointsBefore = 0; // half points
    ResultView result;
};

struct BoardView {
    int number = 0;
    BoardSide left, right; // left: the higher placed when the round was paired
};

struct RoundPairing {
    int round = 0; // from 1
    bool current = false;
    std::vector<BoardView> boards; // by number (core/Boards.h)
    std::vector<BoardSide> byes;
    std::vector<BoardSide> unpaired;  // no game yet
    std::vector<BoardSide> withdrawn; // no game, withdrawn from this round or earlier
    std::vector<BoardSide> absent;    // sitting this round out
};

enum class Side { None, Left, Right };

struct PlayerRound {
    int round = 0; // from 1
    enum class Kind { None, Bye, Game } kind = Kind::None;
    int board = 0; // the board number of a game, 0 otherwise
    Side side = Side::None;
    PlayerRef opponent;
    ResultView result;
    std::optional<int> pointsAfter; // half points after this round, when it counted
};

struct PlayerPage {
    StandingRow standing;
    std::vector<PlayerRound> rounds;
    int currentRound = 1; // the tournament's current round, whose board the page opens with
};

struct TournamentHead {
    std::string name;
    std::string date;    // "2024/05/03" or empty
    std::string isoDate; // "2024-05-03" or empty
    int rounds = 0;
    int currentRound = 1; // the last round with a game, 1 when none has
};

TournamentHead MakeHead(const CLiveSnapshot& snapshot);

// Every player of the table, sorted by reading (then long name).
std::vector<PlayerRef> MakePlayerList(const CLiveSnapshot& snapshot);

// The standings now: the standings copy with fresh totals; ranks as every
// report gives them.
Standings MakeStandings(const CLiveSnapshot& snapshot);

// The boards of round `round` (1..rounds) and the players without a game.
RoundPairing MakeRoundPairing(const CLiveSnapshot& snapshot, int round);

// The boards of every round (index: round from 0), which every player page
// of one publication reads.
std::vector<std::vector<Board>> MakeAllBoards(const CLiveSnapshot& snapshot);

// A player's rounds with their boards and running points; `standing` is his
// row of MakeStandings, `boards` what MakeAllBoards gave.
PlayerPage MakePlayerPage(const CLiveSnapshot& snapshot, const StandingRow& standing,
                          const std::vector<std::vector<Board>>& boards);

// Half points as the pages write them, "3.5" or "2.0" (also a JSON number).
std::string PointsText(int halfPoints);

} // namespace tabry::live
