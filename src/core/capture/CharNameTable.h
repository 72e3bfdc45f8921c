#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace varnolt {

// The texts that the text export writes into a character cell: one per byte value of a
// captured character, in code page 932 bytes, at most two display columns wide. Control
// codes get a two-letter name, printable characters the character itself, and bytes that are
// no single character of code page 932 their code in upper-case hexadecimal. The three
// tables differ only in how printable characters look.
class CharNameTable {
public:
    using CharacterCode = std::uint8_t;

    CharNameTable(const CharNameTable&) = delete;
    CharNameTable& operator=(const CharNameTable&) = delete;

    // A space, then the character's own byte (two columns): half-width text files.
    [[nodiscard]] static const CharNameTable& PaddedHalfWidth();
    // The character's own byte alone: half-width comma-separated files.
    [[nodiscard]] static const CharNameTable& PlainHalfWidth();
    // The character's double-byte full-width form.
    [[nodiscard]] static const CharNameTable& FullWidth();

    [[nodiscard]] std::string_view Lookup(CharacterCode code) const { return texts_[code]; }

private:
    enum class Printable { Padded, Plain, FullWidth };
    explicit CharNameTable(Printable printable);

    std::array<std::string, 256> texts_;
};

} // namespace varnolt
