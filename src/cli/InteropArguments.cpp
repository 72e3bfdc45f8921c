#include "cli/InteropArguments.h"

namespace varnolt::cli {

std::optional<CliParseResult> ParseInteropArguments(const std::vector<std::string>& args) {
    const std::string& command = args.front();
    CliArguments result;
    if (command == "convert") {
        result.command = CliCommand::Convert;
    } else if (command == "stats") {
        result.command = CliCommand::Stats;
    } else if (command == "join") {
        result.command = CliCommand::Join;
    } else {
        return std::nullopt;
    }
    const auto refuse = [](std::string error) { return CliParseResult{std::nullopt, error}; };
    std::vector<std::string> positional;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return CliParseResult{CliArguments{}, {}};
        }
        if (!arg.starts_with("-") || arg == "-") {
            positional.push_back(arg);
        } else if (result.command == CliCommand::Stats && arg == "--json") {
            result.json = true;
        } else if (result.command == CliCommand::Join && arg == "--check") {
            result.checkOnly = true;
        } else {
            return refuse("unknown option '" + arg + "' for " + command + " (try --help)");
        }
    }
    switch (result.command) {
    case CliCommand::Convert:
        if (positional.size() != 2) {
            return refuse(positional.size() < 2
                              ? "convert needs a capture file and an output file (try --help)"
                              : "unexpected argument '" + positional[2] + "' (try --help)");
        }
        result.capturePath = positional[0];
        result.outputPath = positional[1];
        break;
    case CliCommand::Stats:
        if (positional.size() != 1) {
            return refuse(positional.empty()
                              ? "stats needs a capture file (try --help)"
                              : "unexpected argument '" + positional[1] + "' (try --help)");
        }
        result.capturePath = positional[0];
        break;
    default:
        // With --check every file named is one to check; otherwise the first is the output.
        if (result.checkOnly) {
            if (positional.empty()) {
                return refuse("join --check needs the capture files to check (try --help)");
            }
            result.inputPaths = positional;
            break;
        }
        if (positional.size() < 2) {
            return refuse("join needs an output file and the capture files to join (try --help)");
        }
        result.outputPath = positional[0];
        result.inputPaths.assign(positional.begin() + 1, positional.end());
        break;
    }
    return CliParseResult{result, {}};
}

} // namespace varnolt::cli
