#include "cli/CliArguments.h"

#include "cli/InteropArguments.h"

#include <string_view>

namespace varnolt::cli {

namespace {

CliParseResult Refuse(std::string error) {
    return {std::nullopt, std::move(error)};
}

bool IsHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

// Splits "--name=value" into its parts; VALUE stays empty without "=".
std::string_view OptionName(std::string_view arg, std::optional<std::string>& value) {
    const size_t equals = arg.find('=');
    if (arg.starts_with("--") && equals != std::string_view::npos) {
        value = std::string(arg.substr(equals + 1));
        return arg.substr(0, equals);
    }
    return arg;
}

} // namespace

CliParseResult ParseSettingsArguments(const std::vector<std::string>& args) {
    CliArguments result;
    result.command = CliCommand::Settings;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return {CliArguments{}, {}};
        }
        if (arg == "--json") {
            result.json = true;
        } else if (arg == "--diff") {
            result.diff = true;
        } else if (arg.starts_with("-") && arg != "-") {
            return {std::nullopt, "unknown option '" + arg + "' for settings (try --help)"};
        } else {
            result.settingsFiles.push_back(arg);
        }
    }
    const size_t expected = result.diff ? 2 : 1;
    if (result.settingsFiles.size() != expected) {
        return {std::nullopt, result.diff
                                  ? "settings --diff needs two settings files (try --help)"
                                  : "settings needs one settings file, or two with --diff (try "
                                    "--help)"};
    }
    return {result, {}};
}

CliParseResult ParseCliArguments(const std::vector<std::string>& args) {
    if (args.empty()) {
        return Refuse("no command given (try --help)");
    }
    CliArguments result;
    const std::string& command = args.front();
    if (IsHelp(command)) {
        return {result, {}};
    }
    if (command == "--version") {
        result.command = CliCommand::Version;
        return {result, {}};
    }
    if (std::optional<CliParseResult> interop = ParseInteropArguments(args)) {
        return *interop;
    }
    if (command == "info") {
        result.command = CliCommand::Info;
    } else if (command == "export") {
        result.command = CliCommand::Export;
    } else if (command == "settings") {
        return ParseSettingsArguments(args);
    } else if (command == "find") {
        result.command = CliCommand::Find;
        for (size_t i = 1; i < args.size(); ++i) {
            if (IsHelp(args[i])) {
                return {CliArguments{}, {}};
            }
            result.commandArgs.push_back(args[i]);
        }
        return {result, {}};
    } else if (command == "firmware") {
        result.command = CliCommand::Firmware;
    } else {
        return Refuse("unknown command '" + command + "' (try --help)");
    }

    std::vector<std::string> positional;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (IsHelp(arg)) {
            return {CliArguments{}, {}};
        }
        if (!arg.starts_with("-") || arg == "-") {
            positional.push_back(arg);
            continue;
        }
        std::optional<std::string> inlineValue;
        const std::string_view name = OptionName(arg, inlineValue);
        const bool exportCommand = result.command == CliCommand::Export;
        const auto flag = [&](bool& target) {
            if (inlineValue) {
                return false;
            }
            target = true;
            return true;
        };
        const auto number = [&](std::string& target) {
            if (inlineValue) {
                target = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size()) {
                return false;
            }
            target = args[++i];
            return true;
        };
        bool understood = false;
        if (exportCommand && name == "--frame") {
            understood = flag(result.frameLayout);
        } else if (exportCommand && name == "--half-width") {
            understood = flag(result.halfWidth);
        } else if (exportCommand && name == "--control-lines") {
            understood = flag(result.controlLines);
        } else if (exportCommand && name == "--line-length") {
            understood = number(result.lineLength);
            if (!understood) {
                return Refuse("option --line-length needs a value");
            }
        } else if (exportCommand && name == "--start") {
            understood = number(result.startPosition);
            if (!understood) {
                return Refuse("option --start needs a value");
            }
        }
        if (!understood) {
            return Refuse("unknown option '" + arg + "' for " + command + " (try --help)");
        }
    }

    const size_t expected = result.command == CliCommand::Export ? 2 : 1;
    if (positional.size() < expected) {
        return Refuse(result.command == CliCommand::Info ? "info needs a capture file (try --help)"
                      : result.command == CliCommand::Firmware
                          ? "firmware needs a firmware file (try --help)"
                          : "export needs a capture file and an output file (try --help)");
    }
    if (positional.size() > expected) {
        return Refuse("unexpected argument '" + positional[expected] + "' (try --help)");
    }
    result.capturePath = positional[0];
    if (result.command == CliCommand::Export) {
        result.outputPath = positional[1];
    }
    return {result, {}};
}

std::string CliUsage() {
    return "Usage:\n"
           "  varnolt-cli info FILE.tvd\n"
           "  varnolt-cli export FILE.tvd OUT.txt|OUT.csv [--frame] [--line-length N]\n"
           "                     [--half-width] [--control-lines] [--start N]\n"
           "  varnolt-cli settings FILE.tvs [--json]\n"
           "  varnolt-cli settings A.tvs B.tvs --diff [--json]\n"
           "  varnolt-cli find FILE.tvd CRITERIA [--backward] [--from N] [--all] [--max N]\n"
           "  varnolt-cli firmware FILE.tvy\n"
           "  varnolt-cli convert FILE.tvd OUT.pcapng|OUT.vcd\n"
           "  varnolt-cli stats FILE.tvd [--json]\n"
           "  varnolt-cli join OUT.tvd IN1.tvd IN2.tvd ...\n"
           "  varnolt-cli join --check IN1.tvd IN2.tvd ...\n"
           "  varnolt-cli --help\n"
           "  varnolt-cli --version\n"
           "\n"
           "info     prints the capture's header and record count, one 'key: value' per line.\n"
           "export   writes the capture as text (.txt) or comma-separated values (.csv) in\n"
           "         code page 932, byte for byte as the program's export dialog does.\n"
           "settings prints every analyzer setting of a settings file, one 'name: value' per\n"
           "         line (--json: one JSON object); with --diff only the settings in which\n"
           "         two files differ, as 'name: A -> B' (--json: name: [A, B]).\n"
           "firmware checks a firmware file as the firmware update does before it sends\n"
           "         anything: prints its version, records, the MK record and the batches,\n"
           "         and the first problem that makes the update refuse it.\n"
           "convert  writes the capture for other tools: pcapng (Wireshark; one packet per\n"
           "         frame, link type RTAC serial, with control-line and error events) or VCD\n"
           "         (waveform viewers; the SD and RD lines bit by bit and the control lines).\n"
           "stats    prints the capture's statistics: records, characters, errors, frames,\n"
           "         idle gaps, response times, control-line changes, time span (--json: as a\n"
           "         JSON object).\n"
           "join     joins the files of one automatic-saving run, in the order given, into\n"
           "         one capture file; refuses files whose conditions or record width differ\n"
           "         or that hold more than 4,000,000 records together, and never overwrites\n"
           "         a capture of the run named as OUT (--check: every file named is an\n"
           "         input, and only the report is printed).\n"
           "\n"
           "Export options:\n"
           "  --frame           frame layout (one line pair per frame line); default continuous\n"
           "  --line-length N   characters per block or line, 10 or more (default 50;\n"
           "                    decimal, 0x hexadecimal or leading-zero octal)\n"
           "  --half-width      half-width characters; default full-width\n"
           "  --control-lines   also write the six control-line rows (captures with\n"
           "                    control lines only)\n"
           "  --start N         position of the first record to export, from 1 (default 1)\n"
           "\n"
           "find     searches the capture as the data view does and prints each hit as\n"
           "         'KIND FIRST LAST' (KIND: SD, RD, ERROR, IDLE, TIME; positions from 1).\n"
           "         CRITERIA, exactly one of:\n"
           "  --pattern \"TOKENS\"  a sequence on one line (SD or RD); blank-separated tokens:\n"
           "                      XX (two hex digits), 'text', * (any), !PE !FE !PF !BR !OE,\n"
           "                      m0..m3 (bit mask k), r0..r3 (range k); with\n"
           "                      --mask K=BBBBBBBB (1, 0, ? from bit 7) and --range K=LO-HI\n"
           "                      (two hex digits a side; an empty side is not enabled)\n"
           "  --error LIST        comma-separated PE,FE,PF,BR,OE\n"
           "  --idle MIN-MAX      idle gap in milliseconds, inclusive; empty or 0: no bound\n"
           "  --time FROM..TO     YYYY-MM-DDTHH:MM:SS each\n"
           "         --from N starts the search after position N; --backward searches\n"
           "         backwards; --all repeats until a hit repeats or --max N were printed.\n"
           "         Exit status 0 found, 1 nothing found, 2 command line or criteria unusable.\n"
           "\n"
           "Exit status: 0 done; 1 a file could not be read or written, the capture file or\n"
           "the firmware file was refused or an option value was refused; 2 the command line\n"
           "is not understood;\n"
           "3 the capture file is damaged: what could be read was used.\n";
}

} // namespace varnolt::cli
