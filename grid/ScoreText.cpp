#include "grid/ScoreText.h"

#include "core/ResultTable.h"
#include "reports/Formatters.h"
#include "text/Cp932.h"
#include "text/LineString.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace tabry::grid {

namespace {

// The integer at `pos` (leading blanks and one sign allowed), saturated far
// beyond any score so a long run of digits cannot overflow. Advances `pos`
// past it; nothing when no digit follows.
std::optional<long long> ReadInteger(std::string_view text, size_t& pos)
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

int Clamp(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, -kMaxDisc, kMaxDisc));
}

int LeadingInteger(std::string_view text)
{
    size_t pos = 0;
    return Clamp(ReadInteger(text, pos).value_or(0));
}

} // namespace

int ParseScoreText(std::string_view typed, bool showDiscDifference)
{
    const std::string folded = cp932::FoldFullWidth(typed);
    const std::string_view text = folded;
    if (showDiscDifference)
        return LeadingInteger(text);
    size_t pos = 0;
    const std::optional<long long> count = ReadInteger(text, pos);
    if (!count)
        return 0;
    long long v = 2 * *count - kMaxDisc;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        const std::optional<long long> fraction = ReadInteger(text, pos);
        if (fraction && *fraction > 0)
            ++v;
    }
    return Clamp(v);
}

std::string StepScoreText(std::string_view typed, int delta, bool showDiscDifference)
{
    const std::string folded = cp932::FoldFullWidth(typed);
    const std::string_view text = folded;
    const int base = showDiscDifference ? LeadingInteger(text) : ParseScoreText(text, false);
    const int v = Clamp(static_cast<long long>(base) + delta);
    char buf[16];
    if (showDiscDifference)
        std::snprintf(buf, sizeof buf, "%+d", v);
    else
        std::snprintf(buf, sizeof buf, "%d%s", (v + kMaxDisc) / 2, v % 2 != 0 ? ".5" : "  ");
    return buf;
}

std::string ScoreFieldText(int disc, bool showDiscDifference)
{
    return FormatDiscValue(disc, true, 1, false, showDiscDifference);
}

ScoreReading ReadScoreText(std::string_view typed, bool showDiscDifference)
{
    const std::string folded = cp932::FoldFullWidth(typed);
    const std::string_view text = folded;
    const std::string_view t = TrimCSpace(text);
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
    // meant; ReadInteger would skip it.
    const size_t digitsFrom = t[0] == '+' || t[0] == '-' ? 1 : 0;
    const std::optional<long long> whole =
        digitsFrom < t.size() && t[digitsFrom] >= '0' && t[digitsFrom] <= '9' ? ReadInteger(t, pos) : std::nullopt;
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
    reading.disc = Clamp(v);
    return reading;
}

int AutoMarkEntry(std::string_view typed, int currentEntry, bool showDiscDifference)
{
    const std::string folded = cp932::FoldFullWidth(typed);
    const std::string_view scoreText = folded;
    const std::string_view t = TrimCSpace(scoreText);
    if (t == "-")
        return MarkLoss;
    if (t == "+")
        return MarkWin;
    const ScoreReading reading = ReadScoreText(scoreText, showDiscDifference);
    if (reading.kind == ScoreReading::Empty || reading.kind == ScoreReading::NotANumber)
        return currentEntry;
    // Out of range still has a sign; the commit refuses it anyway.
    if (reading.disc < 0)
        return MarkLoss;
    return reading.disc > 0 ? MarkWin : MarkDraw;
}

int ResultOfMarkEntry(int entry)
{
    switch (entry) {
    case MarkWin:
        return ResultWin;
    case MarkDraw:
        return ResultDraw;
    case MarkLoss:
        return ResultLoss;
    default:
        return ResultNone;
    }
}

int MarkEntryOfResult(int result)
{
    if (result == ResultNone)
        return MarkBlank;
    if (result < 0)
        return MarkLoss;
    return result == 0 ? MarkDraw : MarkWin;
}

} // namespace tabry::grid
