// The live pages and the JSON API worked out from a snapshot: what they
// show, that no tournament text can become markup or break the JSON, which
// addresses exist, and that a snapshot stays as it was published.
#include "text/Cp932.h"
#include "live/LiveSite.h"
#include "live/LiveSnapshot.h"
#include "live/RateLimiter.h"
#include "live/WebText.h"
#include "tests/live/LiveFixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <random>

namespace tabry::live {
namespace {

using nlohmann::json;

std::string Body(const CLiveSite& site, std::string_view path)
{
    const std::optional<Route> route = ParsePath(path);
    EXPECT_TRUE(route && site.Exists(*route)) << path;
    return route && site.Exists(*route) ? *site.Get(*route).body : std::string();
}

CLiveSite SiteOf(const TournamentData& data, std::uint64_t version = 1)
{
    return CLiveSite(CLiveSnapshot::Make(data, version), "t-" + std::to_string(version));
}

// Every page and API answer of a site.
std::vector<std::string> AllAnswers(const CLiveSite& site, const TournamentData& data)
{
    std::vector<std::string> paths = {"/", "/standings", "/round", "/api/standings", "/api/round"};
    for (int n = 1; n <= data.table.RoundCount(); ++n)
        for (const char* p : {"/round/", "/api/round/"})
            paths.push_back(p + std::to_string(n));
    for (int r = 0; r < data.table.PlayerCount(); ++r)
        if (!data.table.Entry(r).IsEmpty())
            for (const char* p : {"/player/", "/api/player/"})
                paths.push_back(p + std::to_string(data.table.Entry(r).playerIndex));
    std::vector<std::string> bodies;
    for (const std::string& p : paths)
        bodies.push_back(Body(site, p));
    return bodies;
}

size_t CountOf(const std::string& text, char c)
{
    return static_cast<size_t>(std::count(text.begin(), text.end(), c));
}

TEST(LivePagesTest, ShowTheStandingsTheBoardsAndEachPlayersRounds)
{
    const TournamentData data = test::SmallEvent();
    const CLiveSite site = SiteOf(data);

    const json standings = json::parse(Body(site, "/api/standings"));
    EXPECT_EQ(standings["tournament"]["currentRound"], 3);
    std::vector<std::pair<int, std::string>> ranked;
    for (const json& row : standings["standings"])
        ranked.emplace_back(row["rank"], row["shortName"]);
    EXPECT_EQ(ranked, (std::vector<std::pair<int, std::string>>{
                          {1, "山田"}, {2, "高橋"}, {3, "佐藤"}, {4, "田中"}, {5, "鈴木"}}));
    EXPECT_EQ(standings["standings"][0]["points"], 2.0);
    EXPECT_EQ(standings["standings"][0]["tieBreaks"], json::array({"+16"}));
    EXPECT_EQ(standings["tieBreak"]["columns"], json::array({"石差"}));

    // Boards follow the standings before the round, each game once; the
    // round without a number is the current one.
    const json round = json::parse(Body(site, "/api/round"));
    ASSERT_EQ(round["boards"].size(), 2u);
    const json& first = round["boards"][0]["players"];
    EXPECT_EQ(first[0]["name"], "山田 太郎");
    EXPECT_EQ(first[1]["name"], "高橋 健");
    EXPECT_EQ(first[1]["result"], "");
    EXPECT_EQ(round["boards"][1]["players"][0]["result"], "×-20");
    EXPECT_EQ(round["boards"][1]["players"][1]["result"], "○+20");
    EXPECT_EQ(round["byes"][0]["name"], "田中 美咲");
    EXPECT_EQ(json::parse(Body(site, "/api/round/1"))["unpaired"][0]["name"], "田中 美咲");

    const json sato = json::parse(Body(site, "/api/player/2"));
    ASSERT_EQ(sato["rounds"].size(), 3u);
    EXPECT_EQ(sato["rounds"][0]["opponent"]["name"], "山田 太郎");
    EXPECT_EQ(sato["rounds"][0]["result"], "loss");
    EXPECT_EQ(sato["rounds"][2]["score"], "+20");
    EXPECT_EQ(sato["rounds"][2]["points"], 1.0);
    const json tanaka = json::parse(Body(site, "/api/player/5"));
    EXPECT_TRUE(tanaka["rounds"][0]["opponent"].is_null());
    EXPECT_EQ(tanaka["rounds"][2]["opponent"]["bye"], true);

    const std::string page = Body(site, "/standings");
    EXPECT_NE(page.find("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"), std::string::npos);
    EXPECT_NE(page.find("<main data-version=\"t-1\">"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"/player/1\">山田 太郎</a><small>三段 2勝 0敗 0分</small>"), std::string::npos);
    EXPECT_NE(Body(site, "/player/1").find("<small>対局中</small>"), std::string::npos)
        << "round 3 waits for its result";
}

// Hostile bytes in every text the tournament carries: the pages keep the
// markup of a harmless tournament exactly, and the JSON gives the text back.
TEST(LivePagesTest, NoTournamentTextBecomesMarkupOrBreaksTheJson)
{
    std::mt19937 random(12);
    const std::string alphabet = std::string("<>&\"'\\/;:=`\r\n\t\x01\x7F abc") + "\x82\xA0\x83\x40\x81\x5C\xFC\xFC\xE0";
    for (int trial = 0; trial < 60; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        std::vector<std::string> texts;
        for (int k = 0; k < 9; ++k) {
            std::string t;
            const int length = static_cast<int>(random() % 24);
            for (int i = 0; i < length; ++i)
                t += alphabet[random() % alphabet.size()];
            texts.push_back(k == 0 ? "<script>alert(\"x&y\")</script>" + t : t);
        }
        TournamentData hostile = test::SmallEvent();
        TournamentData plain = test::SmallEvent();
        for (int p = 1; p <= 5; ++p) {
            CPlayerRecord& h = hostile.players.GetAt(p);
            h.m_longName = texts[static_cast<size_t>(p - 1)];
            h.m_shortName = texts[static_cast<size_t>(p)];
            h.m_residence = texts[static_cast<size_t>(p + 1)];
            CPlayerRecord& q = plain.players.GetAt(p);
            q.m_longName = q.m_shortName = q.m_residence = "x";
        }
        hostile.info.name = texts[8];
        plain.info.name = "x";

        const CLiveSite hostileSite = SiteOf(hostile);
        const std::vector<std::string> bad = AllAnswers(hostileSite, hostile);
        const std::vector<std::string> good = AllAnswers(SiteOf(plain), plain);
        ASSERT_EQ(bad.size(), good.size());
        for (size_t i = 0; i < bad.size(); ++i) {
            if (bad[i].rfind("{", 0) == 0) {
                EXPECT_TRUE(json::accept(bad[i])) << bad[i];
                continue;
            }
            for (const char c : {'<', '>', '"', '\''})
                EXPECT_EQ(CountOf(bad[i], c), CountOf(good[i], c)) << "'" << c << "' in " << bad[i];
        }
        const json standings = json::parse(Body(hostileSite, "/api/standings"));
        EXPECT_EQ(standings["tournament"]["name"], cp932::ToUtf8(texts[8]));
        for (const json& row : standings["standings"]) {
            const int p = row["id"];
            EXPECT_EQ(row["name"], cp932::ToUtf8(texts[static_cast<size_t>(p - 1)]));
            EXPECT_EQ(row["residence"], cp932::ToUtf8(texts[static_cast<size_t>(p + 1)]));
        }
    }
}

TEST(LivePagesTest, EscapingReplacesMalformedUtf8AndControls)
{
    EXPECT_EQ(HtmlText("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&#39;");
    EXPECT_EQ(HtmlText("\xC0\xAF\xED\xA0\x80\x01\xE3\x81"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"
                                                          "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    std::string j;
    AppendJsonString(j, "</script>\"\\\x01\xE2\x80\xA8\xF0\x9F\x98\x80\xFF");
    EXPECT_EQ(j, "\"\\u003c/script\\u003e\\\"\\\\\\u0001\\u2028\xF0\x9F\x98\x80\xEF\xBF\xBD\"");
}

TEST(LivePagesTest, OnlyThePagesOfTheTournamentHaveAnAddress)
{
    const TournamentData data = test::SmallEvent();
    const CLiveSite site = SiteOf(data);
    for (const char* exists : {"/", "/standings", "/round", "/round/1", "/round/3", "/player/1", "/player/5",
                               "/api/standings", "/api/round", "/api/round/2", "/api/player/3", "/live.css", "/live.js"}) {
        const std::optional<Route> route = ParsePath(exists);
        EXPECT_TRUE(route && site.Exists(*route)) << exists;
    }
    for (const char* missing : {"/round/0", "/round/4", "/player/0", "/player/6", "/player/999999999"}) {
        const std::optional<Route> route = ParsePath(missing);
        EXPECT_TRUE(!route || !site.Exists(*route)) << missing;
    }
    for (const char* malformed :
         {"", "//", "/index.html", "/standings/", "/round/", "/round/01", "/round/+1", "/round/-1", "/round/1/",
          "/round/1e3", "/player/", "/player/1234567890", "/player/1 ", "/player/1/../2", "/../etc/passwd",
          "/live.css/../../etc/passwd", "/api/", "/api/live.css", "/api", "/API/standings"}) {
        EXPECT_FALSE(ParsePath(malformed).has_value()) << malformed;
    }
    EXPECT_FALSE(ParsePath(std::string_view("/standings\0x", 12)).has_value());
}

TEST(LivePagesTest, APublishedSnapshotIgnoresLaterEditsAndKeepsThePlayersNumbers)
{
    TournamentData data = test::SmallEvent();
    const CLiveSite site = SiteOf(data);
    const std::string before = Body(site, "/api/standings");

    data.table.Sort(DiscDifference, false);
    data.table.SetCell(0, 2, ResultCell{NoOpponent, ResultDraw, 0, 0});
    data.players.GetAt(1).m_longName = "changed";
    data.info.name = "changed";
    EXPECT_EQ(Body(site, "/api/standings"), before);

    // After the sort the rows moved, the numbers stayed.
    const CLiveSite later = SiteOf(data, 2);
    EXPECT_EQ(json::parse(Body(later, "/api/player/2"))["shortName"], "佐藤");
    EXPECT_EQ(json::parse(Body(later, "/api/player/1"))["name"], "changed");
}

TEST(RateLimiterTest, RefillsAtItsRateAndStaysBoundedInAddresses)
{
    using namespace std::chrono_literals;
    CRateLimiter limiter(2.0, 3.0, 4);
    const auto t0 = CRateLimiter::Clock::time_point{} + 100s;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(limiter.Allow("a", t0));
    EXPECT_FALSE(limiter.Allow("a", t0));
    EXPECT_TRUE(limiter.Allow("b", t0)) << "another address has its own bucket";
    EXPECT_FALSE(limiter.Allow("a", t0 + 400ms));
    EXPECT_TRUE(limiter.Allow("a", t0 + 500ms)) << "two requests a second";

    for (int i = 0; i < 100; ++i)
        limiter.Allow("client" + std::to_string(i), t0 + 1s);
    EXPECT_LE(limiter.TrackedAddresses(), 4u);
    CRateLimiter off(0, 1);
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(off.Allow("a", t0));
}

} // namespace
} // namespace tabry::live
