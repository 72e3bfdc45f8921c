#include "core/link/protocol/HexDigits.h"
#include "core/link/protocol/HexFormat.h"
#include "core/settings/CSaParameter.h"
#include "core/settings/HexText.h"
#include "sim/AnalyzerFirmware.h"
#include "sim/MeasurementEngine.h"

#include <algorithm>
#include <string>

namespace varnolt::sim {

namespace {

using Answers = std::vector<AnswerFrame>;

// Reads the two hex characters that open the parameters; false when there are fewer.
bool HexByteParameter(const Request& request, uint32_t& value) {
    if (request.parameters.size() < 2) {
        return false;
    }
    value = ParseHexPair(request.parameters[0], request.parameters[1]);
    return true;
}

// "ENW01" enters remote mode, "ENW00" leaves it.
Answers SetRemote(AnalyzerFirmware& state, const Request& request) {
    const std::string_view mode = request.parameterText();
    if (mode != "00" && mode != "01") {
        return {Nak()};
    }
    state.remoteMode = mode == "01" ? 1 : 0;
    return {Ack()};
}

// "PGR", the page as two hex digits, the checksum.
Answers ReportPage(AnalyzerFirmware& state, const Request&) {
    std::string text = "PGR";
    AppendHex(text, static_cast<uint32_t>(state.page), 2);
    return {Answer(text, true)};
}

Answers SetRunState(AnalyzerFirmware& state, const Request& request) {
    uint32_t value = 0;
    if (!HexByteParameter(request, value)) {
        return {Nak()};
    }
    state.runState = static_cast<int32_t>(value);
    return {Ack()};
}

// Resets one counter and answers its value afterwards: "SWC", the counter number as one hex
// digit, the value as eight hex digits.
Answers ResetCounter(AnalyzerFirmware& state, const Request& request) {
    uint32_t counter = 0;
    if (!HexByteParameter(request, counter) || counter >= AnalyzerFirmware::kCounters) {
        return {Nak()};
    }
    state.counters[counter] = 0;
    std::string text = "SWC";
    AppendHex(text, counter, 1);
    text += FormatHex32(state.counters[counter]);
    return {Answer(text)};
}

// Line outputs: "GL000000", then ER and RS ('1' on, '2' off). No answer.
Answers SetLineOutputs(AnalyzerFirmware& state, const Request& request) {
    if (request.parameters.size() >= 8) {
        state.erOutput = request.parameters[6];
        state.rsOutput = request.parameters[7];
        const auto output = [](uint8_t character) -> uint16_t { return character == '1' ? 1 : 2; };
        state.measurement->SetLineOutputs(output(state.rsOutput), output(state.erOutput),
                                          state.now);
    }
    return {};
}

// "GT" and the transmit entry as four hex digits: in a simulation line mode the analyzer sends
// the entry's characters on SD. No answer.
Answers Transmit(AnalyzerFirmware& state, const Request& request) {
    constexpr size_t kEntryDigits = 4;
    if (request.parameters.size() < kEntryDigits) {
        return {};
    }
    const uint32_t entry = ReadHexDigits(request.parameters, 0, kEntryDigits);
    const CSaParameter settings = state.settings.decoded(true);
    if (entry >= kTxEntryCount ||
        (settings.lineMode != kLineRs232cSimulation && settings.lineMode != kLineRs422Simulation)) {
        return {};
    }
    std::vector<uint8_t> characters;
    for (const PatternElement& element : settings.transmitEntries[entry].usedElements()) {
        if (element.kind != kPatternCharacter) {
            break;
        }
        characters.push_back(element.value);
    }
    state.measurement->Transmit(characters, state.now);
    return {};
}

} // namespace

// The requests of the link itself: remote mode, versions, page, run state, stored amount,
// counters and line outputs.
void AddLinkCommands(AnalyzerFirmware& firmware) {
    firmware.AddCommand("ENW", RequestChecksum::With, SetRemote);
    firmware.AddCommand("VER", RequestChecksum::Without,
                        [](AnalyzerFirmware& state, const Request&) {
                            return Answers{Answer("ACK" + state.programVersion)};
                        });
    firmware.AddCommand("VEF", RequestChecksum::Without,
                        [](AnalyzerFirmware& state, const Request&) {
                            return Answers{Answer("ACK" + state.formatVersion)};
                        });
    firmware.AddCommand("PGR", RequestChecksum::Without, ReportPage);
    firmware.AddCommand("PSW", RequestChecksum::With, SetRunState);
    firmware.AddCommand("BC", RequestChecksum::Without,
                        [](AnalyzerFirmware& state, const Request&) {
                            return Answers{Answer("BC" + FormatDecimal4(state.storedAmount))};
                        });
    firmware.AddCommand("SWC", RequestChecksum::With, ResetCounter);
    firmware.AddCommand("GL", RequestChecksum::With, SetLineOutputs);
    firmware.AddCommand("GT", RequestChecksum::With, Transmit);
}

} // namespace varnolt::sim
