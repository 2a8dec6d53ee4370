#pragma once
// The intermediate form every published report is written from: per table row
// a list of display texts, and per kind of text the widest byte length. The
// cache lives in the table (reportRows, reportWidths, rankedCount) and is
// rebuilt by every report, so a report always shows the table as it stands.

#include "core/ResultTable.h"

namespace tabry {

class CPlayerDatabase;

// Columns of a report row. Rounds follow from column 8 on: the result text of
// round j (from 0) is column 8 + 2j, its opponent text column 9 + 2j.
// reportWidths has ten slots: 0..7 for these columns, 8 shared by every
// round's result text and 9 by every round's opponent text.
enum ReportColumn : int {
    ColRank = 0,
    ColLongName = 1,
    ColShortName = 2,
    ColResidence = 3,
    ColGrade = 4,
    ColRecord = 5,
    ColTieBreak1 = 6,
    ColTieBreak2 = 7, // empty for the one-value methods 0, 2 and 5
    ColFirstRound = 8,
};
constexpr int ResultColumn(int round)
{
    return ColFirstRound + 2 * round;
}
constexpr int OpponentColumn(int round)
{
    return ColFirstRound + 2 * round + 1;
}
constexpr int kResultWidth = 8;
constexpr int kOpponentWidth = 9;

// The tie-break texts of a player under `method`, in the order they fill
// columns 6 and 7 (one or two texts): Brightwell score and win points as
// compact half points; the disc total wide with the even suffix (as the
// reports align it) unless `compactDisc`.
std::vector<std::string> TieBreakTexts(const PlayerEntry& e, int method, bool showDiscDifference,
                                       bool compactDisc = false);

// Rebuilds the table's report cache from its rows in their current order and
// its totals as stored (no recomputation, no sort). A row without a player
// gets an empty list, which every writer recognises by its empty rank text.
// Players equal on every criterion of the tie-break method share the rank of
// the first of them: "1", "2", "2", "4". rankedCount is the number of players.
void FormatReportRows(const CResultTable& table, const CPlayerDatabase& players);

} // namespace tabry
