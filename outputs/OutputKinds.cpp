#include "outputs/OutputKinds.h"

#include "core/TournamentData.h"
#include "paper/PaperDocuments.h"
#include "paper/pdf/PdfRenderer.h"
#include "reports/HtmlReport.h"
#include "reports/InterimOutputs.h"
#include "reports/RatingCsv.h"
#include "reports/TextReport.h"
#include "reports/ZepReport.h"
#include "text/Cp932.h"

#include <algorithm>

namespace tabry {

namespace {

OutputStatus WriteCsv(const TournamentData& d, int, std::string& out, std::string* message)
{
    CFieldList duplicates;
    if (CollectDuplicateShortNames(d.table, d.players, duplicates) > 0) {
        if (message != nullptr)
            *message = DuplicateShortNameMessage(duplicates);
        return OutputStatus::Refused;
    }
    WriteRatingCsv(d.table, d.info, d.players, out);
    return OutputStatus::Ok;
}

OutputStatus WriteText(const TournamentData& d, int, std::string& out, std::string*)
{
    WriteTextReport(d.table, d.info, d.players, out);
    return OutputStatus::Ok;
}

OutputStatus WriteHtml(const TournamentData& d, int, std::string& out, std::string*)
{
    WriteHtmlReport(d.table, d.info, d.players, out);
    return OutputStatus::Ok;
}

OutputStatus WriteZep(const TournamentData& d, int, std::string& out, std::string*)
{
    WriteZepReport(d.table, d.info, d.players, out);
    return OutputStatus::Ok;
}

OutputStatus WriteScoreSheetOf(const TournamentData& d, int round, std::string& out, std::string*)
{
    if (round == 0)
        WriteScoreSheet(d.table, d.players, out);
    else
        WriteScoreSheetThrough(d.table, d.players, round, out);
    return OutputStatus::Ok;
}

OutputStatus WritePairingTableOf(const TournamentData& d, int round, std::string& out, std::string*)
{
    WritePairingTable(d.table, d.players, round, out);
    return OutputStatus::Ok;
}

OutputStatus WritePdf(const paper::PaperDocument& doc, std::string& out, std::string* message)
{
    std::string error;
    if (paper::RenderPdf(doc, out, &error))
        return OutputStatus::Ok;
    if (message != nullptr)
        *message = SJ("PDFを作成できません。") + cp932::FromUtf8(error);
    return OutputStatus::Failed;
}

OutputStatus WritePdfPairing(const TournamentData& d, int round, std::string& out, std::string* message)
{
    return WritePdf(paper::LayoutPairingSheet(d, round), out, message);
}

OutputStatus WritePdfStandings(const TournamentData& d, int, std::string& out, std::string* message)
{
    return WritePdf(paper::LayoutStandings(d), out, message);
}

OutputStatus WritePdfTable(const TournamentData& d, int, std::string& out, std::string* message)
{
    return WritePdf(paper::LayoutResultTable(d), out, message);
}

constexpr std::string_view kCsvFilter = "CSVファイル(*.csv)|*.csv|All Files (*.*)|*.*||";
constexpr std::string_view kPdfFilter = "PDFファイル(*.pdf)|*.pdf|All Files (*.*)|*.*||";

constexpr OutputKindInfo kKinds[] = {
    {OutputKind::RatingCsv, "csv", "csv", "CSV(カンマ区切り) (*.csv)|*.csv|All Files (*.*)|*.*||", RoundUse::None, true,
     WriteCsv},
    {OutputKind::Text, "text", "txt", "テキストファイル(*.txt)|*.txt|All Files (*.*)|*.*||", RoundUse::None, true,
     WriteText},
    {OutputKind::Html, "html", "html", "HTML File(*.html)|*.html|All Files (*.*)|*.*||", RoundUse::None, true,
     WriteHtml},
    {OutputKind::Zep, "zep", "zep", "HTML File(*.zep)|*.zep|All Files (*.*)|*.*||", RoundUse::None, true, WriteZep},
    {OutputKind::ScoreSheet, "score-sheet", "csv", kCsvFilter, RoundUse::Optional, true, WriteScoreSheetOf},
    {OutputKind::PairingTable, "pairing-table", "csv", kCsvFilter, RoundUse::Required, true, WritePairingTableOf},
    {OutputKind::PdfPairing, "pdf-pairing", "pdf", kPdfFilter, RoundUse::Required, false, WritePdfPairing},
    {OutputKind::PdfStandings, "pdf-standings", "pdf", kPdfFilter, RoundUse::None, false, WritePdfStandings},
    {OutputKind::PdfTable, "pdf-table", "pdf", kPdfFilter, RoundUse::None, false, WritePdfTable},
};

} // namespace

std::span<const OutputKindInfo> OutputKinds()
{
    return kKinds;
}

const OutputKindInfo& OutputKindOf(OutputKind kind)
{
    const auto it = std::find_if(std::begin(kKinds), std::end(kKinds),
                                 [kind](const OutputKindInfo& info) { return info.kind == kind; });
    return it != std::end(kKinds) ? *it : kKinds[0];
}

const OutputKindInfo* FindOutputKind(std::string_view name)
{
    for (const OutputKindInfo& info : kKinds)
        if (info.name == name)
            return &info;
    return nullptr;
}

OutputStatus RenderOutput(OutputKind kind, const TournamentData& data, int round, std::string& out,
                          std::string* message)
{
    out.clear();
    const OutputKindInfo& info = OutputKindOf(kind);
    const bool roundGiven = info.round == RoundUse::Required || (info.round == RoundUse::Optional && round != 0);
    if (info.round == RoundUse::None)
        round = 0;
    if (roundGiven && (round < 1 || round > data.table.RoundCount())) {
        if (message != nullptr)
            *message = SJ("指定された回戦がありません。");
        return OutputStatus::Refused;
    }
    const OutputStatus status = info.write(data, round, out, message);
    if (status != OutputStatus::Ok)
        out.clear();
    return status;
}

std::string DefaultReportFileName(std::string_view title)
{
    constexpr std::string_view extension = ".stg";
    if (title.size() >= extension.size() && title.substr(title.size() - extension.size()) == extension)
        title.remove_suffix(extension.size());
    return std::string(title);
}

std::string ProposedNameSuffix(OutputKind kind, int round)
{
    const std::string roundText = std::to_string(round) + SJ("回戦");
    switch (kind) {
    case OutputKind::PairingTable:
    case OutputKind::PdfPairing:
        return "_" + roundText + SJ("_組み合わせ");
    case OutputKind::ScoreSheet:
        return round > 0 ? "_" + roundText + SJ("まで_成績表") : SJ("_成績表");
    case OutputKind::PdfStandings:
        return SJ("_成績表");
    case OutputKind::PdfTable:
        return SJ("_対戦表");
    case OutputKind::RatingCsv:
    case OutputKind::Text:
    case OutputKind::Html:
    case OutputKind::Zep:
        break;
    }
    return {};
}

} // namespace tabry
