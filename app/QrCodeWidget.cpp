#include "app/QrCodeWidget.h"

#include "paper/QrCode.h"

#include <QPainter>

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
    m_modules = paper::QrModules(text.toStdString());
    update();
}

int CQrCodeWidget::ModuleCount() const
{
    return static_cast<int>(m_modules.size());
}

bool CQrCodeWidget::IsDark(int x, int y) const
{
    if (x < 0 || y < 0 || x >= ModuleCount() || y >= ModuleCount())
        return false;
    return m_modules[static_cast<size_t>(y)][static_cast<size_t>(x)];
}

void CQrCodeWidget::paintEvent(QPaintEvent*)
{
    const int n = ModuleCount();
    if (n == 0)
        return;
    QPainter p(this);
    const int total = n + 2 * kQuietZone;
    const int module = std::max(1, std::min(width(), height()) / total);
    const int side = module * total;
    const QPoint origin((width() - side) / 2, (height() - side) / 2);
    p.fillRect(QRect(origin, QSize(side, side)), Qt::white);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (IsDark(x, y))
                p.fillRect(origin.x() + (x + kQuietZone) * module, origin.y() + (y + kQuietZone) * module, module,
                           module, Qt::black);
}

} // namespace tabry::app
