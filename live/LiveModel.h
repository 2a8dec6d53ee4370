#pragma once
// What the live pages show, worked out from a snapshot with the report rows
// and value formatters every other report uses, in UTF-8. The HTML and JSON
// renderers only arrange these values.

#include <string>
#include <vector>

namespace tabry::live {

class CLiveSnapshot;

struct PlayerRef {
    int id = -1;           // -1: the bye, or nobody
    std::string name;      // long display name
    std::string shortName; // short display name
    std::string grade;
};

struct StandingRow {
    PlayerRef player;
    int rank = 0;
    std::string residence;
    int halfPoints = 0;
    std::string points; // "3.5"
    int wins = 0, losses = 0, draws = 0;
    std::string record;                 // "3勝 1敗 0分"
    std::vector<std::string> tieBreaks; // the method's one or two values, as the reports show them
    int withdrawnAfter = -1;            // rounds he played before he withdrew; -1 while he plays on
};

struct Standings {
    int method = 0;
    std::vector<std::string> tieBreakCaptions; // headings of the tie-break values
    std::string methodName;
    std::vector<StandingRow> rows; // standings order
};

// One side of a board: the player, his points before the round and his result.
struct BoardSide {
    PlayerRef player;
    std::string points;
    std::string result; // mark and score ("○+12"), empty while no result
};

struct Board {
    int number = 0;
    BoardSide first, second; // first: the higher placed before the round
};

struct RoundPairing {
    int round = 0; // from 1
    bool current = false;
    std::vector<Board> boards;
    std::vector<BoardSide> byes;      // against the bye
    std::vector<BoardSide> unpaired;  // no game yet
    std::vector<BoardSide> withdrawn; // no game, withdrawn from this round or earlier
};

struct PlayerRound {
    int round = 0; // from 1
    enum class Kind { None, Bye, Game } kind = Kind::None;
    PlayerRef opponent;
    int result = 0; // ResultWin, ResultDraw, ResultLoss, ResultNone
    std::string mark;
    std::string score;
    std::string runningPoints; // after this round; empty when the round counted nothing
};

struct PlayerPage {
    StandingRow standing;
    std::vector<PlayerRound> rounds;
};

struct TournamentHead {
    std::string name;
    std::string date;    // "2024/05/03" or empty
    std::string isoDate; // "2024-05-03" or empty
    int rounds = 0;
    int currentRound = 1; // the last round with a game, 1 when none has
};

TournamentHead MakeHead(const CLiveSnapshot& snapshot);

// Every player of the table, in the table's row order.
std::vector<PlayerRef> MakePlayerList(const CLiveSnapshot& snapshot);

// The standings now: a private copy of the table, totals recomputed, sorted
// by the tie-break method; ranks as every report gives them.
Standings MakeStandings(const CLiveSnapshot& snapshot);

// The games of round `round` (1..rounds) by board, numbered in the standings
// before that round, as the pairing table numbers them.
RoundPairing MakeRoundPairing(const CLiveSnapshot& snapshot, int round);

// A player's rounds with his running points; `standing` is his row of
// MakeStandings.
PlayerPage MakePlayerPage(const CLiveSnapshot& snapshot, const StandingRow& standing);

} // namespace tabry::live
