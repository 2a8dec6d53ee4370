// The crash journal's files: what a recovery file holds and how it reads
// back, which files a new start finds, how a declined one is kept, and the
// keeper that writes after every change and removes the file when the
// tournament is back where its file is.

#include "edit/RecoveryJournal.h"

#include "edit/TournamentEditor.h"
#include "tests/support/SmallTournaments.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Files(const fs::path& folder)
{
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(folder, ec))
        if (e.is_regular_file())
            out.push_back(fs::relative(e.path(), folder));
    std::sort(out.begin(), out.end());
    return out;
}

TEST(RecoveryJournalTest, ARecoveryFileIsATournamentFileThatSaysWhoseAndWhen)
{
    CTournamentEditor editor(test::MakeTournament(6, 3, 4));
    editor.SetGame(0, 0, 1, ResultWin, 20);
    const std::string stg = editor.Save();
    test::TempDir dir;
    // A path with every awkward byte a line could trip over, and none.
    for (const fs::path& document : {fs::path(u8"/会場/第1回 大会,決勝%0A\r\n.stg"), fs::path()}) {
        test::WriteAll(dir / "r.stg", CRecoveryJournal::Compose(stg, document, 1796000000));
        std::string bytes;
        RecoveryFile about;
        ASSERT_TRUE(CRecoveryJournal::Read(dir / "r.stg", bytes, &about));
        EXPECT_EQ(about.document, document);
        EXPECT_EQ(about.changedAt, 1796000000);
        // Any reader opens it as the tournament it holds.
        CTournamentEditor reader;
        ASSERT_EQ(reader.Load(bytes), LoadStatus::Ok);
        EXPECT_EQ(reader.Save(), stg);
    }
}

TEST(RecoveryJournalTest, OnlyTheFilesOfEndedRunsAreFoundAndEachOnlyOnce)
{
    test::TempDir dir;
    auto live = std::make_unique<CRecoveryJournal>(dir.Path());
    live->SetDocument("/a.stg");
    ASSERT_TRUE(live->Write("4,1,1,0,60\r\n", 100));
    {
        CRecoveryJournal ended(dir.Path());
        ended.SetDocument("/b.stg");
        ASSERT_TRUE(ended.Write("4,1,1,0,60\r\n", 200));
        // Destroyed without Remove: the run ended uncleanly.
    }
    std::vector<RecoveryFile> found = CRecoveryJournal::FindOrphans(dir.Path());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].document, fs::path("/b.stg"));
    // While one run offers it, another does not see it.
    EXPECT_TRUE(CRecoveryJournal::FindOrphans(dir.Path()).empty());
    found.clear();

    live.reset(); // the first run ends too: both are found, newest first
    found = CRecoveryJournal::FindOrphans(dir.Path());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].document, fs::path("/b.stg"));
    EXPECT_EQ(found[1].document, fs::path("/a.stg"));
}

TEST(RecoveryJournalTest, ADeclinedFileIsKeptUnderADatedNameNeverLost)
{
    test::TempDir dir;
    for (const char* document : {"/x/春季大会.stg", "/y/春季大会.stg", ""}) {
        CRecoveryJournal journal(dir.Path());
        journal.SetDocument(fs::path(reinterpret_cast<const char8_t*>(document)));
        ASSERT_TRUE(journal.Write("4,1,1,0,60\r\n", 1796000000));
    }
    for (const RecoveryFile& f : CRecoveryJournal::FindOrphans(dir.Path()))
        EXPECT_FALSE(CRecoveryJournal::SetAside(f).empty());
    const std::vector<fs::path> files = Files(dir.Path());
    // Two of the same name in the same second get a number; the untitled one
    // is named as the window names it. The stamp is local time.
    ASSERT_EQ(files.size(), 3u) << files.size();
    int numbered = 0;
    for (const fs::path& f : files) {
        EXPECT_EQ(f.parent_path(), fs::path("kept"));
        EXPECT_EQ(f.extension(), ".stg");
        numbered += f.stem().u8string().ends_with(u8"-2");
        EXPECT_EQ(test::ReadAll(dir.Path() / f).substr(0, 12), "4,1,1,0,60\r\n");
    }
    EXPECT_EQ(numbered, 1);
    EXPECT_TRUE(CRecoveryJournal::FindOrphans(dir.Path()).empty());
}

TEST(RecoveryJournalTest, TheKeeperWritesAfterEveryChangeUntilTheFileHoldsTheTournamentAgain)
{
    test::TempDir dir;
    CTournamentEditor editor(test::MakeTournament(4, 2, 4));
    CRecoveryJournal journal(dir.Path());
    std::int64_t now = 1000;
    CJournalKeeper keeper(editor, journal, [&now] { return now; });
    EXPECT_FALSE(journal.Exists()); // as opened: nothing to recover

    std::vector<std::shared_ptr<const CEditStep>> steps;
    editor.AddListener(ListenerRank::Views, [&](const ChangeEvent& e) {
        if (e.step)
            steps.push_back(e.step);
    });
    now = 1001;
    editor.SetGame(0, 0, 1, ResultWin, 6);
    ASSERT_TRUE(journal.Exists());
    std::string bytes;
    RecoveryFile about;
    ASSERT_TRUE(CRecoveryJournal::Read(journal.Path(), bytes, &about));
    EXPECT_EQ(about.changedAt, 1001);
    CTournamentEditor reader;
    ASSERT_EQ(reader.Load(bytes), LoadStatus::Ok);
    EXPECT_EQ(reader.Save(), editor.Save());

    // Undone back to the opened state: nothing to recover.
    editor.Undo(*steps.back());
    EXPECT_FALSE(journal.Exists());
    editor.Redo(*steps.back());
    EXPECT_TRUE(journal.Exists());
    keeper.MarkSaved(); // saved
    EXPECT_FALSE(journal.Exists());
    keeper.MarkUnsaved(); // restored from elsewhere: in no file
    EXPECT_TRUE(journal.Exists());
    editor.NewTournament(); // changes discarded
    EXPECT_FALSE(journal.Exists());
    EXPECT_FALSE(keeper.LastError());
}

TEST(RecoveryJournalTest, RestoringBringsBackThePlayersDataTheDatabaseLacks)
{
    // The database on disk still has the old record; the recovery file has
    // the one edited before the crash.
    CTournamentEditor before(test::MakeTournament(4, 2, 2));
    CPlayerRecord edited = before.Players().GetAt(1);
    edited.m_shortName = "fixed";
    edited.m_grade = 4;
    before.EditPlayerRecord(1, edited);
    const std::string stg = before.Save();

    CTournamentEditor after(test::MakeTournament(4, 2, 0));
    ASSERT_EQ(after.Restore(CRecoveryJournal::Compose(stg, {}, 1)), LoadStatus::Ok);
    EXPECT_EQ(after.Save(), stg);
    EXPECT_EQ(after.Players().GetAt(after.Table().Entry(0).playerIndex).m_shortName, "fixed");
    EXPECT_TRUE(after.PlayersModified());
}

} // namespace
} // namespace tabry
