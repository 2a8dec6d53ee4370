// Keyboard and mouse of the results grid: events are translated into the
// navigator's requests; what each key and click does is decided there.

#include "grid/ResultGrid.h"

#include "text/Cp932.h"
#include "widgets/TextCodec.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace tabry::grid {

namespace {

std::optional<GridKey> GridKeyOf(int key)
{
    switch (key) {
    case Qt::Key_Down:
        return GridKey::Down;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return GridKey::Enter;
    case Qt::Key_Up:
        return GridKey::Up;
    case Qt::Key_Left:
        return GridKey::Left;
    case Qt::Key_Right:
        return GridKey::Right;
    case Qt::Key_PageUp:
        return GridKey::PageUp;
    case Qt::Key_PageDown:
        return GridKey::PageDown;
    case Qt::Key_Home:
        return GridKey::Home;
    case Qt::Key_End:
        return GridKey::End;
    case Qt::Key_Tab:
        return GridKey::Tab;
    case Qt::Key_F2:
        return GridKey::F2;
    case Qt::Key_Insert:
        return GridKey::Insert;
    case Qt::Key_Delete:
        return GridKey::Delete;
    default:
        return std::nullopt;
    }
}

} // namespace

void CResultGrid::keyPressEvent(QKeyEvent* event)
{
    if (HasPopup()) {
        // The editor's window takes the keyboard a moment after it opens;
        // what a fast typist types in between belongs to the editor, not to
        // the grid's cursor.
        if (QWidget* editor = EditorWidget()) {
            if (QWidget* target = editor->focusWidget()) {
                QKeyEvent forwarded(event->type(), event->key(), event->modifiers(), event->text(),
                                    event->isAutoRepeat(), event->count());
                QApplication::sendEvent(target, &forwarded);
            }
        }
        event->accept();
        return;
    }
    if (const std::optional<GridKey> key = GridKeyOf(event->key())) {
        ExecuteKey(*key);
        event->accept();
        return;
    }
    // A letter, digit, '+' or '-' typed into a cell opens its editor with
    // that character, also in its full-width form (what a Japanese input
    // method gives); anything else is not ours.
    const QString text = ui::ToQString(cp932::FoldFullWidth(ui::ToSjis(event->text())));
    if (text.size() == 1 && CGridNavigator::OpensEditor(text.at(0).unicode())
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        OpenEditorWithText(text);
        event->accept();
        return;
    }
    event->ignore();
}

void CResultGrid::ExecuteKey(GridKey key)
{
    const KeyAction action = m_nav.ActionOfKey(key);
    switch (action.kind) {
    case KeyAction::None:
        break;
    case KeyAction::Move:
        SelectCell(action.target.col, action.target.row);
        break;
    case KeyAction::OpenEditor:
        OpenCurrentCellEditor();
        break;
    case KeyAction::DeleteCell:
        DeleteCell();
        break;
    }
}

void CResultGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    const GridCell before = m_nav.Current();
    const int selBefore = m_nav.SelCol();
    m_nav.Press(pos.x(), pos.y());
    if (m_nav.Current() != before || m_nav.SelCol() != selBefore)
        emit selectionChanged();
    event->accept();
}

void CResultGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        ShowContextMenu(event->position().toPoint());
        event->accept();
        return;
    }
    event->ignore();
}

void CResultGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept(); // a right double click does nothing
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (m_nav.DoubleClickOpensEditor(pos.x(), pos.y()))
        OpenCurrentCellEditor();
    event->accept();
}

} // namespace tabry::grid
