#pragma once

#include "core/capture/CaptureHeader.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace varnolt {

// The capture file (.tvd): start marker, file-format version, 126 header words, record count,
// the record words oldest first, end marker. Little-endian; strings are archive strings.
inline constexpr std::string_view kCaptureStartMarker = "<<## TOP Start ##>>";
inline constexpr std::string_view kCaptureEndMarker = "<<## TOP End ##>>";
// The file-format version every writer puts; readers also take the older 100 ... 102.
inline constexpr std::string_view kCaptureFileVersionText = "0110";
inline constexpr int kCaptureFileVersion = 110;

// Header words 0 ... 125; with the record count they fill the analyzer's 256-byte file header.
inline constexpr size_t kCaptureHeaderWordCount = 126;
// Words 0 ... 3 spell the data-format version.
inline constexpr size_t kDataFormatWordCount = 4;
using CaptureHeaderWords = std::array<uint16_t, kCaptureHeaderWordCount>;

// The leading decimal number of TEXT, as the C library reads one: leading blanks and a sign
// allowed, digits up to the first other character; 0 without digits.
[[nodiscard]] int DecimalPrefix(std::string_view text);

// The data-format version spelt by the low bytes of header words 0 ... 3.
[[nodiscard]] int DataFormatVersionOf(const uint16_t* words);
// Data-format versions whose header the reader understands: 2, 3, 4 and 110.
[[nodiscard]] bool IsKnownDataFormat(int version);

// The speed of a version-2 speed code; codes without a speed of their own mean 9600.
[[nodiscard]] uint32_t SpeedOfVersion2Code(uint8_t code);

// The header words as the program writes them, data-format version "0110". Word 17 carries
// DISPLAYMODE, the analyzer settings' current display mode (0 continuous, 1 frame).
[[nodiscard]] CaptureHeaderWords EncodeCaptureHeader(const CaptureHeader& header, int displayMode);

// Reads WORDS into HEADER by the layout of their data-format version, which becomes the
// header's format version. Fields a version does not carry are set as old files imply (idle
// and time display 1, no frame delimiters) or keep their values. False, with only the format
// version changed, for a data-format version the reader does not understand.
bool DecodeCaptureHeader(const CaptureHeaderWords& words, CaptureHeader& header);

} // namespace varnolt
