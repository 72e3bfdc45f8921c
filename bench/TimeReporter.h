#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace varnolt::bench {

// The console report, keeping each benchmark's real time per iteration by name so the program
// can compare it with its baseline.
class TimeReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

// Runs the benchmarks the command line selects, after PREPARE (the fixture, built before any
// timing), and returns each one's real time per iteration by name.
inline std::map<std::string, double> RunTimed(int& argc, char** argv,
                                              const std::function<void()>& prepare) {
    benchmark::Initialize(&argc, argv);
    prepare();
    TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.times;
}

} // namespace varnolt::bench
