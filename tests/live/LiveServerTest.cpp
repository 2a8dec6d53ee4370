// The server on 127.0.0.1 under requests no browser sends: other methods,
// paths that try to leave the site, oversized and slow requests, floods of
// connections and requests. Each is answered or dropped, and the server goes
// on serving the pages. Clients bind their own 127.x.y.z addresses, so the
// per-address limits can be tried side by side.
#include "live/LiveServer.h"
#include "live/LiveSite.h"
#include "tests/live/LiveFixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <thread>

namespace tabry::live {
namespace {

using test::Exchange;
using test::StatusOf;

class LiveServerTest : public ::testing::Test {
protected:
    void Start(ServerOptions options = {})
    {
        options.bindAddress = "127.0.0.1";
        options.port = 0;
        m_server.Publish(m_data);
        std::string error;
        ASSERT_TRUE(m_server.Start(options, &error)) << error;
        m_port = m_server.Port();
        ASSERT_NE(m_port, 0);
    }

    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }

    // A raw request for `target` ("GET /x") that closes afterwards.
    std::string Get(const std::string& target, const char* from = "127.0.0.1", int timeoutMs = 5000) const
    {
        return Exchange(m_port, target + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", timeoutMs, from);
    }

    // The server still serves: a fresh client gets the standings.
    void ExpectServing(const char* from = "127.0.0.1")
    {
        const std::string answer = Get("GET /api/standings", from);
        EXPECT_EQ(StatusOf(answer), 200) << answer.substr(0, 200);
        EXPECT_NE(answer.find("山田 太郎"), std::string::npos);
    }

    TournamentData m_data = test::SmallEvent();
    CLiveServer m_server;
    std::uint16_t m_port = 0;
};

TEST_F(LiveServerTest, AnswersGetAndHeadAndRefusesEveryOtherMethod)
{
    Start();
    for (const char* method : {"POST", "PUT", "DELETE", "PATCH", "OPTIONS", "TRACE", "CONNECT", "PROPFIND", "BREW"}) {
        const std::string answer = Exchange(m_port, std::string(method)
                                                        + " /standings HTTP/1.1\r\nHost: x\r\n"
                                                          "Content-Length: 5\r\n\r\nhello");
        EXPECT_EQ(StatusOf(answer), 405) << method << ": " << answer.substr(0, 80);
        EXPECT_NE(answer.find("Allow: GET, HEAD"), std::string::npos) << method;
    }
    const test::HttpReply get = test::HttpGet(Url("/standings"));
    EXPECT_EQ(get.status, 200);
    EXPECT_EQ(get.headers.at("content-type"), "text/html; charset=utf-8");
    EXPECT_NE(get.headers.at("content-security-policy").find("default-src 'none'"), std::string::npos);
    const std::string head = Get("HEAD /standings");
    EXPECT_EQ(StatusOf(head), 200);
    EXPECT_EQ(head.substr(head.find("\r\n\r\n") + 4), "") << "HEAD carries no body";

    // A page asks again with its version: 304 until something is published.
    const std::string etag = get.headers.at("etag");
    EXPECT_EQ(test::HttpGet(Url("/standings"), {"If-None-Match: " + etag}).status, 304);
    m_data.table.SetCell(0, 2, ResultCell{3, ResultWin, 10, 0});
    m_data.table.SetCell(3, 2, ResultCell{0, ResultLoss, -10, 0});
    m_data.table.ComputeAll();
    m_server.Publish(m_data);
    const test::HttpReply fresh = test::HttpGet(Url("/standings"), {"If-None-Match: " + etag});
    EXPECT_EQ(fresh.status, 200);
    EXPECT_NE(fresh.headers.at("etag"), etag);
    EXPECT_NE(fresh.body.find("3勝 0敗 0分"), std::string::npos);
}

TEST_F(LiveServerTest, NoPathReachesAnythingButThePages)
{
    Start();
    for (const char* path :
         {"/../../../../etc/passwd", "/%2e%2e/%2e%2e/etc/passwd", "/..%2f..%2f..%2fetc%2fpasswd",
          "/player/..%2f..%2fetc%2fpasswd", "/%00", "/standings%00.html", "//etc/passwd",
          "/live.css/../../../etc/passwd", "/%2fetc%2fpasswd", "/player/1%2f..%2f..", "/C:/Windows/win.ini",
          "/round/1/../../../../proc/self/environ", "/api/../../etc/shadow", "/%252e%252e/"}) {
        const std::string answer = Get(std::string("GET ") + path);
        const int status = StatusOf(answer);
        EXPECT_TRUE(status == 404 || status == 400) << path << ": " << answer.substr(0, 80);
        EXPECT_EQ(answer.find("root:"), std::string::npos) << path;
    }
    EXPECT_EQ(StatusOf(Get("GET http://elsewhere.example/standings")) / 100, 4);
    EXPECT_EQ(StatusOf(Get("GET /standings?file=../../etc/passwd")), 200) << "a query is not part of the address";
    ExpectServing();
}

TEST_F(LiveServerTest, RefusesOversizedRequestsAndRequestsWithABody)
{
    ServerOptions options;
    options.maxHeaders = 32;
    options.idleTimeoutSeconds = 2; // the bytes that never end a request
    Start(options);
    std::string many = "GET /standings HTTP/1.1\r\nHost: x\r\n";
    for (int i = 0; i < 200; ++i)
        many += "X-" + std::to_string(i) + ": 1\r\n";
    // Each is refused with one of its codes, or dropped (0).
    const std::pair<std::string, std::vector<int>> refused[] = {
        {"GET /standings HTTP/1.1\r\nHost: x\r\nX-Big: " + std::string(200000, 'a') + "\r\n\r\n", {0, 413, 431}},
        {"GET /" + std::string(100000, 'x') + " HTTP/1.1\r\nHost: x\r\n\r\n", {0, 414, 431}},
        {many + "\r\n", {0, 431}},
        {"GET /standings HTTP/1.1\r\nHost: x\r\nContent-Length: 100000000\r\n\r\n" + std::string(10000, 'b'), {413}},
        {"GET / HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\nffffffff\r\n", {413, 400}},
    };
    for (const auto& [request, codes] : refused) {
        const int status = StatusOf(Exchange(m_port, request));
        EXPECT_NE(std::find(codes.begin(), codes.end(), status), codes.end())
            << status << ": " << request.substr(0, 60);
    }
    const int garbage = StatusOf(Exchange(m_port, std::string("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03", 11)));
    EXPECT_TRUE(garbage == 0 || garbage / 100 == 4) << garbage;
    ExpectServing();
}

TEST_F(LiveServerTest, ClosesSilentAndSlowClientsWhileServingOthers)
{
    ServerOptions options;
    options.idleTimeoutSeconds = 1;
    Start(options);
    const int silent = test::ConnectFrom(m_port);
    const int slow = test::ConnectFrom(m_port);
    ASSERT_GE(silent, 0);
    ASSERT_GE(slow, 0);
    ASSERT_EQ(send(slow, "GET /standings HTTP/1.1\r\nHo", 27, MSG_NOSIGNAL), 27);
    ExpectServing();
    EXPECT_TRUE(test::ClosedWithin(silent, 8000)) << "a connection that says nothing is closed";
    EXPECT_TRUE(test::ClosedWithin(slow, 8000)) << "a request that stops half way is closed";
    close(silent);
    close(slow);
    ExpectServing();
}

TEST_F(LiveServerTest, ThousandsOfHeldConnectionsNeitherCrashItNorLockOthersOut)
{
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    if (files.rlim_cur < 6000 && files.rlim_max >= 6000) {
        files.rlim_cur = 6000;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    if (files.rlim_cur < 6000)
        GTEST_SKIP() << "needs 6000 open files, may have " << files.rlim_cur;
    ServerOptions options;
    options.maxConnections = 512;
    options.maxConnectionsPerAddress = 64;
    options.idleTimeoutSeconds = 120;
    Start(options);

    // One address holding 2000 connections gets 64 of them; the others are
    // closed at once, and other addresses are served meanwhile.
    std::vector<int> held;
    for (int i = 0; i < 2000; ++i) {
        const int fd = test::ConnectFrom(m_port, "127.0.0.2");
        if (fd >= 0)
            held.push_back(fd);
    }
    // The server may take a while to accept and close them all.
    int open = static_cast<int>(held.size());
    for (int look = 0; look < 60 && open > 64; ++look)
        open = test::CountOpen(held, 250);
    EXPECT_LE(open, 64);
    ExpectServing("127.0.0.1");

    // Many addresses together fill the whole server: it keeps 512 of them,
    // closing the longest-waiting to make room, and a newcomer is served
    // while the crowd holds on; once the crowd leaves the server serves again.
    std::vector<int> crowd;
    for (int i = 0; i < 700; ++i) {
        const std::string from = "127.0." + std::to_string(2 + i / 250) + "." + std::to_string(1 + i % 250);
        const int fd = test::ConnectFrom(m_port, from.c_str());
        if (fd >= 0)
            crowd.push_back(fd);
    }
    EXPECT_LE(test::CountOpen(crowd, 500), 512);
    ExpectServing("127.0.9.1");
    for (int fd : held)
        close(fd);
    for (int fd : crowd)
        close(fd);
    EXPECT_TRUE(
        test::Eventually([&] { return StatusOf(Get("GET /", "127.0.0.1", 1000)) == 200; }, std::chrono::seconds(20)));

    // Stop wakes the server at once, full or not, instead of waiting for
    // its clients' idle timeout.
    const auto stopped = std::async(std::launch::async, [&] { m_server.Stop(); });
    EXPECT_EQ(stopped.wait_for(std::chrono::seconds(options.idleTimeoutSeconds / 2)), std::future_status::ready);
}

// A head sent a byte now and then no longer keeps its connection: it must be
// whole within headSeconds of the connection's start. And when slow clients
// hold every connection, the one waiting longest makes room for a newcomer.
TEST_F(LiveServerTest, ALateHeadIsClosedAndAFullServerMakesRoomForNewClients)
{
    ServerOptions options;
    options.headSeconds = 1;
    options.idleTimeoutSeconds = 30; // only the head's deadline may close the trickle
    options.maxConnections = 40;
    Start(options);
    const int trickle = test::ConnectFrom(m_port, "127.0.3.1");
    ASSERT_GE(trickle, 0);
    const auto start = std::chrono::steady_clock::now();
    const std::string head = "GET /standings HTTP/1.1\r\nHost: x\r\n";
    bool closed = false;
    for (size_t i = 0; i < head.size() && !closed; ++i) {
        closed = send(trickle, head.data() + i, 1, MSG_NOSIGNAL) != 1 || test::ClosedWithin(trickle, 300);
    }
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(closed || test::ClosedWithin(trickle, 3000)) << "a head still not whole is closed";
    EXPECT_LT(took, std::chrono::seconds(4));
    close(trickle);

    // 80 slow clients from 8 addresses, each a head begun and never ended.
    std::vector<int> slow;
    for (int i = 0; i < 80; ++i) {
        const std::string from = "127.0.4." + std::to_string(1 + i % 8);
        const int fd = test::ConnectFrom(m_port, from.c_str());
        if (fd >= 0 && send(fd, "GET / HTTP/1.1\r\n", 16, MSG_NOSIGNAL) == 16)
            slow.push_back(fd);
    }
    EXPECT_LE(test::CountOpen(slow, 300), 40);
    // Well before any of them reaches its deadline, a newcomer is served.
    const auto asked = std::chrono::steady_clock::now();
    ExpectServing("127.0.5.1");
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(900));
    for (int fd : slow)
        close(fd);
}

// Pages and JSON go compressed to a client that accepts gzip: the same bytes
// once inflated, an entity tag of their own, and Vary so that caches keep
// both. Every error of the API is JSON with its status.
TEST_F(LiveServerTest, AnswersCompressedWhenAcceptedAndApiErrorsAsJson)
{
    Start();
    const std::string plain = Get("GET /api/standings");
    const std::string packed =
        Exchange(m_port, "GET /api/standings HTTP/1.1\r\nHost: x\r\nAccept-Encoding: br, gzip;q=0.8\r\n"
                         "Connection: close\r\n\r\n");
    const auto headers = [](const std::string& answer) { return answer.substr(0, answer.find("\r\n\r\n")); };
    const auto body = [](const std::string& answer) { return answer.substr(answer.find("\r\n\r\n") + 4); };
    ASSERT_EQ(StatusOf(packed), 200);
    EXPECT_NE(headers(packed).find("Content-Encoding: gzip"), std::string::npos) << headers(packed);
    EXPECT_NE(headers(packed).find("Vary: Accept-Encoding"), std::string::npos);
    EXPECT_EQ(headers(plain).find("Content-Encoding"), std::string::npos);
    EXPECT_EQ(test::Gunzip(body(packed)), body(plain));
    EXPECT_LT(body(packed).size(), body(plain).size());
    const auto etag = [](const std::string& h) {
        const size_t at = h.find("ETag: ");
        return h.substr(at + 6, h.find("\r\n", at) - at - 6);
    };
    EXPECT_NE(etag(headers(packed)), etag(headers(plain)));
    for (const std::string& held : {etag(headers(packed)), etag(headers(plain))})
        EXPECT_EQ(StatusOf(Exchange(m_port, "GET /api/standings HTTP/1.1\r\nHost: x\r\nAccept-Encoding: gzip\r\n"
                                            "If-None-Match: "
                                                + held + "\r\nConnection: close\r\n\r\n")),
                  304)
            << held;
    const std::string refused = Exchange(m_port, "GET /api/standings HTTP/1.1\r\nHost: x\r\n"
                                                 "Accept-Encoding: gzip;q=0, identity\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(headers(refused).find("Content-Encoding"), std::string::npos);

    for (const auto& [request, status] :
         {std::pair{std::string("GET /api/player/0123456789ab"), 404}, std::pair{std::string("GET /api/nothing"), 404},
          std::pair{std::string("DELETE /api/standings"), 405}}) {
        const std::string answer = Get(request);
        EXPECT_EQ(StatusOf(answer), status) << request;
        EXPECT_NE(headers(answer).find("application/json"), std::string::npos) << request;
        const nlohmann::json error = nlohmann::json::parse(body(answer));
        EXPECT_TRUE(error["error"].is_string()) << request;
    }
    EXPECT_NE(headers(Get("GET /nothing")).find("text/html"), std::string::npos);
}

TEST_F(LiveServerTest, LimitsTheRequestRateOfEachAddressAlone)
{
    ServerOptions options;
    options.requestsPerSecond = 0.2; // however slow the machine, 20 requests outrun it
    options.requestBurst = 5;
    Start(options);
    int refused = 0;
    for (int i = 0; i < 20; ++i) {
        const int status = StatusOf(Get("GET /standings", "127.0.0.4"));
        refused += status == 429 ? 1 : 0;
        EXPECT_TRUE(status == 200 || status == 429) << status;
    }
    EXPECT_GE(refused, 10);
    ExpectServing("127.0.0.5");
}

// Clients read while versions are published as fast as possible: each
// answer is one whole version (its entity tag and the version inside agree)
// and Stop returns with clients still connected.
TEST_F(LiveServerTest, PublishingWhileClientsReadNeverMixesVersions)
{
    ServerOptions options;
    options.requestsPerSecond = 0;
    Start(options);
    std::atomic<bool> done{false};
    std::atomic<int> answers{0};
    std::atomic<int> mismatches{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < 4; ++c) {
        clients.emplace_back([&] {
            while (!done) {
                const test::HttpReply r = test::HttpGet(Url("/api/standings"));
                if (r.status != 200) {
                    ++mismatches;
                    continue;
                }
                const auto version = nlohmann::json::parse(r.body)["version"].get<std::string>();
                if (r.headers.at("etag") != "\"" + version + "\"")
                    ++mismatches;
                ++answers;
            }
        });
    }
    for (int v = 0; v < 300; ++v) {
        m_data.table.Entry(0).wins = v; // any change of the data
        m_server.Publish(m_data);
    }
    while (answers < 50)
        usleep(10000);
    done = true;
    for (std::thread& t : clients)
        t.join();
    EXPECT_EQ(mismatches, 0);

    const int lingering = test::ConnectFrom(m_port);
    m_server.Stop();
    EXPECT_FALSE(m_server.IsRunning());
    EXPECT_TRUE(test::ClosedWithin(lingering, 2000));
    close(lingering);
    EXPECT_EQ(test::ConnectFrom(m_port), -1) << "nothing listens after Stop";
}

} // namespace
} // namespace tabry::live
