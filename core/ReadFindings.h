#pragma once
// What the ".stg" reader had to read otherwise than the file says. The
// format itself tells a reader what to do with a player line it cannot take,
// a file that ends early and lines after the table (an empty row, empty rows,
// nothing), so such a file still opens; but a player or a game is then gone,
// and the user must hear of it. An event line ("##Bye:", "##Withdrawn:")
// that cannot be read is no such case: no writer makes one, and guessing
// would pair a player who left, so the whole file is refused.

#include <string>
#include <vector>

namespace tabry {

enum class FindingKind {
    WrongFieldCount,      // a player line with too few or too many fields: its row read as empty
    DetailsAmongPlayers,  // a '#' line after the first player line: its row read as empty
    FileEndsEarly,        // the file ends before the rows its header declares: they read as empty
    LinesAfterTable,      // text after the last row (beyond 512 rows too): not read
    WithdrawalOfEmptyRow, // a "##Withdrawn:" line names a row without a player: dropped
    AbsenceOfEmptyRow,    // an "##Absent:" line names a row without a player: dropped
    BadEventLine,         // an event line that cannot be read or is out of range: the file is refused
};

struct ReadFinding {
    FindingKind kind = FindingKind::WrongFieldCount;
    int line = 0;     // the line (from 1); FileEndsEarly: the last line of the file
    int row = -1;     // the row (from 0) that reads differently, -1 for none; FileEndsEarly: the first missing
    int fields = 0;   // WrongFieldCount: the fields found; LinesAfterTable: the lines not read
    int expected = 0; // WrongFieldCount: the fields a player line has; FileEndsEarly: the rows declared
    std::string key;  // BadEventLine: the line's key, upper-cased ("WITHDRAWN")
    friend bool operator==(const ReadFinding&, const ReadFinding&) = default;
};

// True for a finding that refuses the whole file rather than reading it
// differently.
constexpr bool RefusesFile(FindingKind kind)
{
    return kind == FindingKind::BadEventLine;
}

using ReadFindings = std::vector<ReadFinding>;

} // namespace tabry
