#include "zefw32/DialogUnits.h"

#include <QString>

#include <algorithm>

DialogUnits::DialogUnits(const QFontMetrics& metrics)
{
    // The average width of the 52 Latin letters, rounded: the system's own
    // definition of a dialog font's character width.
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = std::max(1, (letters / 26 + 1) / 2);
    m_baseY = std::max(1, metrics.height());
}

QRect DialogUnits::rect(int left, int top, int width, int height) const
{
    return QRect(x(left), y(top), x(width), y(height));
}

void DialogUnits::widenToFit(int pixels, int units)
{
    if (units <= 0)
        return;
    // The smallest base for which x(units) >= pixels.
    const int needed = (8 * pixels - 4 + 2 * units - 1) / (2 * units);
    m_baseX = std::max(m_baseX, needed);
}
