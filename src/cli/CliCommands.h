#pragma once

#include "cli/CliArguments.h"
#include "core/capture/CCaptureData.h"

#include <memory>
#include <ostream>
#include <string>

namespace varnolt::cli {

// Exit statuses of varnolt-cli.
enum class CliExit : int {
    Done = 0,
    Failed = 1,  // a file could not be read or written, or a value was refused
    Usage = 2,   // the command line is not understood
    Damaged = 3, // the capture file is damaged; what could be read was used
};

class StderrPrompt;

// The capture file at PATH, loaded; empty when it was refused or could not be read (the
// reader has told why). DAMAGED says that the reader reported a problem but kept what it read.
[[nodiscard]] std::unique_ptr<CCaptureData> LoadCapture(const std::string& path,
                                                        StderrPrompt& prompt, bool& damaged);

// varnolt-cli info: the capture header and the record count on OUT.
[[nodiscard]] CliExit RunInfo(const CliArguments& args, std::ostream& out);

// varnolt-cli export: the export the dialog writes with the same choices.
[[nodiscard]] CliExit RunExport(const CliArguments& args);

// varnolt-cli firmware: the firmware file's check on OUT; Failed for a file the update would
// refuse (the reason on ERR).
[[nodiscard]] CliExit RunFirmware(const CliArguments& args, std::ostream& out, std::ostream& err);

} // namespace varnolt::cli
