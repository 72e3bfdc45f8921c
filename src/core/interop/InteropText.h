#pragma once

#include "core/capture/CaptureHeader.h"
#include "core/capture/RecordWord.h"

#include <string>
#include <string_view>

namespace varnolt {

// The program's name and version as files made for other tools name their writer.
[[nodiscard]] std::string_view WriterName();

// The capture's line conditions in a line of English for other tools, for example
// "RS-232C monitor, 9600 bit/s, 8 data bits, even parity, 1 stop bit".
[[nodiscard]] std::string LineConditionsText(const CaptureHeader& header);

// The short name of a line error code ("PE", "FE", "PF", "BR", "OE"); "?" for another code.
[[nodiscard]] std::string_view ErrorName(uint8_t code);
// What a line error is, in words ("parity error" ...).
[[nodiscard]] std::string_view ErrorDescription(uint8_t code);

// The name of a control line ("RS" ... "CI").
[[nodiscard]] std::string_view ControlLineName(ControlLine line);

} // namespace varnolt
