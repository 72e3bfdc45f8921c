#pragma once

#include "core/capture/ExportOptions.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace varnolt {

class UserPrompt;

// The texts of the export dialog's fields, as the user typed them (UTF-8).
struct ExportInputs {
    std::string_view fileName;
    std::string_view lineLength;
    std::string_view startPosition;
};

// An integer literal as C reads one: decimal, "0x" hexadecimal or leading-zero octal, after
// optional white space and sign. Empty when nothing or something else follows the number, or
// when it does not fit 32 bits.
[[nodiscard]] std::optional<std::int32_t> ParseIntegerLiteral(std::string_view text);

// The file type of a file name's last three characters ("txt" / "csv", any case).
[[nodiscard]] ExportFileType ExportFileTypeOf(std::string_view fileName);

// Checks the dialog's inputs for a capture of TOTAL records and tells the user what is wrong.
// Empty when a number is refused (the command stops); otherwise the request, whose file type
// stays None after a missing name or a wrong extension (nothing is written then). Character
// size and control-line output are taken from SETTINGS.
[[nodiscard]] std::optional<ExportRequest> ValidateExportInputs(const ExportInputs& inputs,
                                                                const ExportSettings& settings,
                                                                std::int64_t total,
                                                                UserPrompt& prompt);

} // namespace varnolt
