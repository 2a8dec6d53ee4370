#include "reports/TextReport.h"

#include "core/ResultTable.h"
#include "core/TournamentInfo.h"
#include "reports/Formatters.h"
#include "reports/ReportRows.h"

#include <algorithm>

namespace tabry {

using report::AppendLeft;
using report::AppendRight;

void WriteTextReport(const CResultTable& table, const CTournamentInfo& info, const CPlayerDatabase& players,
                     std::string& out)
{
    FormatReportRows(table, players);
    const std::array<int, 10>& w = table.reportWidths;
    const int rankW = w[ColRank];
    const int nameW = std::max(w[ColLongName], w[ColResidence]);
    const int shortW = std::max(w[ColShortName], w[ColGrade]);
    const int roundW = std::max(w[kResultWidth], w[kOpponentWidth]);
    const int tieW = w[ColTieBreak2] != 0 ? w[ColTieBreak1] + w[ColTieBreak2] + 1 : w[ColTieBreak1];
    const int totalW = std::max(w[ColRecord], tieW) + 1;
    // In count mode every result already ends in ".5" or two blanks.
    const char* const roundGap = table.settings.showDiscDifference ? " " : "";

    if (!info.name.empty())
        report::Append(out, {" ", info.name, "\r\n"});
    if (info.HasDate())
        report::Append(out, {" ", report::SlashDate(info.year, info.month, info.day), "\r\n\r\n"});
    else if (!info.name.empty())
        out += "\r\n";

    for (int r = 0; r < table.PlayerCount(); ++r) {
        const CFieldList& row = table.reportRows[static_cast<size_t>(r)];
        if (row.Get(ColRank).IsEmpty())
            continue;
        AppendRight(out, row.Get(ColRank).Text(), rankW);
        out += ". ";
        AppendLeft(out, row.Get(ColLongName).Text(), nameW);
        out += " ";
        AppendLeft(out, row.Get(ColShortName).Text(), shortW);
        out += "  ";
        for (int j = 0; j < table.RoundCount(); ++j) {
            AppendLeft(out, row.Get(ResultColumn(j)).Text(), roundW);
            out += roundGap;
        }
        AppendRight(out, row.Get(ColRecord).Text(), totalW);
        out += "\r\n";

        out.append(static_cast<size_t>(rankW) + 1, ' ');
        out += " ";
        AppendLeft(out, row.Get(ColResidence).Text(), nameW);
        out += " ";
        AppendLeft(out, row.Get(ColGrade).Text(), shortW);
        out += "  ";
        for (int j = 0; j < table.RoundCount(); ++j) {
            AppendLeft(out, row.Get(OpponentColumn(j)).Text(), roundW);
            out += roundGap;
        }
        if (w[ColTieBreak2] > 0) {
            std::string pair;
            AppendRight(pair, row.Get(ColTieBreak1).Text(), w[ColTieBreak1]);
            pair += " ";
            AppendRight(pair, row.Get(ColTieBreak2).Text(), w[ColTieBreak2]);
            AppendRight(out, pair, totalW);
        } else {
            AppendRight(out, row.Get(ColTieBreak1).Text(), totalW);
        }
        out += "\r\n";
    }

    report::Append(out, {"\r\n\r\n         ", ProgramHomePage(), "\r\n"});
}

} // namespace tabry
