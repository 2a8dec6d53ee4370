#include "app/QrCodeWidget.h"

#include <QPainter>

#include <qrencode.h>

namespace tabry::app {

namespace {
constexpr int kQuietZone = 4; // modules of white around the code
}

CQrCodeWidget::CQrCodeWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("liveQr"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CQrCodeWidget::SetText(const QString& text)
{
    m_text = text;
    m_size = 0;
    m_modules.clear();
    const QByteArray bytes = text.toUtf8();
    QRcode* code = bytes.isEmpty() ? nullptr : QRcode_encodeString8bit(bytes.constData(), 0, QR_ECLEVEL_M);
    if (code != nullptr) {
        m_size = code->width;
        m_modules.resize(static_cast<size_t>(m_size) * static_cast<size_t>(m_size));
        for (size_t i = 0; i < m_modules.size(); ++i)
            m_modules[i] = (code->data[i] & 1) != 0; // bit 0 is the module's colour
        QRcode_free(code);
    }
    update();
}

bool CQrCodeWidget::IsDark(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_size || y >= m_size)
        return false;
    return m_modules[static_cast<size_t>(y) * static_cast<size_t>(m_size) + static_cast<size_t>(x)];
}

void CQrCodeWidget::paintEvent(QPaintEvent*)
{
    if (m_size == 0)
        return;
    QPainter p(this);
    const int total = m_size + 2 * kQuietZone;
    const int module = std::max(1, std::min(width(), height()) / total);
    const int side = module * total;
    const QPoint origin((width() - side) / 2, (height() - side) / 2);
    p.fillRect(QRect(origin, QSize(side, side)), Qt::white);
    for (int y = 0; y < m_size; ++y)
        for (int x = 0; x < m_size; ++x)
            if (IsDark(x, y))
                p.fillRect(origin.x() + (x + kQuietZone) * module, origin.y() + (y + kQuietZone) * module, module,
                           module, Qt::black);
}

} // namespace tabry::app
