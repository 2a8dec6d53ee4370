// sort: the standings order of the table, written back as a tournament file.
#include "cli/Cli.h"

namespace tabry::cli {

namespace {

int RunSort(Context& ctx, const CommandLine& cl)
{
    if (!LoadTournament(ctx, cl))
        return kExitBadInput;
    ctx.data.table.Sort(ctx.data.table.settings.tieBreak, false);
    return WriteOutput(cl, ctx.data.Save()) ? kExitOk : kExitWriteFailed;
}

} // namespace

const Command kSortCommand = {
    "sort",
    "sort [-o OUT] FILE.stg          sort into standings order, write the tournament",
    {{"-o", true}},
    RunSort,
};

} // namespace tabry::cli
