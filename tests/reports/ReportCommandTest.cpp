// torva-cli report, run as the separate program it is.
#include "text/Cp932.h"
#include "outputs/OutputKinds.h"
#include "tests/reports/ReportFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace tabry {
namespace {

using test::S;

class ReportCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TournamentData d = test::SpringCup();
        ASSERT_TRUE(d.SaveFile(m_dir / "t.stg"));
        ASSERT_EQ(d.players.Save(m_dir / "player.db", 1), 0);
        m_loaded.LoadPlayers(m_dir / "player.db");
        ASSERT_EQ(m_loaded.LoadFile(m_dir / "t.stg"), LoadStatus::Ok);
    }

    // Runs torva-cli with the test database and tournament; returns its exit code.
    int Run(const std::string& args)
    {
        std::string command = "\"" TORVA_CLI_PATH "\" --db \"" + (m_dir / "player.db").string() + "\" " + args
            + " \"" + (m_dir / "t.stg").string() + "\" >\"" + (m_dir / "stdout").string() + "\" 2>\""
            + (m_dir / "stderr").string() + "\"";
#if defined(_WIN32)
        // cmd /c drops the first and the last quote of the line: a pair of
        // its own keeps the program's.
        command = "\"" + command + "\"";
#endif
        const int status = std::system(command.c_str());
#if defined(_WIN32)
        const int code = status;
#else
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
        m_stdout = test::ReadAll(m_dir / "stdout");
        m_stderr = test::ReadAll(m_dir / "stderr");
#if defined(_WIN32)
        // Standard error is a text stream, with CR LF line ends on Windows;
        // only standard output carries a report's bytes as they are.
        std::erase(m_stderr, '\r');
#endif
        return code;
    }

    std::string Expected(OutputKind kind, int round = 0)
    {
        std::string out;
        EXPECT_EQ(RenderOutput(kind, m_loaded, round, out, nullptr), OutputStatus::Ok);
        return out;
    }

    test::TempDir m_tmp;
    std::filesystem::path m_dir = m_tmp.Path();
    TournamentData m_loaded;
    std::string m_stdout;
    std::string m_stderr;
};

TEST_F(ReportCommandTest, WritesWhatTheDesktopCommandWrites)
{
    const struct {
        const char* args;
        OutputKind kind;
        int round;
    } cases[] = {
        {"report --format csv", OutputKind::RatingCsv, 0},
        {"report --format text", OutputKind::Text, 0},
        {"report --format html", OutputKind::Html, 0},
        {"report --format zep", OutputKind::Zep, 0},
        {"report --format score-sheet", OutputKind::ScoreSheet, 0},
        {"report --format score-sheet --round 2", OutputKind::ScoreSheet, 2},
        {"report --round 3 --format pairing-table", OutputKind::PairingTable, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        ASSERT_EQ(Run(c.args), 0) << m_stderr;
        EXPECT_EQ(m_stdout, Expected(c.kind, c.round));
        EXPECT_EQ(m_stderr, "");
    }
}

TEST_F(ReportCommandTest, WritesTheOutputFileOrUtf8)
{
    ASSERT_EQ(Run("report --format text -o \"" + (m_dir / "out.txt").string() + "\""), 0);
    EXPECT_EQ(m_stdout, "");
    EXPECT_EQ(test::ReadAll(m_dir / "out.txt"), Expected(OutputKind::Text));

    ASSERT_EQ(Run("report --utf8 --format text"), 0);
    EXPECT_EQ(m_stdout, cp932::ToUtf8(Expected(OutputKind::Text)));
    EXPECT_NE(m_stdout.find("春季大会\r\n"), std::string::npos);
}

// The printed documents as PDF: a PDF file or nothing (their bytes carry the
// creation time, so their content is checked by the paper tests). A build
// without the renderer fails visibly and leaves no file.
TEST_F(ReportCommandTest, WritesThePrintedDocumentsAsPdf)
{
    if (!TABRY_HAS_PDF) {
        const std::filesystem::path out = m_dir / "out.pdf";
        EXPECT_EQ(Run("report --format pdf-standings -o \"" + out.string() + "\""), 1);
        EXPECT_NE(m_stderr, "");
        EXPECT_FALSE(std::filesystem::exists(out));
        return;
    }
    for (const char* args : {"report --format pdf-pairing --round 3", "report --format pdf-standings",
                             "report --format pdf-table"}) {
        SCOPED_TRACE(args);
        const std::filesystem::path out = m_dir / "out.pdf";
        std::filesystem::remove(out);
        ASSERT_EQ(Run(std::string(args) + " -o \"" + out.string() + "\""), 0) << m_stderr;
        const std::string pdf = test::ReadAll(out);
        EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
        EXPECT_NE(pdf.find("%%EOF", pdf.size() - 8), std::string::npos);
        EXPECT_EQ(m_stdout, "");
        EXPECT_EQ(m_stderr, "");
    }
}

TEST_F(ReportCommandTest, ARefusedCsvWritesNothingAndExitsFive)
{
    m_loaded.players.GetAt(m_loaded.table.Entry(1).playerIndex).m_shortName = S("山田");
    ASSERT_TRUE(m_loaded.SaveFile(m_dir / "t.stg"));
    ASSERT_EQ(m_loaded.players.Save(m_dir / "player.db", 1), 0);

    const std::filesystem::path out = m_dir / "out.csv";
    EXPECT_EQ(Run("report --format csv -o \"" + out.string() + "\""), 5);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(m_stdout, "");
    EXPECT_EQ(m_stderr, "以下の表示名(短)が重複して使用されているため\n本フォーマットに変換することが出来ません：\n\n  山田\n");
    // The other reports do not care about short names.
    EXPECT_EQ(Run("report --format text"), 0);
}

TEST_F(ReportCommandTest, UsageErrorsExitTwoAndWriteNothing)
{
    for (const char* args : {
             "report",
             "report --format pdf",
             "report --format pairing-table",
             "report --format pairing-table --round 0",
             "report --format pairing-table --round 4",
             "report --format score-sheet --round 4",
             "report --format score-sheet --round x",
             "report --format score-sheet --round -1",
             "report --format csv --round 1",
             "report --format text --page 2",
             "report --format pdf-pairing",
             "report --format pdf-pairing --round 4",
             "report --format pdf-standings --round 1",
             "report --format pdf-table --utf8",
         }) {
        SCOPED_TRACE(args);
        EXPECT_EQ(Run(args), 2);
        EXPECT_EQ(m_stdout, "");
        EXPECT_NE(m_stderr.find("torva-cli: "), std::string::npos);
    }
}

TEST_F(ReportCommandTest, AnUnreadableTournamentExitsThree)
{
    test::WriteAll(m_dir / "t.stg", "not a tournament\r\n");
    EXPECT_EQ(Run("report --format text"), 3);
    EXPECT_EQ(m_stdout, "");
}

} // namespace
} // namespace tabry
