#include "core/ScoreReading.h"

#include "text/Cp932.h"
#include "text/LineString.h"

#include <algorithm>

namespace tabry {

namespace {

constexpr int kMaxDisc = 64;

} // namespace

std::optional<long long> ReadScoreInteger(std::string_view text, size_t& pos)
{
    size_t i = pos;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
        return std::nullopt;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), 1000000LL);
    pos = i;
    return negative ? -value : value;
}

ScoreReading ReadScoreText(std::string_view typed, bool showDiscDifference)
{
    // Full-width digits and signs are what a Japanese input method types.
    const std::string folded = cp932::FoldFullWidth(typed);
    const std::string_view t = TrimCSpace(folded);
    ScoreReading reading;
    if (t.empty())
        return reading;
    // A sign alone is the quick entry of a game won or lost without a disc
    // count (by default): ○ 0 or × 0, in either display mode.
    if (t == "+" || t == "-") {
        reading.kind = ScoreReading::Number;
        return reading;
    }
    size_t pos = 0;
    // A blank between the sign and the digits is no number the organiser
    // meant; ReadScoreInteger would skip it.
    const size_t digitsFrom = t[0] == '+' || t[0] == '-' ? 1 : 0;
    const std::optional<long long> whole =
        digitsFrom < t.size() && t[digitsFrom] >= '0' && t[digitsFrom] <= '9' ? ReadScoreInteger(t, pos) : std::nullopt;
    if (!whole) {
        reading.kind = ScoreReading::NotANumber;
        return reading;
    }
    long long v = *whole;
    if (!showDiscDifference) {
        bool half = false;
        if (pos < t.size() && t[pos] == '.') {
            ++pos;
            for (; pos < t.size() && t[pos] >= '0' && t[pos] <= '9'; ++pos)
                half = half || t[pos] != '0';
        }
        // A negative count is no count, even "-0".
        if (t[0] == '-' && v == 0)
            v = -1;
        v = 2 * v - kMaxDisc + (half ? 1 : 0);
    }
    if (pos != t.size()) {
        reading.kind = ScoreReading::NotANumber;
        return reading;
    }
    reading.kind = v < -kMaxDisc || v > kMaxDisc ? ScoreReading::OutOfRange : ScoreReading::Number;
    reading.disc = static_cast<int>(std::clamp<long long>(v, -kMaxDisc, kMaxDisc));
    return reading;
}

} // namespace tabry
