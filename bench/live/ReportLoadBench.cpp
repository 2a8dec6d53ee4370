// The load of a round's results coming in from the phones: every board of
// the largest round (256 boards) reported by both its players within a
// minute, while 300 phones poll the pages and the desk accepts the agreed
// reports and publishes each one. Prints requests, latency percentiles and
// whether anything was lost (the goal: every report answered 200, every
// board's result in the table as reported, no request failed).
//
//   report_load_bench [--pollers 300] [--seconds 60] [--interval-ms 1000]
//
// Each phone, poller or reporter, uses a loopback address of its own
// (127.1.x.y and 127.3.x.y), so the per-address limits stay as in use.
#include "core/Boards.h"
#include "core/ReportCode.h"
#include "core/TournamentData.h"
#include "live/LiveServer.h"
#include "live/ReportInbox.h"

#include "bench/live/LoadClients.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using tabry::bench::Percentile;

using Clock = std::chrono::steady_clock;
using tabry::TournamentData;

constexpr int kPlayers = tabry::kMaxPlayers;
constexpr int kPlayed = 12;

// 512 players, twelve rounds played and the thirteenth paired: 256 boards
// wait for their results.
TournamentData PairedTournament()
{
    TournamentData d;
    d.table.Clear();
    d.table.Resize(kPlayers, 16);
    for (int r = 0; r < kPlayers; ++r) {
        const std::string name = "Player " + std::to_string(r + 1);
        d.table.Entry(r).playerIndex = d.players.Add(name, "p" + std::to_string(r), name.substr(7), "", 1, "");
    }
    std::mt19937 random(7);
    for (int j = 0; j <= kPlayed; ++j) {
        std::vector<int> rows(kPlayers);
        for (int i = 0; i < kPlayers; ++i)
            rows[static_cast<size_t>(i)] = i;
        std::shuffle(rows.begin(), rows.end(), random);
        for (size_t i = 0; i + 1 < rows.size(); i += 2) {
            const bool played = j < kPlayed;
            const int disc = played ? static_cast<int>(random() % 33) * 2 - 32 : 0;
            const std::int8_t result = !played ? tabry::ResultNone : disc > 0 ? 1 : disc < 0 ? -1 : 0;
            const auto mirrored = static_cast<std::int8_t>(played ? -result : tabry::ResultNone);
            d.table.SetCell(rows[i], j, {rows[i + 1], result, static_cast<std::int8_t>(disc), 0});
            d.table.SetCell(rows[i + 1], j, {rows[i], mirrored, static_cast<std::int8_t>(-disc), 0});
        }
    }
    d.table.ComputeAll();
    d.info.reportingKey = tabry::NewReportingKey();
    return d;
}

struct Phone {
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    std::string etag; // a poller's version, sent back as a page does
    std::string pendingEtag;
    std::string address;
    std::string form; // a reporter's form; empty for a poller
    Clock::time_point next;
    bool busy = false;
    bool done = false;
};

} // namespace

int main(int argc, char** argv)
{
    int pollers = 300;
    int seconds = 60;
    int intervalMs = 1000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        const int v = std::atoi(argv[i + 1]);
        if (a == "--pollers")
            pollers = std::clamp(v, 0, 2000);
        else if (a == "--seconds")
            seconds = std::clamp(v, 5, 600);
        else if (a == "--interval-ms")
            intervalMs = std::clamp(v, 50, 10000);
    }

    TournamentData data = PairedTournament();
    const std::vector<tabry::Board> boards = tabry::RoundBoards(data.table, kPlayed);
    auto inbox = std::make_shared<tabry::CReportInbox>();
    tabry::live::CLiveServer server;
    server.SetReportInbox(inbox);
    tabry::live::ServerOptions options;
    options.bindAddress = "127.0.0.1";
    options.port = 0;
    server.Publish(data);
    std::string error;
    if (!server.Start(options, &error)) {
        std::fprintf(stderr, "report_load_bench: %s\n", error.c_str());
        return 1;
    }
    const std::string base = "http://127.0.0.1:" + std::to_string(server.Port());

    // The desk: accepts what both players of a board agree on, enters it
    // and publishes, twice a second; what still waits at the end as well.
    std::mutex dataLock;
    std::atomic<bool> stop{false};
    std::vector<double> publishMs;
    std::map<int, std::pair<int, int>> entered; // by board
    const auto accept = [&](bool all) {
        for (const tabry::PendingReport& r : inbox->Pending()) {
            if (!all && r.state != tabry::PendingReport::State::Agreed)
                continue;
            if (!inbox->Accept(r.id))
                continue;
            const tabry::Board& b = *tabry::FindBoard(boards, r.board);
            const int disc = r.Disc();
            const std::int8_t result = disc > 0 ? 1 : disc < 0 ? -1 : 0;
            std::lock_guard<std::mutex> hold(dataLock);
            data.table.SetCell(b.left, kPlayed, {b.right, result, static_cast<std::int8_t>(disc), 0});
            data.table.SetCell(b.right, kPlayed,
                               {b.left, static_cast<std::int8_t>(-result), static_cast<std::int8_t>(-disc), 0});
            data.table.ComputeTotals(-1, -1);
            const auto t0 = Clock::now();
            server.Publish(data);
            publishMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            entered[r.board] = {r.first, r.second};
        }
    };
    std::thread desk([&] {
        while (!stop) {
            accept(false);
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
    });

    curl_global_init(CURL_GLOBAL_DEFAULT);
    CURLM* multi = curl_multi_init();
    std::vector<Phone> phones;
    const auto start = Clock::now();
    std::mt19937 random(19);
    const std::vector<std::string> paths = {"/round", "/api/round", "/standings"};
    for (int i = 0; i < pollers; ++i) {
        Phone p;
        p.address = "host!127.1." + std::to_string(1 + i / 250) + "." + std::to_string(1 + i % 250);
        p.next = start + std::chrono::milliseconds(static_cast<long>(i) * intervalMs / std::max(1, pollers));
        phones.push_back(p);
    }
    // Both players of every board, at random moments of the window; the
    // second player's report agrees with the first.
    std::map<int, std::pair<int, int>> reported;
    for (size_t k = 0; k < boards.size(); ++k) {
        const int number = boards[k].number;
        const int first = 33 + number % 31;
        reported[number] = {first, 64 - first};
        for (int side = 0; side < 2; ++side) {
            Phone p;
            const size_t n = 2 * k + static_cast<size_t>(side);
            p.address = "host!127.3." + std::to_string(1 + n / 250) + "." + std::to_string(1 + n % 250);
            p.form = "round=" + std::to_string(kPlayed + 1) + "&board=" + std::to_string(number)
                     + "&first=" + std::to_string(first) + "&second=" + std::to_string(64 - first)
                     + "&code=" + tabry::ReportCode(data.info.reportingKey, kPlayed + 1, number);
            p.next = start + std::chrono::milliseconds(random() % (static_cast<unsigned>(seconds) * 1000u));
            phones.push_back(p);
        }
    }
    for (Phone& p : phones) {
        p.easy = tabry::bench::OpenPhone(p.address, &p.pendingEtag, &p);
        if (!p.form.empty()) {
            curl_easy_setopt(p.easy, CURLOPT_URL, (base + "/report").c_str());
            curl_easy_setopt(p.easy, CURLOPT_COPYPOSTFIELDS, p.form.c_str());
            p.headers = curl_slist_append(nullptr, ("Origin: " + base).c_str());
            curl_easy_setopt(p.easy, CURLOPT_HTTPHEADER, p.headers);
        }
    }

    tabry::bench::Counts polls;
    tabry::bench::Counts reports;
    const auto end = start + std::chrono::seconds(seconds);
    size_t turn = 0;
    while (true) {
        const auto now = Clock::now();
        bool anyBusy = false;
        bool reportsLeft = false;
        for (Phone& p : phones) {
            const bool reporter = !p.form.empty();
            if (!p.busy && !p.done && now >= p.next && (reporter || now < end)) {
                if (!reporter)
                    tabry::bench::Arm(p.easy, p.headers, p.etag, base + paths[turn++ % paths.size()]);
                curl_multi_add_handle(multi, p.easy);
                p.busy = true;
            }
            anyBusy = anyBusy || p.busy;
            reportsLeft = reportsLeft || (reporter && !p.done);
        }
        if (now >= end && !anyBusy && !reportsLeft)
            break;
        int running = 0;
        curl_multi_perform(multi, &running);
        int queued = 0;
        while (CURLMsg* m = curl_multi_info_read(multi, &queued)) {
            if (m->msg != CURLMSG_DONE)
                continue;
            Phone* p = nullptr;
            curl_easy_getinfo(m->easy_handle, CURLINFO_PRIVATE, &p);
            if ((p->form.empty() ? polls : reports).Add(*m) == 200)
                p->etag = p->pendingEtag;
            curl_multi_remove_handle(multi, m->easy_handle);
            p->busy = false;
            p->done = !p->form.empty();
            p->next = Clock::now() + std::chrono::milliseconds(intervalMs);
        }
        curl_multi_poll(multi, nullptr, 0, 2, nullptr);
    }
    stop = true;
    desk.join();
    accept(true);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    for (Phone& p : phones) {
        curl_easy_cleanup(p.easy);
        curl_slist_free_all(p.headers);
    }
    curl_multi_cleanup(multi);
    curl_global_cleanup();
    server.Stop();

    // Nothing lost: every board entered once, with what its players sent.
    int lost = 0;
    for (const auto& [board, counts] : reported) {
        const auto it = entered.find(board);
        lost += it == entered.end() || it->second != counts ? 1 : 0;
    }
    const auto refusals = inbox->Counts();
    std::printf("reports on 127.0.0.1: %zu boards reported by both players within %d s, %d phones polling every "
                "%d ms (%.1f s in all)\n",
                boards.size(), seconds, pollers, intervalMs, elapsed);
    std::printf("  polls        %ld (%.0f per second): 200 %ld, 304 %ld, other %ld, failed %ld; p50 %.2f ms, p99 "
                "%.2f ms, max %.2f ms\n",
                polls.Total(), static_cast<double>(polls.Total()) / elapsed, polls.ok, polls.notModified, polls.other,
                polls.failed, Percentile(polls.ms, 0.5), Percentile(polls.ms, 0.99), Percentile(polls.ms, 1.0));
    std::printf("  reports      %ld: 200 %ld, other %ld, failed %ld; p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                reports.Total(), reports.ok, reports.other, reports.failed, Percentile(reports.ms, 0.5),
                Percentile(reports.ms, 0.99), Percentile(reports.ms, 1.0));
    std::printf("  inbox        received %llu, agreed %llu, refused %llu\n",
                static_cast<unsigned long long>(refusals[static_cast<size_t>(tabry::ReportOutcome::Received)]),
                static_cast<unsigned long long>(refusals[static_cast<size_t>(tabry::ReportOutcome::Agreed)]),
                static_cast<unsigned long long>(refusals[static_cast<size_t>(tabry::ReportOutcome::WrongCode)]
                                                + refusals[static_cast<size_t>(tabry::ReportOutcome::Limited)]
                                                + refusals[static_cast<size_t>(tabry::ReportOutcome::LockedOut)]
                                                + refusals[static_cast<size_t>(tabry::ReportOutcome::Invalid)]
                                                + refusals[static_cast<size_t>(tabry::ReportOutcome::Decided)]));
    std::printf("  desk         %zu boards entered and published: p50 %.3f ms, p99 %.3f ms per publication\n",
                entered.size(), Percentile(publishMs, 0.5), Percentile(publishMs, 0.99));
    std::printf("  lost         %d boards\n", lost);
    const bool sound = lost == 0 && reports.ok == reports.Total() && polls.failed == 0 && polls.other == 0;
    return sound ? 0 : 1;
}
