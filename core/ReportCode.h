#pragma once
// The secret of a tournament that takes results from the players' phones, and
// the code of each board derived from it. The code is printed on the pairing
// sheet and the board's slip; whoever sits at the board can read it, nobody
// elsewhere can guess it, so a report that carries it comes from the board.
//
// A code is HMAC-SHA256 over "ROUND/BOARD" (both decimal, from 1) keyed with
// the key's 16 bytes, its first 40 bits written as 8 characters of an
// alphabet without the easily confused 0, 1, I and O, shown "XXXX-XXXX".

#include <optional>
#include <string>
#include <string_view>

namespace tabry {

// The characters of a code, 5 bits each.
inline constexpr std::string_view kReportCodeAlphabet = "23456789ABCDEFGHJKLMNPQRSTUVWXYZ";
inline constexpr size_t kReportCodeLength = 8;

// Whether `key` is a reporting key: exactly 32 lowercase hexadecimal digits.
bool IsReportingKey(std::string_view key);
// A new key from the system's secure random source.
std::string NewReportingKey();

// The 8 characters of board `board` of round `round` (both from 1); empty
// when `key` is no reporting key.
std::string ReportCode(std::string_view key, int round, int board);
// The code as it is shown and printed: "XXXX-XXXX".
std::string ShownReportCode(std::string_view code);

// UTF-8 text as a phone's keyboard may type it, made plain ASCII where it
// can: full-width letters, digits and signs become their ASCII forms, the
// dashes and the long vowel mark a hyphen, an ideographic space a space.
// Anything else is kept as it is.
std::string FoldWideAscii(std::string_view utf8);
// A typed code in the form ReportCode gives it: upper case, without the
// hyphen and blanks, full-width forms folded; nothing when it is not 8
// characters of the alphabet.
std::optional<std::string> NormalizeReportCode(std::string_view typed);
// Whether `typed` (as NormalizeReportCode reads it) is the code of board
// `board` of round `round`; compared in constant time, so the answer's time
// tells nothing about how much of a guess was right.
bool IsReportCode(std::string_view key, int round, int board, std::string_view typed);

} // namespace tabry
