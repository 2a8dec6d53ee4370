// 組み合わせ表: the boards of one round, to be read out and posted.

#include "paper/PaperDocuments.h"

#include "core/TournamentData.h"
#include "paper/PageBuilder.h"
#include "playerdb/PlayerText.h"
#include "reports/Formatters.h"
#include "reports/InterimOutputs.h"
#include "text/Cp932.h"

#include <algorithm>

namespace tabry::paper {

namespace {

constexpr double kRowHeight = 16.5;
constexpr double kHeadingHeight = 20;
constexpr double kNameSize = 12;

std::vector<Column> Columns()
{
    return {
        {SJ("卓"), 30, Align::Center, kNameSize}, {SJ("氏名"), 143, Align::Left, kNameSize},
        {SJ("段級"), 38, Align::Center, 10},      {SJ("得点"), 36, Align::Right, 11},
        {SJ("結果"), 56, Align::Center, 10},      {SJ("氏名"), 143, Align::Left, kNameSize},
        {SJ("段級"), 38, Align::Center, 10},      {SJ("得点"), 36, Align::Right, 11},
    };
}

std::vector<Cell> PlayerCells(const CResultTable& t, const CPlayerDatabase& players, int row)
{
    const PlayerEntry& e = t.Entry(row);
    const CPlayerRecord& who = players.GetAt(e.playerIndex);
    return {{who.m_longName, {}}, {FormatGrade(who.m_grade), {}}, {FormatHalfPoints(e.points, true), {}}};
}

} // namespace

PaperDocument LayoutPairingSheet(const TournamentData& data, int round, const std::vector<int>& withdrawnRows)
{
    const int roundCount = data.table.RoundCount();
    const int j = std::clamp(round, 1, std::max(1, roundCount)) - 1;
    // Points before the round, in the standings they make; each board is
    // listed once, its higher-placed player on the left.
    const CResultTable t = StandingsCopy(data.table, j);

    // The table's own withdrawals, and any the caller adds.
    std::vector<int> withdrawnOrGiven = data.table.WithdrawnRows(j);
    withdrawnOrGiven.insert(withdrawnOrGiven.end(), withdrawnRows.begin(), withdrawnRows.end());
    std::vector<int> withdrawn;
    for (const int row : withdrawnOrGiven) {
        const int index = data.table.Entry(row).playerIndex;
        if (index >= 0)
            withdrawn.push_back(index);
    }
    const auto isWithdrawn = [&withdrawn](int playerIndex) {
        return std::find(withdrawn.begin(), withdrawn.end(), playerIndex) != withdrawn.end();
    };

    // Boards by the higher points of the pair, then by the lower: the
    // organiser reads out the leading score group first. Boards alike in both
    // keep the standings order of their higher-placed player.
    std::vector<std::pair<int, int>> boards;
    for (int i = 0; i < t.PlayerCount(); ++i) {
        const int o = t.Cell(i, j).opponent;
        if (!t.Entry(i).IsEmpty() && o > i && o < t.PlayerCount() && !t.Entry(o).IsEmpty())
            boards.emplace_back(i, o);
    }
    const auto points = [&t](const std::pair<int, int>& b) {
        const int a = t.Entry(b.first).points;
        const int c = t.Entry(b.second).points;
        return std::make_pair(std::max(a, c), std::min(a, c));
    };
    std::stable_sort(boards.begin(), boards.end(),
                     [&points](const auto& a, const auto& b) { return points(a) > points(b); });
    std::vector<std::vector<Cell>> lines;
    for (const auto& [i, o] : boards) {
        std::vector<Cell> line = {{std::to_string(lines.size() + 1), {}}};
        for (const Cell& c : PlayerCells(t, data.players, i))
            line.push_back(c);
        line.push_back({}); // the result, written in by hand
        for (const Cell& c : PlayerCells(t, data.players, o))
            line.push_back(c);
        lines.push_back(std::move(line));
    }
    std::vector<std::vector<Cell>> alone;
    for (int i = 0; i < t.PlayerCount(); ++i) {
        const PlayerEntry& e = t.Entry(i);
        const int o = t.Cell(i, j).opponent;
        if (e.IsEmpty() || (o >= 0 && o < t.PlayerCount() && !t.Entry(o).IsEmpty()))
            continue;
        std::vector<Cell> line = {{}};
        for (const Cell& c : PlayerCells(t, data.players, i))
            line.push_back(c);
        const char* note = isWithdrawn(e.playerIndex) ? "棄権" : o == ByeOpponent ? "不戦" : "組合せなし";
        line.push_back({cp932::FromUtf8(note), {}});
        alone.push_back(std::move(line));
    }

    const std::string title = PaperTitle(PaperKind::PairingSheet);
    const std::string roundText = cp932::FromUtf8("第" + std::to_string(j + 1) + "回戦");
    CPageBuilder pages({data.info.name, DateText(data.info.year, data.info.month, data.info.day),
                        title + SJ("　") + roundText, false});
    const std::vector<Column> columns = Columns();
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
