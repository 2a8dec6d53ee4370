// serve: the live pages of a tournament file on the network, following the
// file as it changes on disk (a second machine at the venue, or tests).
#include "cli/Cli.h"

#include "cli/Messages.h"
#include "text/FileIo.h"

#include "live/LiveServer.h"

#include <csignal>
#include <pthread.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace tabry::cli {

namespace {

// How often the file is looked at. A change is loaded once the file's time
// and size have stayed the same for kQuietLooks looks, and published only
// when it reads whole (see RunServe), so a file still being written never
// reaches the phones.
constexpr long kLookMilliseconds = 500;
constexpr int kQuietLooks = 2;

struct FileStamp {
    std::filesystem::file_time_type time{};
    std::uintmax_t size = 0;
    bool exists = false;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp Stamp(const std::filesystem::path& path)
{
    std::error_code ec;
    FileStamp s;
    s.time = std::filesystem::last_write_time(path, ec);
    if (ec)
        return s;
    s.size = std::filesystem::file_size(path, ec);
    s.exists = !ec;
    return s;
}

// Blocks SIGINT and SIGTERM in this thread and every thread it starts, so
// that only WaitForStop sees them.
sigset_t BlockStopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    return set;
}

// Waits up to `milliseconds` for a stop signal; true when one came.
bool WaitForStop(const sigset_t& set, long milliseconds)
{
    timespec wait{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    const int got = sigtimedwait(&set, nullptr, &wait);
    return got == SIGINT || got == SIGTERM;
}

int RunServe(Context& ctx, const CommandLine& cl)
{
    live::ServerOptions options;
    if (const std::string* port = cl.Get("--port")) {
        const std::optional<long long> p = ParseIntegerOption(*port);
        if (!p || *p < 0 || *p > 65535)
            return UsageError("--port needs a number from 0 to 65535");
        options.port = static_cast<std::uint16_t>(*p);
    }
    if (const std::string* bind = cl.Get("--bind"))
        options.bindAddress = *bind;

    if (!LoadTournament(ctx, cl))
        return kExitBadInput;
    // The pages would show the players what could be read of a damaged
    // file as if it were the tournament.
    if (!ctx.findings.empty()) {
        LoadReport damaged;
        damaged.status = LoadStatus::Damaged;
        std::cerr << "torva-cli: not served: " << LoadFailureText(cl.input, damaged) << "\n";
        return kExitBadInput;
    }
    const sigset_t stopSignals = BlockStopSignals();

    live::CLiveServer server;
    server.Publish(ctx.editor.Data());
    std::string error;
    if (!server.Start(options, &error)) {
        std::cerr << "torva-cli: " << error << "\n";
        return kExitWriteFailed;
    }
    std::cout << "torva-cli: serving " << cl.input.string() << " at\n";
    for (const std::string& url : server.Urls())
        std::cout << "  " << url << "\n";
    std::cout << "(Ctrl+C stops)" << std::endl;

    // A new state is loaded once the file has stopped changing for a few
    // looks, so that a copy in progress is not taken for the tournament. A
    // file whole at the start is expected to stay so: a later state cut at a
    // line end before its last rows reads without a finding (other writers
    // may leave trailing empty rows out) but is a copy still under way.
    const bool strict = ctx.whole;
    FileStamp seen = Stamp(cl.input);
    FileStamp tried = seen; // the last state loaded, good or not
    int quiet = 0;
    while (!WaitForStop(stopSignals, kLookMilliseconds)) {
        const FileStamp now = Stamp(cl.input);
        if (!(now == seen)) {
            seen = now;
            quiet = 0;
            continue;
        }
        if (++quiet < kQuietLooks || now == tried || !now.exists)
            continue;
        tried = now;
        // The same loading path as every command; on failure, and for a
        // file that cannot be read as it is written (one still being
        // written ends inside a line or before its last row), the data and
        // so the pages stay as they were.
        LoadReport report;
        const LoadStatus status = ctx.editor.LoadFile(cl.input, &report, DamagePolicy::Refuse);
        if (status == LoadStatus::Ok && strict && !report.whole) {
            std::cerr << "torva-cli: " << cl.input.string()
                      << " ends before its last row; still serving the last good state\n";
        } else if (status == LoadStatus::Ok) {
            server.Publish(ctx.editor.Data());
            std::cout << "torva-cli: reloaded " << cl.input.string() << std::endl;
        } else {
            WarnFindings(cl.input, report.findings);
            std::cerr << "torva-cli: " << LoadFailureText(cl.input, report) << "; still serving the last good state\n";
        }
    }
    server.Stop();
    std::cout << "torva-cli: stopped" << std::endl;
    return kExitOk;
}

} // namespace

const Command kServeCommand = ServeCommandWith(RunServe);

} // namespace tabry::cli
