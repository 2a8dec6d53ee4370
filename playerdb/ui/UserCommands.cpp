#include "playerdb/ui/UserCommands.h"

#include "core/TournamentData.h"
#include "playerdb/PlayerText.h"
#include "playerdb/ui/UserDbDialog.h"
#include "playerdb/ui/UserEditDialog.h"
#include "playerdb/ui/UserEditValues.h"

namespace tabry {

bool RunAddUserCommand(QWidget* parent, TournamentData& data)
{
    UserEditValues values;
    values.gradeIndex = GradeToComboIndex(1);
    CUserEditDialog dialog(data.players, values, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    AddRecordFromValues(data.players, dialog.Values());
    data.playersModified = true;
    return true;
}

bool RunEditUserDbCommand(QWidget* parent, TournamentData& data, const std::filesystem::path& dbPath,
                          UserDbCommandOutcome* outcome)
{
    CUserDbDialog dialog(data, dbPath, parent);
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

int RunRegisterTypedNameDialog(QWidget* parent, TournamentData& data, std::string_view typed)
{
    CUserEditDialog dialog(data.players, ValuesForTypedName(typed), parent);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    const int index = AddRecordFromValues(data.players, dialog.Values());
    data.playersModified = true;
    return index;
}

bool RunEditUserRecordDialog(QWidget* parent, TournamentData& data, int recordIndex)
{
    if (recordIndex < 1 || recordIndex >= data.players.GetCount())
        return false;
    CUserEditDialog dialog(data.players, ValuesFromRecord(data.players.GetAt(recordIndex), recordIndex), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    StoreValuesInRecord(dialog.Values(), data.players.GetAt(recordIndex));
    data.playersModified = true;
    return true;
}

} // namespace tabry
