#pragma once
// A QR code of one text (the address players scan), drawn module by module:
// dark on white with the four-module quiet zone, whatever the colour scheme,
// since phone cameras read that best.

#include <QWidget>

#include <vector>

namespace tabry::app {

class CQrCodeWidget : public QWidget {
    Q_OBJECT

public:
    explicit CQrCodeWidget(QWidget* parent = nullptr);

    // Shows the QR code of `text` (paper::QrModules); an empty text, or one
    // too long for a QR code, shows nothing.
    void SetText(const QString& text);
    QString Text() const { return m_text; }
    // Modules per side, 0 when nothing is shown.
    int ModuleCount() const;
    bool IsDark(int x, int y) const;

    QSize sizeHint() const override { return {220, 220}; }
    QSize minimumSizeHint() const override { return {120, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    std::vector<std::vector<bool>> m_modules; // row by row
};

} // namespace tabry::app
