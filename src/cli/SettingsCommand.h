#pragma once

#include "cli/CliArguments.h"
#include "cli/CliCommands.h"

#include <ostream>
#include <string>
#include <vector>

namespace varnolt::cli {

// varnolt-cli settings: every setting of a settings file as "name: value" lines (or one JSON
// object) on OUT, or only those in which two files differ.
[[nodiscard]] CliExit RunSettings(const CliArguments& args, std::ostream& out);

} // namespace varnolt::cli
