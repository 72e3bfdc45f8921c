#pragma once

#include "core/capture/CCaptureData.h"
#include "core/capture/ExportOptions.h"

#include <string>
#include <string_view>

namespace varnolt {

class UserPrompt;

// What the export dialog ("ファイル出力") decides, without the widgets: the values its controls
// show, the control-line rule, and "実行". The dialog edits a copy of the configuration's
// export values; SETTINGS() is what goes back to the configuration when the dialog is closed
// with its button.
class ExportDialogModel {
public:
    static constexpr std::string_view kTitle = "ファイル出力";
    // The save-file dialog's filter, as (description, pattern) pairs.
    static constexpr std::string_view kTextFilter = "テキストファイル (*.txt)";
    static constexpr std::string_view kCsvFilter = "ＣＳＶファイル (*.csv)";

    ExportDialogModel(const CCaptureData& data, const ExportDisplay& display,
                      std::string documentPath, const ExportSettings& settings, UserPrompt& prompt);

    [[nodiscard]] const ExportSettings& settings() const { return settings_; }

    // The texts the line-length and start-position edits show ("%d").
    [[nodiscard]] std::string lineLengthText() const;
    [[nodiscard]] std::string startPositionText() const;

    // The control-line check box is enabled (and shows the option) only for captures whose
    // records carry control lines; otherwise it is disabled and clear.
    [[nodiscard]] bool controlLineEnabled() const;
    [[nodiscard]] bool controlLineChecked() const;

    // The radio buttons and the check box take effect at once.
    void setCharacterSize(ExportCharacterSize size) { settings_.characterSize = size; }
    void setControlLineOutput(bool on) { settings_.controlLineOutput = on; }

    // "実行": checks the texts, writes the file and reports through the prompt. A line length
    // that passes its check is kept even when a later check stops the command.
    void Execute(std::string_view fileName, std::string_view lineLength,
                 std::string_view startPosition);

private:
    const CCaptureData& data_;
    ExportDisplay display_;
    std::string documentPath_;
    ExportSettings settings_;
    int32_t startPosition_ = 1;
    UserPrompt& prompt_;
};

} // namespace varnolt
