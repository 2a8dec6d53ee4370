#include "live/LiveModel.h"

#include "core/Boards.h"
#include "core/Standings.h"
#include "core/Terms.h"
#include "core/TieBreaks.h"
#include "live/LiveSnapshot.h"
#include "live/WebText.h"
#include "playerdb/PlayerText.h"
#include "reports/Formatters.h"
#include "reports/ReportRows.h"

#include <algorithm>

namespace tabry::live {

namespace {

// The report texts are padded for fixed-pitch columns ("- 4", "  0"); a page
// lays out by itself, so the blanks go.
std::string Squeezed(std::string_view sjis)
{
    std::string out;
    for (char c : sjis)
        if (c != ' ')
            out += c;
    return Utf8(out);
}

int ParseRank(std::string_view text)
{
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        v = v * 10 + (c - '0');
    }
    return v;
}

// The player at a position of the snapshot's records, as the rows of its
// table and of any copy of it name him.
PlayerRef RefOfPosition(const CLiveSnapshot& snapshot, int position)
{
    const CPlayerRecord& record = snapshot.Players().GetAt(position);
    PlayerRef ref;
    ref.key = snapshot.KeyOfPosition(position);
    ref.name = Utf8(record.m_longName);
    ref.shortName = Utf8(record.m_shortName);
    ref.grade = Utf8(FormatGrade(record.m_grade));
    ref.reading = Utf8(record.m_inputName);
    return ref;
}

PlayerRef RefOfRow(const CLiveSnapshot& snapshot, int row)
{
    return RefOfPosition(snapshot, snapshot.Table().Entry(row).playerIndex);
}

PlayerRef ByeRef(const CLiveSnapshot& snapshot)
{
    const CPlayerRecord& bye = snapshot.Players().GetAt(0);
    PlayerRef ref;
    ref.name = Utf8(bye.m_longName);
    ref.shortName = Utf8(bye.m_shortName);
    return ref;
}

// The result of the row's cell in `round` (from 0).
ResultView ResultOf(const CResultTable& table, int row, int round)
{
    const ResultCell& cell = table.Cell(row, round);
    ResultView view;
    if (cell.opponent == NoOpponent) {
        if (const std::optional<Term> mark = NoGameMark(table.Entry(row), round)) {
            view.mark = ResultView::Mark::Absent;
            view.text = std::string(TermUtf8(*mark));
        }
        return view;
    }
    if (cell.result == ResultNone) {
        if (cell.opponent == ByeOpponent) {
            // A bye without a result under the default rule is no game in
            // progress: it is the bye, and stays so.
            view.mark = ResultView::Mark::Bye;
            view.text = std::string(TermUtf8(Term::Bye));
        }
        return view;
    }
    view.mark = cell.result > 0   ? ResultView::Mark::Win
                : cell.result < 0 ? ResultView::Mark::Loss
                                  : ResultView::Mark::Draw;
    view.disc = cell.disc;
    view.text = Utf8(ResultMark(cell.result))
                + Squeezed(FormatDiscValue(cell.disc, true, 1, false, table.settings.showDiscDifference));
    return view;
}

BoardSide SideOf(const CLiveSnapshot& snapshot, const RoundSeating& seating, int row)
{
    BoardSide side;
    side.player = RefOfRow(snapshot, row);
    side.pointsBefore = seating.pointsBefore[static_cast<size_t>(row)];
    side.result = ResultOf(snapshot.Table(), row, seating.round);
    return side;
}

} // namespace

const char* MarkWord(ResultView::Mark mark)
{
    switch (mark) {
    case ResultView::Mark::Win:
        return "win";
    case ResultView::Mark::Draw:
        return "draw";
    case ResultView::Mark::Loss:
        return "loss";
    case ResultView::Mark::Bye:
        return "bye";
    case ResultView::Mark::Absent:
        return "absent";
    case ResultView::Mark::None:
        break;
    }
    return "none";
}

std::string PointsText(int halfPoints)
{
    return Utf8(FormatHalfPoints(halfPoints, true));
}

TournamentHead MakeHead(const CLiveSnapshot& snapshot)
{
    const CTournamentInfo& info = snapshot.Info();
    TournamentHead head;
    head.name = Utf8(info.name);
    if (info.HasDate()) {
        head.date = report::SlashDate(info.year, info.month, info.day);
        head.isoDate = report::Concat(
            {report::Decimal(info.year), "-", report::Decimal02(info.month), "-", report::Decimal02(info.day)});
    }
    const CResultTable& table = snapshot.Table();
    head.rounds = table.RoundCount();
    for (int j = table.RoundCount() - 1; j >= 0; --j) {
        if (table.RoundHasGames(j)) {
            head.currentRound = j + 1;
            break;
        }
    }
    return head;
}

std::vector<PlayerRef> MakePlayerList(const CLiveSnapshot& snapshot)
{
    std::vector<PlayerRef> list;
    const CResultTable& table = snapshot.Table();
    for (int r = 0; r < table.PlayerCount(); ++r)
        if (!table.Entry(r).IsEmpty())
            list.push_back(RefOfRow(snapshot, r));
    // By reading, as a player looks himself up; the key keeps the order
    // total (and the same after a sort of the table).
    std::sort(list.begin(), list.end(), [](const PlayerRef& a, const PlayerRef& b) {
        return std::tie(a.reading, a.name, a.key) < std::tie(b.reading, b.name, b.key);
    });
    return list;
}

Standings MakeStandings(const CLiveSnapshot& snapshot)
{
    CResultTable copy = StandingsCopy(snapshot.Table());
    FormatReportRows(copy, snapshot.Players());
    Standings s;
    s.method = EffectiveTieBreak(copy.settings.tieBreak);
    s.methodName = Utf8(TieBreakMethodText(s.method));
    const bool showDifference = copy.settings.showDiscDifference;
    for (const std::string& caption : TieBreakCaptions(s.method, showDifference))
        s.tieBreakCaptions.push_back(Utf8(caption));
    const StandingsPoint point = StandingsAfter(copy);
    s.afterRound = point.round;
    s.complete = point.complete;
    s.afterText = StandingsPointUtf8(point.round, point.complete);
    const TieBreakMethodInfo& method = TieBreakMethodOf(s.method);
    for (int r = 0; r < copy.PlayerCount(); ++r) {
        const CFieldList& texts = copy.reportRows[static_cast<size_t>(r)];
        if (texts.Get(ColRank).IsEmpty())
            continue;
        const PlayerEntry& e = copy.Entry(r);
        StandingRow row;
        row.player = RefOfPosition(snapshot, e.playerIndex);
        row.rank = ParseRank(texts.Get(ColRank).Text());
        row.residence = Utf8(texts.Get(ColResidence).Text());
        row.halfPoints = e.points;
        row.wins = e.wins;
        row.losses = e.losses;
        row.draws = e.draws;
        row.record = Utf8(texts.Get(ColRecord).Text());
        int column = ColTieBreak1;
        for (const TieValue value : method.Shown())
            row.tieBreaks.push_back({TieValueNumber(e, value, showDifference), Squeezed(texts.Get(column++).Text())});
        if (e.IsWithdrawn()) {
            row.withdrawnFrom = e.withdrawnFrom;
            row.withdrawnMark = WithdrawnMarkUtf8(e.withdrawnFrom);
        }
        s.rows.push_back(std::move(row));
    }
    return s;
}

RoundPairing MakeRoundPairing(const CLiveSnapshot& snapshot, int round)
{
    RoundPairing pairing;
    pairing.round = round;
    pairing.current = round == MakeHead(snapshot).currentRound;
    if (round < 1 || round > snapshot.Table().RoundCount())
        return pairing;
    const RoundSeating seating = SeatRound(snapshot.Table(), round - 1);
    for (const Board& b : seating.boards)
        pairing.boards.push_back({b.number, SideOf(snapshot, seating, b.left), SideOf(snapshot, seating, b.right)});
    for (const auto& [rows, list] :
         {std::pair{&seating.byes, &pairing.byes}, std::pair{&seating.unpaired, &pairing.unpaired},
          std::pair{&seating.withdrawn, &pairing.withdrawn}, std::pair{&seating.absent, &pairing.absent}})
        for (const int row : *rows)
            list->push_back(SideOf(snapshot, seating, row));
    return pairing;
}

std::vector<std::vector<Board>> MakeAllBoards(const CLiveSnapshot& snapshot)
{
    std::vector<std::vector<Board>> boards;
    for (int j = 0; j < snapshot.Table().RoundCount(); ++j)
        boards.push_back(RoundBoards(snapshot.Table(), j));
    return boards;
}

PlayerPage MakePlayerPage(const CLiveSnapshot& snapshot, const StandingRow& standing,
                          const std::vector<std::vector<Board>>& boards)
{
    PlayerPage page;
    page.standing = standing;
    page.currentRound = MakeHead(snapshot).currentRound;
    const CResultTable& table = snapshot.Table();
    const int row = snapshot.RowOfKey(standing.player.key);
    if (row < 0)
        return page;
    for (int j = 0; j < table.RoundCount(); ++j) {
        const ResultCell& cell = table.Cell(row, j);
        PlayerRound r;
        r.round = j + 1;
        r.result = ResultOf(table, row, j);
        if (cell.opponent == ByeOpponent) {
            r.kind = PlayerRound::Kind::Bye;
            r.opponent = ByeRef(snapshot);
        } else if (cell.opponent >= 0 && cell.opponent < table.PlayerCount() && !table.Entry(cell.opponent).IsEmpty()) {
            r.kind = PlayerRound::Kind::Game;
            r.opponent = RefOfRow(snapshot, cell.opponent);
            if (const Board* b = BoardOfRow(boards[static_cast<size_t>(j)], row)) {
                r.board = b->number;
                r.side = b->left == row ? Side::Left : Side::Right;
            }
        }
        if (cell.opponent != NoOpponent && cell.result != ResultNone)
            r.pointsAfter = table.PointsThrough(row, j + 1);
        page.rounds.push_back(std::move(r));
    }
    return page;
}

} // namespace tabry::live
