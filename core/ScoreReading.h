#pragma once
// How a typed score is read when it is committed: by the result editor on the
// desk and by the report page a player sends from his phone, so that both
// refuse the same impossible games. Texts are ASCII.

#include <optional>
#include <string_view>

namespace tabry {

// The integer at `pos` (leading blanks and one sign allowed), saturated far
// beyond any score so a long run of digits cannot overflow. Advances `pos`
// past it; nothing when no digit follows.
std::optional<long long> ReadScoreInteger(std::string_view text, size_t& pos);

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

} // namespace tabry
