#include "app/EditHistory.h"

#include "edit/TournamentEditor.h"
#include "widgets/TextCodec.h"

#include <QSignalBlocker>
#include <QUndoCommand>
#include <QUndoStack>

#include <vector>

namespace tabry::app {

// A step on the stack. QUndoStack::push calls redo() at once, but the
// editor has made the step already: the first redo does nothing.
class CEditHistory::CStepCommand : public QUndoCommand {
public:
    CStepCommand(CTournamentEditor& editor, std::shared_ptr<const CEditStep> step)
        : QUndoCommand(ui::ToQString(step->Name())), m_editor(editor), m_step(std::move(step))
    {
    }

    void redo() override
    {
        if (m_made) {
            m_made = false;
            return;
        }
        m_editor.Redo(*m_step);
    }
    void undo() override
    {
        if (m_made) {
            m_made = false;
            return;
        }
        m_editor.Undo(*m_step);
    }

    // The editor has already taken the step back or made it again: the
    // stack's next call only moves its index.
    void Done() { m_made = true; }

    const std::shared_ptr<const CEditStep>& Step() const { return m_step; }

private:
    CTournamentEditor& m_editor;
    std::shared_ptr<const CEditStep> m_step;
    bool m_made = true;
};

CEditHistory::CEditHistory(CTournamentEditor& editor, QObject* parent)
    : QObject(parent), m_editor(editor), m_stack(new QUndoStack(this))
{
    m_listener =
        m_editor.AddListener(ListenerRank::History, [this](const ChangeEvent& event) { OnEditorChange(event); });
    for (auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(m_stack, signal, this, [this] { emit changed(); });
    for (auto signal : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
        connect(m_stack, signal, this, [this] { emit changed(); });
    connect(m_stack, &QUndoStack::cleanChanged, this, &CEditHistory::cleanChanged);
}

CEditHistory::~CEditHistory()
{
    m_editor.RemoveListener(m_listener);
}

void CEditHistory::OnEditorChange(const ChangeEvent& event)
{
    switch (event.kind) {
    case ChangeKind::Edit:
        if (event.step)
            Push(event.step);
        break;
    case ChangeKind::Reset:
        // Another tournament: no earlier step applies to it. Clearing also
        // makes the stack clean (the tournament is its file).
        m_stack->clear();
        m_cost = 0;
        emit changed();
        break;
    case ChangeKind::Undo:
    case ChangeKind::Redo:
        break;
    }
}

void CEditHistory::Push(std::shared_ptr<const CEditStep> step)
{
    m_cost += step->Cost();
    // Pushing drops the redo side: its steps no longer count.
    for (int i = m_stack->index(); i < m_stack->count(); ++i)
        m_cost -= static_cast<const CStepCommand*>(m_stack->command(i))->Step()->Cost();
    m_stack->push(new CStepCommand(m_editor, std::move(step)));
    if (m_cost > m_budget)
        Trim();
}

void CEditHistory::Trim()
{
    // QUndoStack only drops old steps by count, and only while empty: so
    // the steps to keep are taken out, the stack cleared and the kept ones
    // pushed back. This happens right after a push, when nothing is on the
    // redo side, so every kept step is one that is made.
    std::vector<std::shared_ptr<const CEditStep>> steps;
    steps.reserve(static_cast<size_t>(m_stack->count()));
    for (int i = 0; i < m_stack->count(); ++i)
        steps.push_back(static_cast<const CStepCommand*>(m_stack->command(i))->Step());
    size_t first = 0;
    size_t cost = m_cost;
    // The newest step always stays, whatever it costs.
    while (cost > m_budget && first + 1 < steps.size()) {
        cost -= steps[first]->Cost();
        ++first;
    }
    const int clean = m_stack->cleanIndex();
    const bool wasClean = IsClean();
    {
        const QSignalBlocker blocker(m_stack);
        m_stack->clear();
        if (clean == static_cast<int>(first))
            m_stack->setClean();
        for (size_t i = first; i < steps.size(); ++i) {
            m_stack->push(new CStepCommand(m_editor, steps[i]));
            if (clean == static_cast<int>(i + 1))
                m_stack->setClean();
        }
        // The saved state was among the dropped steps: it cannot be reached
        // by undoing any more.
        if (clean >= 0 && clean < static_cast<int>(first))
            m_stack->resetClean();
        if (clean < 0)
            m_stack->resetClean();
    }
    m_cost = cost;
    if (wasClean != IsClean())
        emit cleanChanged(IsClean());
    emit changed();
}

bool CEditHistory::CanUndo() const
{
    return m_stack->canUndo();
}

bool CEditHistory::CanRedo() const
{
    return m_stack->canRedo();
}

CEditHistory::CStepCommand* CEditHistory::CommandAt(int index) const
{
    // Every command on the stack is one of ours.
    return static_cast<CStepCommand*>(const_cast<QUndoCommand*>(m_stack->command(index)));
}

bool CEditHistory::Undo()
{
    // The editor decides first; the stack moves only when it took the step
    // back, so that the menu never names a step the tournament is not at.
    if (!m_stack->canUndo())
        return false;
    CStepCommand* command = CommandAt(m_stack->index() - 1);
    if (!m_editor.Undo(*command->Step())) {
        emit changed();
        return false;
    }
    command->Done();
    m_stack->undo();
    return true;
}

bool CEditHistory::Redo()
{
    if (!m_stack->canRedo())
        return false;
    CStepCommand* command = CommandAt(m_stack->index());
    if (!m_editor.Redo(*command->Step())) {
        emit changed();
        return false;
    }
    command->Done();
    m_stack->redo();
    return true;
}

QString CEditHistory::UndoText() const
{
    return m_stack->undoText();
}

QString CEditHistory::RedoText() const
{
    return m_stack->redoText();
}

void CEditHistory::SetClean()
{
    m_stack->setClean();
}

void CEditHistory::MarkUnsaved()
{
    // No index is clean any more, so no undo makes it unmodified.
    m_stack->resetClean();
}

bool CEditHistory::IsClean() const
{
    return m_stack->isClean();
}

void CEditHistory::SetBudget(std::size_t bytes)
{
    m_budget = bytes;
    if (m_cost > m_budget && m_stack->index() == m_stack->count())
        Trim();
}

int CEditHistory::Count() const
{
    return m_stack->count();
}

} // namespace tabry::app
