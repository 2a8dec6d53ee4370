// serve in a build without the live server (the Windows cross build, which
// has no libmicrohttpd): the command is known, so its usage is listed the
// same everywhere, but it only says that it cannot serve here.
#include "cli/Cli.h"

#include <iostream>

namespace tabry::cli {

namespace {

int RunServe(Context&, const CommandLine&)
{
    std::cerr << "torva-cli: this build cannot serve the live pages\n";
    return kExitWriteFailed;
}

} // namespace

const Command kServeCommand = ServeCommandWith(RunServe);

} // namespace tabry::cli
