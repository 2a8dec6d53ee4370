#pragma once
// The main window's view: an 18-pixel title strip with the tournament's name
// and date, and the results grid filling the rest. The grid is re-created for
// every new or opened tournament and after the table's size changed, so its
// state (current cell, scrolling, open editor) never outlives the table it
// was made for.

#include "grid/GridLayout.h"

#include <QPointer>
#include <QWidget>

#include <optional>
#include <string>

namespace tabry {
struct TournamentData;
class CRandomGenerator;
class CTournamentEditor;
} // namespace tabry

namespace tabry::grid {

class CResultGrid;

class CTabryView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTitleHeight = 18;

    explicit CTabryView(CTournamentEditor& editor, QWidget* parent = nullptr);
    ~CTabryView() override;

    // A new or opened tournament: a fresh grid at the first cell, unscrolled.
    void OnInitialUpdate();
    // The table's size changed: a fresh grid (nothing without a grid yet).
    // The view does this itself when the editor reports a new size.
    void RecreateGrid();
    CResultGrid* Grid() const { return m_grid; }
    // The pairing's generator, handed to every grid this view makes.
    void SetRandomGenerator(CRandomGenerator* random) { m_random = random; }
    // The program's "Enter で下へ移動", for this grid and every later one.
    void SetEnterMovesDown(bool down);

    // "行の追加(&I)": an empty row at the end of the table, where the new
    // grid then starts so the latecomer's name can be typed at once; nothing
    // at the table's largest size (the commands are grayed there).
    void AddRow();

    // "name @yyyy/mm/dd", the name alone without a date (Shift_JIS).
    static std::string TitleText(const TournamentData& tournament);
    // Repaints the title strip after the details changed.
    void UpdateTitle();

signals:
    // A new grid exists (the old one is gone).
    void gridCreated(tabry::grid::CResultGrid* grid);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    // The grid to create; tests substitute one with fake editors.
    virtual CResultGrid* MakeGrid();

private:
    void CreateGrid();

    CTournamentEditor& m_editor;
    const TournamentData& m_data;
    int m_listener = 0;
    QPointer<CResultGrid> m_grid;
    CRandomGenerator* m_random = nullptr;
    bool m_enterMovesDown = false;
    // Where the next grid starts instead of the first cell: the row just
    // added. Any other new grid starts afresh.
    std::optional<GridCell> m_startCell;
};

} // namespace tabry::grid
