#pragma once
// Headless Chromium at a phone's size, driven through the DevTools protocol
// over a pipe (--remote-debugging-pipe): no port, and the live DOM can be
// read and scripted. The browser is killed with the test, even when the
// test crashes.

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace tabry::test {

inline const char* const kChromium = "/usr/bin/chromium";

class CBrowser {
public:
    // `profile`: a new empty folder for the browser's profile (its log is
    // written beside it, "<profile>.log").
    explicit CBrowser(const std::filesystem::path& profile);
    ~CBrowser();
    CBrowser(const CBrowser&) = delete;
    CBrowser& operator=(const CBrowser&) = delete;

    // Sends a command (to the page's session once attached) and returns its
    // result, or null after 30 seconds.
    nlohmann::json Call(const std::string& method, nlohmann::json params);
    // Opens `url` in a new tab and attaches to it.
    bool Open(const std::string& url);
    // The value of a JavaScript expression in the page, as a string.
    std::string Evaluate(const std::string& expression);

    bool Started() const { return m_pid > 0; }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_in = -1;
    int m_id = 0;
    std::string m_session;
    std::string m_buffer;
};

} // namespace tabry::test
