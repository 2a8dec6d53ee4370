// The live server over the platform's own sockets (Winsock on Windows, where
// the other live tests' libcurl is absent): a running server answers a
// plain HTTP request with the published players, refuses what is not GET,
// and stops listening on Stop; and the machine's addresses it offers in
// URLs are real ones, IPv4 first, neither loopback nor link-local.
#include "live/LiveServer.h"
#include "live/LocalAddresses.h"
#include "live/Sockets.h"
#include "tests/support/SmallTournaments.h"

#include <gtest/gtest.h>

#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace tabry::live {
namespace {

#ifdef _WIN32
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
void CloseSocket(Socket s)
{
    closesocket(s);
}
// Winsock must be started by each program; libmicrohttpd starts its own use.
struct WinsockUser {
    WinsockUser()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockUser() { WSACleanup(); }
} g_winsock;
#else
using Socket = int;
constexpr Socket kNoSocket = -1;
void CloseSocket(Socket s)
{
    close(s);
}
#endif

// Sends `request` to 127.0.0.1:port and returns all it gets back until the
// server closes ("" when nothing listens there).
std::string Exchange(std::uint16_t port, const std::string& request)
{
    const Socket s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == kNoSocket)
        return {};
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    std::string answer;
    if (connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) {
        send(s, request.data(), static_cast<int>(request.size()), 0);
        char buffer[4096];
        for (int got; (got = static_cast<int>(recv(s, buffer, sizeof buffer, 0))) > 0;)
            answer.append(buffer, static_cast<size_t>(got));
    }
    CloseSocket(s);
    return answer;
}

TEST(LiveServerSocketsTest, ServesThePublishedPlayersUntilStopped)
{
    TournamentData data = test::MakeTournament(6, 3, 4);
    CLiveServer server;
    server.Publish(data);
    ServerOptions options;
    options.bindAddress = "127.0.0.1";
    options.port = 0;
    std::string error;
    ASSERT_TRUE(server.Start(options, &error)) << error;
    const std::uint16_t port = server.Port();
    ASSERT_NE(port, 0);
    ASSERT_EQ(server.Urls(), std::vector<std::string>{"http://127.0.0.1:" + std::to_string(port) + "/"});

    const std::string get = Exchange(port, "GET /api/standings HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    ASSERT_EQ(get.rfind("HTTP/1.1 200", 0), 0u) << get;
    for (const char* name : {"p0", "p1", "p2", "p3"})
        EXPECT_NE(get.find(std::string("\"") + name + "\""), std::string::npos) << name << " in " << get;

    const std::string post = Exchange(port, "POST / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(post.rfind("HTTP/1.1 405", 0), 0u) << post;

    server.Stop();
    EXPECT_FALSE(server.IsRunning());
    EXPECT_EQ(Exchange(port, "GET / HTTP/1.1\r\nHost: x\r\n\r\n"), "");
}

TEST(LiveServerSocketsTest, LocalAddressesAreReachableOnesWithIpv4First)
{
    bool seenIpv6 = false;
    for (const std::string& a : LocalAddresses()) {
        const bool v4 = IsIpv4Address(a);
        ASSERT_TRUE(v4 || IsIpv6Address(a)) << a;
        EXPECT_FALSE(v4 && seenIpv6) << a << " after an IPv6 address";
        seenIpv6 = seenIpv6 || !v4;
        EXPECT_NE(a, "127.0.0.1");
        EXPECT_NE(a, "::1");
        EXPECT_NE(a.rfind("fe80:", 0), 0u) << a;
    }
}

} // namespace
} // namespace tabry::live
