// The reception path of a measurement (poll pass → ReadAnswer → ParseDataBlock → store) with
// the virtual analyzer delivering successive full data blocks of 460,800 bit/s traffic on both
// lines, with and without control-line capture, against a baseline that only copies the bytes
// of one such block and decodes its items into a plain array. The figure is CPU time of the
// polling thread per record; the simulated clock means no time is spent waiting for traffic,
// and the blocks are recorded before timing starts, so the analyzer's own work is not counted.
// The blocks go round the analyzer's whole memory once, so their device indexes follow each
// other when the last is followed by the first again, and every pass appends a block: a pass
// that appends nothing ends the run with an error.
//
// Counter "x_fastest_traffic": how many times the analyzer's fastest traffic (2 × 46,080
// characters a second, one record each) the path sustains. The program fails when the
// reception path sustains less than 50 times it.

#include "core/capture/AutomaticSave.h"
#include "core/capture/CCaptureData.h"
#include "core/link/port/ReceiveRing.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/link/reception/CDeviceEtc.h"
#include "core/link/reception/CTrigger.h"
#include "core/link/reception/DataBlockParser.h"
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

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "Gates.h"

namespace {

using namespace varnolt;

// Records a second at the analyzer's fastest: 460,800 bit/s, ten bits a character, both lines.
constexpr double kFastestRecordsPerSecond = 2 * 46'080.0;
// How many times that the reception path must sustain.
constexpr double kRequiredMargin = 50;

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

// The analyzer's answers to "BS" and the "BN"s after it while it records fastest traffic with
// record width WIDTH: full data blocks, the last cut to end where the device index wraps.
std::vector<sim::AnswerFrame> SuccessiveBlocks(uint16_t width) {
    CSaParameter settings;
    settings.speed = 460'800;
    settings.controlLineCapture = width;
    sim::MeasurementOptions options;
    options.traffic = sim::TrafficKind::Saturated;
    options.keepLog = false;
    options.statusEveryMs = 0; // blocks only, one after the other
    sim::MeasurementEngine engine(options);
    sim::AnalyzerFirmware firmware;
    engine.Start(settings, 0);
    const int64_t wrap = DeviceIndexWrap(width == 1 ? 1 : 0);
    const int64_t fullBlock = width == 1 ? options.blockUnits / 2 : options.blockUnits;
    std::vector<sim::AnswerFrame> blocks;
    uint32_t now = 0;
    for (int64_t taken = 0; taken < wrap;) {
        const int64_t items = std::min(fullBlock, wrap - taken);
        engine.options().blockUnits = static_cast<int32_t>(width == 1 ? 2 * items : items);
        // Lets the analyzer record until a whole block waits, without ever filling its memory.
        while (engine.recorded() - taken < items) {
            (void)engine.Status(++now, firmware);
        }
        blocks.push_back(blocks.empty() ? engine.FirstBlock(now, firmware)
                                        : engine.NextBlock(now, firmware));
        taken += items;
    }
    return blocks;
}

// A connected, measuring link to the virtual analyzer, which answers each "BN" with the next of
// BLOCKS, starting again with the first after the last.
class Reception {
public:
    explicit Reception(uint16_t width) : blocks_(SuccessiveBlocks(width)) {
        analyzer_.WithFirmware([this](sim::AnalyzerFirmware& state) {
            state.AddCommand("BN", sim::RequestChecksum::Without,
                             [this](sim::AnalyzerFirmware&, const sim::Request&) {
                                 const sim::AnswerFrame& block = blocks_[next_];
                                 next_ = (next_ + 1) % blocks_.size();
                                 return std::vector<sim::AnswerFrame>{block};
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

private:
    std::vector<sim::AnswerFrame> blocks_;
    size_t next_ = 0; // read and written only by the firmware, under the analyzer's lock
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
        const int64_t appended = reception.pass();
        if (appended == 0) {
            state.SkipWithError("a pass appended no records");
            break;
        }
        records += appended;
    }
    SetRates(state, records);
}
BENCHMARK(BM_ReceptionPath)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// The least any reception must do: copy the block's bytes out of a ring and decode its items.
void BM_CopyAndDecodeBaseline(benchmark::State& state) {
    const uint16_t width = static_cast<uint16_t>(state.range(0));
    const sim::AnswerFrame block = SuccessiveBlocks(width).front();
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

int main(int argc, char** argv) {
    std::vector<bench::Gate> gates;
    for (const char* width : {"/1", "/0"}) {
        gates.push_back(bench::CounterAtLeast(std::string("BM_ReceptionPath") + width,
                                              "x_fastest_traffic", kRequiredMargin));
        // How much more the plain copy manages: what the path's own work costs.
        gates.push_back({{std::string("BM_CopyAndDecodeBaseline") + width, bench::Basis::Counter,
                          "x_fastest_traffic"},
                         bench::Figure{std::string("BM_ReceptionPath") + width,
                                       bench::Basis::Counter, "x_fastest_traffic"}});
    }
    return bench::RunGated(
        argc, argv, [] {}, gates);
}
