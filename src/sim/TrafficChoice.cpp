#include "sim/TrafficChoice.h"

namespace varnolt::sim {

namespace {

constexpr std::string_view kTrafficOption = "--traffic";
constexpr TrafficKind kKinds[] = {TrafficKind::Exchanges, TrafficKind::Saturated,
                                  TrafficKind::Modbus};

} // namespace

std::string_view TrafficKindName(TrafficKind kind) {
    switch (kind) {
    case TrafficKind::Exchanges:
        return "exchanges";
    case TrafficKind::Saturated:
        return "saturated";
    case TrafficKind::Modbus:
        return "modbus";
    }
    return "exchanges";
}

std::optional<TrafficKind> TrafficKindNamed(std::string_view name) {
    for (const TrafficKind kind : kKinds) {
        if (name == TrafficKindName(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

TrafficSelection SelectTraffic(std::span<const std::string> arguments) {
    TrafficSelection selection;
    const auto choose = [&selection](std::string_view name) {
        selection.given = true;
        if (const std::optional<TrafficKind> kind = TrafficKindNamed(name)) {
            selection.kind = *kind;
        } else {
            selection.error =
                "--traffic takes exchanges, saturated or modbus, not \"" + std::string(name) + "\"";
        }
    };
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string_view argument = arguments[index];
        if (argument == kTrafficOption) {
            if (index + 1 == arguments.size()) {
                selection.given = true;
                selection.error = "--traffic needs a name: exchanges, saturated or modbus";
            } else {
                choose(arguments[++index]);
            }
        } else if (argument.starts_with(kTrafficOption) &&
                   argument.size() > kTrafficOption.size() &&
                   argument[kTrafficOption.size()] == '=') {
            choose(argument.substr(kTrafficOption.size() + 1));
        } else {
            selection.remaining.push_back(std::string(argument));
        }
    }
    return selection;
}

} // namespace varnolt::sim
