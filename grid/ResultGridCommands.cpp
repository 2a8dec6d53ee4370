// The results grid's editors and edits: opening an editor over the current
// cell, handling its done message, and applying a committed player or game
// to the table with the repaints it needs.

#include "grid/ResultGrid.h"

#include "core/TournamentData.h"
#include "edit/EditTexts.h"
#include "edit/TournamentEditor.h"
#include "grid/PlayerPopup.h"
#include "grid/ResultPopup.h"
#include "widgets/Prompt.h"
#include "widgets/TextCodec.h"

namespace tabry::grid {

// ---- editors ----------------------------------------------------------------

QPoint CResultGrid::PopupScreenPos(int col, int row) const
{
    // The editor sits over the cell, two pixels in from the window's corner
    // plus the cell's client position (just inside the cell's own border).
    const GridRect r = CellRect(col, row);
    return mapToGlobal(QPoint(0, 0)) + QPoint(r.left + 2, r.top + 2);
}

void CResultGrid::OpenPlayerPopup(const std::optional<QString>& text, bool selectAll)
{
    if (m_nav.CurCol() < 0 || m_nav.CurRow() < 0 || HasPopup())
        return;
    PopupRequest request;
    request.kind = PopupRequest::Player;
    request.text = text;
    request.selectAll = selectAll;
    request.cell = {0, m_nav.CurRow()};
    request.screenPos = PopupScreenPos(0, m_nav.CurRow());
    m_lastRequest = request;
    m_playerPopup = CreatePlayerPopup(request);
}

void CResultGrid::OpenResultPopup(const std::optional<QString>& text, bool selectAll)
{
    const int row = m_nav.CurRow();
    if (m_nav.CurCol() < 1 || row < 0 || m_data.table.Entry(row).IsEmpty() || HasPopup())
        return;
    PopupRequest request;
    request.kind = PopupRequest::Result;
    request.text = text;
    request.selectAll = selectAll;
    request.cell = m_nav.Current();
    request.screenPos = PopupScreenPos(m_nav.CurCol(), row);
    m_lastRequest = request;
    m_resultPopup = CreateResultPopup(request);
}

void CResultGrid::OpenCurrentCellEditor()
{
    if (m_nav.CurCol() == 0) {
        const PlayerEntry& entry = m_data.table.Entry(m_nav.CurRow());
        std::optional<QString> name;
        if (!entry.IsEmpty())
            name = ui::ToQString(m_data.players.GetAt(entry.playerIndex).m_longName);
        OpenPlayerPopup(name, false);
    } else {
        OpenResultPopup(std::nullopt, false);
    }
}

void CResultGrid::OpenEditorWithText(const QString& text)
{
    if (m_nav.CurCol() == 0)
        OpenPlayerPopup(text, false);
    else
        OpenResultPopup(text, false);
}

std::unique_ptr<IPlayerPopup> CResultGrid::CreatePlayerPopup(const PopupRequest& request)
{
    auto popup = std::make_unique<CPlayerPopup>(*this, request.cell.row);
    if (request.text)
        popup->SetInitialText(*request.text, request.selectAll);
    popup->ShowAt(request.screenPos);
    return popup;
}

std::unique_ptr<IResultPopup> CResultGrid::CreateResultPopup(const PopupRequest& request)
{
    auto popup = std::make_unique<CResultPopup>(*this, request.cell.row, request.cell.col - 1);
    popup->Fill(request.text, request.selectAll);
    popup->ShowAt(request.screenPos);
    return popup;
}

void CResultGrid::RequestPopupClose()
{
    // An editor inside one of its own message boxes or its registration
    // dialog stays: it is still running its handler.
    if (m_resultPopup) {
        if (!m_resultPopup->IsBusy())
            PostResultPopupDone(true);
    } else if (m_playerPopup && !m_playerPopup->IsRegistering() && !m_playerPopup->IsBusy()) {
        PostPlayerPopupDone(true);
    }
}

void CResultGrid::PostPlayerPopupDone(bool cancel)
{
    QMetaObject::invokeMethod(
        this, [this, cancel] { PlayerPopupDone(cancel); }, Qt::QueuedConnection);
}

void CResultGrid::PostResultPopupDone(bool cancel)
{
    QMetaObject::invokeMethod(
        this, [this, cancel] { ResultPopupDone(cancel); }, Qt::QueuedConnection);
}

void CResultGrid::PlayerPopupDone(bool cancel)
{
    // The grid owns the editor until here; taking it out first makes a
    // second done message (say a cancel while a question below is open) a
    // no-op instead of a second destruction.
    std::unique_ptr<IPlayerPopup> popup = std::move(m_playerPopup);
    if (!popup)
        return;
    if (!cancel) {
        BackToEditedCell();
        SetRowPlayer(popup->ChosenRecord());
        InvalidateCell(m_nav.CurCol(), m_nav.CurRow());
        if (const std::optional<GridCell> next = m_nav.NextAfterPlayerCommit())
            SelectCell(next->col, next->row);
    }
    popup.reset();
    ReturnFocus();
}

void CResultGrid::ResultPopupDone(bool cancel)
{
    std::unique_ptr<IResultPopup> popup = std::move(m_resultPopup);
    if (!popup)
        return;
    if (!cancel) {
        BackToEditedCell();
        SetCellResult(popup->Opponent(), popup->Result(), popup->Score());
        InvalidateCell(m_nav.CurCol(), m_nav.CurRow());
        // Declining the overwrite question still moves on: the organiser
        // continues with the next cell either way.
        if (const std::optional<GridCell> next = m_nav.NextAfterResultCommit())
            SelectCell(next->col, next->row);
    }
    popup.reset();
    ReturnFocus();
}

void CResultGrid::BackToEditedCell()
{
    // The values belong to the cell the editor was opened over. Should the
    // cursor have moved meanwhile (a click that reached the grid without
    // cancelling the editor), the commit still lands there.
    if (m_lastRequest && m_nav.Current() != m_lastRequest->cell)
        SelectCell(m_lastRequest->cell.col, m_lastRequest->cell.row);
}

QWidget* CResultGrid::EditorWidget() const
{
    if (m_playerPopup)
        return dynamic_cast<QWidget*>(m_playerPopup.get());
    if (m_resultPopup)
        return dynamic_cast<QWidget*>(m_resultPopup.get());
    return nullptr;
}

void CResultGrid::ReturnFocus()
{
    // The editor was a window of its own: the main window takes the
    // keyboard back, and the grid in it.
    if (isVisible())
        window()->activateWindow();
    setFocus(Qt::OtherFocusReason);
}

// ---- edits ------------------------------------------------------------------

void CResultGrid::OnTournamentChanged(const ChangeEvent& event)
{
    // Another tournament or another size: the view makes a new grid.
    if (event.kind == ChangeKind::Reset || event.effects.resized)
        return;
    Apply(event.effects);
}

void CResultGrid::Apply(const ChangeEffects& fx)
{
    const int totalsCol = m_nav.Layout().Rounds() + 1;
    if (fx.wholeTable || fx.players)
        InvalidateAll();
    for (const CellRef& cell : fx.cells)
        InvalidateCell(cell.round + 1, cell.row);
    for (int row : fx.playerRows)
        InvalidateCell(0, row);
    for (int row : fx.totalsRows)
        InvalidateCell(totalsCol, row);
    for (int round : fx.rounds)
        InvalidateColumn(round + 1);
    if (fx.allTotals)
        InvalidateTotals();
    emit selectionChanged(); // what the delete command can do may have changed
}

std::function<bool(const std::string&)> CResultGrid::Asker()
{
    return [this](const std::string& question) { return ui::Prompt().Confirm(this, ui::ToQString(question)); };
}

void CResultGrid::ShowRefusal(const ChangeEffects& fx)
{
    // A declined question needs no word; any other refusal says why.
    const std::string text = RefusalText(fx.refusal, m_data);
    if (!text.empty())
        ui::Prompt().Error(this, ui::ToQString(text));
}

void CResultGrid::SetRowPlayer(int record)
{
    if (!m_detached)
        ShowRefusal(m_editor.SetRowPlayer(m_nav.CurRow(), record, Asker()));
}

void CResultGrid::SetCellResult(int opponent, int result, int disc)
{
    if (!m_detached)
        ShowRefusal(m_editor.SetGame(m_nav.CurRow(), m_nav.CurCol() - 1, opponent, result, disc, Asker()));
}

void CResultGrid::DeleteRowPlayer()
{
    const int row = m_nav.CurRow();
    if (row < 0 || row >= m_data.table.PlayerCount())
        return;
    SetRowPlayer(-1);
}

void CResultGrid::ClearCell()
{
    if (m_nav.CurCol() >= 1)
        SetCellResult(NoOpponent, ResultDraw, 0);
}

bool CResultGrid::CanDeleteCell() const
{
    const int row = m_nav.CurRow();
    const int col = m_nav.CurCol();
    if (row < 0)
        return false;
    if (col == 0)
        return !m_data.table.Entry(row).IsEmpty();
    return col >= 1 && col <= m_data.table.RoundCount() && m_data.table.Cell(row, col - 1).opponent != NoOpponent;
}

void CResultGrid::DeleteCell()
{
    if (m_nav.CurRow() < 0)
        return;
    if (m_nav.CurCol() == 0)
        DeleteRowPlayer();
    else if (m_nav.CurCol() <= m_data.table.RoundCount())
        ClearCell();
}

} // namespace tabry::grid
