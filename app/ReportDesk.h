#pragma once
// The desk's side of the results reported from the boards' phones: the
// waiting list the live server fills, what the organiser does with it
// (accept: the game is written through the editor as if typed; reject), the
// status-bar count, the marks of the grid's waiting cells, and the crash
// journal's copy of the list. The server's threads tell of a new report;
// the desk hears of it on the GUI thread.

#include "app/ReportReviewLogic.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QStatusBar;
class QWidget;

namespace tabry {
class CReportInbox;
class CJournalKeeper;
class CTournamentEditor;
struct TournamentData;
} // namespace tabry

namespace tabry::app {

class CReportReviewDialog;

class CReportDesk : public QObject {
    Q_OBJECT

public:
    // `window` owns the review dialog and the menu command.
    CReportDesk(CTournamentEditor& editor, QWidget* window);
    ~CReportDesk() override;

    const TournamentData& Data() const;
    // The waiting list the server fills while reporting is on.
    const std::shared_ptr<CReportInbox>& Inbox() const { return m_inbox; }

    // "結果報告の確認(&C)..." (Ctrl+R), which opens the review window.
    QAction* Action() const { return m_action; }
    void ShowDialog();
    CReportReviewDialog* Dialog() const;
    // Adds the pane that counts the reports waiting.
    void AttachStatusBar(QStatusBar* bar);

    std::vector<PendingReport> Pending() const;
    // Writes the report's game through the editor (one undoable step, asked
    // like a typed one) and takes it from the list. False, with the reason
    // told, when the editor refuses it or its board holds no game any more.
    bool Accept(std::uint64_t id, QWidget* parent);
    void Reject(std::uint64_t id);
    // The refusals of the server by kind, one line for the windows' status.
    QString RefusalSummary() const;

    // The list is kept beside the journal's recovery file from now on.
    void KeepInJournal(CJournalKeeper* keeper);
    // Puts back the list a journal kept (after a crash); false when there
    // was none or it could not be read.
    bool RestoreFromJournal(const std::filesystem::path& recoveryFile);

signals:
    // The waiting list or its counters changed (on the GUI thread).
    void changed();

private:
    void OnInboxChanged();

    CTournamentEditor& m_editor;
    QWidget* m_window;
    std::shared_ptr<CReportInbox> m_inbox;
    QAction* m_action;
    QPointer<QLabel> m_pane;
    QPointer<CReportReviewDialog> m_dialog;
    CJournalKeeper* m_keeper = nullptr;
    int m_listener = 0;
    std::uint64_t m_answered = 0; // reports answered, refused or not, when last told
};

} // namespace tabry::app
