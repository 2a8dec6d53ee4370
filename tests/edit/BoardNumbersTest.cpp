// Board numbers at the edit path: what a change by hand does to the numbers
// of a round the program paired, how they travel in the file, and what a
// file's board lines that cannot be read do. Expected numbers are written
// out by hand.
#include "core/Boards.h"
#include "edit/TournamentEditor.h"
#include "pairing/RandomGenerator.h"
#include "tests/support/RandomEdits.h"
#include "tests/support/SmallTournaments.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tabry {
namespace {

PairingOptions NoTrace()
{
    PairingOptions options;
    options.trace.enabled = false;
    return options;
}

// "number:left-right" of each board, rows as numbers.
std::vector<std::string> Shown(const CResultTable& table, int round)
{
    std::vector<std::string> out;
    for (const Board& b : RoundBoards(table, round))
        out.push_back(std::to_string(b.number) + ":" + std::to_string(b.left) + "-" + std::to_string(b.right));
    return out;
}

std::string Game(const std::vector<std::string>& shown, int number)
{
    const auto it = std::find_if(shown.begin(), shown.end(), [number](const std::string& s) {
        return s.rfind(std::to_string(number) + ":", 0) == 0;
    });
    return it != shown.end() ? it->substr(it->find(':') + 1) : std::string();
}

// A round the program paired keeps every number: a removed game's number
// stays unused, a game paired by hand takes the next one, a sort moves the
// players but not their boards, and the numbers come back through the file
// and through undo.
TEST(BoardNumbersTest, HandChangesKeepTheNumbersOfAPairedRound)
{
    CTournamentEditor editor(test::MakeTournament(8, 3, 8));
    CRandomGenerator random(5);
    ASSERT_TRUE(editor.PairRound(0, random, NoTrace()).Any());
    const std::vector<std::string> paired = Shown(editor.Table(), 0);
    ASSERT_EQ(paired.size(), 4u);
    EXPECT_EQ(editor.Save().find("##Boards"), std::string::npos) << "paired and saved at once: no line";

    // Board 2's players are re-paired by hand: 2 goes, their new game is 5.
    const std::string second = Game(paired, 2);
    const int a = std::stoi(second);
    const int b = std::stoi(second.substr(second.find('-') + 1));
    editor.ClearGame(a, 0);
    EXPECT_EQ(Shown(editor.Table(), 0), (std::vector<std::string>{paired[0], paired[2], paired[3]}));
    const auto yes = [](const std::string&) { return true; };
    editor.SetGame(b, 0, a, ResultNone, 0, yes);
    const std::vector<std::string> later = Shown(editor.Table(), 0);
    ASSERT_EQ(later.size(), 4u);
    EXPECT_EQ(later[3].substr(0, 2), "5:");
    // Everybody is tied before round 1: the player of the earlier row sits left.
    EXPECT_EQ(Game(later, 5), std::to_string(std::min(a, b)) + "-" + std::to_string(std::max(a, b)));

    // A result and a sort move rows, not numbers: the players stay on their boards.
    const auto players = [&editor](const std::vector<std::string>& shown) {
        std::vector<std::pair<int, int>> out; // number -> left player's database index
        for (const std::string& s : shown)
            out.emplace_back(std::stoi(s), editor.Table().Entry(std::stoi(s.substr(s.find(':') + 1))).playerIndex);
        return out;
    };
    const std::vector<std::pair<int, int>> seats = players(later);
    editor.SetGame(std::stoi(Game(later, 1)), 0, std::stoi(Game(later, 1).substr(Game(later, 1).find('-') + 1)),
                   ResultLoss, -10);
    editor.Sort();
    EXPECT_EQ(players(Shown(editor.Table(), 0)), seats);

    // Through the file: the numbers differ from the standings', so the line
    // is there, with the unused number as an empty item.
    const std::string saved = editor.Save();
    const size_t line = saved.find("##Boards: 1,");
    ASSERT_NE(line, std::string::npos) << saved;
    EXPECT_NE(saved.substr(line, saved.find('\n', line) - line).find(",,"), std::string::npos);
    CTournamentEditor reopened(test::MakeTournament(8, 3, 8));
    LoadReport report;
    ASSERT_EQ(reopened.Load(saved, &report), LoadStatus::Ok);
    EXPECT_TRUE(report.findings.empty());
    EXPECT_EQ(players(Shown(reopened.Table(), 0)), seats);
    EXPECT_EQ(reopened.Save(), saved);
}

// A withdrawal takes away a game not yet played: its number stays unused
// and the others keep theirs. Games typed into a round the program never
// paired fix nothing, so such a file is saved as it always was.
TEST(BoardNumbersTest, AWithdrawalLeavesAHoleAndHandTypedRoundsStayAsTheyWere)
{
    CTournamentEditor editor(test::MakeTournament(6, 2, 6));
    CRandomGenerator random(9);
    editor.PairRound(1, random, NoTrace());
    const std::vector<std::string> paired = Shown(editor.Table(), 1);
    ASSERT_EQ(paired.size(), 3u);
    editor.Withdraw(std::stoi(Game(paired, 1)), 1);
    EXPECT_EQ(Shown(editor.Table(), 1), (std::vector<std::string>{paired[1], paired[2]}));

    CTournamentEditor typed(test::MakeTournament(6, 2, 6));
    typed.SetGame(0, 0, 5, ResultWin, 10);
    typed.SetGame(1, 0, 4, ResultDraw, 0);
    typed.SetGame(2, 0, 3, ResultLoss, -2);
    typed.Sort();
    EXPECT_TRUE(typed.Table().Plan(0).empty());
    EXPECT_EQ(typed.Save().find("##Boards"), std::string::npos);
}

// A board line the reader cannot take whole refuses the file, as every event
// line does, naming its line; nothing of it is half applied.
TEST(BoardNumbersTest, ABoardLineThatCannotBeReadRefusesTheFile)
{
    const std::string head = "4,2,1,0,60\r\n##Format: 1\r\n";
    const std::string rows = "a,a,0,,a,,1,0,0,0,-1,0,0,0\r\nb,b,0,,b,,0,0,0,0,-1,0,0,0\r\n"
                             "c,c,0,,c,,3,0,0,0,-1,0,0,0\r\nd,d,0,,d,,2,0,0,0,-1,0,0,0\r\n";
    for (const char* bad :
         {"##Boards: 3,0-1", "##Boards: 1,0-0", "##Boards: 1,0-x,2-3", "##Boards: 1,9-1", "##Boards: ,0-1",
          "##Boards: 1", "##Boards: 1,0-1\r\n##Boards: 1,2-3,0-1", "##BOARDS: 1,99999999999999999999-1"}) {
        SCOPED_TRACE(bad);
        TournamentData data;
        LoadReport report;
        ASSERT_EQ(data.Load(head + bad + "\r\n" + rows, &report), LoadStatus::BadEventLine);
        const bool second = std::string(bad).find("\r\n") != std::string::npos;
        EXPECT_EQ(report.faultLine, second ? 4 : 3);
        EXPECT_EQ(data.table.PlayerCount(), TournamentData().table.PlayerCount());
    }
    // Read whole, a line puts its numbers back, unused ones too.
    TournamentData good;
    LoadReport report;
    ASSERT_EQ(good.Load(head + "##Boards: 1,,2-3,1-0\r\n" + rows, &report), LoadStatus::Ok);
    EXPECT_TRUE(report.findings.empty());
    EXPECT_EQ(Shown(good.table, 0), (std::vector<std::string>{"2:2-3", "3:1-0"}));
}

// Whatever the editor makes, the file holds and gives back: every state of
// long random runs (pairings, removed rows, sorts, withdrawals) reads whole
// and saves to the same bytes. Rows removed after a round was paired once
// left a board line with more numbers than players, which the reader refused.
TEST(BoardNumbersTest, EveryStateOfRandomChangesReadsBackAsSaved)
{
    for (std::uint32_t seed = 0; seed < 16; ++seed) {
        CTournamentEditor editor(test::CRandomEdits::Start(12, 5, 16));
        test::CRandomEdits edits(seed, 16, 7);
        for (int i = 1; i <= 120; ++i) {
            const std::string tried = edits.Apply(editor);
            const std::string saved = editor.Save();
            CTournamentEditor reopened(test::CRandomEdits::Start(12, 5, 16));
            ASSERT_EQ(reopened.Restore(saved), LoadStatus::Ok) << "seed " << seed << ", change " << i << ": " << tried;
            ASSERT_EQ(reopened.Save(), saved) << "seed " << seed << ", change " << i << ": " << tried;
        }
    }
}

// A game removed and paired again by hand takes a new number after the
// highest each time (the highest stays in use, so nothing is trimmed); the
// numbers stop growing at the limit a file holds and reuse the unused ones
// from there, so the round still reads back.
TEST(BoardNumbersTest, NumbersOfGamesPairedAgainStopAtTheLimitAFileHolds)
{
    CTournamentEditor editor(test::MakeTournament(6, 1, 6));
    CRandomGenerator random(3);
    ASSERT_TRUE(editor.PairRound(0, random, NoTrace()).Any());
    ASSERT_EQ(Shown(editor.Table(), 0).size(), 3u);
    const auto yes = [](const std::string&) { return true; };
    for (int i = 0; i < 600; ++i) {
        const std::string lowest = Shown(editor.Table(), 0).front();
        const int a = std::stoi(lowest.substr(lowest.find(':') + 1));
        const int b = std::stoi(lowest.substr(lowest.find('-') + 1));
        editor.ClearGame(a, 0);
        editor.SetGame(a, 0, b, ResultNone, 0, yes);
    }
    const std::vector<std::string> shown = Shown(editor.Table(), 0);
    ASSERT_EQ(shown.size(), 3u);
    for (const std::string& board : shown)
        EXPECT_LE(std::stoi(board), 512) << board;
    EXPECT_EQ(editor.Table().Plan(0).size(), 512u);
    const std::string saved = editor.Save();
    CTournamentEditor reopened(test::MakeTournament(6, 1, 6));
    ASSERT_EQ(reopened.Load(saved), LoadStatus::Ok);
    EXPECT_EQ(Shown(reopened.Table(), 0), shown);
    EXPECT_EQ(reopened.Save(), saved);
}

} // namespace
} // namespace tabry
