#include "cli/CliCommands.h"
#include "core/link/firmware/FirmwareFile.h"
#include "core/link/firmware/FirmwareTexts.h"

#include <filesystem>
#include <vector>

namespace varnolt::cli {

CliExit RunFirmware(const CliArguments& args, std::ostream& out, std::ostream& err) {
    const std::filesystem::path path(
        std::u8string(args.capturePath.begin(), args.capturePath.end()));
    std::vector<uint8_t> bytes;
    if (!LoadFirmwareFile(path, bytes)) {
        err << "varnolt-cli: " << args.capturePath << ": " << kCannotOpenFileMessage << '\n';
        return CliExit::Failed;
    }
    const FirmwareFileCheck check = CheckFirmwareFile(bytes);
    out << "file: " << args.capturePath << '\n'
        << "bytes: " << bytes.size() << '\n'
        << "version: " << (check.version.empty() ? "-" : check.version) << '\n'
        << "records: " << check.records << '\n'
        << "single lines: " << check.singleLines << '\n'
        << "MK record: " << (check.markRecord == 0 ? "-" : std::to_string(check.markRecord)) << '\n'
        << "batches: " << check.batches << '\n';
    if (!check.ok()) {
        const std::string problem = DescribeFirmwareProblem(check.problem);
        out << "problem: " << problem << '\n';
        err << "varnolt-cli: " << args.capturePath << ": " << kBadFileMessage << ": " << problem
            << '\n';
        return CliExit::Failed;
    }
    out << "problem: -\n";
    return CliExit::Done;
}

} // namespace varnolt::cli
