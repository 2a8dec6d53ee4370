#pragma once
// The score field and result selector of the result editor. A score is
// always stored as the row player's disc difference, -64..64; the display
// mode only changes how it is typed: as a signed difference ("+12", "-4"),
// or as the player's disc count (difference = 2 x count - 64, so "33" is a
// win by 2 and "32.5" a difference of 1). Texts read are Shift_JIS, and
// full-width digits and signs read as their ASCII forms (what an input
// method types); texts made are ASCII.

#include "core/ScoreReading.h"

#include <string>
#include <string_view>

namespace tabry::grid {

constexpr int kMaxDisc = 64;

// The selector's entries: blank (no result yet), ○, △, ×.
enum MarkEntry : int { MarkBlank = 0, MarkWin = 1, MarkDraw = 2, MarkLoss = 3 };

// The disc difference a score text stands for, limited to -64..64, read
// leniently as the arrows need it while the organiser is still typing.
// Difference mode: the leading integer (blanks and a sign allowed; 0 when
// there is none). Count mode: "n" or "n.f"; 2n - 64, one more when f > 0;
// 0 when no number leads the text.
int ParseScoreText(std::string_view text, bool showDiscDifference);

// How a score is read at the commit (core/ScoreReading.h): one check for
// the desk and the report page.
using tabry::ReadScoreText;
using tabry::ScoreReading;

// The text after stepping the score by `delta` units of the stored
// difference (half a disc in count mode): "%+d" in difference mode, the
// count with ".5" or two blanks in count mode. Limited to -64..64.
std::string StepScoreText(std::string_view text, int delta, bool showDiscDifference);

// The score field's text for a stored difference: "+12", "+0", "-4"; in
// count mode the count, "38", "32.5".
std::string ScoreFieldText(int disc, bool showDiscDifference);

// The entry the selector shows after the score text changed: × for a
// negative score or a lone "-", ○ for a positive one or a lone "+", △ for
// zero. A text that holds no number (empty, letters) says nothing about the
// game: the current entry stays. The editor asks this only while no mark
// was chosen by hand.
int AutoMarkEntry(std::string_view scoreText, int currentEntry, bool showDiscDifference);

// Result value of a selector entry (no selection: ResultNone) and back.
int ResultOfMarkEntry(int entry);
int MarkEntryOfResult(int result);

} // namespace tabry::grid
