#include "core/interop/InteropText.h"

#include <array>

namespace varnolt {

namespace {

constexpr std::array<std::string_view, 5> kErrorNames = {"PE", "FE", "PF", "BR", "OE"};
constexpr std::array<std::string_view, 5> kErrorDescriptions = {
    "parity error", "framing error", "parity and framing error", "break", "overrun"};
constexpr std::array<std::string_view, kControlLineCount> kLineNames = {"RS", "ER", "CS",
                                                                        "DR", "CD", "CI"};

std::string_view LineModeText(uint16_t lineMode) {
    switch (lineMode) {
    case 1:
        return "RS-232C monitor";
    case 2:
        return "RS-232C simulation";
    case 3:
        return "RS-422/485 monitor";
    case 4:
        return "RS-422/485 simulation";
    default:
        return "unknown line mode";
    }
}

std::string_view ParityText(int32_t parity) {
    switch (parity) {
    case 0:
        return "no parity";
    case 2:
        return "even parity";
    case 3:
        return "odd parity";
    default:
        return "unknown parity";
    }
}

} // namespace

std::string_view WriterName() {
    return "Varnolt " VARNOLT_VERSION_TEXT;
}

std::string LineConditionsText(const CaptureHeader& header) {
    std::string text(LineModeText(header.lineMode));
    text += ", " + std::to_string(header.speed) + " bit/s, " + std::to_string(header.dataBits) +
            " data bits, ";
    text += ParityText(header.parity);
    text += ", " + std::to_string(header.stopBits) +
            (header.stopBits == 1 ? " stop bit" : " stop bits");
    return text;
}

std::string_view ErrorName(uint8_t code) {
    return code < kErrorNames.size() ? kErrorNames[code] : "?";
}

std::string_view ErrorDescription(uint8_t code) {
    return code < kErrorDescriptions.size() ? kErrorDescriptions[code] : "unknown error";
}

std::string_view ControlLineName(ControlLine line) {
    return kLineNames[static_cast<size_t>(line)];
}

} // namespace varnolt
