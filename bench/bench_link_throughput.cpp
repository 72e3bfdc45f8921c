// Bytes from the simulated bridge through the port's reader thread, the receive ring and
// ReadRing to the consumer, against a plain memcpy of the same bytes. Every byte is checked on
// arrival: one lost, doubled or out of order ends the run with an error. The bridge's
// practical USB 2.0 rate is 40 MB/s; the program fails when the link's slowest run is slower.
// The link's figure is real time: it is about two threads waiting for each other.

#include "core/link/port/CFtdiPort.h"
#include "core/link/port/ReceiveRing.h"
#include "core/platform/Clock.h"
#include "core/platform/UserPrompt.h"
#include "sim/SimulatedBridge.h"
#include "sim/VirtualAnalyzer.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "BenchSupport.h"
#include "Gates.h"
#include "PortStream.h"

namespace {

using namespace varnolt;

constexpr size_t kStreamBytes = 32 << 20; // per iteration
constexpr size_t kPacketBytes = 64 << 10; // what the analyzer queues at a time
constexpr size_t kQueuedLimit = 1 << 20;  // bytes in the bridge before the sender waits
constexpr double kRequiredMegabytesPerSecond = 40;

const std::vector<uint8_t>& Stream() {
    static const std::vector<uint8_t> stream = bench::RandomStream(kStreamBytes);
    return stream;
}

void BM_MemcpyBaseline(benchmark::State& state) {
    const std::vector<uint8_t>& stream = Stream();
    std::vector<uint8_t> area(kPacketBytes);
    for (auto _ : state) {
        for (size_t offset = 0; offset < stream.size(); offset += kPacketBytes) {
            std::memcpy(area.data(), stream.data() + offset, kPacketBytes);
            benchmark::DoNotOptimize(area.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}

void BM_BridgeToConsumer(benchmark::State& state) {
    const std::vector<uint8_t>& stream = Stream();
    SteadyClock clock;
    sim::VirtualAnalyzer analyzer(clock);
    sim::SimulatedBridge bridge(analyzer);
    bench::AbortingPrompt prompt;
    ReceiveRing ring;
    CFtdiPort port(bridge, prompt, clock, ring);
    port.LoadD2xx();
    if (!port.Open()) {
        state.SkipWithError("the simulated bridge did not open");
        return;
    }
    double slowestLinkRate = 0; // bytes per second
    for (auto _ : state) {
        const double rate =
            bench::StreamThroughPort(analyzer, ring, stream, kPacketBytes, kQueuedLimit);
        if (rate == 0) {
            state.SkipWithError("a byte was lost, doubled or reordered");
            break;
        }
        if (slowestLinkRate == 0 || rate < slowestLinkRate) {
            slowestLinkRate = rate;
        }
    }
    port.Close();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
    state.counters["slowest_MBps"] = slowestLinkRate / 1e6;
}

BENCHMARK(BM_MemcpyBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BridgeToConsumer)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return bench::RunGated(argc, argv, [] { (void)Stream(); },
                           {bench::CounterAtLeast("BM_BridgeToConsumer", "slowest_MBps",
                                                  kRequiredMegabytesPerSecond)});
}
