#include "app/Screenshots.h"

#include "app/FileDetailsDialog.h"
#include "app/LiveServerController.h"
#include "app/LiveServerDialog.h"
#include "app/MainFrame.h"
#include "app/PngFile.h"
#include "app/SettingsDialog.h"
#include "app/TabryApp.h"
#include "app/TabryDoc.h"
#include "grid/PlayerPopup.h"
#include "grid/ResultGrid.h"
#include "grid/ResultPopup.h"
#include "grid/TabryView.h"
#include "playerdb/ui/UserDbDialog.h"
#include "playerdb/ui/UserEditDialog.h"
#include "playerdb/ui/UserEditValues.h"
#include "widgets/PathText.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace tabry::app {

namespace {

// Wide enough for six rounds and the totals, high enough for most rows.
constexpr int kWidth = 720;
constexpr int kHeight = 600;

// The cell the pictures show: round 5 of the third row, whose game is
// still to be entered in the sample tournament.
constexpr int kCol = 5;
constexpr int kRow = 2;

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

bool Fail(const QString& reason, QString* error)
{
    if (error != nullptr)
        *error = reason;
    return false;
}

bool Save(const QImage& image, const QString& path, QString* error)
{
    if (WritePngFile(path, image))
        return true;
    return Fail(QStringLiteral("%1 を書き込めません。").arg(QDir::toNativeSeparators(path)), error);
}

// The main window with a window of its own (an editor, a menu) drawn where
// it stands over it; the picture grows where that window reaches past the
// main window's edge.
QImage WindowWith(CMainFrame* frame, QWidget* over)
{
    const QImage window = frame->grab().toImage();
    const QImage popup = over->grab().toImage();
    const QPoint at = frame->mapFromGlobal(over->pos());
    const QRect all = QRect(QPoint(0, 0), window.size()).united(QRect(at, popup.size()));
    QImage shot(all.size(), QImage::Format_ARGB32_Premultiplied);
    shot.fill(Qt::transparent);
    QPainter p(&shot);
    p.drawImage(-all.topLeft(), window);
    p.drawImage(at - all.topLeft(), popup);
    return shot;
}

// A dialog as it opens over the main window, on its own.
bool SaveDialog(QDialog& dialog, const QString& path, QString* error)
{
    dialog.show();
    Settle();
    const bool saved = Save(dialog.grab().toImage(), path, error);
    dialog.reject();
    Settle();
    return saved;
}

bool SaveEditors(CMainFrame* frame, grid::CResultGrid* grid, const QDir& dir, QString* error)
{
    // The organiser has typed the score, then the first letters of the
    // opponent; the list offers every player whose name begins so.
    grid->SelectCell(kCol, kRow);
    Settle();
    grid->OpenResultPopup(QStringLiteral("+"), false);
    auto* result = dynamic_cast<grid::CResultPopup*>(grid->ResultPopup());
    if (result == nullptr)
        return Fail(QStringLiteral("結果入力が開きません。"), error);
    result->ScoreEdit()->setText(QStringLiteral("+12"));
    result->NameEdit()->setFocus(Qt::OtherFocusReason);
    result->NameEdit()->setText(QStringLiteral("ya"));
    Settle();
    const bool resultSaved = Save(WindowWith(frame, result), dir.filePath(QStringLiteral("result-popup.png")), error);
    grid->PostResultPopupDone(true);
    Settle();
    if (!resultSaved)
        return false;

    // A latecomer typed into the empty last row.
    grid->SelectCell(0, grid->Navigator().Layout().Players() - 1);
    Settle();
    grid->OpenPlayerPopup(QStringLiteral("ta"), false);
    auto* player = dynamic_cast<grid::CPlayerPopup*>(grid->PlayerPopup());
    if (player == nullptr)
        return Fail(QStringLiteral("プレイヤ入力が開きません。"), error);
    Settle();
    const bool playerSaved = Save(WindowWith(frame, player), dir.filePath(QStringLiteral("player-popup.png")), error);
    grid->PostPlayerPopupDone(true);
    Settle();
    return playerSaved;
}

bool SaveRoundMenu(CMainFrame* frame, grid::CResultGrid* grid, const QDir& dir, QString* error)
{
    // A right click on the header of round 5 selects the column and opens
    // its menu, which runs its own event loop: the picture is taken from
    // inside it, and the menu closed without a command.
    const grid::GridRect cell = grid->CellRect(kCol, 0);
    const QPointF at((cell.left + cell.right) / 2.0, 8.0);
    bool saved = false;
    bool shown = false;
    QTimer::singleShot(50, frame, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        shown = true;
        saved = Save(WindowWith(frame, menu), dir.filePath(QStringLiteral("round-menu.png")), error);
        menu->close();
    });
    QMouseEvent press(QEvent::MouseButtonPress, at, grid->viewport()->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, grid->viewport()->mapToGlobal(at), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &press);
    QApplication::sendEvent(grid->viewport(), &release);
    Settle();
    grid->ClearColumnSelection();
    if (!shown)
        return Fail(QStringLiteral("ラウンドのメニューが開きません。"), error);
    return saved;
}

bool SaveDialogs(CTabryApp& app, const QDir& dir, QString* error)
{
    CMainFrame* frame = app.MainFrame();
    {
        CSettingsDialog dialog(app.Data().table, frame);
        if (!SaveDialog(dialog, dir.filePath(QStringLiteral("settings-dialog.png")), error))
            return false;
    }
    {
        CFileDetailsDialog dialog(DetailsText::FromInfo(app.Data().info), frame);
        if (!SaveDialog(dialog, dir.filePath(QStringLiteral("details-dialog.png")), error))
            return false;
    }
    {
        // As it opens for a name typed into the player editor that nobody
        // in the database has.
        CUserEditDialog dialog(app.Data().players, ValuesForTypedName("ogawa"), frame);
        if (!SaveDialog(dialog, dir.filePath(QStringLiteral("user-edit-dialog.png")), error))
            return false;
    }
    {
        // Cancelled: the dialog writes "player.db" only on OK.
        CUserDbDialog dialog(app.Editor(), ui::ToFsPath(QDir(app.ExecutableDirectory()).filePath("player.db")), frame);
        if (!SaveDialog(dialog, dir.filePath(QStringLiteral("user-db-dialog.png")), error))
            return false;
    }
    return true;
}

bool SaveLiveWindow(CMainFrame* frame, const QDir& dir, QString* error)
{
    // The live-pages window while serving. It listens on this computer only
    // and on a port nobody uses, so taking the picture (in a test too)
    // opens nothing to the network and disturbs no other server. A build
    // without the server has no such window to show.
    if (!CLiveServerController::ServerAvailable())
        return true;
    auto* live = frame->findChild<CLiveServerController*>();
    if (live == nullptr || !live->Start(QStringLiteral("127.0.0.1"), 0))
        return Fail(QStringLiteral("ライブ公開を始められません。"), error);
    live->ShowDialog();
    Settle();
    const bool saved = Save(live->Dialog()->grab().toImage(), dir.filePath(QStringLiteral("live-window.png")), error);
    live->Stop();
    live->Dialog()->hide();
    Settle();
    return saved;
}

} // namespace

bool WriteScreenshots(CTabryApp& app, const QString& directory, QString* error)
{
    QDir().mkpath(directory);
    const QDir dir(directory);
    CMainFrame* frame = app.MainFrame();
    frame->resize(kWidth, kHeight);
    frame->show();
    Settle();
    grid::CResultGrid* grid = app.View()->Grid();
    if (grid == nullptr)
        return Fail(QStringLiteral("表がありません。"), error);
    grid->SelectCell(kCol, kRow);
    Settle();
    if (!Save(frame->grab().toImage(), dir.filePath(QStringLiteral("main-window.png")), error))
        return false;
    if (!SaveEditors(frame, grid, dir, error))
        return false;
    // Back to the top of the table.
    grid->SelectCell(kCol, 0);
    grid->SelectCell(kCol, kRow);
    Settle();
    return SaveRoundMenu(frame, grid, dir, error) && SaveDialogs(app, dir, error) && SaveLiveWindow(frame, dir, error);
}

} // namespace tabry::app
