// The results grid's context menus and the commands behind them: the player
// menu, the game menu and the round menu of a selected column.

#include "grid/ResultGrid.h"

#include "core/TournamentData.h"
#include "edit/EditTexts.h"
#include "edit/TournamentEditor.h"
#include "pairing/RandomGenerator.h"
#include "playerdb/ui/UserCommands.h"
#include "widgets/Prompt.h"
#include "widgets/TextCodec.h"

#include <QContextMenuEvent>
#include <QMenu>

namespace tabry::grid {

namespace {

QString CaptionOf(int command)
{
    switch (command) {
    case CmdPlayerEdit:
    case CmdGameEdit:
        return QStringLiteral("編集(&E)");
    case CmdPlayerDelete:
    case CmdGameDelete:
    case CmdRoundDelete:
        return QStringLiteral("削除(&D)");
    case CmdPlayerEditRecord:
        return QStringLiteral("ユーザDBの編集(&U)...");
    case CmdRoundEnterResults:
        return QStringLiteral("結果入力(&E)");
    case CmdRoundPairing:
        return QStringLiteral("組み合わせ作成(&P)");
    case CmdRoundSavePairingTable:
        return QStringLiteral("組み合わせ表保存");
    case CmdRoundSaveScoreSheet:
        return QStringLiteral("成績表保存");
    case CmdPlayerWithdraw:
        return QStringLiteral("棄権(&W)...");
    case CmdPlayerReinstate:
        return QStringLiteral("棄権の取り消し(&W)");
    case CmdPlayerAddRow:
        return QStringLiteral("行の追加(&I)");
    case CmdGameSitOut:
        return QStringLiteral("この回戦を休む(&S)...");
    case CmdGameSitOutUndo:
        return QStringLiteral("休みを取り消す(&S)");
    default:
        return {};
    }
}

const char* MenuNameOf(MenuKind kind)
{
    switch (kind) {
    case MenuKind::Player:
        return "playerMenu";
    case MenuKind::Game:
        return "gameMenu";
    case MenuKind::Round:
        return "roundMenu";
    case MenuKind::None:
        break;
    }
    return "";
}

} // namespace

void CResultGrid::ShowContextMenu(const QPoint& clientPos)
{
    const GridCell clicked = CellAt(clientPos.x(), clientPos.y());
    ShowMenu(ContextMenuAt(m_data, clicked, m_nav.Current(), m_nav.SelCol()), viewport()->mapToGlobal(clientPos));
}

void CResultGrid::contextMenuEvent(QContextMenuEvent* event)
{
    // The right button has its own path (released over a cell); the menu
    // key and Shift+F10 open the current cell's menu at the cell.
    if (event->reason() != QContextMenuEvent::Keyboard) {
        event->ignore();
        return;
    }
    const GridRect r = CellRect(m_nav.CurCol(), m_nav.CurRow());
    ShowMenu(ContextMenuAt(m_data, m_nav.Current(), m_nav.Current(), m_nav.SelCol()),
             viewport()->mapToGlobal(QPoint(r.left + 2, r.top + 2)));
    event->accept();
}

void CResultGrid::ShowMenu(const ContextMenuState& state, const QPoint& globalPos)
{
    if (state.kind == MenuKind::None)
        return;
    QMenu menu(this);
    menu.setObjectName(QString::fromLatin1(MenuNameOf(state.kind)));
    for (const MenuEntryState& entry : state.entries) {
        if (entry.command == CmdSeparator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(CaptionOf(entry.command));
        action->setData(entry.command);
        action->setEnabled(entry.enabled);
    }
    // The command runs once the menu has closed, as a menu's command does.
    if (QAction* chosen = menu.exec(globalPos))
        RunCommand(chosen->data().toInt());
}

bool CResultGrid::SelectedRound(int& col) const
{
    col = m_nav.SelCol();
    return col >= 1 && col <= m_data.table.RoundCount();
}

void CResultGrid::RunCommand(int command)
{
    int round = 0;
    switch (command) {
    case CmdPlayerEdit:
        if (m_nav.CurCol() == 0)
            OpenCurrentCellEditor();
        break;
    case CmdPlayerDelete:
        if (m_nav.CurCol() == 0)
            DeleteRowPlayer();
        break;
    case CmdPlayerEditRecord:
        EditRowUserRecord();
        break;
    case CmdPlayerWithdraw:
        WithdrawRowPlayer();
        break;
    case CmdPlayerReinstate:
        if (!m_detached)
            m_editor.Reinstate(m_nav.CurRow());
        break;
    case CmdGameEdit:
        OpenResultPopup(std::nullopt, false);
        break;
    case CmdGameDelete:
        ClearCell();
        break;
    case CmdGameSitOut:
    case CmdGameSitOutUndo:
        SitOutCurrentRound(command == CmdGameSitOut);
        break;
    case CmdRoundPairing:
        CreateRoundPairing();
        break;
    case CmdRoundDelete:
        DeleteRoundResults();
        break;
    case CmdRoundEnterResults:
        EnterRoundResults();
        break;
    case CmdRoundSavePairingTable:
        if (SelectedRound(round))
            emit pairingTableRequested(round);
        break;
    case CmdRoundSaveScoreSheet:
        if (SelectedRound(round))
            emit scoreSheetRequested(round);
        break;
    case CmdPlayerAddRow:
        // The view owns what outlives this grid: the new grid it makes for
        // the new size starts on the new row.
        emit addRowRequested();
        break;
    default:
        break;
    }
}

void CResultGrid::EditRowUserRecord()
{
    const PlayerEntry& entry = m_data.table.Entry(m_nav.CurRow());
    if (entry.IsEmpty())
        return;
    // A changed record is a change of the tournament (its file carries each
    // player's data with his row); the editor repaints every cell that
    // shows him.
    if (!m_detached)
        RunEditUserRecordDialog(this, m_editor, entry.playerIndex);
}

void CResultGrid::WithdrawRowPlayer()
{
    const int row = m_nav.CurRow();
    const CResultTable& table = m_data.table;
    if (m_detached || !WithdrawalEntry(table, row).enabled)
        return;
    const std::optional<int> round =
        ui::Prompt().AskInteger(this, QStringLiteral("棄権"), QStringLiteral("何回戦から棄権しますか？"),
                                ProposedWithdrawal(table, row) + 1, 1, table.RoundCount());
    if (!round)
        return;
    ShowRefusal(m_editor.Withdraw(row, *round - 1));
}

void CResultGrid::SitOutCurrentRound(bool absent)
{
    const int row = m_nav.CurRow();
    const int round = m_nav.CurCol() - 1;
    if (m_detached || !AbsenceEntry(m_data, row, round).enabled)
        return;
    if (absent && !ui::Prompt().Confirm(this, ui::ToQString(AbsenceQuestion(m_data, row, round))))
        return;
    ShowRefusal(m_editor.SetAbsent(row, round, absent));
}

void CResultGrid::DeleteRoundResults()
{
    if (!m_detached)
        ShowRefusal(m_editor.DeleteRound(m_nav.SelCol() - 1, Asker()));
}

void CResultGrid::CreateRoundPairing()
{
    if (m_random == nullptr) {
        // A grid made without the application's generator still pairs.
        m_ownRandom = std::make_unique<CRandomGenerator>(CRandomGenerator::TimeSeed());
        m_random = m_ownRandom.get();
    }
    if (m_detached)
        return;
    PairedRound paired;
    const ChangeEffects fx = m_editor.PairRound(m_nav.SelCol() - 1, *m_random, {}, nullptr, Asker(), &paired);
    ShowRefusal(fx);
    if (fx.Any())
        emit statusMessage(ui::ToQString(PairedRoundText(paired, m_data)));
}

void CResultGrid::EnterRoundResults()
{
    int col = 0;
    if (!SelectedRound(col))
        return;
    const int row = FirstRowToEnter(m_data.table, col - 1);
    if (row < 0)
        return;
    SelectCell(col, row);
    OpenResultPopup(std::nullopt, false);
}

} // namespace tabry::grid
