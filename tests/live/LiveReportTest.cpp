// Reports from the players' phones through the real server: the board's
// page and its plain form (sent by the curl program, no script involved),
// and everything a hostile network may send instead. Only the waiting list
// ever changes; without an inbox or a key the server stays read-only.
#include "core/Boards.h"
#include "core/ReportCode.h"
#include "live/LiveServer.h"
#include "live/LiveSite.h"
#include "live/LiveSnapshot.h"
#include "live/ReportInbox.h"
#include "tests/live/LiveFixture.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tabry::live {
namespace {

using test::Exchange;
using test::StatusOf;

constexpr const char* kKey = "00112233445566778899aabbccddeeff";

class LiveReportTest : public ::testing::Test {
protected:
    LiveReportTest()
    {
        m_data.info.reportingKey = kKey;
        // Round 3: 山田 - 高橋 waits for its result; 佐藤 - 鈴木 has one.
        for (const Board& b : RoundBoards(m_data.table, 2))
            (m_data.table.Cell(b.left, 2).result == ResultNone ? m_open : m_decided) = b.number;
    }

    void Start(bool withInbox = true)
    {
        if (withInbox)
            m_server.SetReportInbox(m_inbox);
        m_server.Publish(m_data);
        ServerOptions options;
        options.bindAddress = "127.0.0.1";
        options.port = 0;
        std::string error;
        ASSERT_TRUE(m_server.Start(options, &error)) << error;
        m_port = m_server.Port();
    }

    std::string Host() const { return "127.0.0.1:" + std::to_string(m_port); }

    // A raw POST of `body` with extra header lines.
    std::string Post(const std::string& body, const std::string& extra = "", const char* from = "127.0.0.1",
                     const std::string& path = "/report") const
    {
        return Exchange(m_port,
                        "POST " + path + " HTTP/1.1\r\nHost: " + Host()
                            + "\r\nConnection: close\r\nContent-Type: application/x-www-form-urlencoded\r\n"
                              "Content-Length: "
                            + std::to_string(body.size()) + "\r\n" + extra + "\r\n" + body,
                        5000, from);
    }

    std::string Form(int board, const std::string& first, const std::string& second, const std::string& code,
                     int round = 3) const
    {
        return "round=" + std::to_string(round) + "&board=" + std::to_string(board) + "&first=" + first
               + "&second=" + second + "&code=" + code;
    }
    std::string Code(int board, int round = 3) const { return ReportCode(kKey, round, board); }

    TournamentData m_data = test::SmallEvent();
    std::shared_ptr<CReportInbox> m_inbox = std::make_shared<CReportInbox>();
    CLiveServer m_server;
    std::uint16_t m_port = 0;
    int m_open = 0;
    int m_decided = 0;
};

std::string Body(const std::string& answer)
{
    const size_t at = answer.find("\r\n\r\n");
    return at == std::string::npos ? std::string() : answer.substr(at + 4);
}

TEST_F(LiveReportTest, APhoneReportsThroughThePlainFormAndOnlyTheWaitingListChanges)
{
    Start();
    ASSERT_GT(m_open, 0);
    ASSERT_GT(m_decided, 0);
    const std::string link = "/report?round=3&amp;board=" + std::to_string(m_open);
    const test::HttpReply round = test::HttpGet("http://" + Host() + "/round");
    EXPECT_NE(round.body.find(link), std::string::npos);
    EXPECT_EQ(round.body.find("board=" + std::to_string(m_decided) + "\""), std::string::npos);

    // The slip's QR opens the page with the code filled in, shown with its
    // hyphen; a code that is no code is left out.
    const std::string code = Code(m_open);
    std::string lower = code;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const test::HttpReply page =
        test::HttpGet("http://" + Host() + "/report?round=3&board=" + std::to_string(m_open) + "&code=" + lower);
    ASSERT_EQ(page.status, 200);
    EXPECT_NE(page.body.find("value=\"" + ShownReportCode(code) + "\""), std::string::npos);
    EXPECT_NE(page.body.find("山田 太郎"), std::string::npos);
    EXPECT_NE(page.body.find("高橋 健"), std::string::npos);
    EXPECT_LT(page.body.find("山田 太郎"), page.body.find("高橋 健")) << "the left player first";
    EXPECT_NE(page.body.find("<form method=\"post\" action=\"/report\">"), std::string::npos);
    EXPECT_EQ(page.body.find("<script"), std::string::npos);
    EXPECT_NE(page.headers.at("content-security-policy").find("form-action 'self'"), std::string::npos);
    const test::HttpReply odd = test::HttpGet("http://" + Host() + "/report?round=3&board=" + std::to_string(m_open)
                                              + "&code=%22%3E%3Cscript%3E");
    EXPECT_EQ(odd.body.find("script"), std::string::npos);
    for (const std::string& gone :
         std::vector<std::string>{"/report?round=3&board=9", "/report?round=2&board=1", "/report?round=3",
                                  "/report?round=3&board=" + std::to_string(m_decided) + "x"})
        EXPECT_EQ(test::HttpGet("http://" + Host() + gone).status, 404) << gone;

    // The form as a browser without scripts sends it, by the curl program;
    // the code typed with full-width letters and a hyphen.
    const std::string saved = [&] {
        TournamentData copy = m_data;
        return copy.Save();
    }();
    const std::string command =
        "curl -s -o - -w '\\n%{http_code}' --data-urlencode round=3 --data-urlencode board=" + std::to_string(m_open)
        + " --data-urlencode first=40 --data-urlencode second=24 --data-urlencode code=" + code.substr(0, 4) + "－"
        + code.substr(4) + " http://" + Host() + "/report";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string answer;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
        answer.append(buf, n);
    ASSERT_EQ(pclose(pipe), 0) << answer;
    EXPECT_EQ(answer.substr(answer.rfind('\n') + 1), "200") << answer;
    EXPECT_NE(answer.find("本部ではまだ確認していません"), std::string::npos) << answer;
    EXPECT_NE(answer.find("山田 太郎 <b>40 - 24</b> 高橋 健"), std::string::npos) << answer;
    const std::vector<PendingReport> pending = m_inbox->Pending();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].round, 3);
    EXPECT_EQ(pending[0].board, m_open);
    EXPECT_EQ(pending[0].first, 40);
    EXPECT_EQ(pending[0].second, 24);
    // The tournament the server publishes is untouched.
    TournamentData copy = m_data;
    EXPECT_EQ(copy.Save(), saved);
    EXPECT_EQ(m_server.Site()->Snapshot().Table().Cell(0, 2).result, ResultNone);
}

TEST_F(LiveReportTest, HostileReportsAreRefusedWithTheirReasonAndChangeNothing)
{
    Start();
    const int b = m_open;
    const auto status = [](const std::string& answer) { return StatusOf(answer); };

    // The wrong box, then the right one; a replay adds nothing.
    EXPECT_EQ(status(Post(Form(b, "40", "24", Code(b)))), 200);
    const std::string replay = Post(Form(b, "40", "24", Code(b)));
    EXPECT_EQ(status(replay), 200);
    EXPECT_NE(Body(replay).find("本部ではまだ確認していません"), std::string::npos);
    EXPECT_EQ(m_inbox->PendingCount(), 1u);
    // The opponent's phone agrees; a third phone says otherwise.
    EXPECT_NE(Body(Post(Form(b, "40", "24", Code(b)), "", "127.0.0.2")).find("一致しました"), std::string::npos);
    EXPECT_NE(Body(Post(Form(b, "30", "34", Code(b)), "", "127.0.0.3")).find("別の結果"), std::string::npos);
    ASSERT_EQ(m_inbox->PendingCount(), 2u);
    EXPECT_EQ(m_inbox->Pending()[0].state, PendingReport::State::Conflict);

    // Impossible counts, other rounds, a decided board.
    EXPECT_EQ(status(Post(Form(b, "40", "25", Code(b)), "", "127.0.0.4")), 400);
    EXPECT_EQ(status(Post(Form(b, "40", "24", Code(b, 2), 2), "", "127.0.0.4")), 409);
    EXPECT_EQ(status(Post(Form(m_decided, "40", "24", Code(m_decided)), "", "127.0.0.4")), 409);

    // Requests no page of this server sends.
    EXPECT_EQ(status(Post(Form(b, "40", "24", Code(b)), "Origin: http://evil.example\r\n", "127.0.0.5")), 403);
    EXPECT_EQ(status(Post(Form(b, "40", "24", Code(b)), "Sec-Fetch-Site: cross-site\r\n", "127.0.0.5")), 403);
    EXPECT_EQ(status(Post(Form(b, "40", "24", Code(b)), "Origin: null\r\n", "127.0.0.5")), 403);
    EXPECT_EQ(status(Post(Form(b, "41", "23", Code(b)),
                          "Origin: http://" + Host() + "\r\nSec-Fetch-Site: same-origin\r\n", "127.0.0.5")),
              200);
    EXPECT_EQ(status(Post(Form(b, "42", "22", Code(b)), "", "127.0.0.6")), 429) << "three reports wait already";
    EXPECT_EQ(status(Post(std::string(2000, 'a'), "", "127.0.0.5")), 413);
    EXPECT_EQ(status(Exchange(m_port,
                              "POST /report HTTP/1.1\r\nHost: x\r\nConnection: close\r\nContent-Type: "
                              "application/x-www-form-urlencoded\r\nContent-Length: 99999999999999999999999\r\n\r\n",
                              5000, "127.0.0.5")),
              413);
    EXPECT_EQ(status(Exchange(m_port,
                              "POST /report HTTP/1.1\r\nHost: x\r\nConnection: close\r\nContent-Type: text/plain\r\n"
                              "Content-Length: 3\r\n\r\nabc",
                              5000, "127.0.0.5")),
              415);
    EXPECT_EQ(status(Post(Form(b, "40", "24", Code(b)), "", "127.0.0.5", "/standings")), 405);
    // A field sent twice or far too long is no field.
    EXPECT_EQ(status(Post(Form(b, "40", "24", Code(b)) + "&board=1", "", "127.0.0.6")), 400);
    EXPECT_EQ(status(Post(Form(b, std::string(900, '4'), "24", Code(b)), "", "127.0.0.6")), 400);
    EXPECT_EQ(m_inbox->PendingCount(), 3u);

    // Guessing codes: five wrong ones lock the board for a minute, the right
    // code included; each answer says why.
    m_inbox->Reject(m_inbox->Pending()[2].id);
    for (int i = 0; i < 5; ++i) {
        const std::string answer = Post(Form(b, "40", "24", "2222-2222"), "", "127.0.0.7");
        EXPECT_EQ(status(answer), 403);
        EXPECT_NE(Body(answer).find("報告コードが違います"), std::string::npos);
    }
    const std::string locked = Post(Form(b, "50", "14", Code(b)), "", "127.0.0.8");
    EXPECT_EQ(status(locked), 429);
    EXPECT_NE(Body(locked).find("1分間"), std::string::npos);
    EXPECT_EQ(m_inbox->PendingCount(), 2u);
    const auto counts = m_inbox->Counts();
    EXPECT_EQ(counts[static_cast<size_t>(ReportOutcome::WrongCode)], 5u);
    EXPECT_EQ(counts[static_cast<size_t>(ReportOutcome::LockedOut)], 1u);
    EXPECT_EQ(counts[static_cast<size_t>(ReportOutcome::WrongRound)], 1u);
    EXPECT_EQ(counts[static_cast<size_t>(ReportOutcome::Decided)], 1u);
    // The server's own refusals count too: three other sites, a body too
    // large, no form. (A length no number holds libmicrohttpd refuses by
    // itself.)
    EXPECT_EQ(counts[static_cast<size_t>(ReportOutcome::Refused)], 5u);
}

TEST_F(LiveReportTest, WithoutAnInboxOrAKeyTheServerStaysReadOnlyAndItsPagesAsTheyWere)
{
    // The pages of a server that takes no reports, for comparison.
    CLiveServer plain;
    TournamentData keyless = test::SmallEvent();
    plain.Publish(keyless);
    const std::string before = plain.Site()->Get(*ParsePath("/round")).body->substr(0);

    Start(false);
    const std::string body = Form(m_open, "40", "24", Code(m_open));
    EXPECT_EQ(StatusOf(Post(body)), 405);
    EXPECT_NE(Post(body).find("Allow: GET, HEAD"), std::string::npos);
    EXPECT_EQ(test::HttpGet("http://" + Host() + "/report?round=3&board=1").status, 404);
    EXPECT_EQ(test::HttpGet("http://" + Host() + "/round").body.find("/report"), std::string::npos);

    // An inbox, but the tournament has no key: still read-only, the same
    // pages byte for byte.
    m_server.SetReportInbox(m_inbox);
    m_server.Publish(keyless);
    EXPECT_EQ(StatusOf(Post(body)), 405);
    EXPECT_EQ(test::HttpGet("http://" + Host() + "/report?round=3&board=1").status, 404);
    const std::string after = m_server.Site()->Get(*ParsePath("/round")).body->substr(0);
    const auto version = [](std::string page) {
        const size_t at = page.find("data-version=\"");
        return page.erase(at, page.find('"', at + 14) - at);
    };
    EXPECT_EQ(version(after), version(before));
    EXPECT_EQ(m_inbox->PendingCount(), 0u);
    EXPECT_FALSE(m_inbox->IsOn());

    // Switched on: the same server takes reports; off again: 405 again.
    m_server.Publish(m_data);
    EXPECT_EQ(StatusOf(Post(body)), 200);
    m_server.SetReportInbox(nullptr);
    EXPECT_EQ(StatusOf(Post(body, "", "127.0.0.2")), 405);
    EXPECT_EQ(m_inbox->PendingCount(), 1u);
}

} // namespace
} // namespace tabry::live
