// report: the published reports, interim sheets and printed documents, byte
// for byte what the matching desktop command writes. The formats and what
// they need come from the table of output kinds.
#include "cli/Cli.h"

#include "outputs/OutputKinds.h"
#include "text/Cp932.h"

#include <iostream>
#include <string>

namespace tabry::cli {

namespace {

// "a, b or c" of the kinds that pass `keep`.
template <class Keep>
std::string FormatNames(Keep keep)
{
    std::vector<std::string_view> names;
    for (const OutputKindInfo& info : OutputKinds())
        if (keep(info))
            names.push_back(info.name);
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += i + 1 == names.size() ? " or " : ", ";
        text += names[i];
    }
    return text;
}

int RunReport(Context& ctx, const CommandLine& cl)
{
    const std::string* format = cl.Get("--format");
    if (format == nullptr)
        return UsageError("report needs --format (" + FormatNames([](const OutputKindInfo&) { return true; }) + ")");
    const OutputKindInfo* kind = FindOutputKind(*format);
    if (kind == nullptr)
        return UsageError("unknown report format " + *format);

    int round = 0;
    if (const std::string* text = cl.Get("--round")) {
        if (kind->round == RoundUse::None)
            return UsageError("--round applies to "
                              + FormatNames([](const OutputKindInfo& k) { return k.round != RoundUse::None; })
                              + " only");
        const auto value = ParseIntegerOption(*text);
        if (!value || *value < 1 || *value > kMaxRounds)
            return UsageError("--round needs a round number from 1");
        round = static_cast<int>(*value);
    } else if (kind->round == RoundUse::Required) {
        return UsageError(std::string(kind->name) + " needs --round N");
    }
    if (cl.Has("--utf8") && !kind->text)
        return UsageError("--utf8 applies to the text formats only, not to " + *format);
    OutputOptions options;
    if (const std::string* url = cl.Get("--url")) {
        if (kind->kind != OutputKind::PdfSlips)
            return UsageError("--url applies to pdf-slips only");
        if (url->rfind("http://", 0) != 0 && url->rfind("https://", 0) != 0)
            return UsageError("--url needs the live pages' address, http://HOST:PORT");
        options.reportUrl = *url;
    }

    if (!LoadTournament(ctx, cl))
        return kExitBadInput;
    if (round > ctx.editor.Table().RoundCount())
        return UsageError("--round " + std::to_string(round) + ": the tournament has "
                          + std::to_string(ctx.editor.Table().RoundCount()) + " rounds");

    std::string bytes;
    std::string message;
    if (kind->kind == OutputKind::PdfSlips) {
        // The slips are still good for writing results on; say what they lack.
        if (ctx.editor.Info().reportingKey.empty())
            std::cerr << "torva-cli: the tournament takes no reports from phones: the slips carry no codes\n";
        else if (options.reportUrl.empty())
            std::cerr << "torva-cli: no --url given: the slips carry the codes but no QR codes\n";
    }
    switch (RenderOutput(kind->kind, ctx.editor.Data(), round, options, bytes, &message)) {
    case OutputStatus::Ok:
        break;
    case OutputStatus::Refused:
        std::cerr << cp932::ToUtf8(message);
        std::cerr.flush();
        return kExitCsvRefused;
    case OutputStatus::Failed:
        std::cerr << "torva-cli: " << cp932::ToUtf8(message) << "\n";
        return kExitWriteFailed;
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
    "                                  pairing-table --round N, pdf-pairing --round N,\n"
    "                                  pdf-standings, pdf-table,\n"
    "                                  pdf-slips --round N [--url http://HOST:PORT]",
    {{"--format", true}, {"--round", true}, {"--utf8", false}, {"-o", true}, {"--url", true}},
    RunReport,
};

} // namespace tabry::cli
