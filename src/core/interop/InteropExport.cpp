#include "core/interop/InteropExport.h"

#include "core/interop/PcapngWriter.h"
#include "core/interop/VcdWriter.h"
#include "core/platform/BinaryWriter.h"
#include "core/platform/UserPrompt.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace varnolt {

namespace {

constexpr std::string_view kErrorCaption = "Error";
constexpr std::string_view kConfirmCaption = "確認";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::optional<InteropFormat> InteropFormatOf(const std::filesystem::path& path) {
    const std::string extension = Lower(path.extension().string());
    if (extension == ".pcapng") {
        return InteropFormat::Pcapng;
    }
    if (extension == ".vcd") {
        return InteropFormat::Vcd;
    }
    return std::nullopt;
}

FileError WriteInteropFile(const CCaptureData& capture, const TimeBase& base, InteropFormat format,
                           const std::filesystem::path& path) {
    return WriteBinaryFile(path, [&](BinaryWriter& out) {
        if (format == InteropFormat::Pcapng) {
            WritePcapng(capture, base, out);
        } else {
            WriteVcd(capture, base, out);
        }
    });
}

bool ConvertForOtherTools(const CCaptureData& capture, const TimeBase& base,
                          const std::filesystem::path& path, UserPrompt& prompt,
                          const BusySignal& busy) {
    const std::optional<InteropFormat> format = InteropFormatOf(path);
    if (!format) {
        prompt.message(kInteropExtensionMessage, kErrorCaption, PromptIcon::Information);
        return false;
    }
    if (*format == InteropFormat::Vcd && capture.header().speed == 0) {
        prompt.message(kInteropNoSpeedMessage, kErrorCaption, PromptIcon::Information);
        return false;
    }
    if (busy) {
        busy(true);
    }
    const FileError error = WriteInteropFile(capture, base, *format, path);
    if (busy) {
        busy(false);
    }
    if (error != FileError::None) {
        prompt.message(FileErrorMessage(error, path), kAppCaption, PromptIcon::Warning);
        return false;
    }
    return true;
}

void RunInteropExport(const CCaptureData& capture, const TimeBase& base,
                      const std::filesystem::path& path, UserPrompt& prompt,
                      const BusySignal& busy) {
    if (ConvertForOtherTools(capture, base, path, prompt, busy)) {
        prompt.message(kInteropDoneMessage, kConfirmCaption, PromptIcon::Information);
    }
}

std::filesystem::path InteropSuggestedPath(const std::filesystem::path& documentPath,
                                           InteropFormat format) {
    std::filesystem::path path =
        documentPath.empty() ? std::filesystem::path("Varnolt") : documentPath;
    path.replace_extension(format == InteropFormat::Pcapng ? ".pcapng" : ".vcd");
    return path;
}

} // namespace varnolt
