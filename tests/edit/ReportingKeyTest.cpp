// Switching the players' reports on and off is one undoable step of the
// tournament's details, and the key is saved only while it is on. Reports
// waiting for the desk live beside the crash journal's recovery file.
#include "core/ReportCode.h"
#include "edit/RecoveryJournal.h"
#include "edit/TournamentEditor.h"

#include "tests/support/SmallTournaments.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace tabry {
namespace {

TEST(ReportingKeyTest, SettingAndClearingTheKeyIsOneUndoableStepOfTheDetails)
{
    CTournamentEditor editor(test::MakeTournament(4, 2, 4));
    const std::string before = editor.Save();
    std::shared_ptr<const CEditStep> last;
    int told = 0;
    editor.AddListener(ListenerRank::History, [&](const ChangeEvent& e) {
        ++told;
        EXPECT_TRUE(e.effects.details);
        last = e.step;
    });

    const std::string key = "0123456789abcdef0123456789abcdef";
    ChangeEffects fx = editor.SetReportingKey(key);
    EXPECT_FALSE(fx.refusal);
    EXPECT_EQ(editor.Info().reportingKey, key);
    const std::string on = editor.Save();
    EXPECT_NE(on.find("##Reporting: " + key + "\r\n"), std::string::npos);
    EXPECT_EQ(told, 1);

    // The same key again changes nothing and tells nobody.
    editor.SetReportingKey(key);
    EXPECT_EQ(told, 1);

    ASSERT_TRUE(last);
    const std::shared_ptr<const CEditStep> step = last;
    EXPECT_TRUE(editor.Undo(*step));
    EXPECT_EQ(editor.Save(), before);
    EXPECT_TRUE(editor.Redo(*step));
    EXPECT_EQ(editor.Save(), on);

    editor.SetReportingKey("");
    EXPECT_EQ(editor.Save(), before);

    // Nothing but a key or nothing is taken.
    for (const std::string& bad :
         std::vector<std::string>{"0123456789ABCDEF0123456789abcdef", "zz", std::string(32, 'g'), key + "0"}) {
        fx = editor.SetReportingKey(bad);
        EXPECT_EQ(fx.refusal.code, RefusalCode::BadReportingKey) << bad;
        EXPECT_EQ(editor.Save(), before);
    }
    EXPECT_FALSE(editor.SetReportingKey(NewReportingKey()).refusal);
}

TEST(ReportingKeyTest, WaitingReportsKeepARecoveryFileAndComeBackBesideIt)
{
    namespace fs = std::filesystem;
    test::TempDir dir;
    const std::string reports = "TORVA-REPORTS 1\nnext 2\nreport 1 1 1 40 24 5 0 7f000001\n";
    {
        CTournamentEditor editor(test::MakeTournament(4, 2, 4));
        CRecoveryJournal journal(dir.Path());
        journal.SetDocument("/event.stg");
        CJournalKeeper keeper(editor, journal, [] { return std::int64_t{2000}; });
        EXPECT_FALSE(journal.Exists());
        // The tournament is what its file holds, yet a report waits: the
        // recovery file is written so that the next start finds it.
        keeper.SetWaitingReports(reports);
        ASSERT_TRUE(journal.Exists());
        EXPECT_EQ(test::ReadAll(CRecoveryJournal::ReportsPathOf(journal.Path())), reports);
        keeper.MarkSaved(); // saving keeps them too
        EXPECT_TRUE(journal.Exists());
        // None waiting any more: both files go.
        keeper.SetWaitingReports("");
        EXPECT_FALSE(journal.Exists());
        EXPECT_FALSE(fs::exists(CRecoveryJournal::ReportsPathOf(journal.Path())));
        editor.SetGame(0, 0, 1, ResultWin, 6);
        keeper.SetWaitingReports(reports);
        EXPECT_FALSE(keeper.LastError());
        // The run ends without removing them: a crash.
    }
    std::vector<RecoveryFile> found = CRecoveryJournal::FindOrphans(dir.Path());
    ASSERT_EQ(found.size(), 1u);
    std::string bytes;
    ASSERT_TRUE(CRecoveryJournal::ReadReports(found[0].path, bytes));
    EXPECT_EQ(bytes, reports);
    // A declined file keeps its reports beside it; a restored one drops them.
    const fs::path kept = CRecoveryJournal::SetAside(found[0]);
    ASSERT_FALSE(kept.empty());
    EXPECT_TRUE(CRecoveryJournal::ReadReports(kept, bytes));
    EXPECT_EQ(bytes, reports);
    EXPECT_FALSE(CRecoveryJournal::ReadReports(found[0].path, bytes));
    EXPECT_TRUE(bytes.empty());
    RecoveryFile restored;
    restored.path = kept;
    CRecoveryJournal::Discard(restored);
    EXPECT_FALSE(fs::exists(CRecoveryJournal::ReportsPathOf(kept)));
}

} // namespace
} // namespace tabry
