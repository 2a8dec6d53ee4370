#pragma once
// Number fields of the trace files, written with std::to_chars straight into
// the caller's buffer: the cost trace alone holds n^2 numbers (262,144 at
// 512 players), and going through a formatted-print call for each of them
// cost more than pairing the round.

#include <charconv>
#include <cstdint>
#include <cstring>

namespace tabry::trace {

// Room a field may need: a sign and 19 digits.
inline constexpr int kMaxField = 20;

// Writes `value` right-aligned in at least `width` characters and returns the
// end, as printf's "%*d" (pad ' ') or "%0*d" (pad '0', after the sign) do.
// `out` needs max(width, kMaxField) characters of room.
inline char* PutNumber(char* out, std::int64_t value, int width, char pad)
{
    char digits[kMaxField];
    char* const end = std::to_chars(digits, digits + kMaxField, value).ptr;
    int length = static_cast<int>(end - digits);
    const char* from = digits;
    if (pad == '0' && value < 0) {
        *out++ = '-';
        ++from;
        --length;
        --width;
    }
    if (length < width) {
        std::memset(out, pad, static_cast<size_t>(width - length));
        out += width - length;
    }
    std::memcpy(out, from, static_cast<size_t>(length));
    return out + length;
}

} // namespace tabry::trace
