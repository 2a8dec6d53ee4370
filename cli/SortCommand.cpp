// sort: the standings order of the table, written back as a tournament file.
#include "cli/Cli.h"

namespace tabry::cli {

namespace {

int RunSort(Context& ctx, const CommandLine& cl)
{
    if (!LoadTournament(ctx, cl))
        return kExitBadInput;
    ctx.editor.Sort();
    return WriteOutput(cl, ctx.editor.Save()) ? kExitOk : kExitWriteFailed;
}

} // namespace

const Command kSortCommand = {
    "sort",
    "sort [-o OUT] FILE.stg          sort into standings order, write the tournament",
    {{"-o", true}},
    RunSort,
};

} // namespace tabry::cli
