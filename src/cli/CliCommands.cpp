#include "cli/CliCommands.h"

#include "cli/StderrPrompt.h"
#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileReader.h"
#include "core/capture/ExportValidation.h"
#include "core/capture/ExportWriter.h"
#include "core/platform/FileError.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace varnolt::cli {

namespace {

// NAMES[VALUE], or "unknown" for a value outside the table.
template <size_t N>
std::string_view NameOf(const std::array<std::string_view, N>& names, int64_t value) {
    return value >= 0 && value < static_cast<int64_t>(N) ? names[static_cast<size_t>(value)]
                                                         : "unknown";
}

constexpr std::array<std::string_view, 5> kLineModeNames = {
    "unknown", "RS-232C monitor", "RS-232C simulation", "RS-422/485 monitor",
    "RS-422/485 simulation"};
constexpr std::array<std::string_view, 4> kParityNames = {"none", "unknown", "even", "odd"};
constexpr std::array<std::string_view, 4> kIdleDisplayNames = {"off", "0.001 s", "0.01 s", "0.1 s"};
constexpr std::array<std::string_view, 6> kTimeDisplayNames = {
    "off", "YY/MM/DD HH:MM:SS", "MM/DD HH:MM:SS.cc", "YY/MM/DD", "HH:MM:SS", "HH:MM:SS.cc"};

std::string DelimiterText(const FrameDelimiter& delimiter) {
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", delimiter.code);
    return std::string(delimiter.enabled != 0 ? "on " : "off ") + code;
}

} // namespace

std::unique_ptr<CCaptureData> LoadCapture(const std::string& path, StderrPrompt& prompt,
                                          bool& damaged) {
    auto store = std::make_unique<CCaptureData>();
    const size_t before = prompt.count();
    if (!ReadCaptureFile(ExportPath(path), *store, prompt)) {
        return nullptr;
    }
    damaged = prompt.count() != before;
    return store;
}

CliExit RunInfo(const CliArguments& args, std::ostream& out) {
    StderrPrompt prompt;
    bool damaged = false;
    const std::unique_ptr<CCaptureData> store = LoadCapture(args.capturePath, prompt, damaged);
    if (!store) {
        return CliExit::Failed;
    }
    const CaptureHeader& h = store->header();
    out << "line mode: " << h.lineMode << " (" << NameOf(kLineModeNames, h.lineMode) << ")\n"
        << "speed: " << h.speed << '\n'
        << "data bits: " << h.dataBits << '\n'
        << "parity: " << h.parity << " (" << NameOf(kParityNames, h.parity) << ")\n"
        << "stop bits: " << h.stopBits << '\n'
        << "transmit output: " << h.transmitOutput << '\n'
        << "record width: " << h.recordWidth << '\n'
        << "idle display: " << h.idleDisplay << " (" << NameOf(kIdleDisplayNames, h.idleDisplay)
        << ")\n"
        << "time display: " << h.timeDisplay << " (" << NameOf(kTimeDisplayNames, h.timeDisplay)
        << ")\n"
        << "frame detection time: " << h.frameDetectionTime << " ms\n";
    constexpr std::array<const char*, 4> kDelimiterNames = {
        "sd start delimiter", "sd end delimiter", "rd start delimiter", "rd end delimiter"};
    for (size_t slot = 0; slot < kDelimiterNames.size(); ++slot) {
        out << kDelimiterNames[slot] << ": " << DelimiterText(h.delimiters[slot]) << '\n';
    }
    out << "format version: " << h.formatVersion << '\n' << "records: " << store->Count() << '\n';
    out.flush();
    return damaged ? CliExit::Damaged : CliExit::Done;
}

CliExit RunExport(const CliArguments& args) {
    StderrPrompt prompt;
    bool damaged = false;
    const std::unique_ptr<CCaptureData> store = LoadCapture(args.capturePath, prompt, damaged);
    if (!store) {
        return CliExit::Failed;
    }
    const ExportSettings settings{ExportSettings::kDefaultLineLength,
                                  args.halfWidth ? ExportCharacterSize::HalfWidth
                                                 : ExportCharacterSize::FullWidth,
                                  args.controlLines};
    const std::optional<ExportRequest> request = ValidateExportInputs(
        {args.outputPath, args.lineLength, args.startPosition}, settings, store->Count(), prompt);
    if (!request || request->fileType == ExportFileType::None) {
        return CliExit::Failed;
    }
    // The display settings the program publishes: the layout chosen here, idle and time
    // display from the capture; the "FileName" line names the capture as a document would.
    const ExportDisplay display{args.frameLayout ? ExportDisplay::Mode::Frame
                                                 : ExportDisplay::Mode::Continuous,
                                store->header().idleDisplay, store->header().timeDisplay};
    const std::string documentPath =
        PathText(std::filesystem::absolute(ExportPath(args.capturePath)));
    const FileError error = WriteExportFile(*store, display, *request, documentPath);
    if (error != FileError::None) {
        ReportExportFileError(error, request->fileName, prompt);
        return CliExit::Failed;
    }
    return damaged ? CliExit::Damaged : CliExit::Done;
}

} // namespace varnolt::cli
