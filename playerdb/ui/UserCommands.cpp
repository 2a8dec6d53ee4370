#include "playerdb/ui/UserCommands.h"

#include "edit/TournamentEditor.h"
#include "playerdb/PlayerText.h"
#include "playerdb/ui/UserDbDialog.h"
#include "playerdb/ui/UserEditDialog.h"
#include "playerdb/ui/UserEditValues.h"

namespace tabry {

bool RunAddUserCommand(QWidget* parent, CTournamentEditor& editor)
{
    UserEditValues values;
    values.gradeIndex = GradeToComboIndex(1);
    CUserEditDialog dialog(editor.Players(), values, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    editor.AddPlayer(RecordFromValues(dialog.Values()));
    return true;
}

bool RunEditUserDbCommand(QWidget* parent, CTournamentEditor& editor, const std::filesystem::path& dbPath,
                          UserDbCommandOutcome* outcome)
{
    CUserDbDialog dialog(editor, dbPath, parent);
    UserDbCommandOutcome result;
    result.accepted = dialog.exec() == QDialog::Accepted;
    if (result.accepted) {
        result.referencesChanged = dialog.RebuildResult().referencesChanged;
        result.playersChanged = dialog.RebuildResult().playersChanged;
        result.saved = dialog.Saved();
    }
    if (outcome != nullptr)
        *outcome = result;
    return result.accepted;
}

int RunRegisterTypedNameDialog(QWidget* parent, CTournamentEditor& editor, std::string_view typed)
{
    CUserEditDialog dialog(editor.Players(), ValuesForTypedName(typed), parent);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return editor.AddPlayer(RecordFromValues(dialog.Values()));
}

bool RunEditUserRecordDialog(QWidget* parent, CTournamentEditor& editor, int recordIndex)
{
    if (recordIndex < 1 || recordIndex >= editor.Players().GetCount())
        return false;
    CUserEditDialog dialog(editor.Players(), ValuesFromRecord(editor.Players().GetAt(recordIndex), recordIndex),
                           parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    CPlayerRecord record = editor.Players().GetAt(recordIndex);
    StoreValuesInRecord(dialog.Values(), record);
    editor.EditPlayerRecord(recordIndex, record);
    return true;
}

} // namespace tabry
