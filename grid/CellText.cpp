#include "grid/CellText.h"

#include "core/ResultTable.h"
#include "playerdb/PlayerDatabase.h"
#include "playerdb/PlayerText.h"
#include "reports/Formatters.h"
#include "text/Cp932.h"

#include <cstdio>

namespace tabry::grid {

namespace {

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

std::string TieBreakSummary(const CResultTable& table, const PlayerEntry& e)
{
    const int method = EffectiveTieBreak(table.settings.tieBreak);
    const bool diff = table.settings.showDiscDifference;
    std::string s;
    if (method == Brightwell)
        s += Printf(" %6sBP", FormatBrightwell(e.brightwell, false).c_str());
    if (method == WinPointsA || method == WinPointsASecondary || method == WinPointsADisc)
        s += Printf(" %5sP", FormatHalfPoints(e.winPointsA, false).c_str());
    if (method == WinPointsB || method == WinPointsBSecondary || method == WinPointsBDisc)
        s += Printf(" %5sP", FormatHalfPoints(e.winPointsB, false).c_str());
    if (method == WinPointsASecondary)
        s += Printf(" %6sPP", FormatHalfPoints(e.secondaryA, false).c_str());
    if (method == WinPointsBSecondary)
        s += Printf(" %6sPP", FormatHalfPoints(e.secondaryB, false).c_str());
    if (method == DiscDifference || method == Brightwell || method == WinPointsADisc || method == WinPointsBDisc) {
        std::string total = FormatDiscValue(e.discTotal, false, e.wins + e.losses + e.draws, false, diff);
        // Whole and half disc counts end in the same column.
        if (!diff && total.find(".5") == std::string::npos)
            total += "  ";
        s += Printf(diff ? " %4s" : " %6s", total.c_str());
    }
    return s;
}

} // namespace

std::string CellPart(std::string_view sjis)
{
    return std::string(sjis.substr(0, cp932::WholeCharsLength(sjis, kMaxCellTextBytes)));
}

PlayerCellTexts PlayerCell(const CResultTable& table, const CPlayerDatabase& db, int row)
{
    const PlayerEntry& entry = table.Entry(row);
    if (entry.IsEmpty())
        return {};
    const CPlayerRecord& rec = db.GetAt(entry.playerIndex);
    return {CellPart(rec.m_longName), CellPart(rec.m_shortName), CellPart(rec.m_residence), FormatGrade(rec.m_grade)};
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
        texts.top = CellPart(db.GetAt(0).m_shortName);
    else if (!table.Entry(cell.opponent).IsEmpty())
        texts.top = CellPart(db.GetAt(table.Entry(cell.opponent).playerIndex).m_shortName);
    if (cell.result != ResultNone)
        texts.bottom =
            ResultMark(cell.result) + FormatDiscValue(cell.disc, false, 1, false, table.settings.showDiscDifference);
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
