#include "live/LiveModel.h"

#include "live/LiveSnapshot.h"
#include "live/WebText.h"
#include "playerdb/PlayerText.h"
#include "reports/Formatters.h"
#include "reports/ReportRows.h"
#include "text/Cp932.h"

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

PlayerRef RefOfReportRow(const CLiveSnapshot& snapshot, const CResultTable& table, int row)
{
    const CFieldList& texts = table.reportRows[static_cast<size_t>(row)];
    PlayerRef ref;
    ref.id = snapshot.IdOfPosition(table.Entry(row).playerIndex);
    ref.name = Utf8(texts.Get(ColLongName).Text());
    ref.shortName = Utf8(texts.Get(ColShortName).Text());
    ref.grade = Utf8(texts.Get(ColGrade).Text());
    return ref;
}

PlayerRef RefOfPosition(const CLiveSnapshot& snapshot, int position)
{
    const CPlayerRecord& record = snapshot.Players().GetAt(position);
    PlayerRef ref;
    ref.id = snapshot.IdOfPosition(position);
    ref.name = Utf8(record.m_longName);
    ref.shortName = Utf8(record.m_shortName);
    ref.grade = Utf8(FormatGrade(record.m_grade));
    return ref;
}

std::vector<std::string> TieBreakCaptions(int method, bool showDiscDifference)
{
    const std::string disc = showDiscDifference ? "石差" : "石数";
    switch (method) {
    case Brightwell:
        return {"BW", disc};
    case WinPointsA:
        return {"勝数A"};
    case WinPointsASecondary:
        return {"勝数A", "二次"};
    case WinPointsADisc:
        return {"勝数A", disc};
    case WinPointsB:
        return {"勝数B"};
    case WinPointsBSecondary:
        return {"勝数B", "二次"};
    case WinPointsBDisc:
        return {"勝数B", disc};
    default:
        return {disc};
    }
}

// The table sorted into the standings as they stand after `roundLimit`
// rounds (-1: all), with its report rows built.
CResultTable StandingsCopy(const CLiveSnapshot& snapshot, int roundLimit)
{
    CResultTable copy(snapshot.Table());
    const int method = EffectiveTieBreak(copy.settings.tieBreak);
    copy.Sort(method, false);
    if (roundLimit >= 0) {
        copy.ComputeTotals(-1, roundLimit);
        copy.ComputeTieBreaks(roundLimit);
        copy.Sort(method, true);
    }
    FormatReportRows(copy, snapshot.Players());
    return copy;
}

BoardSide SideOf(const CLiveSnapshot& snapshot, const CResultTable& copy, int row, int round)
{
    BoardSide side;
    side.player = RefOfReportRow(snapshot, copy, row);
    side.points = FormatHalfPoints(copy.Entry(row).points, true);
    side.result = Squeezed(copy.reportRows[static_cast<size_t>(row)].Get(ResultColumn(round)).Text());
    return side;
}

} // namespace

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
            list.push_back(RefOfPosition(snapshot, table.Entry(r).playerIndex));
    return list;
}

Standings MakeStandings(const CLiveSnapshot& snapshot)
{
    const CResultTable copy = StandingsCopy(snapshot, -1);
    Standings s;
    s.method = EffectiveTieBreak(copy.settings.tieBreak);
    s.methodName = Utf8(TieBreakMethodText(s.method));
    s.tieBreakCaptions = TieBreakCaptions(s.method, copy.settings.showDiscDifference);
    for (int r = 0; r < copy.PlayerCount(); ++r) {
        const CFieldList& texts = copy.reportRows[static_cast<size_t>(r)];
        if (texts.Get(ColRank).IsEmpty())
            continue;
        const PlayerEntry& e = copy.Entry(r);
        StandingRow row;
        row.player = RefOfReportRow(snapshot, copy, r);
        row.rank = ParseRank(texts.Get(ColRank).Text());
        row.residence = Utf8(texts.Get(ColResidence).Text());
        row.halfPoints = e.points;
        row.points = FormatHalfPoints(e.points, true);
        row.wins = e.wins;
        row.losses = e.losses;
        row.draws = e.draws;
        row.record = Utf8(texts.Get(ColRecord).Text());
        for (const int column : {ColTieBreak1, ColTieBreak2})
            if (!texts.Get(column).IsEmpty())
                row.tieBreaks.push_back(Squeezed(texts.Get(column).Text()));
        row.withdrawnAfter = snapshot.WithdrawnAfter(snapshot.RowOfPlayer(row.player.id));
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
    const CResultTable copy = StandingsCopy(snapshot, round - 1);
    const int j = round - 1;
    for (int i = 0; i < copy.PlayerCount(); ++i) {
        if (copy.reportRows[static_cast<size_t>(i)].Get(ColRank).IsEmpty())
            continue;
        const int o = copy.Cell(i, j).opponent;
        if (o == ByeOpponent) {
            pairing.byes.push_back(SideOf(snapshot, copy, i, j));
        } else if (o == NoOpponent || o >= copy.PlayerCount() || copy.Entry(o).IsEmpty()) {
            (copy.Entry(i).PlaysIn(j) ? pairing.unpaired : pairing.withdrawn).push_back(SideOf(snapshot, copy, i, j));
        } else if (o > i) {
            // Each game once, on the line of the higher placed of the two.
            Board board;
            board.number = static_cast<int>(pairing.boards.size()) + 1;
            board.first = SideOf(snapshot, copy, i, j);
            board.second = SideOf(snapshot, copy, o, j);
            pairing.boards.push_back(std::move(board));
        }
    }
    return pairing;
}

PlayerPage MakePlayerPage(const CLiveSnapshot& snapshot, const StandingRow& standing)
{
    PlayerPage page;
    page.standing = standing;
    const CResultTable& table = snapshot.Table();
    const int row = snapshot.RowOfPlayer(standing.player.id);
    if (row < 0)
        return page;
    const bool showDifference = table.settings.showDiscDifference;
    int running = 0;
    for (int j = 0; j < table.RoundCount(); ++j) {
        const ResultCell& cell = table.Cell(row, j);
        PlayerRound r;
        r.round = j + 1;
        r.result = cell.result;
        if (cell.opponent == ByeOpponent) {
            r.kind = PlayerRound::Kind::Bye;
            r.opponent = RefOfPosition(snapshot, 0);
            r.opponent.id = -1;
        } else if (cell.opponent >= 0 && cell.opponent < table.PlayerCount() && !table.Entry(cell.opponent).IsEmpty()) {
            r.kind = PlayerRound::Kind::Game;
            r.opponent = RefOfPosition(snapshot, table.Entry(cell.opponent).playerIndex);
        }
        if (r.kind != PlayerRound::Kind::None && cell.result != ResultNone) {
            r.mark = Utf8(ResultMark(cell.result));
            r.score = Squeezed(FormatDiscValue(cell.disc, true, 1, false, showDifference));
            running += cell.result > 0 ? 2 : cell.result == 0 ? 1 : 0;
            r.runningPoints = FormatHalfPoints(running, true);
        }
        page.rounds.push_back(std::move(r));
    }
    return page;
}

} // namespace tabry::live
