#include "core/capture/CharNameTable.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace varnolt {
namespace {

struct TableEntry {
    unsigned code;
    std::string_view padded;
    std::string_view plain;
    std::string_view fullWidth;
};

// Names and hexadecimal codes are the same in all three tables; printable characters differ.
const TableEntry kEntries[] = {
    {0x00, "NU", "NU", "NU"},
    {0x0D, "CR", "CR", "CR"},
    {0x1B, "EC", "EC", "EC"},
    {0x1F, "US", "US", "US"},
    {0x7F, "DT", "DT", "DT"},
    {0x80, "80", "80", "80"},
    {0xA0, "A0", "A0", "A0"},
    {0xE0, "E0", "E0", "E0"},
    {0xFF, "FF", "FF", "FF"},
    {0x20, "  ", " ", "\x81\x40"},       // ideographic space
    {0x41, " A", "A", "\x82\x60"},       // Ａ
    {0x31, " 1", "1", "\x82\x50"},       // １
    {0x22, " \"", "\"", "\x81\x68"},     // ”
    {0x27, " '", "'", "\x81\x66"},       // ’
    {0x2D, " -", "-", "\x81\x5C"},       // ― (not a minus sign)
    {0x60, " `", "`", "\x81\x65"},       // ‘
    {0x5C, " \\", "\\", "\x81\x5F"},     // ＼
    {0x7E, " ~", "~", "\x81\x60"},       // ～
    {0xA1, " \xA1", "\xA1", "\x81\x42"}, // 。
    {0xA5, " \xA5", "\xA5", "\x81\x45"}, // ・
    {0xB0, " \xB0", "\xB0", "\x81\x5B"}, // ー
    {0xB1, " \xB1", "\xB1", "\x83\x41"}, // ア
    {0xDD, " \xDD", "\xDD", "\x83\x93"}, // ン
    {0xDE, " \xDE", "\xDE", "\x81\x4A"}, // ゛
    {0xDF, " \xDF", "\xDF", "\x81\x4B"}, // ゜
};

TEST(CharNameTable, GivesTheListedTextsInAllThreeTables) {
    for (const TableEntry& entry : kEntries) {
        const auto code = static_cast<CharNameTable::CharacterCode>(entry.code);
        SCOPED_TRACE(entry.code);
        EXPECT_EQ(CharNameTable::PaddedHalfWidth().Lookup(code), entry.padded);
        EXPECT_EQ(CharNameTable::PlainHalfWidth().Lookup(code), entry.plain);
        EXPECT_EQ(CharNameTable::FullWidth().Lookup(code), entry.fullWidth);
    }
}

// Every cell is two columns: names, hexadecimal codes and full-width characters are two
// bytes; a full-width character is one double-byte code page 932 character.
TEST(CharNameTable, EveryFullWidthAndPaddedTextFillsTwoColumns) {
    for (unsigned code = 0; code < 256; ++code) {
        const auto byte = static_cast<CharNameTable::CharacterCode>(code);
        SCOPED_TRACE(code);
        const std::string_view full = CharNameTable::FullWidth().Lookup(byte);
        ASSERT_EQ(full.size(), 2u);
        EXPECT_EQ(CharNameTable::PaddedHalfWidth().Lookup(byte).size(), 2u);
        const bool printable = (code >= 0x20 && code <= 0x7E) || (code >= 0xA1 && code <= 0xDF);
        const auto lead = static_cast<unsigned char>(full[0]);
        if (printable) {
            EXPECT_TRUE(lead >= 0x81 && lead <= 0x84) << "not a full-width character";
            EXPECT_EQ(CharNameTable::PlainHalfWidth().Lookup(byte).size(), 1u);
        }
    }
}

} // namespace
} // namespace varnolt
