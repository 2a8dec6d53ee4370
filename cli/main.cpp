// torva-cli: the tournament core for batch work, without the desktop program.
#include "cli/Cli.h"
#include "cli/DefaultDatabase.h"

#include "text/FileIo.h"

#include "TorvaVersion.h"

#include <iostream>
#include <string>
#include <vector>

#if defined(_WIN32)
// windows.h first: shellapi.h builds on its declarations.
#include <windows.h>

#include <shellapi.h>
#endif

namespace tabry::cli {

namespace {

// Every command of the tool. Later commands add one line here.
const std::vector<const Command*>& Commands()
{
    static const std::vector<const Command*> commands = {
        &kSortCommand, &kCheckCommand, &kPairCommand, &kReportCommand, &kServeCommand,
    };
    return commands;
}

void PrintUsage(std::ostream& os)
{
    os << "usage: torva-cli [--db PATH] [--save-db] COMMAND [options] FILE.stg\n"
          "\n"
          "  --db PATH    player database (default: player.db beside torva-cli)\n"
          "  --save-db    write the database back when loading added players\n"
          "  --version    print the version and exit\n"
          "\n"
          "commands:\n";
    for (const Command* c : Commands())
        os << "  " << c->synopsis << "\n";
    os << "\n"
          "exit codes: 0 ok, 1 output not written, 2 usage, 3 input unreadable or rejected,\n"
          "            4 no player to pair, 5 rating CSV refused,\n"
          "            6 player database not written (the output was)\n";
}

} // namespace

int UsageError(const std::string& message)
{
    if (!message.empty())
        std::cerr << "torva-cli: " << message << "\n";
    PrintUsage(std::cerr);
    return kExitUsage;
}

// The arguments after the program name. On Windows the narrow argv is in the
// ANSI code page, which cannot hold every file name (Japanese ones on a
// Western system); the wide command line can, and is taken as UTF-8.
std::vector<std::string> Arguments(int argc, char** argv)
{
#if defined(_WIN32)
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        std::vector<std::string> args;
        for (int i = 1; i < count; ++i)
            args.push_back(PathText(std::filesystem::path(wide[i])));
        LocalFree(wide);
        return args;
    }
#endif
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

int Main(int argc, char** argv)
{
    Context ctx;
    const std::vector<std::string> args = Arguments(argc, argv);
    bool dbGiven = false;
    const Command* command = nullptr;
    CommandLine cl;
    bool haveInput = false;

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-h" || a == "--help") {
            PrintUsage(std::cout);
            return kExitOk;
        }
        if (a == "--version") {
            std::cout << "torva-cli " TORVA_VERSION "\n";
            return kExitOk;
        }
        if (a == "--db") {
            if (i + 1 >= args.size())
                return UsageError("--db needs a path");
            ctx.dbPath = PathFromUtf8(args[++i]);
            dbGiven = true;
            continue;
        }
        if (a == "--save-db") {
            ctx.saveDb = true;
            continue;
        }
        if (command == nullptr) {
            for (const Command* c : Commands())
                if (a == c->name)
                    command = c;
            if (command == nullptr)
                return UsageError(a.rfind('-', 0) == 0 ? "unknown option " + a : "unknown command " + a);
            continue;
        }
        if (a.size() > 1 && a[0] == '-') {
            const OptionSpec* option = nullptr;
            for (const OptionSpec& o : command->options)
                if (o.name == a)
                    option = &o;
            if (option == nullptr)
                return UsageError("unknown option " + a + " for " + command->name);
            if (option->takesValue) {
                if (i + 1 >= args.size())
                    return UsageError(a + " needs a value");
                cl.options[a] = args[++i];
            } else {
                cl.options[a] = "";
            }
            continue;
        }
        if (haveInput)
            return UsageError("more than one input file");
        cl.input = PathFromUtf8(a);
        haveInput = true;
    }
    if (command == nullptr)
        return UsageError("no command given");
    if (!haveInput)
        return UsageError("no input file given");
    if (!dbGiven) {
        ctx.dbPath = DefaultDatabasePath(ExecutablePath(argc > 0 ? argv[0] : nullptr));
        if (ctx.saveDb) {
            // The user's own folder may not exist yet; a failure shows when
            // the database is written.
            std::error_code ignored;
            std::filesystem::create_directories(ctx.dbPath.parent_path(), ignored);
        }
    }
    // The database is written last, so that a failure there never keeps the
    // requested output from being written.
    return SaveDatabaseIfAsked(ctx, command->run(ctx, cl));
}

} // namespace tabry::cli

int main(int argc, char** argv)
{
    try {
        return tabry::cli::Main(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "torva-cli: " << e.what() << "\n";
        return tabry::cli::kExitWriteFailed;
    }
}
