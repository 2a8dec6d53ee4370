// The report writers behind the output commands.

#include "app/ReportCommand.h"

#include "core/TournamentData.h"
#include "reports/Reports.h"

namespace tabry::app {

namespace {

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
    int Render(ReportCommandKind kind, const TournamentData& data, int round, std::string& out,
               std::string* refusal) override
    {
        return RenderReport(KindOf(kind), data, round, out, refusal);
    }
    std::string DefaultFileName(std::string_view title) override { return DefaultReportFileName(title); }
};

} // namespace

IReportRenderer& ReportRenderer()
{
    static WriterRenderer renderer;
    return renderer;
}

} // namespace tabry::app
