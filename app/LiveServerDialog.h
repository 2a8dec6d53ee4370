#pragma once
// The live-pages window: port and address, start and stop, and while the
// pages are served their addresses as text and the chosen one as a QR code
// for the players to scan. Modeless, so it can stay open beside the grid or
// on a second screen.

#include <QDialog>

class QComboBox;
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

private:
    void OnStartStop();
    void Refresh();

    CLiveServerController& m_controller;
    QSpinBox* m_port;
    QComboBox* m_address;
    QPushButton* m_startStop;
    QListWidget* m_urls;
    CQrCodeWidget* m_qr;
};

} // namespace tabry::app
