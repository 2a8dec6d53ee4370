#include "cli/Cli.h"

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

bool LoadTournament(Context& ctx, const CommandLine& cl)
{
    std::string error;
    // A missing database means a database holding only the bye record; one
    // that cannot be read would lose its records at the next --save-db.
    if (ctx.editor.LoadPlayers(ctx.dbPath, &error) != LoadStatus::Ok) {
        std::cerr << "torva-cli: player database: " << error << "\n";
        return false;
    }
    const LoadStatus status = ctx.editor.LoadFile(cl.input, &error);
    const std::string file = PathText(cl.input);
    switch (status) {
    case LoadStatus::Ok:
        break;
    case LoadStatus::CannotOpen:
    case LoadStatus::NulByte:
        std::cerr << "torva-cli: " << error << "\n";
        return false;
    case LoadStatus::Empty:
        std::cerr << "torva-cli: " << file << ": the file is empty, not a tournament file\n";
        return false;
    case LoadStatus::Rejected:
        std::cerr << "torva-cli: " << file
                  << ": not a tournament file (the first line must hold five numbers: players 1-512, rounds "
                     "1-128, display mode, tie-break method, Brightwell coefficient)\n";
        return false;
    }
    return true;
}

int SaveDatabaseIfAsked(Context& ctx, int exitCode)
{
    if (!ctx.saveDb || !ctx.editor.PlayersModified())
        return exitCode;
    std::string error;
    if (ctx.editor.Players().Save(ctx.dbPath, 1, &error) != 0) {
        std::cerr << "torva-cli: player database not saved: " << error << "\n";
        return exitCode == kExitOk ? kExitDatabaseNotSaved : exitCode;
    }
    ctx.editor.MarkPlayersSaved();
    return exitCode;
}

bool WriteOutput(const CommandLine& cl, std::string_view bytes)
{
    if (const std::string* out = cl.Get("-o")) {
        std::string error;
        if (!WriteFileAtomically(PathFromUtf8(*out), bytes, &error)) {
            std::cerr << "torva-cli: " << error << "\n";
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
