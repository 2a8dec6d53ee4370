#pragma once
// Benchmarks whose targets are ratios: a time of this program against a
// yardstick measured in the same run, so that a busy machine slows both
// alike instead of faking or hiding a change. After the usual table the
// program prints each ratio of the real (wall-clock) times and, beside it,
// of the CPU times, with its goal.
//
// Medians are compared when the run has repetitions
// (--benchmark_repetitions=9); --benchmark_enable_random_interleaving=true
// spreads the repetitions of all benchmarks over the whole run.

#include <string>
#include <vector>

namespace tabry::bench {

struct Ratio {
    std::string what;        // printed before the figures
    std::string numerator;   // a benchmark's full name, e.g. "Pairing/512"
    std::string denominator; // the yardstick's full name
    double goal = 0;         // the highest ratio allowed (0: none)
};

// Runs the benchmarks the command line selects and prints the ratios whose
// two benchmarks both ran. Returns 0, or 1 when a ratio with a goal missed it.
int RunBenchmarksWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios);

} // namespace tabry::bench
