#pragma once

#include <QFontMetrics>
#include <QRect>

// Converts dialog units to pixels from the dialog font's metrics, as dialog
// templates expect: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height. The layout thus
// keeps its proportions at any font size and scale factor.
class DialogUnits {
public:
    explicit DialogUnits(const QFontMetrics& metrics);

    int x(int units) const { return scale(units, m_baseX, 4); }
    int y(int units) const { return scale(units, m_baseY, 8); }
    QRect rect(int left, int top, int width, int height) const;

    // Widens the horizontal unit, when needed, so that pixels fit into that
    // many units: a font whose ideographs are wide for its Latin letters
    // would otherwise clip the labels.
    void widenToFit(int pixels, int units);

    int baseX() const { return m_baseX; }
    int baseY() const { return m_baseY; }

private:
    // units * base / divisor, rounded to the nearest pixel.
    static int scale(int units, int base, int divisor) { return (units * base * 2 + divisor) / (divisor * 2); }

    int m_baseX;
    int m_baseY;
};
