// 成績表: the standings with the tournament's tie-break values.

#include "paper/PaperDocuments.h"

#include "core/Standings.h"
#include "core/Terms.h"
#include "core/TieBreaks.h"
#include "core/TournamentData.h"
#include "paper/PageBuilder.h"
#include "reports/Formatters.h"
#include "reports/ReportRows.h"
#include "text/Cp932.h"

namespace tabry::paper {

namespace {

constexpr double kRowHeight = 15;
constexpr double kHeadingHeight = 20;
constexpr double kCaptionHeight = 16;
constexpr double kRemarksWidth = 76; // "棄権(12回戦から)" at 9 pt

bool AnyWithdrawn(const CResultTable& t)
{
    for (int r = 0; r < t.PlayerCount(); ++r)
        if (!t.Entry(r).IsEmpty() && t.Entry(r).IsWithdrawn())
            return true;
    return false;
}

} // namespace

PaperDocument LayoutStandings(const TournamentData& data)
{
    CResultTable t = StandingsCopy(data.table);
    FormatReportRows(t, data.players);
    const int method = EffectiveTieBreak(t.settings.tieBreak);
    const bool showDifference = t.settings.showDiscDifference;
    const bool remarks = AnyWithdrawn(t);
    const StandingsPoint point = StandingsAfter(t);

    CPageBuilder pages({data.info.name, DateText(data.info.year, data.info.month, data.info.day),
                        PaperTitle(PaperKind::Standings), false});
    std::vector<Column> columns = {
        {TermText(Term::Rank), 34, Align::Right, 11},   {TermText(Term::Name), 0, Align::Left, 11},
        {TermText(Term::Grade), 40, Align::Center, 10}, {TermText(Term::Residence), 0, Align::Left, 10},
        {TermText(Term::Record), 84, Align::Right, 10}, {TermText(Term::Points), 40, Align::Right, 10},
    };
    for (const std::string& heading : TieBreakCaptions(method, showDifference))
        columns.push_back({heading, 52, Align::Right, 10});
    if (remarks)
        columns.push_back({SJ("備考"), kRemarksWidth, Align::Left, 9});
    double fixed = 0;
    for (const Column& c : columns)
        fixed += c.width;
    const double free = pages.Width() - fixed;
    columns[1].width = free * 0.6;
    columns[3].width = free - columns[1].width;
    const double x = pages.Left();
    const std::string methodText = SJ("順位決定方法：") + TieBreakMethodText(method);
    const std::string after = cp932::FromUtf8(StandingsPointUtf8(point.round, point.complete));

    double y = 0;
    int used = kStandingsRowsPerPage;
    for (int r = 0; r < t.PlayerCount(); ++r) {
        const PlayerEntry& e = t.Entry(r);
        if (e.IsEmpty())
            continue;
        if (used == kStandingsRowsPerPage) {
            pages.StartPage(after);
            y = pages.CaptionRow(methodText, x, pages.ContentTop(), pages.Width(), kCaptionHeight, 9, false);
            y = pages.HeadingRow(columns, x, y + 4, kHeadingHeight);
            used = 0;
        }
        const CFieldList& row = t.reportRows[static_cast<size_t>(r)];
        std::vector<Cell> cells = {
            {row.Get(ColRank).str(), {}},      {row.Get(ColLongName).str(), {}}, {row.Get(ColGrade).str(), {}},
            {row.Get(ColResidence).str(), {}}, {row.Get(ColRecord).str(), {}},   {FormatHalfPoints(e.points, true), {}},
        };
        for (std::string& value : TieBreakTexts(e, method, showDifference, true))
            cells.push_back({std::move(value), {}});
        if (remarks && e.IsWithdrawn()) {
            cells.resize(columns.size() - 1);
            cells.push_back({cp932::FromUtf8(WithdrawnMarkUtf8(e.withdrawnFrom)), {}});
        }
        y = pages.BodyRow(columns, cells, x, y, kRowHeight);
        ++used;
    }
    if (pages.PageCount() == 0) {
        pages.StartPage(after);
        pages.HeadingRow(columns, x, pages.ContentTop() + kCaptionHeight + 4, kHeadingHeight);
    }
    return pages.Finish();
}

} // namespace tabry::paper
