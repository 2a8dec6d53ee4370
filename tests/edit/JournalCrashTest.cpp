// The crash journal under real kills: a child process makes random changes
// with the journal on and is killed with SIGKILL at random moments. Each
// time the next start must find the child's recovery file, and it must hold
// the state after the last change the child completed (or after the one it
// was in the middle of, if that one's write was done): never older, never
// damaged.

#include "edit/RecoveryJournal.h"
#include "edit/TournamentEditor.h"
#include "tests/support/RandomEdits.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <thread>

extern char** environ;

namespace tabry {
namespace {

constexpr int kChanges = 120;

// The saved bytes after each number of changes of a run with `seed`.
std::vector<std::string> Replay(std::uint32_t seed)
{
    CTournamentEditor editor(test::CRandomEdits::Start(12, 5, 16));
    test::CRandomEdits edits(seed, 16, 7);
    std::vector<std::string> states{editor.Save()};
    for (int i = 1; i <= kChanges; ++i) {
        edits.Apply(editor);
        states.push_back(editor.Save());
    }
    return states;
}

// Starts the child with its standard output on a pipe; returns its pid.
pid_t StartChild(const std::filesystem::path& folder, std::uint32_t seed, int& out)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const std::string folderText = folder.string();
    const std::string seedText = std::to_string(seed);
    const std::string changes = std::to_string(kChanges);
    char* argv[] = {const_cast<char*>(JOURNAL_CHILD), const_cast<char*>(folderText.c_str()),
                    const_cast<char*>(seedText.c_str()), const_cast<char*>(changes.c_str()), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, JOURNAL_CHILD, &actions, nullptr, argv, environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out = fds[0];
    return pid;
}

// Reads whole lines from the pipe until `until` changes were reported (or
// the pipe ends); returns the last number read.
int ReadReports(int fd, int until, std::string& pending)
{
    int last = 0;
    char buf[256];
    while (last < until) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        pending.append(buf, static_cast<size_t>(n));
        size_t eol;
        while ((eol = pending.find('\n')) != std::string::npos) {
            last = std::atoi(pending.substr(0, eol).c_str());
            pending.erase(0, eol + 1);
        }
    }
    return last;
}

TEST(JournalCrashTest, AKilledRunLeavesTheStateOfItsLastCompletedChange)
{
    std::mt19937 rng(20261207);
    int checked = 0;
    for (int run = 0; run < 200; ++run) {
        const std::uint32_t seed = rng() % 8; // few seeds: their replays are kept
        static std::map<std::uint32_t, std::vector<std::string>> replays;
        if (!replays.count(seed))
            replays[seed] = Replay(seed);
        const std::vector<std::string>& states = replays[seed];

        test::TempDir dir;
        int out = -1;
        const pid_t pid = StartChild(dir.Path(), seed, out);
        ASSERT_GT(pid, 0);
        // Killed after a random number of reports, sometimes a moment later
        // so that the kill also lands inside a write.
        std::string pending;
        int last = ReadReports(out, static_cast<int>(rng() % kChanges) + 1, pending);
        if (rng() % 2 == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % 3000));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        // Whatever the child printed before it died counts too.
        const int drained = ReadReports(out, kChanges + 1, pending);
        last = std::max(last, drained);
        close(out);
        if (!WIFSIGNALED(status))
            continue; // it finished before the kill: nothing to learn
        ++checked;
        SCOPED_TRACE("run " + std::to_string(run) + ", seed " + std::to_string(seed) + ", last change "
                     + std::to_string(last));

        const std::vector<RecoveryFile> orphans = CRecoveryJournal::FindOrphans(dir.Path());
        const std::string& done = states[static_cast<size_t>(last)];
        const std::string& next = states[static_cast<size_t>(std::min(last + 1, kChanges))];
        if (orphans.empty()) { // no journal: the state equalled the opened one
            EXPECT_TRUE(done == states[0] || next == states[0]);
            continue;
        }
        ASSERT_EQ(orphans.size(), 1u);
        EXPECT_EQ(orphans[0].document, std::filesystem::path("/venue/大会 2026/第1回,決勝%.stg"));
        std::string bytes;
        ASSERT_TRUE(CRecoveryJournal::Read(orphans[0].path, bytes));
        CTournamentEditor recovered(test::CRandomEdits::Start(12, 5, 16));
        ASSERT_EQ(recovered.Restore(bytes), LoadStatus::Ok);
        const std::string got = recovered.Save();
        EXPECT_TRUE(got == done || got == next) << "recovered:\n" << test::U(got) << "\nlast completed:\n"
                                                << test::U(done);
    }
    // Most runs must really have been killed mid-way.
    EXPECT_GT(checked, 150);
}

} // namespace
} // namespace tabry
#endif
