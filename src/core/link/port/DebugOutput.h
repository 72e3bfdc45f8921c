#pragma once

#include <string_view>

namespace varnolt {

// The debugger channel: notes for developers, never shown to the user. Written to std::clog
// when switched on, by SetDebugOutputEnabled or by the environment variable VARNOLT_DEBUG=1.
void DebugOutput(std::string_view text);
void SetDebugOutputEnabled(bool enabled);

} // namespace varnolt
