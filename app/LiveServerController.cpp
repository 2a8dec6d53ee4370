#include "app/LiveServerController.h"

#include "app/LiveServerDialog.h"
#include "app/ReportDesk.h"
#include "core/ReportCode.h"
#include "core/TournamentData.h"
#include "edit/TournamentEditor.h"
#include "live/ReportInbox.h"
#include "widgets/Prompt.h"
#include "widgets/TextCodec.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>

namespace tabry::app {

namespace {
// Whether tabry_live is the real server or the stand-in of a build without
// libmicrohttpd, whose refusal is not about the port.
constexpr bool kHaveLiveServer = TABRY_HAVE_LIVE_SERVER != 0;
} // namespace

bool ParseServeAddress(const QString& text, QString& address, int& port)
{
    const qsizetype colon = text.lastIndexOf(':');
    if (colon < 0)
        return false;
    bool ok = false;
    port = text.mid(colon + 1).toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return false;
    address = text.left(colon);
    if (address.startsWith('[') && address.endsWith(']'))
        address = address.mid(1, address.size() - 2);
    return !address.contains(':') || text.startsWith('[');
}

CLiveServerController::CLiveServerController(CTournamentEditor& editor, CReportDesk& reports, QWidget* window)
    : QObject(window), m_editor(editor), m_reports(reports), m_data(editor.Data()), m_window(window)
{
    connect(&m_reports, &CReportDesk::changed, this, &CLiveServerController::reportsChanged);
    m_action = new QAction(QStringLiteral("ライブ公開(&L)..."), window);
    m_action->setObjectName(QStringLiteral("actionLivePublish"));
    m_action->setStatusTip(QStringLiteral("組み合わせと順位を会場のネットワークに公開"));
    connect(m_action, &QAction::triggered, this, &CLiveServerController::ShowDialog);
}

CLiveServerController::~CLiveServerController()
{
    m_server.Stop();
}

void CLiveServerController::AttachStatusBar(QStatusBar* bar)
{
    m_pane = new QLabel(bar);
    m_pane->setObjectName(QStringLiteral("liveStatus"));
    m_pane->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bar->addPermanentWidget(m_pane);
    UpdatePane();
}

bool CLiveServerController::ServerAvailable()
{
    return kHaveLiveServer;
}

void CLiveServerController::Publish(const TournamentData& data)
{
    // An undo may have switched reporting.
    UpdateInbox();
    if (IsReporting() != m_wasReporting) {
        m_wasReporting = IsReporting();
        UpdatePane();
        emit reportsChanged();
    }
    if (m_server.IsRunning())
        m_server.Publish(data);
}

bool CLiveServerController::IsReporting() const
{
    return !m_data.info.reportingKey.empty();
}

void CLiveServerController::SetReporting(bool on)
{
    if (on == IsReporting())
        return;
    const ChangeEffects fx = m_editor.SetReportingKey(on ? NewReportingKey() : std::string());
    const std::string refusal = RefusalText(fx.refusal, m_data);
    if (!refusal.empty())
        ui::Prompt().Error(m_dialog, ui::ToQString(refusal));
    UpdateInbox();
    m_wasReporting = IsReporting();
    UpdatePane();
    emit reportsChanged();
}

QString CLiveServerController::ReportStatus() const
{
    return m_reports.RefusalSummary();
}

void CLiveServerController::UpdateInbox()
{
    m_server.SetReportInbox(IsReporting() ? m_reports.Inbox() : nullptr);
}

bool CLiveServerController::Start(const QString& bindAddress, int port, QString* error)
{
    live::ServerOptions options;
    options.bindAddress = bindAddress.toStdString();
    options.port = static_cast<std::uint16_t>(port);
    m_server.Publish(m_data);
    UpdateInbox();
    std::string reason;
    const bool started = m_server.Start(options, &reason);
    m_bind = bindAddress;
    if (!started && error != nullptr && !kHaveLiveServer)
        *error = QStringLiteral("この版の TORVA はライブ配信に対応していません。");
    else if (!started && error != nullptr)
        *error = QStringLiteral("ポート %1 で公開を始められません。\n他のプログラムが使っているか、"
                                "このアドレスで待ち受けできません。\n(%2)")
                     .arg(port)
                     .arg(QString::fromStdString(reason));
    UpdatePane();
    emit runningChanged(IsRunning());
    return started;
}

void CLiveServerController::Stop()
{
    m_server.Stop();
    UpdatePane();
    emit runningChanged(false);
}

QStringList CLiveServerController::Urls() const
{
    QStringList urls;
    for (const std::string& url : m_server.Urls())
        urls << QString::fromStdString(url);
    return urls;
}

void CLiveServerController::ShowDialog()
{
    if (m_dialog == nullptr)
        m_dialog = new CLiveServerDialog(*this, m_window);
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void CLiveServerController::UpdatePane()
{
    if (m_pane == nullptr)
        return;
    const QStringList urls = Urls();
    m_pane->setVisible(!urls.isEmpty());
    const QString reporting = IsReporting() ? QStringLiteral(" (結果報告受付中)") : QString();
    m_pane->setText(urls.isEmpty() ? QString() : QStringLiteral("ライブ公開中: %1%2").arg(urls.first(), reporting));
}

} // namespace tabry::app
