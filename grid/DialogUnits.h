#pragma once
// Dialog units: the measure the two editors' layouts are given in. A
// horizontal unit is a quarter of the dialog font's average character width,
// a vertical one an eighth of its height, so the editors keep their
// proportions with whatever Gothic face is installed.

#include <QFont>
#include <QRect>

namespace tabry::grid {

// a x b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c);

class CDialogUnits {
public:
    // Base units of `font`: the average width of the 52 ASCII letters
    // (rounded as the dialog manager rounds it) and the line height.
    explicit CDialogUnits(const QFont& font);
    // Base units given directly.
    CDialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}

    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }
    int X(int units) const { return MulDiv(units, m_baseX, 4); }
    int Y(int units) const { return MulDiv(units, m_baseY, 8); }
    // A rectangle at (x, y) of w x h units in pixels; both edges are mapped,
    // so neighbouring controls meet exactly.
    QRect Rect(int x, int y, int w, int h) const;

private:
    int m_baseX;
    int m_baseY;
};

} // namespace tabry::grid
