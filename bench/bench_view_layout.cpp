// Frame-line layout of a full 4,000,000-record capture: the whole walk that every re-layout
// runs, against a plain pass over the same record words, and the walk to a line through the
// frame-line index, against a plain walk of 50,000 records. The ratios (CPU time of the
// measuring thread) are reported; none is limited.

#include "core/view/FrameLineWalker.h"
#include "core/view/ViewLayout.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "Gates.h"

namespace {

using namespace varnolt;

// Characters both ways with flags, errors, control-line changes, idle gaps and time stamps.
const CCaptureData& FullCapture() {
    static const std::unique_ptr<CCaptureData> capture = [] {
        auto data = std::make_unique<CCaptureData>(kMaxRingCapacity);
        std::mt19937 random(3);
        while (data->Count() < kMaxRingCapacity) {
            const unsigned pick = random() % 100;
            const uint32_t code = random() % 256;
            if (pick < 45) {
                data->Append(MakeRecordWord(RecordKind::SdCharacter, code), 0);
            } else if (pick < 90) {
                data->Append(MakeRecordWord(RecordKind::RdCharacter, code), 0);
            } else if (pick < 93) {
                data->Append(MakeRecordWord(RecordKind::SdError, code % 5), 0);
            } else if (pick < 96) {
                data->Append(MakeRecordWord(RecordKind::ControlLineChange, code), 0);
            } else {
                data->Append(MakeRecordWord(RecordKind::IdleHead, 0x100), 0);
                data->Append(MakeRecordWord(RecordKind::IdleContinuation, code), 0);
                data->Append(MakeRecordWord(RecordKind::IdleContinuation, code), 0);
            }
        }
        data->header().delimiter(DelimiterSlot::SdEnd) = {1, 0x0D, 0};
        return data;
    }();
    return *capture;
}

ViewLayout FrameLayout() {
    ViewLayout layout;
    layout.ResetLayout(FullCapture(), {DisplayMode::Frame, 1, 0}, {1920, 1080});
    return layout;
}

void BM_PlainSumOfRecordWords(benchmark::State& state) {
    const CCaptureData& capture = FullCapture();
    for (auto _ : state) {
        uint64_t sum = 0;
        for (RingIndex i = 0; i < capture.Count(); ++i) {
            sum += capture.word(i);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PlainSumOfRecordWords)->Unit(benchmark::kMillisecond);

void BM_CountFrameLines(benchmark::State& state) {
    ViewLayout layout = FrameLayout();
    for (auto _ : state) {
        benchmark::DoNotOptimize(layout.CountFrameLines(FullCapture()));
    }
}
BENCHMARK(BM_CountFrameLines)->Unit(benchmark::kMillisecond);

void BM_PlainWalkOf50000Records(benchmark::State& state) {
    const CCaptureData& capture = FullCapture();
    const FrameDelimiters& delimiters = capture.header().delimiters;
    RingIndex start = 0;
    for (auto _ : state) {
        FrameLineWalker walker(70, delimiters);
        int lines = 0;
        for (RingIndex i = start; i < start + 50'000; ++i) {
            lines += walker.Step(capture.word(i)) ? 1 : 0;
        }
        benchmark::DoNotOptimize(lines);
        start = (start + 50'001) % 3'900'000;
    }
}
BENCHMARK(BM_PlainWalkOf50000Records)->Unit(benchmark::kMicrosecond);

void BM_LineToRecordAnyLine(benchmark::State& state) {
    ViewLayout layout = FrameLayout();
    const CCaptureData& capture = FullCapture();
    const int32_t lines = layout.frameLineCount();
    std::mt19937 random(5);
    for (auto _ : state) {
        const auto line = static_cast<int32_t>(random() % static_cast<uint32_t>(lines));
        benchmark::DoNotOptimize(
            layout.LineToRecord(capture, capture.firstIndex(), line, layout.screen().columns));
    }
}
BENCHMARK(BM_LineToRecordAnyLine)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunGated(
        argc, argv, [] { (void)FullCapture(); },
        {bench::CpuRatio("BM_CountFrameLines", "BM_PlainSumOfRecordWords"),
         bench::CpuRatio("BM_LineToRecordAnyLine", "BM_PlainWalkOf50000Records")});
}
