#pragma once
// The details lines of how the event runs, beyond its cells: the bye rule and
// the players who withdrew. Readers that do not know them skip them, as they
// skip every unknown '#' line before the first player line, and a tournament
// that uses neither writes none of them.
//
//   ##Bye: SCORE,RECEIVER      SCORE "none" or the bye's win in discs ("33-31",
//                              "64-0"); RECEIVER "pairing" (the pairing's
//                              costs choose) or "lowest". Only for a rule
//                              other than "none,pairing".
//   ##Withdrawn: ROW,ROUND     ROW from 0, as the opponent fields count rows;
//                              ROUND the first round he no longer plays, from
//                              1. One line per withdrawn player, in row order.
//
// Keys are read in any case, values exactly: a line of a known key whose
// value cannot be read, or names a row or round outside the table, refuses
// the whole file (a reader that guessed would pair a player who left, or
// score the bye by another rule). A new kind of line is one more row in the
// table of kinds in EventLines.cpp.

#include "core/ReadFindings.h"
#include "core/ResultTable.h"

#include <optional>
#include <string>
#include <string_view>
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
    // bye lines the last.
    Outcome Parse(std::string_view line, int number = 0);

    const ByeRule& Bye() const { return m_bye; }
    // Withdraws the rows the lines named. A line naming a row without a
    // player is dropped (the next save no longer writes it), with a finding
    // when `findings` is given.
    void ApplyTo(CResultTable& table, ReadFindings* findings = nullptr) const;

private:
    bool ParseBye(std::string_view value, int number);
    bool ParseWithdrawn(std::string_view value, int number);

    struct Kind {
        std::string_view key; // upper-cased
        bool (CEventLines::*parse)(std::string_view value, int number);
    };
    static const Kind kKinds[];

    int m_rounds;
    ByeRule m_bye;
    std::vector<int> m_withdrawnFrom; // by row; kNotWithdrawn when no line named it
    std::vector<int> m_withdrawnLine; // by row: the line that set it
};

// The discs of both sides of the rule's win ("33-31"), empty for a bye
// without a result.
std::string ByeScoreText(const ByeRule& rule);
// The win a score like "33-31" stands for (the bye's discs first, both
// sides filling the board), as ByeRule::winDisc; nothing for any other text.
std::optional<int> ByeWinDisc(std::string_view score);

// Appends the table's event lines (see above) to `out`.
void WriteEventLines(const CResultTable& table, std::string& out);

} // namespace tabry
