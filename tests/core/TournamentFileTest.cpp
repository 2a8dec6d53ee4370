#include "core/ResultTable.h"
#include "core/TournamentInfo.h"
#include "playerdb/PlayerDatabase.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::CrLf;
using test::S;

struct Loaded {
    CResultTable table;
    CTournamentInfo info;
    CPlayerDatabase db;
    bool dbModified = false;
    int status = 0;

    explicit Loaded(std::string_view bytes, const CPlayerDatabase* seed = nullptr)
    {
        if (seed != nullptr)
            db = *seed;
        else
            db.Reset();
        status = table.Read(bytes, info, db, dbModified);
        if (status == 0) {
            table.Validate();
            table.ComputeAll();
        }
    }

    std::string Written()
    {
        std::string out;
        table.Write(out, info, db);
        return out;
    }
};

// Two players who played each other in round 1, current layout.
std::string TwoPlayerFile()
{
    return CrLf({"3,2,1,1,65", "##Format: 1", S("##Tournament: 春季大会"), "##Date: 2024/4/29",
                 S("山田 太郎,山田,3,東京,yama,a100,2,1,12,0,-1,0,0,0"), "",
                 S("佐藤 花子,佐藤,-2,大阪,sato,,0,-1,-12,0,-2,1,0,5")});
}

TEST(TournamentFileTest, CurrentLayoutRoundTripsByteForByte)
{
    const std::string file = TwoPlayerFile();
    Loaded l(file);
    ASSERT_EQ(l.status, 0);
    EXPECT_EQ(l.table.PlayerCount(), 3);
    EXPECT_EQ(l.table.RoundCount(), 2);
    EXPECT_TRUE(l.table.settings.showDiscDifference);
    EXPECT_EQ(l.table.settings.tieBreak, 1);
    EXPECT_EQ(l.table.settings.brightwellTenths, 65);
    EXPECT_EQ(l.info.name, S("春季大会"));
    EXPECT_EQ(l.info.year, 2024);
    EXPECT_EQ(l.info.month, 4);
    EXPECT_EQ(l.info.day, 29);
    EXPECT_TRUE(l.table.Entry(1).IsEmpty());
    EXPECT_EQ(l.table.Cell(2, 1), (ResultCell{ByeOpponent, ResultWin, 0, 5}));
    EXPECT_EQ(l.table.Cell(0, 0), (ResultCell{2, ResultWin, 12, 0}));
    EXPECT_TRUE(l.dbModified);
    EXPECT_EQ(l.db.GetCount(), 3);
    EXPECT_EQ(l.db.GetAt(1).m_memberNumber, "a100");
    EXPECT_EQ(l.Written(), file);
}

TEST(TournamentFileTest, WriterOmitsUnsetDetailsAndEscapesFields)
{
    CPlayerDatabase db;
    db.Reset();
    db.Add("a,b%", "in", "s,", S("東京"), 2, "m%1");
    CResultTable t;
    t.Clear();
    t.Resize(2, 1);
    t.Entry(1).playerIndex = 1;
    t.settings.showDiscDifference = false;
    t.settings.tieBreak = 9; // kept as read, written back as it is
    CTournamentInfo info;
    std::string out;
    EXPECT_EQ(t.Write(out, info, db), 0);
    EXPECT_EQ(info.format, 1);
    EXPECT_EQ(out, CrLf({"2,1,0,9,60", "##Format: 1", "", S("a%cb%%,s%c,2,東京,in,m%%1,-1,0,0,0")}));
}

TEST(TournamentFileTest, NameWithLineBreaksCannotSplitTheDetailsLine)
{
    CPlayerDatabase db;
    db.Reset();
    CResultTable t;
    t.Clear();
    t.Resize(1, 1);
    CTournamentInfo info;
    info.name = "Spring\r\nCup";
    std::string out;
    t.Write(out, info, db);
    EXPECT_EQ(out, CrLf({"1,1,1,0,60", "##Format: 1", "##Tournament: SpringCup", ""}));
}

TEST(TournamentFileTest, OlderLayoutLoadsAndIsSavedInTheCurrentOne)
{
    for (const char* formatLine : {"", "##Format: 2\r\n", "##FORMAT: 0\r\n"}) {
        SCOPED_TRACE(formatLine);
        const std::string file =
            std::string("2,2,0,2,60\r\n") + formatLine + S("甲,甲,1,福岡,1,1,8,-1,0,0\r\n乙,乙,0,,0,-1,-8,-2,0,0\r\n");
        Loaded l(file);
        ASSERT_EQ(l.status, 0);
        EXPECT_NE(l.info.format, 1);
        EXPECT_EQ(l.table.Entry(0).playerIndex, 1);
        EXPECT_EQ(l.db.GetAt(1).m_inputName, "");
        EXPECT_EQ(l.db.GetAt(1).m_memberNumber, "");
        EXPECT_EQ(l.table.Cell(0, 0), (ResultCell{1, ResultWin, 8, 0}));
        EXPECT_EQ(l.table.Cell(1, 1), (ResultCell{ByeOpponent, ResultDraw, 0, 0}));
        EXPECT_EQ(l.Written(), CrLf({"2,2,0,2,60", "##Format: 1", S("甲,甲,1,福岡,,,1,1,8,0,-1,0,0,0"),
                                     S("乙,乙,0,,,,0,-1,-8,0,-2,0,0,0")}));
    }
}

TEST(TournamentFileTest, InvalidHeaderChangesNothing)
{
    const char* headers[] = {"",        "\r\n",         "0,6,1,0,60", "513,6,1,0,60", "4,0,1,0,60", "4,129,1,0,60",
                             "4,6,1,0", "4,6,1,0,60,7", "x"};
    for (const char* header : headers) {
        SCOPED_TRACE(header);
        CResultTable t;
        t.Entry(0).playerIndex = 1;
        t.settings = TableSettings{false, 3, 11, {}};
        CTournamentInfo info;
        CPlayerDatabase db;
        db.Reset();
        bool modified = false;
        EXPECT_EQ(t.Read(std::string(header) + "\r\n" + S("甲,甲,1,,,,0,0,0,0\r\n"), info, db, modified), -1);
        EXPECT_EQ(t.PlayerCount(), 32);
        EXPECT_EQ(t.Entry(0).playerIndex, 1);
        EXPECT_FALSE(t.settings.showDiscDifference);
        EXPECT_EQ(t.settings.tieBreak, 3);
        EXPECT_FALSE(modified);
        EXPECT_EQ(db.GetCount(), 1);
    }
}

TEST(TournamentFileTest, HeaderAcceptsBlanksAndATrailingComma)
{
    Loaded l(" 2, 1 ,1,0,60,\t\r\n\r\n\r\n");
    ASSERT_EQ(l.status, 0);
    EXPECT_EQ(l.table.PlayerCount(), 2);
    EXPECT_EQ(l.table.RoundCount(), 1);
}

TEST(TournamentFileTest, OutOfRangeValuesAreClamped)
{
    // 20 players; row 0 holds the odd values, row 5 is its opponent.
    std::string file = "20,4,1,0,60\r\n##Format: 1\r\n";
    file += "a,a,0,,,,600,1,3,0,5,5,3,0,5,-7,3,0,5,1,300,-129\r\n";
    for (int r = 1; r < 20; ++r)
        file += r == 5 ? "b,b,0,,,,-1,0,0,0,0,-1,-3,0,0,0,0,0,0,-1,-44,0\r\n" : "\r\n";
    Loaded l(file);
    ASSERT_EQ(l.status, 0);
    EXPECT_EQ(l.table.Cell(0, 0).opponent, NoOpponent); // 600 in a 20-player file
    EXPECT_EQ(l.table.Cell(0, 1).result, ResultWin);    // 5
    EXPECT_EQ(l.table.Cell(0, 2).result, ResultNone);   // -7
    EXPECT_EQ(l.table.Cell(0, 3).disc, 44);             // 300 - 256
    EXPECT_EQ(l.table.Cell(0, 3).reserved, 127);        // -129 in 8 bits
}

TEST(TournamentFileTest, BadPlayerLinesLeaveTheirRowEmpty)
{
    const std::string file = CrLf({"5,1,1,0,60", "##Format: 1", "a,a,0,,,,-1,0,0,0", "too,few,fields",
                                   ",x,0,,,,-1,0,0,0", "", "b,b,0,,,,-1,0,0,0", "c,c,0,,,,-1,0,0,0"});
    Loaded l(file);
    ASSERT_EQ(l.status, 0);
    EXPECT_FALSE(l.table.Entry(0).IsEmpty());
    EXPECT_TRUE(l.table.Entry(1).IsEmpty());
    EXPECT_TRUE(l.table.Entry(2).IsEmpty()); // empty long name, not in the database
    EXPECT_TRUE(l.table.Entry(3).IsEmpty());
    EXPECT_FALSE(l.table.Entry(4).IsEmpty());
    EXPECT_EQ(l.db.GetCount(), 3); // lines beyond the player count are ignored
}

TEST(TournamentFileTest, FewerLinesThanPlayersLeavesTheRestEmpty)
{
    Loaded l("4,1,1,0,60\r\n##Format: 1\r\na,a,0,,,,-1,0,0,0");
    ASSERT_EQ(l.status, 0);
    EXPECT_FALSE(l.table.Entry(0).IsEmpty());
    EXPECT_TRUE(l.table.RowsEmptyFrom(1));
}

TEST(TournamentFileTest, DetailsLinesParseLikeTheyAlwaysHave)
{
    CTournamentInfo info;
    EXPECT_EQ(info.ParseHeaderLine("##Tournament:   Spring Cup  "), 1);
    EXPECT_EQ(info.name, "Spring Cup");
    EXPECT_EQ(info.ParseHeaderLine("## date : 2004/13/40"), 1);
    EXPECT_EQ(info.year, 2004);
    EXPECT_EQ(info.month, 13);
    EXPECT_EQ(info.day, 40);
    EXPECT_EQ(info.ParseHeaderLine("##Date: 2004-05-03"), 1);
    EXPECT_EQ(info.month, 13); // unchanged
    EXPECT_EQ(info.ParseHeaderLine("##Date: 2005/5"), 1);
    EXPECT_EQ(info.year, 2004);
    EXPECT_EQ(info.ParseHeaderLine("##date: 2004/5/3"), 1);
    EXPECT_EQ(info.month, 5);
    EXPECT_EQ(info.ParseHeaderLine("##format:1"), 1);
    EXPECT_EQ(info.format, 1);
    EXPECT_EQ(info.ParseHeaderLine("##Venue: Tokyo"), 0);
    EXPECT_EQ(info.ParseHeaderLine("##No colon"), 0);
    EXPECT_EQ(info.ParseHeaderLine("#Format: 2"), 0);
    EXPECT_EQ(info.format, 1);
}

TEST(TournamentFileTest, CommentLinesAmongTheDetailsAreIgnored)
{
    const std::string file = CrLf(
        {"2,1,1,0,60", "#comment", "##Format: 1", "##Venue: x", "a,a,0,,,,-1,0,0,0", "#comment", "b,b,0,,,,-1,0,0,0"});
    Loaded l(file);
    ASSERT_EQ(l.status, 0);
    EXPECT_EQ(l.info.format, 1);
    EXPECT_FALSE(l.table.Entry(0).IsEmpty());
    EXPECT_TRUE(l.table.Entry(1).IsEmpty()); // "#comment" after the first player line is a bad player line
}

TEST(TournamentFileTest, FirstPlayerWhoseNameBeginsWithHashSurvivesASaveAndLoad)
{
    CPlayerDatabase db;
    db.Reset();
    db.Add("#1 seed", "seed", "#1", "", 0, "");
    db.Add("second", "sec", "2nd", "", 0, "");
    CResultTable t;
    t.Clear();
    t.Resize(2, 1);
    t.Entry(0).playerIndex = 1;
    t.Entry(1).playerIndex = 2;
    t.SetCell(0, 0, ResultCell{1, ResultWin, 4, 0});
    t.SetCell(1, 0, ResultCell{0, ResultLoss, -4, 0});
    CTournamentInfo info;
    std::string saved;
    t.Write(saved, info, db);

    Loaded l(saved, &db);
    ASSERT_EQ(l.status, 0);
    EXPECT_EQ(l.table.Entry(0).playerIndex, 1);
    EXPECT_EQ(l.table.Entry(1).playerIndex, 2);
    EXPECT_EQ(l.table.Cell(0, 0).opponent, 1);
    EXPECT_FALSE(l.dbModified);
    EXPECT_EQ(l.Written(), saved);
}

TEST(TournamentFileTest, NamesWithUpperCaseAreAddedAgainFolded)
{
    const std::string file = CrLf({"2,1,1,0,60", "##Format: 1", "Kim,K,0,,,,-1,0,0,0", "Kim,K,0,,,,-1,0,0,0"});
    Loaded l(file);
    ASSERT_EQ(l.status, 0);
    EXPECT_EQ(l.db.GetCount(), 3); // not found by its stored, folded form
    EXPECT_EQ(l.db.GetAt(1).m_longName, "kim");
    EXPECT_EQ(l.table.Entry(0).playerIndex, 1);
    EXPECT_EQ(l.table.Entry(1).playerIndex, 2);
}

TEST(TournamentFileTest, KnownPlayersAreNotAddedAndLongFieldsStayWhole)
{
    CPlayerDatabase db;
    db.Reset();
    const std::string longName(700, 'n');
    db.Add(longName, "x", "y", "", 0, "");
    const std::string file = CrLf({"1,1,1,0,60", "##Format: 1", longName + ",y,0,,x,,-1,0,0,0"});
    Loaded l(file, &db);
    ASSERT_EQ(l.status, 0);
    EXPECT_FALSE(l.dbModified);
    EXPECT_EQ(l.table.Entry(0).playerIndex, 1);
    EXPECT_EQ(l.Written(), file);
}

TEST(TournamentFileTest, BareLineFeedsAreAccepted)
{
    std::string file = TwoPlayerFile();
    std::string lf;
    for (char c : file)
        if (c != '\r')
            lf += c;
    Loaded l(lf);
    ASSERT_EQ(l.status, 0);
    EXPECT_EQ(l.Written(), file);
}

} // namespace
} // namespace tabry
