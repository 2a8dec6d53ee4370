// Nothing the organiser entered is dropped or overwritten without a word:
// two windows on one file, a file changed on the disk before a save, a
// damaged file opened, and recovery files that are older than their file or
// damaged themselves. The windows here are documents with their own editors
// holding locks through the real lock code, as two programs would.

#include "app/EditHistory.h"
#include "app/MainFrame.h"
#include "app/TabryApp.h"
#include "app/TabryDoc.h"
#include "edit/FileLock.h"
#include "edit/TournamentEditor.h"
#include "tests/app/AppTestSupport.h"
#include "tests/guisupport/GuiTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>

#include <chrono>
#include <stdexcept>

namespace tabry::app {
namespace {

using test::Prompts;
using test::Q;
namespace fs = std::filesystem;

// One program's window on the tournament.
struct Window {
    CTournamentEditor editor;
    CEditHistory history{editor};
    CTabryDoc doc{editor};

    explicit Window(const fs::path& locks)
    {
        doc.SetHistory(&history);
        doc.SetLockFolder(Q(locks));
        doc.OnNewDocument();
    }
    void Enter(int row, int opponent, int disc) { editor.SetGame(row, 1, opponent, ResultWin, disc); }
};

struct FileSafetyTest : testing::Test {
    test::TempDir dir;
    fs::path file = dir / "t.stg";
    fs::path locks = dir / "locks";
    std::string original = test::StgBytes(6, 3, {"a", "b", "c", "d"}, "cup");

    void SetUp() override { test::WriteAll(file, original); }
    const ui::ScriptedPrompt::Event& Last() { return Prompts().Events().back(); }
};

TEST_F(FileSafetyTest, ASecondWindowIsToldOpensReadOnlyOnlyWhenAskedAndCannotSaveOverTheFirst)
{
    Window first(locks);
    Window second(locks);
    ASSERT_TRUE(first.doc.OnOpenDocument(Q(file)));
    EXPECT_TRUE(Prompts().Events().empty());

    // Not opening is the default answer: the second window keeps its own.
    EXPECT_FALSE(second.doc.OnOpenDocument(Q(file)));
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Last().kind, "choose");
    EXPECT_TRUE(Last().text.contains(QDir::toNativeSeparators(Q(file))));
    EXPECT_TRUE(Last().text.contains(QStringLiteral("別の TORVA で開かれています")));
    EXPECT_TRUE(second.doc.PathName().isEmpty());

    Prompts().QueueAnswer(ui::Answer::Yes);
    ASSERT_TRUE(second.doc.OnOpenDocument(Q(file)));
    EXPECT_TRUE(second.doc.IsReadOnly());
    EXPECT_FALSE(first.doc.IsReadOnly());

    // Both enter a game; only the first window may write the file.
    first.Enter(0, 2, 12);
    second.Enter(1, 3, 20);
    Prompts().Reset();
    EXPECT_FALSE(second.doc.FileSave());
    EXPECT_EQ(Last().kind, "error");
    EXPECT_TRUE(Last().text.contains(QStringLiteral("読み取り専用")));
    EXPECT_EQ(test::ReadAll(file), original);
    EXPECT_TRUE(second.doc.IsModified());
    EXPECT_TRUE(first.doc.FileSave());
    const std::string firstSaved = test::ReadAll(file);
    EXPECT_EQ(firstSaved, first.editor.Save());

    // Save As to a file of its own works, and holds that file from then on.
    const fs::path other = dir / "u.stg";
    Prompts().QueuePath(Q(other));
    EXPECT_TRUE(second.doc.FileSaveAs());
    EXPECT_FALSE(second.doc.IsReadOnly());
    EXPECT_EQ(test::ReadAll(other), second.editor.Save());
    EXPECT_EQ(test::ReadAll(file), firstSaved);
    Window third(locks);
    Prompts().Reset();
    EXPECT_FALSE(third.doc.OnOpenDocument(Q(other)));
    EXPECT_EQ(Last().kind, "choose");

    // A window that lets go of its file lets others have it.
    first.doc.OnNewDocument();
    Prompts().Reset();
    ASSERT_TRUE(third.doc.OnOpenDocument(Q(file)));
    EXPECT_TRUE(Prompts().Events().empty());
    EXPECT_FALSE(third.doc.IsReadOnly());
}

TEST_F(FileSafetyTest, ASaveOverAFileChangedOrRemovedOnTheDiskAsksAndNoWritesNothing)
{
    Window window(locks);
    ASSERT_TRUE(window.doc.OnOpenDocument(Q(file)));
    window.Enter(0, 2, 12);

    // Changed by somebody else after it was read (same size, other bytes).
    std::string elsewhere = original;
    elsewhere[elsewhere.find("cup")] = 'C';
    test::WriteAll(file, elsewhere);
    EXPECT_FALSE(window.doc.FileSave());
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Last().kind, "choose");
    EXPECT_TRUE(Last().text.contains(QStringLiteral("ほかで変更されています")));
    EXPECT_EQ(test::ReadAll(file), elsewhere);
    EXPECT_TRUE(window.doc.IsModified());
    Prompts().QueueAnswer(ui::Answer::Yes);
    EXPECT_TRUE(window.doc.FileSave());
    EXPECT_EQ(test::ReadAll(file), window.editor.Save());

    // What this window wrote itself is no change: no question.
    window.Enter(1, 3, 4);
    Prompts().Reset();
    EXPECT_TRUE(window.doc.FileSave());
    EXPECT_TRUE(Prompts().Events().empty());

    // Removed meanwhile.
    window.Enter(1, 3, 6);
    fs::remove(file);
    EXPECT_FALSE(window.doc.FileSave());
    EXPECT_TRUE(Last().text.contains(QStringLiteral("削除")));
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(FileSafetyTest, ADamagedFileIsDescribedAndOpensOnlyAsANewUntitledTournament)
{
    Window window(locks);
    ASSERT_TRUE(window.doc.OnOpenDocument(Q(file)));
    window.Enter(0, 2, 12);
    const std::string open = window.editor.Save();

    // Row 3's line has lost a field (line 7 of the file).
    std::string damaged = original;
    const size_t row3 = damaged.find(test::S("d,d,0"));
    damaged.erase(damaged.find(",0\r\n", row3), 2);
    const fs::path bad = dir / "bad.stg";
    test::WriteAll(bad, damaged);

    // Not opening is the default: the open tournament stays as it was.
    EXPECT_FALSE(window.doc.OnOpenDocument(Q(bad)));
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Last().kind, "choose");
    EXPECT_TRUE(Last().text.contains(QStringLiteral("7 行目")));
    EXPECT_TRUE(Last().text.contains(QStringLiteral("表の 4 行目は空になります")));
    EXPECT_EQ(window.editor.Save(), open);
    EXPECT_EQ(window.doc.PathName(), QFileInfo(Q(file)).absoluteFilePath());
    EXPECT_TRUE(window.doc.IsModified());

    // Opened on request: untitled and modified, so no save can replace the
    // damaged file; the file itself is untouched.
    window.doc.SetModifiedFlag(false);
    Prompts().QueueAnswer(ui::Answer::Yes);
    ASSERT_TRUE(window.doc.OnOpenDocument(Q(bad)));
    EXPECT_TRUE(window.doc.PathName().isEmpty());
    EXPECT_TRUE(window.doc.IsModified());
    EXPECT_TRUE(window.editor.Table().Entry(3).IsEmpty());
    EXPECT_EQ(test::ReadAll(bad), damaged);

    // An event line that cannot be read: refused outright, naming its line.
    const std::string before = window.editor.Save();
    std::string unreadable = test::StgBytes(6, 3, {"a", "b"});
    unreadable.insert(unreadable.find("##Format: 1\r\n") + 13, "##Withdrawn: 9,1\r\n");
    test::WriteAll(bad, unreadable);
    Prompts().Reset();
    EXPECT_FALSE(window.doc.OnOpenDocument(Q(bad)));
    EXPECT_EQ(Last().kind, "error");
    EXPECT_TRUE(Last().text.contains(QStringLiteral("3 行目: 「##WITHDRAWN:」")));
    EXPECT_EQ(window.editor.Save(), before);
}

TEST_F(FileSafetyTest, EveryKindOfDamageIsNamedWithItsLineAndTheOpenTournamentStays)
{
    Window window(locks);
    ASSERT_TRUE(window.doc.OnOpenDocument(Q(file)));
    window.Enter(0, 2, 12);
    const std::string open = window.editor.Save();
    // Lines: 1 header, 2 and 3 details, 4 to 9 the rows a, b, c, d and two
    // empty ones.
    const size_t rowC = original.find(test::S("c,c,0"));
    const size_t rowD = original.find(test::S("d,d,0"));
    std::string fewer = original;
    fewer.erase(fewer.find(",0\r\n", rowD), 2);
    std::string among = original;
    among.insert(rowC, "##Withdrawn: 1,2\r\n");
    const std::string cut = original.substr(0, rowC + 8);
    const std::string extra = original + "extra,line\r\n";
    const std::pair<std::string, QString> damages[] = {
        {fewer, QStringLiteral("7 行目: 項目数が 17 で、18 ではありません。表の 4 行目は空になります。")},
        {among, QStringLiteral("6 行目: プレイヤの行の間に「#」で始まる行があります。表の 3 行目は空になります。")},
        {cut, QStringLiteral("6 行目でファイルが終わっています（表は 6 行のはず）。表の 4 行目以降は空になります。")},
        {extra, QStringLiteral("10 行目以降: 表の後ろにある 1 行は読み込まれません。")},
    };
    for (const auto& [bytes, line] : damages) {
        SCOPED_TRACE(line.toStdString());
        test::WriteAll(dir / "bad.stg", bytes);
        Prompts().Reset();
        EXPECT_FALSE(window.doc.OnOpenDocument(Q(dir / "bad.stg")));
        ASSERT_EQ(Prompts().Events().size(), 1u);
        EXPECT_TRUE(Last().text.contains(line)) << Last().text.toStdString();
        EXPECT_EQ(window.editor.Save(), open);
        EXPECT_EQ(window.doc.PathName(), QFileInfo(Q(file)).absoluteFilePath());
        EXPECT_EQ(test::ReadAll(dir / "bad.stg"), bytes);
    }
}

// ---- the running program: recovery, stale locks and the barrier -------------

void Crash(std::unique_ptr<CTabryApp>& app)
{
    QApplication::processEvents();
    app.reset();
}

std::vector<fs::path> Files(const fs::path& folder, const std::string& extension)
{
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (e.path().extension() == extension)
            out.push_back(e.path());
    return out;
}

struct RecoveryTest : testing::Test {
    test::Sandbox box;
    std::unique_ptr<CTabryApp> app;
    fs::path recovery = box / "user" / "recovery";

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
    // The file saved again by somebody else after the unsaved change.
    void SaveFileLater(const std::string& bytes)
    {
        test::WriteAll(box / "t.stg", bytes);
        fs::last_write_time(box / "t.stg", fs::file_time_type::clock::now() + std::chrono::seconds(30));
    }
};

TEST_F(RecoveryTest, ARecoveryOlderThanItsFileIsOfferedWithBothTimesAndNeverSetAsideSilently)
{
    app->Editor().SetGame(2, 1, 3, ResultWin, 8);
    Crash(app);
    const std::string newer = test::StgBytes(6, 3, {"a", "b", "c", "d", "e"}, "cup");
    SaveFileLater(newer);

    // The default keeps the file and sets the work aside, saying where.
    app = box.Start();
    ASSERT_NE(app, nullptr);
    ASSERT_EQ(Prompts().Events().size(), 2u);
    const auto& question = Prompts().Events()[0];
    EXPECT_EQ(question.kind, "choose");
    EXPECT_TRUE(question.text.contains(QStringLiteral("保存されていない変更: ")));
    EXPECT_TRUE(question.text.contains(QStringLiteral("ファイルの保存: ")));
    const std::vector<fs::path> kept = Files(recovery / "kept", ".stg");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(Prompts().Events()[1].kind, "inform");
    EXPECT_TRUE(Prompts().Events()[1].text.contains(QDir::toNativeSeparators(Q(kept[0]))));
    EXPECT_FALSE(app->Document().IsModified());
    EXPECT_EQ(app->Editor().Save(), newer);

    // Asked again with another unsaved change, restoring brings it back.
    app->Editor().SetGame(0, 2, 4, ResultWin, 2);
    const std::string again = app->Editor().Save();
    Crash(app);
    SaveFileLater(newer);
    Prompts().Reset();
    Prompts().QueueAnswer(ui::Answer::Yes);
    app = box.Start();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->Editor().Save(), again);
    EXPECT_TRUE(app->Document().IsModified());
}

TEST_F(RecoveryTest, ADamagedRecoveryFileIsReportedAndKeptWhereItIs)
{
    app->Editor().SetGame(2, 1, 3, ResultWin, 8);
    Crash(app);
    const std::vector<fs::path> journals = Files(recovery, ".stg");
    ASSERT_EQ(journals.size(), 1u);
    // Cut off in the middle of its third player's line.
    std::string bytes = test::ReadAll(journals[0]);
    bytes.resize(bytes.find(test::S("c,c,0")) + 8);
    test::WriteAll(journals[0], bytes);

    app = box.Start();
    ASSERT_NE(app, nullptr);
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, "error");
    EXPECT_TRUE(Prompts().Events()[0].text.contains(QStringLiteral("壊れている")));
    EXPECT_EQ(test::ReadAll(journals[0]), bytes);
    EXPECT_TRUE(Files(recovery / "kept", ".stg").empty());
    EXPECT_FALSE(app->Document().IsModified()); // the file itself opened
}

TEST_F(RecoveryTest, LockFilesNobodyHoldsGoAtStartAndHeldOnesStay)
{
    app->MainFrame()->close();
    app->ExitInstance();
    app.reset();
    test::WriteAll(recovery / "session-dead.lock", "");
    test::WriteAll(recovery / "locks" / "0123456789abcdef.lock", "");
    const LockHandle held = TakeFileLock(recovery / "locks" / "held.lock");
    ASSERT_TRUE(held);
    box.options.fileToOpen.clear();
    app = box.Start();
    ASSERT_NE(app, nullptr);
    EXPECT_FALSE(fs::exists(recovery / "session-dead.lock"));
    EXPECT_FALSE(fs::exists(recovery / "locks" / "0123456789abcdef.lock"));
    EXPECT_TRUE(fs::exists(recovery / "locks" / "held.lock"));
}

TEST_F(RecoveryTest, AnExceptionKeepsTheWorkInTheJournalTellsTheUserAndEnds)
{
    app->Editor().SetGame(2, 1, 3, ResultWin, 8);
    int ended = -1;
    app->SetFatalExit([&ended](int code) { ended = code; });
    EXPECT_FALSE(app->Guard([]() -> bool { throw std::runtime_error("broken"); }));
    EXPECT_EQ(ended, CTabryApp::kFatalExitCode);
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_TRUE(Prompts().Events()[0].text.contains(QStringLiteral("broken")));
    EXPECT_TRUE(Prompts().Events()[0].text.contains(QStringLiteral("復元データとして残してあります")));
    // The journal holds the state as it stood, before the next input.
    const std::vector<fs::path> journals = Files(recovery, ".stg");
    ASSERT_EQ(journals.size(), 1u);
    CTournamentEditor reader;
    ASSERT_EQ(reader.Load(test::ReadAll(journals[0])), LoadStatus::Ok);
    EXPECT_EQ(reader.Table().Cell(2, 1).opponent, 3);
}

} // namespace
} // namespace tabry::app
