// Converting a full capture (4,000,000 records of characters both ways, idle gaps, time stamps,
// errors and control-line changes) for other tools, against the program's own work on the same
// capture in the same process, on the CPU time of the measuring thread: pcapng and VCD must take
// at most three times as long as the continuous text export, the statistics at most four times
// as long as loading the capture file. The program fails when a limit is passed.
//
// The capture's time stamps go forward, as the analyzer records them (StampClock::Forward): with
// the shared fixture's stamps of random digits the clock jumps back and forth every few runs, and
// the waveform writer, which never draws backwards, then spends its time holding the lines at
// the furthest point reached instead of converting. Both the baselines and the conversions run
// on this same capture; tests cover stamps that go back.

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileReader.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/capture/ExportWriter.h"
#include "core/interop/CaptureStatistics.h"
#include "core/interop/InteropExport.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>

#include "BenchSupport.h"
#include "Gates.h"
#include "RealisticCapture.h"

namespace {

using namespace varnolt;

constexpr double kConversionRatio = 3.0; // pcapng, VCD against the text export
constexpr double kStatisticsRatio = 4.0; // statistics against loading the file

class InteropFixture : public bench::RealisticCaptureFile {
public:
    InteropFixture()
        : RealisticCaptureFile("varnolt-bench-interop-", bench::StampClock::Forward),
          base_(TimeBase::ForFile(capture())) {
        std::filesystem::create_symlink("/dev/null", folder() / "null.txt");
    }

    [[nodiscard]] std::filesystem::path textOutput() const { return folder() / "null.txt"; }
    [[nodiscard]] const TimeBase& base() const { return base_; }

private:
    TimeBase base_;
};

InteropFixture& Fixture() {
    static InteropFixture fixture;
    return fixture;
}

void BM_TextExportBaseline(benchmark::State& state) {
    ExportRequest request;
    request.fileName = Fixture().textOutput().string();
    request.fileType = ExportFileType::Text;
    request.lineLength = 50;
    request.controlLineOutput = true;
    const ExportDisplay display{ExportDisplay::Mode::Continuous,
                                Fixture().store().header().idleDisplay,
                                Fixture().store().header().timeDisplay};
    for (auto _ : state) {
        if (WriteExportFile(Fixture().store(), display, request, Fixture().capture().string()) !=
            FileError::None) {
            state.SkipWithError("export failed");
        }
    }
}
BENCHMARK(BM_TextExportBaseline)->Unit(benchmark::kMillisecond);

void Convert(benchmark::State& state, InteropFormat format) {
    for (auto _ : state) {
        if (WriteInteropFile(Fixture().store(), Fixture().base(), format, "/dev/null") !=
            FileError::None) {
            state.SkipWithError("conversion failed");
        }
    }
}

void BM_Pcapng(benchmark::State& state) {
    Convert(state, InteropFormat::Pcapng);
}
BENCHMARK(BM_Pcapng)->Unit(benchmark::kMillisecond);

void BM_Vcd(benchmark::State& state) {
    Convert(state, InteropFormat::Vcd);
}
BENCHMARK(BM_Vcd)->Unit(benchmark::kMillisecond);

void BM_LoadBaseline(benchmark::State& state) {
    auto store = std::make_unique<CCaptureData>();
    bench::AbortingPrompt prompt;
    for (auto _ : state) {
        ReadCaptureFile(Fixture().capture(), *store, prompt);
        benchmark::DoNotOptimize(store->Count());
    }
}
BENCHMARK(BM_LoadBaseline)->Unit(benchmark::kMillisecond);

void BM_Statistics(benchmark::State& state) {
    for (auto _ : state) {
        const CaptureStatistics stats = ComputeStatistics(Fixture().store(), Fixture().base());
        benchmark::DoNotOptimize(stats.frames);
    }
}
BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunGated(
        argc, argv, [] { Fixture(); },
        {bench::CpuRatioAtMost("BM_Pcapng", "BM_TextExportBaseline", kConversionRatio),
         bench::CpuRatioAtMost("BM_Vcd", "BM_TextExportBaseline", kConversionRatio),
         bench::CpuRatioAtMost("BM_Statistics", "BM_LoadBaseline", kStatisticsRatio)});
}
