// The standings page served on 127.0.0.1, open in headless Chromium: a
// result published afterwards appears on the open page without a reload,
// and a hostile name is shown as text.
#include "live/LiveServer.h"
#include "live/LiveSite.h"
#include "tests/live/ChromiumDriver.h"
#include "tests/live/LiveFixture.h"
#include "tests/support/TestSupport.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>

namespace tabry::live {
namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;
using test::CBrowser;
using test::kChromium;
const char* const kHostile = "<img src=x onerror=alert(1)>&\"田中\"";

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
