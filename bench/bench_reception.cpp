// The reception path of a measurement (poll pass → ReadAnswer → ParseDataBlock → store) with
// the virtual analyzer delivering full data blocks of 460,800 bit/s traffic on both lines with
// control-line capture, against a baseline that only copies the same bytes and decodes their
// items into a plain array. The figure is CPU time of the polling thread per record; the
// simulated clock means no time is spent waiting for traffic, and the blocks are recorded
// before timing starts, so the analyzer's own work is not counted.
//
// Counter "x_fastest_traffic": how many times the analyzer's fastest traffic (2 × 46,080
// characters a second, one record each) the path sustains. It must stay above 50.

#include "core/capture/AutomaticSave.h"
#include "core/capture/CCaptureData.h"
#include "core/link/port/ReceiveRing.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/link/reception/CDeviceEtc.h"
#include "core/link/reception/CTrigger.h"
#include "core/link/reception/OnlineReception.h"
#include "core/link/reception/ReceptionView.h"
#include "core/platform/ManualClock.h"
#include "core/platform/UserPrompt.h"
#include "core/settings/CSaParameter.h"
#include "core/settings/SettingsCapture.h"
#include "sim/MeasurementEngine.h"
#include "sim/SimulatedBridge.h"
#include "sim/SimulatedLinkTime.h"
#include "sim/VirtualAnalyzer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "BenchSupport.h"

namespace {

using namespace varnolt;

// Records a second at the analyzer's fastest: 460,800 bit/s, ten bits a character, both lines.
constexpr double kFastestRecordsPerSecond = 2 * 46'080.0;

class NullView final : public ReceptionView {
public:
    void DrawReceived(RingIndex, bool) override {}
    void DrawOverflow(RingIndex) override {}
    void DrawLiveIdle(RingIndex, uint32_t) override {}
    void RefreshLineLamps(bool) override {}
    void RefreshStatusAndPanes() override {}
    void RefreshDevicePane() override {}
    void OnMeasurementStarted(bool) override {}
    void OnMeasurementStopped() override {}
    void OnDownloadEnded() override {}
    void ShowNotice(std::string_view) override {}
};

// A full data block of fastest traffic with record width WIDTH, as the analyzer sends it.
sim::AnswerFrame FullBlock(uint16_t width) {
    CSaParameter settings;
    settings.speed = 460'800;
    settings.controlLineCapture = width;
    sim::MeasurementOptions options;
    options.traffic = sim::TrafficKind::Saturated;
    options.keepLog = false;
    sim::MeasurementEngine engine(options);
    sim::AnalyzerFirmware firmware;
    engine.Start(settings, 0);
    (void)engine.FirstBlock(0, firmware);
    return engine.NextBlock(2000, firmware); // two seconds: more than a block holds
}

// A connected, measuring link to the virtual analyzer, whose every "BN" is answered with BLOCK.
class Reception {
public:
    explicit Reception(uint16_t width) : block_(FullBlock(width)) {
        analyzer_.WithFirmware([this](sim::AnalyzerFirmware& state) {
            state.AddCommand("BN", sim::RequestChecksum::Without,
                             [this](sim::AnalyzerFirmware&, const sim::Request&) {
                                 return std::vector<sim::AnswerFrame>{block_};
                             });
        });
        if (!link_.SetRemote(&prompt_, 1)) {
            std::abort();
        }
        settings_.controlLineCapture = width;
        store_.Reset(CaptureConditionsOf(settings_));
        link_.setRunStateValue(CMoniterComm::kRunning);
        link_.setLinkState(LinkState::SendNextBlock);
        reception_.Tick(); // sends the first "BN"
    }

    // One pass; returns the records it appended.
    int64_t pass() {
        while (analyzer_.bytesInFlight()) {
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
        const ReceivedCount before = reception_.received();
        reception_.Tick();
        clock_.advance(10);
        return reception_.received() - before;
    }

    [[nodiscard]] const sim::AnswerFrame& block() const { return block_; }

private:
    sim::AnswerFrame block_;
    ManualClock clock_{100};
    sim::VirtualAnalyzer analyzer_{clock_};
    sim::SimulatedBridge bridge_{analyzer_};
    bench::AbortingPrompt prompt_;
    ReceiveRing ring_;
    sim::SimulatedLinkTime time_{clock_, analyzer_, ring_};
    NoWaitCursor cursor_;
    CMoniterComm link_{LinkServices{bridge_, prompt_, clock_, time_, cursor_, &ring_}};
    CCaptureData store_;
    CSaParameter settings_;
    LineStates lines_{};
    CTrigger trigger_;
    CDeviceEtc device_;
    NullView view_;
    OnlineReception reception_{ReceptionContext{link_, store_, settings_, lines_, trigger_, device_,
                                                [] { return AutoSaveOptions{}; }, prompt_, view_,
                                                [] {}}};
};

void SetRates(benchmark::State& state, int64_t records) {
    state.SetItemsProcessed(records);
    state.counters["x_fastest_traffic"] = benchmark::Counter(
        static_cast<double>(records) / kFastestRecordsPerSecond, benchmark::Counter::kIsRate);
}

void BM_ReceptionPath(benchmark::State& state) {
    Reception reception(static_cast<uint16_t>(state.range(0)));
    int64_t records = 0;
    for (auto _ : state) {
        records += reception.pass();
    }
    SetRates(state, records);
}
BENCHMARK(BM_ReceptionPath)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// The least any reception must do: copy the block's bytes out of a ring and decode its items.
void BM_CopyAndDecodeBaseline(benchmark::State& state) {
    const uint16_t width = static_cast<uint16_t>(state.range(0));
    const sim::AnswerFrame block = FullBlock(width);
    const size_t itemBytes = width == 1 ? 4 : 2;
    const size_t items = (block.size() - 20) / itemBytes;
    std::vector<uint8_t> area(block.size());
    std::vector<uint32_t> words(items);
    int64_t records = 0;
    for (auto _ : state) {
        std::copy(block.begin(), block.end(), area.begin());
        const uint8_t* item = area.data() + 14;
        for (size_t k = 0; k < items; ++k, item += itemBytes) {
            words[k] = width == 1 ? uint32_t{item[0]} << 24 | uint32_t{item[1]} << 16 |
                                        uint32_t{item[2]} << 8 | item[3]
                                  : uint32_t{item[0]} << 24 | uint32_t{item[1]} << 16;
        }
        benchmark::DoNotOptimize(words.data());
        records += static_cast<int64_t>(items);
    }
    SetRates(state, records);
}
BENCHMARK(BM_CopyAndDecodeBaseline)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
