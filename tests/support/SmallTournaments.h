#pragma once
// Small tournaments for the tests of the editor, the grid and the program.

#include "core/TournamentData.h"
#include "edit/TournamentEditor.h"

#include <string>

namespace tabry::test {

// A table of `players` x `rounds`; rows 0 .. filled-1 hold players whose
// long names are "p<row>" with short names "s<row>" (database index row + 1).
TournamentData MakeTournament(int players, int rounds, int filled);

// Writes a game and its mirror (no totals recomputed).
void PutGame(TournamentData& data, int row, int round, int opponent, int result, int disc);

// A person as the user dialogs hand him to the editor (names as typed).
CPlayerRecord Person(const std::string& longName, const std::string& inputName = {}, const std::string& shortName = {});

// Switches the table to disc counts (the display mode), as the settings do.
void ShowDiscCounts(CTournamentEditor& editor);

// Counts the steps an editor makes from here on: what marks a tournament
// modified.
class EditCounter {
public:
    explicit EditCounter(CTournamentEditor& editor);
    ~EditCounter();
    EditCounter(const EditCounter&) = delete;
    EditCounter& operator=(const EditCounter&) = delete;
    int Count() const { return m_count; }
    // Counts from zero again (after a test's own set-up steps).
    void Reset() { m_count = 0; }

private:
    CTournamentEditor& m_editor;
    int m_listener;
    int m_count = 0;
};

} // namespace tabry::test
