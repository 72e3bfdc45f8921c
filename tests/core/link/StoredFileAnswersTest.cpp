#include "core/capture/CaptureFileReader.h"
#include "core/link/savedfile/FileDataBlock.h"
#include "core/link/savedfile/ReceivedCaptureFile.h"
#include "core/link/savedfile/StoredFileEntry.h"
#include "core/platform/BinaryWriter.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace varnolt {
namespace {

std::vector<uint8_t> Frame(std::string text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.insert(bytes.end(), {0xFF, 0x00, 0xFF, 0x00});
    return bytes;
}

std::string Entry(std::string_view number, std::string_view name, std::string_view created) {
    return "DD" + std::string(number) + std::string(name) + "0003" + std::string(created);
}

TEST(StoredFileEntryTest, AnEntryShowsItsFourColumns) {
    const auto entry = DecodeListEntry(Frame(Entry("0042", "PLC_LOG ", "2405311230")));
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->number, 42);
    EXPECT_TRUE(entry->listed);
    EXPECT_EQ(entry->row, (StoredFileRow{"PLC_LOG ", "2024/05/31 12:30", "0003", "0042"}));
}

TEST(StoredFileEntryTest, ReservedNamesAndShortOrGarbledEntries) {
    EXPECT_FALSE(DecodeListEntry(Frame(Entry("0000", "ONLINE  ", "0000000000")))->listed);
    EXPECT_FALSE(DecodeListEntry(Frame(Entry("0005", "NO_DATXY", "0000000000")))->listed);
    EXPECT_TRUE(DecodeListEntry(Frame(Entry("0005", "NO_DA   ", "0000000000")))->listed);
    // One byte short of the creation time: nothing past the answer is read.
    EXPECT_FALSE(DecodeListEntry(Frame(Entry("0001", "SHORT   ", "240531123"))).has_value());
    // Control characters in the fields are shown, not passed on.
    const auto garbled = DecodeListEntry(Frame(Entry("00\x01"
                                                     "7",
                                                     "A\tB\x1B"
                                                     "C   ",
                                                     "24\x7F"
                                                     "5311230")));
    ASSERT_TRUE(garbled.has_value());
    EXPECT_EQ(garbled->row.number, "00?7");
    EXPECT_EQ(garbled->row.name, "A?B?C   ");
    EXPECT_EQ(garbled->row.created, "2024/?5/31 12:30");
}

TEST(StoredFileEntryTest, RowsAreOrderedByNumberWith9999FirstAndNeverTwice) {
    std::vector<StoredFileRow> rows;
    for (const char* number : {"0001", "0002", "9999", "0003", "0002"}) {
        InsertListEntry(rows, *DecodeListEntry(Frame(Entry(number, "F       ", "2401010000"))));
    }
    std::vector<std::string> numbers;
    for (const StoredFileRow& row : rows) {
        numbers.push_back(row.number);
    }
    EXPECT_EQ(numbers, (std::vector<std::string>{"9999", "0001", "0002", "0003"}));
}

TEST(FileDataBlockTest, TheCheckByteIsTheComplementOfTheDataSum) {
    // Data 12 34 AB: sum F1, check 0E. The odd last byte takes the check byte as its low byte.
    std::vector<uint8_t> answer = Frame("FD\x12\x34\xAB\x0E");
    FileDataBlock block = InspectFileDataBlock(answer);
    EXPECT_TRUE(block.intact);
    ASSERT_EQ(block.wordCount(), 2U);
    std::vector<uint16_t> words(2);
    UnpackFileDataBlock(block, words);
    EXPECT_EQ(words, (std::vector<uint16_t>{0x1234, 0xAB0E}));

    answer[5] = 0x0F;
    EXPECT_FALSE(InspectFileDataBlock(answer).intact);
    EXPECT_TRUE(InspectFileDataBlock(Frame("FD\xFF")).intact); // no data: check FF
    EXPECT_FALSE(InspectFileDataBlock(Frame("FD")).intact);    // no room for a check byte
}

// A download that ended early or came from a garbled analyzer may hold fewer words than a header;
// writing it must refuse it rather than read past the words received.
TEST(ReceivedCaptureFileTest, WordsShortOfAReceivableHeaderWriteNothing) {
    const std::vector<uint16_t> shortFile{0x30, 0x30, 0x30, 0x34, 0, 0, 0, 0};
    std::vector<uint8_t> bytes;
    BinaryWriter out(bytes);
    EXPECT_FALSE(WriteReceivedWords(out, shortFile));
    EXPECT_TRUE(bytes.empty());

    const testing::TempDir folder;
    testing::RecordingPrompt prompt;
    EXPECT_FALSE(WriteReceivedCapture(folder / "short.tvd", shortFile, prompt));
    EXPECT_FALSE(std::filesystem::exists(folder / "short.tvd"));
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{std::string(kWrongFileVersionMessage)});
}

} // namespace
} // namespace varnolt
