#pragma once
// Code page 932 (Microsoft's Shift_JIS) <-> Unicode, the one seam through which
// text crosses between the Shift_JIS bytes the program keeps and writes and the
// UTF-8 of source literals, terminals and the user interface.
//
// The mapping table was generated from the platform's iconv CP932 converter
// and is committed as data, so the result is the same on every platform.

#include <string>
#include <string_view>

namespace tabry::cp932 {

// Lead byte of a double-byte character: 0x81..0x9F or 0xE0..0xFC.
constexpr bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
// A byte that may follow a lead byte: 0x40..0x7E or 0x80..0xFC.
constexpr bool IsTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The Unicode character of a code (a single byte, or lead << 8 | trail), or 0
// when the code is not defined in code page 932. Code 0 itself is U+0000.
char32_t DecodeCode(unsigned code);
// The code page 932 code of a character (one byte below 0x100, else two), or
// -1 when the character has no code.
int EncodeChar(char32_t ch);

// Shift_JIS bytes to UTF-8. Undefined bytes and codes become U+FFFD; a lead
// byte followed by a byte that cannot trail is replaced alone and the next byte
// is read afresh.
std::string ToUtf8(std::string_view sjis);

// UTF-8 to Shift_JIS bytes. Characters without a code and malformed UTF-8
// become '?'; `lossless` (when given) tells whether that happened.
std::string FromUtf8(std::string_view utf8, bool* lossless = nullptr);

// One character of UTF-8 text at `pos`, moving `pos` past it. A malformed,
// overlong or surrogate sequence, or one cut short by the end, reads as
// U+FFFD with `ok` false and moves one byte, so a walk over any bytes ends.
char32_t NextUtf8(std::string_view utf8, size_t& pos, bool& ok);
// Appends the UTF-8 bytes of a character (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t ch);

// Byte length of the character starting at `pos`: 2 for a lead byte followed by
// a trail byte, otherwise 1 (0 at or past the end).
int CharLength(std::string_view sjis, size_t pos);

// `sjis` with every full-width form of an ASCII character (U+FF01..U+FF5E:
// "３", "Ａ", "＋", "－") and the ideographic space replaced by its ASCII
// byte; everything else, half-width kana and bytes that are no character
// included, stays as it is. What a Japanese input method types for a
// number or a search key reads as the plain characters; stored text is
// never passed through it.
std::string FoldFullWidth(std::string_view sjis);

// Byte length of the longest head of `sjis` that is made of whole characters
// and takes at most `maxBytes`: where a text may be cut without leaving half
// a double-byte character behind.
size_t WholeCharsLength(std::string_view sjis, size_t maxBytes);

} // namespace tabry::cp932

// A Shift_JIS copy of a UTF-8 string literal, converted once on first use and
// kept for the whole run: SJ("勝") is the two bytes 0x8F 0x9F.
#define SJ(utf8Literal)                                                                                                \
    ([]() -> const std::string& {                                                                                      \
        static const std::string converted = ::tabry::cp932::FromUtf8(utf8Literal);                                    \
        return converted;                                                                                              \
    }())
