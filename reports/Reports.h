#pragma once
// The one entry point through which the desktop program produces a report: it
// chooses the path and writes the returned bytes atomically; everything that
// decides what the file holds lives below this call.

#include "core/TournamentData.h"

#include <string>
#include <string_view>

namespace tabry {

enum class ReportKind { RatingCsv, Text, Html, Zep, ScoreSheet, ScoreSheetThrough, PairingTable };

// Renders the report of `data` as the matching desktop command would write it
// (RatingCsv/Text/Html/Zep from the live table as it stands; the three interim
// outputs from a private sorted copy). `round` is 1..roundCount for
// ScoreSheetThrough and PairingTable, ignored otherwise. Returns 0 and the
// file's bytes in `out`; returns -1 when the rating CSV is refused for
// duplicate short names, with the refusal message (Shift_JIS) in `refusal`.
// A round outside 1..roundCount for the two round outputs also returns -1
// (with a message in `refusal`) instead of writing a meaningless sheet.
// Only the live table's report cache changes; its rows, cells and totals never do.
int RenderReport(ReportKind kind, const TournamentData& data, int round, std::string& out, std::string* refusal);

// The document title without a trailing ".stg" (case-sensitive).
std::string DefaultReportFileName(std::string_view title);

} // namespace tabry
