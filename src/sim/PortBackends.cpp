#include "sim/PortBackends.h"

#include "sim/MeasurementEngine.h"
#include "sim/SimulatedBridge.h"
#include "sim/VirtualAnalyzer.h"

namespace varnolt::sim {

PortAndTraffic SelectPortAndTraffic(std::span<const std::string> arguments) {
    PortAndTraffic chosen{SelectPortBackend(arguments)};
    TrafficSelection traffic = SelectTraffic(chosen.port.remaining);
    chosen.port.remaining = std::move(traffic.remaining);
    chosen.traffic = traffic.kind;
    if (chosen.port.error.empty()) {
        chosen.port.error = std::move(traffic.error);
    }
    if (chosen.port.error.empty() && traffic.given &&
        chosen.port.backend != PortBackend::Simulated) {
        chosen.port.error = "--traffic is for the virtual analyzer: add --simulate or --port sim";
        chosen.traffic = TrafficKind::Exchanges;
    }
    return chosen;
}

std::unique_ptr<D2xxApi> CreateD2xxApi(PortBackend backend, TrafficKind traffic) {
    if (backend == PortBackend::Simulated) {
        VirtualAnalyzer& analyzer = VirtualAnalyzer::processAnalyzer();
        analyzer.WithFirmware([traffic](AnalyzerFirmware& firmware) {
            firmware.measurement->options().traffic = traffic;
        });
        return std::make_unique<SimulatedBridge>(analyzer);
    }
    return CreateHardwareD2xxApi(backend);
}

} // namespace varnolt::sim
