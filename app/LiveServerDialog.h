#pragma once
// The live-pages window: port and address, start and stop, and while the
// pages are served their addresses as text and the chosen one as a QR code
// for the players to scan. Modeless, so it can stay open beside the grid or
// on a second screen. Here the organiser also lets the players report their
// results from their phones (the desk confirms each in 結果報告の確認), and
// sees how many reports the server refused.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace tabry::app {

class CLiveServerController;
class CQrCodeWidget;

class CLiveServerDialog : public QDialog {
    Q_OBJECT

public:
    CLiveServerDialog(CLiveServerController& controller, QWidget* parent);

    CQrCodeWidget* QrCode() const { return m_qr; }
    QCheckBox* ReportsBox() const { return m_reports; }

private:
    void OnStartStop();
    void Refresh();
    void OnReportsToggled(bool on);
    void RefreshReports();

    CLiveServerController& m_controller;
    QSpinBox* m_port;
    QComboBox* m_address;
    QPushButton* m_startStop;
    QListWidget* m_urls;
    CQrCodeWidget* m_qr;
    QCheckBox* m_reports;
    QLabel* m_reportStatus;
};

} // namespace tabry::app
