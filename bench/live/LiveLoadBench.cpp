// A bounded load test of the live pages on 127.0.0.1: many phones polling
// the pages while the desk publishes changes. Prints requests per second,
// latency percentiles, errors (the goal is none) and how long a publication
// (the copy an edit makes for the pages) takes, alone and under the load.
//
//   live_load_bench [--clients 300] [--seconds 30] [--interval-ms 100]
//                   [--slow 0] [--slow-addresses 10] [--slow-byte-ms 8000]
//
// Every client polls as a page does, with the version it holds, from a
// loopback address of its own (127.1.x.y), so the server's per-address
// limits stay as they are in use. --interval-ms 0 polls back to back (and
// switches the per-address request limit off, which that would trip).
//
// --slow N adds an attack: N connections from --slow-addresses loopback
// addresses (127.2.0.x) that each send one byte of a request head every
// --slow-byte-ms and connect again whenever the server closes them. With
// --clients 1 it measures what an honest phone still gets.
#include "core/PlayerKeys.h"
#include "core/TournamentData.h"
#include "live/LiveServer.h"
#include "live/LiveSnapshot.h"

#include "bench/live/LoadClients.h"

#include <curl/curl.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using tabry::bench::Percentile;

using Clock = std::chrono::steady_clock;
using tabry::TournamentData;

// 512 players x 128 rounds (the largest table), twelve rounds played.
TournamentData LargestTournament()
{
    TournamentData d;
    d.table.Clear();
    d.table.Resize(tabry::kMaxPlayers, tabry::kMaxRounds);
    for (int r = 0; r < tabry::kMaxPlayers; ++r) {
        const std::string name = "Player " + std::to_string(r + 1);
        d.table.Entry(r).playerIndex =
            d.players.Add(name, "p" + std::to_string(r), name.substr(7), "Tokyo", 1 + r % 9, "");
    }
    std::mt19937 random(7);
    for (int j = 0; j < 12; ++j) {
        std::vector<int> rows(tabry::kMaxPlayers);
        for (int i = 0; i < tabry::kMaxPlayers; ++i)
            rows[static_cast<size_t>(i)] = i;
        std::shuffle(rows.begin(), rows.end(), random);
        for (size_t i = 0; i + 1 < rows.size(); i += 2) {
            const int disc = static_cast<int>(random() % 65) - 32;
            const std::int8_t result = disc > 0 ? 1 : disc < 0 ? -1 : 0;
            d.table.SetCell(rows[i], j, {rows[i + 1], result, static_cast<std::int8_t>(disc), 0});
            d.table.SetCell(rows[i + 1], j,
                            {rows[i], static_cast<std::int8_t>(-result), static_cast<std::int8_t>(-disc), 0});
        }
    }
    d.table.ComputeAll();
    return d;
}

struct Client {
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    std::string etag;
    std::string pendingEtag;
    std::string address;
    Clock::time_point next;
    bool busy = false;
};

struct Publications {
    std::vector<double> ms;
};

// Publishes a changed result every `everyMs`, timing each publication.
void Publish(tabry::live::CLiveServer& server, TournamentData& d, int count, int everyMs, std::atomic<bool>* stop,
             Publications& out)
{
    for (int i = 0; stop == nullptr ? i < count : !stop->load(); ++i) {
        tabry::ResultCell a = d.table.Cell(0, 0);
        tabry::ResultCell b = d.table.Cell(a.opponent, 0);
        a.disc = static_cast<std::int8_t>(i % 60 - 30);
        b.disc = static_cast<std::int8_t>(-a.disc);
        d.table.SetCell(b.opponent, 0, a);
        d.table.SetCell(a.opponent, 0, b);
        d.table.ComputeTotals(-1, -1);
        const auto t0 = Clock::now();
        server.Publish(d);
        out.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        std::this_thread::sleep_for(std::chrono::milliseconds(everyMs));
    }
}

// The slow attackers: connections that hold a slot by sending a byte of a
// request head now and then, connecting again as soon as they are closed.
class CSlowClients {
public:
    CSlowClients(std::uint16_t port, int count, int addresses, int byteMs)
        : m_port(port), m_byteMs(byteMs), m_fds(static_cast<size_t>(count), -1), m_next(m_fds.size())
    {
        for (int a = 0; a < addresses; ++a)
            m_addresses.push_back("127.2.0." + std::to_string(1 + a));
        m_thread = std::thread([this] { Run(); });
    }
    ~CSlowClients()
    {
        m_stop = true;
        m_thread.join();
        for (int fd : m_fds)
            if (fd >= 0)
                close(fd);
    }
    long Opened() const { return m_opened; }
    long ClosedByServer() const { return m_closed; }
    int Held() const { return m_held; }

private:
    int Connect(size_t i)
    {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (fd < 0)
            return -1;
        sockaddr_in local{};
        local.sin_family = AF_INET;
        inet_pton(AF_INET, m_addresses[i % m_addresses.size()].c_str(), &local.sin_addr);
        sockaddr_in server{};
        server.sin_family = AF_INET;
        server.sin_port = htons(m_port);
        inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
        if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0
            || (connect(fd, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0 && errno != EINPROGRESS)) {
            close(fd);
            return -1;
        }
        ++m_opened;
        return fd;
    }

    void Run()
    {
        static const char head[] = "GET /standings HTTP/1.1\r\nHost: x\r\nX-Slow: aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa";
        std::vector<size_t> sent(m_fds.size(), 0);
        while (!m_stop) {
            const auto now = Clock::now();
            int held = 0;
            for (size_t i = 0; i < m_fds.size(); ++i) {
                int& fd = m_fds[i];
                if (fd >= 0) {
                    char buf[512];
                    const ssize_t n = recv(fd, buf, sizeof buf, MSG_DONTWAIT);
                    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != ENOTCONN)) {
                        close(fd);
                        fd = -1;
                        ++m_closed;
                    }
                }
                if (fd < 0) {
                    fd = Connect(i);
                    sent[i] = 0;
                    m_next[i] = now;
                }
                if (fd >= 0 && now >= m_next[i]) {
                    // One more byte of a head that never ends.
                    if (send(fd, head + sent[i] % (sizeof head - 1), 1, MSG_NOSIGNAL | MSG_DONTWAIT) == 1)
                        ++sent[i];
                    m_next[i] = now + std::chrono::milliseconds(m_byteMs);
                }
                held += fd >= 0 ? 1 : 0;
            }
            m_held = held;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    std::uint16_t m_port;
    int m_byteMs;
    std::vector<std::string> m_addresses;
    std::vector<int> m_fds;
    std::vector<Clock::time_point> m_next;
    std::atomic<bool> m_stop{false};
    std::atomic<long> m_opened{0};
    std::atomic<long> m_closed{0};
    std::atomic<int> m_held{0};
    std::thread m_thread;
};

} // namespace

int main(int argc, char** argv)
{
    int clients = 300;
    int seconds = 30;
    int intervalMs = 100;
    int slow = 0;
    int slowAddresses = 10;
    int slowByteMs = 8000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        const int v = std::atoi(argv[i + 1]);
        if (a == "--clients")
            clients = std::clamp(v, 1, 2000);
        else if (a == "--seconds")
            seconds = std::clamp(v, 1, 600);
        else if (a == "--interval-ms")
            intervalMs = std::clamp(v, 0, 10000);
        else if (a == "--slow")
            slow = std::clamp(v, 0, 5000);
        else if (a == "--slow-addresses")
            slowAddresses = std::clamp(v, 1, 250);
        else if (a == "--slow-byte-ms")
            slowByteMs = std::clamp(v, 10, 60000);
    }

    TournamentData data = LargestTournament();
    tabry::live::CLiveServer server;
    tabry::live::ServerOptions options;
    options.bindAddress = "127.0.0.1";
    options.port = 0;
    if (intervalMs == 0)
        options.requestsPerSecond = 0;
    server.Publish(data);
    std::string error;
    if (!server.Start(options, &error)) {
        std::fprintf(stderr, "live_load_bench: %s\n", error.c_str());
        return 1;
    }
    const std::string base = "http://127.0.0.1:" + std::to_string(server.Port());
    const std::vector<std::string> paths = {"/standings", "/round", "/api/standings",
                                            "/player/" + tabry::PlayerKeys(data.table, data.players)[16]};
    std::unique_ptr<CSlowClients> attack;
    if (slow > 0) {
        attack = std::make_unique<CSlowClients>(server.Port(), slow, slowAddresses, slowByteMs);
        // Let the attack take the server's connections first.
        std::this_thread::sleep_for(std::chrono::seconds(3));
    }

    Publications idle;
    Publish(server, data, 50, 1, nullptr, idle);

    curl_global_init(CURL_GLOBAL_DEFAULT);
    CURLM* multi = curl_multi_init();
    curl_multi_setopt(multi, CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(clients));
    std::vector<Client> pool(static_cast<size_t>(clients));
    const auto start = Clock::now();
    for (size_t i = 0; i < pool.size(); ++i) {
        Client& c = pool[i];
        c.address = "host!127.1." + std::to_string(1 + i / 250) + "." + std::to_string(1 + i % 250);
        c.easy = tabry::bench::OpenPhone(c.address, &c.pendingEtag, &c);
        c.next = start + std::chrono::milliseconds(intervalMs == 0 ? 0 : static_cast<long>(i) * intervalMs / clients);
    }

    std::atomic<bool> stop{false};
    Publications loaded;
    std::thread desk([&] { Publish(server, data, 0, 500, &stop, loaded); });

    tabry::bench::Counts requests;
    const auto end = start + std::chrono::seconds(seconds);
    size_t turn = 0;
    while (true) {
        const auto now = Clock::now();
        const bool ending = now >= end;
        bool anyBusy = false;
        for (Client& c : pool) {
            if (!c.busy && !ending && now >= c.next) {
                tabry::bench::Arm(c.easy, c.headers, c.etag, base + paths[turn++ % paths.size()]);
                curl_multi_add_handle(multi, c.easy);
                c.busy = true;
            }
            anyBusy = anyBusy || c.busy;
        }
        if (ending && !anyBusy)
            break;
        int running = 0;
        curl_multi_perform(multi, &running);
        int queued = 0;
        while (CURLMsg* m = curl_multi_info_read(multi, &queued)) {
            if (m->msg != CURLMSG_DONE)
                continue;
            Client* c = nullptr;
            curl_easy_getinfo(m->easy_handle, CURLINFO_PRIVATE, &c);
            if (requests.Add(*m) == 200)
                c->etag = c->pendingEtag;
            curl_multi_remove_handle(multi, m->easy_handle);
            c->busy = false;
            c->next = Clock::now() + std::chrono::milliseconds(intervalMs);
        }
        curl_multi_poll(multi, nullptr, 0, 2, nullptr);
    }
    stop = true;
    desk.join();
    const int heldAtEnd = attack ? attack->Held() : 0;
    const long attackOpened = attack ? attack->Opened() : 0;
    const long attackClosed = attack ? attack->ClosedByServer() : 0;
    attack.reset();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    for (Client& c : pool) {
        curl_easy_cleanup(c.easy);
        curl_slist_free_all(c.headers);
    }
    curl_multi_cleanup(multi);
    curl_global_cleanup();
    server.Stop();

    const long total = requests.Total();
    std::printf("live pages on 127.0.0.1, %d x %d table, %d clients polling every %d ms for %d s\n", tabry::kMaxPlayers,
                tabry::kMaxRounds, clients, intervalMs, seconds);
    std::printf("  requests     %ld (%.0f per second): 200 %ld, 304 %ld, other status %ld, failed %ld\n", total,
                static_cast<double>(total) / elapsed, requests.ok, requests.notModified, requests.other,
                requests.failed);
    std::printf("  latency      p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", Percentile(requests.ms, 0.5),
                Percentile(requests.ms, 0.99), Percentile(requests.ms, 1.0));
    std::printf(
        "  publication  idle: p50 %.3f ms, max %.3f ms; under load (%zu): p50 %.3f ms, p99 %.3f ms, max %.3f ms\n",
        Percentile(idle.ms, 0.5), Percentile(idle.ms, 1.0), loaded.ms.size(), Percentile(loaded.ms, 0.5),
        Percentile(loaded.ms, 0.99), Percentile(loaded.ms, 1.0));
    if (slow > 0)
        std::printf("  slow attack  %d connections from %d addresses, a byte every %d ms: %ld opened, %ld closed by "
                    "the server, %d open at the end\n",
                    slow, slowAddresses, slowByteMs, attackOpened, attackClosed, heldAtEnd);
    std::printf("  errors       %ld\n", requests.other + requests.failed);
    return requests.other + requests.failed == 0 ? 0 : 1;
}
