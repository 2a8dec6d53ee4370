#include "grid/ScoreText.h"

#include "core/ResultTable.h"
#include "reports/Formatters.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace tabry::grid {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The integer at `pos` (leading blanks and one sign allowed), saturated far
// beyond any score so a long run of digits cannot overflow. Advances `pos`
// past it; nothing when no digit follows.
std::optional<long long> ReadInteger(std::string_view text, size_t& pos)
{
    size_t i = pos;
    while (i < text.size() && IsBlank(text[i]))
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

int ParseScoreText(std::string_view text, bool showDiscDifference)
{
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

std::string StepScoreText(std::string_view text, int delta, bool showDiscDifference)
{
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

int AutoMarkEntry(std::string_view scoreText, int currentEntry, bool showDiscDifference)
{
    const int v = ParseScoreText(scoreText, showDiscDifference);
    if (v < 0 || scoreText == "-")
        return MarkLoss;
    if (v > 0 || scoreText == "+")
        return MarkWin;
    return currentEntry == MarkBlank ? MarkDraw : currentEntry;
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
