// 成績表: the standings with the tournament's tie-break values.

#include "paper/PaperDocuments.h"

#include "core/TournamentData.h"
#include "paper/PageBuilder.h"
#include "paper/TieBreakHeadings.h"
#include "reports/Formatters.h"
#include "reports/InterimOutputs.h"
#include "reports/ReportRows.h"
#include "text/Cp932.h"

namespace tabry::paper {

namespace {

constexpr double kRowHeight = 15;
constexpr double kHeadingHeight = 20;
constexpr double kCaptionHeight = 16;

} // namespace

PaperDocument LayoutStandings(const TournamentData& data)
{
    CResultTable t = StandingsCopy(data.table);
    FormatReportRows(t, data.players);
    const int method = EffectiveTieBreak(t.settings.tieBreak);
    const bool showDifference = t.settings.showDiscDifference;
    const std::vector<std::string> tieBreaks = TieBreakHeadings(method, showDifference);

    CPageBuilder pages({data.info.name, DateText(data.info.year, data.info.month, data.info.day),
                        PaperTitle(PaperKind::Standings), false});
    std::vector<Column> columns = {
        {SJ("順位"), 34, Align::Right, 11}, {SJ("氏名"), 0, Align::Left, 11},   {SJ("段級"), 40, Align::Center, 10},
        {SJ("所属"), 0, Align::Left, 10},   {SJ("勝敗"), 84, Align::Right, 10}, {SJ("得点"), 40, Align::Right, 10},
    };
    for (const std::string& heading : tieBreaks)
        columns.push_back({heading, 52, Align::Right, 10});
    double fixed = 0;
    for (const Column& c : columns)
        fixed += c.width;
    const double free = pages.Width() - fixed;
    columns[1].width = free * 0.6;
    columns[3].width = free - columns[1].width;
    const double x = pages.Left();
    const std::string methodText = SJ("順位決定方法：") + TieBreakMethodText(method);

    double y = 0;
    int used = kStandingsRowsPerPage;
    for (int r = 0; r < t.PlayerCount(); ++r) {
        const PlayerEntry& e = t.Entry(r);
        if (e.IsEmpty())
            continue;
        if (used == kStandingsRowsPerPage) {
            pages.StartPage();
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
        y = pages.BodyRow(columns, cells, x, y, kRowHeight);
        ++used;
    }
    if (pages.PageCount() == 0) {
        pages.StartPage();
        pages.HeadingRow(columns, x, pages.ContentTop() + kCaptionHeight + 4, kHeadingHeight);
    }
    return pages.Finish();
}

} // namespace tabry::paper
