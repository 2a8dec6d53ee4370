// pair: generates the pairings of one round and writes the tournament back.
#include "cli/Cli.h"

#include "cli/Messages.h"

#include "pairing/PairingGenerator.h"
#include "pairing/RandomGenerator.h"
#include "text/FileIo.h"

#include <cstdint>
#include <iostream>

namespace tabry::cli {

namespace {

int RunPair(Context& ctx, const CommandLine& cl)
{
    const std::string* roundText = cl.Get("--round");
    if (roundText == nullptr)
        return UsageError("pair needs --round N");
    const std::optional<long long> round = ParseIntegerOption(*roundText);
    if (!round)
        return UsageError("--round needs a round number, not " + *roundText);

    CRandomGenerator random;
    if (const std::string* seedText = cl.Get("--seed")) {
        const std::optional<long long> seed = ParseIntegerOption(*seedText);
        if (!seed || *seed < 0 || *seed > 0xFFFFFFFFLL)
            return UsageError("--seed needs a number from 0 to 4294967295, not " + *seedText);
        random.Seed(static_cast<std::uint32_t>(*seed));
    } else {
        random.SeedFromTime();
    }

    PairingOptions options;
    if (const std::string* dir = cl.Get("--trace-dir"))
        options.trace.directory = PathFromUtf8(*dir);

    if (!LoadTournament(ctx, cl))
        return kExitBadInput;
    const CResultTable& table = ctx.editor.Table();
    if (*round < 1 || *round > table.RoundCount())
        return UsageError("--round must be 1 to " + std::to_string(table.RoundCount()) + " for " + PathText(cl.input));

    // Earlier boards still without a result are no reason to stop a batch
    // run (the desktop program asks); they are named, and the round paired.
    const int target = static_cast<int>(*round - 1);
    const ConfirmFn goOn = [&](const std::string&) {
        for (const OpenBoards& open : OpenBoardsBefore(table, target))
            std::cerr << "torva-cli: note: round " << open.round + 1 << " still has " << open.boards
                      << (open.boards == 1 ? " board" : " boards") << " without a result\n";
        return true;
    };
    PairingRunInfo info;
    const ChangeEffects fx = ctx.editor.PairRound(target, random, options, &info, goOn);
    if (fx.refusal) {
        std::cerr << "torva-cli: round " << *round << " not paired: " << RefusalText(fx.refusal) << "\n";
        return kExitBadInput;
    }
    if (!fx.Any()) {
        std::cerr << "torva-cli: every player already has an opponent in round " << *round << "\n";
        return kExitNothingToPair;
    }
    if (!info.traceWritten)
        std::cerr << "torva-cli: warning: pairing trace not written: " << info.traceError << "\n";
    return WriteOutput(cl, ctx.editor.Save()) ? kExitOk : kExitWriteFailed;
}

} // namespace

const Command kPairCommand = {
    "pair",
    "pair --round N [--seed S] [--trace-dir DIR] [-o OUT] FILE.stg\n"
    "                                  pair round N (1 to the number of rounds), write the tournament;\n"
    "                                  the trace files panelty.txt and test.txt go to DIR\n"
    "                                  (default: the system's temporary folder)",
    {{"--round", true}, {"--seed", true}, {"--trace-dir", true}, {"-o", true}},
    RunPair,
};

} // namespace tabry::cli
