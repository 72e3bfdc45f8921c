#pragma once

#include "core/capture/CCaptureData.h"
#include "core/capture/ExportOptions.h"
#include "core/capture/ExportValidation.h"

#include <optional>
#include <string_view>

namespace varnolt {

class UserPrompt;

// The export dialog's "実行": checks INPUTS, writes the file when the checks let it, and reports
// either the write failure (the file keeps what it held) or the completion. Returns the checked
// request (file type None when a missing name or a wrong ending left nothing to write), or empty
// when a check stopped the command.
std::optional<ExportRequest>
RunExportCommand(const CCaptureData& data, const ExportDisplay& display, const ExportInputs& inputs,
                 const ExportSettings& settings, std::string_view documentPath, UserPrompt& prompt);

} // namespace varnolt
