// Start-up and shut-down of the whole program in a sandbox: the main window
// and its menus, the player database beside the executable, the command-line
// file, the association question and the exit step.

#include "app/TabryApp.h"
#include "app/MainFrame.h"
#include "app/TabryDoc.h"

#include "grid/ResultGrid.h"
#include "grid/TabryView.h"
#include "tests/app/AppTestSupport.h"
#include "tests/guisupport/GuiTest.h"
#include "tests/support/SmallTournaments.h"

#include "TorvaVersion.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace tabry::app {
namespace {

using test::Prompts;
using test::Q;
using test::S;

QStringList Captions(const QList<QAction*>& actions)
{
    QStringList out;
    for (QAction* a : actions)
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

TEST(TabryAppTest, StartsWithANewTournamentInTheTitledMainWindow)
{
    test::Sandbox box;
    auto app = box.Start();
    ASSERT_NE(app, nullptr);
    CMainFrame* frame = app->MainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->windowTitle(), QString::fromUtf8("無題[*] - TORVA ver." TORVA_VERSION));
    EXPECT_EQ(app->Data().table.PlayerCount(), 32);
    EXPECT_EQ(app->Data().table.RoundCount(), 6);
    ASSERT_NE(app->View(), nullptr);
    ASSERT_NE(app->View()->Grid(), nullptr);
    EXPECT_EQ(app->View()->Grid()->Navigator().Layout().Players(), 32);
    EXPECT_EQ(CTabryApp::Instance(), app.get());
    EXPECT_EQ(app->Random().State(), app->RandomSeed()); // seeded, nothing drawn yet
    EXPECT_EQ(app->View()->Grid()->RandomGenerator(), &app->Random());
    EXPECT_TRUE(Prompts().Events().empty()); // no association question with the check off
}

TEST(TabryAppTest, MenusToolBarAndShortcutsAreComplete)
{
    test::Sandbox box;
    auto app = box.Start();
    ASSERT_NE(app, nullptr);
    CMainFrame* frame = app->MainFrame();
    const QList<QAction*> top = frame->menuBar()->actions();
    ASSERT_EQ(top.size(), 4);
    EXPECT_EQ(Captions(top), (QStringList{QString::fromUtf8("ファイル(&F)"), QString::fromUtf8("編集(&E)"),
                                          QString::fromUtf8("ツール(&T)"), QString::fromUtf8("ヘルプ(&H)")}));
    QStringList file;
    for (QAction* a : top[0]->menu()->actions()) {
        if (!a->isVisible())
            continue;
        file << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(file, (QStringList{QString::fromUtf8("新規作成(&N)"), QString::fromUtf8("開く(&O)..."),
                                 QString::fromUtf8("上書き保存(&S)"), QString::fromUtf8("名前を付けて保存(&A)..."), "-",
                                 QString::fromUtf8("印刷(&P)..."), QString::fromUtf8("印刷プレビュー(&V)"),
                                 QString::fromUtf8("PDFに出力..."), "-", QString::fromUtf8("結果表出力(&E)"),
                                 QString::fromUtf8("途中経過出力"), "-", QString::fromUtf8("最近使ったﾌｧｲﾙ"), "-",
                                 QString::fromUtf8("終了(&X)")}));
    QMenu* results = top[0]->menu()->findChild<QMenu*>("menuResults");
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(Captions(results->actions()),
              (QStringList{QString::fromUtf8("CSV形式(&C)"), QString::fromUtf8("テキスト形式(&T)"),
                           QString::fromUtf8("HTML形式(&H)"), QString::fromUtf8("ZeP形式")}));
    QMenu* interim = top[0]->menu()->findChild<QMenu*>("menuInterim");
    ASSERT_NE(interim, nullptr);
    EXPECT_EQ(Captions(interim->actions()),
              (QStringList{QString::fromUtf8("成績表"), QString::fromUtf8("組み合わせ表")}));
    EXPECT_EQ(Captions(top[1]->menu()->actions()),
              (QStringList{QString::fromUtf8("元に戻す(&U)"), QString::fromUtf8("やり直し(&R)")}));
    EXPECT_EQ(Captions(top[2]->menu()->actions()),
              (QStringList{QString::fromUtf8("順位でソート(&S)"), "-", QString::fromUtf8("ユーザDBへの追加(&A)"),
                           QString::fromUtf8("ユーザDBの編集(&U)"), "-", QString::fromUtf8("ファイルの詳細情報(&D)"),
                           QString::fromUtf8("オプション(&O)..."), "-", QString::fromUtf8("行の追加(&I)"),
                           QString::fromUtf8("Enter で下へ移動(&E)"), "-", QString::fromUtf8("ライブ公開(&L)..."),
                           QString::fromUtf8("結果報告の確認(&C)..."), QString::fromUtf8("結果票の出力(&J)...")}));
    EXPECT_TRUE(frame->Action("actionEnterMovesDown")->isCheckable());
    EXPECT_FALSE(frame->Action("actionEnterMovesDown")->isChecked()); // off until turned on
    const QStringList help = Captions(top[3]->menu()->actions());
    ASSERT_EQ(help.size(), 4);
    EXPECT_EQ(help[0], QString::fromUtf8("TORVAのホームページ(&W)..."));
    EXPECT_EQ(help[3], QString::fromUtf8("バージョン情報(&A)..."));

    EXPECT_EQ(frame->Action("actionFileNew")->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(frame->Action("actionFileOpen")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(frame->Action("actionFileSave")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(frame->Action("actionUndo")->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(frame->Action("actionReviewReports")->shortcut(), QKeySequence("Ctrl+R"));
    EXPECT_EQ(frame->Action("actionRedo")->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));

    QToolBar* bar = frame->findChild<QToolBar*>("mainToolBar");
    ASSERT_NE(bar, nullptr);
    QStringList order;
    for (QAction* a : bar->actions())
        order << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(order, (QStringList{"actionFileNew", "actionFileOpen", "actionFileSave", "-", "actionUndo", "actionRedo",
                                  "-", "actionReportText", "actionReportCsv", "actionReportHtml", "-",
                                  "actionDeleteCell", "actionSort", "-", "actionAbout"}));
    EXPECT_EQ(frame->Action("actionSort")->toolTip(), QString::fromUtf8("ソート"));
    EXPECT_EQ(frame->Action("actionSort")->statusTip(), QString::fromUtf8("順位でソートする"));
    EXPECT_EQ(frame->Action("actionReportCsv")->statusTip(),
              QString::fromUtf8("CSV形式(連盟公式レイティング報告形式)で保存"));
    EXPECT_EQ(frame->Action("actionDeleteCell")->toolTip(), QString::fromUtf8("削除"));
    EXPECT_EQ(frame->Action("actionHomePage")->statusTip(), QString::fromUtf8("TORVA のホームページを開きます。"));
    for (QAction* a : bar->actions())
        EXPECT_TRUE(a->isSeparator() || !a->icon().isNull()) << a->objectName().toStdString();
    EXPECT_NE(frame->statusBar(), nullptr);
}

TEST(TabryAppTest, TheCommandLineFileIsOpenedAndItsNewPlayersAreSavedAtExit)
{
    test::Sandbox box;
    test::WriteAll(box / "t.stg", test::StgBytes(6, 4, {"山田", "鈴木"}, "県大会"));
    box.options.fileToOpen = Q(box / "t.stg");
    auto app = box.Start();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->MainFrame()->windowTitle(), QString::fromUtf8("t.stg[*] - TORVA ver." TORVA_VERSION));
    EXPECT_EQ(app->Data().table.PlayerCount(), 6);
    EXPECT_TRUE(app->Data().playersModified);
    app->MainFrame()->close();
    EXPECT_EQ(app->ExitInstance(), 0);
    const std::string db = test::ReadAll(box.bin / "player.db");
    EXPECT_NE(db.find(S("山田")), std::string::npos);
    EXPECT_NE(db.find(S("鈴木")), std::string::npos);
    // The recent-file list has it.
    EXPECT_TRUE(SamePath(app->Settings().RecentFiles().value(0), Q(box / "t.stg")));
}

TEST(TabryAppTest, TheDatabaseBesideTheExecutableIsLoadedAndLeftAloneWhenUnchanged)
{
    test::Sandbox box;
    test::WriteAll(box.bin / "player.db", S("山田太郎,yamada,山田,3,東京,1001") + "\r\n");
    const auto before = std::filesystem::last_write_time(box.bin / "player.db");
    auto app = box.Start();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->Data().players.GetCount(), 2); // the bye and one player
    EXPECT_EQ(app->Database().save, Q(box.bin / "player.db"));
    app->MainFrame()->close();
    EXPECT_EQ(app->ExitInstance(), 0);
    EXPECT_EQ(std::filesystem::last_write_time(box.bin / "player.db"), before);
}

TEST(TabryAppTest, AnUnreadableCommandLineFileEndsTheStart)
{
    test::Sandbox box;
    test::WriteAll(box / "bad.stg", "");
    box.options.fileToOpen = Q(box / "bad.stg");
    auto app = std::make_unique<CTabryApp>(box.options);
    EXPECT_FALSE(app->InitInstance());
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, "error");
    EXPECT_FALSE(app->MainFrame() != nullptr && app->MainFrame()->isVisible());
}

TEST(TabryAppTest, ADamagedDatabaseIsReportedAtStartAndNeverWrittenOver)
{
    test::Sandbox box;
    const std::string damaged("a,a,a,0,,\r\nb\0b,b,b,0,,\r\n", 24);
    test::WriteAll(box.bin / "player.db", damaged);
    test::WriteAll(box / "t.stg", test::StgBytes(6, 4, {"山田", "鈴木"}));
    box.options.fileToOpen = Q(box / "t.stg");
    auto app = box.Start();
    ASSERT_NE(app, nullptr);
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, "error");
    EXPECT_TRUE(Prompts().Events()[0].text.contains(QString::fromUtf8("2 行目に NUL 文字")))
        << Prompts().Events()[0].text.toStdString();
    EXPECT_TRUE(app->Data().playersModified);
    app->MainFrame()->close();
    EXPECT_EQ(app->ExitInstance(), 1);
    ASSERT_EQ(Prompts().Events().size(), 2u);
    EXPECT_TRUE(Prompts().Events()[1].text.contains(QString::fromUtf8("起動時に読み込めなかった")));
    EXPECT_EQ(test::ReadAll(box.bin / "player.db"), damaged);
}

TEST(TabryAppTest, AFailedDatabaseWriteAtExitIsReported)
{
    test::Sandbox box;
    auto app = box.Start();
    ASSERT_NE(app, nullptr);
    app->Editor().AddPlayer(test::Person("x", "x", "x"));
    // A folder where the file should be: the write must fail.
    std::filesystem::create_directories(box.bin / "player.db" / "blocked");
    app->MainFrame()->close();
    EXPECT_EQ(app->ExitInstance(), 1);
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, "error");
    EXPECT_TRUE(Prompts().Events()[0].text.contains("player.db"));
    EXPECT_TRUE(Prompts().Events()[0].text.endsWith(QString::fromUtf8("同じ名前のフォルダがあります。")));
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
TEST(TabryAppTest, TheAssociationQuestionComesUntilTheAnswerIsYes)
{
    test::Sandbox box;
    box.options.checkAssociation = true;
    const QString question =
        QString::fromUtf8("大会結果ファイル(*.stg)が TORVA に関連付けされていません。\n関連付けしてよろしいですか？");
    {
        auto app = box.Start(); // unanswered: No
        ASSERT_NE(app, nullptr);
        ASSERT_EQ(Prompts().Events().size(), 1u);
        EXPECT_EQ(Prompts().Events()[0].text, question);
        EXPECT_FALSE(app->IsFileTypeRegistered());
        app->MainFrame()->close();
        app->ExitInstance();
    }
    Prompts().Reset();
    Prompts().QueueAnswer(ui::Answer::Yes);
    {
        auto app = box.Start();
        ASSERT_EQ(Prompts().Events().size(), 1u);
        EXPECT_TRUE(app->IsFileTypeRegistered());
        app->MainFrame()->close();
        app->ExitInstance();
    }
    Prompts().Reset();
    {
        auto app = box.Start();
        EXPECT_TRUE(Prompts().Events().empty()); // registered: nothing asked
        app->MainFrame()->close();
        app->ExitInstance();
    }
    // Another copy of the program is asked again.
    box.options.executablePath = Q(box / "elsewhere" / "torva");
    auto other = box.Start();
    EXPECT_EQ(Prompts().Events().size(), 1u);
    other->MainFrame()->close();
    other->ExitInstance();
}
#endif

TEST(TabryAppTest, ClosingAModifiedTournamentAsksAndCancelKeepsTheWindow)
{
    test::Sandbox box;
    auto app = box.Start();
    ASSERT_NE(app, nullptr);
    app->Document().SetModifiedFlag(true);
    EXPECT_EQ(app->MainFrame()->windowTitle(), QString::fromUtf8("無題[*] - TORVA ver." TORVA_VERSION));
    EXPECT_TRUE(app->MainFrame()->isWindowModified());
    Prompts().QueueAnswer(ui::Answer::Cancel);
    EXPECT_FALSE(app->MainFrame()->close());
    EXPECT_TRUE(app->MainFrame()->isVisible());
    EXPECT_EQ(Prompts().Events()[0].kind, "yesnocancel");
    Prompts().QueueAnswer(ui::Answer::No);
    EXPECT_TRUE(app->MainFrame()->close());
}

TEST(TabryAppTest, RecentFilesAppearInTheFileMenuAndOpen)
{
    test::Sandbox box;
    test::WriteAll(box / "a.stg", test::StgBytes(4, 2, {"a"}));
    test::WriteAll(box / "b.stg", test::StgBytes(8, 3, {"b"}));
    {
        auto app = box.Start();
        ASSERT_TRUE(app->Document().OpenDocumentFile(Q(box / "a.stg")));
        ASSERT_TRUE(app->Document().OpenDocumentFile(Q(box / "b.stg")));
        app->MainFrame()->close();
        app->ExitInstance();
    }
    auto app = box.Start();
    CMainFrame* frame = app->MainFrame();
    QAction* first = frame->Action("actionRecentFile1");
    QAction* second = frame->Action("actionRecentFile2");
    ASSERT_TRUE(first->isVisible());
    EXPECT_TRUE(first->text().startsWith("&1 "));
    EXPECT_TRUE(first->text().endsWith("b.stg"));
    EXPECT_TRUE(second->text().endsWith("a.stg"));
    EXPECT_FALSE(frame->Action("actionRecentFile3")->isVisible());
    EXPECT_FALSE(frame->Action("actionRecentPlaceholder")->isVisible());
    second->trigger();
    EXPECT_EQ(app->Data().table.PlayerCount(), 4);
    EXPECT_TRUE(frame->Action("actionRecentFile1")->text().endsWith("a.stg"));

    // A recent file that is gone is reported and leaves the list.
    std::filesystem::remove(box / "b.stg");
    frame->Action("actionRecentFile2")->trigger();
    EXPECT_EQ(Prompts().Events().back().kind, "error");
    EXPECT_FALSE(frame->Action("actionRecentFile2")->isVisible());
    app->MainFrame()->close();
    app->ExitInstance();
}

} // namespace
} // namespace tabry::app
