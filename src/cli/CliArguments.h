#pragma once

#include <optional>
#include <string>
#include <vector>

namespace varnolt::cli {

enum class CliCommand {
    Help,
    Version,
    Info,
    Export,
    Settings,
    Find,
    Firmware,
    Convert,
    Stats,
    Join
};

// The command line of varnolt-cli, taken apart. Numbers stay text: the export checks them
// exactly as the export dialog checks what the user typed.
struct CliArguments {
    CliCommand command = CliCommand::Help;
    std::string capturePath; // the input file: a capture, or the firmware file to check
    std::string outputPath;
    bool frameLayout = false;
    bool halfWidth = false;
    bool controlLines = false;
    std::string lineLength = "50";
    std::string startPosition = "1";
    std::vector<std::string> settingsFiles; // settings: one file, or two with --diff
    std::vector<std::string> inputPaths;    // join: the files to join, in order
    bool json = false;                      // settings --json, stats --json
    bool diff = false;
    // find: the arguments after the command, which it takes apart itself.
    std::vector<std::string> commandArgs;
    bool checkOnly = false; // join --check

    friend bool operator==(const CliArguments&, const CliArguments&) = default;
};

// The arguments after the program name, or the one-line reason they are not understood.
struct CliParseResult {
    std::optional<CliArguments> arguments;
    std::string error;
};

[[nodiscard]] CliParseResult ParseCliArguments(const std::vector<std::string>& args);

// "settings FILE.tvs [--json]" and "settings A.tvs B.tvs --diff [--json]"; ARGS starts with the
// command word.
[[nodiscard]] CliParseResult ParseSettingsArguments(const std::vector<std::string>& args);

// The text of --help.
[[nodiscard]] std::string CliUsage();

} // namespace varnolt::cli
