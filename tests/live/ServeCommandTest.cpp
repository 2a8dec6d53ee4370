// torva-cli serve as a separate process: it serves the file, follows its
// changes on disk, keeps the last good state when the file turns bad, and
// stops cleanly on SIGTERM.
#include "tests/live/LiveFixture.h"
#include "text/FileIo.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <thread>

namespace tabry {
namespace {

using namespace std::chrono_literals;

std::string ReadText(const std::filesystem::path& p)
{
    std::string text;
    ReadFileBytes(p, text, 1 << 20);
    return text;
}

class ServeCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() / ("torva-serve-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_dir);
        m_file = m_dir / "event.stg";
    }
    void TearDown() override
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        std::filesystem::remove_all(m_dir);
    }

    void Write(TournamentData& data) { ASSERT_TRUE(WriteFileAtomically(m_file, data.Save())); }

    // Starts `torva-cli serve` and waits for the URL it prints.
    void Serve()
    {
        std::vector<std::string> args = {TORVA_CLI_PATH, "--db",      (m_dir / "none.db").string(),
                                         "serve",        "--port",    "0",
                                         "--bind",       "127.0.0.1", m_file.string()};
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const std::string outPath = (m_dir / "out").string();
        const std::string errPath = (m_dir / "err").string();
        m_pid = fork();
        if (m_pid == 0) {
            // The server goes when the test goes, even when the test crashes.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            dup2(open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
            dup2(open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
            execv(argv[0], argv.data());
            _exit(127);
        }
        ASSERT_GT(m_pid, 0);
        ASSERT_TRUE(test::Eventually([&] { return Out().find("http://127.0.0.1:") != std::string::npos; }))
            << Out() << Err();
        const std::string out = Out();
        const size_t at = out.find("http://127.0.0.1:");
        m_base = out.substr(at, out.find('/', at + 7) - at);
    }

    std::string Out() const { return ReadText(m_dir / "out"); }
    std::string Err() const { return ReadText(m_dir / "err"); }
    nlohmann::json Standings() const
    {
        const test::HttpReply r = test::HttpGet(m_base + "/api/standings");
        return r.status == 200 ? nlohmann::json::parse(r.body) : nlohmann::json();
    }

    std::filesystem::path m_dir;
    std::filesystem::path m_file;
    pid_t m_pid = -1;
    std::string m_base;
};

TEST_F(ServeCommandTest, FollowsTheFileKeepsTheLastGoodStateAndStopsOnSigterm)
{
    TournamentData data = test::SmallEvent();
    Write(data);
    Serve();
    ASSERT_EQ(Standings()["standings"][0]["shortName"], "山田");

    // 鈴木 wins round 3 after all, and the file is saved.
    data.table.SetCell(1, 2, ResultCell{2, ResultLoss, -20, 0});
    data.table.SetCell(2, 2, ResultCell{1, ResultWin, 20, 0});
    data.table.ComputeAll();
    Write(data);
    ASSERT_TRUE(test::Eventually([&] { return Standings()["standings"][4]["shortName"] == "佐藤"; }))
        << Standings().dump() << Err();
    const std::string good = Standings().dump();

    // A file cut off or replaced by something else changes nothing.
    ASSERT_TRUE(WriteFileAtomically(m_file, "not a tournament\r\n"));
    ASSERT_TRUE(test::Eventually([&] { return Err().find("still serving the last good state") != std::string::npos; }))
        << Err();
    EXPECT_EQ(Standings().dump(), good);
    ASSERT_TRUE(WriteFileAtomically(m_file, ""));
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(Standings().dump(), good);
    // A file that reads differently than it says, and one with a NUL byte:
    // each named with its line, neither published.
    std::string damaged = data.Save();
    damaged.erase(damaged.rfind(",0\r\n"), 2);
    ASSERT_TRUE(WriteFileAtomically(m_file, damaged));
    ASSERT_TRUE(test::Eventually([&] { return Err().find("player line has") != std::string::npos; })) << Err();
    EXPECT_EQ(Standings().dump(), good);
    std::string nul = data.Save();
    nul[nul.rfind("\r\n", nul.size() - 3) + 3] = '\0';
    ASSERT_TRUE(WriteFileAtomically(m_file, nul));
    ASSERT_TRUE(test::Eventually([&] { return Err().find("holds a NUL byte") != std::string::npos; })) << Err();
    EXPECT_EQ(Standings().dump(), good);

    kill(m_pid, SIGTERM);
    int status = 0;
    ASSERT_TRUE(test::Eventually([&] { return waitpid(m_pid, &status, WNOHANG) == m_pid; }, 10s));
    m_pid = -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_NE(Out().find("torva-cli: stopped"), std::string::npos);
    EXPECT_EQ(test::HttpGet(m_base + "/").status, 0) << "nothing listens any more";
}

// A copy that writes the file in place in pieces, pausing longer than the
// server waits for a file to settle: cut inside a line, cut at a line's end
// (rows missing), and whole. The pages only ever show the old state or the
// new one, and the server says once per cut that it keeps the old.
TEST_F(ServeCommandTest, AFileStillBeingWrittenIsNeverPublished)
{
    TournamentData data;
    data.table.Clear();
    data.table.Resize(60, 3);
    for (int r = 0; r < 60; ++r)
        data.table.Entry(r).playerIndex =
            data.players.Add("player" + std::to_string(r), "p" + std::to_string(r), "s" + std::to_string(r), "", 0, "");
    data.table.ComputeAll();
    data.info.name = "old";
    Write(data);
    Serve();
    data.info.name = "new";
    const std::string bytes = data.Save();

    std::atomic<bool> done{false};
    std::vector<std::pair<std::string, size_t>> seen; // name, players
    std::thread reader([&] {
        while (!done) {
            const nlohmann::json s = Standings();
            if (!s.is_null())
                seen.emplace_back(s["tournament"]["name"], s["standings"].size());
            std::this_thread::sleep_for(100ms);
        }
    });
    const size_t midLine = bytes.size() / 3 + 7;
    const size_t lineEnd = bytes.find("\r\n", 2 * bytes.size() / 3) + 2;
    {
        const int fd = open(m_file.c_str(), O_WRONLY | O_TRUNC);
        ASSERT_GE(fd, 0);
        size_t written = 0;
        for (const size_t upTo : {midLine, lineEnd, bytes.size()}) {
            ASSERT_EQ(write(fd, bytes.data() + written, upTo - written), static_cast<ssize_t>(upTo - written));
            written = upTo;
            std::this_thread::sleep_for(2500ms);
        }
        close(fd);
    }
    ASSERT_TRUE(test::Eventually([&] { return Standings()["tournament"]["name"] == "new"; })) << Err();
    done = true;
    reader.join();
    ASSERT_FALSE(seen.empty());
    for (const auto& [name, players] : seen)
        EXPECT_TRUE((name == "old" || name == "new") && players == 60u) << name << " with " << players << " players";
    const std::string err = Err();
    size_t complaints = 0;
    for (size_t at = err.find("still serving"); at != std::string::npos; at = err.find("still serving", at + 1))
        ++complaints;
    EXPECT_EQ(complaints, 2u) << err;
}

int RunCli(const std::string& args)
{
    const std::string command = std::string(TORVA_CLI_PATH) + " " + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ServeCommandTest, RefusesABadPortAFileThatIsNoTournamentAndAPortInUse)
{
    TournamentData data = test::SmallEvent();
    Write(data);
    const std::string db = "--db " + (m_dir / "none.db").string() + " ";
    EXPECT_EQ(RunCli(db + "serve --port 70000 " + m_file.string()), 2);
    EXPECT_EQ(RunCli(db + "serve --port 0 --bind not-an-address " + m_file.string()), 1);
    ASSERT_TRUE(WriteFileAtomically(m_dir / "bad.stg", "no tournament\r\n"));
    EXPECT_EQ(RunCli(db + "serve --port 0 " + (m_dir / "bad.stg").string()), 3);

    Serve();
    const std::string port = m_base.substr(m_base.rfind(':') + 1);
    EXPECT_EQ(RunCli(db + "serve --bind 127.0.0.1 --port " + port + " " + m_file.string()), 1);
}

} // namespace
} // namespace tabry
