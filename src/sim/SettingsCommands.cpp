#include "core/link/protocol/HexDigits.h"
#include "core/link/protocol/HexFormat.h"
#include "core/settings/SettingsBlockCodec.h"
#include "sim/AnalyzerFirmware.h"

#include <string>

namespace varnolt::sim {

namespace {

constexpr size_t kAddressDigits = 4;
using Answers = std::vector<AnswerFrame>;

void AppendHexBytes(std::string& text, std::span<const uint8_t> bytes) {
    text.reserve(text.size() + 2 * bytes.size() + 2);
    for (const uint8_t byte : bytes) {
        AppendHex(text, byte, 2);
    }
}

bool Address(const Request& request, uint32_t& address) {
    if (request.parameters.size() < kAddressDigits) {
        return false;
    }
    address = ReadHexDigits(request.parameters, 0, kAddressDigits);
    return true;
}

// "SRF" or "SRG": the first 80 bytes of the general block, checksummed.
Answers ShortSettings(const AnalyzerFirmware& state, std::string_view name) {
    std::string text(name);
    AppendHexBytes(text, state.settings.bytes().first(kCaptureHeaderPayloadBytes));
    return {Answer(text, true)};
}

// "SRE", the address echoed, the block in hex (nothing for an address that names no block),
// the checksum.
Answers ReadBlock(AnalyzerFirmware& state, const Request& request) {
    uint32_t address = 0;
    if (!Address(request, address)) {
        return {Nak()};
    }
    std::string text = "SRE";
    AppendHex(text, address, 4);
    AppendHexBytes(text, state.settings.block(address));
    return {Answer(text, true)};
}

// "SWE", the address, the bytes in hex: stored from the address on.
Answers WriteBlock(AnalyzerFirmware& state, const Request& request) {
    uint32_t address = 0;
    if (!Address(request, address)) {
        return {Nak()};
    }
    state.settings.WriteHex(address, request.parameters.subspan(kAddressDigits));
    return {Ack()};
}

} // namespace

// The settings requests: the short settings answer before a measurement or download, and the
// blocks of the settings memory.
void AddSettingsCommands(AnalyzerFirmware& firmware) {
    firmware.AddCommand("SRG", RequestChecksum::With, [](AnalyzerFirmware& state, const Request&) {
        return ShortSettings(state, "SRG");
    });
    firmware.AddCommand("SRF", RequestChecksum::With, [](AnalyzerFirmware& state, const Request&) {
        return ShortSettings(state, "SRF");
    });
    firmware.AddCommand("SRE", RequestChecksum::With, ReadBlock);
    firmware.AddCommand("SWE", RequestChecksum::With, WriteBlock);
}

} // namespace varnolt::sim
