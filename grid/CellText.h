#pragma once
// What each cell of the results grid shows, as Shift_JIS texts, computed from
// the table, its settings and the player database. The widget only places
// these texts in their rectangles.

#include <cstddef>
#include <string>
#include <string_view>

namespace tabry {
class CResultTable;
class CPlayerDatabase;
} // namespace tabry

namespace tabry::grid {

struct PlayerCellTexts {
    std::string longName;  // top left
    std::string shortName; // top right
    std::string residence; // bottom left
    std::string grade;     // bottom right
};

struct TwoLineTexts {
    std::string top;
    std::string bottom;
};

// No cell shows more than a few dozen characters, so no cell text is longer
// than this many bytes: a name of any length (10 MB has been seen) is cut
// before it is drawn, and painting never converts or lays out megabytes.
constexpr std::size_t kMaxCellTextBytes = 256;

// The first characters of `sjis` that fit in kMaxCellTextBytes, never
// splitting a double-byte character.
std::string CellPart(std::string_view sjis);

// The four texts of a row's player cell; all empty for an empty row.
PlayerCellTexts PlayerCell(const CResultTable& table, const CPlayerDatabase& db, int row);

// A round cell (round counted from 0): the opponent's short name on top and,
// once there is a result, its mark and disc score below. Empty without an
// opponent.
TwoLineTexts RoundCell(const CResultTable& table, const CPlayerDatabase& db, int row, int round);

// The totals cell: "%d勝%d敗%d分" and the tie-break summary of the table's
// method. Empty for an empty row.
TwoLineTexts TotalsCell(const CResultTable& table, int row);

// Header labels: "Player", the round number, "Total", nothing for the filler.
std::string ColumnHeaderLabel(int col, int rounds);
std::string RowNumberLabel(int row);

} // namespace tabry::grid
