// varnolt-cli: the capture-file tools of Varnolt without the window, for people who convert
// many automatically saved captures, and the offline check of firmware files.

#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "cli/FindCommand.h"
#include "cli/InteropCommands.h"
#include "cli/SettingsCommand.h"
#include "core/shell/VersionInfo.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace varnolt::cli;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const CliParseResult parsed = ParseCliArguments(args);
    if (!parsed.arguments) {
        std::cerr << "varnolt-cli: " << parsed.error << '\n';
        return static_cast<int>(CliExit::Usage);
    }
    switch (parsed.arguments->command) {
    case CliCommand::Help:
        std::cout << CliUsage();
        return static_cast<int>(CliExit::Done);
    case CliCommand::Version:
        std::cout << "varnolt-cli " << varnolt::kProductVersion << '\n';
        return static_cast<int>(CliExit::Done);
    case CliCommand::Info:
        return static_cast<int>(RunInfo(*parsed.arguments, std::cout));
    case CliCommand::Export:
        return static_cast<int>(RunExport(*parsed.arguments));
    case CliCommand::Settings:
        return static_cast<int>(RunSettings(*parsed.arguments, std::cout));
    case CliCommand::Find:
        return static_cast<int>(RunFind(parsed.arguments->commandArgs, std::cout));
    case CliCommand::Firmware:
        return static_cast<int>(RunFirmware(*parsed.arguments, std::cout, std::cerr));
    case CliCommand::Convert:
        return static_cast<int>(RunConvert(*parsed.arguments));
    case CliCommand::Stats:
        return static_cast<int>(RunStats(*parsed.arguments, std::cout));
    case CliCommand::Join:
        return static_cast<int>(RunJoin(*parsed.arguments, std::cout, std::cerr));
    }
    return static_cast<int>(CliExit::Usage);
}
