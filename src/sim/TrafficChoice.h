#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnolt::sim {

// What the virtual analyzer sees on the line it measures.
enum class TrafficKind {
    Exchanges, // request and response exchanges with idle gaps between them
    Saturated, // both lines busy back to back at the set speed, no gaps
    Modbus,    // a Modbus RTU master and its slaves: valid frames, CRCs and silences
};

// The name --traffic takes for KIND: "exchanges", "saturated" or "modbus".
[[nodiscard]] std::string_view TrafficKindName(TrafficKind kind);
// The kind NAME names; none for any other text.
[[nodiscard]] std::optional<TrafficKind> TrafficKindNamed(std::string_view name);

// The command line with the traffic option taken out.
struct TrafficSelection {
    TrafficKind kind = TrafficKind::Exchanges;
    bool given = false;                 // the option was there
    std::vector<std::string> remaining; // the other arguments, in order
    std::string error;                  // empty unless the option was wrong
};

// Reads "--traffic NAME" and "--traffic=NAME" from ARGUMENTS (without the program name); the
// last one given wins, none gives exchanges. A missing or unknown name leaves exchanges and says
// why in error.
[[nodiscard]] TrafficSelection SelectTraffic(std::span<const std::string> arguments);

} // namespace varnolt::sim
