#include "app/LiveServerController.h"

#include "app/LiveServerDialog.h"
#include "core/TournamentData.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>

namespace tabry::app {

namespace {
// Whether tabry_live is the real server or the stand-in of a build without
// libmicrohttpd, whose refusal is not about the port.
constexpr bool kHaveLiveServer = TABRY_HAVE_LIVE_SERVER != 0;
} // namespace

CLiveServerController::CLiveServerController(const TournamentData& data, QWidget* window)
    : QObject(window), m_data(data), m_window(window)
{
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
    if (m_server.IsRunning())
        m_server.Publish(data);
}

bool CLiveServerController::Start(const QString& bindAddress, int port, QString* error)
{
    live::ServerOptions options;
    options.bindAddress = bindAddress.toStdString();
    options.port = static_cast<std::uint16_t>(port);
    m_server.Publish(m_data);
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
    m_pane->setText(urls.isEmpty() ? QString() : QStringLiteral("ライブ公開中: %1").arg(urls.first()));
}

} // namespace tabry::app
