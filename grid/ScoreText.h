#pragma once
// The score field and result selector of the result editor. A score is
// always stored as the row player's disc difference, -64..64; the display
// mode only changes how it is typed: as a signed difference ("+12", "-4"),
// or as the player's disc count (difference = 2 x count - 64, so "33" is a
// win by 2 and "32.5" a difference of 1). Texts read are Shift_JIS, and
// full-width digits and signs read as their ASCII forms (what an input
// method types); texts made are ASCII.

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

// A score text read as the editor commits it: the whole text (blanks around
// it aside) must be one number of the display mode, and the game it
// describes must be possible. Difference mode: an integer with an optional
// sign, -64..64. Count mode: the row player's discs "n" or "n.f" (f > 0 is
// half a disc), 0..64. Nothing is limited: "3240" is out of range, not 64.
// A sign alone ("+", "-") is the difference 0 in both modes: with the mark
// the sign selects, a game won or lost by default.
struct ScoreReading {
    enum Kind {
        Empty,      // nothing but blanks
        Number,     // `disc` holds the stored difference
        NotANumber, // letters, a fraction in difference mode
        OutOfRange, // a number no game can end with
    };
    Kind kind = Empty;
    int disc = 0; // Number: the stored difference; OutOfRange: the nearest possible one, of the same sign
};
ScoreReading ReadScoreText(std::string_view text, bool showDiscDifference);

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
