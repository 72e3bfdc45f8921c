#pragma once

#include "core/link/port/PortBackend.h"
#include "sim/TrafficChoice.h"

#include <memory>
#include <span>
#include <string>

namespace varnolt::sim {

// The port and traffic options of a command line: the port as SelectPortBackend reads it, and
// "--traffic NAME" (SelectTraffic), which only the virtual analyzer takes. Remaining holds the
// other arguments; error says what was wrong with either option.
struct PortAndTraffic {
    PortSelection port;
    TrafficKind traffic = TrafficKind::Exchanges;
};
[[nodiscard]] PortAndTraffic SelectPortAndTraffic(std::span<const std::string> arguments);

// The bridge calls for BACKEND: FTDI's library, libftdi1, or the process's virtual analyzer,
// which then measures TRAFFIC. Null only for libftdi1 in a build without it.
[[nodiscard]] std::unique_ptr<D2xxApi> CreateD2xxApi(PortBackend backend,
                                                     TrafficKind traffic = TrafficKind::Exchanges);

} // namespace varnolt::sim
