#include "grid/CellText.h"

#include "core/Cp932.h"
#include "core/ResultTable.h"
#include "playerdb/PlayerDatabase.h"
#include "playerdb/PlayerText.h"

#include <cstdio>
#include <cstdlib>

namespace tabry::grid {

namespace {

// The value texts below match the report formatters character for character;
// they are kept here (with internal linkage) so the grid does not depend on
// the report writers.

std::string Printf(const char* format, auto... args)
{
    const int n = std::snprintf(nullptr, 0, format, args...);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), format, args...);
    out.resize(static_cast<size_t>(n));
    return out;
}

const std::string& ResultMark(int result)
{
    static const std::string none;
    if (result == ResultNone)
        return none;
    if (result < 0)
        return SJ("×");
    if (result == 0)
        return SJ("△");
    return SJ("○");
}

// A disc difference as shown in the current display mode: a signed
// difference, or the player's disc count over `games` games (64 discs each),
// with ".5" for an odd difference.
std::string DiscValue(int value, bool showDifference, bool compact, int games, bool evenSuffix)
{
    if (showDifference) {
        const char sign = value > 0 ? '+' : (value < 0 ? '-' : (compact ? '+' : ' '));
        return Printf(compact ? "%c%d" : "%c%2d", sign, std::abs(value));
    }
    const int t = value + 64 * games;
    const int count = t >> 1; // rounds toward minus infinity, like the count itself
    const char* suffix = (t & 1) != 0 ? ".5" : (evenSuffix ? "  " : "");
    return Printf(compact ? "%d%s" : "%2d%s", count, suffix);
}

// Half points as "%5d.5" / "%5d.0" (integer part truncated toward zero).
std::string HalfPoints(int value)
{
    return Printf("%5d%s", value / 2, value % 2 != 0 ? ".5" : ".0");
}

// A Brightwell score in units of 0.05, "%8.2f" without floating point.
std::string BrightwellValue(int value)
{
    const long long v = value;
    const long long magnitude = v < 0 ? -v : v;
    const std::string digits =
        Printf("%s%lld.%02lld", v < 0 ? "-" : "", magnitude / 20, (magnitude % 20) * 5);
    return Printf("%8s", digits.c_str());
}

std::string TieBreakSummary(const CResultTable& table, const PlayerEntry& e)
{
    const int method = EffectiveTieBreak(table.settings.tieBreak);
    const bool diff = table.settings.showDiscDifference;
    std::string s;
    if (method == Brightwell)
        s += Printf(" %6sBP", BrightwellValue(e.brightwell).c_str());
    if (method == WinPointsA || method == WinPointsASecondary || method == WinPointsADisc)
        s += Printf(" %5sP", HalfPoints(e.winPointsA).c_str());
    if (method == WinPointsB || method == WinPointsBSecondary || method == WinPointsBDisc)
        s += Printf(" %5sP", HalfPoints(e.winPointsB).c_str());
    if (method == WinPointsASecondary)
        s += Printf(" %6sPP", HalfPoints(e.secondaryA).c_str());
    if (method == WinPointsBSecondary)
        s += Printf(" %6sPP", HalfPoints(e.secondaryB).c_str());
    if (method == DiscDifference || method == Brightwell || method == WinPointsADisc || method == WinPointsBDisc) {
        std::string total = DiscValue(e.discTotal, diff, false, e.wins + e.losses + e.draws, false);
        // Whole and half disc counts end in the same column.
        if (!diff && total.find(".5") == std::string::npos)
            total += "  ";
        s += Printf(diff ? " %4s" : " %6s", total.c_str());
    }
    return s;
}

} // namespace

PlayerCellTexts PlayerCell(const CResultTable& table, const CPlayerDatabase& db, int row)
{
    const PlayerEntry& entry = table.Entry(row);
    if (entry.IsEmpty())
        return {};
    const CPlayerRecord& rec = db.GetAt(entry.playerIndex);
    return {rec.m_longName, rec.m_shortName, rec.m_residence, FormatGrade(rec.m_grade)};
}

TwoLineTexts RoundCell(const CResultTable& table, const CPlayerDatabase& db, int row, int round)
{
    TwoLineTexts texts;
    if (round < 0 || round >= table.RoundCount())
        return texts;
    const ResultCell& cell = table.Cell(row, round);
    if (cell.opponent == NoOpponent)
        return texts;
    if (cell.opponent == ByeOpponent)
        texts.top = db.GetAt(0).m_shortName;
    else if (!table.Entry(cell.opponent).IsEmpty())
        texts.top = db.GetAt(table.Entry(cell.opponent).playerIndex).m_shortName;
    if (cell.result != ResultNone)
        texts.bottom = ResultMark(cell.result) + DiscValue(cell.disc, table.settings.showDiscDifference, false, 1, false);
    return texts;
}

TwoLineTexts TotalsCell(const CResultTable& table, int row)
{
    const PlayerEntry& e = table.Entry(row);
    if (e.IsEmpty())
        return {};
    static const std::string format = SJ("%d勝%d敗%d分");
    return {Printf(format.c_str(), e.wins, e.losses, e.draws), TieBreakSummary(table, e)};
}

std::string ColumnHeaderLabel(int col, int rounds)
{
    if (col == 0)
        return "Player";
    if (col >= 1 && col <= rounds)
        return std::to_string(col);
    if (col == rounds + 1)
        return "Total";
    return {};
}

std::string RowNumberLabel(int row)
{
    return std::to_string(row + 1);
}

} // namespace tabry::grid
