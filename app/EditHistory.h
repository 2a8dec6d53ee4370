#pragma once
// The edit menu's history: every step the tournament's editor makes goes
// onto a QUndoStack, whose undo and redo hand the step back to the editor.
// The stack's clean state is the saved file, so the document's modified mark
// follows the history as in every editor: undo back to the saved state and
// the tournament is unmodified again.
//
// The history's memory is bounded: when the steps kept pass the budget, the
// oldest are dropped (they can no longer be undone).

#include <QObject>
#include <QString>

#include <cstddef>
#include <memory>

class QAction;
class QUndoStack;

namespace tabry {
class CTournamentEditor;
class CEditStep;
struct ChangeEvent;
} // namespace tabry

namespace tabry::app {

class CEditHistory : public QObject {
    Q_OBJECT

public:
    static constexpr std::size_t kDefaultBudget = 64u << 20;

    explicit CEditHistory(CTournamentEditor& editor, QObject* parent = nullptr);
    ~CEditHistory() override;

    QUndoStack& Stack() const { return *m_stack; }
    bool CanUndo() const;
    bool CanRedo() const;
    // Asks the editor to take back (make again) the step next to the stack's
    // index; the stack moves only when the editor did. False when there is
    // no such step or the editor refused it.
    bool Undo();
    bool Redo();
    // The step names the menu shows ("3回戦 山田 - 佐藤"), empty when none.
    QString UndoText() const;
    QString RedoText() const;

    // The tournament as it stands is its file (opened, new or saved).
    void SetClean();
    // The tournament as it stands is in no file (restored after a crash):
    // modified until saved, whatever is undone.
    void MarkUnsaved();
    bool IsClean() const;

    // Bytes the kept steps hold, and the most they may hold.
    std::size_t Cost() const { return m_cost; }
    void SetBudget(std::size_t bytes);
    int Count() const;

signals:
    // Undo/redo possible or the step names changed.
    void changed();
    // The clean state was reached or left.
    void cleanChanged(bool clean);

private:
    class CStepCommand;

    void OnEditorChange(const ChangeEvent& event);
    CStepCommand* CommandAt(int index) const;
    void Push(std::shared_ptr<const CEditStep> step);
    void Trim();

    CTournamentEditor& m_editor;
    QUndoStack* m_stack;
    int m_listener = 0;
    std::size_t m_cost = 0;
    std::size_t m_budget = kDefaultBudget;
};

} // namespace tabry::app
