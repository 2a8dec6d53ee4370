// Results reported from the boards' phones, end to end: a phone-sized
// headless Chromium sends a result through the real report page of the
// running desk program, the organiser accepts it (and rejects another) with
// the keys in 結果報告の確認, and the saved file holds the game; and a desk
// program killed with SIGKILL while reports wait gets them back at the next
// start.
#include "app/ReportDesk.h"
#include "app/LiveServerController.h"
#include "app/LiveServerDialog.h"
#include "app/MainFrame.h"
#include "app/ReportReviewDialog.h"
#include "app/TabryDoc.h"
#include "core/Boards.h"
#include "core/ReportCode.h"
#include "edit/RecoveryJournal.h"
#include "edit/TournamentEditor.h"
#include "grid/ResultGrid.h"
#include "grid/TabryView.h"
#include "live/ReportInbox.h"
#include "pairing/RandomGenerator.h"
#include "tests/app/AppTestSupport.h"
#include "tests/guisupport/GuiTest.h"
#include "tests/live/ChromiumDriver.h"
#include "tests/live/LiveFixture.h"
#include "widgets/TextCodec.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tabry::app {
namespace {

const std::vector<std::string> kNames = {"alice", "bob", "carol", "dave", "erin", "frank"};

// A file of six players with round 2 paired by the program (round 1 holds
// one game with its result): round 2 is the current round, boards 1 to 3.
std::string PairedFile()
{
    CTournamentEditor editor;
    editor.Load(test::StgBytes(8, 4, kNames, "cup"));
    CRandomGenerator random;
    random.Seed(7);
    editor.PairRound(1, random);
    return editor.Save();
}

// A form POST of a report to 127.0.0.1:port; the answer's status.
int PostReport(int port, int round, int board, int first, int second, const std::string& code)
{
    const std::string body = "round=" + std::to_string(round) + "&board=" + std::to_string(board) + "&first="
                             + std::to_string(first) + "&second=" + std::to_string(second) + "&code=" + code;
    const std::string request = "POST /report HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port)
                                + "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: "
                                + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    return test::StatusOf(test::Exchange(static_cast<std::uint16_t>(port), request));
}

// Runs the GUI thread's events until `done` holds (at most 20 s).
template <class Predicate>
bool EventuallyOnGui(Predicate done)
{
    return test::Eventually(
        [&] {
            QApplication::processEvents();
            return done();
        },
        std::chrono::seconds(20));
}

TEST(ReportDeskTest, APhoneReportsThroughThePageAndTheDeskAcceptsItWithTheKeys)
{
    if (!std::filesystem::exists(test::kChromium))
        GTEST_SKIP() << test::kChromium << " is not installed (./test.sh installs Debian's chromium); skipping";
    test::Sandbox box;
    test::WriteAll(box / "t.stg", PairedFile());
    box.options.fileToOpen = test::Q(box / "t.stg");
    std::unique_ptr<CTabryApp> app = box.Start();
    ASSERT_NE(app, nullptr);
    CMainFrame* frame = app->MainFrame();

    // The organiser switches reporting on in the live window and starts it.
    frame->Action(QStringLiteral("actionLivePublish"))->trigger();
    CLiveServerDialog* live = frame->Live().Dialog();
    ASSERT_NE(live, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(live));
    EXPECT_FALSE(live->ReportsBox()->isChecked());
    // On the box itself: the widget spans the window, its text does not.
    QTest::mouseClick(live->ReportsBox(), Qt::LeftButton, {}, QPoint(6, live->ReportsBox()->height() / 2));
    const std::string key = app->Data().info.reportingKey;
    ASSERT_TRUE(IsReportingKey(key)) << key;
    live->findChild<QComboBox*>(QStringLiteral("liveAddress"))
        ->setCurrentIndex(
            live->findChild<QComboBox*>(QStringLiteral("liveAddress"))->findData(QStringLiteral("127.0.0.1")));
    const int port = test::FreePort();
    live->findChild<QSpinBox*>(QStringLiteral("livePort"))->setValue(port);
    QTest::mouseClick(live->findChild<QPushButton*>(QStringLiteral("liveStartStop")), Qt::LeftButton);
    ASSERT_TRUE(frame->Live().IsRunning());

    const std::vector<Board> boards = RoundBoards(app->Data().table, 1);
    ASSERT_EQ(boards.size(), 3u);
    const ResultCell openOne = app->Data().table.Cell(boards[0].left, 1);
    const ResultCell openThree = app->Data().table.Cell(boards[2].left, 1);
    const std::string origin = "http://127.0.0.1:" + std::to_string(port);
    CReportDesk& desk = frame->Reports();

    // Board 1's player opens the slip's address at phone size, types the
    // counts and sends the form.
    test::TempDir scratch;
    {
        test::CBrowser browser(scratch / "profile");
        ASSERT_TRUE(browser.Started());
        ASSERT_TRUE(browser.Open(origin + "/report?round=2&board=1&code=" + ReportCode(key, 2, 1)))
            << "see " << (scratch / "profile").string() << ".log";
        ASSERT_TRUE(test::Eventually(
            [&] { return browser.Evaluate("document.querySelector('input[name=first]') !== null") == "true"; },
            std::chrono::seconds(60)));
        browser.Evaluate("(() => { const f = document.querySelector('input[name=first]').form;"
                         " f.elements.first.value = '40'; f.elements.second.value = '24';"
                         " f.querySelector('[type=submit]').click(); return 1; })()");
        ASSERT_TRUE(EventuallyOnGui([&] { return desk.Pending().size() == 1; }));
        EXPECT_TRUE(test::Eventually([&] {
            return browser.Evaluate("document.querySelector('input[name=first]') === null") == "true";
        })) << "the answer page replaces the form";
    }
    // Board 3's player sends one too, without a browser.
    ASSERT_EQ(PostReport(port, 2, 3, 30, 34, ReportCode(key, 2, 3)), 200);
    ASSERT_TRUE(EventuallyOnGui([&] { return desk.Pending().size() == 2; }));
    // A guessed code is refused, and the live window counts it.
    EXPECT_EQ(PostReport(port, 2, 2, 33, 31, "2222-2222"), 403);
    auto* refusals = live->findChild<QLabel*>(QStringLiteral("liveReportStatus"));
    ASSERT_NE(refusals, nullptr);
    EXPECT_TRUE(EventuallyOnGui([&] { return refusals->text().contains(QStringLiteral("報告コード違い 1")); }))
        << refusals->text().toStdString();

    // Nothing is in the table yet: the grid marks the four cells and the
    // status bar counts the reports.
    const Board& one = boards[0];
    const Board& three = boards[2];
    EXPECT_EQ(app->Data().table.Cell(one.left, 1), openOne);
    grid::CResultGrid* grid = frame->View()->Grid();
    for (const int row : {one.left, one.right, three.left, three.right})
        EXPECT_TRUE(grid->IsWaiting(row, 1)) << row;
    EXPECT_FALSE(grid->IsWaiting(boards[1].left, 1));
    auto* pane = frame->findChild<QLabel*>(QStringLiteral("reportStatus"));
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(pane->isVisible());
    EXPECT_TRUE(pane->text().contains(QStringLiteral("2"))) << pane->text().toStdString();

    // Ctrl+R, Enter on the first line, Delete on the next.
    QAction* reviewAction = frame->Action(QStringLiteral("actionReviewReports"));
    ASSERT_NE(reviewAction, nullptr);
    EXPECT_EQ(reviewAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));
    reviewAction->trigger();
    CReportReviewDialog* review = desk.Dialog();
    ASSERT_NE(review, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(review));
    QTableWidget* list = review->List();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->item(0, 0)->text(), QStringLiteral("1"));
    EXPECT_EQ(list->item(0, 1)->text(),
              ui::ToQString(app->Data().players.GetAt(app->Data().table.Entry(one.left).playerIndex).m_longName));
    EXPECT_EQ(list->item(0, 3)->text(), QStringLiteral("40 - 24"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->item(list->currentRow(), 0)->text(), QStringLiteral("3")) << "the next report is highlighted";
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_TRUE(desk.Pending().empty());
    EXPECT_FALSE(pane->isVisible());
    for (const int row : {one.left, one.right, three.left, three.right})
        EXPECT_FALSE(grid->IsWaiting(row, 1)) << row;

    const ResultCell won = app->Data().table.Cell(one.left, 1);
    EXPECT_EQ(won.opponent, one.right);
    EXPECT_EQ(won.result, ResultWin);
    EXPECT_EQ(won.disc, 16);
    EXPECT_EQ(app->Data().table.Cell(one.right, 1).disc, -16);
    EXPECT_EQ(app->Data().table.Cell(three.left, 1), openThree) << "the rejected report left no trace";
    // One step, like a typed result.
    frame->Action(QStringLiteral("actionUndo"))->trigger();
    EXPECT_EQ(app->Data().table.Cell(one.left, 1), openOne);
    frame->Action(QStringLiteral("actionRedo"))->trigger();
    EXPECT_EQ(app->Data().table.Cell(one.left, 1), won);
    // A report of a board the desk has decided is refused from now on.
    EXPECT_EQ(PostReport(port, 2, 1, 40, 24, ReportCode(key, 2, 1)), 409);

    ASSERT_TRUE(app->Document().OnSaveDocument(test::Q(box / "t.stg")));
    CTournamentEditor saved;
    ASSERT_EQ(saved.LoadFile(box / "t.stg"), LoadStatus::Ok);
    EXPECT_EQ(saved.Table().Cell(one.left, 1), won);
    EXPECT_EQ(saved.Info().reportingKey, key);
    frame->close();
    app->ExitInstance();
}

TEST(ReportDeskTest, ReportsWaitingWhenTheDeskIsKilledComeBackWithTheTournament)
{
    test::Sandbox box;
    test::WriteAll(box / "t.stg", PairedFile());
    const std::filesystem::path home = box / "home";
    const std::filesystem::path dataHome = home / "data";
    std::filesystem::create_directories(dataHome);
    std::filesystem::permissions(home, std::filesystem::perms::owner_all); // as a runtime folder must be
    const int port = test::FreePort();

    // The venue's start-up script: the file, served, reporting on.
    const std::string portArg = "127.0.0.1:" + std::to_string(port);
    const std::string file = (box / "t.stg").string();
    std::vector<std::string> env = {
        "QT_QPA_PLATFORM=offscreen", "HOME=" + home.string(), "XDG_DATA_HOME=" + dataHome.string(),
        "XDG_CONFIG_HOME=" + (home / "config").string(), "XDG_RUNTIME_DIR=" + home.string()};
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = {TORVA_PATH, "--no-association-check", "--serve", portArg, "--reports", file};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, TORVA_PATH, nullptr, nullptr, argv.data(), envp.data()), 0);

    // The key the program gave the tournament is in its journal.
    const std::filesystem::path recovery = dataHome / "qelt" / "TORVA" / "recovery";
    std::string key;
    std::filesystem::path journalFile;
    const bool journaled = test::Eventually(
        [&] {
            std::error_code ec;
            for (const auto& entry : std::filesystem::directory_iterator(recovery, ec)) {
                if (entry.path().extension() != ".stg")
                    continue;
                CTournamentEditor journal;
                std::string bytes;
                if (CRecoveryJournal::Read(entry.path(), bytes) && journal.Load(bytes) == LoadStatus::Ok) {
                    key = journal.Info().reportingKey;
                    journalFile = entry.path();
                }
            }
            return !key.empty();
        },
        std::chrono::seconds(60));
    ASSERT_TRUE(journaled);
    ASSERT_TRUE(test::Eventually([&] { return test::HttpGet("http://" + portArg + "/").status == 200; }));
    ASSERT_EQ(PostReport(port, 2, 1, 40, 24, ReportCode(key, 2, 1)), 200);
    ASSERT_EQ(PostReport(port, 2, 2, 10, 54, ReportCode(key, 2, 2)), 200);
    ASSERT_EQ(PostReport(port, 2, 2, 12, 52, ReportCode(key, 2, 2)), 200); // a conflict on board 2
    // The desk keeps the list beside its journal as soon as it hears of it.
    EXPECT_TRUE(test::Eventually([&] {
        std::string bytes;
        CReportInbox kept;
        return CRecoveryJournal::ReadReports(journalFile, bytes) && kept.Restore(bytes) == 3;
    }));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);

    // The next start offers the tournament back, with the reports waiting.
    box.options.userDataDirectory = test::Q(dataHome / "qelt" / "TORVA");
    test::Prompts().QueueAnswer(ui::Answer::Yes);
    std::unique_ptr<CTabryApp> app = box.Start();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->Data().info.reportingKey, key);
    const std::vector<PendingReport> pending = app->MainFrame()->Reports().Pending();
    ASSERT_EQ(pending.size(), 3u);
    EXPECT_EQ(pending[0].board, 1);
    EXPECT_EQ(pending[0].first, 40);
    EXPECT_EQ(pending[0].state, PendingReport::State::Single);
    EXPECT_EQ(pending[1].state, PendingReport::State::Conflict);
    EXPECT_EQ(pending[2].state, PendingReport::State::Conflict);
    EXPECT_TRUE(app->MainFrame()->findChild<QLabel*>(QStringLiteral("reportStatus"))->isVisible());
    // A result typed at the desk meanwhile is replaced only when the
    // organiser says so.
    CReportDesk& desk = app->MainFrame()->Reports();
    const std::vector<Board> boards = RoundBoards(app->Data().table, 1);
    const Board* two = FindBoard(boards, 2);
    ASSERT_NE(two, nullptr);
    ASSERT_FALSE(app->Editor().SetGame(two->left, 1, two->right, ResultWin, 2).refusal);
    test::Prompts().QueueAnswer(ui::Answer::No);
    EXPECT_FALSE(desk.Accept(pending[2].id, nullptr));
    EXPECT_EQ(app->Data().table.Cell(two->left, 1).disc, 2);
    EXPECT_EQ(desk.Pending().size(), 3u);
    test::Prompts().QueueAnswer(ui::Answer::Yes);
    EXPECT_TRUE(desk.Accept(pending[2].id, nullptr));
    EXPECT_EQ(app->Data().table.Cell(two->left, 1).disc, 12 - 52);
    ASSERT_EQ(desk.Pending().size(), 1u) << "the board's other report went with it";
    EXPECT_EQ(desk.Pending()[0].board, 1);
    app->Document().SetModifiedFlag(false);
    app->MainFrame()->close();
    app->ExitInstance();
}

} // namespace
} // namespace tabry::app
