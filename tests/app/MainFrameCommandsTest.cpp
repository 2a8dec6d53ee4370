// The main window's commands, fired through their actions in a running
// program: sort, the settings and details dialogs, the output commands, the
// help pages and the delete-cell button.

#include "app/AppInfo.h"
#include "app/AppSettings.h"
#include "app/EditHistory.h"
#include "app/FileDetailsDialog.h"
#include "app/MainFrame.h"
#include "app/ReportCommand.h"
#include "app/SettingsDialog.h"
#include "app/TabryApp.h"
#include "app/TabryDoc.h"

#include "grid/GridCommands.h"
#include "grid/ResultGrid.h"
#include "grid/ResultPopup.h"
#include "grid/TabryView.h"
#include "playerdb/ui/UserDbDialog.h"
#include "playerdb/ui/UserEditDialog.h"
#include "tests/app/AppTestSupport.h"
#include "tests/guisupport/GuiTest.h"

#include "TorvaVersion.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QStatusBar>
#include <QTest>

namespace tabry::app {
namespace {

using test::Prompts;
using test::Q;
using test::S;
using test::Shown;

class RecordingRenderer : public IReportRenderer {
public:
    std::vector<std::pair<OutputKind, int>> calls;
    OutputStatus Render(OutputKind kind, const TournamentData&, int round, const OutputOptions&, std::string& out,
                        std::string*) override
    {
        calls.emplace_back(kind, round);
        out = "report";
        return OutputStatus::Ok;
    }
    std::string DefaultFileName(std::string_view title) override
    {
        std::string t(title);
        if (t.size() >= 4 && t.compare(t.size() - 4, 4, ".stg") == 0)
            t.resize(t.size() - 4);
        return t;
    }
};

struct CommandFixture : testing::Test {
    test::Sandbox box;
    std::unique_ptr<CTabryApp> app;
    RecordingRenderer renderer;

    void SetUp() override
    {
        // Row 0 lost to row 1; sorting puts row 1 first.
        test::WriteAll(box / "t.stg", test::StgBytes(8, 4, {"a", "b", "c"}, "cup"));
        box.options.fileToOpen = Q(box / "t.stg");
        app = box.Start();
        ASSERT_NE(app, nullptr);
        app->SetRenderer(&renderer);
    }
    void TearDown() override
    {
        if (app) {
            app->Document().SetModifiedFlag(false);
            app->MainFrame()->close();
            app->ExitInstance();
        }
    }
    QAction* Action(const char* name) { return app->MainFrame()->Action(name); }
    grid::CResultGrid* Grid() { return app->View()->Grid(); }
};

TEST_F(CommandFixture, SortOrdersTheRowsAndMarksTheTournamentModified)
{
    // Make row 1 the winner: flip the stored game.
    const TournamentData& d = app->Data();
    const int first = d.table.Entry(0).playerIndex;
    const int second = d.table.Entry(1).playerIndex;
    const ResultCell a = d.table.Cell(0, 0);
    app->Editor().SetGame(0, 0, a.opponent, -a.result, -a.disc);
    app->History().SetClean();
    ASSERT_FALSE(app->Document().IsModified());
    Action("actionSort")->trigger();
    EXPECT_EQ(d.table.Entry(0).playerIndex, second);
    EXPECT_EQ(d.table.Entry(2).playerIndex, first); // below c, who has no disc loss
    EXPECT_EQ(d.table.Entry(0).wins, 1);
    EXPECT_TRUE(app->Document().IsModified());
}

TEST_F(CommandFixture, OptionsWithAnotherMethodRepaintAndMarkModifiedWithoutSorting)
{
    const int first = app->Data().table.Entry(0).playerIndex;
    QPointer<grid::CResultGrid> grid = Grid();
    test::OnNextDialog<CSettingsDialog>([](CSettingsDialog& dlg) {
        dlg.MethodList()->setCurrentIndex(WinPointsA);
        dlg.accept();
    });
    Action("actionOptions")->trigger();
    EXPECT_EQ(app->Data().table.settings.tieBreak, WinPointsA);
    EXPECT_TRUE(app->Document().IsModified());
    EXPECT_EQ(app->Data().table.Entry(0).playerIndex, first);
    EXPECT_EQ(Grid(), grid.data()); // same size: the grid stays
}

TEST_F(CommandFixture, OptionsWithAnotherSizeRecreateTheGridAndMarkModified)
{
    QPointer<grid::CResultGrid> grid = Grid();
    test::OnNextDialog<CSettingsDialog>([](CSettingsDialog& dlg) {
        dlg.Edit(SettingsField::Players)->setText("40");
        dlg.Edit(SettingsField::Rounds)->setText("7");
        dlg.accept();
    });
    Action("actionOptions")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(app->Data().table.PlayerCount(), 40);
    EXPECT_EQ(app->Data().table.RoundCount(), 7);
    EXPECT_TRUE(grid.isNull());
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->Navigator().Layout().Players(), 40);
    // The saved file records the size, so a new size is a change to save.
    EXPECT_TRUE(app->Document().IsModified());
}

TEST_F(CommandFixture, OptionsAcceptingTheDataLossQuestionMarkModified)
{
    test::OnNextDialog<CSettingsDialog>([](CSettingsDialog& dlg) {
        dlg.Edit(SettingsField::Players)->setText("2");
        Prompts().QueueAnswer(ui::Answer::Yes);
        dlg.accept();
    });
    Action("actionOptions")->trigger();
    EXPECT_EQ(app->Data().table.PlayerCount(), 2);
    EXPECT_TRUE(app->Document().IsModified());
}

TEST_F(CommandFixture, CancelledOptionsChangeNothing)
{
    test::OnNextDialog<CSettingsDialog>([](CSettingsDialog& dlg) {
        dlg.MethodList()->setCurrentIndex(WinPointsA);
        dlg.reject();
    });
    Action("actionOptions")->trigger();
    EXPECT_EQ(app->Data().table.settings.tieBreak, 0);
    EXPECT_FALSE(app->Document().IsModified());
}

TEST_F(CommandFixture, FileDetailsOkMarksModifiedOnlyWhenSomethingChanged)
{
    test::OnNextDialog<CFileDetailsDialog>([](CFileDetailsDialog& dlg) {
        EXPECT_EQ(dlg.Edit(DetailsField::Name)->text(), "cup");
        dlg.accept();
    });
    Action("actionFileDetails")->trigger();
    EXPECT_FALSE(app->Document().IsModified()); // OK with the same details is no step
    EXPECT_EQ(app->Data().info.name, "cup");

    test::OnNextDialog<CFileDetailsDialog>([](CFileDetailsDialog& dlg) {
        dlg.Edit(DetailsField::Name)->setText(QString::fromUtf8("県大会"));
        dlg.Edit(DetailsField::Year)->setText("2004");
        dlg.reject();
    });
    Action("actionFileDetails")->trigger();
    EXPECT_FALSE(app->Document().IsModified());
    EXPECT_EQ(app->Data().info.name, "cup");

    test::OnNextDialog<CFileDetailsDialog>([](CFileDetailsDialog& dlg) {
        dlg.Edit(DetailsField::Name)->setText(QString::fromUtf8("県大会"));
        dlg.Edit(DetailsField::Year)->setText("2004");
        dlg.Edit(DetailsField::Month)->setText("5");
        dlg.Edit(DetailsField::Day)->setText("3");
        dlg.accept();
    });
    Action("actionFileDetails")->trigger();
    EXPECT_EQ(test::U(grid::CTabryView::TitleText(app->Data())), "県大会 @2004/05/03");
}

TEST_F(CommandFixture, ReportCommandsProposeTheTournamentsNameAndWrite)
{
    Prompts().QueuePath(Q(box / "out.html"));
    Action("actionReportHtml")->trigger();
    ASSERT_EQ(renderer.calls.size(), 1u);
    EXPECT_EQ(renderer.calls[0].first, OutputKind::Html);
    EXPECT_EQ(Prompts().Events()[0].text, Shown(box / "t.html"));
    EXPECT_EQ(test::ReadAll(box / "out.html"), "report");
    // Nothing else confirms the file: the status bar says where it went.
    EXPECT_EQ(app->MainFrame()->statusBar()->currentMessage(),
              QString::fromUtf8("「%1」に保存しました").arg(QDir::toNativeSeparators(Q(box / "out.html"))));

    for (const char* name : {"actionReportCsv", "actionReportText", "actionReportZep", "actionScoreSheet"})
        Action(name)->trigger(); // each cancelled in its dialog
    ASSERT_EQ(renderer.calls.size(), 5u);
    EXPECT_EQ(renderer.calls[1].first, OutputKind::RatingCsv);
    EXPECT_EQ(renderer.calls[4].first, OutputKind::ScoreSheet);
}

TEST_F(CommandFixture, PairingTableAsksForTheRound)
{
    Action("actionPairingTable")->trigger(); // unanswered: cancelled
    EXPECT_TRUE(renderer.calls.empty());
    EXPECT_EQ(Prompts().Events()[0].kind, "integer");

    Prompts().QueueInteger(3);
    Prompts().QueuePath(Q(box / "p.csv"));
    Action("actionPairingTable")->trigger();
    ASSERT_EQ(renderer.calls.size(), 1u);
    EXPECT_EQ(renderer.calls[0], std::make_pair(OutputKind::PairingTable, 3));
    EXPECT_TRUE(std::filesystem::exists(box / "p.csv"));
}

TEST_F(CommandFixture, TheGridsRoundMenuReachesTheInterimOutputs)
{
    Prompts().QueuePath(Q(box / "s.csv"));
    emit Grid()->scoreSheetRequested(2);
    Prompts().QueuePath(Q(box / "p.csv"));
    emit Grid()->pairingTableRequested(4);
    emit Grid()->pairingTableRequested(5); // no such round: nothing
    ASSERT_EQ(renderer.calls.size(), 2u);
    EXPECT_EQ(renderer.calls[0], std::make_pair(OutputKind::ScoreSheet, 2));
    EXPECT_EQ(renderer.calls[1], std::make_pair(OutputKind::PairingTable, 4));
}

TEST_F(CommandFixture, HelpOpensTheBundledManualFromTheDisk)
{
    QStringList opened;
    app->SetWebOpener([&](const QUrl& url) { opened << url.toString(); });

    // No manual where the program looks: said, and nothing is opened.
    Action("actionManualPage")->trigger();
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_FALSE(Prompts().Events().empty());
    EXPECT_EQ(Prompts().Events().back().kind, "error");
    EXPECT_TRUE(Prompts().Events().back().text.contains("index.html"));

    // The manual the build made, where the package puts it for this
    // program (<prefix>/bin/torva, <prefix>/share/torva/manual).
    std::filesystem::create_directories(box / "share" / "torva");
    // A copy, not a link: Windows lets only administrators make one.
    std::filesystem::copy(TORVA_BUILD_MANUAL_DIR, box / "share" / "torva" / "manual",
                          std::filesystem::copy_options::recursive);
    Action("actionHomePage")->trigger();
    Action("actionManualPage")->trigger();
    ASSERT_EQ(opened.size(), 2);
    const QUrl manual(opened[1]);
    ASSERT_TRUE(manual.isLocalFile()) << opened[1].toStdString();
    EXPECT_TRUE(SamePath(manual.toLocalFile(), Q(box / "share" / "torva" / "manual" / "index.html")));
    QFile page(manual.toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(page.readAll()).contains("<title>TORVA の使い方"));
    // The placeholder home page leads nowhere: the first item opens the
    // manual too.
    EXPECT_EQ(opened[0], HomePageIsPlaceholder() ? opened[1] : HomePageUrl());
}

TEST_F(CommandFixture, DeleteCellFollowsTheCurrentCell)
{
    QAction* del = Action("actionDeleteCell");
    EXPECT_TRUE(del->isEnabled()); // row 0 holds a player
    Grid()->SelectCell(0, 5);
    EXPECT_FALSE(del->isEnabled()); // empty row
    Grid()->SelectCell(2, 0);
    EXPECT_FALSE(del->isEnabled()); // round 2 empty
    Grid()->SelectCell(1, 0);
    EXPECT_TRUE(del->isEnabled());
    del->trigger();
    EXPECT_EQ(app->Data().table.Cell(0, 0).opponent, NoOpponent);
    EXPECT_EQ(app->Data().table.Cell(1, 0).opponent, NoOpponent);
    EXPECT_TRUE(app->Document().IsModified());
    EXPECT_FALSE(del->isEnabled());
}

TEST_F(CommandFixture, DeleteCellFollowsTheRowsASortBringsUnderTheCursor)
{
    QAction* del = Action("actionDeleteCell");
    Grid()->SelectCell(1, 1); // b lost his round-1 game
    ASSERT_TRUE(del->isEnabled());
    Action("actionSort")->trigger(); // a, c (no game), b
    EXPECT_FALSE(del->isEnabled());
}

TEST_F(CommandFixture, NewAndOpenResetTheGrid)
{
    Grid()->SelectCell(3, 6);
    QPointer<grid::CResultGrid> before = Grid();
    Action("actionFileNew")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(before.isNull());
    EXPECT_EQ(Grid()->CurRow(), 0);
    EXPECT_EQ(app->Data().table.PlayerCount(), 32);
    EXPECT_EQ(app->MainFrame()->windowTitle(), QString::fromUtf8("無題[*] - TORVA ver." TORVA_VERSION));

    Prompts().QueuePath(Q(box / "t.stg"));
    Action("actionFileOpen")->trigger();
    EXPECT_EQ(app->Data().table.PlayerCount(), 8);
    EXPECT_EQ(Grid()->Navigator().Layout().Players(), 8);
}

TEST_F(CommandFixture, AnAddedRowTakesTheCursorAndUndoTakesItBack)
{
    // The player menu's command (its entry is the grid's own test): the new
    // row comes at the end, one step, and the new grid starts on it for the
    // latecomer's name.
    QPointer<grid::CResultGrid> before = Grid();
    Grid()->SelectCell(0, 2);
    Grid()->RunCommand(grid::CmdPlayerAddRow);
    QApplication::processEvents();
    ASSERT_EQ(app->Data().table.PlayerCount(), 9);
    EXPECT_TRUE(before.isNull());
    ASSERT_EQ(Grid()->Navigator().Layout().Players(), 9);
    EXPECT_EQ(Grid()->Navigator().Current(), (grid::GridCell{0, 8}));
    EXPECT_TRUE(app->Document().IsModified());
    EXPECT_EQ(Action("actionUndo")->text(), QString::fromUtf8("元に戻す(&U): 行の追加"));

    Action("actionUndo")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(app->Data().table.PlayerCount(), 8);
    EXPECT_EQ(Grid()->Navigator().Layout().Players(), 8);
    EXPECT_FALSE(app->Document().IsModified());

    // The ツール menu's item is grayed at the largest table, and comes back
    // with a row less.
    EXPECT_TRUE(Action("actionAddRow")->isEnabled());
    app->Editor().ApplySettings(app->Data().table.settings, kMaxPlayers, 4);
    QApplication::processEvents();
    EXPECT_FALSE(Action("actionAddRow")->isEnabled());
    Action("actionUndo")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(Action("actionAddRow")->isEnabled());
}

TEST_F(CommandFixture, EnterMovesDownTheRoundOnceTurnedOnAndIsRemembered)
{
    // Commits an unchanged game (F2, Enter) at round 2 of `row`; returns
    // where the cursor went.
    auto commitAt = [&](int row) {
        Grid()->SelectCell(2, row);
        QTest::keyClick(Grid(), Qt::Key_F2);
        auto* popup = dynamic_cast<grid::CResultPopup*>(Grid()->ResultPopup());
        if (popup == nullptr)
            return grid::GridCell{-1, -1};
        QTest::keyClick(popup->ScoreEdit(), Qt::Key_Return);
        QApplication::processEvents();
        return Grid()->Navigator().Current();
    };
    // c moves to the last row, which an editor only opens over with a player.
    const int c = app->Data().table.Entry(2).playerIndex;
    app->Editor().SetRowPlayer(2, -1);
    app->Editor().SetRowPlayer(7, c);
    EXPECT_EQ(commitAt(1), (grid::GridCell{3, 1})); // off: on to the next round
    Action("actionEnterMovesDown")->trigger();
    EXPECT_EQ(commitAt(1), (grid::GridCell{2, 2}));
    EXPECT_EQ(commitAt(7), (grid::GridCell{2, 7})); // the last row stays
    // A grid made for a new size goes down as well.
    Action("actionAddRow")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(commitAt(7), (grid::GridCell{2, 8}));
    EXPECT_TRUE(CAppSettings(Q(box / "settings.ini")).EnterMovesDown());
    Action("actionEnterMovesDown")->trigger();
    EXPECT_EQ(commitAt(1), (grid::GridCell{3, 1}));
    EXPECT_FALSE(CAppSettings(Q(box / "settings.ini")).EnterMovesDown());
}

TEST_F(CommandFixture, EditsInTheGridMarkTheTournamentModified)
{
    Grid()->SelectCell(0, 2);
    QTest::keyClick(Grid(), Qt::Key_Delete); // c has no games: no question
    EXPECT_TRUE(app->Data().table.Entry(2).IsEmpty());
    EXPECT_TRUE(app->Document().IsModified());
    EXPECT_TRUE(app->MainFrame()->isWindowModified());
}

} // namespace
} // namespace tabry::app

namespace tabry::app {
namespace {

// The output commands with the real report writers.
TEST(ReportWritersTest, TheRatingCsvIsRefusedForSharedShortNamesBeforeAnyDialog)
{
    test::Sandbox box;
    const std::string a = S("山田太郎"), b = S("山田花子"), shortName = S("山田");
    test::WriteAll(box / "t.stg", "3,1,1,0,60\r\n##Format: 1\r\n" + a + "," + shortName + ",0,,ya,,-1,0,0,0\r\n" + b
                                      + "," + shortName + ",0,,yh,,-1,0,0,0\r\n\r\n");
    box.options.fileToOpen = Q(box / "t.stg");
    auto app = box.Start();
    ASSERT_NE(app, nullptr);
    Prompts().QueuePath(Q(box / "r.csv"));
    app->MainFrame()->Action("actionReportCsv")->trigger();
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, "error");
    EXPECT_TRUE(Prompts().Events()[0].text.contains(QString::fromUtf8("  山田\n")));
    EXPECT_FALSE(std::filesystem::exists(box / "r.csv"));

    // The text report is written with the tournament's rows.
    Prompts().Reset();
    Prompts().QueuePath(Q(box / "r.txt"));
    app->MainFrame()->Action("actionReportText")->trigger();
    EXPECT_NE(test::ReadAll(box / "r.txt").find(a), std::string::npos);
    app->MainFrame()->close();
    app->ExitInstance();
}

} // namespace
} // namespace tabry::app

namespace tabry::app {
namespace {

TEST_F(CommandFixture, AddUserPutsANewPersonIntoTheDatabaseOnly)
{
    const int before = app->Data().players.GetCount();
    test::OnNextDialog<CUserEditDialog>([](CUserEditDialog& dlg) {
        dlg.LongNameEdit()->setText(QString::fromUtf8("新人"));
        dlg.InputNameEdit()->setText("shinjin");
        dlg.accept();
    });
    Action("actionAddUser")->trigger();
    EXPECT_EQ(app->Data().players.GetCount(), before + 1);
    EXPECT_TRUE(app->Data().playersModified);
    EXPECT_FALSE(app->Document().IsModified());
}

TEST_F(CommandFixture, EditUserDbOpensTheDatabaseDialog)
{
    bool shown = false;
    test::OnNextDialog<CUserDbDialog>([&](CUserDbDialog& dlg) {
        shown = true;
        dlg.reject();
    });
    Action("actionEditUserDb")->trigger();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(app->Document().IsModified());
}

} // namespace
} // namespace tabry::app
