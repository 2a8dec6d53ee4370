#include "playerdb/PlayerDatabase.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::CrLf;
using test::ReadAll;
using test::S;
using test::TempDir;
using test::WriteAll;

TEST(PlayerDatabaseTest, MissingFileLeavesOnlyTheByeRecord)
{
    TempDir dir;
    CPlayerDatabase db;
    db.Reset();
    EXPECT_EQ(db.Load(dir / "player.db"), -1);
    ASSERT_EQ(db.GetCount(), 1);
    const CPlayerRecord& bye = db.GetAt(0);
    EXPECT_EQ(bye.m_longName, S("不戦"));
    EXPECT_EQ(bye.m_shortName, S("不戦"));
    EXPECT_EQ(bye.m_inputName, "pass");
    EXPECT_EQ(db.Find(S("不戦")), 0);
}

TEST(PlayerDatabaseTest, LineExampleLoadsFoldedAndUnescaped)
{
    CPlayerDatabase db;
    db.Reset();
    db.LoadBytes(S("Ab%cC,s,IN,2,東京,X1\r\n"));
    ASSERT_EQ(db.GetCount(), 2);
    const CPlayerRecord& r = db.GetAt(1);
    EXPECT_EQ(r.m_longName, "ab,c");
    EXPECT_EQ(r.m_shortName, "s");
    EXPECT_EQ(r.m_inputName, "in");
    EXPECT_EQ(r.m_grade, 2);
    EXPECT_EQ(r.m_residence, S("東京"));
    EXPECT_EQ(r.m_memberNumber, "x1");
}

TEST(PlayerDatabaseTest, ShortLinesAreSkippedAndMissingFieldsAreEmpty)
{
    CPlayerDatabase db;
    db.LoadBytes("a,b,c,-3\nx,y,z\n\n,,,\n,,,,\nq,r,s, 7z,P,M,extra\n");
    ASSERT_EQ(db.GetCount(), 3);
    EXPECT_EQ(db.GetAt(0).m_grade, -3);
    EXPECT_EQ(db.GetAt(0).m_residence, "");
    EXPECT_EQ(db.GetAt(0).m_memberNumber, "");
    EXPECT_EQ(db.GetAt(1).m_longName, ""); // ",,,," has four empty fields, ",,," only three
    EXPECT_EQ(db.GetAt(2).m_grade, 7);
    EXPECT_EQ(db.GetAt(2).m_residence, "P"); // residence is stored unfolded
    EXPECT_EQ(db.GetAt(2).m_memberNumber, "m");
}

TEST(PlayerDatabaseTest, SaveEscapesSkipsTheByeRecordAndRoundTrips)
{
    CPlayerDatabase db;
    db.Reset();
    db.Add("a,b%", "IN", S("短"), S("大阪"), -2, "");
    db.Add(S("山田 太郎"), "yamada", S("山田"), S("神奈川"), 3, "J-0012");
    const std::string bytes = db.SaveBytes(1);
    EXPECT_EQ(bytes, CrLf({S("a%cb%%,短,in,-2,大阪,"), S("山田 太郎,山田,yamada,3,神奈川,j-0012")}));

    TempDir dir;
    ASSERT_EQ(db.Save(dir / "player.db", 1), 0);
    EXPECT_EQ(ReadAll(dir / "player.db"), bytes);
    CPlayerDatabase again;
    again.Reset();
    ASSERT_EQ(again.Load(dir / "player.db"), 0);
    EXPECT_EQ(again.SaveBytes(1), bytes);
}

TEST(PlayerDatabaseTest, FailedSaveIsReportedAndKeepsTheOldFile)
{
    TempDir dir;
    WriteAll(dir / "player.db", "old,o,o,0,,\r\n");
    CPlayerDatabase db;
    db.Reset();
    FileError error;
    EXPECT_EQ(db.Save(dir / "missing" / "player.db", 1, &error), -1);
    EXPECT_EQ(error.problem, FileProblem::FolderMissing);
    EXPECT_EQ(ReadAll(dir / "player.db"), "old,o,o,0,,\r\n");
}

TEST(PlayerDatabaseTest, ANulByteRefusesTheWholeFileAndItIsNeverSavedOver)
{
    using namespace std::string_literals;
    const std::string damaged = "a,a,a,0,,\r\nb,b,b,0,,\r\nc\0,c,c,0,,\r\nd,d,d,0,,\r\n"s;
    CPlayerDatabase db;
    db.Reset();
    EXPECT_EQ(db.LoadBytes(damaged), 3);
    EXPECT_EQ(db.GetCount(), 1);

    TempDir dir;
    WriteAll(dir / "player.db", damaged);
    FileError error;
    EXPECT_EQ(db.Load(dir / "player.db", &error), -1);
    EXPECT_EQ(error.problem, FileProblem::NulByte);
    EXPECT_EQ(error.line, 3);
    EXPECT_NE(FileErrorText(error).find("line 3"), std::string::npos);
    EXPECT_EQ(db.GetCount(), 1);
    // Whatever happens to the records in memory, the file keeps d (and c).
    db.Reset();
    db.Add("new", "new", "new", "", 0, "");
    EXPECT_TRUE(db.LoadRefused());
    EXPECT_EQ(db.Save(dir / "player.db", 1, &error), -1);
    EXPECT_EQ(error.problem, FileProblem::Refused);
    EXPECT_NE(FileErrorText(error).find("player.db"), std::string::npos);
    EXPECT_EQ(ReadAll(dir / "player.db"), damaged);

    // A missing file is an empty database, which may be written.
    EXPECT_EQ(db.Load(dir / "other.db"), -1);
    EXPECT_FALSE(db.LoadRefused());
    EXPECT_EQ(db.Save(dir / "other.db", 1), 0);
}

TEST(PlayerDatabaseTest, FindIsExactAndFirstMatchWins)
{
    CPlayerDatabase db;
    db.Reset();
    db.Add("dup", "", "", "", 0, "");
    db.Add("dup", "", "", "", 0, "");
    EXPECT_EQ(db.Find("dup"), 1);
    EXPECT_EQ(db.Find("DUP"), -1); // the given text is not folded
    EXPECT_EQ(db.Find("du"), -1);
    EXPECT_EQ(db.GetAt(99).m_longName, "");
    db.GetAt(99).m_longName = "scratch";
    EXPECT_EQ(db.GetAt(99).m_longName, "");
    const CPlayerDatabase copy(db);
    EXPECT_EQ(copy.GetCount(), 3);
    EXPECT_EQ(copy.GetAt(-1).m_longName, "");
}

TEST(PlayerDatabaseTest, FieldsLongerThan255BytesAreKeptWhole)
{
    CPlayerDatabase db;
    const std::string name(1000, 'x');
    db.Add(name, name, name, name, 1, name);
    CPlayerDatabase again;
    again.LoadBytes(db.SaveBytes(0));
    ASSERT_EQ(again.GetCount(), 1);
    EXPECT_EQ(again.GetAt(0).m_longName, name);
    EXPECT_EQ(again.GetAt(0).m_memberNumber, name);
}

} // namespace
} // namespace tabry
