#include "bench/support/BenchRatios.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace tabry::bench {

namespace {

struct Times {
    std::vector<double> real; // seconds per iteration, one per repetition
    std::vector<double> cpu;
    double medianReal = -1; // from the library's own median, when it sent one
    double medianCpu = -1;
};

double Median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 == 1 ? v[m] : (v[m - 1] + v[m]) / 2;
}

// The console table as usual, and every run's times kept by name.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    // Plain text: the table is read in logs and reports as often as on a terminal.
    CRatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            Times& t = m_times[run.run_name.str()];
            if (run.run_type == Run::RT_Iteration) {
                t.real.push_back(run.GetAdjustedRealTime() / unit);
                t.cpu.push_back(run.GetAdjustedCPUTime() / unit);
            } else if (run.aggregate_name == "median") {
                t.medianReal = run.GetAdjustedRealTime() / unit;
                t.medianCpu = run.GetAdjustedCPUTime() / unit;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Median real and CPU seconds of a benchmark; false when it did not run.
    bool Find(const std::string& name, double& real, double& cpu) const
    {
        const auto it = m_times.find(name);
        if (it == m_times.end())
            return false;
        const Times& t = it->second;
        real = t.real.empty() ? t.medianReal : Median(t.real);
        cpu = t.cpu.empty() ? t.medianCpu : Median(t.cpu);
        return real > 0 && cpu > 0;
    }

private:
    std::map<std::string, Times> m_times;
};

} // namespace

int RunBenchmarksWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    int status = 0;
    bool header = false;
    for (const Ratio& r : ratios) {
        double numReal = 0;
        double numCpu = 0;
        double denReal = 0;
        double denCpu = 0;
        if (!reporter.Find(r.numerator, numReal, numCpu) || !reporter.Find(r.denominator, denReal, denCpu))
            continue;
        if (!header) {
            std::printf("\nRatios of median times measured in this run (real time; CPU time in brackets):\n");
            header = true;
        }
        const double real = numReal / denReal;
        const double cpu = numCpu / denCpu;
        std::printf("  %-58s %7.3f  (%.3f)", r.what.c_str(), real, cpu);
        if (r.goal > 0) {
            const bool met = real <= r.goal;
            std::printf("  goal <= %.2f: %s", r.goal, met ? "met" : "MISSED");
            if (!met)
                status = 1;
        }
        std::printf("\n      %s %.3f ms / %s %.3f ms\n", r.numerator.c_str(), numReal * 1e3, r.denominator.c_str(),
                    denReal * 1e3);
    }
    std::fflush(stdout);
    return status;
}

} // namespace tabry::bench
