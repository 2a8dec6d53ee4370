#include "reports/RatingCsv.h"

#include "outputs/OutputKinds.h"
#include "tests/reports/ReportFixture.h"
#include "text/Cp932.h"
#include "text/LineString.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::CrLf;
using test::S;
using test::TournamentBuilder;
using test::U;

struct Split {
    int result;
    std::string first;
    std::string second;
};

Split SplitOf(std::string_view sjis)
{
    Split s{0, "untouched", "untouched"};
    s.result = SplitPlayerName(sjis, s.first, s.second);
    return s;
}

void ExpectSplit(std::string_view utf8, std::string_view first, std::string_view second)
{
    SCOPED_TRACE(utf8);
    const Split s = SplitOf(S(utf8));
    EXPECT_EQ(s.result, 2);
    EXPECT_EQ(U(s.first), first);
    EXPECT_EQ(U(s.second), second);
}

void ExpectNoSplit(std::string_view sjis)
{
    SCOPED_TRACE(U(sjis));
    const Split s = SplitOf(sjis);
    EXPECT_EQ(s.result, 0);
    EXPECT_EQ(s.first, "untouched");
    EXPECT_EQ(s.second, "untouched");
}

TEST(SplitPlayerNameTest, BlanksOfAnyKindSeparateFamilyAndGivenName)
{
    ExpectSplit("山田　太郎", "山田", "太郎");
    ExpectSplit("山田 太郎", "山田", "太郎");
    ExpectSplit("山田   太郎", "山田", "太郎");
    ExpectSplit("  山田　 　太郎\t ", "山田", "太郎");
    ExpectSplit("　山田 太郎　", "山田", "太郎");
    // Only the first blank separates; the rest stays with the given name.
    ExpectSplit("Jean  Luc Picard", "Jean", "Luc Picard");
}

TEST(SplitPlayerNameTest, TheMiddleDotSeparatesWhenThereIsNoBlank)
{
    ExpectSplit("ジョン・スミス", "ジョン", "スミス");
    ExpectSplit("ア・イ・ウ", "ア", "イ・ウ");
}

TEST(SplitPlayerNameTest, NamesOfFourFiveOrSixDoubleByteCharactersSplitByLength)
{
    ExpectSplit("鈴木一郎", "鈴木", "一郎");
    ExpectSplit("長谷川一郎", "長谷", "川一郎");
    ExpectSplit("長谷川小太郎", "長谷川", "小太郎");
    ExpectNoSplit(S("田中一"));
    ExpectNoSplit(S("勅使河原三郎太"));
    ExpectNoSplit(S("一"));
    ExpectNoSplit("");
    ExpectNoSplit(S("　"));
}

// A byte-wise search took the trail byte 0x81 of "メ" followed by 'E' for the
// middle dot 0x81 0x45, and a trail byte 0x81 followed by '@' for the
// full-width space; the length split cut mixed names inside a character.
TEST(SplitPlayerNameTest, NeverCutsADoubleByteCharacter)
{
    ExpectNoSplit(S("カメEX"));
    ExpectNoSplit(S("メ@メ"));
    ExpectNoSplit(S("a山田cde"));    // 8 bytes: the cut after 4 would halve 田
    ExpectNoSplit(S("a山田太郎b"));  // 10 bytes: the cut after 4 would halve 田
    ExpectNoSplit(S("abc山田太郎")); // 11 bytes: no length rule
}

// Where the fixed cut falls between characters, mixed and single-byte names
// split by length as they always have.
TEST(SplitPlayerNameTest, LengthSplitOnACharacterBoundaryStays)
{
    ExpectSplit("abcdefgh", "abcd", "efgh");
    ExpectSplit("山本ｭﾃﾒｭ", "山本", "ｭﾃﾒｭ");
    ExpectSplit("ｱｲｳｴｵｶｷｸ", "ｱｲｳｴ", "ｵｶｷｸ");
    ExpectSplit("ab山田cd", "ab山", "田cd");
    // A lead byte without its trail byte at the end counts as one byte.
    const Split s = SplitOf("abcdefg\x81");
    EXPECT_EQ(s.result, 2);
    EXPECT_EQ(s.first, "abcd");
    EXPECT_EQ(s.second, "efg\x81");
}

TEST(SplitPlayerNameTest, NoDoubleByteCharacterIsTakenForASeparator)
{
    const std::string dot = S("・");
    const std::string space = S("　");
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!cp932::IsLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!cp932::IsTrailByte(static_cast<unsigned char>(trail)))
                continue;
            const std::string c{static_cast<char>(lead), static_cast<char>(trail)};
            if (c == dot || c == space)
                continue;
            std::string first;
            std::string second;
            ASSERT_EQ(SplitPlayerName(c + "E" + c, first, second), 0) << lead << " " << trail;
            ASSERT_EQ(SplitPlayerName(c + "@" + c, first, second), 0) << lead << " " << trail;
            ASSERT_EQ(SplitPlayerName("a" + c + c + c + "b", first, second), 0) << lead << " " << trail;
            ASSERT_EQ(SplitPlayerName(c + c + c + c, first, second), 2) << lead << " " << trail;
            ASSERT_EQ(first, c + c);
            ASSERT_EQ(second, c + c);
        }
    }
}

// Only the first 255 bytes take part, and never half of a character.
TEST(SplitPlayerNameTest, LongNamesAreSplitWithinTheirFirst255Bytes)
{
    std::string first;
    std::string second;
    ASSERT_EQ(SplitPlayerName(std::string(250, 'a') + " " + std::string(30, 'b'), first, second), 2);
    EXPECT_EQ(first, std::string(250, 'a'));
    EXPECT_EQ(second, std::string(4, 'b'));

    // Byte 255 would be the lead byte of 山: it is left out with its trail
    // byte, the blank before it is trimmed, and nothing remains to split at.
    EXPECT_EQ(SplitPlayerName(std::string(253, 'a') + " " + S("山田"), first, second), 0);
    ASSERT_EQ(SplitPlayerName(std::string(252, 'a') + " " + S("山田"), first, second), 2);
    EXPECT_EQ(second, S("山"));

    EXPECT_EQ(SplitPlayerName(std::string(300, 'a'), first, second), 0);
}

TEST(CollectDuplicateShortNamesTest, ListsEachSharedNameOnceInOrderOfItsSecondUse)
{
    TournamentBuilder b(7, 1);
    b.Player(0, "田中 一", "田中", "", 0)
        .Player(1, "中村 一", "中村", "", 0)
        .Player(3, "田中 二", "田中", "", 0)
        .Player(4, "中村 二", "中村", "", 0)
        .Player(5, "田中 三", "田中", "", 0)
        .Player(6, "山田 一", "山田", "", 0);
    TournamentData& d = b.Done();
    CFieldList duplicates;
    duplicates.Append("stale");
    ASSERT_EQ(CollectDuplicateShortNames(d.table, d.players, duplicates), 2);
    EXPECT_EQ(duplicates.Get(0).str(), S("田中"));
    EXPECT_EQ(duplicates.Get(1).str(), S("中村"));
    EXPECT_EQ(DuplicateShortNameMessage(duplicates),
              S("以下の表示名(短)が重複して使用されているため\n本フォーマットに変換することが出来ません：\n\n"
                "  田中\n  中村\n"));

    std::string out = "old";
    std::string refusal;
    EXPECT_EQ(RenderOutput(OutputKind::RatingCsv, d, 0, out, &refusal), OutputStatus::Refused);
    EXPECT_EQ(out, "");
    EXPECT_EQ(refusal, DuplicateShortNameMessage(duplicates));
}

TEST(WriteRatingCsvTest, TwoAlignedLinesPerPlayer)
{
    TournamentData d = test::SpringCup();
    std::string out;
    WriteRatingCsv(d.table, d.info, d.players, out);
    // CSV names 9, 9, 13 and 9 bytes: all padded to 13.
    EXPECT_EQ(U(out), U(CrLf({
                          S("2024/05/03,春季大会"),
                          S("  1,山田 太郎    ,山田,○+12,○+ 4,+ 0, 2勝 0敗 0分"),
                          S("   ,東京         ,三段,佐藤 ,ジョン ,鈴木 ,         +16"),
                          S("  2,佐藤 花子    ,佐藤,×-12,○+ 4,○+ 0, 2勝 1敗 0分"),
                          S("   ,大阪         ,２級,山田 ,鈴木 ,不戦 ,          -8"),
                          S("  3,ジョン スミス,ジョン,△+ 0,×- 4,     , 0勝 1敗 1分"),
                          S("   ,             ,    ,鈴木 ,山田 ,     ,          -4"),
                          S("  4,鈴木 一郎    ,鈴木,△+ 0,×- 4,+ 0, 0勝 1敗 1分"),
                          S("   ,北海道       ,初段,ジョン ,佐藤 ,山田 ,          -4"),
                      })));
}

TEST(WriteRatingCsvTest, AlwaysPrintsDifferencesAndTheTableAsItStands)
{
    TournamentData d = test::SpringCup();
    d.table.settings.showDiscDifference = false;
    d.table.settings.tieBreak = Brightwell;
    d.info = CTournamentInfo{};
    std::string out;
    WriteRatingCsv(d.table, d.info, d.players, out);
    // No heading line at all, and the rows keep their order.
    EXPECT_EQ(out.substr(0, out.find("\r\n")), S("  1,山田 太郎    ,山田,○+12,○+ 4,+ 0, 2勝 0敗 0分"));
}

TEST(WriteRatingCsvTest, HeadingHasDateOrNameOrBoth)
{
    TournamentData d = test::SpringCup();
    auto heading = [&d] {
        std::string out;
        WriteRatingCsv(d.table, d.info, d.players, out);
        return out.substr(0, out.find("\r\n"));
    };
    d.info.name.clear();
    EXPECT_EQ(heading(), "2024/05/03");
    d.info.name = S("大会");
    d.info.year = 0;
    EXPECT_EQ(heading(), S("大会"));
    d.info.year = 1999;
    d.info.month = 12;
    d.info.day = 31;
    EXPECT_EQ(heading(), S("1999/12/31,大会"));
}

TEST(WriteRatingCsvTest, AnUnsplittableNameIsWrittenAsStored)
{
    TournamentBuilder b(2, 1);
    b.Player(0, "勅使河原三郎太", "勅使", "", 0).Player(1, "ab", "ab", "", 0).Game(0, 0, 1, ResultLoss, -64);
    TournamentData& d = b.Done();
    std::string out;
    WriteRatingCsv(d.table, d.info, d.players, out);
    EXPECT_EQ(U(out), U(CrLf({
                          S("  1,勅使河原三郎太,勅使,×-64, 0勝 1敗 0分"),
                          S("   ,              ,    ,ab   ,         -64"),
                          S("  2,ab            ,ab  ,○+64, 1勝 0敗 0分"),
                          S("   ,              ,    ,勅使 ,         +64"),
                      })));
}

} // namespace
} // namespace tabry
