#pragma once
// Pixel geometry of the results grid: where every cell lies for the current
// table size, client size and scroll position, and which cell lies under a
// point. Plain arithmetic without Qt, so every edge can be unit-tested.
//
// Columns: -1 row numbers (fixed), 0 player, 1..R rounds, R+1 totals, R+2 the
// filler up to the right edge. Rows: -1 the header (fixed), 0..P-1 players,
// P and beyond the empty area below the last row.

namespace tabry::grid {

// A rectangle with exclusive right and bottom edges, in client pixels.
struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const GridRect&, const GridRect&) = default;
};

struct GridCell {
    int col = 0;
    int row = 0;
    friend bool operator==(const GridCell&, const GridCell&) = default;
};

class CGridLayout {
public:
    static constexpr int kHeaderHeight = 16;
    static constexpr int kRowHeight = 36;
    static constexpr int kRowNumberWidth = 30;
    static constexpr int kPlayerWidth = 112;
    static constexpr int kRoundWidth = 48;
    static constexpr int kTotalsWidth = 128;
    // The player column is one round column plus this much wider, so the
    // first horizontal step hides all of it.
    static constexpr int kPlayerExtra = kPlayerWidth - kRoundWidth;

    void SetTable(int players, int rounds);
    void SetClientSize(int width, int height);

    int Players() const { return m_players; }
    int Rounds() const { return m_rounds; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Scroll position: the first data row and the first scrollable column shown.
    int TopRow() const { return m_topRow; }
    int LeftCol() const { return m_leftCol; }
    void SetTopRow(int row) { m_topRow = row; }
    void SetLeftCol(int col) { m_leftCol = col; }

    int VerticalOffset() const { return kRowHeight * m_topRow; }
    int HorizontalOffset() const { return m_leftCol == 0 ? 0 : kRoundWidth * m_leftCol + kPlayerExtra; }

    // Data rows that fit below the header; scrollable columns that fit (at
    // least 1).
    int VisibleRows() const;
    int VisibleCols() const;
    int VerticalMaximum() const { return m_players > 0 ? m_players - 1 : 0; }
    int HorizontalMaximum() const { return m_rounds + 1; }

    GridRect CellRect(int col, int row) const;
    GridCell CellAt(int x, int y) const;

    // Horizontal extent of a column (top 0, bottom the client height).
    GridRect ColumnRect(int col) const;

private:
    void ColumnExtent(int col, int& left, int& right) const;
    void RowExtent(int row, int& top, int& bottom) const;

    int m_players = 0;
    int m_rounds = 0;
    int m_width = 0;
    int m_height = 0;
    int m_topRow = 0;
    int m_leftCol = 0;
};

} // namespace tabry::grid
