// Loading a full capture file (4,000,000 records) into the store, against a plain fread of the
// same file, on the CPU time of the loading thread (system time included). The program fails
// when the load takes more than 1.5 times the fread.

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileReader.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/platform/UserPrompt.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "BenchSupport.h"
#include "Gates.h"

namespace {

using namespace varnolt;

constexpr double kAllowedRatio = 1.5;

// A full capture file in a temporary folder, written once by the program's own writer.
class CaptureFixture {
public:
    CaptureFixture() {
        folder_ = std::filesystem::temp_directory_path() /
                  ("varnolt-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder_);
        path_ = folder_ / "full.tvd";
        store_ = std::make_unique<CCaptureData>();
        std::mt19937 random(42);
        for (RecordCount i = 0; i < kMaxRingCapacity; ++i) {
            store_->Append(0x10000000u + (random() & 0x01FF0000u), 0);
        }
        bench::AbortingPrompt prompt;
        WriteCaptureFile(path_, store_->header(), 0, *store_,
                         {SaveSource::Ring, store_->firstIndex(), store_->lastIndex()}, prompt);
        fileBytes_.resize(std::filesystem::file_size(path_));
    }
    ~CaptureFixture() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    [[nodiscard]] CCaptureData& store() { return *store_; }
    [[nodiscard]] std::vector<unsigned char>& fileBytes() { return fileBytes_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
    std::unique_ptr<CCaptureData> store_;
    std::vector<unsigned char> fileBytes_;
};

CaptureFixture& Fixture() {
    static CaptureFixture fixture;
    return fixture;
}

long PeakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_FreadBaseline(benchmark::State& state) {
    auto& bytes = Fixture().fileBytes();
    for (auto _ : state) {
        std::FILE* file = std::fopen(Fixture().path().c_str(), "rb");
        const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        if (got != bytes.size()) {
            state.SkipWithError("short read");
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_FreadBaseline)->Unit(benchmark::kMillisecond);

void BM_LoadCaptureFile(benchmark::State& state) {
    CCaptureData& store = Fixture().store();
    bench::AbortingPrompt prompt;
    const long peakBefore = PeakResidentKilobytes();
    for (auto _ : state) {
        if (!ReadCaptureFile(Fixture().path(), store, prompt) ||
            store.Count() != kMaxRingCapacity) {
            state.SkipWithError("load failed");
        }
        benchmark::DoNotOptimize(store.lastIndex());
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * Fixture().fileBytes().size()));
    // Loading into a store whose arrays are already in use must not grow the process.
    state.counters["peak_rss_growth_kB"] =
        static_cast<double>(PeakResidentKilobytes() - peakBefore);
}
BENCHMARK(BM_LoadCaptureFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunGated(
        argc, argv, [] { Fixture(); },
        {bench::CpuRatioAtMost("BM_LoadCaptureFile", "BM_FreadBaseline", kAllowedRatio)});
}
