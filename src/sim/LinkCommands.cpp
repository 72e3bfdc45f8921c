#include "core/link/HexText.h"
#include "sim/AnalyzerFirmware.h"

#include <algorithm>
#include <string>

namespace varnolt::sim {

namespace {

// Reads a parameter of DIGITS hex characters at OFFSET; false when the request is too short.
bool HexParameter(const Request& request, size_t offset, size_t digits, uint32_t& value) {
    if (request.parameters.size() < offset + digits) {
        return false;
    }
    value = 0;
    for (size_t digit = 0; digit < digits; ++digit) {
        value = value << 4 | ParseHexDigit(request.parameters[offset + digit]);
    }
    return true;
}

std::string Decimal4(int32_t value) {
    const std::string digits = std::to_string(std::clamp(value, 0, 9999));
    return std::string(4 - digits.size(), '0') + digits;
}

} // namespace

// The requests of the link itself: remote mode, versions, page, run state, stored amount,
// counters and line outputs.
void AddLinkCommands(AnalyzerFirmware& firmware) {
    firmware.addCommand("ENW", RequestChecksum::With,
                        [](AnalyzerFirmware& state, const Request& request) {
                            const std::string_view mode = request.parameterText();
                            if (mode != "00" && mode != "01") {
                                return std::vector<AnswerFrame>{Nak()};
                            }
                            state.remoteMode = mode == "01" ? 1 : 0;
                            return std::vector<AnswerFrame>{Ack()};
                        });
    firmware.addCommand("VER", RequestChecksum::Without,
                        [](AnalyzerFirmware& state, const Request&) {
                            return std::vector<AnswerFrame>{Answer("ACK" + state.programVersion)};
                        });
    firmware.addCommand("VEF", RequestChecksum::Without,
                        [](AnalyzerFirmware& state, const Request&) {
                            return std::vector<AnswerFrame>{Answer("ACK" + state.formatVersion)};
                        });
    firmware.addCommand("PGR", RequestChecksum::Without,
                        [](AnalyzerFirmware& state, const Request&) {
                            std::string text = "PGR";
                            AppendHex(text, static_cast<uint32_t>(state.page), 2);
                            return std::vector<AnswerFrame>{Answer(text, true)};
                        });
    firmware.addCommand("PSW", RequestChecksum::With,
                        [](AnalyzerFirmware& state, const Request& request) {
                            uint32_t value = 0;
                            if (!HexParameter(request, 0, 2, value)) {
                                return std::vector<AnswerFrame>{Nak()};
                            }
                            state.runState = static_cast<int32_t>(value);
                            return std::vector<AnswerFrame>{Ack()};
                        });
    firmware.addCommand(
        "BC", RequestChecksum::Without, [](AnalyzerFirmware& state, const Request&) {
            return std::vector<AnswerFrame>{Answer("BC" + Decimal4(state.storedAmount))};
        });
    // Resets one counter and answers its value afterwards: "SWC", the counter number as one
    // hex digit, the value as eight hex digits.
    firmware.addCommand(
        "SWC", RequestChecksum::With, [](AnalyzerFirmware& state, const Request& request) {
            uint32_t counter = 0;
            if (!HexParameter(request, 0, 2, counter) || counter >= AnalyzerFirmware::kCounters) {
                return std::vector<AnswerFrame>{Nak()};
            }
            state.counters[counter] = 0;
            std::string text = "SWC";
            AppendHex(text, counter, 1);
            text += FormatHex32(state.counters[counter]);
            return std::vector<AnswerFrame>{Answer(text)};
        });
    // Line outputs: "GL000000", then ER and RS ('1' on, '2' off). No answer.
    firmware.addCommand("GL", RequestChecksum::With,
                        [](AnalyzerFirmware& state, const Request& request) {
                            if (request.parameters.size() >= 8) {
                                state.erOutput = request.parameters[6];
                                state.rsOutput = request.parameters[7];
                            }
                            return std::vector<AnswerFrame>{};
                        });
}

} // namespace varnolt::sim
