#pragma once
// Small tournaments for the live tests, and plain HTTP helpers: libcurl for
// ordinary requests, raw sockets for the requests no well-behaved client
// would send.

#include "core/TournamentData.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tabry::test {

// Five players in six rows, three rounds: rounds 1 and 2 played, round 3
// paired with one result in and a bye for the latecomer.
TournamentData SmallEvent();

struct HttpReply {
    long status = 0;                            // 0: no answer
    std::map<std::string, std::string> headers; // names in lower case
    std::string body;
};

// GET (or HEAD) with extra header lines ("If-None-Match: ...").
HttpReply HttpGet(const std::string& url, const std::vector<std::string>& headers = {}, bool head = false);

// A loopback port nobody listens on just now (the kernel's next ephemeral one).
int FreePort();
// A TCP connection to 127.0.0.1:port from the local address `from` (any
// 127.x.y.z), or -1.
int ConnectFrom(std::uint16_t port, const char* from = "127.0.0.1");
// Sends `request` and reads until the server closes or `timeoutMs` passes.
std::string Exchange(std::uint16_t port, const std::string& request, int timeoutMs = 5000,
                     const char* from = "127.0.0.1");
// The status code of a raw answer ("HTTP/1.1 404 ..."), 0 when there is none.
int StatusOf(const std::string& answer);
// Whether the server has closed the socket (reads until EOF or `timeoutMs`).
bool ClosedWithin(int fd, int timeoutMs);
// How many of the sockets the server has not closed, `settleMs` from now.
int CountOpen(const std::vector<int>& fds, int settleMs);

// The bytes of a gzip member, inflated (empty when they are none).
std::string Gunzip(const std::string& packed);

// Asks `done` every 50 ms until it holds or `limit` has passed.
template <class Predicate>
bool Eventually(Predicate done, std::chrono::milliseconds limit = std::chrono::seconds(15))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

} // namespace tabry::test
