#include "sim/PortBackends.h"

#include "sim/SimulatedBridge.h"
#include "sim/VirtualAnalyzer.h"

namespace varnolt::sim {

std::unique_ptr<D2xxApi> CreateD2xxApi(PortBackend backend) {
    if (backend == PortBackend::Simulated) {
        return std::make_unique<SimulatedBridge>(VirtualAnalyzer::processAnalyzer());
    }
    return CreateHardwareD2xxApi(backend);
}

} // namespace varnolt::sim
