#pragma once
// The web server of the live pages, on libmicrohttpd's own threads.
//
// The server never sees the tournament itself: Publish copies what the pages
// need into an immutable snapshot and swaps it in under a short lock, so a
// request never touches the table being edited and an edit never waits for a
// request. Only GET and HEAD are answered (405 otherwise), only the
// addresses of CLiveSite exist, and every resource a client can take is
// bounded: connections in all and per address, the size and header count of
// a request, requests per second per address, the time a request's head may
// take to arrive (counted from the connection's start or the end of its last
// answer, so that a byte now and then does not keep it), and the time a
// silent connection is kept. When every connection is taken, the one that
// has waited longest for a request head (or idled longest since its last
// answer) is closed to make room: slow clients cannot keep others out.
// Answers go gzip-compressed to clients that accept it, compressed once per
// publication; an error to an /api/ address is JSON.
//
// With a report inbox (SetReportInbox) and a reporting key in the
// tournament, the players report results: GET /report is a board's report
// page, and POST /report (the one request with a body: at most 1 KiB, a
// form as a browser sends it from this server's own page) hands a report
// to the inbox. Nothing a phone sends reaches anything but the inbox.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tabry {
struct TournamentData;
class CReportInbox;
} // namespace tabry

namespace tabry::live {

class CLiveSite;
class CLiveSnapshot;

struct ServerOptions {
    std::string bindAddress;   // "" or "::": every address (IPv6 and IPv4); "0.0.0.0": IPv4 only
    std::uint16_t port = 8080; // 0: any free port (see Port)
    unsigned maxConnections = 512;
    unsigned maxConnectionsPerAddress = 64;
    unsigned idleTimeoutSeconds = 10; // a connection silent this long, or idle this long after an answer, is closed
    unsigned headSeconds = 5;         // a request head must arrive within this from the connection's start
    std::size_t requestMemory = std::size_t{16} * 1024; // request line and headers of one request
    unsigned maxHeaders = 64;
    double requestsPerSecond = 20; // per client address; 0 switches the limit off
    double requestBurst = 60;
    unsigned threads = 2;
};

class CLiveServer {
public:
    CLiveServer();
    ~CLiveServer(); // stops the server
    CLiveServer(const CLiveServer&) = delete;
    CLiveServer& operator=(const CLiveServer&) = delete;

    // Starts listening; false with a reason when the address or port cannot
    // be used. A running server is stopped first.
    bool Start(const ServerOptions& options, std::string* error = nullptr);
    // Closes every connection and waits for the server's threads.
    void Stop();
    bool IsRunning() const;
    std::uint16_t Port() const; // the port listened on, 0 when stopped
    // The URLs players can open (see ServedUrls).
    std::vector<std::string> Urls() const;

    // Publishes the tournament as it is now; returns the new version.
    // Cheap enough for every edit (a copy of the table and of the records
    // of its players); may be called whether or not the server runs.
    std::uint64_t Publish(const TournamentData& data);
    void Publish(std::shared_ptr<const CLiveSnapshot> snapshot);
    // The site of the last publication (nullptr before the first).
    std::shared_ptr<const CLiveSite> Site() const;

    // Takes reports into `inbox` while the published tournament has a
    // reporting key; nullptr (the default) keeps the server read-only. Each
    // publication tells the inbox the current round and its boards.
    void SetReportInbox(std::shared_ptr<CReportInbox> inbox);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace tabry::live
