// The program under the kill: makes random changes through an editor with
// the crash journal on, and after each completed change prints its number.
// The test kills it at random moments and then checks the journal.
//   journal_crash_child FOLDER SEED CHANGES

#include "edit/RecoveryJournal.h"
#include "edit/TournamentEditor.h"
#include "tests/support/RandomEdits.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const auto seed = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
    const int changes = std::atoi(argv[3]);
    tabry::CTournamentEditor editor(tabry::test::CRandomEdits::Start(12, 5, 16));
    tabry::CRecoveryJournal journal(argv[1]);
    // A kill is what is tested, and a kill loses nothing the system has:
    // waiting for the disk would only make the hundreds of runs slow.
    journal.SetFlushToDisk(false);
    journal.SetDocument("/venue/大会 2026/第1回,決勝%.stg");
    tabry::CJournalKeeper keeper(editor, journal);
    tabry::test::CRandomEdits edits(seed, 16, 7);
    for (int i = 1; i <= changes; ++i) {
        edits.Apply(editor);
        if (keeper.LastError())
            return 3;
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
    // Not a clean exit: the journal stays, as after a crash.
    return 0;
}
