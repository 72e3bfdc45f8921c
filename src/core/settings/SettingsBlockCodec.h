#pragma once

#include "core/capture/CaptureHeader.h"
#include "core/settings/CSaParameter.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace varnolt {

// The analyzer's settings memory is addressed in bytes and moved in blocks named by a 16-bit
// address: 0000 (the general block and triggers 1 to 6, 1280 bytes, overlapping the next
// block), 0400 (triggers 7 and 8) and 1000 to 7000 in steps of 0400 (two transmit entries
// each). Payloads travel as upper-case hex text, numbers big-endian.
using SettingsBlockAddress = uint16_t;

inline constexpr SettingsBlockAddress kGeneralBlockAddress = 0x0000;
inline constexpr SettingsBlockAddress kUpperTriggerBlockAddress = 0x0400;
inline constexpr SettingsBlockAddress kFirstTxBlockAddress = 0x1000;
inline constexpr SettingsBlockAddress kLastTxBlockAddress = 0x7000;
inline constexpr SettingsBlockAddress kSettingsBlockStep = 0x0400;
inline constexpr size_t kSettingsBlockCount = 27;

// Every block address, in the order the blocks are always written and read: block 0000
// overwrites triggers 7 and 8 with fill bytes, which block 0400 then puts back.
inline constexpr std::array<SettingsBlockAddress, kSettingsBlockCount> kSettingsBlockAddresses =
    [] {
        std::array<SettingsBlockAddress, kSettingsBlockCount> addresses{};
        addresses[0] = kGeneralBlockAddress;
        addresses[1] = kUpperTriggerBlockAddress;
        for (size_t k = 2; k < kSettingsBlockCount; ++k) {
            addresses[k] = static_cast<SettingsBlockAddress>(kFirstTxBlockAddress +
                                                             (k - 2) * kSettingsBlockStep);
        }
        return addresses;
    }();

// Payload bytes of a block: 1280 for 0000, 1024 for 0400 and the transmit blocks, 0 for any
// other address. An answer carries twice as many characters.
[[nodiscard]] size_t SettingsBlockPayloadBytes(SettingsBlockAddress address);

// Bytes of the general block that the short settings answer ("SRF", "SRG") carries.
inline constexpr size_t kCaptureHeaderPayloadBytes = 80;

// Largest request frame EncodeSettingsBlock builds (block 0000).
inline constexpr size_t kSettingsFrameCapacity = 2573;

// Builds the complete "SWE" request that writes block ADDRESS from MODEL into FRAME: "SWE", the
// address as four upper-case hex digits, the payload in hex, the checksum and the terminator
// FF 00 FF 00. Returns the frame length: 2573 for block 0000, 2061 for the other blocks, 13 for
// an address that is not a block (no payload); 0, writing nothing, when FRAME is shorter than
// that.
[[nodiscard]] size_t EncodeSettingsBlock(std::span<uint8_t> frame, SettingsBlockAddress address,
                                         const CSaParameter& model);

// Decodes the data of an "SRE" answer into MODEL, in place. ANSWER_DATA holds the characters
// after "SRE" and the four address digits (whatever follows the payload is not looked at);
// ADDRESS is the block address the answer echoes, not the one requested. Block 0000 fills the
// general settings and triggers 1 to 8, block 0400 triggers 7 and 8, a transmit block its two
// entries; values are taken as they come, unchecked. An answer shorter than its block changes
// nothing and returns false (a failed attempt); an address that is not a block changes nothing
// and returns true. No character beyond ANSWER_DATA is read.
bool DecodeSettingsBlock(std::span<const uint8_t> answerData, SettingsBlockAddress address,
                         CSaParameter& model);

// Decodes the data of an "SRF" or "SRG" answer (the characters after the three letters: the
// first 80 bytes of the general block) into HEADER: line settings, idle and time display, the
// record width (from the control-line capture setting), the frame detection time and the four
// frame delimiters. An answer shorter than 80 bytes changes nothing and returns false.
bool DecodeCaptureHeader(std::span<const uint8_t> answerData, CaptureHeader& header);

} // namespace varnolt
