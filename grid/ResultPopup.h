#pragma once
// The result editor: score field, result selector, spin arrows, opponent
// name field and candidate list, opened by the grid over a round cell and
// painted on white. The organiser types the opponent's first letters (or
// "pass" for the bye) and the score; the selector follows the score's sign.
// The rules are CResultPopupLogic's and ScoreText's; this widget shows them
// and reports to the grid by posting its done message. The grid then writes
// the game into both rows.

#include "grid/GridPopups.h"
#include "grid/ResultPopupLogic.h"

#include <QFrame>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace tabry::ui {
class CArrowButtons;
}

namespace tabry::grid {

class CResultGrid;

class CResultPopup : public QFrame, public IResultPopup {
    Q_OBJECT

public:
    // The editor of `row`'s cell of `round` (from 0); created hidden.
    CResultPopup(CResultGrid& grid, int row, int round);
    ~CResultPopup() override;

    // The values of the commit (valid once it was posted).
    int Opponent() const override { return m_values.opponent; }
    int Result() const override { return m_values.result; }
    int Score() const override { return m_values.score; }

    // Fills the fields from the cell and the typed character: a letter goes
    // into the name field, a digit or sign replaces the score. Opened
    // without one, the cell's score is selected, so the first digit typed
    // replaces it as it would on the cell.
    void Fill(const std::optional<QString>& typed, bool selectAll);
    // Shows the editor at `screenPos` with the field `Fill` chose focused.
    void ShowAt(const QPoint& screenPos);

    QLineEdit* ScoreEdit() const { return m_score; }
    QComboBox* MarkBox() const { return m_mark; }
    QLineEdit* NameEdit() const { return m_name; }
    QListWidget* CandidateList() const { return m_list; }
    ui::CArrowButtons* Spin() const { return m_spin; }
    // The short note that says why a name or score was refused (hidden
    // otherwise).
    QLabel* Note() const { return m_note; }
    const CResultPopupLogic& Logic() const { return m_logic; }

    // The selector's captions: blank, ○, △, ×.
    static QStringList MarkTexts();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnScoreChanged(const QString& text);
    void OnNameChanged(const QString& text);
    void StepScore(int delta);
    void ShowList();
    void PutName(const std::string& sjis, std::optional<int> prefer);
    void Ok(QObject* focused);
    void CommitLine(int line);
    // True when the game can be committed against `opponent`; otherwise the
    // editor says why and hands the name or score field back for retyping.
    bool AcceptScore(int opponent);
    // Shows the refusal note and selects the field to retype.
    void ShowNote(const std::string& sjis, QLineEdit* field);
    void HideNote();
    void Post(bool cancel);

    CResultGrid& m_grid;
    CResultPopupLogic m_logic;
    QLineEdit* m_score;
    QComboBox* m_mark;
    QLineEdit* m_name;
    QListWidget* m_list;
    ui::CArrowButtons* m_spin;
    QLabel* m_note;
    QWidget* m_firstFocus = nullptr;
    CResultPopupLogic::Values m_values;
    bool m_done = false;
};

} // namespace tabry::grid
