#pragma once

#include "core/link/port/D2xxApi.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnolt {

// Which implementation of the bridge calls the program talks through.
enum class PortBackend {
    D2xx,      // FTDI's own library, loaded at run time
    LibFtdi,   // libftdi1
    Simulated, // the virtual analyzer
};

// FTDI's library on Windows, libftdi1 elsewhere (when this build has it), so that a user
// without FTDI's library never meets its load error.
[[nodiscard]] PortBackend DefaultPortBackend();

// The name --port takes for BACKEND: "d2xx", "libftdi" or "sim".
[[nodiscard]] std::string_view PortBackendName(PortBackend backend);

// The command line with the port options taken out.
struct PortSelection {
    PortBackend backend = PortBackend::D2xx;
    std::vector<std::string> remaining; // the other arguments, in order
    std::string error;                  // empty unless an option was wrong
};

// Reads "--port NAME", "--port=NAME" (NAME d2xx, libftdi or sim) and "--simulate" (short for
// "--port sim") from ARGUMENTS (without the program name); the last one given wins, none gives
// DefaultPortBackend(). An unknown name, a missing name, or libftdi in a build without it
// leaves the default and says why in error.
[[nodiscard]] PortSelection SelectPortBackend(std::span<const std::string> arguments);

// FTDI's library or libftdi1; null for the simulated backend (src/sim makes that one) or
// when this build has no libftdi1.
[[nodiscard]] std::unique_ptr<D2xxApi> CreateHardwareD2xxApi(PortBackend backend);

} // namespace varnolt
