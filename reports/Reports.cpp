#include "reports/Reports.h"

#include "text/Cp932.h"
#include "reports/HtmlReport.h"
#include "reports/InterimOutputs.h"
#include "reports/RatingCsv.h"
#include "reports/TextReport.h"
#include "reports/ZepReport.h"

namespace tabry {

int RenderReport(ReportKind kind, const TournamentData& data, int round, std::string& out, std::string* refusal)
{
    out.clear();
    const CResultTable& table = data.table;
    const bool needsRound = kind == ReportKind::ScoreSheetThrough || kind == ReportKind::PairingTable;
    if (needsRound && (round < 1 || round > table.RoundCount())) {
        if (refusal != nullptr)
            *refusal = SJ("指定された回戦がありません。");
        return -1;
    }
    switch (kind) {
    case ReportKind::RatingCsv: {
        CFieldList duplicates;
        if (CollectDuplicateShortNames(table, data.players, duplicates) > 0) {
            if (refusal != nullptr)
                *refusal = DuplicateShortNameMessage(duplicates);
            return -1;
        }
        WriteRatingCsv(table, data.info, data.players, out);
        break;
    }
    case ReportKind::Text:
        WriteTextReport(table, data.info, data.players, out);
        break;
    case ReportKind::Html:
        WriteHtmlReport(table, data.info, data.players, out);
        break;
    case ReportKind::Zep:
        WriteZepReport(table, data.info, data.players, out);
        break;
    case ReportKind::ScoreSheet:
        WriteScoreSheet(table, data.players, out);
        break;
    case ReportKind::ScoreSheetThrough:
        WriteScoreSheetThrough(table, data.players, round, out);
        break;
    case ReportKind::PairingTable:
        WritePairingTable(table, data.players, round, out);
        break;
    }
    return 0;
}

std::string DefaultReportFileName(std::string_view title)
{
    constexpr std::string_view extension = ".stg";
    if (title.size() >= extension.size() && title.substr(title.size() - extension.size()) == extension)
        title.remove_suffix(extension.size());
    return std::string(title);
}

} // namespace tabry
