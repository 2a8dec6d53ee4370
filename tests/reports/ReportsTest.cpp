// Checks every writer must pass, whatever its format.
#include "outputs/OutputKinds.h"

#include "reports/ReportRows.h"
#include "tests/reports/ReportFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tabry {
namespace {

using test::S;
using test::TournamentBuilder;
using test::U;

// Every text kind, and the score sheet once more through round 1.
struct KindAndRound {
    OutputKind kind;
    int round;
};
std::vector<KindAndRound> AllTextKinds()
{
    std::vector<KindAndRound> kinds;
    for (const OutputKindInfo& info : OutputKinds()) {
        if (!info.text)
            continue;
        kinds.push_back({info.kind, info.round == RoundUse::Required ? 1 : 0});
        if (info.round == RoundUse::Optional)
            kinds.push_back({info.kind, 1});
    }
    return kinds;
}

std::string Name(const ::testing::TestParamInfo<KindAndRound>& info)
{
    std::string name;
    for (const char c : OutputKindOf(info.param.kind).name)
        if (c != '-')
            name += c;
    return info.param.round == 0 ? name : name + "Round" + std::to_string(info.param.round);
}

// Every line of `bytes` ends in CR LF and no CR or LF stands alone.
::testing::AssertionResult OnlyCrLf(const std::string& bytes)
{
    for (size_t i = 0; i < bytes.size(); ++i) {
        const bool cr = bytes[i] == '\r';
        const bool lf = bytes[i] == '\n';
        if (cr && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))
            return ::testing::AssertionFailure() << "bare CR at byte " << i;
        if (lf && (i == 0 || bytes[i - 1] != '\r'))
            return ::testing::AssertionFailure() << "bare LF at byte " << i;
    }
    if (!bytes.empty() && bytes.substr(bytes.size() - 2) != "\r\n")
        return ::testing::AssertionFailure() << "the last line has no line end";
    return ::testing::AssertionSuccess();
}

class EveryReportTest : public ::testing::TestWithParam<KindAndRound> {
protected:
    std::string Render(TournamentData& d)
    {
        std::string out;
        std::string refusal;
        EXPECT_EQ(RenderOutput(GetParam().kind, d, GetParam().round, out, &refusal), OutputStatus::Ok);
        return out;
    }
};

TEST_P(EveryReportTest, ATableWithoutPlayersGivesAValidFile)
{
    TournamentData d;
    const std::string out = Render(d);
    EXPECT_TRUE(OnlyCrLf(out));
    EXPECT_EQ(out.find("PASS"), std::string::npos);
    EXPECT_EQ(out.find(S("勝")), std::string::npos); // no record of any player
}

// The largest table the program accepts, with long names: nothing overflows
// and the layout stays line-based.
TEST_P(EveryReportTest, TheLargestTable)
{
    TournamentBuilder b(kMaxPlayers, kMaxRounds);
    std::string longName;
    for (int i = 0; i < 60; ++i)
        longName += "漢";
    for (int r = 0; r < kMaxPlayers; ++r)
        b.Player(r, test::Numbered(longName, r), test::Numbered("短", r), "鹿児島", r % 19 - 9);
    // Round j pairs every row r with r XOR (2j + 1): an even row with an odd one.
    for (int j = 0; j < kMaxRounds; ++j)
        for (int r = 0; r < kMaxPlayers; ++r) {
            const int other = r ^ (2 * j + 1);
            if (r < other)
                b.Game(j, r, other, static_cast<std::int8_t>(j % 3 - 1), (j * 7 + r) % 129 - 64);
        }
    TournamentData& d = b.Done();
    d.table.Sort(DiscDifference, false);
    const std::string out = Render(d);
    EXPECT_TRUE(OnlyCrLf(out));
    EXPECT_GT(out.size(), 50000u);
}

INSTANTIATE_TEST_SUITE_P(Reports, EveryReportTest, ::testing::ValuesIn(AllTextKinds()), Name);

// A random tournament: up to 30 rows (some empty), up to 12 rounds of random
// pairings with byes, unplayed pairings and rounds without a game, names of
// every shape, a random display mode and method. Raw generator output is
// mapped to ranges by hand so a seed means the same table everywhere.
TournamentData RandomTournament(std::uint32_t seed)
{
    std::mt19937 rng(seed);
    auto below = [&rng](unsigned n) { return static_cast<int>(rng() % n); };
    const char* const names[] = {"山田 太郎", "佐藤　花子",   "ジョン・スミス", "鈴木一郎", "Li",
                                 "",          "長谷川小太郎", "a&b <c>",        "ｱｲｳ ｴｵ",   "勅使河原三郎太 三世"};
    const char* const shorts[] = {"山田", "佐", "ジョン", "", "li", "長谷川小"};
    const char* const places[] = {"東京", "", "鹿児島", "海外"};
    TournamentBuilder b(2 + below(29), 1 + below(12));
    TournamentData& d = b.data;
    std::vector<int> players;
    for (int r = 0; r < d.table.PlayerCount(); ++r) {
        if (below(6) == 0)
            continue;
        b.Player(r, names[below(10)], test::Numbered(shorts[below(6)], r), places[below(4)], below(21) - 10);
        players.push_back(r);
    }
    for (int j = 0; j < d.table.RoundCount(); ++j) {
        for (size_t i = players.size(); i > 1; --i)
            std::swap(players[i - 1], players[static_cast<size_t>(below(static_cast<unsigned>(i)))]);
        for (size_t i = 0; i + 1 < players.size(); i += 2) {
            if (below(8) == 0)
                continue; // no game this round
            const std::int8_t results[] = {ResultWin, ResultDraw, ResultLoss, ResultNone};
            const std::int8_t result = results[below(4)];
            b.Game(j, players[i], players[i + 1], result, below(129) - 64);
        }
        if (players.size() % 2 == 1 && below(2) == 0)
            b.Bye(j, players.back(), ResultWin, below(65));
    }
    d.table.settings.showDiscDifference = below(2) == 0;
    d.table.settings.tieBreak = below(8);
    d.table.settings.brightwellTenths = 1 + below(999);
    if (below(2) == 0)
        b.Named(below(2) == 0 ? "秋の大会" : "", below(2) == 0 ? 0 : 2000 + below(30), 1 + below(12), 1 + below(31));
    b.Done();
    if (below(3) != 0)
        d.table.Sort(d.table.settings.tieBreak, true);
    return std::move(d);
}

std::vector<std::string> Lines(const std::string& bytes)
{
    std::vector<std::string> lines;
    for (size_t from = 0; from < bytes.size();) {
        const size_t end = bytes.find("\r\n", from);
        lines.push_back(bytes.substr(from, end - from));
        from = end + 2;
    }
    return lines;
}

TEST(RandomTournamentTest, EveryReportIsLineBasedAndTheTextTableAligned)
{
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        TournamentData d = RandomTournament(seed);
        const std::string before = d.Save();
        for (const KindAndRound& k : AllTextKinds()) {
            std::string out;
            const OutputStatus result = RenderOutput(k.kind, d, k.round, out, nullptr);
            ASSERT_TRUE(result == OutputStatus::Ok || k.kind == OutputKind::RatingCsv);
            ASSERT_TRUE(OnlyCrLf(out)) << OutputKindOf(k.kind).name;
        }
        EXPECT_EQ(d.Save(), before);

        // Line 1 and line 2 of every player are equally long, so each round's
        // result stands exactly above its opponent.
        std::string text;
        RenderOutput(OutputKind::Text, d, 0, text, nullptr);
        const std::vector<std::string> lines = Lines(text);
        const size_t heading = d.info.HasDate() ? 2 + (d.info.name.empty() ? 0 : 1) : (d.info.name.empty() ? 0 : 2);
        ASSERT_EQ(lines.size(), heading + 2 * static_cast<size_t>(d.table.rankedCount) + 3);
        for (int p = 0; p < d.table.rankedCount; ++p) {
            const std::string& line1 = lines[heading + 2 * static_cast<size_t>(p)];
            const std::string& line2 = lines[heading + 2 * static_cast<size_t>(p) + 1];
            EXPECT_EQ(line1.size(), line2.size()) << U(line1) << "\n" << U(line2);
        }
    }
}

} // namespace
} // namespace tabry
