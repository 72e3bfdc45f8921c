#pragma once

#include <optional>
#include <string>

namespace varnolt {

struct CaptureHeader;

// The status bar's texts of the capture's line conditions. A value outside a field's list
// gives nullopt: the pane keeps the text it had.
struct StatusConditionTexts {
    std::optional<std::string> lineMode;
    std::optional<std::string> speed;
    std::optional<std::string> dataBits;
    std::optional<std::string> parity;
    std::optional<std::string> stopBits;
};

[[nodiscard]] StatusConditionTexts StatusConditionsOf(const CaptureHeader& header);

} // namespace varnolt
