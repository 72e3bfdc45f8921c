#include "core/platform/BinaryReader.h"
#include "core/platform/BinaryWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnolt {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> bytes;
    for (int v : values) {
        bytes.push_back(static_cast<uint8_t>(v));
    }
    return bytes;
}

struct StringCase {
    const char* name;
    std::vector<uint8_t> bytes;
    std::string expected;
};

class ArchiveStringForms : public ::testing::TestWithParam<StringCase> {};

TEST_P(ArchiveStringForms, ReadsEveryLengthForm) {
    const StringCase& c = GetParam();
    BinaryReader reader(c.bytes);
    std::string text;
    ASSERT_TRUE(reader.readArchiveString(text)) << c.name;
    EXPECT_EQ(text, c.expected);
    EXPECT_EQ(reader.remaining(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ArchiveStringForms,
    ::testing::Values(
        StringCase{"byte", Bytes({3, 'a', 'b', 'c'}), "abc"},
        StringCase{"word", Bytes({0xFF, 2, 0, 'h', 'i'}), "hi"},
        StringCase{"dword", Bytes({0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 'x'}), "x"},
        // UTF-16 "Aア" (U+30A2) becomes code page 932 bytes 41 83 41.
        StringCase{"utf16", Bytes({0xFF, 0xFE, 0xFF, 2, 'A', 0, 0xA2, 0x30}), "A\x83\x41"},
        StringCase{"utf16 word length", Bytes({0xFF, 0xFE, 0xFF, 0xFF, 1, 0, 'B', 0}), "B"}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            if (ch == ' ') {
                ch = '_';
            }
        }
        return name;
    });

TEST(BinaryReader, HugeDeclaredLengthFailsWithoutAllocating) {
    const auto bytes = Bytes({0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F, 'a', 'b'});
    BinaryReader reader(bytes);
    std::string text;
    EXPECT_FALSE(reader.readArchiveString(text));
    EXPECT_EQ(reader.error(), FileError::EndOfFile);
    EXPECT_LT(text.capacity(), 1024u);
}

TEST(BinaryReader, FailureSticksAndWordsStopAtTheEnd) {
    const auto bytes = Bytes({1, 0, 0, 0, 2, 0, 0, 0, 3, 0});
    BinaryReader reader(bytes);
    uint32_t words[3] = {};
    EXPECT_EQ(reader.readU32Words(words, 3), 2u);
    EXPECT_EQ(words[0], 1u);
    EXPECT_EQ(words[1], 2u);
    EXPECT_EQ(reader.error(), FileError::EndOfFile);
    uint8_t byte = 0;
    EXPECT_FALSE(reader.readU8(byte));
}

TEST(BinaryArchive, FileRoundTripThroughTheBuffers) {
    testing::TempDir dir;
    const auto path = dir / "round.bin";
    const std::string longText(300, 'q');
    {
        BinaryWriter writer(path);
        writer.writeArchiveString("start");
        writer.writeU16(0xA030);
        writer.writeArchiveString(longText);
        for (uint32_t i = 0; i < 100000; ++i) {
            writer.writeU32(i * 7);
        }
        ASSERT_TRUE(writer.finish());
    }
    BinaryReader reader(path);
    std::string text;
    uint16_t word = 0;
    ASSERT_TRUE(reader.readArchiveString(text));
    EXPECT_EQ(text, "start");
    ASSERT_TRUE(reader.readU16(word));
    EXPECT_EQ(word, 0xA030);
    ASSERT_TRUE(reader.readArchiveString(text));
    EXPECT_EQ(text, longText);
    std::vector<uint32_t> words(100000);
    // Most of them in reads of whole buffers, which go straight to the words.
    ASSERT_EQ(reader.readU32Words(words.data(), words.size()), words.size());
    for (uint32_t i = 0; i < words.size(); ++i) {
        ASSERT_EQ(words[i], i * 7) << i;
    }
    EXPECT_EQ(reader.remaining(), 0u);
}

TEST(BinaryReader, MissingFileIsNotFound) {
    testing::TempDir dir;
    BinaryReader reader(dir / "absent.tvd");
    EXPECT_EQ(reader.error(), FileError::NotFound);
}

} // namespace
} // namespace varnolt
