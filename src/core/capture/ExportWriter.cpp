#include "core/capture/ExportWriter.h"

#include "core/capture/ExportCells.h"
#include "core/capture/ExportLayouts.h"
#include "core/capture/ExportRecords.h"
#include "core/platform/Cp932.h"

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
    const std::u8string name(request.fileName.begin(), request.fileName.end());
    FileExportSink sink{std::filesystem::path(name)};
    if (sink.error() != FileError::None) {
        return sink.error();
    }
    WriteExport(data, display, request, documentPath, sink);
    return sink.Close();
}

} // namespace varnolt
