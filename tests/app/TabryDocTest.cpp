// New, open, save and save as of the document with a scripted answer to every
// question: the modified flag, the save-changes question, the unreadable
// file, the failed save.

#include "app/TabryDoc.h"

#include "app/EditHistory.h"
#include "core/TournamentData.h"
#include "edit/TournamentEditor.h"
#include "tests/app/AppTestSupport.h"
#include "tests/guisupport/GuiTest.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>

namespace tabry::app {
namespace {

using test::Prompts;
using test::Q;
using test::S;
using test::Shown;
using ui::Answer;

struct DocFixture : testing::Test {
    test::TempDir dir;
    CTournamentEditor editor;
    const TournamentData& data = editor.Data();
    CEditHistory history{editor};
    CTabryDoc doc{editor};

    void SetUp() override
    {
        doc.SetHistory(&history);
        doc.SetDefaultDirectory(Q(dir.Path()));
        doc.OnNewDocument();
    }
    std::filesystem::path Write(const std::string& name, const std::string& bytes)
    {
        test::WriteAll(dir / name, bytes);
        return dir / name;
    }
    // Some change to the open tournament.
    void Edit(const std::string& utf8Name) { editor.SetDetails(S(utf8Name), 0, 1, 1); }
    const std::deque<ui::ScriptedPrompt::Event>& Events() { return Prompts().Events(); }
};

TEST_F(DocFixture, ANewDocumentIsUntitledAndUnmodified)
{
    EXPECT_EQ(doc.Title(), QString::fromUtf8("無題"));
    EXPECT_TRUE(doc.PathName().isEmpty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(data.table.PlayerCount(), 32);
    EXPECT_EQ(data.table.RoundCount(), 6);
}

TEST_F(DocFixture, SaveAsWritesTheFileAndTakesItsName)
{
    Edit("春季大会");
    QSignalSpy used(&doc, &CTabryDoc::fileUsed);
    Prompts().QueuePath(Q(dir / "cup.stg"));
    EXPECT_TRUE(doc.FileSave()); // untitled: save as
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].kind, "save");
    EXPECT_EQ(Events()[0].text, Shown(dir.Path() / u8"無題.stg"));
    EXPECT_EQ(doc.Title(), "cup.stg");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(used.count(), 1);
    const std::string bytes = test::ReadAll(dir / "cup.stg");
    EXPECT_EQ(bytes.rfind("32,6,1,0,60\r\n##Format: 1\r\n##Tournament: " + S("春季大会") + "\r\n", 0), 0u);

    // A second save goes to the same file without a dialog.
    Edit("秋季大会");
    EXPECT_TRUE(doc.FileSave());
    EXPECT_EQ(Events().size(), 1u);
    EXPECT_NE(test::ReadAll(dir / "cup.stg").find(S("秋季大会")), std::string::npos);
}

TEST_F(DocFixture, CancelledSaveAsKeepsTheDocumentModified)
{
    Edit("x");
    EXPECT_FALSE(doc.FileSaveAs());
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocFixture, NewAsksBeforeDroppingChanges)
{
    Edit("x");
    Prompts().QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(doc.FileNew());
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].kind, "yesnocancel");
    EXPECT_EQ(Events()[0].text, QString::fromUtf8("無題 への変更を保存しますか?"));
    EXPECT_EQ(data.info.name, "x");
    EXPECT_TRUE(doc.IsModified());

    Prompts().QueueAnswer(Answer::No);
    EXPECT_TRUE(doc.FileNew());
    EXPECT_TRUE(data.info.name.empty());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocFixture, YesSavesFirstAndAFailedSaveStopsTheCommand)
{
    Edit("x");
    Prompts().QueueAnswer(Answer::Yes);
    Prompts().QueuePath(Q(dir / "kept.stg"));
    EXPECT_TRUE(doc.FileNew());
    EXPECT_TRUE(std::filesystem::exists(dir / "kept.stg"));

    Edit("y");
    Prompts().QueueAnswer(Answer::Yes); // but the save dialog is cancelled
    EXPECT_FALSE(doc.FileNew());
    EXPECT_EQ(data.info.name, "y");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocFixture, OpeningReadsTheFileAndResetsTheView)
{
    const auto path = Write("t.stg", test::StgBytes(4, 3, {"山田", "鈴木"}, "大会"));
    QSignalSpy reset(&doc, &CTabryDoc::documentReset);
    Prompts().QueuePath(Q(path));
    EXPECT_TRUE(doc.FileOpen());
    EXPECT_EQ(doc.Title(), "t.stg");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(data.table.PlayerCount(), 4);
    EXPECT_EQ(data.table.Entry(0).wins, 1);
    EXPECT_TRUE(data.playersModified); // the players were added to the database
}

TEST_F(DocFixture, OpeningAModifiedTournamentAsksFirst)
{
    const auto path = Write("t.stg", test::StgBytes(4, 3, {"a"}));
    Edit("x");
    Prompts().QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(doc.OpenDocumentFile(Q(path)));
    EXPECT_EQ(data.table.PlayerCount(), 32);
    Prompts().QueueAnswer(Answer::No);
    EXPECT_TRUE(doc.OpenDocumentFile(Q(path)));
    EXPECT_EQ(data.table.PlayerCount(), 4);
}

TEST_F(DocFixture, AnUnreadableFileIsReportedAndThePreviousTournamentStays)
{
    const auto good = Write("good.stg", test::StgBytes(4, 3, {"a", "b"}, "前の大会"));
    ASSERT_TRUE(doc.OnOpenDocument(Q(good)));
    Edit("変更中");
    const std::string before = data.Save();

    const auto empty = Write("empty.stg", "");
    const auto bad = Write("bad.stg", "this is no tournament\r\n");
    const auto huge = Write("huge.stg", "600,3,1,0,60\r\n");
    for (const auto& path : {empty, bad, huge}) {
        Prompts().Reset();
        QSignalSpy failed(&doc, &CTabryDoc::openFailed);
        EXPECT_FALSE(doc.OnOpenDocument(Q(path)));
        ASSERT_EQ(Events().size(), 1u);
        EXPECT_EQ(Events()[0].kind, "error");
        EXPECT_EQ(Events()[0].caption, QString::fromUtf8("エラー"));
        EXPECT_EQ(
            Events()[0].text,
            QString::fromUtf8("「%1」は大会結果ファイルとして読み込めません。").arg(QDir::toNativeSeparators(Q(path))));
        EXPECT_EQ(failed.count(), 1);
        EXPECT_EQ(data.Save(), before);
        EXPECT_EQ(doc.Title(), "good.stg");
        EXPECT_TRUE(doc.IsModified());
    }

    Prompts().Reset();
    EXPECT_FALSE(doc.OnOpenDocument(Q(dir / "missing.stg")));
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].text, QString::fromUtf8("「%1」を開けません。\nファイルが見つかりません。")
                                    .arg(QDir::toNativeSeparators(Q(dir / "missing.stg"))));

    // A NUL byte would have dropped the player of its line without a word.
    std::string damaged = test::StgBytes(4, 3, {"a", "b"});
    damaged[damaged.find("b,b")] = '\0';
    // Not "nul.stg": NUL is a device name on Windows, whatever the extension.
    const auto nul = Write("nul-byte.stg", damaged);
    Prompts().Reset();
    EXPECT_FALSE(doc.OnOpenDocument(Q(nul)));
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].text,
              QString::fromUtf8(
                  "「%1」を開けません。\n4 行目に NUL 文字（0x00）があります。ファイルが壊れている可能性があります。")
                  .arg(QDir::toNativeSeparators(Q(nul))));
    EXPECT_EQ(data.Save(), before);
}

TEST_F(DocFixture, AFailedSaveIsReportedAndTheDocumentStaysModified)
{
    Edit("x");
    const QString target = Q(dir / "no" / "such" / "folder" / "t.stg");
    EXPECT_FALSE(doc.OnSaveDocument(target));
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].kind, "error");
    EXPECT_EQ(Events()[0].text,
              QString::fromUtf8("「%1」に保存できません。\n保存先のフォルダ「%2」が見つかりません。")
                  .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(Q(dir / "no" / "such" / "folder"))));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Title(), QString::fromUtf8("無題"));
}

TEST_F(DocFixture, SavingOverAFileReplacesItWhole)
{
    const auto path = Write("t.stg", std::string(100000, 'x'));
    Prompts().QueuePath(Q(path));
    Prompts().QueueAnswer(Answer::Yes); // overwrite
    Edit("x");
    EXPECT_TRUE(doc.FileSaveAs());
    const std::string bytes = test::ReadAll(path);
    EXPECT_EQ(bytes.rfind("32,6,", 0), 0u);
    EXPECT_EQ(bytes.find('x' + std::string(10, 'x')), std::string::npos);
    // No temporary file is left beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(DocFixture, SaveModifiedNamesTheFilesPath)
{
    const auto path = Write("t.stg", test::StgBytes(2, 1, {}));
    ASSERT_TRUE(doc.OnOpenDocument(Q(path)));
    Edit("x");
    EXPECT_FALSE(doc.SaveModified()); // unanswered: Cancel
    EXPECT_EQ(Events().back().text,
              QString::fromUtf8("%1 への変更を保存しますか?").arg(QDir::toNativeSeparators(Q(path))));
    EXPECT_TRUE(doc.IsModified());
}

} // namespace
} // namespace tabry::app
