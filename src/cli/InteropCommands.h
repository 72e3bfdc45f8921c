#pragma once

#include "cli/CliArguments.h"
#include "cli/CliCommands.h"

#include <ostream>

namespace varnolt::cli {

// varnolt-cli convert: the capture as pcapng or VCD, by the output file's extension.
[[nodiscard]] CliExit RunConvert(const CliArguments& args);

// varnolt-cli stats: the capture's statistics on OUT, as text or JSON.
[[nodiscard]] CliExit RunStats(const CliArguments& args, std::ostream& out);

// varnolt-cli join: the capture files joined into one, or with --check only the report. The
// files and the outcome are reported on OUT, a refusal on ERR.
[[nodiscard]] CliExit RunJoin(const CliArguments& args, std::ostream& out, std::ostream& err);

} // namespace varnolt::cli
