#include "outputs/OutputKinds.h"

#include "core/TournamentData.h"
#include "paper/ResultSlips.h"
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

OutputStatus WriteCsv(const TournamentData& d, int, const OutputOptions&, std::string& out, std::string* message)
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

OutputStatus WriteText(const TournamentData& d, int, const OutputOptions&, std::string& out, std::string*)
{
    WriteTextReport(d.table, d.info, d.players, out);
    return OutputStatus::Ok;
}

OutputStatus WriteHtml(const TournamentData& d, int, const OutputOptions&, std::string& out, std::string*)
{
    WriteHtmlReport(d.table, d.info, d.players, out);
    return OutputStatus::Ok;
}

OutputStatus WriteZep(const TournamentData& d, int, const OutputOptions&, std::string& out, std::string*)
{
    WriteZepReport(d.table, d.info, d.players, out);
    return OutputStatus::Ok;
}

OutputStatus WriteScoreSheetOf(const TournamentData& d, int round, const OutputOptions&, std::string& out, std::string*)
{
    if (round == 0)
        WriteScoreSheet(d.table, d.players, out);
    else
        WriteScoreSheetThrough(d.table, d.players, round, out);
    return OutputStatus::Ok;
}

OutputStatus WritePairingTableOf(const TournamentData& d, int round, const OutputOptions&, std::string& out,
                                 std::string*)
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

// The PDF of the printed document the kind's row names.
OutputStatus WritePdfOf(OutputKind kind, const TournamentData& d, int round, std::string& out, std::string* message)
{
    return WritePdf(paper::LayoutPaper(*OutputKindOf(kind).paper, d, round), out, message);
}

OutputStatus WritePdfPairing(const TournamentData& d, int round, const OutputOptions&, std::string& out,
                             std::string* message)
{
    return WritePdfOf(OutputKind::PdfPairing, d, round, out, message);
}

OutputStatus WritePdfStandings(const TournamentData& d, int round, const OutputOptions&, std::string& out,
                               std::string* message)
{
    return WritePdfOf(OutputKind::PdfStandings, d, round, out, message);
}

OutputStatus WritePdfTable(const TournamentData& d, int round, const OutputOptions&, std::string& out,
                           std::string* message)
{
    return WritePdfOf(OutputKind::PdfTable, d, round, out, message);
}

OutputStatus WritePdfSlips(const TournamentData& d, int round, const OutputOptions& options, std::string& out,
                           std::string* message)
{
    return WritePdf(paper::LayoutResultSlips(d, round, options.reportUrl), out, message);
}

constexpr std::string_view kCsvFilter = "CSVファイル(*.csv)|*.csv|All Files (*.*)|*.*||";
constexpr std::string_view kPdfFilter = "PDFファイル(*.pdf)|*.pdf|All Files (*.*)|*.*||";

constexpr OutputKindInfo kKinds[] = {
    {OutputKind::RatingCsv,
     "csv",
     "csv",
     "CSV(カンマ区切り) (*.csv)|*.csv|All Files (*.*)|*.*||",
     RoundUse::None,
     true,
     WriteCsv,
     {"actionReportCsv", "CSV形式(&C)", "CSV形式(連盟公式レイティング報告形式)で保存\nCSV形式保存", ""},
     "",
     "",
     std::nullopt},
    {OutputKind::Text,
     "text",
     "txt",
     "テキストファイル(*.txt)|*.txt|All Files (*.*)|*.*||",
     RoundUse::None,
     true,
     WriteText,
     {"actionReportText", "テキスト形式(&T)", "テキスト形式で保存\nテキスト形式保存", ""},
     "",
     "",
     std::nullopt},
    {OutputKind::Html,
     "html",
     "html",
     "HTML File(*.html)|*.html|All Files (*.*)|*.*||",
     RoundUse::None,
     true,
     WriteHtml,
     {"actionReportHtml", "HTML形式(&H)", "HTML形式で保存\nHTML形式保存", ""},
     "",
     "",
     std::nullopt},
    {OutputKind::Zep,
     "zep",
     "zep",
     "HTML File(*.zep)|*.zep|All Files (*.*)|*.*||",
     RoundUse::None,
     true,
     WriteZep,
     {"actionReportZep", "ZeP形式", "ZeP形式で保存", ""},
     "",
     "",
     std::nullopt},
    {OutputKind::ScoreSheet,
     "score-sheet",
     "csv",
     kCsvFilter,
     RoundUse::Optional,
     true,
     WriteScoreSheetOf,
     {"actionScoreSheet", "成績表", "全ラウンドの成績表を保存", ""},
     "_成績表",
     "_%d回戦まで_成績表",
     std::nullopt},
    {OutputKind::PairingTable,
     "pairing-table",
     "csv",
     kCsvFilter,
     RoundUse::Required,
     true,
     WritePairingTableOf,
     {"actionPairingTable", "組み合わせ表", "指定したラウンドの組み合わせ表を保存",
      "組み合わせ表を保存するラウンド (1 ～ %1):"},
     "",
     "_%d回戦_組み合わせ",
     std::nullopt},
    {OutputKind::PdfPairing,
     "pdf-pairing",
     "pdf",
     kPdfFilter,
     RoundUse::Required,
     false,
     WritePdfPairing,
     {},
     "",
     "_%d回戦_組み合わせ",
     paper::PaperKind::PairingSheet},
    {OutputKind::PdfStandings,
     "pdf-standings",
     "pdf",
     kPdfFilter,
     RoundUse::None,
     false,
     WritePdfStandings,
     {},
     "_成績表",
     "",
     paper::PaperKind::Standings},
    {OutputKind::PdfTable,
     "pdf-table",
     "pdf",
     kPdfFilter,
     RoundUse::None,
     false,
     WritePdfTable,
     {},
     "_対戦表",
     "",
     paper::PaperKind::ResultTable},
    {OutputKind::PdfSlips,
     "pdf-slips",
     "pdf",
     kPdfFilter,
     RoundUse::Required,
     false,
     WritePdfSlips,
     {},
     "",
     "_%d回戦_結果票",
     std::nullopt},
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
    return RenderOutput(kind, data, round, OutputOptions{}, out, message);
}

OutputStatus RenderOutput(OutputKind kind, const TournamentData& data, int round, const OutputOptions& options,
                          std::string& out, std::string* message)
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
    const OutputStatus status = info.write(data, round, options, out, message);
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

const OutputKindInfo& OutputKindOfPaper(paper::PaperKind kind)
{
    const auto it = std::find_if(std::begin(kKinds), std::end(kKinds),
                                 [kind](const OutputKindInfo& info) { return info.paper == kind; });
    return it != std::end(kKinds) ? *it : kKinds[0];
}

std::string ProposedNameSuffix(OutputKind kind, int round)
{
    const OutputKindInfo& info = OutputKindOf(kind);
    if (round <= 0 || info.roundSuffix.empty())
        return cp932::FromUtf8(info.suffix);
    std::string text(info.roundSuffix);
    const size_t at = text.find("%d");
    if (at != std::string::npos)
        text.replace(at, 2, std::to_string(round));
    return cp932::FromUtf8(text);
}

} // namespace tabry
