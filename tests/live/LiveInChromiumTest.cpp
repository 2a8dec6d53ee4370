// The standings page served on 127.0.0.1, open in headless Chromium: a
// result published afterwards appears on the open page without a reload,
// and a hostile name is shown as text. The browser is driven through the
// DevTools protocol over a pipe (--remote-debugging-pipe), which needs no
// port and reads the live DOM.
#include "live/LiveServer.h"
#include "live/LiveSite.h"
#include "tests/live/LiveFixture.h"
#include "tests/support/TestSupport.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace tabry::live {
namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;
const char* const kChromium = "/usr/bin/chromium";
const char* const kHostile = "<img src=x onerror=alert(1)>&\"田中\"";

class CBrowser {
public:
    explicit CBrowser(const std::filesystem::path& profile)
    {
        int toBrowser[2];
        int fromBrowser[2];
        if (pipe(toBrowser) != 0 || pipe(fromBrowser) != 0)
            return;
        std::vector<std::string> args = {kChromium,
                                         "--headless",
                                         "--no-sandbox",
                                         "--disable-gpu",
                                         "--disable-background-networking",
                                         "--disable-component-update",
                                         "--disable-sync",
                                         "--no-first-run",
                                         "--window-size=390,844",
                                         "--user-data-dir=" + profile.string(),
                                         "--remote-debugging-pipe",
                                         "about:blank"};
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const std::string log = profile.string() + ".log";
        m_pid = fork();
        if (m_pid == 0) {
            // The browser goes when the test goes, even when the test crashes.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            dup2(toBrowser[0], 3);
            dup2(fromBrowser[1], 4);
            const int quiet = open("/dev/null", O_WRONLY);
            const int logFile = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(quiet, 1);
            dup2(logFile, 2);
            execv(kChromium, argv.data());
            _exit(127);
        }
        close(toBrowser[0]);
        close(fromBrowser[1]);
        m_out = toBrowser[1];
        m_in = fromBrowser[0];
    }
    ~CBrowser()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        close(m_out);
        close(m_in);
    }

    // Sends a command (to the page's session once attached) and returns its
    // result, or null after 30 seconds.
    json Call(const std::string& method, json params)
    {
        json message = {{"id", ++m_id}, {"method", method}, {"params", std::move(params)}};
        if (!m_session.empty())
            message["sessionId"] = m_session;
        const std::string text = message.dump() + std::string(1, '\0');
        if (write(m_out, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            return nullptr;
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while (Clock::now() < deadline) {
            const size_t end = m_buffer.find('\0');
            if (end == std::string::npos) {
                pollfd p{m_in, POLLIN, 0};
                char buf[65536];
                if (poll(&p, 1, 100) > 0) {
                    const ssize_t n = read(m_in, buf, sizeof buf);
                    if (n <= 0)
                        return nullptr;
                    m_buffer.append(buf, static_cast<size_t>(n));
                }
                continue;
            }
            const json reply = json::parse(m_buffer.substr(0, end), nullptr, false);
            m_buffer.erase(0, end + 1);
            if (reply.is_object() && reply.value("id", -1) == m_id)
                return reply.contains("result") ? reply["result"] : json();
        }
        return nullptr;
    }

    bool Open(const std::string& url)
    {
        const json target = Call("Target.createTarget", {{"url", url}});
        if (!target.is_object())
            return false;
        const json attached = Call("Target.attachToTarget", {{"targetId", target["targetId"]}, {"flatten", true}});
        if (!attached.is_object())
            return false;
        m_session = attached["sessionId"];
        return true;
    }

    // The value of a JavaScript expression in the page, as a string.
    std::string Evaluate(const std::string& expression)
    {
        const json r =
            Call("Runtime.evaluate", {{"expression", "String(" + expression + ")"}, {"returnByValue", true}});
        return r.is_object() && r.contains("result") ? r["result"].value("value", std::string()) : std::string();
    }

    bool Started() const { return m_pid > 0; }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_in = -1;
    int m_id = 0;
    std::string m_session;
    std::string m_buffer;
};

TEST(LiveInChromiumTest, APublishedResultAppearsOnTheOpenPageWithoutAReload)
{
    if (!std::filesystem::exists(kChromium))
        GTEST_SKIP() << kChromium << " is not installed (./test.sh installs Debian's chromium); skipping";
    TournamentData data = test::SmallEvent();
    data.players.GetAt(5).m_longName = cp932::FromUtf8(kHostile);
    CLiveServer server;
    server.Publish(data);
    ServerOptions options;
    options.bindAddress = "127.0.0.1";
    options.port = 0;
    ASSERT_TRUE(server.Start(options));
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/standings";

    // The browser's helper processes may still be writing its profile as it
    // closes: the folder goes the way every test's scratch folder goes,
    // without failing the test over a file that vanished meanwhile.
    test::TempDir scratch;
    const std::filesystem::path profile = scratch / "profile";
    {
        CBrowser browser(profile);
        ASSERT_TRUE(browser.Started());
        ASSERT_TRUE(browser.Open(url)) << "see " << profile.string() << ".log";
        const std::string firstTag = server.Site()->Tag();
        const auto version = [&] {
            return browser.Evaluate("document.querySelector('main') && document.querySelector('main').dataset.version");
        };
        const auto shownNow = [&] {
            return browser.Evaluate("document.querySelector('main').innerText.includes('3勝 0敗 0分')") == "true";
        };
        ASSERT_TRUE(test::Eventually([&] { return version() == firstTag; }, std::chrono::seconds(60)));
        EXPECT_EQ(browser.Evaluate("document.querySelectorAll('img').length"), "0");
        EXPECT_EQ(browser.Evaluate(
                      "[...document.querySelectorAll('a')].some(a => a.textContent === " + json(kHostile).dump() + ")"),
                  "true");
        EXPECT_FALSE(shownNow());
        browser.Evaluate("window.keptAcrossUpdates = 'yes'");

        // 山田 wins his round-3 game: published while the page is open.
        data.table.SetCell(0, 2, ResultCell{3, ResultWin, 8, 0});
        data.table.SetCell(3, 2, ResultCell{0, ResultLoss, -8, 0});
        data.table.ComputeAll();
        const auto published = Clock::now();
        server.Publish(data);
        const bool shown = test::Eventually(shownNow, std::chrono::seconds(20));
        const auto seconds = std::chrono::duration<double>(Clock::now() - published).count();
        EXPECT_TRUE(shown) << "the open page never showed the new result";
        std::cout << "[ live ] the open page showed the new result after " << seconds << " s\n";
        EXPECT_EQ(browser.Evaluate("window.keptAcrossUpdates"), "yes") << "the page was reloaded";
        EXPECT_EQ(version(), server.Site()->Tag());
    }
}

} // namespace
} // namespace tabry::live
