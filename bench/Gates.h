#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace varnolt::bench {

// Where a figure of a benchmark is read.
enum class Basis : uint8_t {
    // CPU time per iteration of the thread that runs the benchmark: what the measured work
    // costs, however busy the machine is. The default.
    ThreadCpu,
    // The time per iteration the benchmark measured itself (SetIterationTime), for work done
    // outside the thread, such as the CPU time of a child process.
    Manual,
    // Real time per iteration, for figures about waiting.
    Wall,
    // A user counter of the benchmark.
    Counter,
};

// One figure: BENCHMARK is the name as reported without its options ("BM_Load",
// "BM_Reception/1"); COUNTER names the counter read with Basis::Counter.
struct Figure {
    std::string benchmark;
    Basis basis = Basis::ThreadCpu;
    std::string counter;
};

// A promise of a benchmark program: MEASURED (divided by BASELINE when there is one) at most or
// at least LIMIT. Without a limit the ratio is only reported.
struct Gate {
    enum class Bound : uint8_t { AtMost, AtLeast, None };
    Figure measured;
    std::optional<Figure> baseline;
    Bound bound = Bound::None;
    double limit = 0;
};

// MEASURED / BASELINE on the CPU time of the measuring thread, at most LIMIT.
inline Gate CpuRatioAtMost(std::string measured, std::string baseline, double limit) {
    return {{std::move(measured)}, Figure{std::move(baseline)}, Gate::Bound::AtMost, limit};
}
// MEASURED / BASELINE on the CPU time of the measuring thread, only reported.
inline Gate CpuRatio(std::string measured, std::string baseline) {
    return {{std::move(measured)}, Figure{std::move(baseline)}, Gate::Bound::None, 0};
}
inline Gate CounterAtLeast(std::string benchmark, std::string counter, double limit) {
    return {{std::move(benchmark), Basis::Counter, std::move(counter)},
            std::nullopt,
            Gate::Bound::AtLeast,
            limit};
}
inline Gate CounterAtMost(std::string benchmark, std::string counter, double limit) {
    return {{std::move(benchmark), Basis::Counter, std::move(counter)},
            std::nullopt,
            Gate::Bound::AtMost,
            limit};
}

namespace gates_detail {

// What the runs of one benchmark gave: its figures from the median of its repetitions (the
// median aggregate when only aggregates are reported), or the error that stopped it.
struct Outcome {
    std::vector<std::map<std::string, double>> samples; // one per iteration run
    std::optional<std::map<std::string, double>> median;
    std::string error;
};

inline double SecondsPerUnit(benchmark::TimeUnit unit) {
    switch (unit) {
    case benchmark::kNanosecond:
        return 1e-9;
    case benchmark::kMicrosecond:
        return 1e-6;
    case benchmark::kMillisecond:
        return 1e-3;
    default:
        return 1;
    }
}

// A run's figures by key: "cpu", "real" (real or manual time, in seconds) and its counters.
inline std::map<std::string, double> FiguresOf(const benchmark::BenchmarkReporter::Run& run) {
    const double unit = SecondsPerUnit(run.time_unit);
    std::map<std::string, double> figures{{"cpu", run.GetAdjustedCPUTime() * unit},
                                          {"real", run.GetAdjustedRealTime() * unit}};
    for (const auto& [name, counter] : run.counters) {
        figures["counter " + name] = counter.value;
    }
    return figures;
}

// The console report, keeping every benchmark's figures by name.
class GateReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) {
                name += "/" + run.run_name.args;
            }
            Outcome& outcome = outcomes[name];
            if (run.error_occurred) {
                outcome.error = run.error_message.empty() ? "skipped" : run.error_message;
            } else if (run.run_type == Run::RT_Iteration) {
                outcome.samples.push_back(FiguresOf(run));
            } else if (run.aggregate_name == "median") {
                outcome.median = FiguresOf(run);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Outcome> outcomes;
};

inline std::string KeyOf(const Figure& figure) {
    switch (figure.basis) {
    case Basis::ThreadCpu:
        return "cpu";
    case Basis::Manual:
    case Basis::Wall:
        return "real";
    case Basis::Counter:
        return "counter " + figure.counter;
    }
    return {};
}

inline std::string Describe(const Figure& figure) {
    switch (figure.basis) {
    case Basis::ThreadCpu:
        return figure.benchmark;
    case Basis::Manual:
        return figure.benchmark + " (own timing)";
    case Basis::Wall:
        return figure.benchmark + " (real time)";
    case Basis::Counter:
        return figure.benchmark + " " + figure.counter;
    }
    return {};
}

// FIGURE's value, or why there is none.
inline std::optional<double> ValueOf(const std::map<std::string, Outcome>& outcomes,
                                     const Figure& figure, std::string& missing) {
    const auto found = outcomes.find(figure.benchmark);
    if (found == outcomes.end()) {
        missing = figure.benchmark + " did not run";
        return std::nullopt;
    }
    const Outcome& outcome = found->second;
    if (!outcome.error.empty()) {
        missing = figure.benchmark + ": " + outcome.error;
        return std::nullopt;
    }
    const std::string key = KeyOf(figure);
    std::vector<double> values;
    if (outcome.median) {
        if (const auto value = outcome.median->find(key); value != outcome.median->end()) {
            values.push_back(value->second);
        }
    } else {
        for (const auto& sample : outcome.samples) {
            if (const auto value = sample.find(key); value != sample.end()) {
                values.push_back(value->second);
            }
        }
    }
    if (values.empty()) {
        missing = Describe(figure) + " was not reported";
        return std::nullopt;
    }
    // The median of the repetitions (the lower middle one of an even count).
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>((values.size() - 1) / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// VALUE to three significant digits.
inline std::string Shown(double value) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.3g", value);
    return text.data();
}

// Whether a --benchmark_filter chooses the benchmarks to run.
inline bool Filtered(int argc, char** argv) {
    for (int k = 1; k < argc; ++k) {
        if (std::strncmp(argv[k], "--benchmark_filter", 18) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace gates_detail

// Runs the benchmarks the command line selects, after PREPARE (the fixtures, built before any
// timing), then checks GATES and prints one line each:
//   gate<TAB>what<TAB>value<TAB>limit<TAB>verdict
// Returns the program's exit status: 1 when a gate fails or a figure it needs is missing or
// was skipped with an error; a gate whose benchmarks a --benchmark_filter left out is not
// judged. With VARNOLT_BENCH_SMOKE set, figures must be there but limits are not judged: a
// quick run on a busy machine tells a broken benchmark, not a slow one.
inline int RunGated(int& argc, char** argv, const std::function<void()>& prepare,
                    const std::vector<Gate>& gates) {
    using namespace gates_detail;
    const bool filtered = Filtered(argc, argv);
    const bool smoke = std::getenv("VARNOLT_BENCH_SMOKE") != nullptr;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    prepare();
    GateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool within = true;
    for (const Gate& gate : gates) {
        std::string what = Describe(gate.measured);
        if (gate.baseline) {
            what += " / " + Describe(*gate.baseline);
        }
        const char* bound = gate.bound == Gate::Bound::AtMost    ? "<= "
                            : gate.bound == Gate::Bound::AtLeast ? ">= "
                                                                 : "";
        const std::string limit = gate.bound == Gate::Bound::None ? "-" : bound + Shown(gate.limit);
        std::string missing;
        std::optional<double> value = ValueOf(reporter.outcomes, gate.measured, missing);
        if (value && gate.baseline) {
            const std::optional<double> base = ValueOf(reporter.outcomes, *gate.baseline, missing);
            value = base && *base > 0 ? std::optional(*value / *base) : std::nullopt;
            if (base && *base <= 0) {
                missing = Describe(*gate.baseline) + " is zero";
            }
        }
        std::string verdict;
        std::string shown = "-";
        if (!value) {
            const bool leftOut = filtered && missing.ends_with("did not run");
            verdict = leftOut ? "not run" : "MISSING: " + missing;
            within = within && leftOut;
        } else {
            shown = Shown(*value);
            const bool pass =
                gate.bound == Gate::Bound::None ||
                (gate.bound == Gate::Bound::AtMost ? *value <= gate.limit : *value >= gate.limit);
            verdict = gate.bound == Gate::Bound::None ? "reported"
                      : smoke                         ? "measured"
                      : pass                          ? "pass"
                                                      : "FAIL";
            within = within && (pass || smoke);
        }
        std::cout << "gate\t" << what << '\t' << shown << '\t' << limit << '\t' << verdict << '\n';
    }
    return within ? 0 : 1;
}

} // namespace varnolt::bench
