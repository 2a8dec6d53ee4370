// 組み合わせ表: the boards of one round, to be read out and posted.

#include "paper/PaperDocuments.h"

#include "core/Boards.h"
#include "core/ReportCode.h"
#include "core/Terms.h"
#include "core/TournamentData.h"
#include "paper/PageBuilder.h"
#include "playerdb/PlayerText.h"
#include "reports/Formatters.h"
#include "text/Cp932.h"

#include <algorithm>

namespace tabry::paper {

namespace {

constexpr double kRowHeight = 16.5;
constexpr double kHeadingHeight = 20;
constexpr double kNameSize = 12;

// While the players report results, each board's code takes a column of
// its own; the names and grades give up the room.
std::vector<Column> Columns(bool codes)
{
    const std::string& name = TermText(Term::Name);
    const std::string& grade = TermText(Term::Grade);
    const std::string& points = TermText(Term::Points);
    if (codes)
        return {
            {TermText(Term::Board), 30, Align::Center, kNameSize},
            {name, 112, Align::Left, kNameSize},
            {grade, 32, Align::Center, 10},
            {points, 36, Align::Right, 11},
            {TermText(Term::Result), 56, Align::Center, 10},
            {name, 112, Align::Left, kNameSize},
            {grade, 32, Align::Center, 10},
            {points, 36, Align::Right, 11},
            {SJ("報告コード"), 72, Align::Center, 10},
        };
    return {
        {TermText(Term::Board), 30, Align::Center, kNameSize},
        {name, 143, Align::Left, kNameSize},
        {grade, 38, Align::Center, 10},
        {points, 36, Align::Right, 11},
        {TermText(Term::Result), 56, Align::Center, 10},
        {name, 143, Align::Left, kNameSize},
        {grade, 38, Align::Center, 10},
        {points, 36, Align::Right, 11},
    };
}

std::vector<Cell> PlayerCells(const TournamentData& data, const RoundSeating& seating, int row)
{
    const CPlayerRecord& who = data.players.GetAt(data.table.Entry(row).playerIndex);
    return {{who.m_longName, {}},
            {FormatGrade(who.m_grade), {}},
            {FormatHalfPoints(seating.pointsBefore[static_cast<size_t>(row)], true), {}}};
}

} // namespace

PaperDocument LayoutPairingSheet(const TournamentData& data, int round)
{
    const int roundCount = data.table.RoundCount();
    const int j = std::clamp(round, 1, std::max(1, roundCount)) - 1;
    // The boards with the numbers the players are told everywhere else, and
    // each player's points before the round.
    const RoundSeating seating = SeatRound(data.table, j);
    const bool codes = !data.info.reportingKey.empty();

    std::vector<std::vector<Cell>> lines;
    for (const Board& b : seating.boards) {
        std::vector<Cell> line = {{std::to_string(b.number), {}}};
        for (const Cell& c : PlayerCells(data, seating, b.left))
            line.push_back(c);
        line.push_back({}); // the result, written in by hand
        for (const Cell& c : PlayerCells(data, seating, b.right))
            line.push_back(c);
        if (codes)
            line.push_back({ShownReportCode(ReportCode(data.info.reportingKey, j + 1, b.number)), {}});
        lines.push_back(std::move(line));
    }
    std::vector<std::vector<Cell>> alone;
    for (const auto& [rows, term] :
         {std::pair{&seating.byes, Term::Bye}, std::pair{&seating.unpaired, Term::Unpaired},
          std::pair{&seating.withdrawn, Term::Withdrawn}, std::pair{&seating.absent, Term::Absent}}) {
        for (const int row : *rows) {
            std::vector<Cell> line = {{}};
            for (const Cell& c : PlayerCells(data, seating, row))
                line.push_back(c);
            line.push_back({TermText(term), {}});
            alone.push_back(std::move(line));
        }
    }

    const std::string title = PaperTitle(PaperKind::PairingSheet);
    const std::string roundText = cp932::FromUtf8("第" + std::to_string(j + 1) + "回戦");
    CPageBuilder pages({data.info.name, DateText(data.info.year, data.info.month, data.info.day),
                        title + SJ("　") + roundText, false});
    const std::vector<Column> columns = Columns(codes);
    double width = 0;
    for (const Column& c : columns)
        width += c.width;
    const double x = pages.Left() + (pages.Width() - width) / 2;
    const std::string caption = SJ("対局のない選手");

    double y = 0;
    int used = kBoardsPerPage; // rows on the current page
    const auto startPage = [&] {
        pages.StartPage();
        y = pages.HeadingRow(columns, x, pages.ContentTop(), kHeadingHeight);
        used = 0;
    };
    for (const std::vector<Cell>& line : lines) {
        if (used == kBoardsPerPage)
            startPage();
        y = pages.BodyRow(columns, line, x, y, kRowHeight);
        ++used;
    }
    for (size_t k = 0; k < alone.size(); ++k) {
        // The caption opens the list and every page it continues on, never
        // stands alone at the foot of a page.
        const int needed = k == 0 ? 2 : 1;
        if (used + needed > kBoardsPerPage) {
            startPage();
            y = pages.CaptionRow(caption, x, y, width, kRowHeight, 11);
            ++used;
        } else if (k == 0) {
            y = pages.CaptionRow(caption, x, y, width, kRowHeight, 11);
            ++used;
        }
        y = pages.BodyRow(columns, alone[k], x, y, kRowHeight);
        ++used;
    }
    if (pages.PageCount() == 0)
        startPage();
    return pages.Finish();
}

} // namespace tabry::paper
