// 結果票: one slip per board of a round, eight to an A4 page, to be cut
// apart and laid on the boards. The players write their disc counts on it
// for the desk, or report them from a phone with the code (and the QR that
// opens the board's report page with the code filled in).

#include "paper/ResultSlips.h"

#include "core/Boards.h"
#include "core/ReportCode.h"
#include "core/Terms.h"
#include "core/TournamentData.h"
#include "paper/PageBuilder.h"
#include "paper/QrCode.h"
#include "text/Cp932.h"

#include <algorithm>

namespace tabry::paper {

namespace {

constexpr int kColumns = 2;
constexpr int kRows = 4;
constexpr double kPad = 8;
constexpr double kQrSide = 88;
constexpr double kCutLine = 0.3;

// Draws the QR code into `box` (a square) as black rectangles, one per run
// of dark modules in a row, inside a quiet zone of two modules.
void DrawQr(Page& page, const Box& box, const std::vector<std::vector<bool>>& modules)
{
    const auto n = static_cast<double>(modules.size());
    const double unit = box.w / (n + 4);
    for (size_t y = 0; y < modules.size(); ++y) {
        const std::vector<bool>& row = modules[y];
        for (size_t x = 0; x < row.size();) {
            if (!row[x]) {
                ++x;
                continue;
            }
            size_t end = x;
            while (end < row.size() && row[end])
                ++end;
            page.fills.push_back(
                FillItem{Box{box.x + (static_cast<double>(x) + 2) * unit, box.y + (static_cast<double>(y) + 2) * unit,
                             static_cast<double>(end - x) * unit, unit},
                         0.0});
            x = end;
        }
    }
}

void Rectangle(Page& page, const Box& b, double width)
{
    page.lines.push_back(LineItem{b.x, b.y, b.Right(), b.y, width});
    page.lines.push_back(LineItem{b.Right(), b.y, b.Right(), b.Bottom(), width});
    page.lines.push_back(LineItem{b.Right(), b.Bottom(), b.x, b.Bottom(), width});
    page.lines.push_back(LineItem{b.x, b.Bottom(), b.x, b.y, width});
}

const std::string& NameOf(const TournamentData& data, int row)
{
    return data.players.GetAt(data.table.Entry(row).playerIndex).m_longName;
}

void Slip(Page& page, const Box& slip, const TournamentData& data, int round, const Board& board,
          const std::string& urlBase)
{
    Rectangle(page, slip, kCutLine);
    const std::string code = ReportCode(data.info.reportingKey, round, board.number);
    const bool qr = !urlBase.empty() && !code.empty();
    const double x = slip.x + kPad;
    const double textWidth = slip.w - 2 * kPad - (qr ? kQrSide + kPad : 0);
    double y = slip.y + kPad;

    page.texts.push_back(FitText(Box{x, y, textWidth, 18},
                                 cp932::FromUtf8("第" + std::to_string(round) + "回戦　") + TermText(Term::Board) + " "
                                     + std::to_string(board.number),
                                 13, Align::Left, 0));
    y += 24;
    const double boxWidth = 56;
    for (const auto& [row, side] : {std::pair{board.left, Term::Left}, std::pair{board.right, Term::Right}}) {
        page.texts.push_back(
            FitText(Box{x, y, textWidth, 16}, TermText(side) + " " + NameOf(data, row), 11, Align::Left, 0));
        y += 18;
        page.texts.push_back(FitText(Box{x, y, 40, 22}, SJ("石数"), 10, Align::Left, 0));
        Rectangle(page, Box{x + 44, y, boxWidth, 22}, 0.8);
        y += 28;
    }
    if (!code.empty()) {
        page.texts.push_back(FitText(Box{x, y, 58, 18}, SJ("報告コード"), 10, Align::Left, 0));
        page.texts.push_back(FitText(Box{x + 60, y, textWidth - 60, 18}, ShownReportCode(code), 13, Align::Left, 0));
    }
    if (qr) {
        const std::string url = urlBase + "/report?round=" + std::to_string(round)
                                + "&board=" + std::to_string(board.number) + "&code=" + code;
        const std::vector<std::vector<bool>> modules = QrModules(url);
        if (!modules.empty())
            DrawQr(page, Box{slip.Right() - kPad - kQrSide, slip.y + kPad + 20, kQrSide, kQrSide}, modules);
    }
}

} // namespace

PaperDocument LayoutResultSlips(const TournamentData& data, int round, std::string_view urlBase)
{
    const int roundCount = data.table.RoundCount();
    const int j = std::clamp(round, 1, std::max(1, roundCount)) - 1;
    const std::vector<Board> boards = RoundBoards(data.table, j);
    std::string base(urlBase);
    while (!base.empty() && base.back() == '/')
        base.pop_back();

    CPageBuilder pages({data.info.name, DateText(data.info.year, data.info.month, data.info.day),
                        SJ("結果票　") + cp932::FromUtf8("第" + std::to_string(j + 1) + "回戦"), false});
    const double top = pages.ContentTop();
    const double w = pages.Width() / kColumns;
    const double h = (pages.ContentBottom() - top) / kRows;
    for (size_t k = 0; k < boards.size(); ++k) {
        const auto at = static_cast<int>(k % (kColumns * kRows));
        if (at == 0)
            pages.StartPage();
        const Box slip{pages.Left() + (at % kColumns) * w, top + static_cast<double>(at / kColumns) * h, w, h};
        Slip(pages.Current(), slip, data, j + 1, boards[k], base);
    }
    if (pages.PageCount() == 0)
        pages.StartPage();
    return pages.Finish();
}

} // namespace tabry::paper
