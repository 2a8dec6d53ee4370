// report: the published reports and interim sheets, byte for byte what the
// matching desktop command writes.
#include "cli/Cli.h"

#include "text/Cp932.h"
#include "reports/Reports.h"

#include <iostream>
#include <string>

namespace tabry::cli {

namespace {

struct FormatName {
    const char* name;
    ReportKind kind;
};

constexpr FormatName kFormats[] = {
    {"csv", ReportKind::RatingCsv},   {"text", ReportKind::Text},
    {"html", ReportKind::Html},       {"zep", ReportKind::Zep},
    {"score-sheet", ReportKind::ScoreSheet}, {"pairing-table", ReportKind::PairingTable},
};

int RunReport(Context& ctx, const CommandLine& cl)
{
    const std::string* format = cl.Get("--format");
    if (format == nullptr)
        return UsageError("report needs --format (csv, text, html, zep, score-sheet or pairing-table)");
    const FormatName* chosen = nullptr;
    for (const FormatName& f : kFormats)
        if (*format == f.name)
            chosen = &f;
    if (chosen == nullptr)
        return UsageError("unknown report format " + *format);

    ReportKind kind = chosen->kind;
    int round = 0;
    if (const std::string* text = cl.Get("--round")) {
        if (kind != ReportKind::ScoreSheet && kind != ReportKind::PairingTable)
            return UsageError("--round applies to score-sheet and pairing-table only");
        const auto value = ParseIntegerOption(*text);
        if (!value || *value < 1 || *value > kMaxRounds)
            return UsageError("--round needs a round number from 1");
        round = static_cast<int>(*value);
        if (kind == ReportKind::ScoreSheet)
            kind = ReportKind::ScoreSheetThrough;
    } else if (kind == ReportKind::PairingTable) {
        return UsageError("pairing-table needs --round N");
    }

    if (!LoadTournament(ctx, cl))
        return kExitBadInput;
    if (round > ctx.editor.Table().RoundCount())
        return UsageError("--round " + std::to_string(round) + ": the tournament has "
                          + std::to_string(ctx.editor.Table().RoundCount()) + " rounds");

    std::string bytes;
    std::string refusal;
    if (RenderReport(kind, ctx.editor.Data(), round, bytes, &refusal) != 0) {
        std::cerr << cp932::ToUtf8(refusal);
        std::cerr.flush();
        return kExitCsvRefused;
    }
    if (cl.Has("--utf8"))
        bytes = cp932::ToUtf8(bytes);
    return WriteOutput(cl, bytes) ? kExitOk : kExitWriteFailed;
}

} // namespace

const Command kReportCommand = {
    "report",
    "report --format FMT [--round N] [--utf8] [-o OUT] FILE.stg\n"
    "                                  FMT: csv, text, html, zep, score-sheet [--round N],\n"
    "                                  pairing-table --round N",
    {{"--format", true}, {"--round", true}, {"--utf8", false}, {"-o", true}},
    RunReport,
};

} // namespace tabry::cli
