#include "core/capture/ExportDialogModel.h"

#include "core/capture/ExportCommand.h"
#include "core/capture/ExportValidation.h"

#include <optional>
#include <utility>

namespace varnolt {

ExportDialogModel::ExportDialogModel(const CCaptureData& data, const ExportDisplay& display,
                                     std::string documentPath, const ExportSettings& settings,
                                     UserPrompt& prompt)
    : data_(data), display_(display), documentPath_(std::move(documentPath)), settings_(settings),
      prompt_(prompt) {
}

std::string ExportDialogModel::lineLengthText() const {
    return std::to_string(settings_.lineLength);
}

std::string ExportDialogModel::startPositionText() const {
    return std::to_string(startPosition_);
}

bool ExportDialogModel::controlLineEnabled() const {
    return ControlLineOutputOffered(data_.header().recordWidth);
}

bool ExportDialogModel::controlLineChecked() const {
    return controlLineEnabled() && settings_.controlLineOutput;
}

void ExportDialogModel::Execute(std::string_view fileName, std::string_view lineLength,
                                std::string_view startPosition) {
    const std::optional<ExportRequest> request = RunExportCommand(
        data_, display_, {fileName, lineLength, startPosition}, settings_, documentPath_, prompt_);
    if (request) {
        settings_.lineLength = request->lineLength;
        startPosition_ = request->startPosition;
        return;
    }
    const std::optional<int32_t> length = ParseIntegerLiteral(lineLength);
    if (length && *length >= ExportSettings::kMinimumLineLength) {
        settings_.lineLength = *length;
    }
}

} // namespace varnolt
