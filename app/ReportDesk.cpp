#include "app/ReportDesk.h"

#include "app/ReportReviewDialog.h"
#include "core/TournamentData.h"
#include "edit/RecoveryJournal.h"
#include "edit/TournamentEditor.h"
#include "live/ReportInbox.h"
#include "widgets/Prompt.h"
#include "widgets/TextCodec.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include <numeric>

namespace tabry::app {

CReportDesk::CReportDesk(CTournamentEditor& editor, QWidget* window)
    : QObject(window), m_editor(editor), m_window(window), m_inbox(std::make_shared<CReportInbox>())
{
    m_action = new QAction(QStringLiteral("結果報告の確認(&C)..."), window);
    m_action->setObjectName(QStringLiteral("actionReviewReports"));
    m_action->setStatusTip(QStringLiteral("対局者が送った結果を確認して入力"));
    m_action->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    connect(m_action, &QAction::triggered, this, &CReportDesk::ShowDialog);
    // Reports are checked against the tournament as it stands (its key, its
    // current round, the boards with a result by now): the live server sets
    // that with every publication, and only the server takes reports.
    m_listener = m_editor.AddListener(ListenerRank::LivePages, [this](const ChangeEvent& event) {
        // Another tournament: the reports of the one before are no longer
        // anybody's (a restored one brings its own back, RestoreFromJournal).
        if (event.kind == ChangeKind::Reset && m_inbox->PendingCount() > 0)
            m_inbox->Restore({});
    });
    // Called on the server's threads: the desk looks at the list on its own.
    // A refused report changes no list, only a count: the windows' status
    // follows the counts once a second.
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this] {
        const auto counts = m_inbox->Counts();
        const std::uint64_t total = std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
        if (total != m_answered) {
            m_answered = total;
            emit changed();
        }
    });
    poll->start(1000);
    m_inbox->SetOnChange(
        [this] { QMetaObject::invokeMethod(this, &CReportDesk::OnInboxChanged, Qt::QueuedConnection); });
}

CReportDesk::~CReportDesk()
{
    m_editor.RemoveListener(m_listener);
    m_inbox->SetOnChange({});
}

const TournamentData& CReportDesk::Data() const
{
    return m_editor.Data();
}

CReportReviewDialog* CReportDesk::Dialog() const
{
    return m_dialog;
}

void CReportDesk::ShowDialog()
{
    if (m_dialog == nullptr)
        m_dialog = new CReportReviewDialog(*this, m_window);
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void CReportDesk::AttachStatusBar(QStatusBar* bar)
{
    m_pane = new QLabel(bar);
    m_pane->setObjectName(QStringLiteral("reportStatus"));
    bar->addPermanentWidget(m_pane);
    OnInboxChanged();
}

std::vector<PendingReport> CReportDesk::Pending() const
{
    return m_inbox->Pending();
}

bool CReportDesk::Accept(std::uint64_t id, QWidget* parent)
{
    for (const PendingReport& report : Pending()) {
        if (report.id != id)
            continue;
        const std::optional<ReportedGame> game = GameOfReport(Data(), report);
        if (!game) {
            ui::Prompt().Error(parent, QStringLiteral("第 %1 回戦の %2 番の盤には対局がありません。\n"
                                                      "この報告は入力できません。")
                                           .arg(report.round)
                                           .arg(report.board));
            return false;
        }
        // A result typed at the desk meanwhile is not replaced without a word.
        const ResultCell& cell = Data().table.Cell(game->row, game->round);
        if (cell.opponent == game->opponent && cell.result != ResultNone
            && (cell.result != game->result || cell.disc != game->disc)
            && !ui::Prompt().Confirm(parent, QStringLiteral("第 %1 回戦の %2 番の盤にはもう結果が入っています。\n"
                                                            "報告の結果 (%3 - %4) で置き換えますか?")
                                                 .arg(report.round)
                                                 .arg(report.board)
                                                 .arg(report.first)
                                                 .arg(report.second)))
            return false;
        const ChangeEffects fx = m_editor.SetGame(
            game->row, game->round, game->opponent, game->result, game->disc,
            [parent](const std::string& question) { return ui::Prompt().Confirm(parent, ui::ToQString(question)); });
        if (fx.refusal) {
            const std::string text = RefusalText(fx.refusal, Data());
            if (!text.empty())
                ui::Prompt().Error(parent, ui::ToQString(text));
            return false;
        }
        m_inbox->Accept(id);
        OnInboxChanged();
        return true;
    }
    return false;
}

void CReportDesk::Reject(std::uint64_t id)
{
    m_inbox->Reject(id);
    OnInboxChanged();
}

QString CReportDesk::RefusalSummary() const
{
    const auto counts = m_inbox->Counts();
    auto count = [&](ReportOutcome outcome) { return counts[static_cast<std::size_t>(outcome)]; };
    return QStringLiteral("受け付けなかった報告: 報告コード違い %1、一時停止中 %2、回戦違い %3、入力済み %4、"
                          "不正な内容 %5、送信過多 %6、不正な送信 %7")
        .arg(count(ReportOutcome::WrongCode))
        .arg(count(ReportOutcome::LockedOut))
        .arg(count(ReportOutcome::WrongRound))
        .arg(count(ReportOutcome::Decided))
        .arg(count(ReportOutcome::Invalid))
        .arg(count(ReportOutcome::Limited))
        .arg(count(ReportOutcome::Refused));
}

void CReportDesk::KeepInJournal(CJournalKeeper* keeper)
{
    m_keeper = keeper;
    OnInboxChanged();
}

bool CReportDesk::RestoreFromJournal(const std::filesystem::path& recoveryFile)
{
    std::string bytes;
    if (!CRecoveryJournal::ReadReports(recoveryFile, bytes) || m_inbox->Restore(bytes) == 0)
        return false;
    OnInboxChanged();
    return true;
}

void CReportDesk::OnInboxChanged()
{
    if (m_keeper != nullptr)
        m_keeper->SetWaitingReports(m_inbox->PendingCount() > 0 ? m_inbox->Serialize() : std::string());
    if (m_pane != nullptr) {
        const std::size_t waiting = m_inbox->PendingCount();
        m_pane->setVisible(waiting > 0);
        m_pane->setText(QStringLiteral("結果報告 %1 件").arg(waiting));
    }
    emit changed();
}

} // namespace tabry::app
