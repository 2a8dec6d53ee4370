// The report writers behind the output commands. They live in reports/, a
// library of the data side; a build without them still offers the commands
// and says why nothing can be written.

#include "app/ReportCommand.h"

#include "core/Cp932.h"
#include "core/TournamentData.h"

#if TABRY_HAVE_REPORTS
#include "reports/Reports.h"
#endif

namespace tabry::app {

namespace {

#if TABRY_HAVE_REPORTS

ReportKind KindOf(ReportCommandKind kind)
{
    switch (kind) {
    case ReportCommandKind::RatingCsv:
        return ReportKind::RatingCsv;
    case ReportCommandKind::Text:
        return ReportKind::Text;
    case ReportCommandKind::Html:
        return ReportKind::Html;
    case ReportCommandKind::Zep:
        return ReportKind::Zep;
    case ReportCommandKind::ScoreSheet:
        return ReportKind::ScoreSheet;
    case ReportCommandKind::ScoreSheetThrough:
        return ReportKind::ScoreSheetThrough;
    case ReportCommandKind::PairingTable:
        return ReportKind::PairingTable;
    }
    return ReportKind::Text;
}

class WriterRenderer : public IReportRenderer {
public:
    int Render(ReportCommandKind kind, TournamentData& data, int round, std::string& out,
               std::string* refusal) override
    {
        return RenderReport(KindOf(kind), data, round, out, refusal);
    }
    std::string DefaultFileName(std::string_view title) override { return DefaultReportFileName(title); }
};

#else

class WriterRenderer : public IReportRenderer {
public:
    int Render(ReportCommandKind, TournamentData&, int, std::string&, std::string* refusal) override
    {
        if (refusal != nullptr)
            *refusal = SJ("この出力形式はまだ使用できません（出力機能が組み込まれていません）。");
        return -1;
    }
    std::string DefaultFileName(std::string_view title) override
    {
        const std::string_view ext = ".stg";
        if (title.size() >= ext.size() && title.substr(title.size() - ext.size()) == ext)
            title.remove_suffix(ext.size());
        return std::string(title);
    }
};

#endif

} // namespace

IReportRenderer& ReportRenderer()
{
    static WriterRenderer renderer;
    return renderer;
}

} // namespace tabry::app
