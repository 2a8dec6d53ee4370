// Painting of the results grid. Only the cells that meet the area to repaint
// are drawn. They are drawn into the window's backing
// store, the off-screen picture of the window that reaches the screen in one
// copy; a scroll moves the pixels in it that stay in view, so that only what
// comes into view is drawn.

#include "grid/ResultGrid.h"

#include "core/Terms.h"
#include "core/TournamentData.h"
#include "grid/CellText.h"
#include "grid/GridPalette.h"
#include "widgets/TextCodec.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <optional>
#include <string>

namespace tabry::grid {

namespace {

using Layout = CGridLayout;

QRect ToQRect(const GridRect& r)
{
    return {r.left, r.top, r.Width(), r.Height()};
}

// 1-pixel lines as fills, so every pixel lands exactly where it belongs
// whatever the pen and line-end rules of the paint engine.
void FillHLine(QPainter& p, int x1, int x2, int y, QRgb colour)
{
    if (x2 >= x1)
        p.fillRect(QRect(x1, y, x2 - x1 + 1, 1), QColor(colour));
}

void FillVLine(QPainter& p, int x, int y1, int y2, QRgb colour)
{
    if (y2 >= y1)
        p.fillRect(QRect(x, y1, 1, y2 - y1 + 1), QColor(colour));
}

// The two border lines of every cell: along the bottom and the right edge.
void Border(QPainter& p, const GridRect& r)
{
    FillHLine(p, r.left, r.right - 1, r.bottom - 1, GridPalette::kBorder);
    FillVLine(p, r.right - 1, r.top, r.bottom - 1, GridPalette::kBorder);
}

// The current cell's frame, just inside the border lines.
void CurrentFrame(QPainter& p, const GridRect& r)
{
    const QRgb c = GridPalette::kCurrentFrame;
    FillVLine(p, r.left, r.top, r.bottom - 2, c);
    FillHLine(p, r.left, r.right - 2, r.bottom - 2, c);
    FillVLine(p, r.right - 2, r.top, r.bottom - 2, c);
    FillHLine(p, r.left, r.right - 2, r.top, c);
}

// A text clipped to its rectangle, given relative to the cell's top-left
// corner as (left, top, right, bottom).
void Text(QPainter& p, const GridRect& cell, int l, int t, int r, int b, int align, const std::string& sjis)
{
    if (sjis.empty())
        return;
    const QRect rect(cell.left + l, cell.top + t, r - l, b - t);
    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    p.drawText(rect, align | Qt::TextSingleLine, ui::ToQString(sjis));
    p.restore();
}

// A round cell the row's player does not play in: grey inside its border
// and the current frame (a selected column keeps its colour), its text grey,
// with the mark of a cell without a game (休 or 棄) while it holds none.
void DimWithdrawnCell(QPainter& p, const GridRect& r, bool selected, const std::string& mark)
{
    if (!selected)
        p.fillRect(QRect(r.left + 1, r.top + 1, r.right - r.left - 3, r.bottom - r.top - 3),
                   QColor(GridPalette::kWithdrawnFill));
    p.setPen(QColor(GridPalette::kWithdrawnText));
    if (!mark.empty())
        p.drawText(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), Qt::AlignCenter | Qt::TextSingleLine,
                   ui::ToQString(mark));
}

constexpr int kLeftTop = Qt::AlignLeft | Qt::AlignTop;
constexpr int kRightTop = Qt::AlignRight | Qt::AlignTop;

} // namespace

void CResultGrid::paintEvent(QPaintEvent* event)
{
    const QRegion& region = event->region();
    if (region.isEmpty())
        return;
    QPainter p(viewport());
    p.setFont(GridFont());
    p.setPen(QColor(GridPalette::kText));
    p.setBackgroundMode(Qt::TransparentMode);
    // A scroll by a row leaves the new strip and the two cells of the moved
    // cursor to repaint, far apart: each part is drawn on its own. Many
    // parts are drawn as their bounding box, so that no cell is drawn twice
    // over and over.
    constexpr int kSeparateParts = 4;
    if (region.rectCount() <= kSeparateParts) {
        for (const QRect& part : region)
            PaintBox(p, part & viewport()->rect());
    } else {
        PaintBox(p, region.boundingRect() & viewport()->rect());
    }
}

void CResultGrid::PaintBox(QPainter& p, const QRect& box) const
{
    if (box.isEmpty())
        return;
    const CGridLayout& layout = m_nav.Layout();
    const int players = layout.Players();
    p.fillRect(box, QColor(GridPalette::kEmptyArea));

    // Right and bottom are exclusive, as for every rectangle of the grid.
    const GridCell first = layout.CellAt(box.left(), box.top());
    const GridCell last = layout.CellAt(box.left() + box.width(), box.top() + box.height());
    const int lastRow = std::min(last.row, players - 1);
    // The first scrollable column and row visible beyond the fixed ones:
    // columns and rows under the scroll offsets are never drawn.
    const int firstScrollCol = first.col == -1 ? layout.CellAt(box.left() + Layout::kRowNumberWidth, 0).col : 0;
    const int firstScrollRow = first.row == -1 ? layout.CellAt(0, box.top() + Layout::kHeaderHeight).row : 0;

    for (int row = first.row; row <= lastRow; ++row) {
        if (row == 0 && firstScrollRow > 0)
            row = firstScrollRow;
        if (row > lastRow)
            break;
        for (int col = first.col; col <= last.col; ++col) {
            if (col == 0 && firstScrollCol > 0)
                col = firstScrollCol;
            if (col > last.col)
                break;
            DrawCell(p, col, row);
        }
    }
}

void CResultGrid::DrawCell(QPainter& p, int col, int row) const
{
    const GridRect r = CellRect(col, row);
    const int rounds = m_nav.Layout().Rounds();
    if (col == -1 && row == -1)
        DrawCorner(p, r);
    else if (col == -1)
        DrawRowNumber(p, r, row);
    else if (row == -1)
        DrawColumnHeader(p, r, col);
    else if (col == 0)
        DrawPlayerCell(p, r, row);
    else if (col <= rounds)
        DrawRoundCell(p, r, col, row);
    else if (col == rounds + 1)
        DrawTotalsCell(p, r, row);
    // The filler right of the totals keeps the background colour.
}

void CResultGrid::DrawCorner(QPainter& p, const GridRect& r) const
{
    p.fillRect(ToQRect(r), QColor(GridPalette::kHeaderFill));
    Border(p, r);
    FillVLine(p, r.left, r.top, r.bottom - 2, GridPalette::kHeaderHighlight);
    FillHLine(p, r.left, r.right - 1, r.top, GridPalette::kHeaderHighlight);
}

void CResultGrid::DrawRowNumber(QPainter& p, const GridRect& r, int row) const
{
    p.fillRect(ToQRect(r), QColor(GridPalette::kHeaderFill));
    Border(p, r);
    FillHLine(p, r.left, r.right - 1, r.top, GridPalette::kHeaderHighlight);
    p.setPen(QColor(GridPalette::kText));
    p.drawText(ToQRect(r), Qt::AlignCenter | Qt::TextSingleLine, QString::number(row + 1));
}

void CResultGrid::DrawColumnHeader(QPainter& p, const GridRect& r, int col) const
{
    const bool selected = col == m_nav.SelCol();
    p.fillRect(ToQRect(r), QColor(selected ? GridPalette::kSelectedHeader : GridPalette::kHeaderFill));
    Border(p, r);
    FillVLine(p, r.left, r.top, r.bottom - 1, GridPalette::kHeaderHighlight);
    const std::string label = ColumnHeaderLabel(col, m_nav.Layout().Rounds());
    if (label.empty())
        return;
    p.setPen(QColor(selected ? GridPalette::kSelectedHeaderText : GridPalette::kText));
    p.drawText(ToQRect(r), Qt::AlignCenter | Qt::TextSingleLine, ui::ToQString(label));
    p.setPen(QColor(GridPalette::kText));
}

void CResultGrid::DrawDataCellFrame(QPainter& p, const GridRect& r, int col, int row) const
{
    p.fillRect(ToQRect(r), QColor(col == m_nav.SelCol() ? GridPalette::kSelectedFill : GridPalette::kBackground));
    Border(p, r);
    if (col == m_nav.CurCol() && row == m_nav.CurRow())
        CurrentFrame(p, r);
}

void CResultGrid::DrawPlayerCell(QPainter& p, const GridRect& r, int row) const
{
    if (r.left < 0)
        return; // the player column is scrolled away
    DrawDataCellFrame(p, r, 0, row);
    const PlayerCellTexts t = PlayerCell(m_data.table, m_data.players, row);
    Text(p, r, 2, 2, 83, 34, kLeftTop, t.longName);
    Text(p, r, 84, 2, 110, 34, kLeftTop, t.shortName);
    Text(p, r, 2, 20, 83, 34, kLeftTop, t.residence);
    Text(p, r, 84, 20, 110, 34, kLeftTop, t.grade);
}

void CResultGrid::DrawRoundCell(QPainter& p, const GridRect& r, int col, int row) const
{
    DrawDataCellFrame(p, r, col, row);
    const PlayerEntry& entry = m_data.table.Entry(row);
    const bool withdrawn = !entry.IsEmpty() && !entry.PlaysIn(col - 1);
    if (withdrawn) {
        const std::optional<Term> mark = NoGameMark(entry, col - 1);
        const bool empty = m_data.table.Cell(row, col - 1).opponent == NoOpponent;
        DimWithdrawnCell(p, r, col == m_nav.SelCol(), empty && mark ? TermText(*mark) : std::string());
    }
    if (IsWaiting(row, col - 1)) {
        // A corner, so that the result's text and the selection stay as
        // they are.
        const QPoint corner[] = {{r.left + 1, r.top + 1}, {r.left + 10, r.top + 1}, {r.left + 1, r.top + 10}};
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(GridPalette::kReportWaiting));
        p.drawPolygon(corner, 3);
        p.restore();
    }
    const TwoLineTexts t = RoundCell(m_data.table, m_data.players, row, col - 1);
    Text(p, r, 2, 2, 46, 34, kRightTop, t.top);
    Text(p, r, 2, 20, 46, 34, kRightTop, t.bottom);
    if (withdrawn)
        p.setPen(QColor(GridPalette::kText));
}

void CResultGrid::DrawTotalsCell(QPainter& p, const GridRect& r, int row) const
{
    DrawDataCellFrame(p, r, m_nav.Layout().Rounds() + 1, row);
    const TwoLineTexts t = TotalsCell(m_data.table, row);
    Text(p, r, 2, 2, 126, 34, kRightTop, t.top);
    Text(p, r, 2, 20, 126, 34, kRightTop, t.bottom);
}

} // namespace tabry::grid
