#include "app/ReportCommand.h"

#include "core/TournamentData.h"
#include "tests/app/AppTestSupport.h"
#include "tests/guisupport/GuiTest.h"

#include <gtest/gtest.h>

namespace tabry::app {
namespace {

using test::Prompts;
using test::Q;

// Renders "<kind>:<round>" and refuses the rating CSV when told to.
class FakeRenderer : public IReportRenderer {
public:
    bool refuseCsv = false;
    int calls = 0;
    int Render(ReportCommandKind kind, const TournamentData&, int round, std::string& out, std::string* refusal) override
    {
        ++calls;
        if (kind == ReportCommandKind::RatingCsv && refuseCsv) {
            *refusal = test::S("以下の表示名(短)が重複して使用されているため\n本フォーマットに変換することが出来ません：\n\n  山田\n");
            return -1;
        }
        out += std::to_string(static_cast<int>(kind)) + ":" + std::to_string(round) + "\r\n";
        return 0;
    }
    std::string DefaultFileName(std::string_view title) override
    {
        if (title.size() >= 4 && title.substr(title.size() - 4) == ".stg")
            title.remove_suffix(4);
        return std::string(title);
    }
};

TEST(ReportCommandTest, PipeFiltersBecomeQtFilters)
{
    EXPECT_EQ(QtFilterFromPipe(PipeFilterOf(ReportCommandKind::RatingCsv)),
              QString::fromUtf8("CSV(カンマ区切り) (*.csv);;All Files (*)"));
    EXPECT_EQ(QtFilterFromPipe(PipeFilterOf(ReportCommandKind::Text)),
              QString::fromUtf8("テキストファイル(*.txt);;All Files (*)"));
    EXPECT_EQ(QtFilterFromPipe(PipeFilterOf(ReportCommandKind::Html)), "HTML File(*.html);;All Files (*)");
    EXPECT_EQ(QtFilterFromPipe(PipeFilterOf(ReportCommandKind::Zep)), "HTML File(*.zep);;All Files (*)");
    EXPECT_EQ(QtFilterFromPipe(PipeFilterOf(ReportCommandKind::PairingTable)),
              QString::fromUtf8("CSVファイル(*.csv);;All Files (*)"));
    EXPECT_EQ(QtFilterFromPipe("Plain|*.a;*.b||"), "Plain (*.a *.b)");
    EXPECT_STREQ(DefaultExtensionOf(ReportCommandKind::Html), "html");
    EXPECT_STREQ(DefaultExtensionOf(ReportCommandKind::Zep), "zep");
    EXPECT_STREQ(DefaultExtensionOf(ReportCommandKind::Text), "txt");
    EXPECT_STREQ(DefaultExtensionOf(ReportCommandKind::ScoreSheet), "csv");
}

TEST(ReportCommandTest, ProposedNameDropsOnlyALowerCaseStgExtension)
{
    FakeRenderer r;
    EXPECT_EQ(DefaultReportName(r, "cup.stg"), "cup");
    EXPECT_EQ(DefaultReportName(r, "cup.STG"), "cup.STG");
    EXPECT_EQ(DefaultReportName(r, QString::fromUtf8("無題")), QString::fromUtf8("無題"));
    // Characters without a Shift_JIS code survive.
    EXPECT_EQ(DefaultReportName(r, QString::fromUtf8("caf\u00e9\U0001F600.stg")), QString::fromUtf8("caf\u00e9\U0001F600"));
}

struct RunFixture : testing::Test {
    test::TempDir dir;
    TournamentData data;
    FakeRenderer renderer;
    bool Run(ReportCommandKind kind, int round = 0)
    {
        return RunReportCommand(nullptr, renderer, kind, data, "cup.stg", Q(dir.Path()), round);
    }
};

TEST_F(RunFixture, WritesTheRenderedBytesToTheChosenFile)
{
    Prompts().QueuePath(Q(dir / "out.txt"));
    EXPECT_TRUE(Run(ReportCommandKind::Text));
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, "save");
    EXPECT_EQ(Prompts().Events()[0].text, Q(dir / "cup.txt")); // proposed name
    EXPECT_EQ(test::ReadAll(dir / "out.txt"), "1:0\r\n");
}

TEST_F(RunFixture, CancelWritesNothing)
{
    EXPECT_FALSE(Run(ReportCommandKind::Html));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST_F(RunFixture, TheCsvRefusalComesBeforeAnyDialog)
{
    renderer.refuseCsv = true;
    Prompts().QueuePath(Q(dir / "x.csv"));
    EXPECT_FALSE(Run(ReportCommandKind::RatingCsv));
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, "error");
    EXPECT_TRUE(Prompts().Events()[0].text.startsWith(QString::fromUtf8("以下の表示名(短)が重複")));
    EXPECT_FALSE(std::filesystem::exists(dir / "x.csv"));
}

TEST_F(RunFixture, AnExistingFileIsOnlyReplacedAfterYes)
{
    test::WriteAll(dir / "old.csv", "keep");
    Prompts().QueuePath(Q(dir / "old.csv"));
    Prompts().QueueAnswer(ui::Answer::No); // back to the dialog, which is then cancelled
    EXPECT_FALSE(Run(ReportCommandKind::ScoreSheet));
    EXPECT_EQ(test::ReadAll(dir / "old.csv"), "keep");

    Prompts().Reset();
    Prompts().QueuePath(Q(dir / "old.csv"));
    Prompts().QueueAnswer(ui::Answer::Yes);
    EXPECT_TRUE(Run(ReportCommandKind::PairingTable, 3));
    EXPECT_EQ(test::ReadAll(dir / "old.csv"), "6:3\r\n");
    EXPECT_EQ(Prompts().Events()[1].kind, "overwrite");
}

TEST_F(RunFixture, AFileThatCannotBeWrittenIsReported)
{
    Prompts().QueuePath(Q(dir / "missing" / "folder" / "r.zep"));
    EXPECT_FALSE(Run(ReportCommandKind::Zep));
    ASSERT_EQ(Prompts().Events().size(), 2u);
    EXPECT_EQ(Prompts().Events()[1].kind, "error");
    EXPECT_TRUE(Prompts().Events()[1].text.contains("r.zep"));
}

TEST(ReportCommandTest, PairingRoundProposalIsTheLastRoundWithGames)
{
    TournamentData data;
    EXPECT_EQ(ProposedPairingRound(data), 1);
    data.table.Entry(0).playerIndex = data.players.Add("a", "", "", "", 0, "");
    ResultCell bye;
    bye.opponent = ByeOpponent;
    data.table.SetCell(0, 3, bye);
    EXPECT_EQ(ProposedPairingRound(data), 4);
}

} // namespace
} // namespace tabry::app
