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
//   ##Withdrawn: ROW,ROUND     ROW from 0, as the opponent fields count rows;
//                              ROUND the first round he no longer plays, from
//                              1. One line per withdrawn player, in row order.
//   ##Boards: ROUND,L-R,...    the fixed board numbers of ROUND (from 1): item
//                              k after ROUND is board k, "L-R" the rows (from
//                              0) on its left and right, an empty item a
//                              number no longer used. Only for a round whose
//                              numbers differ from those the standings before
//                              it give (core/Boards.h), in round order.

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

    // Takes a "##Bye:", "##Withdrawn:" or "##Boards:" line (keys in any
    // case). True for each key whatever the value, so the line is never
    // taken for a player line; a value that cannot be read changes nothing
    // (a rule's unreadable part stays at its default). Of two withdrawals of
    // one row the earlier round counts; of two bye lines the last. A boards
    // line that cannot be read whole (a round or row outside the table, a
    // board with one row on both sides, a second line for its round) is kept
    // in Unreadable().
    bool Parse(std::string_view line);

    const ByeRule& Bye() const { return m_bye; }
    // Withdraws the rows the lines named, when they hold a player; a line
    // naming an empty row, or a row or round outside the table, is dropped
    // (the next save no longer writes it). Gives the rounds of the boards
    // lines their plans, which the caller reads against the cells once they
    // are valid.
    void ApplyTo(CResultTable& table) const;

    // The lines this reader knows but could not read, as they stand.
    const std::vector<std::string>& Unreadable() const { return m_unreadable; }

private:
    bool ParseBoards(std::string_view value);

    int m_rounds;
    ByeRule m_bye;
    std::vector<int> m_withdrawnFrom; // by row; kNotWithdrawn when no line named it
    std::vector<BoardPlan> m_plans;   // by round; empty when no line named it
    std::vector<std::string> m_unreadable;
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
