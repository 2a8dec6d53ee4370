#pragma once
// The fixed colours and the two fonts of the results grid and the view's
// title strip. The colours never change; the fonts are chosen once, after the
// application object exists, from the Japanese Gothic faces installed.

#include <QColor>
#include <QFont>
#include <QStringList>

namespace tabry::grid {

struct GridPalette {
    static constexpr QRgb kBackground = qRgb(255, 255, 255);   // the grid's own background and cell fill
    static constexpr QRgb kBorder = qRgb(120, 120, 120);       // cell border lines
    static constexpr QRgb kCurrentFrame = qRgb(12, 12, 12);    // frame of the current cell
    static constexpr QRgb kSelectedFill = qRgb(165, 165, 210); // data cells of the selected column
    static constexpr QRgb kEmptyArea = qRgb(236, 236, 236);    // where no cell is drawn
    static constexpr QRgb kHeaderFill = qRgb(210, 210, 210);   // corner, row numbers, column headers
    static constexpr QRgb kHeaderHighlight = qRgb(255, 255, 255);
    static constexpr QRgb kSelectedHeader = qRgb(64, 64, 128);
    static constexpr QRgb kText = qRgb(0, 0, 0);
    static constexpr QRgb kSelectedHeaderText = qRgb(255, 255, 255);
    static constexpr QRgb kWithdrawnFill = qRgb(224, 224, 224); // round cells after a player withdrew
    static constexpr QRgb kWithdrawnText = qRgb(128, 128, 128);
    static constexpr QRgb kReportWaiting = qRgb(230, 120, 0); // corner of a cell whose board reported a result
};

// Every text of the grid: a fixed-pitch Gothic face, 13 pixels high.
const QFont& GridFont();
// The view's title strip: the proportional Gothic face, 13 pixels high.
const QFont& TitleFont();

// The two editors' dialog fonts: the player editor's fixed-pitch Gothic at
// 10 points, the result editor's proportional Gothic at 9 points (in pixels
// as at 96 dots per inch, like every other measure of the grid).
const QFont& PlayerPopupFont();
const QFont& ResultPopupFont();

// The first of `candidates` that is installed, or an empty string.
QString FirstInstalledFamily(const QStringList& candidates);
// The faces tried, best first.
QStringList GridFontCandidates();
QStringList TitleFontCandidates();

} // namespace tabry::grid
