// The live pages and the JSON API worked out from a snapshot: what they
// show, that no tournament text can become markup or break the JSON, which
// addresses exist, and that a snapshot stays as it was published.
#include "core/PlayerKeys.h"
#include "live/LiveSite.h"
#include "live/LiveSnapshot.h"
#include "live/RateLimiter.h"
#include "live/WebText.h"
#include "tests/live/LiveFixture.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
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

// The address key of the player with this database index.
std::string KeyOf(const TournamentData& data, int playerIndex)
{
    return PlayerKeys(data.table, data.players)[static_cast<size_t>(data.table.FindRowOfPlayer(playerIndex))];
}

// Every page and API answer of a site.
std::vector<std::string> AllAnswers(const CLiveSite& site, const TournamentData& data)
{
    std::vector<std::string> paths = {"/", "/standings", "/round", "/api/standings", "/api/round"};
    for (int n = 1; n <= data.table.RoundCount(); ++n)
        for (const char* p : {"/round/", "/api/round/"})
            paths.push_back(p + std::to_string(n));
    for (const std::string& key : PlayerKeys(data.table, data.players))
        if (!key.empty())
            for (const char* p : {"/player/", "/api/player/"})
                paths.push_back(p + key);
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
    EXPECT_EQ(standings["standings"][0]["tieBreaks"], json::array({16}));
    EXPECT_EQ(standings["standings"][0]["tieBreakTexts"], json::array({"+16"}));
    EXPECT_EQ(standings["tieBreak"]["columns"], json::array({"石差"}));
    EXPECT_EQ(standings["after"]["text"], "3回戦途中");

    // Boards follow the standings before the round, each game once; the
    // round without a number is the current one.
    const json round = json::parse(Body(site, "/api/round"));
    ASSERT_EQ(round["boards"].size(), 2u);
    const json& first = round["boards"][0]["players"];
    EXPECT_EQ(round["boards"][0]["board"], 1);
    EXPECT_EQ(first[0]["name"], "山田 太郎");
    EXPECT_EQ(first[0]["points"], 2.0);
    EXPECT_EQ(first[1]["name"], "高橋 健");
    EXPECT_EQ(first[1]["result"], json({{"mark", "none"}, {"disc", nullptr}, {"text", ""}}));
    EXPECT_EQ(round["boards"][1]["players"][0]["result"], json({{"mark", "loss"}, {"disc", -20}, {"text", "×-20"}}));
    EXPECT_EQ(round["boards"][1]["players"][1]["result"]["text"], "○+20");
    EXPECT_EQ(round["byes"][0]["name"], "田中 美咲");
    EXPECT_EQ(json::parse(Body(site, "/api/round/1"))["unpaired"][0]["name"], "田中 美咲");

    const json sato = json::parse(Body(site, "/api/player/" + KeyOf(data, 2)));
    ASSERT_EQ(sato["rounds"].size(), 3u);
    EXPECT_EQ(sato["rounds"][0]["opponent"]["name"], "山田 太郎");
    EXPECT_EQ(sato["rounds"][0]["board"], 1);
    EXPECT_EQ(sato["rounds"][0]["side"], "right");
    EXPECT_EQ(sato["rounds"][0]["result"]["mark"], "loss");
    EXPECT_EQ(sato["rounds"][2]["result"], json({{"mark", "win"}, {"disc", 20}, {"text", "○+20"}}));
    EXPECT_EQ(sato["rounds"][2]["points"], 1.0);
    const json tanaka = json::parse(Body(site, "/api/player/" + KeyOf(data, 5)));
    EXPECT_TRUE(tanaka["rounds"][0]["opponent"].is_null());
    EXPECT_EQ(tanaka["rounds"][2]["opponent"]["bye"], true);

    const std::string page = Body(site, "/standings");
    EXPECT_NE(page.find("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"), std::string::npos);
    EXPECT_NE(page.find("<main data-version=\"t-1\">"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"/player/" + KeyOf(data, 1) + "\">山田 太郎</a><small>三段 2勝 0敗 0分</small>"),
              std::string::npos);
    const std::string yamada = Body(site, "/player/" + KeyOf(data, 1));
    EXPECT_NE(yamada.find("<small>対局中</small>"), std::string::npos) << "round 3 waits for its result";
    // The page opens with where he sits now.
    EXPECT_LT(yamada.find("<p class=\"now\"><span>第3回戦</span> <b class=\"board\">盤 1</b> (左) 相手"),
              yamada.find("<table"));
}

// A withdrawn player: listed apart in a round without a game of his, marked
// in the standings (before the first round, or after the rounds he played).
TEST(LivePagesTest, AWithdrawnPlayerIsListedApartAndMarked)
{
    TournamentData data = test::SmallEvent();
    const int row = data.table.FindRowOfPlayer(5); // 田中 美咲, unpaired in round 1, the bye in round 3
    ASSERT_GE(row, 0);
    data.table.Entry(row).withdrawnFrom = 0;
    const CLiveSite site = SiteOf(data);
    const json first = json::parse(Body(site, "/api/round/1"));
    EXPECT_TRUE(first["unpaired"].empty());
    EXPECT_EQ(first["withdrawn"][0]["name"], "田中 美咲");
    EXPECT_FALSE(json::parse(Body(site, "/api/round/3")).contains("withdrawn")) << "her bye is shown as a bye";
    EXPECT_NE(Body(site, "/round/1").find("<h2>棄権</h2>"), std::string::npos);
    const json standings = json::parse(Body(site, "/api/standings"));
    EXPECT_EQ(standings["standings"][3]["withdrawnAfterRound"], 0);
    EXPECT_TRUE(standings["standings"][2]["withdrawnAfterRound"].is_null());
    EXPECT_NE(Body(site, "/standings").find("<small class=\"withdrawn\">棄権(1回戦から)</small>"), std::string::npos);
    data.table.Entry(row).withdrawnFrom = 2;
    EXPECT_NE(Body(SiteOf(data), "/standings").find("棄権(3回戦から)"), std::string::npos);
}

// Hostile bytes in every text the tournament carries: the pages keep the
// markup of a harmless tournament exactly, and the JSON gives the text back.
TEST(LivePagesTest, NoTournamentTextBecomesMarkupOrBreaksTheJson)
{
    std::mt19937 random(12);
    const std::string alphabet =
        std::string("<>&\"'\\/;:=`\r\n\t\x01\x7F abc") + "\x82\xA0\x83\x40\x81\x5C\xFC\xFC\xE0";
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
            int p = 1;
            while (p <= 5 && KeyOf(hostile, p) != row["key"])
                ++p;
            ASSERT_LE(p, 5);
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
    for (const std::string& exists :
         {std::string("/"), std::string("/standings"), std::string("/round"), std::string("/round/1"),
          std::string("/round/3"), "/player/" + KeyOf(data, 1), "/player/" + KeyOf(data, 5),
          std::string("/api/standings"), std::string("/api/round"), std::string("/api/round/2"),
          "/api/player/" + KeyOf(data, 3), std::string("/live.css"), std::string("/live.js")}) {
        const std::optional<Route> route = ParsePath(exists);
        EXPECT_TRUE(route && site.Exists(*route)) << exists;
    }
    // A key of the right form that names nobody is no page, and never
    // somebody else's.
    for (const char* missing : {"/round/0", "/round/4", "/player/000000000000", "/player/0123456789ab-2"}) {
        const std::optional<Route> route = ParsePath(missing);
        EXPECT_TRUE(!route || !site.Exists(*route)) << missing;
    }
    for (const char* malformed : {"",
                                  "//",
                                  "/index.html",
                                  "/standings/",
                                  "/round/",
                                  "/round/01",
                                  "/round/+1",
                                  "/round/-1",
                                  "/round/1/",
                                  "/round/1e3",
                                  "/player/",
                                  "/player/1",
                                  "/player/0123456789AB",
                                  "/player/0123456789ab-1",
                                  "/player/0123456789ab-02",
                                  "/player/0123456789ab ",
                                  "/player/0123456789ab/../2",
                                  "/../etc/passwd",
                                  "/live.css/../../etc/passwd",
                                  "/api/",
                                  "/api/live.css",
                                  "/api",
                                  "/API/standings"}) {
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

    // After the sort the rows moved, the keys stayed.
    const CLiveSite later = SiteOf(data, 2);
    EXPECT_EQ(json::parse(Body(later, "/api/player/" + KeyOf(data, 2)))["shortName"], "佐藤");
}

// A player's address names him, whatever moves: the keys one site gives are
// the keys of every later one, after a sort, after the file went through a
// restart into a database that holds the same people in another order.
TEST(LivePagesTest, PlayerKeysSurviveASortARestartAndAReorderedDatabase)
{
    const auto keysOf = [](const CLiveSite& site) {
        std::map<std::string, std::string> keys; // name -> key
        const json standings = json::parse(Body(site, "/api/standings"));
        for (const json& row : standings["standings"])
            keys[row["name"]] = row["key"];
        return keys;
    };
    TournamentData data = test::SmallEvent();
    const std::map<std::string, std::string> first = keysOf(SiteOf(data));
    ASSERT_EQ(first.size(), 5u);

    const std::vector<PlayerEntry> before = data.table.Entries();
    data.table.Sort(DiscDifference, false);
    ASSERT_NE(data.table.Entries(), before) << "the sort should move the rows";
    EXPECT_EQ(keysOf(SiteOf(data, 2)), first);

    TournamentData restarted;
    for (int i = data.players.GetCount() - 1; i >= 1; --i) {
        const CPlayerRecord& p = data.players.GetAt(i);
        restarted.players.Add(p.m_longName, p.m_inputName, p.m_shortName, p.m_residence, p.m_grade, p.m_memberNumber);
    }
    ASSERT_EQ(restarted.Load(data.Save()), LoadStatus::Ok);
    ASSERT_NE(restarted.table.Entry(0).playerIndex, data.table.Entry(0).playerIndex);
    const CLiveSite later = SiteOf(restarted, 3);
    EXPECT_EQ(keysOf(later), first);
    for (const auto& [name, key] : first)
        EXPECT_EQ(json::parse(Body(later, "/api/player/" + key))["name"], name);

    // The index lists them by reading, whatever the table's order.
    const std::string index = Body(later, "/");
    size_t at = 0;
    for (const char* name :
         {"山田 太郎", "佐藤 花子", "鈴木 一郎", "高橋 健", "田中 美咲"}) { // readings p0 p1 p2 p3 p5
        const size_t found = index.find(std::string(">") + name + "<", at);
        EXPECT_NE(found, std::string::npos) << name << " missing or out of order";
        at = found;
    }

    // Once he has left the table his key names nobody.
    restarted.table.DeletePlayer(restarted.table.FindRowOfPlayer(restarted.players.Find(cp932::FromUtf8("高橋 健"))));
    const CLiveSite without = SiteOf(restarted, 4);
    const std::optional<Route> gone = ParsePath("/player/" + first.at("高橋 健"));
    ASSERT_TRUE(gone.has_value());
    EXPECT_FALSE(without.Exists(*gone));
    EXPECT_EQ(*NotFound(true).body, "{\"error\":\"not found\"}\n");
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
