#include "app/ReportReviewDialog.h"

#include "app/ReportDesk.h"
#include "app/ReportReviewLogic.h"
#include "widgets/TextCodec.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tabry::app {

namespace {

constexpr int kIdRole = Qt::UserRole;

} // namespace

CReportReviewDialog::CReportReviewDialog(CReportDesk& desk, QWidget* parent) : QDialog(parent), m_desk(desk)
{
    setObjectName(QStringLiteral("reportReviewDialog"));
    setWindowTitle(QStringLiteral("結果報告の確認"));

    m_list = new QTableWidget(0, 6, this);
    m_list->setObjectName(QStringLiteral("reportList"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("盤"), QStringLiteral("左の対局者"), QStringLiteral("右の対局者"),
                                       QStringLiteral("石数"), QStringLiteral("時刻"), QStringLiteral("状態")});
    m_list->verticalHeader()->hide();
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->installEventFilter(this);

    auto* hint = new QLabel(QStringLiteral("Enter で選んだ報告を結果として入力し、Delete で取り消します。"
                                           "入力するまで表は変わりません。"),
                            this);
    hint->setWordWrap(true);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("reportReviewStatus"));
    m_status->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    connect(&m_desk, &CReportDesk::changed, this, &CReportReviewDialog::Refresh);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(hint);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
    resize(560, 360);
    Refresh();
}

bool CReportReviewDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            AcceptCurrent();
            return true;
        }
        if (key == Qt::Key_Delete) {
            RejectCurrent();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CReportReviewDialog::AcceptCurrent()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    // The list follows the desk's change; the same line number is then the
    // report after the accepted one.
    if (m_desk.Accept(m_list->item(row, 0)->data(kIdRole).toULongLong(), this))
        m_list->selectRow(std::min(row, m_list->rowCount() - 1));
}

void CReportReviewDialog::RejectCurrent()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    m_desk.Reject(m_list->item(row, 0)->data(kIdRole).toULongLong());
    m_list->selectRow(std::min(row, m_list->rowCount() - 1));
}

void CReportReviewDialog::Refresh()
{
    const QTableWidgetItem* current =
        m_list->currentItem() != nullptr ? m_list->item(m_list->currentRow(), 0) : nullptr;
    const qulonglong currentId = current != nullptr ? current->data(kIdRole).toULongLong() : 0;
    const int currentRow = m_list->currentRow();

    const std::vector<PendingReport> reports = m_desk.Pending();
    m_list->setRowCount(static_cast<int>(reports.size()));
    int keep = -1;
    for (int i = 0; i < static_cast<int>(reports.size()); ++i) {
        const PendingReport& report = reports[static_cast<std::size_t>(i)];
        const ReviewLine line = ReviewLineOf(m_desk.Data(), report);
        const QString when = QDateTime::fromSecsSinceEpoch(report.when).toString(QStringLiteral("HH:mm:ss"));
        const QString texts[] = {ui::ToQString(line.board),
                                 ui::ToQString(line.left),
                                 ui::ToQString(line.right),
                                 ui::ToQString(line.result),
                                 when,
                                 ui::ToQString(line.state)};
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            if (c == 0)
                item->setData(kIdRole, QVariant::fromValue<qulonglong>(report.id));
            if (report.state == PendingReport::State::Conflict)
                item->setForeground(QColor(176, 0, 0));
            m_list->setItem(i, c, item);
        }
        if (report.id == currentId)
            keep = i;
    }
    if (m_list->rowCount() > 0)
        m_list->selectRow(keep >= 0 ? keep : std::clamp(currentRow, 0, m_list->rowCount() - 1));
    m_status->setText(QStringLiteral("確認待ち %1 件。%2").arg(reports.size()).arg(m_desk.RefusalSummary()));
}

} // namespace tabry::app
