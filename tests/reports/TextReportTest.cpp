#include "reports/TextReport.h"

#include "reports/Formatters.h"
#include "tests/reports/ReportFixture.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::CrLf;
using test::S;
using test::U;

std::string Credit()
{
    return "\r\n\r\n         " + ProgramHomePage() + "\r\n";
}

std::string Render(TournamentData& d)
{
    std::string out;
    WriteTextReport(d.table, d.info, d.players, out);
    return out;
}

// Widths: rank 1, names 14 (long name / residence), 6 (short name / grade),
// rounds 6 (results 5, opponents 6), record 11 + 1; one blank after every
// round column in disc difference mode. The empty row 2 is skipped.
TEST(TextReportTest, DiscDifferenceModeWithOneTieBreakValue)
{
    TournamentData d = test::SpringCup();
    EXPECT_EQ(U(Render(d)), U(CrLf({
                                  S(" 春季大会"),
                                  " 2024/05/03",
                                  "",
                                  S("1. 山田 太郎      山田    ○+12  ○+ 4          2勝 0敗 0分"),
                                  S("   東京           三段    佐藤   ジョン 鈴木            +16"),
                                  S("2. 佐藤　花子     佐藤    ×-12  ○+ 4  ○  0   2勝 1敗 0分"),
                                  S("   大阪           ２級    山田   鈴木   不戦            - 8"),
                                  S("3. ジョン・スミス ジョン  △  0  ×- 4          0勝 1敗 1分"),
                                  S("                          鈴木   山田                   - 4"),
                                  S("3. 鈴木一郎       鈴木    △  0  ×- 4          0勝 1敗 1分"),
                                  S("   北海道         初段    ジョン 佐藤   山田            - 4"),
                              })
                              + Credit()));
}

// Method 3 puts win points A and secondary points A, each right-aligned in
// its own width, right-aligned together in the totals column. In disc count
// mode the round columns (6 wide: "○38  ") are only filled to their width,
// so a 6-byte opponent name touches the next one.
TEST(TextReportTest, DiscCountModeWithTwoTieBreakValues)
{
    TournamentData d = test::SpringCup();
    d.table.settings.showDiscDifference = false;
    d.table.settings.tieBreak = WinPointsASecondary;
    d.table.Sort(WinPointsASecondary, false);
    d.info.year = 0;
    EXPECT_EQ(U(Render(d)), U(CrLf({
                                  S(" 春季大会"),
                                  "",
                                  S("1. 山田 太郎      山田    ○38  ○34         2勝 0敗 0分"),
                                  S("   東京           三段    佐藤  ジョン鈴木       3.0 9.5"),
                                  S("2. 佐藤　花子     佐藤    ×26  ○34  ○32   2勝 1敗 0分"),
                                  S("   大阪           ２級    山田  鈴木  不戦       2.5 7.5"),
                                  S("3. 鈴木一郎       鈴木    △32  ×30         0勝 1敗 1分"),
                                  S("   北海道         初段    ジョン佐藤  山田       4.5 8.0"),
                                  S("4. ジョン・スミス ジョン  △32  ×30         0勝 1敗 1分"),
                                  S("                          鈴木  山田             2.5 7.5"),
                              })
                              + Credit()));
}

TEST(TextReportTest, HeadingWithDateButNoName)
{
    TournamentData d = test::SpringCup();
    d.info.name.clear();
    const std::string out = Render(d);
    EXPECT_EQ(out.substr(0, 15), " 2024/05/03\r\n\r\n");
    EXPECT_EQ(out.substr(15, 2), "1.");
}

TEST(TextReportTest, WithoutPlayersOnlyHeadingAndCredit)
{
    TournamentData d = test::SpringCup();
    for (int r = 0; r < d.table.PlayerCount(); ++r)
        d.table.DeletePlayer(r);
    EXPECT_EQ(Render(d), S(" 春季大会\r\n 2024/05/03\r\n\r\n") + Credit());
    d.info = CTournamentInfo{};
    EXPECT_EQ(Render(d), Credit());
}

// Ranks of ten or more players widen the rank column; shorter ranks are
// right-aligned and line 2 starts under the names.
TEST(TextReportTest, RanksAreRightAlignedInTheWidestRank)
{
    test::TournamentBuilder b(10, 1);
    for (int r = 0; r < 10; ++r)
        b.Player(r, std::string(1, static_cast<char>('a' + r)), std::string(1, static_cast<char>('a' + r)), "", 0);
    for (int r = 0; r < 10; r += 2)
        b.Game(0, r, r + 1, ResultWin, 64 - r);
    TournamentData& d = b.Done();
    d.table.Sort(DiscDifference, false);
    const std::string out = Render(d);
    EXPECT_EQ(out.substr(0, out.find("\r\n")),
              " 1. a a  " + S("○+64") + "  1" + S("勝") + " 0" + S("敗") + " 0" + S("分"));
    EXPECT_NE(out.find("\r\n10. b b  " + S("×-64")), std::string::npos);
    EXPECT_NE(out.find("\r\n         b  "), std::string::npos); // 3 + 1 blanks, then residence and grade (empty)
}

} // namespace
} // namespace tabry
