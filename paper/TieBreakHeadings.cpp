#include "paper/TieBreakHeadings.h"

#include "core/ResultTable.h"
#include "text/Cp932.h"

namespace tabry::paper {

std::vector<std::string> TieBreakHeadings(int method, bool showDiscDifference)
{
    // The same order as the values: Brightwell, win points, secondary points, discs.
    std::vector<std::string> headings;
    method = EffectiveTieBreak(method);
    if (method == Brightwell)
        headings.push_back(SJ("ブライトウェル"));
    if (method == WinPointsA || method == WinPointsASecondary || method == WinPointsADisc)
        headings.push_back(SJ("勝数Ａ"));
    if (method == WinPointsB || method == WinPointsBSecondary || method == WinPointsBDisc)
        headings.push_back(SJ("勝数Ｂ"));
    if (method == WinPointsASecondary)
        headings.push_back(SJ("二次Ａ"));
    if (method == WinPointsBSecondary)
        headings.push_back(SJ("二次Ｂ"));
    if (method == DiscDifference || method == Brightwell || method == WinPointsADisc || method == WinPointsBDisc)
        headings.push_back(showDiscDifference ? SJ("石差") : SJ("石数"));
    return headings;
}

} // namespace tabry::paper
