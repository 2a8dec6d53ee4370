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

    // Takes a "##Bye:" or "##Withdrawn:" line (keys in any case). True for
    // either key whatever the value, so the line is never taken for a player
    // line; a value that cannot be read changes nothing (a rule's unreadable
    // part stays at its default). Of two withdrawals of one row the earlier
    // round counts; of two bye lines the last.
    bool Parse(std::string_view line);

    const ByeRule& Bye() const { return m_bye; }
    // Withdraws the rows the lines named, when they hold a player; a line
    // naming an empty row, or a row or round outside the table, is dropped
    // (the next save no longer writes it).
    void ApplyTo(CResultTable& table) const;

private:
    int m_rounds;
    ByeRule m_bye;
    std::vector<int> m_withdrawnFrom; // by row; kNotWithdrawn when no line named it
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
