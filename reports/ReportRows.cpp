#include "reports/ReportRows.h"

#include "core/TieBreaks.h"
#include "playerdb/PlayerDatabase.h"
#include "playerdb/PlayerText.h"
#include "reports/Formatters.h"
#include "text/Cp932.h"

#include <algorithm>

namespace tabry {

namespace {

class RowBuilder {
public:
    explicit RowBuilder(const CResultTable& table) : m_widths(table.reportWidths) {}

    // Appends `text` to `row` and widens the column slot it counts in.
    void Append(CFieldList& row, const std::string& text, int widthSlot)
    {
        row.Append(text);
        const int length = row.Get(row.Count() - 1).Length();
        m_widths[static_cast<size_t>(widthSlot)] = std::max(m_widths[static_cast<size_t>(widthSlot)], length);
    }

private:
    std::array<int, 10>& m_widths;
};

} // namespace

std::vector<std::string> TieBreakTexts(const PlayerEntry& e, int method, bool showDiscDifference, bool compactDisc)
{
    std::vector<std::string> texts;
    for (const TieValue value : TieBreakMethodOf(method).Shown()) {
        if (value == TieValue::Brightwell) {
            texts.push_back(FormatBrightwell(e.brightwell, true));
        } else if (value == TieValue::Disc) {
            const int games = e.wins + e.losses + e.draws;
            texts.push_back(FormatDiscValue(e.discTotal, compactDisc, games, !compactDisc, showDiscDifference));
        } else {
            texts.push_back(FormatHalfPoints(TieValueOf(e, value), true));
        }
    }
    return texts;
}

void FormatReportRows(const CResultTable& table, const CPlayerDatabase& players)
{
    const int rowCount = table.PlayerCount();
    const int roundCount = table.RoundCount();
    const int method = EffectiveTieBreak(table.settings.tieBreak);
    const bool showDifference = table.settings.showDiscDifference;

    table.reportRows.assign(static_cast<size_t>(rowCount), CFieldList{});
    table.reportWidths.fill(0);
    std::vector<CFieldList>& rows = table.reportRows;
    RowBuilder builder(table);

    // First pass: rank and identity, which the second pass needs complete
    // because opponent texts are the opponents' short names.
    int position = 0;
    int previous = -1;
    for (int r = 0; r < rowCount; ++r) {
        const PlayerEntry& e = table.Entry(r);
        if (e.IsEmpty())
            continue;
        ++position;
        CFieldList& row = rows[static_cast<size_t>(r)];
        const bool tied = previous >= 0 && table.CompareRows(method, CompareMode::Equality, previous, r) == 0;
        const std::string rank =
            tied ? rows[static_cast<size_t>(previous)].Get(ColRank).str() : report::Decimal(position);
        previous = r;
        const CPlayerRecord& who = players.GetAt(e.playerIndex);
        builder.Append(row, rank, ColRank);
        builder.Append(row, who.m_longName, ColLongName);
        builder.Append(row, who.m_shortName, ColShortName);
        builder.Append(row, who.m_residence, ColResidence);
        builder.Append(row, FormatGrade(who.m_grade), ColGrade);
    }

    // Second pass: record, tie-break values and every round.
    const std::string& byeName = players.GetAt(0).m_shortName;
    for (int r = 0; r < rowCount; ++r) {
        const PlayerEntry& e = table.Entry(r);
        if (e.IsEmpty())
            continue;
        CFieldList& row = rows[static_cast<size_t>(r)];
        builder.Append(row, FormatRecord(e.wins, e.losses, e.draws, 0), ColRecord);
        int column = ColTieBreak1;
        for (const std::string& text : TieBreakTexts(e, method, showDifference))
            builder.Append(row, text, column++);
        if (row.Count() == ColTieBreak2)
            row.Append(std::string_view{}); // keeps the round columns in place; width 7 stays as it is
        for (int j = 0; j < roundCount; ++j) {
            const ResultCell& cell = table.Cell(r, j);
            std::string result;
            if (cell.opponent != NoOpponent && cell.result != ResultNone)
                result = ResultMark(cell.result) + FormatDiscValue(cell.disc, false, 1, true, showDifference);
            std::string opponent;
            if (cell.opponent == ByeOpponent)
                opponent = byeName;
            else if (cell.opponent >= 0 && cell.opponent < rowCount)
                opponent = rows[static_cast<size_t>(cell.opponent)].Get(ColShortName).str();
            builder.Append(row, result, kResultWidth);
            builder.Append(row, opponent, kOpponentWidth);
        }
    }
    table.rankedCount = position;
}

} // namespace tabry
