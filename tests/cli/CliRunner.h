#pragma once
// Runs the built torva-cli with arguments and collects its exit code, its
// standard output and its standard error.

#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace tabry::test {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string Quote(const std::string& arg)
{
    std::string q = "'";
    for (char c : arg) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

// `shellPrefix` runs before the program in the same shell (e.g. a ulimit).
inline CliResult RunCli(const TempDir& scratch, const std::vector<std::string>& args, const std::string& shellPrefix = "")
{
    std::string command = shellPrefix + Quote(TORVA_CLI_PATH);
    for (const std::string& a : args)
        command += " " + Quote(a);
    const auto out = scratch / "cli.out";
    const auto err = scratch / "cli.err";
    command += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
    const int status = std::system(command.c_str());
    CliResult r;
#if defined(_WIN32)
    r.exitCode = status;
#else
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    r.out = ReadAll(out);
    r.err = ReadAll(err);
    return r;
}

} // namespace tabry::test
