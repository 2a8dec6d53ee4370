#include "tests/live/ChromiumDriver.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <vector>

namespace tabry::test {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

CBrowser::CBrowser(const std::filesystem::path& profile)
{
    int toBrowser[2];
    int fromBrowser[2];
    if (pipe(toBrowser) != 0 || pipe(fromBrowser) != 0)
        return;
    std::vector<std::string> args = {kChromium,
                                     "--headless",
                                     "--no-sandbox",
                                     "--disable-gpu",
                                     "--disable-quic",
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

CBrowser::~CBrowser()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    close(m_out);
    close(m_in);
}

json CBrowser::Call(const std::string& method, json params)
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

bool CBrowser::Open(const std::string& url)
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

std::string CBrowser::Evaluate(const std::string& expression)
{
    const json r = Call("Runtime.evaluate", {{"expression", "String(" + expression + ")"}, {"returnByValue", true}});
    return r.is_object() && r.contains("result") ? r["result"].value("value", std::string()) : std::string();
}

} // namespace tabry::test
