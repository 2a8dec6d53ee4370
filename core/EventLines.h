#pragma once
// The details lines of how the event runs, beyond its cells: the bye rule,
// the players who withdrew and the board numbers of rounds. Readers that do
// not know them skip them, as they skip every unknown '#' line before the
// first player line, and a tournament that uses none writes none of them.
//
//   ##Bye: SCORE,RECEIVER      SCORE "none" or the bye's win in discs ("33-31",
//                              "64-0"); RECEIVER "pairing" (the pairing's
//                              costs choose) or "lowest". Only for a rule
//                              other than "none,pairing".
//   ##TieBreak2: METHOD        the method (0..7, numbered as the header line
//                              numbers the first) that separates players
//                              still level after the first. Only when set.
//   ##Withdrawn: ROW,ROUND     ROW from 0, as the opponent fields count rows;
//                              ROUND the first round he no longer plays, from
//                              1. One line per withdrawn player, in row order.
//   ##Absent: ROW,ROUND        ROW from 0, as for a withdrawal; ROUND (from 1)
//                              a round he sits out and is not paired in.
//                              One line per row and round, in that order.
//   ##Boards: ROUND,L-R,...    the fixed board numbers of ROUND (from 1): item
//                              k after ROUND is board k, "L-R" the rows (from
//                              0) on its left and right, an empty item a
//                              number no longer used. Only for a round whose
//                              numbers differ from those the standings before
//                              it give (core/Boards.h), in round order.
//   ##Reporting: KEY           the key of the boards' report codes (32
//                              lowercase hexadecimal digits, see
//                              core/ReportCode.h); only while the players may
//                              report results from their phones.
//
// Keys are read in any case, values exactly: a line of a known key whose
// value cannot be read, or names a row or round outside the table, refuses
// the whole file (a reader that guessed would pair a player who left, or
// score the bye by another rule). A new kind of line is one more row in the
// table of kinds in EventLines.cpp.

#include "core/ReadFindings.h"
#include "core/ResultTable.h"
#include "core/TournamentInfo.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tabry {

// What a file's event lines say, gathered while its details lines are read
// (before the player lines that the withdrawals refer to).
class CEventLines {
public:
    CEventLines(int players, int rounds);

    enum class Outcome {
        NotAnEventLine, // another line: a details line or none at all
        Taken,          // an event line, read
        Malformed,      // an event line of a known key that cannot be read
    };
    // Takes the `number`th line of the file (from 1) when it is an event
    // line. Of two withdrawals of one row the earlier round counts; of two
    // bye lines the last. A boards line must name a round no other boards
    // line named, rows inside the table and two rows per board.
    Outcome Parse(std::string_view line, int number = 0);

    const ByeRule& Bye() const { return m_bye; }
    // The second method of the chain, kNoTieBreak without its line.
    int TieBreak2() const { return m_tieBreak2; }
    // The reporting line's key; empty without one.
    const std::string& ReportingKey() const { return m_reportingKey; }
    // Withdraws the rows the lines named and marks the rounds they sit out.
    // A line naming a row without a player is dropped (the next save no longer writes it), with a finding
    // when `findings` is given. Gives the rounds of the boards lines their
    // plans, which the caller reads against the cells once they are valid.
    void ApplyTo(CResultTable& table, ReadFindings* findings = nullptr) const;

private:
    bool ParseBye(std::string_view value, int number);
    bool ParseTieBreak2(std::string_view value, int number);
    bool ParseWithdrawn(std::string_view value, int number);
    bool ParseAbsent(std::string_view value, int number);
    bool ParseBoards(std::string_view value, int number);
    bool ParseReporting(std::string_view value, int number);
    // "ROW,ROUND" of a line naming one cell (row from 0, round from 1, as
    // the file holds them) within the table: the row and the round from 0.
    std::optional<std::pair<int, int>> Cell(std::string_view value) const;

    struct Kind {
        std::string_view key; // upper-cased
        bool (CEventLines::*parse)(std::string_view value, int number);
    };
    static const Kind kKinds[];

    int m_rounds;
    ByeRule m_bye;
    int m_tieBreak2 = kNoTieBreak;
    std::vector<int> m_withdrawnFrom; // by row; kNotWithdrawn when no line named it
    std::vector<int> m_withdrawnLine; // by row: the line that set it
    std::vector<BoardPlan> m_plans;   // by round; empty when no line named it
    struct Absence {
        int row;
        int round; // from 0
        int line;
    };
    std::vector<Absence> m_absences; // in line order
    std::string m_reportingKey;
};

// The discs of both sides of the rule's win ("33-31"), empty for a bye
// without a result.
std::string ByeScoreText(const ByeRule& rule);
// The win a score like "33-31" stands for (the bye's discs first, both
// sides filling the board), as ByeRule::winDisc; nothing for any other text.
std::optional<int> ByeWinDisc(std::string_view score);

// Appends the table's event lines (see above) to `out`, and the reporting
// line when `info` has a key.
void WriteEventLines(const CResultTable& table, const CTournamentInfo& info, std::string& out);

} // namespace tabry
