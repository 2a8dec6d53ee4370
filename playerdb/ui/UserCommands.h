#pragma once
// The player-database commands as plain functions: the main menu's
// "ユーザDBへの追加(&A)" and "ユーザDBの編集(&U)", and the two uses of the
// add/edit user dialog that the results grid needs (registering a name typed
// in a player cell, editing the record of a table row). Every change goes
// through the tournament's editor.

#include <filesystem>
#include <string_view>

class QWidget;

namespace tabry {

class CTournamentEditor;

// "ユーザDBへの追加(&A)": the add/edit dialog for a new person with "初段"
// preselected; on OK the person is added to the database (not a change of
// the tournament, and never undone). True on OK.
bool RunAddUserCommand(QWidget* parent, CTournamentEditor& editor);

// What "ユーザDBの編集(&U)" did.
struct UserDbCommandOutcome {
    bool accepted = false;
    // Some table row's player reference was renumbered.
    bool referencesChanged = false;
    // Some table row's player now has different data (what the tournament
    // file carries for him changed).
    bool playersChanged = false;
    // "player.db" was written (false after a failure, which the user was
    // shown; the rebuilt database then stays in memory, flagged modified).
    bool saved = false;

    bool DocumentChanged() const { return referencesChanged || playersChanged; }
};

// "ユーザDBの編集(&U)": the user DB dialog. On OK the database is rebuilt
// from the list through the editor (one undoable step), the table's player
// references renumbered and the database written to `dbPath` (a failure is
// reported). Returns true on OK.
bool RunEditUserDbCommand(QWidget* parent, CTournamentEditor& editor, const std::filesystem::path& dbPath,
                          UserDbCommandOutcome* outcome = nullptr);

// Registration of a name typed in a player cell that is in no record: the
// add/edit dialog for a new person, long and input name the typed text
// (Shift_JIS), "初段" preselected. On OK the person is added; returns the new
// record index, or -1 on Cancel.
int RunRegisterTypedNameDialog(QWidget* parent, CTournamentEditor& editor, std::string_view typed);

// The grid's "edit user record" of a table row: the add/edit dialog in edit
// mode, pre-filled from record `recordIndex`. On OK a changed record is
// rewritten through the editor (one undoable step); returns true on OK. The
// bye record and indices out of range are not edited (false).
bool RunEditUserRecordDialog(QWidget* parent, CTournamentEditor& editor, int recordIndex);

} // namespace tabry
