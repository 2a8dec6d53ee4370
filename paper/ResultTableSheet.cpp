// 対戦表: the whole result table, split into pages by players and by rounds.

#include "paper/PaperDocuments.h"

#include "core/TournamentData.h"
#include "paper/PageBuilder.h"
#include "paper/TieBreakHeadings.h"
#include "reports/Formatters.h"
#include "reports/InterimOutputs.h"
#include "reports/ReportRows.h"
#include "text/Cp932.h"

#include <algorithm>

namespace tabry::paper {

namespace {

constexpr double kRowHeight = 18;
constexpr double kHeadingHeight = 20;
constexpr double kRoundWidth = 38;
constexpr double kCellSize = 7.5;

// The result of a round as the table shows it: the mark and the disc score
// ("○+12", "×30.5"), empty while there is no result.
std::string ResultText(const ResultCell& cell, bool showDifference)
{
    if (cell.opponent == NoOpponent || cell.result == ResultNone)
        return {};
    return ResultMark(cell.result) + FormatDiscValue(cell.disc, true, 1, false, showDifference);
}

} // namespace

PaperDocument LayoutResultTable(const TournamentData& data)
{
    CResultTable t = StandingsCopy(data.table);
    FormatReportRows(t, data.players);
    const int method = EffectiveTieBreak(t.settings.tieBreak);
    const bool showDifference = t.settings.showDiscDifference;
    const int rounds = t.RoundCount();
    const std::string& byeName = data.players.GetAt(0).m_shortName;

    CPageBuilder pages({data.info.name, DateText(data.info.year, data.info.month, data.info.day),
                        PaperTitle(PaperKind::ResultTable), true});
    const std::vector<Column> head = {
        {SJ("番号"), 26, Align::Right, 9},
        {SJ("順位"), 26, Align::Right, 9},
        {SJ("氏名"), 104, Align::Left, 9},
        {SJ("段級"), 30, Align::Center, 8},
    };
    std::vector<Column> tail = {{SJ("勝敗"), 74, Align::Right, 8}, {SJ("得点"), 32, Align::Right, 8}};
    for (const std::string& heading : TieBreakHeadings(method, showDifference))
        tail.push_back({heading, 50, Align::Right, 8});
    double fixed = 0;
    for (const Column& c : head)
        fixed += c.width;
    for (const Column& c : tail)
        fixed += c.width;
    const int perPage = std::max(1, static_cast<int>((pages.Width() - fixed) / kRoundWidth));
    const int roundPages = std::max(1, (rounds + perPage - 1) / perPage);

    // Players are the sorted rows before the first empty one; a player's
    // number is his position, and opponents are named by it.
    int players = 0;
    while (players < t.PlayerCount() && !t.Entry(players).IsEmpty())
        ++players;
    const int rowPages = std::max(1, (players + kTableRowsPerPage - 1) / kTableRowsPerPage);

    for (int rp = 0; rp < rowPages; ++rp) {
        for (int cp = 0; cp < roundPages; ++cp) {
            const int first = cp * perPage;
            const int last = std::min(rounds, first + perPage);
            std::vector<Column> columns = head;
            for (int j = first; j < last; ++j)
                columns.push_back(
                    {cp932::FromUtf8(std::to_string(j + 1) + "回戦"), kRoundWidth, Align::Center, kCellSize});
            columns.insert(columns.end(), tail.begin(), tail.end());
            const std::string subtitle =
                roundPages > 1 ? cp932::FromUtf8(std::to_string(first + 1) + "～" + std::to_string(last) + "回戦")
                               : std::string();
            pages.StartPage(subtitle);
            double y = pages.HeadingRow(columns, pages.Left(), pages.ContentTop(), kHeadingHeight);
            const int rowEnd = std::min(players, (rp + 1) * kTableRowsPerPage);
            for (int r = rp * kTableRowsPerPage; r < rowEnd; ++r) {
                const PlayerEntry& e = t.Entry(r);
                const CFieldList& row = t.reportRows[static_cast<size_t>(r)];
                std::vector<Cell> cells = {
                    {std::to_string(r + 1), {}},
                    {row.Get(ColRank).str(), {}},
                    {row.Get(ColLongName).str(), {}},
                    {row.Get(ColGrade).str(), {}},
                };
                for (int j = first; j < last; ++j) {
                    const ResultCell& cell = t.Cell(r, j);
                    std::string opponent;
                    if (cell.opponent == ByeOpponent)
                        opponent = byeName;
                    else if (cell.opponent >= 0 && cell.opponent < players)
                        opponent = std::to_string(cell.opponent + 1);
                    // The result above, the opponent below (a board not yet
                    // finished shows only the opponent).
                    cells.push_back({ResultText(cell, showDifference), std::move(opponent)});
                }
                cells.push_back({row.Get(ColRecord).str(), {}});
                cells.push_back({FormatHalfPoints(e.points, true), {}});
                for (std::string& value : TieBreakTexts(e, method, showDifference, true))
                    cells.push_back({std::move(value), {}});
                y = pages.BodyRow(columns, cells, pages.Left(), y, kRowHeight);
            }
        }
    }
    return pages.Finish();
}

} // namespace tabry::paper
