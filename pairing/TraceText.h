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
template <class Int>
char* PutNumber(char* out, Int value, int width, char pad)
{
    // The digits go in after a run of padding, and the field is copied out
    // from where it starts: no lengths to compare in the usual case.
    char field[2 * kMaxField];
    std::memset(field, pad, kMaxField);
    char* const digits = field + kMaxField;
    const char* end = std::to_chars(digits, digits + kMaxField, value).ptr;
    const int length = static_cast<int>(end - digits);
    if (value < 0 && pad == '0') {
        // The sign leads the zeros: "-05".
        *out++ = '-';
        return PutNumber(out, 0 - static_cast<std::uint64_t>(value), width - 1, pad);
    }
    if (length >= width) {
        std::memcpy(out, digits, static_cast<size_t>(length));
        return out + length;
    }
    std::memcpy(out, end - width, static_cast<size_t>(width));
    return out + width;
}

} // namespace tabry::trace
