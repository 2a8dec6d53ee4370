#pragma once
// The interactive state of the results grid without any widget: the current
// cell, the column selected by a header click, the scroll position, and what
// every key, click and scroll-bar request does to them. The widget forwards
// its events here and carries out the effects through IGridSurface, so the
// rules can be tested with a recording surface.

#include "grid/GridLayout.h"

#include <optional>

namespace tabry::grid {

// What the navigator asks of the window it drives.
class IGridSurface {
public:
    virtual ~IGridSurface() = default;
    // Repaint `rect` later.
    virtual void Invalidate(const GridRect& rect) = 0;
    // Move the pixels inside `area` by (dx, dy), clipped to `area`; the part
    // of `area` left uncovered is repainted.
    virtual void ScrollPixels(const GridRect& area, int dx, int dy) = 0;
    // Range 0..maximum, page size and position of a scroll bar, in one go.
    virtual void SetVerticalBar(int maximum, int page, int position) = 0;
    virtual void SetHorizontalBar(int maximum, int page, int position) = 0;
    virtual void SetVerticalPosition(int position) = 0;
    virtual void SetHorizontalPosition(int position) = 0;
};

enum class ScrollRequest {
    LineForward, // down / right
    LineBack,    // up / left
    PageForward,
    PageBack,
    ThumbTrack, // the thumb was dragged to a position
    EndScroll,  // the drag ended
};

enum class GridKey { Down, Enter, Up, Left, Right, PageUp, PageDown, Home, End, Tab, F2, Insert, Delete };

// What a key asks the grid to do.
struct KeyAction {
    enum Kind {
        None,       // the move would leave the table: nothing happens
        Move,       // SelectCell(target)
        OpenEditor, // open the editor of the current cell
        DeleteCell, // delete the current row's player or clear the current game
    };
    Kind kind = None;
    GridCell target;
};

// A selected column: 0 player, 1..R rounds, R+1 totals.
constexpr int kNoColumn = -2;

class CGridNavigator {
public:
    explicit CGridNavigator(IGridSurface& surface) : m_surface(surface) {}

    // The table's size; the grid is re-created when it changes, so this is
    // set once before Initialise.
    void SetTable(int players, int rounds) { m_layout.SetTable(players, rounds); }

    // The window exists and has its client size: start at the first cell,
    // unscrolled (with a width of 0 only the size is taken).
    void Initialise(int width, int height);
    // A later size change (ignored before Initialise).
    void Resize(int width, int height);
    bool IsInitialised() const { return m_initialised; }

    void UpdateScrollBars();
    void ScrollVertical(ScrollRequest request, int thumbPosition = 0);
    void ScrollHorizontal(ScrollRequest request, int thumbPosition = 0);

    void SelectCell(int col, int row);
    void SelectColumn(int col);
    void ClearColumnSelection();

    // A left or right button press at a client point.
    void Press(int x, int y);
    // A left double click: true when the editor of the current cell opens.
    bool DoubleClickOpensEditor(int x, int y) const;

    // The action of a key on the current cell (pure: changes nothing).
    KeyAction ActionOfKey(GridKey key) const;
    // Characters that open the current cell's editor with themselves as text.
    static bool OpensEditor(char32_t ch);

    // Where the current cell goes after an editor commits. A game moves on
    // to the next round (wrapping to the next row), or with Enter moving
    // down to the next row of the same round, staying on the last row.
    std::optional<GridCell> NextAfterPlayerCommit() const;
    std::optional<GridCell> NextAfterResultCommit() const;
    void SetEnterMovesDown(bool down) { m_enterMovesDown = down; }
    bool EnterMovesDown() const { return m_enterMovesDown; }

    int CurCol() const { return m_curCol; }
    int CurRow() const { return m_curRow; }
    GridCell Current() const { return {m_curCol, m_curRow}; }
    int SelCol() const { return m_selCol; }
    int TopRow() const { return m_layout.TopRow(); }
    int LeftCol() const { return m_layout.LeftCol(); }
    int VisibleRows() const { return m_layout.VisibleRows(); }
    int VisibleCols() const { return m_layout.VisibleCols(); }
    const CGridLayout& Layout() const { return m_layout; }

    void InvalidateCell(int col, int row);
    void InvalidateColumn(int col);
    void InvalidateTotals();
    void InvalidateAll();

private:
    GridRect BelowHeader() const;       // y from 16 to H, whole width
    GridRect RightOfRowNumbers() const; // x from 30 to W, whole height
    void SetTopRow(int row);
    void SetLeftCol(int col);
    // Scroll to a first row or column, moving the pixels that stay in view;
    // `setBar` false leaves the horizontal bar to a dragged thumb.
    void MoveRows(int topRow);
    void MoveColumns(int leftCol, bool setBar);

    IGridSurface& m_surface;
    CGridLayout m_layout;
    bool m_initialised = false;
    int m_curCol = 0;
    int m_curRow = 0;
    int m_selCol = kNoColumn;
    bool m_enterMovesDown = false;
};

} // namespace tabry::grid
