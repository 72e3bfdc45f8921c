// The search over a full 4,000,000-record capture that holds no hit, so each walks the whole
// ring once: a character pattern whose first element never matches, an error search and an idle
// search, each against a plain pass summing the same record words (reported, not limited). The
// worst case, a 128-element pattern over records that match all but its last element
// everywhere, is run at four capture sizes: it must grow linearly with the capture, so a record
// of the largest may cost at most twice what a record of the smallest does (the larger capture
// no longer fits the processor's caches; a search that went back over the pattern at each start
// would cost eight times as much). All on the CPU time of the searching thread.

#include "core/view/SearchCondition.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "Gates.h"

namespace {

using namespace varnolt;

// Characters 0x00 … 0xFE both ways, errors PE to BR, control-line changes and idle gaps of at
// most 4,095 ms.
const CCaptureData& FullCapture() {
    static const std::unique_ptr<CCaptureData> capture = [] {
        auto data = std::make_unique<CCaptureData>(kMaxRingCapacity);
        std::mt19937 random(5);
        while (data->Count() < kMaxRingCapacity) {
            const unsigned pick = random() % 100;
            const uint32_t code = random() % 255;
            if (pick < 45) {
                data->Append(MakeRecordWord(RecordKind::SdCharacter, code), 0);
            } else if (pick < 90) {
                data->Append(MakeRecordWord(RecordKind::RdCharacter, code), 0);
            } else if (pick < 93) {
                data->Append(MakeRecordWord(RecordKind::SdError, code % 4), 0);
            } else if (pick < 96) {
                data->Append(MakeRecordWord(RecordKind::ControlLineChange, code), 0);
            } else {
                data->Append(MakeRecordWord(RecordKind::IdleHead, 0x100), 0);
                data->Append(MakeRecordWord(RecordKind::IdleContinuation, 0), 0);
                data->Append(MakeRecordWord(RecordKind::IdleContinuation, code), 0);
            }
        }
        return data;
    }();
    return *capture;
}

void Search(benchmark::State& state, const CCaptureData& capture, const SearchCriteria& criteria) {
    SearchCondition search(criteria);
    for (auto _ : state) {
        if (search.Find(capture, kNoRecord, SearchDirection::Forward)) {
            state.SkipWithError("the capture holds a hit");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * capture.Count());
    state.counters["seconds_per_record"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * capture.Count(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
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
    state.SetItemsProcessed(state.iterations() * capture.Count());
}
BENCHMARK(BM_PlainSumOfRecordWords)->Unit(benchmark::kMillisecond);

void BM_CharacterSearchNoHit(benchmark::State& state) {
    SearchCriteria criteria;
    criteria.kind = kSearchCharacters;
    const PatternElement elements[] = {{kPatternCharacter, 0xFF}, {kPatternCharacter, 0x41}};
    criteria.pattern.setElements(elements);
    Search(state, FullCapture(), criteria);
}
BENCHMARK(BM_CharacterSearchNoHit)->Unit(benchmark::kMillisecond);

void BM_ErrorSearchNoHit(benchmark::State& state) {
    SearchCriteria criteria;
    criteria.kind = kSearchError;
    criteria.errorSet = 0x08; // OE only; the capture holds PE to BR
    Search(state, FullCapture(), criteria);
}
BENCHMARK(BM_ErrorSearchNoHit)->Unit(benchmark::kMillisecond);

void BM_IdleSearchNoHit(benchmark::State& state) {
    SearchCriteria criteria;
    criteria.kind = kSearchIdle;
    criteria.idleLowerMs = 5000;
    Search(state, FullCapture(), criteria);
}
BENCHMARK(BM_IdleSearchNoHit)->Unit(benchmark::kMillisecond);

// RECORDS SD 'A' against 127 'A' and a 'B': every start fails at the last element.
void BM_WorstCasePattern(benchmark::State& state) {
    const auto records = static_cast<RecordCount>(state.range(0));
    CCaptureData capture(records);
    for (RecordCount i = 0; i < records; ++i) {
        capture.Append(MakeRecordWord(RecordKind::SdCharacter, 'A'), 0);
    }
    SearchCriteria criteria;
    criteria.kind = kSearchCharacters;
    std::vector<PatternElement> elements(kMaxPatternLength, {kPatternCharacter, 'A'});
    elements.back().value = 'B';
    criteria.pattern.setElements(elements);
    Search(state, capture, criteria);
}
BENCHMARK(BM_WorstCasePattern)
    ->Arg(500'000)
    ->Arg(1'000'000)
    ->Arg(2'000'000)
    ->Arg(4'000'000)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const bench::Figure smallest{"BM_WorstCasePattern/500000", bench::Basis::Counter,
                                 "seconds_per_record"};
    bench::Figure largest = smallest;
    largest.benchmark = "BM_WorstCasePattern/4000000";
    return bench::RunGated(argc, argv, [] { (void)FullCapture(); },
                           {bench::CpuRatio("BM_CharacterSearchNoHit", "BM_PlainSumOfRecordWords"),
                            bench::CpuRatio("BM_ErrorSearchNoHit", "BM_PlainSumOfRecordWords"),
                            bench::CpuRatio("BM_IdleSearchNoHit", "BM_PlainSumOfRecordWords"),
                            {largest, smallest, bench::Gate::Bound::AtMost, 2.0}});
}
