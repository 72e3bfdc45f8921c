#pragma once

#include "core/link/port/PortBackend.h"

#include <memory>

namespace varnolt::sim {

// The bridge calls for BACKEND: FTDI's library, libftdi1, or the process's virtual analyzer.
// Null only for libftdi1 in a build without it.
[[nodiscard]] std::unique_ptr<D2xxApi> CreateD2xxApi(PortBackend backend);

} // namespace varnolt::sim
