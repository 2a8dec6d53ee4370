// 対戦表: the whole result table, split into pages by players and by rounds.

#include "paper/PaperDocuments.h"

#include "core/Standings.h"
#include "core/Terms.h"
#include "core/TieBreaks.h"
#include "core/TournamentData.h"
#include "paper/PageBuilder.h"
#include "reports/Formatters.h"
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
// ("○+12", "×30.5"), empty while there is no result; as in the grid, 休 in
// a round he sits out and 棄 in a round without a game he no longer plays.
std::string ResultText(const PlayerEntry& e, const ResultCell& cell, int round, bool showDifference)
{
    if (cell.opponent == NoOpponent) {
        const std::optional<Term> mark = NoGameMark(e, round);
        return mark ? TermText(*mark) : std::string();
    }
    if (cell.result == ResultNone)
        return {};
    return ResultMark(cell.result) + FormatDiscValue(cell.disc, true, 1, false, showDifference);
}

// The rounds the table shows: those with a game (all of them while none
// has one), in bands of at most `perPage` that are as even as they can be.
std::vector<std::vector<int>> RoundBands(const CResultTable& t, int perPage)
{
    std::vector<int> shown;
    for (int j = 0; j < t.RoundCount(); ++j)
        if (t.RoundHasGames(j))
            shown.push_back(j);
    if (shown.empty())
        for (int j = 0; j < t.RoundCount(); ++j)
            shown.push_back(j);
    const size_t count = shown.size();
    const size_t bands = std::max<size_t>(1, (count + static_cast<size_t>(perPage) - 1) / static_cast<size_t>(perPage));
    std::vector<std::vector<int>> out;
    size_t from = 0;
    for (size_t b = 0; b < bands; ++b) {
        // The first `count % bands` bands take one round more.
        const size_t size = count / bands + (b < count % bands ? 1 : 0);
        out.emplace_back(shown.begin() + static_cast<std::ptrdiff_t>(from),
                         shown.begin() + static_cast<std::ptrdiff_t>(from + size));
        from += size;
    }
    return out;
}

} // namespace

PaperDocument LayoutResultTable(const TournamentData& data)
{
    CResultTable t = StandingsCopy(data.table);
    FormatReportRows(t, data.players);
    const int method = EffectiveTieBreak(t.settings.tieBreak);
    const bool showDifference = t.settings.showDiscDifference;
    const std::string& byeName = data.players.GetAt(0).m_shortName;

    CPageBuilder pages({data.info.name, DateText(data.info.year, data.info.month, data.info.day),
                        PaperTitle(PaperKind::ResultTable), true});
    const std::vector<Column> head = {
        {TermText(Term::Number), 26, Align::Right, 9},
        {TermText(Term::Rank), 26, Align::Right, 9},
        {TermText(Term::Name), 104, Align::Left, 9},
        {TermText(Term::Grade), 30, Align::Center, 8},
    };
    std::vector<Column> tail = {{TermText(Term::Record), 74, Align::Right, 8},
                                {TermText(Term::Points), 32, Align::Right, 8}};
    for (const std::string& heading : TieBreakCaptions(method, showDifference))
        tail.push_back({heading, 50, Align::Right, 8});
    double fixed = 0;
    for (const Column& c : head)
        fixed += c.width;
    for (const Column& c : tail)
        fixed += c.width;
    const int perPage = std::max(1, static_cast<int>((pages.Width() - fixed) / kRoundWidth));
    const std::vector<std::vector<int>> bands = RoundBands(t, perPage);

    // Players are the sorted rows before the first empty one; a player's
    // number is his position, and opponents are named by it.
    int players = 0;
    while (players < t.PlayerCount() && !t.Entry(players).IsEmpty())
        ++players;
    const int rowPages = std::max(1, (players + kTableRowsPerPage - 1) / kTableRowsPerPage);

    for (int rp = 0; rp < rowPages; ++rp) {
        for (const std::vector<int>& band : bands) {
            std::vector<Column> columns = head;
            for (const int j : band)
                columns.push_back(
                    {cp932::FromUtf8(std::to_string(j + 1) + "回戦"), kRoundWidth, Align::Center, kCellSize});
            columns.insert(columns.end(), tail.begin(), tail.end());
            const std::string subtitle = bands.size() > 1 ? cp932::FromUtf8(std::to_string(band.front() + 1) + "～"
                                                                            + std::to_string(band.back() + 1) + "回戦")
                                                          : std::string();
            pages.StartPage(subtitle);
            double y = pages.HeadingRow(columns, pages.Left(), pages.ContentTop(), kHeadingHeight);
            const int rowEnd = std::min(players, (rp + 1) * kTableRowsPerPage);
            for (int r = rp * kTableRowsPerPage; r < rowEnd; ++r) {
                const PlayerEntry& e = t.Entry(r);
                const CFieldList& row = t.reportRows[static_cast<size_t>(r)];
                // A withdrawn player's mark stands under his name.
                std::string mark = e.IsWithdrawn() ? cp932::FromUtf8(WithdrawnMarkUtf8(e.withdrawnFrom)) : "";
                std::vector<Cell> cells = {
                    {std::to_string(r + 1), {}},
                    {row.Get(ColRank).str(), {}},
                    {row.Get(ColLongName).str(), std::move(mark)},
                    {row.Get(ColGrade).str(), {}},
                };
                for (const int j : band) {
                    const ResultCell& cell = t.Cell(r, j);
                    std::string opponent;
                    if (cell.opponent == ByeOpponent)
                        opponent = byeName;
                    else if (cell.opponent >= 0 && cell.opponent < players)
                        opponent = std::to_string(cell.opponent + 1);
                    // The result above, the opponent below (a board not yet
                    // finished shows only the opponent).
                    cells.push_back({ResultText(e, cell, j, showDifference), std::move(opponent)});
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
