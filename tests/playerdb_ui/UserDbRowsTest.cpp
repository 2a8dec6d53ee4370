#include "playerdb/ui/UserDbRows.h"

#include "core/ResultTable.h"
#include "playerdb/PlayerDatabase.h"
#include "playerdb/PlayerText.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tabry {
namespace {

// The rebuild OK makes, through an editor over `db` and `table`; both are
// read back afterwards.
UserDbRebuildResult Rebuild(const CUserDbRows& rows, CPlayerDatabase& db, CResultTable& table)
{
    TournamentData data;
    data.players = db;
    data.table = table;
    CTournamentEditor editor(std::move(data));
    UserDbRebuildResult result;
    editor.RebuildPlayers(rows.RebuildList(), &result);
    db = editor.Players();
    table = editor.Table();
    return result;
}

using test::S;
using Names = std::vector<std::string>;

// bye, then a, b, c, d with distinct grades and residences.
CPlayerDatabase SampleDb()
{
    CPlayerDatabase db;
    db.Reset();
    db.Add("a", "ia", "sa", S("東京"), 1, "m1");
    db.Add("b", "ib", "sb", S("北海道"), 5, "m2");
    db.Add("c", "ic", "sc", S("ハワイ"), -3, "m3");
    db.Add("d", "id", "sd", S("沖縄"), 0, "m4");
    return db;
}

Names LongNames(const CUserDbRows& rows)
{
    Names out;
    for (int i = 0; i < rows.Count(); ++i)
        out.push_back(rows.Text(i, CUserDbRows::LongName));
    return out;
}

TEST(UserDbRowsTest, SortsByColumnAndReportsWhereEveryRowWent)
{
    CUserDbRows rows;
    rows.LoadFrom(SampleDb());
    ASSERT_EQ(LongNames(rows), (Names{"a", "b", "c", "d"}));
    EXPECT_EQ(rows.Row(3).origin, 4);
    rows.Swap(0, 3); // d b c a
    rows.SortByColumn(CUserDbRows::LongName);
    EXPECT_EQ(LongNames(rows), (Names{"a", "b", "c", "d"}));
    rows.SortByColumn(CUserDbRows::LongName);
    EXPECT_EQ(LongNames(rows), (Names{"d", "c", "b", "a"}));
    EXPECT_TRUE(rows.SortDescending());
    // Another column starts ascending again: 五段, 初段, ３級, no grade.
    rows.SortByColumn(CUserDbRows::Grade);
    EXPECT_FALSE(rows.SortDescending());
    EXPECT_EQ(LongNames(rows), (Names{"b", "a", "c", "d"}));
    rows.SortByColumn(CUserDbRows::Grade);
    EXPECT_EQ(LongNames(rows), (Names{"d", "c", "a", "b"}));

    rows.LoadFrom(SampleDb());
    const std::vector<int> moved = rows.SortByColumn(CUserDbRows::Residence);
    // 北海道, 東京, 沖縄, then ハワイ, which is no prefecture.
    EXPECT_EQ(LongNames(rows), (Names{"b", "a", "d", "c"}));
    EXPECT_EQ(moved, (std::vector<int>{1, 0, 3, 2}));
}

TEST(UserDbRowsTest, ColumnComparisonsFollowTheirOwnOrders)
{
    const auto cmp = &CUserDbRows::CompareColumnTexts;
    // Unsigned byte order: ASCII, "あ" (0x82 0xA0), half-width katakana
    // (0xB1), level-2 kanji (lead byte 0xE0 up).
    EXPECT_LT(cmp(CUserDbRows::LongName, "b", S("あ")), 0);
    EXPECT_LT(cmp(CUserDbRows::LongName, S("あ"), "\xB1"), 0);
    EXPECT_LT(cmp(CUserDbRows::LongName, "\xB1", "\xE0\x40"), 0);
    EXPECT_LT(cmp(CUserDbRows::LongName, "ab", "abc"), 0);
    EXPECT_EQ(cmp(CUserDbRows::MemberNumber, "x", "x"), 0);
    // Grade: 九段 first, ５級 last of the listed, 6 kyu and empty after all.
    EXPECT_LT(cmp(CUserDbRows::Grade, S("九段"), S("初段")), 0);
    EXPECT_LT(cmp(CUserDbRows::Grade, S("初段"), S("５級")), 0);
    EXPECT_LT(cmp(CUserDbRows::Grade, S("５級"), S("６級")), 0);
    EXPECT_LT(cmp(CUserDbRows::Grade, S("５級"), ""), 0);
    EXPECT_EQ(cmp(CUserDbRows::Grade, S("６級"), ""), 0);
    // Residence: prefecture order, other texts after all and descending.
    EXPECT_LT(cmp(CUserDbRows::Residence, S("北海道"), S("沖縄")), 0);
    EXPECT_LT(cmp(CUserDbRows::Residence, S("沖縄"), ""), 0);
    EXPECT_LT(cmp(CUserDbRows::Residence, S("沖縄"), "aaa"), 0);
    EXPECT_LT(cmp(CUserDbRows::Residence, "b", "a"), 0);
    EXPECT_LT(cmp(CUserDbRows::Residence, "a", ""), 0);
}

TEST(UserDbRowsTest, ARowAddedHereIsNeverUsedByTheTable)
{
    CUserDbRows rows;
    rows.LoadFrom(SampleDb());
    CResultTable table; // 32 empty rows: playerIndex -1 everywhere
    table.Entry(5).playerIndex = 2;
    EXPECT_FALSE(rows.IsUsedByTable(0, table));
    EXPECT_TRUE(rows.IsUsedByTable(1, table));
    // Origin -1 is also what the empty table rows hold.
    UserEditValues v;
    v.longName = "new";
    EXPECT_FALSE(rows.IsUsedByTable(rows.Append(v), table));
}

TEST(UserDbRowsTest, RebuildWithoutChangeReproducesTheFileAndFoldsAfresh)
{
    CPlayerDatabase db = SampleDb();
    const std::string before = db.SaveBytes(1);
    CUserDbRows rows;
    rows.LoadFrom(db);
    CResultTable table;
    table.Entry(0).playerIndex = 3;
    const UserDbRebuildResult r = Rebuild(rows, db, table);
    EXPECT_EQ(db.SaveBytes(1), before);
    EXPECT_EQ(db.GetAt(0).m_longName, S("不戦"));
    EXPECT_FALSE(r.referencesChanged);
    EXPECT_FALSE(r.playersChanged);
    EXPECT_EQ(table.Entry(0).playerIndex, 3);

    db.GetAt(2).m_longName = "BIG"; // changed in place with capitals
    rows.LoadFrom(db);
    Rebuild(rows, db, table);
    EXPECT_EQ(db.GetAt(2).m_longName, "big");
}

TEST(UserDbRowsTest, RebuildMovesEveryTableReferenceWithItsPerson)
{
    CPlayerDatabase db = SampleDb();
    CUserDbRows rows;
    rows.LoadFrom(db);
    CResultTable table;
    table.Entry(0).playerIndex = 1; // a
    table.Entry(1).playerIndex = 2; // b
    table.Entry(2).playerIndex = 4; // d
    table.Entry(3).playerIndex = 0; // the bye record itself
    table.Entry(4).playerIndex = 2; // b again (a hand-made file may do this)

    rows.Swap(0, 1); // b a c d
    rows.Remove(2);  // c is not in the table
    UserEditValues v;
    v.longName = "e";
    rows.Append(v); // b a d e
    const UserDbRebuildResult r = Rebuild(rows, db, table);

    ASSERT_EQ(db.GetCount(), 5);
    auto nameOfRow = [&](int row) { return db.GetAt(table.Entry(row).playerIndex).m_longName; };
    EXPECT_EQ(nameOfRow(0), "a");
    EXPECT_EQ(nameOfRow(1), "b");
    EXPECT_EQ(nameOfRow(2), "d");
    EXPECT_EQ(nameOfRow(3), S("不戦"));
    EXPECT_EQ(nameOfRow(4), "b");
    EXPECT_EQ(table.Entry(5).playerIndex, -1);
    EXPECT_EQ(db.GetAt(4).m_longName, "e");
    EXPECT_TRUE(r.referencesChanged);
    EXPECT_FALSE(r.playersChanged);
}

TEST(UserDbRowsTest, RebuildTellsWhenATablePlayersDataChanged)
{
    CPlayerDatabase db = SampleDb();
    CUserDbRows rows;
    rows.LoadFrom(db);
    CResultTable table;
    table.Entry(0).playerIndex = 3;
    UserEditValues v = rows.EditValues(0); // a: not in the table
    v.shortName = "changed";
    rows.Replace(0, v);
    CPlayerDatabase copy = db;
    EXPECT_FALSE(Rebuild(rows, copy, table).playersChanged);

    v = rows.EditValues(2); // c: row 0 of the table
    EXPECT_EQ(v.recordIndex, 3);
    v.residence = S("大阪");
    rows.Replace(2, v);
    EXPECT_EQ(rows.Row(2).origin, 3);
    EXPECT_TRUE(Rebuild(rows, db, table).playersChanged);
    EXPECT_EQ(db.GetAt(3).m_residence, S("大阪"));
}

TEST(UserDbRowsTest, GradesTheListCannotShowSurviveOkAndUntouchedEdits)
{
    CPlayerDatabase db;
    db.Reset();
    db.Add("six", "", "", "", -6, "");
    db.Add("wild", "", "", "", 12, "");
    CUserDbRows rows;
    rows.LoadFrom(db);
    EXPECT_EQ(rows.Text(0, CUserDbRows::Grade), S("６級"));
    // Edited without touching the grade: the list shows "無し", the code stays.
    UserEditValues v = rows.EditValues(0);
    EXPECT_EQ(v.gradeIndex, 14);
    v.shortName = "s";
    rows.Replace(0, v);
    CResultTable table;
    Rebuild(rows, db, table);
    EXPECT_EQ(db.GetAt(1).m_grade, -6);
    EXPECT_EQ(db.GetAt(2).m_grade, 12);

    rows.LoadFrom(db);
    v = rows.EditValues(0);
    v.gradeIndex = 13; // ５級 chosen in the list
    rows.Replace(0, v);
    Rebuild(rows, db, table);
    EXPECT_EQ(db.GetAt(1).m_grade, -5);
    // No grade chosen at all is no grade, not the list's first item (九段).
    v = UserEditValues{};
    EXPECT_EQ(GradeCodeOf(v), 0);
}

} // namespace
} // namespace tabry
