#include "core/capture/ExportWriter.h"

#include "core/capture/ExportCells.h"
#include "core/capture/ExportLayouts.h"
#include "core/capture/ExportRecords.h"
#include "core/platform/AtomicFileWrite.h"
#include "core/platform/Cp932.h"
#include "core/platform/UserPrompt.h"

#include <filesystem>
#include <string>

namespace varnolt {

void WriteExport(const CCaptureData& data, const ExportDisplay& display,
                 const ExportRequest& request, std::string_view documentPath, ExportSink& sink) {
    const bool csv = request.fileType == ExportFileType::CommaSeparated;
    std::string head(csv ? "FileName," : "FileName:");
    head.append(Utf8ToCp932(documentPath));
    head.append(kExportLineEnd);
    head.append(kExportLineEnd);
    sink.Write(head);

    const ExportRecords records(data);
    const ExportCells cells(request.fileType, request.characterSize);
    const ExportLayoutContext context{records,
                                      cells,
                                      display,
                                      request.lineLength,
                                      request.startPosition,
                                      request.controlLineOutput && data.header().recordWidth == 1};
    if (display.mode == ExportDisplay::Mode::Frame) {
        WriteFrameLayout(context, sink);
    } else {
        WriteContinuousLayout(context, sink);
    }
}

FileError WriteExportFile(const CCaptureData& data, const ExportDisplay& display,
                          const ExportRequest& request, std::string_view documentPath) {
    return WriteFileAtomically(ExportPath(request.fileName),
                               [&](const std::filesystem::path& temporary) {
                                   FileExportSink sink{temporary};
                                   if (sink.error() != FileError::None) {
                                       return sink.error();
                                   }
                                   WriteExport(data, display, request, documentPath, sink);
                                   return sink.Close();
                               });
}

std::filesystem::path ExportPath(std::string_view name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

void ReportExportFileError(FileError error, std::string_view name, UserPrompt& prompt) {
    prompt.message(FileErrorMessage(error, ExportPath(name)), kAppCaption, PromptIcon::Warning);
}

} // namespace varnolt
