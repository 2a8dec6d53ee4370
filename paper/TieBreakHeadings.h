#pragma once
// Column headings of the tie-break values in the printed documents.

#include <string>
#include <vector>

namespace tabry::paper {

// The headings of the one or two tie-break values of `method`, in the order
// TieBreakTexts gives the values (Shift_JIS): "ブライトウェル", "勝数Ａ",
// "勝数Ｂ", "二次Ａ", "二次Ｂ", and "石差" or, when discs are shown as counts,
// "石数".
std::vector<std::string> TieBreakHeadings(int method, bool showDiscDifference);

} // namespace tabry::paper
