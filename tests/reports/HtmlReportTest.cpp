#include "reports/HtmlReport.h"

#include "reports/Formatters.h"
#include "tests/reports/ReportFixture.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::CrLf;
using test::S;
using test::U;

std::string Render(TournamentData& d)
{
    std::string out;
    WriteHtmlReport(d.table, d.info, d.players, out);
    return out;
}

const std::string& Head()
{
    static const std::string head = CrLf({
        R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">)",
        "<HTML>",
        "<HEAD>",
        R"(<META http-equiv="Content-Type" content="text/html; charset=Shift_JIS">)",
        "<TITLE></TITLE>",
        R"(<style type="text/css">)",
        "<!--",
        "TABLE.TORVA{",
        "    font-size:12px;",
        "}",
        "-->",
        "</style>",
        "</HEAD>",
        "<BODY>",
        "<CENTER>",
    });
    return head;
}

std::string TableStart(int rounds)
{
    std::string s = CrLf({
        R"(  <TABLE bgcolor="#ffffff" border="1" cellspacing="0" cellpadding="2" class="TORVA">)",
        R"(    <TR bgcolor="#e0e0e0" class="TITLE">)",
        S("      <TH nowrap>順位</TH>"),
        S("      <TH nowrap>氏名</TH>"),
    });
    for (int n = 1; n <= rounds; ++n)
        s += S("      <TH nowrap>") + std::to_string(n) + S("回戦</TH>\r\n");
    return s + CrLf({S("      <TH nowrap>合計</TH>"), "    </TR>"});
}

std::string Tail()
{
    return S("  </TBODY>\r\n</TABLE>\r\n※ この結果表は<A target=\"_blank\" href=\"") + ProgramHomePage()
           + S("\">Orlan氏作の TORVA</A> を用いて作成しました。</CENTER>\r\n</BODY>\r\n</HTML>\r\n");
}

TEST(HtmlReportTest, WholePage)
{
    TournamentData d = test::SpringCup();
    const std::string players = CrLf({
        "    <TR>",
        R"(      <TD align="center">1</TD>)",
        "      <TD>",
        R"(        <TABLE BORDER=0 width="100%" cellspacing="0" cellpadding="1" class="TORVA">)",
        S(R"(          <TR><TD nowrap>山田 太郎</TD><TD align="right" nowrap>&nbsp;山田</TD></TR>)"),
        S(R"(          <TR><TD nowrap>東京</TD><TD align="right" nowrap>三段</TD></TR>)"),
        "        </TABLE>",
        "      </TD>",
        S(R"(      <TD align="center">○+12<BR>佐藤</TD>)"),
        S(R"(      <TD align="center">○+ 4<BR>ジョン</TD>)"),
        S(R"(      <TD align="center"><BR>鈴木</TD>)"),
        S(R"(      <TD align="right" nowrap>&nbsp;2勝 0敗 0分<BR>+16</TD>)"),
        "    </TR>",
        "    <TR>",
        R"(      <TD align="center">2</TD>)",
        "      <TD>",
        R"(        <TABLE BORDER=0 width="100%" cellspacing="0" cellpadding="1" class="TORVA">)",
        S(R"(          <TR><TD nowrap>佐藤　花子</TD><TD align="right" nowrap>&nbsp;佐藤</TD></TR>)"),
        S(R"(          <TR><TD nowrap>大阪</TD><TD align="right" nowrap>２級</TD></TR>)"),
        "        </TABLE>",
        "      </TD>",
        S(R"(      <TD align="center">×-12<BR>山田</TD>)"),
        S(R"(      <TD align="center">○+ 4<BR>鈴木</TD>)"),
        S(R"(      <TD align="center">○  0<BR>不戦</TD>)"),
        S(R"(      <TD align="right" nowrap>&nbsp;2勝 1敗 0分<BR>- 8</TD>)"),
        "    </TR>",
        "    <TR>",
        R"(      <TD align="center">3</TD>)",
        "      <TD>",
        R"(        <TABLE BORDER=0 width="100%" cellspacing="0" cellpadding="1" class="TORVA">)",
        S(R"(          <TR><TD nowrap>ジョン・スミス</TD><TD align="right" nowrap>&nbsp;ジョン</TD></TR>)"),
        R"(          <TR><TD nowrap>&nbsp;</TD><TD align="right" nowrap>&nbsp;</TD></TR>)",
        "        </TABLE>",
        "      </TD>",
        S(R"(      <TD align="center">△  0<BR>鈴木</TD>)"),
        S(R"(      <TD align="center">×- 4<BR>山田</TD>)"),
        R"(      <TD align="center"><BR></TD>)",
        S(R"(      <TD align="right" nowrap>&nbsp;0勝 1敗 1分<BR>- 4</TD>)"),
        "    </TR>",
        "    <TR>",
        R"(      <TD align="center">3</TD>)",
        "      <TD>",
        R"(        <TABLE BORDER=0 width="100%" cellspacing="0" cellpadding="1" class="TORVA">)",
        S(R"(          <TR><TD nowrap>鈴木一郎</TD><TD align="right" nowrap>&nbsp;鈴木</TD></TR>)"),
        S(R"(          <TR><TD nowrap>北海道</TD><TD align="right" nowrap>初段</TD></TR>)"),
        "        </TABLE>",
        "      </TD>",
        S(R"(      <TD align="center">△  0<BR>ジョン</TD>)"),
        S(R"(      <TD align="center">×- 4<BR>佐藤</TD>)"),
        S(R"(      <TD align="center"><BR>山田</TD>)"),
        S(R"(      <TD align="right" nowrap>&nbsp;0勝 1敗 1分<BR>- 4</TD>)"),
        "    </TR>",
    });
    EXPECT_EQ(U(Render(d)), U(Head() + S("<B>春季大会</B>\r\n<BR>2024/05/03\r\n") + TableStart(3) + players + Tail()));
}

TEST(HtmlReportTest, HeadingVariants)
{
    TournamentData d = test::SpringCup();
    const std::string start = TableStart(3);
    auto between = [&] {
        const std::string out = Render(d);
        const size_t from = Head().size();
        return out.substr(from, out.find(start) - from);
    };
    d.info.year = 0;
    EXPECT_EQ(between(), S("<B>春季大会</B>\r\n"));
    d.info.name.clear();
    EXPECT_EQ(between(), "");
    d.info.year = 2004;
    d.info.month = 11;
    d.info.day = 7;
    EXPECT_EQ(between(), "2004/11/07\r\n");
}

TEST(HtmlReportTest, TwoTieBreakValuesAreSeparatedBySlash)
{
    TournamentData d = test::SpringCup();
    d.table.settings.tieBreak = WinPointsASecondary;
    EXPECT_NE(Render(d).find(S("<TD align=\"right\" nowrap>&nbsp;2勝 0敗 0分<BR>3.0 / 9.5</TD>")), std::string::npos);
}

TEST(HtmlReportTest, NamesAreWrittenUnescaped)
{
    test::TournamentBuilder b(1, 1);
    b.Player(0, "A&B <i>", "a<b", "", 0);
    TournamentData& d = b.Done();
    const std::string out = Render(d);
    EXPECT_NE(out.find("<TR><TD nowrap>a&b <i></TD><TD align=\"right\" nowrap>&nbsp;a<b</TD></TR>"), std::string::npos);
}

TEST(HtmlReportTest, WithoutPlayersTheTableHasOnlyItsHeading)
{
    TournamentData d;
    d.table.Resize(3, 2);
    EXPECT_EQ(Render(d), Head() + TableStart(2) + Tail());
}

} // namespace
} // namespace tabry
