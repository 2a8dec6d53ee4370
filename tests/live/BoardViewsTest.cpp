// One board numbering behind every view. On random tournaments each round is
// paired by the program, and the boards are recorded right then from the
// pairing table's text (a writer byte-checked against the reference, not the
// code under test). From then on the pairing sheet's page description, the
// live model and /api/round must show exactly those boards, through results
// entered in random order, sorts, a withdrawal and a save and reload.
#include "core/TournamentData.h"
#include "edit/TournamentEditor.h"
#include "live/LiveSite.h"
#include "live/LiveSnapshot.h"
#include "pairing/RandomGenerator.h"
#include "paper/PaperDocuments.h"
#include "reports/InterimOutputs.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <random>
#include <sstream>

namespace tabry {
namespace {

using nlohmann::json;
// Board number -> the names (UTF-8) on its left and right.
using Boards = std::map<int, std::pair<std::string, std::string>>;

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> f;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');)
        f.push_back(field);
    return f;
}

// The numbered lines of the pairing table: " 1.,left,grade,[p],-,right,grade,[p]".
Boards FromPairingTable(const TournamentData& d, int round)
{
    std::string csv;
    WritePairingTable(d.table, d.players, round, csv);
    Boards boards;
    std::istringstream lines(csv);
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> f = Fields(line);
        if (f.size() == 8 && !f[0].empty())
            boards[std::stoi(f[0])] = {cp932::ToUtf8(f[1]), cp932::ToUtf8(f[5])};
    }
    return boards;
}

// The sheet's board lines: a number text, then the two names.
Boards FromSheet(const TournamentData& d, int round)
{
    Boards boards;
    int number = 0;
    std::vector<std::string> names;
    for (const paper::Page& page : paper::LayoutPairingSheet(d, round).pages) {
        for (const paper::TextItem& t : page.texts) {
            const std::string text = cp932::ToUtf8(t.text);
            if (names.empty() && !text.empty() && std::all_of(text.begin(), text.end(), ::isdigit)) {
                number = std::stoi(text);
            } else if (number > 0 && text.rfind("選手", 0) == 0) {
                names.push_back(text);
                if (names.size() == 2) {
                    boards[number] = {names[0], names[1]};
                    number = 0;
                    names.clear();
                }
            }
        }
    }
    return boards;
}

Boards FromModel(const live::CLiveSnapshot& snapshot, int round)
{
    Boards boards;
    for (const live::BoardView& b : live::MakeRoundPairing(snapshot, round).boards)
        boards[b.number] = {b.left.player.name, b.right.player.name};
    return boards;
}

Boards FromApi(const live::CLiveSite& site, int round)
{
    const std::optional<live::Route> route = live::ParsePath("/api/round/" + std::to_string(round));
    const json answer = json::parse(*site.Get(*route).body);
    Boards boards;
    for (const json& b : answer["boards"])
        boards[b["board"]] = {b["players"][0]["name"], b["players"][1]["name"]};
    return boards;
}

TournamentData Start(int players, int rounds, int method, const ByeRule& bye)
{
    TournamentData d;
    d.table.Clear();
    d.table.Resize(players, rounds);
    d.table.settings.tieBreak = method;
    d.table.settings.bye = bye;
    for (int r = 0; r < players; ++r) {
        std::string n = std::to_string(r + 1);
        n.insert(0, 3 - n.size(), '0');
        d.table.Entry(r).playerIndex =
            d.players.Add(cp932::FromUtf8("選手" + n), "p" + n, "s" + n, "", r % 7 - 3, "m" + n);
    }
    d.table.ComputeAll();
    return d;
}

class BoardViewsTest : public ::testing::Test {
protected:
    // Every view of every round recorded so far shows its recorded boards.
    void ExpectEverywhere(const TournamentData& d, const std::string& after)
    {
        SCOPED_TRACE("after " + after);
        const auto snapshot = live::CLiveSnapshot::Make(d, ++m_version);
        const live::CLiveSite site(snapshot, "t");
        for (const auto& [round, boards] : m_expected) {
            SCOPED_TRACE("round " + std::to_string(round));
            EXPECT_EQ(FromSheet(d, round), boards);
            EXPECT_EQ(FromModel(*snapshot, round), boards);
            EXPECT_EQ(FromApi(site, round), boards);
        }
    }

    std::map<int, Boards> m_expected; // by round, from 1
    std::uint64_t m_version = 0;
};

TEST_F(BoardViewsTest, EveryViewShowsTheBoardsOfThePairingThroughEverythingThatFollows)
{
    const int kTrials = 24;
    for (int trial = 0; trial < kTrials; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        std::mt19937 rng(static_cast<std::uint32_t>(trial) * 7919u + 3u);
        const auto pick = [&rng](int lo, int hi) {
            return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1));
        };
        ByeRule bye;
        if (pick(0, 1) == 1)
            bye = ByeRule{2 * pick(1, 32), pick(0, 1) == 1};
        const int rounds = pick(3, 6);
        CTournamentEditor editor(Start(pick(5, 33), rounds, pick(0, kTieBreakMethodCount - 1), bye));
        CRandomGenerator random(static_cast<std::uint32_t>(trial) + 1u);
        PairingOptions options;
        options.trace.enabled = false;
        m_expected.clear();

        for (int j = 0; j < rounds; ++j) {
            // A board left open by a withdrawal is no reason to stop.
            const auto yes = [](const std::string&) { return true; };
            ASSERT_TRUE(editor.PairRound(j, random, options, nullptr, yes).Any());
            m_expected[j + 1] = FromPairingTable(editor.Data(), j + 1);
            ASSERT_FALSE(m_expected[j + 1].empty());
            ExpectEverywhere(editor.Data(), "pairing round " + std::to_string(j + 1));

            // Results come in in any order.
            std::vector<int> rows;
            for (int r = 0; r < editor.Table().PlayerCount(); ++r)
                if (editor.Table().Cell(r, j).opponent > r)
                    rows.push_back(r);
            std::shuffle(rows.begin(), rows.end(), rng);
            for (size_t k = 0; k < rows.size(); ++k) {
                const int result = pick(-1, 1);
                const int disc = result * 2 * pick(1, 32);
                editor.SetGame(rows[k], j, editor.Table().Cell(rows[k], j).opponent, result, disc);
                if (k == rows.size() / 2)
                    ExpectEverywhere(editor.Data(), "half the results");
            }
            if (j + 1 < rounds || pick(0, 1) == 1) {
                editor.Sort();
                ExpectEverywhere(editor.Data(), "a sort");
            }
        }

        // A withdrawal from the next round takes nothing played; one from a
        // round whose game waits leaves that board's number unused.
        const int last = rounds - 1;
        int leaver = -1;
        for (int r = 0; r < editor.Table().PlayerCount() && leaver < 0; ++r)
            if (editor.Table().Cell(r, last).opponent >= 0)
                leaver = r;
        ASSERT_GE(leaver, 0);
        const int opponent = editor.Table().Cell(leaver, last).opponent;
        editor.SetGame(leaver, last, opponent, ResultNone, 0);
        const std::string name =
            cp932::ToUtf8(editor.Players().GetAt(editor.Table().Entry(leaver).playerIndex).m_longName);
        ASSERT_TRUE(editor.Withdraw(leaver, last).Any());
        std::erase_if(m_expected[last + 1],
                      [&name](const auto& b) { return b.second.first == name || b.second.second == name; });
        ExpectEverywhere(editor.Data(), "a withdrawal");
        editor.Sort();
        ExpectEverywhere(editor.Data(), "a sort after the withdrawal");

        // The program restarted: the file read again.
        CTournamentEditor reopened;
        LoadReport report;
        ASSERT_EQ(reopened.Load(editor.Save(), &report), LoadStatus::Ok);
        EXPECT_TRUE(report.findings.empty());
        ExpectEverywhere(reopened.Data(), "save and reload");
        if (HasFailure())
            return;
    }
}

} // namespace
} // namespace tabry
