#pragma once

#include <cstdint>
#include <string>

namespace varnolt {

// How characters are written into the export's character cells.
enum class ExportCharacterSize : std::int32_t { FullWidth = 0, HalfWidth = 1 };

// The kind of file the export writes, chosen by the file name's ending.
enum class ExportFileType : std::int32_t { None = 0, Text = 1, CommaSeparated = 2 };

// The export's remembered choices (configuration values ExportLineLength, ExportMojiSize and
// ExportLineOut); the export dialog edits them and hands them back when it is confirmed.
struct ExportSettings {
    static constexpr std::int32_t kDefaultLineLength = 50;
    static constexpr std::int32_t kMinimumLineLength = 10;

    std::int32_t lineLength = kDefaultLineLength;
    ExportCharacterSize characterSize = ExportCharacterSize::FullWidth;
    bool controlLineOutput = false;

    friend bool operator==(const ExportSettings&, const ExportSettings&) = default;
};

// The display settings the program publishes for the view and the export: display mode from
// the analyzer settings, idle and time display from the capture header.
struct ExportDisplay {
    enum class Mode : std::int32_t { Continuous = 0, Frame = 1 };

    Mode mode = Mode::Continuous;
    std::int32_t idleDisplay = 0; // 0 off; 1, 2, 3 = resolution 0.001 s, 0.01 s, 0.1 s
    std::int32_t timeDisplay = 0; // 0 off; 1 ... 5 = time-stamp format
};

// Everything one export run needs besides the capture and the display settings.
struct ExportRequest {
    std::string fileName; // UTF-8 path of the file to write
    ExportFileType fileType = ExportFileType::None;
    std::int32_t lineLength = ExportSettings::kDefaultLineLength;
    ExportCharacterSize characterSize = ExportCharacterSize::FullWidth;
    bool controlLineOutput = false;
    std::int32_t startPosition = 1; // 1-based, counted from the oldest record
};

// The control-line check box of the export dialog is offered only for captures whose records
// carry control-line states.
[[nodiscard]] constexpr bool ControlLineOutputOffered(std::int32_t recordWidth) {
    return recordWidth != 0;
}

} // namespace varnolt
