#include "live/LiveHtml.h"

#include "core/Terms.h"
#include "live/WebText.h"

#include <initializer_list>

namespace tabry::live {

namespace {

enum class Tab { Index, Round, Standings, Player };

// Appends literal markup and escaped text in turn: Put(out, {"<b>", Esc(name), "</b>"}).
struct Piece {
    std::string_view text;
    bool escape = false;
};
Piece Esc(std::string_view text)
{
    return Piece{text, true};
}

void Put(std::string& out, std::initializer_list<Piece> pieces)
{
    for (const Piece& p : pieces) {
        if (p.escape)
            AppendHtml(out, p.text);
        else
            out += p.text;
    }
}

// Converts a plain string_view to a literal piece.
Piece Lit(std::string_view text)
{
    return Piece{text, false};
}

std::string Number(int v)
{
    return std::to_string(v);
}

std::string EventName(const TournamentHead& head)
{
    return head.name.empty() ? std::string("大会の結果") : head.name;
}

void Open(std::string& out, const TournamentHead& head, std::string_view title, std::string_view version, Tab tab,
          int currentRound)
{
    Put(out, {Lit("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
                  "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                  "<meta name=\"color-scheme\" content=\"light dark\">\n<title>"),
              Esc(title), Lit(" | "), Esc(EventName(head)),
              Lit("</title>\n<link rel=\"icon\" href=\"data:,\">\n<link rel=\"stylesheet\" href=\"/live.css\">\n"
                  "<script src=\"/live.js\" defer></script>\n"
                  "<noscript><meta http-equiv=\"refresh\" content=\"30\"></noscript>\n</head>\n<body>\n"
                  "<main data-version=\""),
              Esc(version), Lit("\">\n<header><a class=\"event\" href=\"/\">"), Esc(EventName(head)), Lit("</a>")});
    if (!head.date.empty())
        Put(out, {Lit(" <span class=\"date\">"), Esc(head.date), Lit("</span>")});
    out += "</header>\n<nav>";
    const auto item = [&](Tab which, std::string_view href, std::string_view text) {
        Put(out, {Lit("<a href=\""), Lit(href), Lit("\""), Lit(which == tab ? " aria-current=\"page\"" : ""), Lit(">"),
                  Lit(text), Lit("</a>")});
    };
    const std::string roundText = "第" + Number(currentRound) + "回戦";
    item(Tab::Round, "/round", roundText);
    item(Tab::Standings, "/standings", "順位表");
    item(Tab::Index, "/", "選手一覧");
    out += "</nav>\n";
}

void Close(std::string& out)
{
    out += "</main>\n</body>\n</html>\n";
}

Piece Word(tabry::Term term)
{
    return Lit(TermUtf8(term));
}

void PlayerLink(std::string& out, const PlayerRef& p)
{
    if (p.key.empty()) {
        AppendHtml(out, p.name);
        return;
    }
    Put(out, {Lit("<a href=\"/player/"), Esc(p.key), Lit("\">"), Esc(p.name), Lit("</a>")});
}

void Withdrawn(std::string& out, const std::string& mark)
{
    if (!mark.empty())
        Put(out, {Lit("<small class=\"withdrawn\">"), Esc(mark), Lit("</small>")});
}

void RoundLinks(std::string& out, const TournamentHead& head, int shown)
{
    if (head.rounds <= 0)
        return;
    out += "<p class=\"rounds\">";
    for (int n = 1; n <= head.rounds; ++n) {
        if (n == shown)
            Put(out, {Lit("<strong>"), Lit(Number(n)), Lit("</strong>")});
        else
            Put(out, {Lit("<a href=\"/round/"), Lit(Number(n)), Lit("\">"), Lit(Number(n)), Lit("</a>")});
    }
    out += "</p>\n";
}

std::string ReportAddress(int round, int board)
{
    return "/report?round=" + Number(round) + "&amp;board=" + Number(board);
}

// One board on one short line: number, left player, result, right player.
// While the players report results, a board without one links to its
// report page in the result's place.
void BoardLine(std::string& out, const BoardView& b, int reportRound)
{
    const auto player = [&out](const BoardSide& side) {
        out += "<span class=\"p\">";
        PlayerLink(out, side.player);
        Put(out, {Lit(" <small>"), Esc(PointsText(side.pointsBefore)), Lit("</small></span>")});
    };
    Put(out, {Lit("<li><span class=\"no\">"), Lit(Number(b.number)), Lit("</span>")});
    player(b.left);
    if (reportRound > 0 && b.left.result.mark == ResultView::Mark::None)
        Put(out, {Lit("<span class=\"r\"><a class=\"report\" href=\""), Lit(ReportAddress(reportRound, b.number)),
                  Lit("\">報告</a></span>")});
    else
        Put(out, {Lit("<span class=\"r\">"), Esc(b.left.result.text), Lit("</span>")});
    player(b.right);
    out += "</li>\n";
}

void SideList(std::string& out, tabry::Term heading, const std::vector<BoardSide>& sides, bool showResult)
{
    if (sides.empty())
        return;
    Put(out, {Lit("<h2>"), Word(heading), Lit("</h2>\n<ul class=\"plain\">\n")});
    for (const BoardSide& s : sides) {
        out += "<li>";
        PlayerLink(out, s.player);
        Put(out, {Lit(" <small>"), Esc(PointsText(s.pointsBefore)), Word(tabry::Term::Points)});
        if (showResult && !s.result.text.empty())
            Put(out, {Lit(" "), Esc(s.result.text)});
        out += "</small></li>\n";
    }
    out += "</ul>\n";
}

// Where the player sits in the current round, before anything else.
void NowLine(std::string& out, const PlayerPage& page)
{
    const int j = page.currentRound - 1;
    if (j < 0 || j >= static_cast<int>(page.rounds.size()))
        return;
    const PlayerRound& r = page.rounds[static_cast<size_t>(j)];
    Put(out, {Lit("<p class=\"now\"><span>第"), Lit(Number(r.round)), Lit("回戦</span> ")});
    if (r.kind == PlayerRound::Kind::Game) {
        Put(out, {Lit("<b class=\"board\">"), Word(tabry::Term::Board), Lit(" "), Lit(Number(r.board)), Lit("</b> ("),
                  Word(r.side == Side::Right ? tabry::Term::Right : tabry::Term::Left), Lit(") "),
                  Word(tabry::Term::Opponent), Lit(" ")});
        PlayerLink(out, r.opponent);
        if (!r.result.text.empty())
            Put(out, {Lit(" <b>"), Esc(r.result.text), Lit("</b>")});
    } else if (r.kind == PlayerRound::Kind::Bye) {
        Put(out, {Lit("<b>"), Esc(r.result.text.empty() ? std::string(TermUtf8(tabry::Term::Bye)) : r.result.text),
                  Lit("</b>")});
    } else if (r.result.mark == ResultView::Mark::Absent) {
        Put(out, {Lit("<b>"), Esc(page.standing.withdrawnMark), Lit("</b>")});
    } else {
        Put(out, {Lit("<b>"), Word(tabry::Term::Unpaired), Lit("</b>")});
    }
    out += "</p>\n";
}

} // namespace

std::string IndexPage(const TournamentHead& head, const std::vector<PlayerRef>& players, std::string_view version)
{
    std::string out;
    Open(out, head, "ライブ結果", version, Tab::Index, head.currentRound);
    Put(out, {Lit("<h1>"), Esc(EventName(head)), Lit("</h1>\n<ul class=\"menu\">\n<li><a href=\"/round\">第"),
              Lit(Number(head.currentRound)),
              Lit("回戦の組み合わせ</a></li>\n<li><a href=\"/standings\">順位表</a></li>\n</ul>\n"
                  "<h2>回戦</h2>\n")});
    RoundLinks(out, head, 0);
    Put(out, {Lit("<h2>選手 ("), Lit(Number(static_cast<int>(players.size()))), Lit("人)</h2>\n")});
    if (players.empty()) {
        out += "<p>まだ参加者がいません。</p>\n";
    } else {
        // The script shows the box and filters the list as one types; without
        // it the whole list stays.
        out += "<input type=\"search\" id=\"find\" class=\"find\" placeholder=\"名前・よみで探す\" "
               "aria-label=\"選手を探す\" autocomplete=\"off\" hidden>\n<ul class=\"plain players\">\n";
        for (const PlayerRef& p : players) {
            Put(out, {Lit("<li data-find=\""), Esc(p.reading + " " + p.name + " " + p.shortName), Lit("\">")});
            PlayerLink(out, p);
            if (!p.grade.empty())
                Put(out, {Lit(" <small>"), Esc(p.grade), Lit("</small>")});
            out += "</li>\n";
        }
        out += "</ul>\n";
    }
    Close(out);
    return out;
}

std::string StandingsPage(const TournamentHead& head, const Standings& standings, std::string_view version)
{
    std::string out;
    Open(out, head, "順位表", version, Tab::Standings, head.currentRound);
    Put(out, {Lit("<h1>順位表</h1>\n<p class=\"note\">"), Esc(standings.afterText), Lit(" · 順位決定: "),
              Esc(standings.methodName), Lit("</p>\n")});
    if (standings.rows.empty()) {
        out += "<p>まだ参加者がいません。</p>\n";
        Close(out);
        return out;
    }
    Put(out,
        {Lit("<table class=\"standings\">\n<thead><tr><th class=\"num\">"), Word(tabry::Term::Rank), Lit("</th><th>"),
         Word(tabry::Term::Name), Lit("</th><th class=\"num\">"), Word(tabry::Term::Points), Lit("</th>")});
    for (const std::string& caption : standings.tieBreakCaptions)
        Put(out, {Lit("<th class=\"num\">"), Esc(caption), Lit("</th>")});
    out += "</tr></thead>\n<tbody>\n";
    for (const StandingRow& row : standings.rows) {
        Put(out, {Lit("<tr><td class=\"num\">"), Lit(Number(row.rank)), Lit("</td><td>")});
        PlayerLink(out, row.player);
        Put(out, {Lit("<small>"), Esc(row.player.grade), Lit(row.player.grade.empty() ? "" : " "), Esc(row.record),
                  Lit("</small>")});
        Withdrawn(out, row.withdrawnMark);
        Put(out, {Lit("</td><td class=\"num points\">"), Esc(PointsText(row.halfPoints)), Lit("</td>")});
        for (size_t k = 0; k < standings.tieBreakCaptions.size(); ++k)
            Put(out, {Lit("<td class=\"num\">"), Esc(k < row.tieBreaks.size() ? row.tieBreaks[k].text : std::string()),
                      Lit("</td>")});
        out += "</tr>\n";
    }
    out += "</tbody>\n</table>\n";
    Close(out);
    return out;
}

std::string RoundPage(const TournamentHead& head, const RoundPairing& pairing, bool follows, std::string_view version,
                      bool reporting)
{
    std::string out;
    const std::string title = "第" + Number(pairing.round) + "回戦 組み合わせ";
    Open(out, head, title, version, follows || pairing.current ? Tab::Round : Tab::Index, head.currentRound);
    Put(out, {Lit("<h1>"), Esc(title), Lit("</h1>\n")});
    RoundLinks(out, head, pairing.round);
    if (pairing.boards.empty() && pairing.byes.empty()) {
        out += "<p>この回戦の組み合わせはまだありません。</p>\n";
    } else {
        Put(out,
            {Lit("<p class=\"note\">"), Word(tabry::Term::Board), Lit("の番号は組み合わせを作ったときの順位の順です。"),
             Word(tabry::Term::Points), Lit("はこの回戦の前の点です。</p>\n")});
    }
    if (!pairing.boards.empty()) {
        out += "<ol class=\"boards\">\n";
        for (const BoardView& b : pairing.boards)
            BoardLine(out, b, reporting ? pairing.round : 0);
        out += "</ol>\n";
    }
    SideList(out, tabry::Term::Bye, pairing.byes, true);
    SideList(out, tabry::Term::Unpaired, pairing.unpaired, false);
    SideList(out, tabry::Term::Withdrawn, pairing.withdrawn, false);
    SideList(out, tabry::Term::Absent, pairing.absent, false);
    Close(out);
    return out;
}

std::string PlayerPageHtml(const TournamentHead& head, const PlayerPage& page, std::string_view version)
{
    const StandingRow& s = page.standing;
    std::string out;
    Open(out, head, s.player.name, version, Tab::Player, head.currentRound);
    Put(out, {Lit("<h1>"), Esc(s.player.name), Lit("</h1>\n")});
    NowLine(out, page);
    Put(out, {Lit("<p class=\"who\">"), Esc(s.player.shortName)});
    for (const std::string* part : {&s.player.grade, &s.residence})
        if (!part->empty())
            Put(out, {Lit(" · "), Esc(*part)});
    Put(out, {Lit("</p>\n<p class=\"summary\">"), Lit(Number(s.rank)), Lit("位 · "), Word(tabry::Term::Points),
              Lit(" "), Esc(PointsText(s.halfPoints)), Lit(" · "), Esc(s.record), Lit("</p>\n")});
    Withdrawn(out, s.withdrawnMark);
    Put(out, {Lit("<table class=\"history\">\n<thead><tr><th class=\"num\">回戦</th><th class=\"num\">"),
              Word(tabry::Term::Board), Lit("</th><th>"), Word(tabry::Term::Opponent), Lit("</th><th class=\"num\">"),
              Word(tabry::Term::Result), Lit("</th><th class=\"num\">累計</th></tr></thead>\n<tbody>\n")});
    for (const PlayerRound& r : page.rounds) {
        Put(out, {Lit("<tr><td class=\"num\">"), Lit(Number(r.round)), Lit("</td><td class=\"num\">"),
                  Lit(r.board > 0 ? Number(r.board) : std::string()), Lit("</td><td>")});
        if (r.kind == PlayerRound::Kind::Game)
            PlayerLink(out, r.opponent);
        else if (r.kind == PlayerRound::Kind::Bye)
            AppendHtml(out, r.opponent.shortName);
        out += "</td><td class=\"num result\">";
        if (r.kind == PlayerRound::Kind::Game && r.result.text.empty())
            Put(out, {Lit("<small>"), Word(tabry::Term::Playing), Lit("</small>")});
        else
            AppendHtml(out, r.result.text);
        Put(out, {Lit("</td><td class=\"num\">"), Esc(r.pointsAfter ? PointsText(*r.pointsAfter) : std::string()),
                  Lit("</td></tr>\n")});
    }
    out += "</tbody>\n</table>\n";
    Close(out);
    return out;
}

namespace {

// The report pages stand alone: no script that reloads them while a count
// is being typed, no navigation that would lose it.
void OpenReport(std::string& out, const TournamentHead& head, std::string_view title)
{
    Put(out, {Lit("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
                  "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                  "<meta name=\"color-scheme\" content=\"light dark\">\n<title>"),
              Esc(title), Lit(" | "), Esc(EventName(head)),
              Lit("</title>\n<link rel=\"icon\" href=\"data:,\">\n<link rel=\"stylesheet\" href=\"/live.css\">\n"
                  "</head>\n<body>\n<main class=\"report\">\n<header><a class=\"event\" href=\"/\">"),
              Esc(EventName(head)), Lit("</a></header>\n")});
}

void SideName(std::string& out, const BoardSide& side)
{
    AppendHtml(out, side.player.name);
}

} // namespace

std::string ReportFormPage(const TournamentHead& head, int round, const BoardView& board, std::string_view code)
{
    std::string out;
    const std::string title = "第" + Number(round) + "回戦 " + std::string(TermUtf8(tabry::Term::Board)) + " "
                              + Number(board.number) + " 結果報告";
    OpenReport(out, head, title);
    Put(out, {Lit("<h1>"), Esc(title),
              Lit("</h1>\n<form method=\"post\" action=\"/report\">\n"
                  "<input type=\"hidden\" name=\"round\" value=\""),
              Lit(Number(round)), Lit("\">\n<input type=\"hidden\" name=\"board\" value=\""), Lit(Number(board.number)),
              Lit("\">\n")});
    const auto field = [&out](const BoardSide& side, std::string_view name, std::string_view which) {
        Put(out, {Lit("<p><label>"), Lit(which), Lit(" ")});
        SideName(out, side);
        Put(out, {Lit(" の石数<br><input name=\""), Lit(name),
                  Lit("\" inputmode=\"numeric\" pattern=\"[0-9０-９]*\" maxlength=\"2\" size=\"4\" required "
                      "autocomplete=\"off\"></label></p>\n")});
    };
    field(board.left, "first", "左");
    field(board.right, "second", "右");
    Put(out, {Lit("<p><label>報告コード<br><input name=\"code\" value=\""), Esc(code),
              Lit("\" maxlength=\"16\" size=\"12\" required autocomplete=\"off\" autocapitalize=\"characters\" "
                  "spellcheck=\"false\"></label></p>\n"
                  "<p class=\"note\">空きマスは勝った方の石に数えます(両者の合計は64)。"
                  "報告は本部が確認してから結果になります。</p>\n"
                  "<p><button type=\"submit\">送信</button></p>\n</form>\n")});
    Close(out);
    return out;
}

std::string ReportAnswerPage(const TournamentHead& head, const ReportAnswer& answer)
{
    std::string out;
    OpenReport(out, head, answer.heading);
    Put(out, {Lit("<h1>"), Esc(answer.heading), Lit("</h1>\n")});
    if (answer.board != nullptr && answer.first >= 0) {
        Put(out, {Lit("<p class=\"now\">第"), Lit(Number(answer.round)), Lit("回戦 "), Word(tabry::Term::Board),
                  Lit(" "), Lit(Number(answer.board->number)), Lit("</p>\n<p class=\"received\">")});
        SideName(out, answer.board->left);
        Put(out, {Lit(" <b>"), Lit(Number(answer.first)), Lit(" - "), Lit(Number(answer.second)), Lit("</b> ")});
        SideName(out, answer.board->right);
        out += "</p>\n";
    }
    Put(out, {Lit("<p>"), Esc(answer.text), Lit("</p>\n")});
    if (answer.round > 0 && answer.board != nullptr)
        Put(out, {Lit("<p><a href=\""), Lit(ReportAddress(answer.round, answer.board->number)),
                  Lit("\">報告のページへ戻る</a></p>\n")});
    else
        out += "<p><a href=\"/round\">組み合わせへ</a></p>\n";
    Close(out);
    return out;
}

std::string NotFoundPage()
{
    return "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           "<meta name=\"color-scheme\" content=\"light dark\">\n<title>ページがありません</title>\n"
           "<link rel=\"icon\" href=\"data:,\">\n<link rel=\"stylesheet\" "
           "href=\"/live.css\">\n</head>\n<body>\n<main>\n"
           "<h1>ページがありません</h1>\n<p><a href=\"/\">最初のページへ</a></p>\n</main>\n</body>\n</html>\n";
}

} // namespace tabry::live
