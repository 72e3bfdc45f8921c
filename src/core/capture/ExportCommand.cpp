#include "core/capture/ExportCommand.h"

#include "core/capture/ExportWriter.h"
#include "core/platform/UserPrompt.h"

namespace varnolt {

std::optional<ExportRequest> RunExportCommand(const CCaptureData& data,
                                              const ExportDisplay& display,
                                              const ExportInputs& inputs,
                                              const ExportSettings& settings,
                                              std::string_view documentPath, UserPrompt& prompt) {
    std::optional<ExportRequest> request =
        ValidateExportInputs(inputs, settings, data.Count(), prompt);
    if (!request || request->fileType == ExportFileType::None) {
        return request;
    }
    const FileError error = WriteExportFile(data, display, *request, documentPath);
    if (error != FileError::None) {
        // A file that was not written is not reported as done.
        ReportExportFileError(error, request->fileName, prompt);
        return request;
    }
    prompt.message("ファイル出力が完了しました", "確認", PromptIcon::Information);
    return request;
}

} // namespace varnolt
