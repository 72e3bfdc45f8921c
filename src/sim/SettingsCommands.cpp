#include "core/link/HexText.h"
#include "sim/AnalyzerFirmware.h"

#include <string>

namespace varnolt::sim {

namespace {

// The short settings answer: the first 80 bytes of the general block.
constexpr size_t kShortSettingsBytes = 80;
constexpr size_t kAddressDigits = 4;

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
    address = 0;
    for (size_t digit = 0; digit < kAddressDigits; ++digit) {
        address = address << 4 | ParseHexDigit(request.parameters[digit]);
    }
    return true;
}

std::vector<AnswerFrame> ShortSettings(const AnalyzerFirmware& state, std::string_view name) {
    std::string text(name);
    AppendHexBytes(text, state.settings.bytes().first(kShortSettingsBytes));
    return {Answer(text, true)};
}

} // namespace

// The settings requests: the short settings answer before a measurement or download, and the
// blocks of the settings memory.
void AddSettingsCommands(AnalyzerFirmware& firmware) {
    firmware.addCommand("SRG", RequestChecksum::With, [](AnalyzerFirmware& state, const Request&) {
        return ShortSettings(state, "SRG");
    });
    firmware.addCommand("SRF", RequestChecksum::With, [](AnalyzerFirmware& state, const Request&) {
        return ShortSettings(state, "SRF");
    });
    // "SRE", the address echoed, the block in hex (nothing for an address that names no
    // block), the checksum.
    firmware.addCommand("SRE", RequestChecksum::With,
                        [](AnalyzerFirmware& state, const Request& request) {
                            uint32_t address = 0;
                            if (!Address(request, address)) {
                                return std::vector<AnswerFrame>{Nak()};
                            }
                            std::string text = "SRE";
                            AppendHex(text, address, 4);
                            AppendHexBytes(text, state.settings.block(address));
                            return std::vector<AnswerFrame>{Answer(text, true)};
                        });
    // "SWE", the address, the bytes in hex: stored from the address on.
    firmware.addCommand("SWE", RequestChecksum::With,
                        [](AnalyzerFirmware& state, const Request& request) {
                            uint32_t address = 0;
                            if (!Address(request, address)) {
                                return std::vector<AnswerFrame>{Nak()};
                            }
                            const auto hex = request.parameters.subspan(kAddressDigits);
                            std::vector<uint8_t> bytes(hex.size() / 2);
                            for (size_t index = 0; index < bytes.size(); ++index) {
                                bytes[index] = ParseHexPair(hex[2 * index], hex[2 * index + 1]);
                            }
                            state.settings.write(address, bytes);
                            return std::vector<AnswerFrame>{Ack()};
                        });
}

} // namespace varnolt::sim
