// The edit menu and the crash journal in the running program: step names in
// the menu, the keys, the modified mark following the history, and the
// question that offers back a tournament after a run ended without saving.

#include "app/EditHistory.h"
#include "app/MainFrame.h"
#include "app/TabryApp.h"
#include "app/TabryDoc.h"
#include "grid/GridPalette.h"
#include "grid/ResultGrid.h"
#include "grid/TabryView.h"
#include "tests/app/AppTestSupport.h"
#include "tests/guisupport/DialogDriver.h"
#include "tests/guisupport/GuiTest.h"
#include "tests/support/SmallTournaments.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTest>

namespace tabry::app {
namespace {

using test::Prompts;
using test::Q;
namespace fs = std::filesystem;

QAction* Act(CTabryApp& app, const char* name)
{
    return app.MainFrame()->Action(QString::fromLatin1(name));
}

void Press(CTabryApp& app, int key, Qt::KeyboardModifiers mods)
{
    QTest::keyClick(app.MainFrame(), Qt::Key(key), mods);
    QApplication::processEvents();
}

// A run that ends without saving or closing: the journal keeps its file.
// The program is taken down as it waits for the next input, by when the
// journal has been written.
void Crash(std::unique_ptr<CTabryApp>& app)
{
    QApplication::processEvents();
    app.reset();
}

std::vector<fs::path> Kept(const test::Sandbox& box)
{
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(box / "user" / "recovery" / "kept", ec))
        out.push_back(e.path());
    return out;
}

// Whether a tournament file holds the state `saved`.
bool Holds(const fs::path& file, const std::string& saved)
{
    CTournamentEditor reader;
    return reader.Load(test::ReadAll(file)) == LoadStatus::Ok && reader.Save() == saved;
}

struct UndoFixture : testing::Test {
    test::Sandbox box;
    std::unique_ptr<CTabryApp> app;

    void SetUp() override
    {
        test::WriteAll(box / "t.stg", test::StgBytes(6, 3, {"a", "b", "c", "d"}, "cup"));
        box.options.fileToOpen = Q(box / "t.stg");
        app = box.Start();
        ASSERT_NE(app, nullptr);
    }
    void TearDown() override
    {
        if (app) {
            app->Document().SetModifiedFlag(false);
            app->MainFrame()->close();
            app->ExitInstance();
        }
    }
};

TEST_F(UndoFixture, TheMenuNamesTheStepTheKeysWalkTheHistoryAndTheMarkFollowsTheFile)
{
    QAction* undo = Act(*app, "actionUndo");
    EXPECT_FALSE(undo->isEnabled());
    const std::string opened = app->Editor().Save();
    app->Editor().SetGame(2, 1, 3, ResultWin, 8);
    EXPECT_EQ(undo->text(), QStringLiteral("元に戻す(&U): 2回戦 c - d"));
    EXPECT_TRUE(app->MainFrame()->isWindowModified());
    const std::string changed = app->Editor().Save();

    Press(*app, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(app->Editor().Save(), opened);
    EXPECT_FALSE(app->Document().IsModified()); // back at the file: unmodified
    EXPECT_EQ(Act(*app, "actionRedo")->text(), QStringLiteral("やり直し(&R): 2回戦 c - d"));
    Press(*app, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(app->Editor().Save(), changed);
    Press(*app, Qt::Key_Z, Qt::ControlModifier);
    Press(*app, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(app->Editor().Save(), changed);

    // Saved here: undoing now leaves the saved state, so it is modified.
    Act(*app, "actionFileSave")->trigger();
    EXPECT_FALSE(app->Document().IsModified());
    undo->trigger();
    EXPECT_TRUE(app->Document().IsModified());

    // Undoing a resize gives the grid its old size back.
    app->Editor().ApplySettings(app->Data().table.settings, 20, 5);
    QApplication::processEvents();
    undo->trigger();
    QApplication::processEvents();
    EXPECT_EQ(app->View()->Grid()->Navigator().Layout().Players(), 6);
}

// The player menu's 棄権 in the running program: a round before his last
// result is refused with the reason, the accepted one frees his unplayed
// pairing and dims his row from there, and the edit menu takes it back and
// makes it again exactly.
TEST_F(UndoFixture, AWithdrawalFromThePlayerMenuDimsHisRowAndIsOneUndoableStep)
{
    CTournamentEditor& editor = app->Editor();
    editor.SetGame(0, 0, 1, ResultWin, 8);  // round 1 played
    editor.SetGame(0, 1, 2, ResultNone, 0); // round 2 paired, not played
    const std::string before = editor.Save();
    grid::CResultGrid* grid = app->View()->Grid();
    QStringList shown;
    const auto choose = [&](const QString& caption) {
        shown.clear();
        test::WhenMenuOpens([&](QMenu* menu) {
            for (QAction* a : menu->actions())
                shown << a->text();
            for (QAction* a : menu->actions()) {
                if (a->text() == caption) {
                    menu->setActiveAction(a);
                    QTest::keyClick(menu, Qt::Key_Return);
                    return;
                }
            }
            menu->close();
        });
        const grid::GridRect r = grid->CellRect(0, 0);
        grid->SelectCell(0, 0);
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {},
                          QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        QApplication::processEvents();
    };

    Prompts().QueueInteger(1);
    choose(QStringLiteral("棄権(&W)..."));
    ASSERT_EQ(Prompts().Events().size(), 2u);
    EXPECT_EQ(Prompts().Events()[0].kind, QStringLiteral("integer"));
    EXPECT_EQ(Prompts().Events()[1].kind, QStringLiteral("error"));
    EXPECT_TRUE(Prompts().Events()[1].text.contains(QStringLiteral("1回戦の結果が入っています")));
    EXPECT_EQ(editor.Save(), before);

    Prompts().QueueInteger(2);
    choose(QStringLiteral("棄権(&W)..."));
    const CResultTable& t = app->Data().table;
    EXPECT_EQ(t.Entry(0).withdrawnFrom, 1);
    EXPECT_EQ(t.Cell(0, 1).opponent, NoOpponent);
    EXPECT_EQ(t.Cell(2, 1).opponent, NoOpponent);
    EXPECT_EQ(t.Entry(0).wins, 1); // the played game still counts
    const std::string withdrawn = editor.Save();
    EXPECT_NE(withdrawn.find("##Withdrawn: 0,2\r\n"), std::string::npos);

    // Dimmed from round 2 on, his first round and the next row as before.
    const auto fillOf = [&](int col, int row) {
        const grid::GridRect r = grid->CellRect(col, row);
        return grid->viewport()->grab().toImage().pixel(r.left + 3, r.bottom - 4);
    };
    EXPECT_EQ(fillOf(3, 0), grid::GridPalette::kWithdrawnFill);
    EXPECT_EQ(fillOf(1, 0), grid::GridPalette::kBackground);
    EXPECT_EQ(fillOf(3, 1), grid::GridPalette::kBackground);

    // The menu's actions, not their keys: after a context menu the keys
    // reach the window only once the menu's window has let go, which
    // offscreen happens in its own time (the keys are tried above).
    Act(*app, "actionUndo")->trigger();
    EXPECT_EQ(editor.Save(), before);
    Act(*app, "actionRedo")->trigger();
    EXPECT_EQ(editor.Save(), withdrawn);

    choose(QStringLiteral("棄権の取り消し(&W)"));
    EXPECT_FALSE(shown.contains(QStringLiteral("棄権(&W)...")));
    EXPECT_FALSE(t.Entry(0).IsWithdrawn());
    EXPECT_EQ(t.Cell(0, 1).opponent, NoOpponent); // the freed pairing stays free
    EXPECT_EQ(app->History().UndoText(), QStringLiteral("棄権の取り消し: a"));
}

TEST_F(UndoFixture, AKilledRunIsOfferedDeclinedIsKeptAsideAcceptedComesBackModified)
{
    // Declined (No): the file opens as saved and the changes are kept aside.
    app->Editor().SetGame(2, 1, 3, ResultWin, 8);
    const std::string declined = app->Editor().Save();
    Crash(app);
    Prompts().QueueAnswer(ui::Answer::No);
    app = box.Start();
    ASSERT_NE(app, nullptr);
    EXPECT_FALSE(app->Document().IsModified());
    EXPECT_EQ(app->Data().table.Cell(2, 1).opponent, NoOpponent);
    const std::vector<fs::path> kept = Kept(box);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].filename().string().substr(0, 2), "t-");
    EXPECT_TRUE(Holds(kept[0], declined));

    // Accepted (Yes, the default): restored under the file's path, modified.
    app->Editor().SetGame(0, 1, 1, ResultLoss, -4);
    const std::string changed = app->Editor().Save();
    ASSERT_NE(changed, declined);
    Crash(app);
    ASSERT_FALSE(Holds(box / "t.stg", changed)) << "the file itself was not saved";
    Prompts().Reset();
    Prompts().QueueAnswer(ui::Answer::Yes);
    app = box.Start();
    ASSERT_NE(app, nullptr);
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, QStringLiteral("confirm"));
    EXPECT_TRUE(Prompts().Events()[0].text.contains(QDir::toNativeSeparators(Q(box / "t.stg"))));
    EXPECT_TRUE(Prompts().Events()[0].text.contains(QStringLiteral("最後の変更")));
    EXPECT_EQ(app->Editor().Save(), changed);
    EXPECT_TRUE(app->Document().IsModified());
    EXPECT_EQ(app->Document().Title(), QStringLiteral("t.stg"));
    EXPECT_FALSE(app->History().CanUndo()); // undo cannot make it "saved": the file never held it

    // The restored state is journaled by this run: another crash loses
    // nothing either.
    Crash(app);
    Prompts().Reset();
    Prompts().QueueAnswer(ui::Answer::Yes);
    app = box.Start();
    EXPECT_EQ(app->Editor().Save(), changed);
}

TEST(UndoAndRecoveryTest, TheHistoryDropsItsOldestStepsPastItsBudgetAndStillUndoesTheRest)
{
    CTournamentEditor editor(test::MakeTournament(8, 4, 8));
    CEditHistory history(editor);
    std::vector<std::string> states{editor.Save()};
    for (int i = 0; i < 10; ++i) {
        editor.SetGame(i % 8, i / 8, (i + 1) % 8, ResultWin, i + 1);
        states.push_back(editor.Save());
        if (i == 1)
            history.SetClean(); // saved after two changes
    }
    ASSERT_EQ(history.Count(), 10);
    const std::size_t perStep = history.Cost() / 10;
    history.SetBudget(perStep * 4);
    EXPECT_LE(history.Cost(), perStep * 4 + perStep / 2);
    const int kept = history.Count();
    EXPECT_LT(kept, 10);
    EXPECT_GE(kept, 3);
    // The saved state was among the dropped steps: nothing undoes to it.
    for (int k = 0; k < kept; ++k) {
        EXPECT_FALSE(history.IsClean());
        history.Undo();
        EXPECT_EQ(editor.Save(), states[static_cast<size_t>(10 - k - 1)]);
    }
    EXPECT_FALSE(history.CanUndo());
    while (history.CanRedo())
        history.Redo();
    EXPECT_EQ(editor.Save(), states.back());
}

TEST(UndoAndRecoveryTest, AHistoryWhoseUndoTheEditorRefusesDoesNotMove)
{
    CTournamentEditor editor(test::MakeTournament(4, 2, 4));
    CEditHistory first(editor);
    CEditHistory second(editor); // holds the same step, as a stale view would
    editor.SetGame(0, 0, 1, ResultWin, 4);
    const std::string made = editor.Save();
    ASSERT_TRUE(first.Undo());
    // The tournament is no longer where the second history's step leads
    // from: the editor refuses, and that history keeps its place.
    EXPECT_FALSE(second.Undo());
    EXPECT_TRUE(second.CanUndo());
    EXPECT_FALSE(second.CanRedo());
    EXPECT_EQ(editor.Table().Cell(0, 0).opponent, NoOpponent);
    ASSERT_TRUE(first.Redo());
    EXPECT_EQ(editor.Save(), made);
    EXPECT_TRUE(second.Undo()); // in step again
    EXPECT_EQ(editor.Table().Cell(0, 0).opponent, NoOpponent);
}

TEST(UndoAndRecoveryTest, AnUntitledTournamentComesBackUntitledAtStartUp)
{
    test::Sandbox box;
    auto app = box.Start();
    ASSERT_NE(app, nullptr);
    app->Editor().SetDetails("spring", 2026, 4, 1);
    Crash(app);

    Prompts().QueueAnswer(ui::Answer::Yes);
    app = box.Start();
    ASSERT_NE(app, nullptr);
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_TRUE(Prompts().Events()[0].text.startsWith(QStringLiteral("「無題」")));
    EXPECT_EQ(app->Data().info.name, "spring");
    EXPECT_TRUE(app->Document().PathName().isEmpty());
    EXPECT_TRUE(app->Document().IsModified());
    // Discarding the changes at the end leaves nothing to offer next time.
    app->Document().SetModifiedFlag(false);
    app->MainFrame()->close();
    app->ExitInstance();
    app.reset();
    Prompts().Reset();
    app = box.Start();
    EXPECT_TRUE(Prompts().Events().empty());
}

} // namespace
} // namespace tabry::app
