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

int Clamp(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, -kMaxDisc, kMaxDisc));
}

int LeadingInteger(std::string_view text)
{
    size_t pos = 0;
    return Clamp(ReadScoreInteger(text, pos).value_or(0));
}

} // namespace

int ParseScoreText(std::string_view typed, bool showDiscDifference)
{
    const std::string folded = cp932::FoldFullWidth(typed);
    const std::string_view text = folded;
    if (showDiscDifference)
        return LeadingInteger(text);
    size_t pos = 0;
    const std::optional<long long> count = ReadScoreInteger(text, pos);
    if (!count)
        return 0;
    long long v = 2 * *count - kMaxDisc;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        const std::optional<long long> fraction = ReadScoreInteger(text, pos);
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
