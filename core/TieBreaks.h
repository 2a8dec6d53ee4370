#pragma once
// The tie-break methods as one table: per method its text in the settings
// list, the values it compares after the points (in order, each larger
// first) and the values the standings show beside the points. The
// comparison of rows, the report texts, the printed headings and the live
// pages all read it, so a new method is one row here.

#include "core/ResultTable.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tabry {

// A value a method compares or shows.
enum class TieValue {
    Disc,       // discTotal: the disc difference (or count, by the display mode)
    Brightwell, // brightwell, in units of 0.05
    WinPointsA, // winPointsA, half points
    SecondaryA, // secondaryA, half points
    WinPointsB, // winPointsB, half points
    SecondaryB, // secondaryB, half points
};

struct TieBreakMethodInfo {
    TieBreakMethod method;
    std::string_view name; // the settings list's text, UTF-8
    TieValue keys[2];
    int keyCount;
    TieValue shown[2];
    int shownCount;

    std::span<const TieValue> Keys() const { return {keys, static_cast<size_t>(keyCount)}; }
    std::span<const TieValue> Shown() const { return {shown, static_cast<size_t>(shownCount)}; }
};

// The row of a method; a method outside the table reads as disc difference
// (see EffectiveTieBreak).
const TieBreakMethodInfo& TieBreakMethodOf(int method);

// The stored value of a row.
std::int32_t TieValueOf(const PlayerEntry& entry, TieValue value);

// The heading of a value wherever it is shown (paper, pages), Shift_JIS:
// "石差" or "石数" by the display mode, "ブライトウェル", "勝数Ａ", "二次Ａ",
// "勝数Ｂ", "二次Ｂ".
const std::string& TieValueCaption(TieValue value, bool showDiscDifference);

// The headings of the values a method shows, in their order (Shift_JIS).
std::vector<std::string> TieBreakCaptions(int method, bool showDiscDifference);

// The value as a plain decimal number (what the JSON of the pages carries):
// half points as "3.5" or "3", the Brightwell score with two decimals, the
// disc difference as a signed integer, or the disc count ("97.5") when the
// table shows counts.
std::string TieValueNumber(const PlayerEntry& entry, TieValue value, bool showDiscDifference);

} // namespace tabry
