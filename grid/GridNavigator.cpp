#include "grid/GridNavigator.h"

#include <algorithm>

namespace tabry::grid {

namespace {
constexpr int kRowStep = CGridLayout::kRowHeight;
} // namespace

void CGridNavigator::Initialise(int width, int height)
{
    m_layout.SetClientSize(width, height);
    m_initialised = true;
    if (width <= 0)
        return;
    m_layout.SetLeftCol(0);
    m_layout.SetTopRow(0);
    m_curCol = 0;
    m_curRow = 0;
    UpdateScrollBars();
    InvalidateAll();
}

void CGridNavigator::Resize(int width, int height)
{
    if (!m_initialised)
        return;
    m_layout.SetClientSize(width, height);
    UpdateScrollBars();
}

void CGridNavigator::UpdateScrollBars()
{
    const int players = m_layout.Players();
    const int rounds = m_layout.Rounds();
    // A table that fits snaps back, so no row or column stays hidden behind
    // a scroll position the bar can no longer reach.
    if (players <= m_layout.VisibleRows() && m_layout.TopRow() > 0) {
        m_layout.SetTopRow(0);
        InvalidateAll();
    }
    if (rounds <= m_layout.VisibleCols() && m_layout.LeftCol() > 0) {
        m_layout.SetLeftCol(0);
        InvalidateAll();
    }
    m_surface.SetVerticalBar(m_layout.VerticalMaximum(), m_layout.VisibleRows(), m_layout.TopRow());
    m_surface.SetHorizontalBar(m_layout.HorizontalMaximum(), m_layout.VisibleCols(), m_layout.LeftCol());
}

GridRect CGridNavigator::BelowHeader() const
{
    return {0, CGridLayout::kHeaderHeight, m_layout.Width(), m_layout.Height()};
}

GridRect CGridNavigator::RightOfRowNumbers() const
{
    return {CGridLayout::kRowNumberWidth, 0, m_layout.Width(), m_layout.Height()};
}

void CGridNavigator::SetTopRow(int row)
{
    m_layout.SetTopRow(row);
    m_surface.SetVerticalPosition(row);
}

void CGridNavigator::SetLeftCol(int col)
{
    m_layout.SetLeftCol(col);
    m_surface.SetHorizontalPosition(col);
}

// Every scroll moves the pixels that stay in view and repaints only what
// comes into it; a jump farther than the window repaints all of it (the
// surface's ScrollPixels decides).
void CGridNavigator::MoveRows(int topRow)
{
    const int top = m_layout.TopRow();
    if (topRow != top)
        m_surface.ScrollPixels(BelowHeader(), 0, kRowStep * (top - topRow));
    SetTopRow(topRow);
}

void CGridNavigator::MoveColumns(int leftCol, bool setBar)
{
    const int before = m_layout.HorizontalOffset();
    m_layout.SetLeftCol(leftCol);
    const int dx = before - m_layout.HorizontalOffset();
    if (dx != 0)
        m_surface.ScrollPixels(RightOfRowNumbers(), dx, 0);
    if (setBar)
        m_surface.SetHorizontalPosition(leftCol);
}

void CGridNavigator::ScrollVertical(ScrollRequest request, int thumbPosition)
{
    const int top = m_layout.TopRow();
    const int last = m_layout.Players() - 1;
    int next = top;
    switch (request) {
    case ScrollRequest::LineForward:
        if (top < last)
            next = top + 1;
        break;
    case ScrollRequest::LineBack:
        if (top > 0)
            next = top - 1;
        break;
    case ScrollRequest::PageForward:
        if (top < last)
            next = top + std::min(m_layout.VisibleRows(), last - top);
        break;
    case ScrollRequest::PageBack:
        if (top > 0)
            next = top - std::min(m_layout.VisibleRows(), top);
        break;
    case ScrollRequest::ThumbTrack:
        next = std::clamp(thumbPosition, 0, std::max(last, 0));
        break;
    case ScrollRequest::EndScroll:
        break;
    }
    MoveRows(next);
}

void CGridNavigator::ScrollHorizontal(ScrollRequest request, int thumbPosition)
{
    const int left = m_layout.LeftCol();
    const int last = m_layout.Rounds() + 1;
    switch (request) {
    case ScrollRequest::LineForward:
        // The first step hides the whole player column, later ones one round.
        MoveColumns(left < last ? left + 1 : left, true);
        break;
    case ScrollRequest::LineBack:
        MoveColumns(left > 0 ? left - 1 : left, true);
        break;
    case ScrollRequest::PageForward:
        MoveColumns(left < last ? left + std::min(m_layout.VisibleCols(), last - left) : left, true);
        break;
    case ScrollRequest::PageBack:
        MoveColumns(left > 0 ? left - std::min(m_layout.VisibleCols(), left) : left, true);
        break;
    case ScrollRequest::ThumbTrack:
        // The bar already shows the thumb where the user holds it.
        MoveColumns(std::clamp(thumbPosition, 0, last), false);
        break;
    case ScrollRequest::EndScroll:
        SetLeftCol(left);
        break;
    }
}

void CGridNavigator::SelectCell(int col, int row)
{
    ClearColumnSelection();
    const GridCell old = Current();
    InvalidateCell(old.col, old.row);
    m_curCol = col;
    m_curRow = row;
    InvalidateCell(col, row);

    const int topBefore = m_layout.TopRow();
    const int leftBefore = m_layout.LeftCol();
    if (row < m_layout.TopRow())
        MoveRows(row);
    // The row under the bottom edge counts as hidden even when only part of
    // it is covered, so the current row always shows whole. A window too low
    // for a single row is left alone: scrolling would only hide the row.
    const int bottomRow = std::max(m_layout.CellAt(0, m_layout.Height()).row, 0);
    if (row >= bottomRow && bottomRow > m_layout.TopRow())
        MoveRows(m_layout.TopRow() + (row - bottomRow + 1));
    if (col < m_layout.LeftCol())
        MoveColumns(col, true);
    const int edgeCol = m_layout.CellAt(m_layout.Width(), 0).col;
    if (col >= edgeCol && edgeCol > m_layout.LeftCol())
        MoveColumns(m_layout.LeftCol() + (col - edgeCol + 1), true);
    if (m_layout.TopRow() != topBefore || m_layout.LeftCol() != leftBefore) {
        // The frame moved with the scrolled pixels: repaint both cells where
        // they are now.
        InvalidateCell(old.col, old.row);
        InvalidateCell(col, row);
    }
}

void CGridNavigator::SelectColumn(int col)
{
    if (m_selCol != kNoColumn)
        InvalidateColumn(m_selCol);
    m_selCol = col;
    InvalidateColumn(col);
}

void CGridNavigator::ClearColumnSelection()
{
    if (m_selCol == kNoColumn)
        return;
    const int old = m_selCol;
    m_selCol = kNoColumn;
    InvalidateColumn(old);
}

void CGridNavigator::Press(int x, int y)
{
    ClearColumnSelection();
    const GridCell cell = m_layout.CellAt(x, y);
    const int rounds = m_layout.Rounds();
    if (cell.col >= 0 && cell.col <= rounds && cell.row >= 0 && cell.row < m_layout.Players())
        SelectCell(cell.col, cell.row);
    else if (cell.row == -1 && cell.col >= 0 && cell.col <= rounds + 1)
        SelectColumn(cell.col);
}

bool CGridNavigator::DoubleClickOpensEditor(int x, int y) const
{
    // The first click of the pair has normally just made the cell current;
    // only the column is compared, so a header double click opens it too.
    return m_layout.CellAt(x, y).col == m_curCol;
}

KeyAction CGridNavigator::ActionOfKey(GridKey key) const
{
    const int players = m_layout.Players();
    const int rounds = m_layout.Rounds();
    auto move = [](int col, int row) { return KeyAction{KeyAction::Move, {col, row}}; };
    switch (key) {
    case GridKey::Down:
    case GridKey::Enter:
        return m_curRow + 1 < players ? move(m_curCol, m_curRow + 1) : KeyAction{};
    case GridKey::Up:
        return m_curRow > 0 ? move(m_curCol, m_curRow - 1) : KeyAction{};
    case GridKey::Left:
        return m_curCol > 0 ? move(m_curCol - 1, m_curRow) : KeyAction{};
    case GridKey::Right:
        return m_curCol < rounds ? move(m_curCol + 1, m_curRow) : KeyAction{};
    case GridKey::PageUp:
        return move(m_curCol, 0);
    case GridKey::PageDown:
        return move(m_curCol, players - 1);
    case GridKey::Home:
        return move(0, m_curRow);
    case GridKey::End:
        return move(rounds, m_curRow);
    case GridKey::Tab:
        if (m_curCol < rounds)
            return move(m_curCol + 1, m_curRow);
        return m_curRow + 1 < players ? move(1, m_curRow + 1) : KeyAction{};
    case GridKey::F2:
    case GridKey::Insert:
        return {KeyAction::OpenEditor, Current()};
    case GridKey::Delete:
        return {KeyAction::DeleteCell, Current()};
    }
    return {};
}

bool CGridNavigator::OpensEditor(char32_t ch)
{
    return (ch >= U'A' && ch <= U'Z') || (ch >= U'a' && ch <= U'z') || (ch >= U'0' && ch <= U'9') || ch == U'+'
           || ch == U'-';
}

std::optional<GridCell> CGridNavigator::NextAfterPlayerCommit() const
{
    if (m_curRow + 1 < m_layout.Players())
        return GridCell{m_curCol, m_curRow + 1};
    return std::nullopt;
}

std::optional<GridCell> CGridNavigator::NextAfterResultCommit() const
{
    if (m_enterMovesDown)
        return NextAfterPlayerCommit();
    if (m_curCol < m_layout.Rounds())
        return GridCell{m_curCol + 1, m_curRow};
    if (m_curRow + 1 < m_layout.Players())
        return GridCell{1, m_curRow + 1};
    return std::nullopt;
}

void CGridNavigator::InvalidateCell(int col, int row)
{
    const GridRect rect = m_layout.CellRect(col, row);
    if (!rect.IsEmpty())
        m_surface.Invalidate(rect);
}

void CGridNavigator::InvalidateColumn(int col)
{
    const GridRect rect = m_layout.ColumnRect(col);
    if (!rect.IsEmpty())
        m_surface.Invalidate(rect);
}

void CGridNavigator::InvalidateTotals()
{
    const GridRect column = m_layout.ColumnRect(m_layout.Rounds() + 1);
    if (column.left <= m_layout.Width())
        m_surface.Invalidate({column.left, CGridLayout::kHeaderHeight, column.right, m_layout.Height()});
}

void CGridNavigator::InvalidateAll()
{
    m_surface.Invalidate({0, 0, m_layout.Width(), m_layout.Height()});
}

} // namespace tabry::grid
