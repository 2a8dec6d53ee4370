#pragma once
// The value formatters shared by every report and by the grid: half points,
// the Brightwell score, disc values in either display mode, and the result
// marks. All texts are Shift_JIS; each call returns a fresh string, so callers
// may keep several results at once.

#include <initializer_list>
#include <string>
#include <string_view>

namespace tabry {

// v half points as "points.5" or "points.0" (the integer part truncated toward
// zero). The wide form pads the integer part to 5 places: "    3.5".
std::string FormatHalfPoints(int v, bool compact);

// v in units of 0.05 as a number with two decimals, "84.05"; the compact form
// is at least 3 wide, the other 8 wide, both right-aligned. Computed on
// integers, so the text never depends on floating-point rounding.
std::string FormatBrightwell(int v, bool compact);

// A disc value in the display mode of the table.
//  Difference mode: the sign, then |v|; zero reads "+0" compact and "  0" wide
//  ("+12", "- 4" wide; the magnitude is 2 wide).
//  Count mode: t = v + 64 x games; the count t >> 1 (2 wide unless compact),
//  then ".5" when t is odd, else two blanks when `evenSuffix`, else nothing.
//  For one game this is the player's own disc count: +3 reads "33.5".
std::string FormatDiscValue(int v, bool compact, int games, bool evenSuffix, bool showDiscDifference);

// A win/loss/draw record, "%*d勝%2d敗%2d分" with the wins padded to
// `winsWidth` (0: no padding).
std::string FormatRecord(int wins, int losses, int draws, int winsWidth);

// "○" for a win, "△" for a draw, "×" for a loss, "" for ResultNone.
const std::string& ResultMark(int result);

// The program's home-page address (a build setting), in Shift_JIS.
const std::string& ProgramHomePage();

namespace report {

// printf-style padding by bytes, without any fixed buffer: "%*s" and "%-*s".
void AppendRight(std::string& out, std::string_view text, int width); // right-aligned
void AppendLeft(std::string& out, std::string_view text, int width);  // left-aligned
// "%d" and "%02d".
std::string Decimal(long long v);
std::string Decimal02(int v);
// Appends the parts in order (one call instead of a chain of temporaries).
void Append(std::string& out, std::initializer_list<std::string_view> parts);
std::string Concat(std::initializer_list<std::string_view> parts);
// "%d/%02d/%02d" of the year, month and day.
std::string SlashDate(int year, int month, int day);

} // namespace report

} // namespace tabry
