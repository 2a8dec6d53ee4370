#include "app/ReportCommand.h"

#include "core/TournamentData.h"
#include "tests/app/AppTestSupport.h"
#include "tests/guisupport/GuiTest.h"

#include <gtest/gtest.h>

namespace tabry::app {
namespace {

using test::Prompts;
using test::Q;
using test::Shown;

// Renders "<kind>:<round>" and refuses the rating CSV when told to.
class FakeRenderer : public IReportRenderer {
public:
    bool refuseCsv = false;
    int calls = 0;
    OutputStatus Render(OutputKind kind, const TournamentData&, int round, const OutputOptions&, std::string& out,
                        std::string* refusal) override
    {
        ++calls;
        if (kind == OutputKind::RatingCsv && refuseCsv) {
            *refusal = test::S(
                "以下の表示名(短)が重複して使用されているため\n本フォーマットに変換することが出来ません：\n\n  山田\n");
            return OutputStatus::Refused;
        }
        out += std::string(OutputKindOf(kind).name) + ":" + std::to_string(round) + "\r\n";
        return OutputStatus::Ok;
    }
    std::string DefaultFileName(std::string_view title) override
    {
        if (title.size() >= 4 && title.substr(title.size() - 4) == ".stg")
            title.remove_suffix(4);
        return std::string(title);
    }
};

QString FilterOf(OutputKind kind)
{
    const std::string_view pipe = OutputKindOf(kind).filter;
    return QtFilterFromPipe(QString::fromUtf8(pipe.data(), static_cast<qsizetype>(pipe.size())));
}

TEST(ReportCommandTest, PipeFiltersBecomeQtFilters)
{
    EXPECT_EQ(FilterOf(OutputKind::RatingCsv), QString::fromUtf8("CSV(カンマ区切り) (*.csv);;All Files (*)"));
    EXPECT_EQ(FilterOf(OutputKind::Text), QString::fromUtf8("テキストファイル(*.txt);;All Files (*)"));
    EXPECT_EQ(FilterOf(OutputKind::Html), "HTML File(*.html);;All Files (*)");
    EXPECT_EQ(FilterOf(OutputKind::Zep), "HTML File(*.zep);;All Files (*)");
    EXPECT_EQ(FilterOf(OutputKind::PairingTable), QString::fromUtf8("CSVファイル(*.csv);;All Files (*)"));
    EXPECT_EQ(QtFilterFromPipe("Plain|*.a;*.b||"), "Plain (*.a *.b)");
}

TEST(ReportCommandTest, ProposedNameDropsOnlyALowerCaseStgExtension)
{
    FakeRenderer r;
    EXPECT_EQ(DefaultReportName(r, "cup.stg"), "cup");
    EXPECT_EQ(DefaultReportName(r, "cup.STG"), "cup.STG");
    EXPECT_EQ(DefaultReportName(r, QString::fromUtf8("無題")), QString::fromUtf8("無題"));
    // Characters without a Shift_JIS code survive.
    EXPECT_EQ(DefaultReportName(r, QString::fromUtf8("caf\u00e9\U0001F600.stg")),
              QString::fromUtf8("caf\u00e9\U0001F600"));
}

struct RunFixture : testing::Test {
    test::TempDir dir;
    TournamentData data;
    FakeRenderer renderer;
    bool Run(OutputKind kind, int round = 0)
    {
        return RunReportCommand(nullptr, renderer, kind, data, "cup.stg", Q(dir.Path()), round);
    }
};

TEST_F(RunFixture, WritesTheRenderedBytesToTheChosenFile)
{
    Prompts().QueuePath(Q(dir / "out.txt"));
    EXPECT_TRUE(Run(OutputKind::Text));
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, "save");
    EXPECT_EQ(Prompts().Events()[0].text, Shown(dir / "cup.txt")); // proposed name
    EXPECT_EQ(test::ReadAll(dir / "out.txt"), "text:0\r\n");
}

TEST_F(RunFixture, NoTwoOutputsProposeTheSameFile)
{
    // Accepting every proposal must never write the federation's CSV over
    // an interim sheet or one round's sheet over another's.
    const QString title = QString::fromUtf8("第12回大会.stg");
    auto proposed = [&](OutputKind kind, int round) {
        Prompts().Reset();
        RunReportCommand(nullptr, renderer, kind, data, title, Q(dir.Path()), round); // cancelled
        return Prompts().Events().at(0).text;
    };
    EXPECT_EQ(proposed(OutputKind::PairingTable, 3), Shown(dir.Path() / u8"第12回大会_3回戦_組み合わせ.csv"));
    EXPECT_EQ(proposed(OutputKind::RatingCsv, 0), Shown(dir.Path() / u8"第12回大会.csv"));
    QStringList names;
    for (const OutputKindInfo& info : OutputKinds()) {
        const int rounds = info.round == RoundUse::None ? 0 : 3;
        for (int round = info.round == RoundUse::Required ? 1 : 0; round <= rounds; ++round)
            names << proposed(info.kind, round);
    }
    EXPECT_EQ(names.size(), 19);
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 19) << names.join(' ').toStdString();
}

TEST_F(RunFixture, CancelWritesNothing)
{
    EXPECT_FALSE(Run(OutputKind::Html));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST_F(RunFixture, TheCsvRefusalComesBeforeAnyDialog)
{
    renderer.refuseCsv = true;
    Prompts().QueuePath(Q(dir / "x.csv"));
    EXPECT_FALSE(Run(OutputKind::RatingCsv));
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
    EXPECT_FALSE(Run(OutputKind::ScoreSheet));
    EXPECT_EQ(test::ReadAll(dir / "old.csv"), "keep");

    Prompts().Reset();
    Prompts().QueuePath(Q(dir / "old.csv"));
    Prompts().QueueAnswer(ui::Answer::Yes);
    EXPECT_TRUE(Run(OutputKind::PairingTable, 3));
    EXPECT_EQ(test::ReadAll(dir / "old.csv"), "pairing-table:3\r\n");
    EXPECT_EQ(Prompts().Events()[1].kind, "overwrite");
}

TEST_F(RunFixture, AFileThatCannotBeWrittenIsReported)
{
    Prompts().QueuePath(Q(dir / "missing" / "folder" / "r.zep"));
    EXPECT_FALSE(Run(OutputKind::Zep));
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
