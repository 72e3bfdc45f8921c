#include "core/capture/ExportCommand.h"

#include "core/capture/ExportWriter.h"
#include "core/platform/FileError.h"
#include "core/platform/UserPrompt.h"

#include <filesystem>
#include <string>

namespace varnolt {

std::optional<ExportRequest> RunExportCommand(const CCaptureData& data,
                                              const ExportDisplay& display,
                                              const ExportInputs& inputs,
                                              const ExportSettings& settings,
                                              std::string_view documentPath, UserPrompt& prompt) {
    std::optional<ExportRequest> request =
        ValidateExportInputs(inputs, settings, data.Count(), prompt);
    if (!request || request->fileType == ExportFileType::None) {
        return std::nullopt;
    }
    const FileError error = WriteExportFile(data, display, *request, documentPath);
    if (error != FileError::None) {
        const std::u8string name(request->fileName.begin(), request->fileName.end());
        prompt.message(FileErrorMessage(error, std::filesystem::path(name)), kAppCaption,
                       PromptIcon::Warning);
    }
    prompt.message("ファイル出力が完了しました", "確認", PromptIcon::Information);
    return request;
}

} // namespace varnolt
