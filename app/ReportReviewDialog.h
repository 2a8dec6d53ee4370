#pragma once
// "結果報告の確認": the results reported from the boards' phones that wait
// for the desk, one line each (board, players, counts, time, agreed or in
// conflict). Enter accepts the highlighted report (its game is written as if
// typed) and highlights the next; Delete rejects it. Modeless, and kept up
// to date while reports arrive.

#include <QDialog>

class QLabel;
class QTableWidget;

namespace tabry::app {

class CReportDesk;

class CReportReviewDialog : public QDialog {
    Q_OBJECT

public:
    CReportReviewDialog(CReportDesk& desk, QWidget* parent);

    QTableWidget* List() const { return m_list; }
    // Accepts or rejects the highlighted report, as Enter and Delete do.
    void AcceptCurrent();
    void RejectCurrent();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();

    CReportDesk& m_desk;
    QTableWidget* m_list;
    QLabel* m_status;
};

} // namespace tabry::app
