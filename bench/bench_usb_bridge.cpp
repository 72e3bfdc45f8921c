// Bytes from the virtual analyzer through an FT232H emulated below libusb (umockdev), libusb,
// libftdi1, the program's libftdi1 backend and the port's reader into the receive ring, against
// the in-process simulated bridge in the same run. Every byte is checked on arrival. The USB
// path must carry the analyzer's fastest traffic with ten times to spare: both lines saturated
// at 460,800 bit/s (10 bits a character) with the control lines, 4 bytes an item, is 368,640
// bytes a second of data blocks. The figures are each path's slowest run in real time: they are
// about threads waiting for each other and for the bus.
//
// Needs umockdev's preload library; started without it, the program starts itself again with
// LD_PRELOAD set.

#include "core/link/port/CFtdiPort.h"
#include "core/link/port/LibFtdiApi.h"
#include "core/platform/Clock.h"
#include "sim/SimulatedBridge.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <unistd.h>

#include "BenchSupport.h"
#include "EmulatedUsbBus.h"
#include "Gates.h"
#include "PortStream.h"

namespace {

using namespace varnolt;

constexpr size_t kStreamBytes = 8 << 20;  // per iteration
constexpr size_t kPacketBytes = 16 << 10; // what the analyzer queues at a time
constexpr size_t kQueuedLimit = 256 << 10;
constexpr double kFastestTrafficBytesPerSecond = 2 * (460'800.0 / 10) * 4;
constexpr double kHeadroom = 10;

const std::vector<uint8_t>& Stream() {
    static const std::vector<uint8_t> stream = bench::RandomStream(kStreamBytes);
    return stream;
}

// Streams through PORT (opened over API) for every iteration of STATE; its counter
// "slowest_MBps" is the slowest run's rate.
void StreamIterations(benchmark::State& state, D2xxApi& api, sim::VirtualAnalyzer& analyzer,
                      const Clock& clock) {
    bench::AbortingPrompt prompt;
    ReceiveRing ring;
    CFtdiPort port(api, prompt, clock, ring);
    port.LoadD2xx();
    if (!port.Open()) {
        state.SkipWithError("the bridge did not open");
        return;
    }
    double slowest = 0; // bytes per second
    for (auto _ : state) {
        const double rate =
            bench::StreamThroughPort(analyzer, ring, Stream(), kPacketBytes, kQueuedLimit);
        if (rate == 0) {
            state.SkipWithError("a byte was lost, doubled or reordered");
            break;
        }
        slowest = slowest == 0 ? rate : std::min(slowest, rate);
    }
    port.Close();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Stream().size()));
    state.counters["slowest_MBps"] = slowest / 1e6;
}

void BM_SimulatedBridgeBaseline(benchmark::State& state) {
    SteadyClock clock;
    sim::VirtualAnalyzer analyzer(clock);
    sim::SimulatedBridge bridge(analyzer);
    StreamIterations(state, bridge, analyzer, clock);
}

void BM_EmulatedUsbBridge(benchmark::State& state) {
    SteadyClock clock;
    sim::VirtualAnalyzer analyzer(clock);
    testing::EmulatedUsbBus bus;
    testing::EmulatedUsbBus::Device& bridge = bus.Plug(testing::Ft232hIdentity{}, &analyzer);
    testing::Ft232hBehaviour unlimited;
    unlimited.lineBytesPerSecond = 0; // the software path's own rate
    bridge.chip().setBehaviour(unlimited);
    LibFtdiApi api;
    StreamIterations(state, api, analyzer, clock);
}

BENCHMARK(BM_SimulatedBridgeBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EmulatedUsbBridge)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (!testing::EmulatedUsbBus::available()) {
        setenv("LD_PRELOAD", "libumockdev-preload.so.0", 1);
        execv("/proc/self/exe", argv);
        std::cerr << "could not start again with umockdev's preload library\n";
        return 1;
    }
    using namespace varnolt::bench;
    const Figure emulated{"BM_EmulatedUsbBridge", Basis::Counter, "slowest_MBps"};
    return RunGated(
        argc, argv, [] { (void)Stream(); },
        {{emulated, std::nullopt, Gate::Bound::AtLeast,
          kHeadroom * kFastestTrafficBytesPerSecond / 1e6},
         {emulated, Figure{"BM_SimulatedBridgeBaseline", Basis::Counter, "slowest_MBps"}}});
}
