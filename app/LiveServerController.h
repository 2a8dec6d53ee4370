#pragma once
// The desktop program's side of the live pages: the "ライブ公開(&L)..."
// command, the status-bar pane while the pages are served, the window with
// the addresses and their QR code, and the server itself. The server runs
// only while the organiser has it on and stops with the main window.

#include "app/LiveServerDialog.h"
#include "live/LiveServer.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QAction;
class QLabel;
class QStatusBar;
class QWidget;

namespace tabry {
class CTournamentEditor;
struct TournamentData;
} // namespace tabry

namespace tabry::app {

class CReportDesk;

// "ADDR:PORT" as --serve takes it: "127.0.0.1:8080", "[::1]:8080", or
// ":8080" for every address of the machine. False for anything else.
bool ParseServeAddress(const QString& text, QString& address, int& port);

class CLiveServerController : public QObject {
    Q_OBJECT

public:
    // The tournament is what Start publishes first; `reports` takes the
    // players' reports while the tournament has a reporting key; `window`
    // owns the dialog.
    CLiveServerController(CTournamentEditor& editor, CReportDesk& reports, QWidget* window);
    ~CLiveServerController() override;

    // "ライブ公開(&L)...", which opens the window.
    QAction* Action() const { return m_action; }
    // Adds the pane that shows the address while the pages are served.
    void AttachStatusBar(QStatusBar* bar);

    // Publishes the tournament as it is now to the open pages; nothing
    // while the server is off. Cheap enough to follow every edit.
    void Publish(const TournamentData& data);

    // False in a build without the server (TABRY_WITH_LIVE=OFF), where
    // Start always refuses.
    static bool ServerAvailable();
    // bindAddress "" listens on every address of the machine.
    bool Start(const QString& bindAddress, int port, QString* error = nullptr);
    void Stop();
    bool IsRunning() const { return m_server.IsRunning(); }
    QStringList Urls() const;
    // What the running server listens on ("" for every address, port 0
    // when stopped).
    QString BindAddress() const { return m_bind; }
    int Port() const { return m_server.Port(); }

    CLiveServerDialog* Dialog() const { return m_dialog; }
    void ShowDialog();

    // Whether the players may report results: the tournament has a
    // reporting key. Switching it on gives the tournament a new key,
    // switching it off removes it, each one step of the editor.
    bool IsReporting() const;
    void SetReporting(bool on);
    // The refusals of reports so far, for the window's status.
    QString ReportStatus() const;

signals:
    void runningChanged(bool running);
    // Reporting was switched, or the counts of the reports changed.
    void reportsChanged();

private:
    void UpdatePane();
    // The server takes reports exactly while the tournament has a key.
    void UpdateInbox();

    CTournamentEditor& m_editor;
    CReportDesk& m_reports;
    const TournamentData& m_data;
    QWidget* m_window;
    QAction* m_action;
    QPointer<QLabel> m_pane;
    QPointer<CLiveServerDialog> m_dialog;
    QString m_bind;
    bool m_wasReporting = false;
    live::CLiveServer m_server;
};

} // namespace tabry::app
