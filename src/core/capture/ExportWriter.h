#pragma once

#include "core/capture/CCaptureData.h"
#include "core/capture/ExportOptions.h"
#include "core/capture/ExportSink.h"
#include "core/platform/FileError.h"

#include <filesystem>
#include <string_view>

namespace varnolt {

class UserPrompt;

// Writes the export of DATA into SINK: the "FileName" line with DOCUMENTPATH (UTF-8; converted
// to code page 932, with a replacement for what code page 932 cannot hold), an empty line, then
// the records from the request's start position to the newest in the layout of the display
// mode. The request must have passed ValidateExportInputs (a file type, a line length of at
// least 10, a start position within the capture).
void WriteExport(const CCaptureData& data, const ExportDisplay& display,
                 const ExportRequest& request, std::string_view documentPath, ExportSink& sink);

// WriteExport into the request's file, which is replaced only once the whole export is written;
// the first failure to open or write it (the file then keeps what it held).
[[nodiscard]] FileError WriteExportFile(const CCaptureData& data, const ExportDisplay& display,
                                        const ExportRequest& request,
                                        std::string_view documentPath);

// The path of the UTF-8 file name NAME.
[[nodiscard]] std::filesystem::path ExportPath(std::string_view name);

// Tells the user that the export file NAME could not be written (the standard file-error
// report).
void ReportExportFileError(FileError error, std::string_view name, UserPrompt& prompt);

} // namespace varnolt
