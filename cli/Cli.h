#pragma once
// Shared plumbing of torva-cli: argument parsing, loading the tournament the
// way the desktop program opens it, and writing results atomically.
//
//   torva-cli [--db PATH] [--save-db] COMMAND [options] FILE.stg
//
// Exit codes: 0 success, 1 output could not be written, 2 usage error,
// 3 input unreadable or rejected, 4 nothing to pair, 5 rating CSV refused,
// 6 the player database could not be written (the output was).

#include "edit/TournamentEditor.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tabry::cli {

enum ExitCode {
    kExitOk = 0,
    kExitWriteFailed = 1,
    kExitUsage = 2,
    kExitBadInput = 3,
    kExitNothingToPair = 4,
    kExitCsvRefused = 5,
    kExitDatabaseNotSaved = 6,
};

// An option a command accepts: "--round" with a value, "--utf8" without.
struct OptionSpec {
    std::string name;
    bool takesValue;
};

struct CommandLine {
    std::map<std::string, std::string> options; // by name, flags map to ""
    std::filesystem::path input;

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    const std::string* Get(const std::string& name) const;
};

// Everything a command works with.
struct Context {
    std::filesystem::path dbPath;
    bool saveDb = false;
    // Every change a command makes goes through the editor, as in the
    // desktop program.
    CTournamentEditor editor;
    // What the input was read as beyond what it says (a damaged file), as
    // LoadTournament found it.
    ReadFindings findings;
    // Whether the input had every row's line and its last line's end (see
    // LoadReport::whole).
    bool whole = true;
};

struct Command {
    const char* name;
    const char* synopsis; // e.g. "sort [-o OUT] FILE.stg"
    std::vector<OptionSpec> options;
    int (*run)(Context&, const CommandLine&);
};

// The commands, defined next to their implementations.
extern const Command kSortCommand;
extern const Command kCheckCommand;
extern const Command kPairCommand;
extern const Command kReportCommand;
extern const Command kServeCommand;

// serve with `run`: its usage is the same in every build, whether `run`
// serves the pages or, in a build without the live server, says it cannot.
Command ServeCommandWith(int (*run)(Context&, const CommandLine&));

// Prints `message` and the usage text to standard error; returns kExitUsage.
int UsageError(const std::string& message);

// Loads the player database and the tournament as the desktop program opens a
// file. Prints a message naming the file and returns false on failure (the
// caller exits with kExitBadInput); a database that exists but cannot be read
// is such a failure, a missing one is not. A file that reads differently
// than it says (ctx.findings) is loaded, with a warning per finding naming
// its line; but when -o names that very file it is refused, so that a
// damaged file is never replaced by what could be read of it.
bool LoadTournament(Context& ctx, const CommandLine& cl);

// After the command: with --save-db, writes the database back when loading
// added players. Returns `exitCode`, or kExitDatabaseNotSaved when that was
// kExitOk and the database could not be written (a message is printed).
int SaveDatabaseIfAsked(Context& ctx, int exitCode);

// Writes `bytes` to the -o file (atomically) or to standard output. Prints a
// message and returns false on failure.
bool WriteOutput(const CommandLine& cl, std::string_view bytes);

// Parses a positive integer option value; nullopt when absent or malformed.
std::optional<long long> ParseIntegerOption(const std::string& text);

} // namespace tabry::cli
