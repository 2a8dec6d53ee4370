#include "app/LiveServerDialog.h"

#include "app/LiveServerController.h"
#include "app/QrCodeWidget.h"
#include "live/LocalAddresses.h"
#include "widgets/Prompt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tabry::app {

CLiveServerDialog::CLiveServerDialog(CLiveServerController& controller, QWidget* parent)
    : QDialog(parent), m_controller(controller)
{
    setObjectName(QStringLiteral("liveServerDialog"));
    setWindowTitle(QStringLiteral("ライブ公開"));

    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("livePort"));
    m_port->setRange(1, 65535);
    m_port->setValue(8080);
    m_address = new QComboBox(this);
    m_address->setObjectName(QStringLiteral("liveAddress"));
    m_address->addItem(QStringLiteral("このコンピュータのすべてのアドレス"), QString());
    for (const std::string& a : live::LocalAddresses())
        m_address->addItem(QString::fromStdString(a), QString::fromStdString(a));
    m_address->addItem(QStringLiteral("127.0.0.1 (このコンピュータからのみ)"), QStringLiteral("127.0.0.1"));
    m_startStop = new QPushButton(this);
    m_startStop->setObjectName(QStringLiteral("liveStartStop"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("ポート(&P):"), m_port);
    form->addRow(QStringLiteral("待ち受けるアドレス(&A):"), m_address);

    m_urls = new QListWidget(this);
    m_urls->setObjectName(QStringLiteral("liveUrls"));
    m_urls->setMaximumHeight(90);
    m_qr = new CQrCodeWidget(this);
    auto* hint = new QLabel(QStringLiteral("同じネットワークのスマートフォンで QR コードを読み取るか、"
                                           "アドレスを開いてください。"),
                            this);
    hint->setWordWrap(true);

    m_reports = new QCheckBox(QStringLiteral("結果報告を受け付ける(&R)"), this);
    m_reports->setObjectName(QStringLiteral("liveReports"));
    m_reports->setToolTip(QStringLiteral("対局者がスマートフォンから報告コードを付けて結果を送れるようにします。\n"
                                         "報告は「結果報告の確認」で入力するまで表に入りません。"));
    m_reportStatus = new QLabel(this);
    m_reportStatus->setObjectName(QStringLiteral("liveReportStatus"));
    m_reportStatus->setWordWrap(true);
    connect(m_reports, &QCheckBox::clicked, this, &CLiveServerDialog::OnReportsToggled);
    connect(&m_controller, &CLiveServerController::reportsChanged, this, &CLiveServerDialog::RefreshReports);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_startStop, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    connect(m_startStop, &QPushButton::clicked, this, &CLiveServerDialog::OnStartStop);
    connect(m_urls, &QListWidget::currentTextChanged, m_qr, &CQrCodeWidget::SetText);
    connect(&m_controller, &CLiveServerController::runningChanged, this, &CLiveServerDialog::Refresh);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("公開中のアドレス:"), this));
    layout->addWidget(m_urls);
    layout->addWidget(m_qr, 1);
    layout->addWidget(hint);
    layout->addWidget(m_reports);
    layout->addWidget(m_reportStatus);
    layout->addWidget(buttons);
    resize(380, 520);
    Refresh();
    RefreshReports();
}

void CLiveServerDialog::OnStartStop()
{
    if (m_controller.IsRunning()) {
        m_controller.Stop();
        return;
    }
    QString error;
    if (!m_controller.Start(m_address->currentData().toString(), m_port->value(), &error))
        ui::Prompt().Error(this, error);
}

void CLiveServerDialog::OnReportsToggled(bool on)
{
    m_controller.SetReporting(on);
    RefreshReports();
}

void CLiveServerDialog::RefreshReports()
{
    m_reports->setChecked(m_controller.IsReporting());
    m_reportStatus->setVisible(m_controller.IsReporting());
    m_reportStatus->setText(m_controller.ReportStatus());
}

void CLiveServerDialog::Refresh()
{
    const bool running = m_controller.IsRunning();
    if (running) {
        m_port->setValue(m_controller.Port());
        const int index = m_address->findData(m_controller.BindAddress());
        if (index >= 0)
            m_address->setCurrentIndex(index);
    }
    m_port->setEnabled(!running);
    m_address->setEnabled(!running);
    m_startStop->setText(running ? QStringLiteral("公開を停止(&S)") : QStringLiteral("公開を開始(&S)"));
    m_urls->clear();
    m_urls->addItems(m_controller.Urls());
    if (m_urls->count() > 0)
        m_urls->setCurrentRow(0);
    else
        m_qr->SetText(QString());
}

} // namespace tabry::app
