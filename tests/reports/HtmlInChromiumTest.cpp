// Opens a generated HTML report in headless Chromium and checks the text the
// browser decoded: the page must declare Shift_JIS and be Shift_JIS, or a
// browser shows mojibake instead of the players' names.
#include "reports/HtmlReport.h"
#include "tests/reports/ReportFixture.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace tabry {
namespace {

const char* const kChromium = "/usr/bin/chromium";

class HtmlInChromiumTest : public ::testing::Test {
protected:
    void SetUp() override
    {
#if defined(_WIN32)
        GTEST_SKIP() << "the browser check runs on Linux";
#endif
        if (!std::filesystem::exists(kChromium))
            GTEST_SKIP() << kChromium
                         << " is not installed (./test.sh installs Debian's chromium); skipping the browser check";
        TournamentData d = test::SpringCup();
        WriteHtmlReport(d.table, d.info, d.players, m_page);
    }

    // The DOM Chromium builds from `bytes`, serialised as UTF-8.
    std::string DumpDom(const std::string& bytes, const std::string& name)
    {
        const std::filesystem::path page = m_tmp.Path() / (name + ".html");
        const std::filesystem::path dom = m_tmp.Path() / (name + ".dom");
        test::WriteAll(page, bytes);
        // A fresh profile per run, and nothing that reaches the network.
        const std::string command = std::string("timeout 120 ") + kChromium
                                    + " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
                                      " --disable-background-networking --disable-component-update --disable-sync"
                                      " --user-data-dir=\""
                                    + (m_tmp.Path() / ("profile-" + name)).string() + "\"" + " --dump-dom \"file://"
                                    + page.string() + "\" >\"" + dom.string() + "\" 2>\""
                                    + (m_tmp.Path() / (name + ".log")).string() + "\"";
        EXPECT_EQ(std::system(command.c_str()), 0) << "chromium failed; see " << name << ".log";
        return test::ReadAll(dom);
    }

    test::TempDir m_tmp;
    std::string m_page;
};

TEST_F(HtmlInChromiumTest, ShowsTheJapaneseTextOfTheReport)
{
    const std::string dom = DumpDom(m_page, "report");
    for (const char* visible : {
             "<b>春季大会</b>",
             "<th nowrap=\"\">順位</th>",
             "<th nowrap=\"\">3回戦</th>",
             "<td nowrap=\"\">山田 太郎</td>",
             "佐藤　花子",
             "ジョン・スミス",
             "○+12<br>佐藤",
             "○  0<br>不戦",
             "&nbsp;2勝 0敗 0分<br>+16",
             "Orlan氏作の TORVA</a> を用いて作成しました。",
         })
        EXPECT_NE(dom.find(visible), std::string::npos) << visible;
    EXPECT_EQ(dom.find("\xEF\xBF\xBD"), std::string::npos) << "the browser met bytes it could not decode";
}

// The same bytes declared as UTF-8 must not show the names: proof that the
// check above sees the browser's decoding and not the file's bytes.
TEST_F(HtmlInChromiumTest, TheDeclaredCharsetIsWhatMakesItReadable)
{
    std::string page = m_page;
    const std::string declared = "charset=Shift_JIS";
    const size_t at = page.find(declared);
    ASSERT_NE(at, std::string::npos);
    page.replace(at, declared.size(), "charset=UTF-8");
    const std::string dom = DumpDom(page, "mislabelled");
    EXPECT_EQ(dom.find("春季大会"), std::string::npos);
    EXPECT_NE(dom.find("\xEF\xBF\xBD"), std::string::npos);
}

} // namespace
} // namespace tabry
