#include "app/ReportReviewLogic.h"

#include "core/Boards.h"
#include "core/TournamentData.h"
#include "text/Cp932.h"

#include <algorithm>

namespace tabry::app {

namespace {

const Board* BoardOfReport(const TournamentData& data, const PendingReport& report, std::vector<Board>& boards)
{
    if (report.round < 1 || report.round > data.table.RoundCount())
        return nullptr;
    boards = RoundBoards(data.table, report.round - 1);
    return FindBoard(boards, report.board);
}

std::string NameOfRow(const TournamentData& data, int row)
{
    const int index = data.table.Entry(row).playerIndex;
    if (index < 0 || index >= data.players.GetCount())
        return "?";
    return data.players.GetAt(index).m_longName;
}

} // namespace

std::optional<ReportedGame> GameOfReport(const TournamentData& data, const PendingReport& report)
{
    std::vector<Board> boards;
    const Board* board = BoardOfReport(data, report, boards);
    if (board == nullptr)
        return std::nullopt;
    ReportedGame game;
    game.row = board->left;
    game.round = report.round - 1;
    game.opponent = board->right;
    game.disc = report.Disc();
    game.result = game.disc > 0 ? ResultWin : game.disc < 0 ? ResultLoss : ResultDraw;
    return game;
}

ReviewLine ReviewLineOf(const TournamentData& data, const PendingReport& report)
{
    ReviewLine line;
    line.board = std::to_string(report.board);
    std::vector<Board> boards;
    if (const Board* board = BoardOfReport(data, report, boards)) {
        line.left = NameOfRow(data, board->left);
        line.right = NameOfRow(data, board->right);
    } else {
        line.left = line.right = "?";
    }
    line.result = std::to_string(report.first) + " - " + std::to_string(report.second);
    line.state = report.state == PendingReport::State::Conflict ? SJ("食い違い")
                 : report.state == PendingReport::State::Agreed ? SJ("一致")
                                                                : std::string();
    return line;
}

std::vector<std::pair<int, int>> WaitingCells(const TournamentData& data, const std::vector<PendingReport>& reports)
{
    std::vector<std::pair<int, int>> cells;
    for (const PendingReport& report : reports) {
        std::vector<Board> boards;
        const Board* board = BoardOfReport(data, report, boards);
        if (board == nullptr)
            continue;
        for (const int row : {board->left, board->right}) {
            const std::pair<int, int> cell{row, report.round - 1};
            if (std::find(cells.begin(), cells.end(), cell) == cells.end())
                cells.push_back(cell);
        }
    }
    return cells;
}

} // namespace tabry::app
