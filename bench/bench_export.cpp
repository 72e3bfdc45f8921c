// Exporting a full capture (4,000,000 records of characters both ways, idle gaps, time stamps,
// errors and control-line changes) as text and comma-separated values, against xxd dumping
// the same capture file to /dev/null. Continuous text must not take longer than xxd; frame
// layout and comma-separated files at most 1.5 times as long. Both are measured in this
// process and as whole processes (varnolt-cli export against xxd). The program fails when a
// limit is passed.

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/capture/ExportWriter.h"
#include "core/platform/UserPrompt.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"

namespace {

using namespace varnolt;

constexpr double kContinuousRatio = 1.0;
constexpr double kOtherRatio = 1.5;

// A realistic capture: runs of characters alternating between SD and RD, an idle gap before
// most runs, a time stamp every few runs, now and then a line error or a control-line change;
// every word carries the control-line states.
void FillRealisticCapture(CCaptureData& store) {
    std::mt19937 random(7);
    const auto below = [&](uint32_t n) { return static_cast<uint32_t>(random() % n); };
    uint32_t lines = 0x9; // RS on, ER off
    bool sd = true;
    RecordCount count = 0;
    const auto append = [&](uint32_t word) {
        if (count < store.maxCapacity()) {
            store.Append(word | lines, 0);
            ++count;
        }
    };
    store.header().recordWidth = 1;
    store.header().idleDisplay = 1;
    store.header().timeDisplay = 2;
    while (count < store.maxCapacity()) {
        if (below(4) != 0) {
            const uint32_t resolution = 1 + below(3);
            const uint32_t value = below(200000);
            append(0x50000000 | resolution << 24 | (value >> 24) << 16);
            append(0x60000000 | (value >> 12 & 0xFFF) << 16);
            append(0x60000000 | (value & 0xFFF) << 16);
        }
        if (below(5) == 0) {
            const uint32_t kind = 1 + below(5);
            append(0x70000000 | kind << 24 | below(0x100) << 16);
            for (int i = 0; i < 3; ++i) {
                append(0x80000000 | below(0x1000) << 16);
            }
        }
        if (below(10) == 0) {
            const uint32_t next = 0x5 + below(0xFFF);
            append(0xB0000000 | (lines & 0xFFF) << 16 | (next & 0xFFF));
            lines = next & 0xFFF;
        }
        const uint32_t run = 1 + below(40);
        for (uint32_t i = 0; i < run; ++i) {
            const uint32_t direction = sd ? 0 : 1;
            if (below(200) == 0) {
                append((0x30000000 + (direction << 28)) | below(5) << 16);
            } else {
                append((0x10000000 + (direction << 28)) | below(256) << 16 |
                       (below(60) == 0 ? 0x01000000u : 0u));
            }
        }
        sd = !sd;
    }
}

class ExportFixture {
public:
    ExportFixture() {
        folder_ = std::filesystem::temp_directory_path() /
                  ("varnolt-bench-export-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder_);
        capture_ = folder_ / "full.tvd";
        store_ = std::make_unique<CCaptureData>();
        FillRealisticCapture(*store_);
        bench::AbortingPrompt prompt;
        WriteCaptureFile(capture_, store_->header(), 0, *store_,
                         {SaveSource::Ring, store_->firstIndex(), store_->lastIndex()}, prompt);
        // VARNOLT_EXPORT_BENCH_CAPTURE names a place to keep a copy of the capture, for timing
        // varnolt-cli and xxd by hand.
        if (const char* keep = std::getenv("VARNOLT_EXPORT_BENCH_CAPTURE")) {
            std::filesystem::copy_file(capture_, keep,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        // The export writes into /dev/null under names with the endings it needs.
        for (const char* name : {"null.txt", "null.csv"}) {
            std::filesystem::create_symlink("/dev/null", folder_ / name);
        }
    }
    ~ExportFixture() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    [[nodiscard]] const CCaptureData& store() const { return *store_; }
    [[nodiscard]] const std::filesystem::path& capture() const { return capture_; }
    [[nodiscard]] std::filesystem::path output(ExportFileType type) const {
        return folder_ / (type == ExportFileType::Text ? "null.txt" : "null.csv");
    }

private:
    std::filesystem::path folder_;
    std::filesystem::path capture_;
    std::unique_ptr<CCaptureData> store_;
};

ExportFixture& Fixture() {
    static ExportFixture fixture;
    return fixture;
}

// varnolt-cli next to this program in the build tree, if it was built.
std::filesystem::path CliProgram() {
    std::error_code ignored;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ignored);
    return self.parent_path().parent_path() / "src" / "cli" / "varnolt-cli";
}

void RunProcess(benchmark::State& state, const std::string& command) {
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError(("failed: " + command).c_str());
            break;
        }
    }
}

void BM_XxdBaseline(benchmark::State& state) {
    RunProcess(state, "xxd '" + Fixture().capture().string() + "' > /dev/null");
}
BENCHMARK(BM_XxdBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

void Export(benchmark::State& state, ExportDisplay::Mode mode, ExportFileType type) {
    ExportRequest request;
    request.fileName = Fixture().output(type).string();
    request.fileType = type;
    request.lineLength = 50;
    request.controlLineOutput = true;
    const ExportDisplay display{mode, Fixture().store().header().idleDisplay,
                                Fixture().store().header().timeDisplay};
    for (auto _ : state) {
        if (WriteExportFile(Fixture().store(), display, request, Fixture().capture().string()) !=
            FileError::None) {
            state.SkipWithError("export failed");
        }
    }
}

void BM_ExportContinuousText(benchmark::State& state) {
    Export(state, ExportDisplay::Mode::Continuous, ExportFileType::Text);
}
BENCHMARK(BM_ExportContinuousText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportFrameText(benchmark::State& state) {
    Export(state, ExportDisplay::Mode::Frame, ExportFileType::Text);
}
BENCHMARK(BM_ExportFrameText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportContinuousCsv(benchmark::State& state) {
    Export(state, ExportDisplay::Mode::Continuous, ExportFileType::CommaSeparated);
}
BENCHMARK(BM_ExportContinuousCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportFrameCsv(benchmark::State& state) {
    Export(state, ExportDisplay::Mode::Frame, ExportFileType::CommaSeparated);
}
BENCHMARK(BM_ExportFrameCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole program: loading the capture file, exporting, writing.
void CliExport(benchmark::State& state, const char* options, ExportFileType type) {
    if (!std::filesystem::exists(CliProgram())) {
        state.SkipWithError("varnolt-cli is not built");
        return;
    }
    std::string command = "'";
    command.append(CliProgram().string());
    command.append("' export '");
    command.append(Fixture().capture().string());
    command.append("' '");
    command.append(Fixture().output(type).string());
    command.append("' --control-lines ");
    command.append(options);
    RunProcess(state, command);
}

void BM_CliContinuousText(benchmark::State& state) {
    CliExport(state, "", ExportFileType::Text);
}
BENCHMARK(BM_CliContinuousText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliFrameText(benchmark::State& state) {
    CliExport(state, "--frame", ExportFileType::Text);
}
BENCHMARK(BM_CliFrameText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliContinuousCsv(benchmark::State& state) {
    CliExport(state, "", ExportFileType::CommaSeparated);
}
BENCHMARK(BM_CliContinuousCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliFrameCsv(benchmark::State& state) {
    CliExport(state, "--frame", ExportFileType::CommaSeparated);
}
BENCHMARK(BM_CliFrameCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

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

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Fixture();
    TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto baseline = reporter.times.find("BM_XxdBaseline");
    if (baseline == reporter.times.end()) {
        return 0; // filtered: nothing to compare
    }
    bool within = true;
    for (const auto& [name, time] : reporter.times) {
        if (name == baseline->first) {
            continue;
        }
        const bool continuousText = name.find("ContinuousText") != std::string::npos;
        const double allowed = continuousText ? kContinuousRatio : kOtherRatio;
        const double ratio = time / baseline->second;
        std::cout << name << " / xxd = " << ratio << " (allowed " << allowed << ")\n";
        within = within && ratio <= allowed;
    }
    return within ? 0 : 1;
}
