#include "core/capture/CaptureFileWriter.h"

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileFormat.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <vector>

namespace varnolt {
namespace {

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::vector<uint8_t> Text(std::string_view text) {
    return {text.begin(), text.end()};
}

std::vector<uint8_t> Words16(std::initializer_list<uint16_t> words) {
    std::vector<uint8_t> bytes;
    for (uint16_t w : words) {
        bytes.push_back(static_cast<uint8_t>(w));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    return bytes;
}

std::vector<uint8_t> Words32(std::initializer_list<uint32_t> words) {
    std::vector<uint8_t> bytes;
    for (uint32_t w : words) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<uint8_t>(w >> shift));
        }
    }
    return bytes;
}

CaptureHeader SampleHeader() {
    CaptureHeader header;
    header.lineMode = 3;
    header.speed = 115200; // 0x0001C200
    header.dataBits = 7;
    header.parity = 2;
    header.stopBits = 2;
    header.transmitOutput = 1;
    header.recordWidth = 1;
    header.idleDisplay = 2;
    header.timeDisplay = 5;
    header.frameDetectionTime = 0x00012345;
    header.delimiter(DelimiterSlot::SdStart) = {-1, 0x02, 0x00};
    header.delimiter(DelimiterSlot::SdEnd) = {1, 0x03, 0x7F};
    header.delimiter(DelimiterSlot::RdEnd) = {-128, 0x0D, 0x0A};
    header.formatVersion = 4; // the writer always puts "0110"
    return header;
}

TEST(CaptureFileWriter, WritesTheExactBytesOfTheFormat) {
    // A ring of 4 that has wrapped: records 2, 3, 4, 5 at indices 2, 3, 0, 1.
    CCaptureData store(4);
    for (uint32_t i = 0; i < 6; ++i) {
        store.Append(0x10000000 + i, 0);
    }
    std::vector<uint8_t> bytes;
    BinaryWriter out(bytes);
    WriteCapture(out, SampleHeader(), 1, store, {SaveSource::Ring, 3, 1});
    ASSERT_TRUE(out.finish());

    std::vector<uint8_t> filler;
    for (int i = 34; i < 126; ++i) {
        filler.push_back(0x00);
        filler.push_back(0x9F);
    }
    const std::vector<uint8_t> expected = Concat({
        {0x13},
        Text("<<## TOP Start ##>>"),
        {0x04},
        Text("0110"),
        Words16({0xA030, 0xA031, 0xA031, 0xA030,         // data-format version
                 0x9003, 0x9017, 0x9022, 0x9032, 0x9041, // line mode ... transmit output
                 0x9100, 0x9101, 0x91C2, 0x9100,         // speed, most significant first
                 0,      0,      0,                      //
                 0x9201, 0x9211, 0x9222, 0x9235,         // width, display mode, idle, time
                 0,      0,      0,      0,              //
                 0x0001, 0x2345,                         // frame detection time
                 0xFFFF, 0x0200, 0x0001, 0x037F,         // SD start, SD end
                 0x0000, 0x0000, 0xFF80, 0x0D0A}),       // RD start, RD end
        filler,
        Words32({3, 0x10000003, 0x10000004, 0x10000005}), // from index 3 through the end
        {0x11},
        Text("<<## TOP End ##>>"),
    });
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(bytes.size(), 299u + 4 * 3);
}

TEST(CaptureFileWriter, CountsTheRangeByTheRingRules) {
    struct Case {
        RingIndex first, last;
        RecordCount expected;
    };
    const Case cases[] = {
        {0, -1, 0}, {3, -1, 0}, {2, 2, 1}, {1, 3, 3}, {7, 2, 6}, {0, 9, 10}, {9, 8, 10},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SaveRecordCount(c.first, c.last, 10), c.expected) << c.first << " ... " << c.last;
    }
}

TEST(CaptureFileWriter, WritesASavedBankAndAnEmptyStore) {
    CCaptureData store(4);
    for (uint32_t i = 0; i < 4; ++i) {
        store.Append(0x20000000 + i, 0);
    }
    ASSERT_EQ(store.SwitchBankIfFull(store.lastIndex()), CaptureBank::A);
    store.Append(0x30000000, 0); // index 0 of the ring and of bank B; bank A keeps its word
    const auto recordBytes = [&](const CaptureSaveRange& range) {
        std::vector<uint8_t> bytes;
        BinaryWriter out(bytes);
        WriteCapture(out, store.header(), 0, store, range);
        return std::vector<uint8_t>(bytes.begin() + 281, bytes.end() - 18);
    };
    EXPECT_EQ(recordBytes({SaveSource::BankA, 0, 3}),
              Words32({0x20000000, 0x20000001, 0x20000002, 0x20000003}));
    // One record after the switch in a wrapped ring is one record, not a ring of older words.
    ASSERT_TRUE(store.wrapped());
    EXPECT_EQ(recordBytes({SaveSource::BankB, 0, 0}), Words32({0x30000000}));
    EXPECT_EQ(recordBytes({SaveSource::Ring, 0, -1}), std::vector<uint8_t>{});
}

TEST(CaptureFileWriter, CopiesReceivedHeaderWordsUnchanged) {
    CaptureHeaderWords words{};
    for (size_t i = 0; i < words.size(); ++i) {
        words[i] = static_cast<uint16_t>(0x1234 + 3 * i);
    }
    std::vector<uint8_t> bytes;
    BinaryWriter out(bytes);
    WriteCapture(out, words, std::vector<RecordWord>{0x41000000, 0x42000000});
    ASSERT_TRUE(out.finish());
    std::vector<uint8_t> expectedWords;
    for (const uint16_t word : words) {
        expectedWords.push_back(static_cast<uint8_t>(word));
        expectedWords.push_back(static_cast<uint8_t>(word >> 8));
    }
    const std::vector<uint8_t> expected = Concat({
        {0x13},
        Text("<<## TOP Start ##>>"),
        {0x04},
        Text("0110"),
        expectedWords,
        Words32({2, 0x41000000, 0x42000000}),
        {0x11},
        Text("<<## TOP End ##>>"),
    });
    EXPECT_EQ(bytes, expected);
}

TEST(CaptureFileWriter, ReportsAFileThatCannotBeCreated) {
    const testing::TempDir dir;
    const CCaptureData store(4);
    testing::RecordingPrompt prompt;
    const auto path = dir / "missing" / "a.tvd";
    EXPECT_FALSE(WriteCaptureFile(path, store.header(), 0, store, {}, prompt));
    ASSERT_EQ(prompt.entries.size(), 1u);
    EXPECT_EQ(prompt.entries[0].text, FileErrorMessage(FileError::NotFound, path));
    EXPECT_EQ(prompt.entries[0].caption, "Varnolt");
    EXPECT_EQ(prompt.entries[0].icon, PromptIcon::Warning);
}

} // namespace
} // namespace varnolt
