#include "grid/DialogUnits.h"

#include <QFontMetrics>

#include <algorithm>
#include <cstdlib>

namespace tabry::grid {

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long half = std::llabs(static_cast<long long>(c)) / 2;
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude = (std::llabs(product) + half) / std::llabs(static_cast<long long>(c));
    return static_cast<int>(negative ? -magnitude : magnitude);
}

CDialogUnits::CDialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = std::max((width / 26 + 1) / 2, 1);
    m_baseY = std::max(metrics.height(), 1);
}

QRect CDialogUnits::Rect(int x, int y, int w, int h) const
{
    const int left = X(x);
    const int top = Y(y);
    return {left, top, X(x + w) - left, Y(y + h) - top};
}

} // namespace tabry::grid
