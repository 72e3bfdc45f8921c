#pragma once

#include "cli/CliArguments.h"

#include <optional>
#include <string>
#include <vector>

namespace varnolt::cli {

// The command lines of convert, stats and join taken apart; nullopt when ARGS name another
// command.
[[nodiscard]] std::optional<CliParseResult>
ParseInteropArguments(const std::vector<std::string>& args);

} // namespace varnolt::cli
