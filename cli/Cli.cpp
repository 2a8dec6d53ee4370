#include "cli/Cli.h"

#include "cli/Messages.h"

#include "text/FileIo.h"

#include <cstdio>
#include <iostream>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace tabry::cli {

const std::string* CommandLine::Get(const std::string& name) const
{
    const auto it = options.find(name);
    return it == options.end() ? nullptr : &it->second;
}

namespace {

// Whether -o names the input file itself (under any name).
bool OutputIsInput(const CommandLine& cl)
{
    const std::string* out = cl.Get("-o");
    if (out == nullptr)
        return false;
    const std::filesystem::path output = PathFromUtf8(*out);
    std::error_code ec;
    if (std::filesystem::equivalent(output, cl.input, ec))
        return true;
    const std::filesystem::path a = std::filesystem::weakly_canonical(output, ec);
    if (ec)
        return false;
    const std::filesystem::path b = std::filesystem::weakly_canonical(cl.input, ec);
    return !ec && a == b;
}

} // namespace

bool LoadTournament(Context& ctx, const CommandLine& cl)
{
    // A missing database means a database holding only the bye record; one
    // that cannot be read would lose its records at the next --save-db.
    FileError dbError;
    if (ctx.editor.LoadPlayers(ctx.dbPath, &dbError) != LoadStatus::Ok) {
        std::cerr << "torva-cli: player database: " << FileErrorText(dbError) << "\n";
        return false;
    }
    LoadReport report;
    const LoadStatus status = ctx.editor.LoadFile(cl.input, &report);
    const std::string file = PathText(cl.input);
    if (status != LoadStatus::Ok) {
        std::cerr << "torva-cli: " << LoadFailureText(cl.input, report) << "\n";
        return false;
    }
    ctx.findings = report.findings;
    ctx.whole = report.whole;
    WarnFindings(cl.input, ctx.findings);
    if (!ctx.findings.empty() && OutputIsInput(cl)) {
        std::cerr << "torva-cli: " << file
                  << ": not written over: the file cannot be read as it is written, and writing would replace it "
                     "with what could be read; write to another file\n";
        return false;
    }
    return true;
}

int SaveDatabaseIfAsked(Context& ctx, int exitCode)
{
    if (!ctx.saveDb || !ctx.editor.PlayersModified())
        return exitCode;
    FileError error;
    if (ctx.editor.Players().Save(ctx.dbPath, 1, &error) != 0) {
        std::cerr << "torva-cli: player database not saved: " << FileErrorText(error) << "\n";
        return exitCode == kExitOk ? kExitDatabaseNotSaved : exitCode;
    }
    ctx.editor.MarkPlayersSaved();
    return exitCode;
}

bool WriteOutput(const CommandLine& cl, std::string_view bytes)
{
    if (const std::string* out = cl.Get("-o")) {
        FileError error;
        if (!WriteFileAtomically(PathFromUtf8(*out), bytes, &error)) {
            std::cerr << "torva-cli: " << FileErrorText(error) << "\n";
            return false;
        }
        return true;
    }
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
        std::cerr << "torva-cli: cannot write to standard output\n";
        return false;
    }
    if (std::fflush(stdout) != 0) {
        std::cerr << "torva-cli: cannot write to standard output\n";
        return false;
    }
    return true;
}

std::optional<long long> ParseIntegerOption(const std::string& text)
{
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    size_t i = 0;
    bool negative = false;
    if (text[0] == '-' || text[0] == '+') {
        negative = text[0] == '-';
        i = 1;
        if (text.size() == 1)
            return std::nullopt;
    }
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        v = v * 10 + (text[i] - '0');
    }
    return negative ? -v : v;
}

Command ServeCommandWith(int (*run)(Context&, const CommandLine&))
{
    return {
        "serve",
        "serve [--port P] [--bind ADDR] FILE.stg\n"
        "                                the live pages on the network, following the file",
        {{"--port", true}, {"--bind", true}},
        run,
    };
}

} // namespace tabry::cli
