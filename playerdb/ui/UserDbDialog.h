#pragma once
// The user DB dialog: every person of the player database in a list that the
// organiser reorders, sorts, edits, prunes and extends. Nothing changes the
// database while the dialog is open; OK rebuilds it from the list through
// the tournament's editor (one undoable step, renumbering the table's player
// references) and writes "player.db" at once.

#include "playerdb/ui/UserDbRows.h"

#include <QDialog>

#include <filesystem>

class QPushButton;
class QTreeView;

namespace tabry {

class CUserDbModel;
class CTournamentEditor;
struct TournamentData;

class CUserDbDialog : public QDialog {
    Q_OBJECT

public:
    // `editor` must outlive the dialog; the tournament changes only by OK.
    CUserDbDialog(CTournamentEditor& editor, std::filesystem::path dbPath, QWidget* parent = nullptr);

    // What OK did to the table (meaningful after OK).
    const UserDbRebuildResult& RebuildResult() const { return m_result; }
    // False when OK could not write "player.db" (the user was told).
    bool Saved() const { return m_saved; }

    // The widgets, for tests.
    QTreeView* List() const { return m_list; }
    CUserDbModel* Model() const { return m_model; }
    QPushButton* UpButton() const { return m_up; }
    QPushButton* DownButton() const { return m_down; }
    QPushButton* EditButton() const { return m_edit; }
    QPushButton* DeleteButton() const { return m_delete; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // The selected row, or -1.
    int SelectedRow() const;

public slots:
    void accept() override;

private:
    void BuildControls();
    void UpdateButtons();
    void SelectRow(int row);
    void OnUp();
    void OnDown();
    void OnEdit();
    void OnDelete();
    void OnAdd();
    void OnColumnClicked(int column);

    CTournamentEditor& m_editor;
    const TournamentData& m_data;
    std::filesystem::path m_dbPath;
    UserDbRebuildResult m_result;
    bool m_saved = true;

    CUserDbModel* m_model = nullptr;
    QTreeView* m_list = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace tabry
