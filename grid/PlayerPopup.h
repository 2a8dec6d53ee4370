#pragma once
// The player editor: a name field over a match list, opened by the grid
// over a row's player cell. Typing finds players by the first letters of
// their input name, long name or member number; Enter takes the highlighted
// one, refuses a player who already plays in another row, and offers to
// register a name that matches nobody. The rules are CPlayerPopupLogic's;
// this widget shows them and reports to the grid by posting its done
// message.

#include "grid/GridPopups.h"
#include "grid/PlayerPopupLogic.h"

#include <QFrame>

class QLineEdit;
class QListWidget;

namespace tabry::grid {

class CResultGrid;

class CPlayerPopup : public QFrame, public IPlayerPopup {
    Q_OBJECT

public:
    // The editor of the grid's current row; created hidden.
    CPlayerPopup(CResultGrid& grid, int row);
    ~CPlayerPopup() override;

    int ChosenRecord() const override { return m_logic.ChosenRecord(); }
    bool IsRegistering() const override { return m_registering; }
    bool IsBusy() const override { return m_registering || m_messageOpen; }

    // Puts the grid's text into the name field (which runs the search),
    // the caret after its end or all of it selected.
    void SetInitialText(const QString& text, bool selectAll);
    // Shows the editor at `screenPos` with the name field focused.
    void ShowAt(const QPoint& screenPos);

    QLineEdit* NameEdit() const { return m_name; }
    QListWidget* MatchList() const { return m_list; }
    const CPlayerPopupLogic& Logic() const { return m_logic; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnNameChanged(const QString& text);
    void OnListRowChanged(int row);
    void OnListDoubleClicked(int row);
    void ShowList();
    void Ok();
    void Cancel();
    void Carry(const CPlayerPopupLogic::Outcome& outcome);
    void Register(const std::string& typed);
    void PutName(const std::string& sjis);

    CResultGrid& m_grid;
    CPlayerPopupLogic m_logic;
    QLineEdit* m_name;
    QListWidget* m_list;
    bool m_registering = false;
    bool m_messageOpen = false;
    bool m_done = false;
};

} // namespace tabry::grid
