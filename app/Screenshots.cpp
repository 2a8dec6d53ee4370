#include "app/Screenshots.h"

#include "app/LiveServerController.h"
#include "app/MainFrame.h"
#include "app/TabryApp.h"
#include "app/TabryDoc.h"
#include "grid/ResultGrid.h"
#include "grid/ResultPopup.h"
#include "grid/TabryView.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>

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

bool Save(const QImage& image, const QString& path, QString* error)
{
    if (image.save(path, "PNG"))
        return true;
    if (error != nullptr)
        *error = QStringLiteral("%1 を書き込めません。").arg(QDir::toNativeSeparators(path));
    return false;
}

bool WriteLiveWindowPicture(CMainFrame* frame, const QDir& dir, QString* error)
{
    // The live-pages window while serving. It listens on this computer only
    // and on a port nobody uses, so taking the picture (in a test too)
    // opens nothing to the network and disturbs no other server.
    auto* live = frame->findChild<CLiveServerController*>();
    if (live == nullptr || !live->Start(QStringLiteral("127.0.0.1"), 0)) {
        if (error != nullptr)
            *error = QStringLiteral("ライブ公開を始められません。");
        return false;
    }
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
    if (grid == nullptr) {
        if (error != nullptr)
            *error = QStringLiteral("表がありません。");
        return false;
    }
    grid->SelectCell(kCol, kRow);
    Settle();
    if (!Save(frame->grab().toImage(), dir.filePath(QStringLiteral("main-window.png")), error))
        return false;

    // The organiser has typed the score, then the first letters of the
    // opponent; the list offers every player whose name begins so.
    grid->OpenResultPopup(QStringLiteral("+"), false);
    auto* popup = dynamic_cast<grid::CResultPopup*>(grid->ResultPopup());
    if (popup == nullptr) {
        if (error != nullptr)
            *error = QStringLiteral("結果入力が開きません。");
        return false;
    }
    popup->ScoreEdit()->setText(QStringLiteral("+12"));
    popup->NameEdit()->setFocus(Qt::OtherFocusReason);
    popup->NameEdit()->setText(QStringLiteral("ya"));
    Settle();
    // The editor is a window of its own; it is drawn where it stands over
    // the main window.
    QImage shot = frame->grab().toImage();
    {
        QPainter p(&shot);
        p.drawImage(frame->mapFromGlobal(popup->pos()), popup->grab().toImage());
    }
    const bool saved = Save(shot, dir.filePath(QStringLiteral("result-popup.png")), error);
    grid->PostResultPopupDone(true);
    Settle();
    return saved && WriteLiveWindowPicture(frame, dir, error);
}

} // namespace tabry::app
