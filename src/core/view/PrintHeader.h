#pragma once

#include "core/capture/CaptureHeader.h"

#include <string>

namespace varnolt {

// The texts at the top of printed pages (UTF-8).

// "FileName:" and the document's path, on every page.
[[nodiscard]] std::string PrintFileNameText(const std::string& pathName);
// "%d page", on every page.
[[nodiscard]] std::string PrintPageNumberText(int pageNumber);
// Page 1: the line type and mode of the capture; empty for an unknown line mode.
[[nodiscard]] std::string PrintLineModeText(const CaptureHeader& header);
// Page 1: speed, data length, parity, stop length and, for RS-422/485, the transmit output;
// a value outside its list adds no part.
[[nodiscard]] std::string PrintConditionsText(const CaptureHeader& header);

} // namespace varnolt
