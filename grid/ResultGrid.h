#pragma once
// The results grid: the tournament table drawn as rows of players and
// columns of rounds, with a fixed header row and row-number column. The rules
// (geometry, current cell, keys, scrolling) live in CGridNavigator and the
// cell texts in CellText; this widget paints, forwards events, and applies
// what the editors commit through the tournament's editor, repainting what
// the editor reports changed (also after an undo or redo from the menu).
// Its implementation is split by concern:
// ResultGrid.cpp (window, scroll bars), ResultGridPaint.cpp,
// ResultGridInput.cpp (keys and mouse) and ResultGridCommands.cpp (editors
// and edits).

#include "edit/ChangeEffects.h"
#include "grid/GridCommands.h"
#include "grid/GridNavigator.h"
#include "grid/GridPopups.h"

#include <QAbstractScrollArea>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QPainter;
class QRect;

namespace tabry {
struct ChangeEvent;
struct TournamentData;
class CRandomGenerator;
class CTournamentEditor;
} // namespace tabry

namespace tabry::grid {

class CResultGrid : public QAbstractScrollArea, private IGridSurface {
    Q_OBJECT

public:
    explicit CResultGrid(CTournamentEditor& editor, QWidget* parent = nullptr);
    ~CResultGrid() override;

    // The tournament the grid shows, and the editor its changes go through.
    const TournamentData& Data() const { return m_data; }
    CTournamentEditor& Editor() const { return m_editor; }
    // A grid about to be replaced (another table size): it stops listening
    // and takes no more edits, even from an editor's done message still on
    // its way.
    void Detach();
    // The generator the round menu's pairing draws from (the application's,
    // seeded once at start-up); none in a grid without one.
    void SetRandomGenerator(CRandomGenerator* random) { m_random = random; }
    CRandomGenerator* RandomGenerator() const { return m_random; }

    // ---- geometry -------------------------------------------------------
    GridRect CellRect(int col, int row) const { return m_nav.Layout().CellRect(col, row); }
    GridCell CellAt(int x, int y) const { return m_nav.Layout().CellAt(x, y); }
    const CGridNavigator& Navigator() const { return m_nav; }

    // ---- marks ----------------------------------------------------------
    // The round cells (row, round from 0) whose board has a result reported
    // from a phone waiting for the desk: marked until it is accepted or
    // rejected.
    void SetWaitingCells(std::vector<std::pair<int, int>> cells);
    bool IsWaiting(int row, int round) const;

    void InvalidateCell(int col, int row) { m_nav.InvalidateCell(col, row); }
    void InvalidateColumn(int col) { m_nav.InvalidateColumn(col); }
    void InvalidateTotals() { m_nav.InvalidateTotals(); }
    void InvalidateAll() { m_nav.InvalidateAll(); }

    // ---- navigation -----------------------------------------------------
    void SelectCell(int col, int row);
    void SelectColumn(int col);
    void ClearColumnSelection();
    void UpdateScrollBars() { m_nav.UpdateScrollBars(); }
    int CurCol() const { return m_nav.CurCol(); }
    int CurRow() const { return m_nav.CurRow(); }
    int SelCol() const { return m_nav.SelCol(); }
    // The cell the grid starts on instead of the first one (the row the
    // organiser just added); at once when the grid is already showing.
    void StartAt(GridCell cell);
    // Where a committed game moves the cursor: down the round instead of
    // on to the next round (a program setting).
    void SetEnterMovesDown(bool down) { m_nav.SetEnterMovesDown(down); }

    // ---- editors --------------------------------------------------------
    // The single entry points of the two in-place editors. `text` is the
    // character typed into the cell, the player's name (F2 on a player), or
    // none. Nothing opens for a position without an editor.
    void OpenPlayerPopup(const std::optional<QString>& text, bool selectAll);
    void OpenResultPopup(const std::optional<QString>& text, bool selectAll);
    // The editor of the current cell as F2 opens it.
    void OpenCurrentCellEditor();
    // Asks an open editor to cancel (the view was activated); an editor that
    // shows its add-user dialog stays.
    void RequestPopupClose();
    // The editors' done messages; `cancel` false commits. Posted: they run
    // after the editor's own handler has returned.
    void PostPlayerPopupDone(bool cancel);
    void PostResultPopupDone(bool cancel);
    bool HasPopup() const { return m_playerPopup || m_resultPopup; }
    // The last editor request (what opened, for tests).
    const std::optional<PopupRequest>& LastPopupRequest() const { return m_lastRequest; }
    // The open editors (none while closed).
    IPlayerPopup* PlayerPopup() const { return m_playerPopup.get(); }
    IResultPopup* ResultPopup() const { return m_resultPopup.get(); }

    // ---- edits ----------------------------------------------------------
    void SetRowPlayer(int record);
    void SetCellResult(int opponent, int result, int disc);
    // Delete key and the main window's delete-cell command.
    void DeleteRowPlayer();
    void ClearCell();
    bool CanDeleteCell() const;
    void DeleteCell();

    // ---- context-menu commands --------------------------------------------
    // Runs a command of the context menus (GridCommand) on the current cell
    // or the selected column.
    void RunCommand(int command);
    // The player's database record in the add/edit user dialog.
    void EditRowUserRecord();
    // Asks from which round the row's player withdraws and withdraws him.
    void WithdrawRowPlayer();
    // The current cell's player sits its round out (after asking), or plays it again.
    void SitOutCurrentRound(bool absent);
    // The selected round's results, after the question when it has games.
    void DeleteRoundResults();
    // Pairs the selected round's players who have no opponent yet.
    void CreateRoundPairing();
    // Moves to the selected round's first player without a result and opens
    // the result editor there; nothing when every game has its result.
    void EnterRoundResults();

signals:
    // The current cell or the column selection changed.
    void selectionChanged();
    // The round menu's interim outputs (round from 1); the main window owns
    // the output commands and carries them out.
    void scoreSheetRequested(int round);
    void pairingTableRequested(int round);
    // The player menu's "行の追加(&I)"; the view carries it out.
    void addRowRequested();
    // What a command did, for the main window's status bar.
    void statusMessage(const QString& text);

protected:
    // The editors: CPlayerPopup and CResultPopup, created, filled from the
    // request and shown. Tests substitute fakes.
    virtual std::unique_ptr<IPlayerPopup> CreatePlayerPopup(const PopupRequest& request);
    virtual std::unique_ptr<IResultPopup> CreateResultPopup(const PopupRequest& request);
    // Right button released over a cell (client coordinates): the context
    // menus of the player column, the round cells and a selected column.
    virtual void ShowContextMenu(const QPoint& clientPos);
    void contextMenuEvent(QContextMenuEvent* event) override;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;

private:
    // IGridSurface
    void Invalidate(const GridRect& rect) override;
    void ScrollPixels(const GridRect& area, int dx, int dy) override;
    void SetVerticalBar(int maximum, int page, int position) override;
    void SetHorizontalBar(int maximum, int page, int position) override;
    void SetVerticalPosition(int position) override;
    void SetHorizontalPosition(int position) override;

    void OnVerticalAction(int action);
    void OnHorizontalAction(int action);
    void EnsureInitialised();

    // Fills `box` with the background and draws every cell that meets it.
    void PaintBox(QPainter& p, const QRect& box) const;
    void DrawCell(QPainter& p, int col, int row) const;
    void DrawCorner(QPainter& p, const GridRect& r) const;
    void DrawRowNumber(QPainter& p, const GridRect& r, int row) const;
    void DrawColumnHeader(QPainter& p, const GridRect& r, int col) const;
    void DrawPlayerCell(QPainter& p, const GridRect& r, int row) const;
    void DrawRoundCell(QPainter& p, const GridRect& r, int col, int row) const;
    void DrawTotalsCell(QPainter& p, const GridRect& r, int row) const;
    void DrawDataCellFrame(QPainter& p, const GridRect& r, int col, int row) const;

    void ExecuteKey(GridKey key);
    void OpenEditorWithText(const QString& text);
    void PlayerPopupDone(bool cancel);
    void ResultPopupDone(bool cancel);
    void ReturnFocus();
    void BackToEditedCell();
    // The open editor's window, none for an editor that has none.
    QWidget* EditorWidget() const;
    void OnTournamentChanged(const ChangeEvent& event);
    void Apply(const ChangeEffects& effects);
    // The editor's questions, asked through the prompt over this grid.
    std::function<bool(const std::string&)> Asker();
    // Tells why the editor refused a change (nothing for a declined question).
    void ShowRefusal(const ChangeEffects& fx);
    void ShowMenu(const ContextMenuState& state, const QPoint& globalPos);
    bool SelectedRound(int& col) const;
    QPoint PopupScreenPos(int col, int row) const;

    CTournamentEditor& m_editor;
    const TournamentData& m_data;
    int m_listener = 0;
    bool m_detached = false;
    CGridNavigator m_nav;
    int m_barAction = 0; // inside a scroll bar's action: adjust its slider, not its value
    std::unique_ptr<IPlayerPopup> m_playerPopup;
    std::unique_ptr<IResultPopup> m_resultPopup;
    std::optional<PopupRequest> m_lastRequest;
    std::optional<GridCell> m_startCell;
    CRandomGenerator* m_random = nullptr;
    std::unique_ptr<CRandomGenerator> m_ownRandom;
    std::vector<std::pair<int, int>> m_waiting;
};

} // namespace tabry::grid
