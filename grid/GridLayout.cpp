#include "grid/GridLayout.h"

#include <algorithm>

namespace tabry::grid {

void CGridLayout::SetTable(int players, int rounds)
{
    m_players = std::max(players, 0);
    m_rounds = std::max(rounds, 0);
}

void CGridLayout::SetClientSize(int width, int height)
{
    m_width = width;
    m_height = height;
}

int CGridLayout::VisibleRows() const
{
    return std::max((m_height - kHeaderHeight) / kRowHeight, 0);
}

int CGridLayout::VisibleCols() const
{
    return std::max(m_width / kRoundWidth - 2, 1);
}

void CGridLayout::ColumnExtent(int col, int& left, int& right) const
{
    const int h = HorizontalOffset();
    const int r = m_rounds;
    if (col == -1) {
        left = 0;
        right = kRowNumberWidth;
    } else if (col == 0) {
        left = kRowNumberWidth - h;
        right = kRowNumberWidth + kPlayerWidth - h;
    } else if (col >= 1 && col <= r) {
        // 94 = 30 + 112 - 48: round c starts where the player column ends
        // plus c - 1 round widths.
        left = kRowNumberWidth + kPlayerWidth - kRoundWidth + kRoundWidth * col - h;
        right = left + kRoundWidth;
    } else if (col == r + 1) {
        left = kRowNumberWidth + kPlayerWidth + kRoundWidth * r - h;
        right = left + kTotalsWidth;
    } else if (col > r + 1) {
        left = kRowNumberWidth + kPlayerWidth + kRoundWidth * r + kTotalsWidth - h;
        right = m_width > left ? m_width : left;
    } else {
        left = right = 0;
    }
}

void CGridLayout::RowExtent(int row, int& top, int& bottom) const
{
    const int v = VerticalOffset();
    if (row == -1) {
        top = 0;
        bottom = kHeaderHeight;
    } else if (row >= 0 && row < m_players) {
        top = kHeaderHeight + kRowHeight * row - v;
        bottom = top + kRowHeight;
    } else if (row >= m_players) {
        top = kHeaderHeight + kRowHeight * m_players - v;
        bottom = m_height > top ? m_height : top;
    } else {
        top = bottom = 0;
    }
}

GridRect CGridLayout::CellRect(int col, int row) const
{
    GridRect rect;
    ColumnExtent(col, rect.left, rect.right);
    RowExtent(row, rect.top, rect.bottom);
    return rect;
}

GridRect CGridLayout::ColumnRect(int col) const
{
    GridRect rect;
    ColumnExtent(col, rect.left, rect.right);
    rect.top = 0;
    rect.bottom = m_height;
    return rect;
}

GridCell CGridLayout::CellAt(int x, int y) const
{
    GridCell cell;
    if (x < kRowNumberWidth) {
        cell.col = -1;
    } else {
        const int u = x + HorizontalOffset() - kRowNumberWidth;
        if (u < kPlayerWidth) {
            cell.col = 0;
        } else {
            const int u2 = u - kPlayerWidth;
            if (u2 < kRoundWidth * m_rounds)
                cell.col = u2 / kRoundWidth + 1;
            else if (u2 < kRoundWidth * m_rounds + kTotalsWidth)
                cell.col = m_rounds + 1;
            else
                cell.col = m_rounds + 2;
        }
    }
    cell.row = y < kHeaderHeight ? -1 : (y + VerticalOffset() - kHeaderHeight) / kRowHeight;
    return cell;
}

} // namespace tabry::grid
