#pragma once

#include "cli/CliCommands.h"

#include <ostream>
#include <string>
#include <vector>

namespace varnolt::cli {

// varnolt-cli find: the data view's search on a capture file. ARGS are the arguments after
// "find"; every hit is a line "KIND FIRST LAST" on OUT, positions counted from 1. Done when
// something was found, Failed when nothing was (or the file could not be read), Usage for a
// command line not understood or criteria that are not set.
[[nodiscard]] CliExit RunFind(const std::vector<std::string>& args, std::ostream& out);

} // namespace varnolt::cli
