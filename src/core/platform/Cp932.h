#pragma once

#include <string>
#include <string_view>

namespace varnolt {

// Code page 932 (Shift-JIS as Windows writes it), the encoding of every text file that the
// program writes for people and of the analyzer's own texts.

// UTF-8 to code page 932. A character that code page 932 cannot hold, or a broken UTF-8
// sequence, becomes REPLACEMENT.
[[nodiscard]] std::string Utf8ToCp932(std::string_view utf8, std::string_view replacement = "?");

// Code page 932 to UTF-8; a byte sequence that is not code page 932 becomes U+FFFD.
[[nodiscard]] std::string Cp932ToUtf8(std::string_view cp932);

// UTF-16 to code page 932, with the replacement rule of Utf8ToCp932.
[[nodiscard]] std::string Utf16ToCp932(std::u16string_view utf16,
                                       std::string_view replacement = "?");

// Whether BYTE opens a two-byte character.
[[nodiscard]] constexpr bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

} // namespace varnolt
