#pragma once
// The main window's view: an 18-pixel title strip with the tournament's name
// and date, and the results grid filling the rest. The grid is re-created for
// every new or opened tournament and after the table's size changed, so its
// state (current cell, scrolling, open editor) never outlives the table it
// was made for.

#include <QPointer>
#include <QWidget>

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
};

} // namespace tabry::grid
