#include "reports/ZepReport.h"

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
    WriteZepReport(d.table, d.info, d.players, out);
    return out;
}

std::string Head(std::string_view name, std::string_view date)
{
    return CrLf({
        R"(\newpage{upage})",
        "#",
        R"(\addstyle{B5})",
        "#",
        R"(\set{left}{20mm})",
        R"(\set{top}{45mm})",
        R"(\set{bottom}{242mm})",
        "#",
        R"(\begin{artbox}{15mm}{30mm}{$pageright}{$pagebottom})",
        R"( \bf)",
        S(R"( {\large )") + S(name) + R"(}\n)",
        R"( {\flushright )" + S(date) + "}",
        R"(\end{artbox})",
        "#",
        R"(\set{wid1}{1.5zw})",
        R"(\set{wid2}{5.1zw})",
        R"(\set{wid3}{2.8zw})",
        R"(\set{wid4}{6zw})",
        R"(\set{sp1}{3mm})",
        R"(\set{sp2}{5mm})",
        R"(\set{sp3}{4mm})",
        R"(\set{sp4}{4mm})",
        R"(\set{lskip}{13pt})",
        R"(\set{strsize}{10pt})",
        "",
        R"(\set{x}{$left})",
    });
}

TEST(ZepReportTest, WholeFile)
{
    TournamentData d = test::SpringCup();
    const std::string page = CrLf({
        R"(\set{x}{$left})",
        R"(\@set{x2}{$x $wid1 +})",
        R"(\begin{artbox}{$x}{$top}{$x2}{$bottom})",
        R"(\point{$strsize}\lineskip{$lskip})",
        R"(\flushright)",
        R"(1.\n\n 2.\n\n 3.\n\n 4.\n\n \end{artbox})",
        R"(\@set{x}{$x2 $sp1 +})",
        R"(\@set{x2}{$x $wid2 +})",
        R"(\begin{artbox}{$x}{$top}{$x2}{$bottom})",
        R"(\point{$strsize}\lineskip{$lskip})",
        R"(\flushright)",
        S(R"(山田　太郎\n三段\n)"),
        S(R"(佐藤　花子\n２級\n)"),
        S(R"(ジョン・スミス\n\n)"),
        S(R"(鈴木一郎　\n初段\n)"),
        R"(\end{artbox})",
        R"(\@set{x}{$x2 $sp2 +})",
        R"( \@set{x2}{$x $wid3 +})",
        R"( \begin{artbox}{$x}{$top}{$x2}{$bottom})",
        R"(  \point{10pt}\lineskip{$lskip})",
        S(R"(○\cr{\flushright +12\n 佐藤})"),
        S(R"(×\cr{\flushright -12\n 山田})"),
        S(R"(△\cr{\flushright   0\n 鈴木})"),
        S(R"(△\cr{\flushright   0\n ジョン})"),
        R"(\end{artbox})",
        R"(\@set{x}{$x2 $sp3 +})",
        R"( \@set{x2}{$x $wid3 +})",
        R"( \begin{artbox}{$x}{$top}{$x2}{$bottom})",
        R"(  \point{10pt}\lineskip{$lskip})",
        S(R"(○\cr{\flushright + 4\n ジョン})"),
        S(R"(○\cr{\flushright + 4\n 鈴木})"),
        S(R"(×\cr{\flushright - 4\n 山田})"),
        S(R"(×\cr{\flushright - 4\n 佐藤})"),
        R"(\end{artbox})",
        R"(\@set{x}{$x2 $sp3 +})",
        R"( \@set{x2}{$x $wid3 +})",
        R"( \begin{artbox}{$x}{$top}{$x2}{$bottom})",
        R"(  \point{10pt}\lineskip{$lskip})",
        S(R"(\cr{\flushright \n 鈴木})"),
        S(R"(○\cr{\flushright   0\n 不戦})"),
        R"(\cr{\flushright \n })",
        S(R"(\cr{\flushright \n 山田})"),
        R"(\end{artbox})",
        R"(\@set{x}{$x2 $sp4 +})",
        R"( \@set{x2}{$x $wid4 +})",
        R"( \begin{artbox}{$x}{$top}{$x2}{$bottom})",
        R"( \point{10pt}\lineskip{$lskip})",
        R"( \flushright)",
        S(R"(2勝 0敗 0分\n +16\n)"),
        S(R"(2勝 1敗 0分\n - 8\n)"),
        S(R"(0勝 1敗 1分\n - 4\n)"),
        S(R"(0勝 1敗 1分\n - 4\n)"),
        R"(\end{artbox})",
        "",
    });
    EXPECT_EQ(U(Render(d)), U(Head("春季大会", "2024年5月3日") + page));
}

TEST(ZepReportTest, WithoutPlayersTheFileEndsAfterTheSettings)
{
    TournamentData d;
    EXPECT_EQ(Render(d), Head("", ""));
}

TEST(ZepReportTest, DiscCountModeSplitsMarkAndCount)
{
    TournamentData d = test::SpringCup();
    d.table.settings.showDiscDifference = false;
    const std::string out = Render(d);
    EXPECT_NE(out.find(S(R"(○\cr{\flushright 38  \n 佐藤})") + "\r\n"), std::string::npos);
    EXPECT_NE(out.find(S(R"(2勝 0敗 0分\n 72  \n)") + "\r\n"), std::string::npos);
}

TEST(ZepReportTest, TwoTieBreakValuesAreSeparatedBySlash)
{
    TournamentData d = test::SpringCup();
    d.table.settings.tieBreak = Brightwell;
    EXPECT_NE(Render(d).find(S(R"(2勝 0敗 0分\n 90.00 / +16\n)")), std::string::npos);
}

TEST(ZepReportTest, AlignedNamesFillFiveFullWidthCharacters)
{
    EXPECT_EQ(U(AlignedZepName(S("山田 太郎"))), "山田　太郎");
    EXPECT_EQ(U(AlignedZepName(S("林 太郎"))), "林　　太郎");
    EXPECT_EQ(U(AlignedZepName(S("林 一"))), "林　　　一");
    EXPECT_EQ(U(AlignedZepName(S("\t林\r\n一 余り "))), "林　　　一");
    EXPECT_EQ(U(AlignedZepName(S("長谷川一郎"))), "長谷川一郎");
    EXPECT_EQ(U(AlignedZepName(S("勅使河原三郎太"))), "勅使河原三郎太");
    EXPECT_EQ(U(AlignedZepName(S("林　一"))), "林　一　　"); // a full-width space is no separator
    EXPECT_EQ(U(AlignedZepName("ab c")), "ab　　　c");
    EXPECT_EQ(U(AlignedZepName("")), "　　　　　");
}

// Players 1 to 20 fill the first page; number 21 stands alone on the second,
// which repeats every box. The number box breaks its line after every fifth
// number of the page.
TEST(ZepReportTest, PagesOfTwentyAndALineBreakAfterEveryFifthNumber)
{
    test::TournamentBuilder b(28, 1);
    for (int r = 0; r < 21; ++r)
        b.Player(r, test::Numbered("P", r + 1), "p", "", 0);
    TournamentData& d = b.Done();
    const std::string out = Render(d);
    const std::string numbers1 = R"(1.\n\n 2.\n\n 3.\n\n 4.\n\n 5.\n\n )"
                                 "\r\n"
                                 R"(6.\n\n 7.\n\n 8.\n\n 9.\n\n 10.\n\n )"
                                 "\r\n"
                                 R"(11.\n\n 12.\n\n 13.\n\n 14.\n\n 15.\n\n )"
                                 "\r\n"
                                 R"(16.\n\n 17.\n\n 18.\n\n 19.\n\n 20.\n\n )"
                                 "\r\n"
                                 R"(\end{artbox})"
                                 "\r\n";
    const std::string page2 = "\\newpage{}\r\n\\set{x}{$left}\r\n\\@set{x2}{$x $wid1 +}\r\n"
                              "\\begin{artbox}{$x}{$top}{$x2}{$bottom}\r\n\\point{$strsize}\\lineskip{$lskip}\r\n"
                              "\\flushright\r\n21.\\n\\n \\end{artbox}\r\n";
    EXPECT_NE(out.find(numbers1), std::string::npos);
    ASSERT_NE(out.find(page2), std::string::npos);
    EXPECT_EQ(out.find("\\newpage{}"), out.rfind("\\newpage{}"));
    const std::string second = out.substr(out.find(page2));
    EXPECT_NE(second.find(S(R"(p21　　　\n\n)") + "\r\n"), std::string::npos);
    EXPECT_EQ(second.find("p20"), std::string::npos);
    const std::string end = "\\end{artbox}\r\n\r\n";
    EXPECT_EQ(out.substr(out.size() - end.size()), end);

    // Exactly twenty players: one page.
    d.table.DeletePlayer(20);
    EXPECT_EQ(Render(d).find("\\newpage{}"), std::string::npos);
}

// Numbers count player rows by position; an empty row among them (a table
// that was never sorted) prints nothing and takes no number.
TEST(ZepReportTest, EmptyRowsAmongThePlayersAreSkipped)
{
    TournamentData d = test::SpringCup();
    const std::string out = Render(d);
    EXPECT_NE(out.find(S(R"(鈴木一郎　\n初段\n)")), std::string::npos);
    EXPECT_EQ(out.find(R"(5.\n)"), std::string::npos);
}

} // namespace
} // namespace tabry
