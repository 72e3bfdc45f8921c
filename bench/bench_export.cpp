// Exporting a full capture (4,000,000 records of characters both ways, idle gaps, time stamps,
// errors and control-line changes) as text and comma-separated values, against xxd dumping
// the same capture file to /dev/null. Continuous text must not take longer than xxd; frame
// layout and comma-separated files at most 1.5 times as long. Both are measured in this
// process and as whole processes (varnolt-cli export against xxd), all on CPU time: the
// measuring thread's for the export in this process, the child process's (user and system, as
// the kernel accounts it once the child has ended) for xxd and varnolt-cli. The program fails
// when a limit is passed.

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/capture/ExportWriter.h"
#include "core/platform/UserPrompt.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "BenchSupport.h"
#include "Gates.h"
#include "RealisticCapture.h"

namespace {

using namespace varnolt;

constexpr double kContinuousRatio = 1.0;
constexpr double kOtherRatio = 1.5;

class ExportFixture : public bench::RealisticCaptureFile {
public:
    ExportFixture() : RealisticCaptureFile("varnolt-bench-export-") {
        // VARNOLT_EXPORT_BENCH_CAPTURE names a place to keep a copy of the capture, for timing
        // varnolt-cli and xxd by hand.
        if (const char* keep = std::getenv("VARNOLT_EXPORT_BENCH_CAPTURE")) {
            std::filesystem::copy_file(capture(), keep,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        // The export writes into /dev/null under names with the endings it needs.
        for (const char* name : {"null.txt", "null.csv"}) {
            std::filesystem::create_symlink("/dev/null", folder() / name);
        }
    }

    [[nodiscard]] std::filesystem::path output(ExportFileType type) const {
        return folder() / (type == ExportFileType::Text ? "null.txt" : "null.csv");
    }
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

// The CPU time the ended child processes have taken so far, in seconds.
double ChildCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs COMMAND through the shell once per iteration; the iteration's time is its CPU time.
void RunProcess(benchmark::State& state, const std::string& command) {
    for (auto _ : state) {
        const double before = ChildCpuSeconds();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError(("failed: " + command).c_str());
            break;
        }
        state.SetIterationTime(ChildCpuSeconds() - before);
    }
}

void BM_XxdBaseline(benchmark::State& state) {
    RunProcess(state, "xxd '" + Fixture().capture().string() + "' > /dev/null");
}
BENCHMARK(BM_XxdBaseline)->Unit(benchmark::kMillisecond)->UseManualTime();

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
BENCHMARK(BM_ExportContinuousText)->Unit(benchmark::kMillisecond);

void BM_ExportFrameText(benchmark::State& state) {
    Export(state, ExportDisplay::Mode::Frame, ExportFileType::Text);
}
BENCHMARK(BM_ExportFrameText)->Unit(benchmark::kMillisecond);

void BM_ExportContinuousCsv(benchmark::State& state) {
    Export(state, ExportDisplay::Mode::Continuous, ExportFileType::CommaSeparated);
}
BENCHMARK(BM_ExportContinuousCsv)->Unit(benchmark::kMillisecond);

void BM_ExportFrameCsv(benchmark::State& state) {
    Export(state, ExportDisplay::Mode::Frame, ExportFileType::CommaSeparated);
}
BENCHMARK(BM_ExportFrameCsv)->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_CliContinuousText)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_CliFrameText(benchmark::State& state) {
    CliExport(state, "--frame", ExportFileType::Text);
}
BENCHMARK(BM_CliFrameText)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_CliContinuousCsv(benchmark::State& state) {
    CliExport(state, "", ExportFileType::CommaSeparated);
}
BENCHMARK(BM_CliContinuousCsv)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_CliFrameCsv(benchmark::State& state) {
    CliExport(state, "--frame", ExportFileType::CommaSeparated);
}
BENCHMARK(BM_CliFrameCsv)->Unit(benchmark::kMillisecond)->UseManualTime();

// The gate of the export NAME, read on BASIS: at most xxd's CPU time for continuous text,
// 1.5 times it for the others.
bench::Gate AgainstXxd(const std::string& name, bench::Basis basis) {
    const bool continuousText = name.find("ContinuousText") != std::string::npos;
    return {{name, basis},
            bench::Figure{"BM_XxdBaseline", bench::Basis::Manual},
            bench::Gate::Bound::AtMost,
            continuousText ? kContinuousRatio : kOtherRatio};
}

} // namespace

int main(int argc, char** argv) {
    std::vector<bench::Gate> gates;
    for (const char* variant : {"ContinuousText", "FrameText", "ContinuousCsv", "FrameCsv"}) {
        gates.push_back(AgainstXxd(std::string("BM_Export") + variant, bench::Basis::ThreadCpu));
        gates.push_back(AgainstXxd(std::string("BM_Cli") + variant, bench::Basis::Manual));
    }
    return bench::RunGated(
        argc, argv, [] { Fixture(); }, gates);
}
