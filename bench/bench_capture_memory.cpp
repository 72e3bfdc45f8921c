// The memory that opening a full capture file (4,000,000 records) costs: the growth of the
// process's peak resident size while a fresh store is made and the file is read into it,
// against the baseline of the store's own arrays (the ring and the two save banks). The
// program fails when the worst growth of its runs passes the arrays by more than a fixed
// margin: the reader may keep a small buffer, never a copy in proportion to the file.

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileReader.h"
#include "core/capture/CaptureFileWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "BenchSupport.h"
#include "Gates.h"

namespace {

using namespace varnolt;

// What opening may cost beyond the store's arrays: the reader's buffer, the file stream and
// the allocator's bookkeeping.
constexpr double kMarginMiB = 8.0;
constexpr double kKiBPerMiB = 1024.0;

// A line of /proc/self/status, in KiB ("VmRSS", "VmHWM"); -1 when it cannot be read.
long StatusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field + ":")) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return -1;
}

// Brings the peak resident size down to the present one, so the next peak is the next step's.
bool ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear.flush());
}

// A full capture file in a temporary folder, written by the program's own writer; the store it
// was written from is gone before anything is measured.
class FullCaptureFile {
public:
    FullCaptureFile() {
        folder_ = std::filesystem::temp_directory_path() /
                  ("varnolt-bench-memory-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder_);
        path_ = folder_ / "full.tvd";
        auto store = std::make_unique<CCaptureData>();
        std::mt19937 random(42);
        for (RecordCount i = 0; i < kMaxRingCapacity; ++i) {
            store->Append(0x10000000u + (random() & 0x01FF0000u), i);
        }
        bench::AbortingPrompt prompt;
        WriteCaptureFile(path_, store->header(), 0, *store,
                         {SaveSource::Ring, store->firstIndex(), store->lastIndex()}, prompt);
    }
    ~FullCaptureFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    FullCaptureFile(const FullCaptureFile&) = delete;
    FullCaptureFile& operator=(const FullCaptureFile&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
};

const FullCaptureFile& File() {
    static const FullCaptureFile file;
    return file;
}

// The baseline: what the store's arrays take once every entry is in use.
double StoreArraysMiB() {
    const double bytes = static_cast<double>(kMaxRingCapacity) *
                         static_cast<double>(sizeof(CaptureRecord) + 2 * sizeof(RecordWord));
    return bytes / (kKiBPerMiB * kKiBPerMiB);
}

void BM_OpenFullCapture(benchmark::State& state) {
    bench::AbortingPrompt prompt;
    double worstGrowthMiB = 0.0;
    for (auto _ : state) {
        if (!ResetPeak()) {
            state.SkipWithError("the peak resident size cannot be reset (/proc/self/clear_refs)");
            return;
        }
        const long before = StatusKiB("VmRSS");
        {
            CCaptureData store;
            if (!ReadCaptureFile(File().path(), store, prompt) ||
                store.Count() != kMaxRingCapacity) {
                state.SkipWithError("load failed");
                return;
            }
            benchmark::DoNotOptimize(store.lastIndex());
            const double growthMiB = static_cast<double>(StatusKiB("VmHWM") - before) / kKiBPerMiB;
            worstGrowthMiB = std::max(worstGrowthMiB, growthMiB);
        }
    }
    state.counters["peak_growth_MiB"] = worstGrowthMiB;
    state.counters["store_arrays_MiB"] = StoreArraysMiB();
    state.counters["beyond_arrays_MiB"] = worstGrowthMiB - StoreArraysMiB();
}
BENCHMARK(BM_OpenFullCapture)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return bench::RunGated(
        argc, argv, [] { (void)File(); },
        {bench::CounterAtMost("BM_OpenFullCapture", "beyond_arrays_MiB", kMarginMiB)});
}
