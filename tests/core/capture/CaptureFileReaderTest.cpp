#include "core/capture/CaptureFileReader.h"

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileFormat.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/platform/BinaryWriter.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace varnolt {
namespace {

using testing::RecordingPrompt;

constexpr const char* kPath = "capture.tvd";
constexpr RecordWord kStale = 0x2FFF0000;

// The words of a capture file, written with BinaryWriter so each piece can be varied.
struct FileLayout {
    std::string marker{kCaptureStartMarker};
    std::string version{kCaptureFileVersionText};
    std::string dataVersion = "0110";
    std::optional<uint32_t> count; // the number of records when unset
    std::vector<RecordWord> records{0x10410000, 0x20420000, 0x30040000};
    CaptureHeader header;
};

std::vector<uint8_t> Build(const FileLayout& layout) {
    CaptureHeaderWords words = EncodeCaptureHeader(layout.header, 1);
    for (size_t i = 0; i < kDataFormatWordCount; ++i) {
        words[i] = static_cast<uint16_t>(0xA000 + static_cast<uint8_t>(layout.dataVersion[i]));
    }
    std::vector<uint8_t> bytes;
    BinaryWriter out(bytes);
    out.writeArchiveString(layout.marker);
    out.writeArchiveString(layout.version);
    for (uint16_t word : words) {
        out.writeU16(word);
    }
    out.writeU32(layout.count.value_or(static_cast<uint32_t>(layout.records.size())));
    for (RecordWord word : layout.records) {
        out.writeU32(word);
    }
    out.writeArchiveString(kCaptureEndMarker);
    return bytes;
}

// A store that already holds records, so that a load that shows any of them is caught.
void FillStale(CCaptureData& store, int count) {
    for (int i = 0; i < count; ++i) {
        store.Append(kStale, 7);
    }
}

std::vector<RecordWord> Held(const CCaptureData& store) {
    std::vector<RecordWord> words;
    for (RecordCount k = 0; k < store.Count(); ++k) {
        words.push_back(store.word(store.WrapIndex(store.firstIndex(), k)));
    }
    return words;
}

bool Load(const std::vector<uint8_t>& bytes, CCaptureData& store, RecordingPrompt& prompt) {
    BinaryReader in(bytes);
    return ReadCapture(in, store, prompt, kPath);
}

void ExpectOneWarning(const RecordingPrompt& prompt, std::string_view text) {
    ASSERT_EQ(prompt.entries.size(), 1u);
    EXPECT_EQ(prompt.entries[0].text, text);
    EXPECT_EQ(prompt.entries[0].caption, "Varnolt");
    EXPECT_EQ(prompt.entries[0].icon, PromptIcon::Warning);
    EXPECT_FALSE(prompt.entries[0].question);
}

struct VersionCase {
    const char* name;
    const char* version;
    const char* dataVersion;
    bool loads;
    RecordCount records;
    std::string_view message = {}; // empty: none
    std::optional<uint32_t> count = {};
    std::string marker{kCaptureStartMarker};
};

const VersionCase kVersionCases[] = {
    {"current file", "0110", "0110", true, 3},
    {"version 100, format 4", "100", "0004", true, 3},
    {"version 101, format 3", "0101", "0003", true, 3},
    {"version 102, format 2", "0102", "0002", true, 3},
    {"version 99", "0099", "0110", false, 0, kWrongFileVersionMessage},
    {"version 103", "0103", "0110", false, 0, kWrongFileVersionMessage},
    {"version 109", "109", "0004", false, 0, kWrongFileVersionMessage},
    {"version 111", "0111", "0110", false, 0, kWrongFileVersionMessage},
    {"version without digits", "v110", "0110", false, 0, kWrongFileVersionMessage},
    {"old file of format 110", "0100", "0110", false, 0, kWrongFileVersionMessage},
    {"old file of format 5", "0100", "0005", false, 0, kWrongFileVersionMessage},
    {"current file of format 5", "0110", "0005", true, 0},
    {"wrong start marker",
     "0110",
     "0110",
     false,
     0,
     kWrongFileFormatMessage,
     {},
     "<<## TOP Start ##>"},
    {"count above 4,000,000", "0110", "0110", false, 0, kWrongFileFormatMessage, 4'000'001},
    {"old count above 4,000,000", "0100", "0004", false, 0, kWrongFileFormatMessage, 0xFFFFFFFF},
};

TEST(CaptureFileReader, AcceptsKnownVersionsAndRefusesTheRest) {
    for (const VersionCase& c : kVersionCases) {
        SCOPED_TRACE(c.name);
        FileLayout layout;
        layout.marker = c.marker;
        layout.version = c.version;
        layout.dataVersion = c.dataVersion;
        layout.count = c.count;
        CCaptureData store;
        FillStale(store, 5);
        RecordingPrompt prompt;
        EXPECT_EQ(Load(Build(layout), store, prompt), c.loads);
        // A refused file leaves the capture the store held.
        const std::vector<RecordWord> expected =
            c.loads ? std::vector<RecordWord>(layout.records.begin(),
                                              layout.records.begin() + c.records)
                    : std::vector<RecordWord>(5, kStale);
        EXPECT_EQ(Held(store), expected);
        if (c.message.empty()) {
            EXPECT_TRUE(prompt.entries.empty());
        } else {
            ExpectOneWarning(prompt, c.message);
        }
    }
}

TEST(CaptureFileReader, LoadsIntoAFullRingOfEveryRecordAndItsBank) {
    CCaptureData store(3);
    FillStale(store, 4);
    store.setCapacity(2);
    RecordingPrompt prompt;
    ASSERT_TRUE(Load(Build({}), store, prompt));
    EXPECT_EQ(store.capacity(), 3);
    EXPECT_FALSE(store.wrapped());
    EXPECT_EQ(store.firstIndex(), 0);
    EXPECT_EQ(store.lastIndex(), 2);
    EXPECT_EQ(store.record(1).deviceIndex, 0);
    EXPECT_EQ(store.bankWord(CaptureBank::A, 2), 0x30040000u);
}

struct HeaderCase {
    const char* name;
    const char* dataVersion;
    uint16_t speedWords[4];
    uint32_t speed;
    bool fullHeader; // idle and time display, frame time and delimiters read from the file
};

TEST(CaptureFileReader, ReadsTheHeaderByTheDataFormatVersion) {
    const HeaderCase cases[] = {
        {"version 2, code 17", "0002", {0x9111, 0x9101, 0x91C2, 0x9100}, 9600, false},
        {"version 2, code 27", "0002", {0x911B, 0, 0, 0}, 1'843'200, false},
        {"version 2, code 23", "0002", {0x9117, 0, 0, 0}, 115'200, false},
        {"version 2, code 10", "0002", {0x910A, 0, 0, 0}, 110, false},
        {"version 2, code 0", "0002", {0x9100, 0, 0, 0}, 0, false},
        {"version 2, code 28", "0002", {0x911C, 0, 0, 0}, 9600, false},
        {"version 3", "0003", {0x9100, 0x9101, 0x91C2, 0x9100}, 115'200, false},
        {"version 4", "0004", {0x9100, 0x910E, 0x9110, 0x9100}, 921'600, true},
        {"version 110", "0110", {0x9100, 0x9100, 0x9125, 0x9180}, 9600, true},
    };
    CaptureHeader written;
    written.lineMode = 4;
    written.dataBits = 7;
    written.stopBits = 2;
    written.parity = 3;
    written.transmitOutput = 1;
    written.recordWidth = 1;
    written.idleDisplay = 3;
    written.timeDisplay = 2;
    written.frameDetectionTime = 0xFEDCBA98;
    written.delimiter(DelimiterSlot::RdStart) = {-1, 0x3A, 0x99};
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        CaptureHeaderWords words = EncodeCaptureHeader(written, 1);
        for (size_t i = 0; i < 4; ++i) {
            words[i] = static_cast<uint16_t>(0xA000 + c.dataVersion[i]);
            words[9 + i] = c.speedWords[i];
        }
        CaptureHeader read;
        read.frameDetectionTime = 77;
        read.delimiter(DelimiterSlot::SdEnd) = {1, 2, 3};
        ASSERT_TRUE(DecodeCaptureHeader(words, read));

        CaptureHeader expected = written;
        expected.speed = c.speed;
        expected.formatVersion = std::stoi(c.dataVersion);
        if (!c.fullHeader) {
            expected.idleDisplay = 1;
            expected.timeDisplay = 1;
            expected.frameDetectionTime = 77; // not in the file: kept
            expected.delimiters = {};
        }
        EXPECT_EQ(read, expected);
    }
}

TEST(CaptureFileReader, RoundTripsThroughAFile) {
    const testing::TempDir dir;
    CCaptureData written(6);
    written.header().speed = 38400;
    written.header().idleDisplay = 1;
    written.header().timeDisplay = 4;
    written.header().frameDetectionTime = 1500;
    written.header().delimiter(DelimiterSlot::SdEnd) = {-1, 0x0D, 0};
    for (uint32_t i = 0; i < 9; ++i) {
        written.Append(0x1F000000 + (i << 16) + i, static_cast<int32_t>(i));
    }
    RecordingPrompt prompt;
    const auto path = dir / "wrapped.tvd";
    ASSERT_TRUE(WriteCaptureFile(path, written.header(), 0, written,
                                 {SaveSource::Ring, written.firstIndex(), written.lastIndex()},
                                 prompt));

    CCaptureData read(6);
    ASSERT_TRUE(ReadCaptureFile(path, read, prompt));
    EXPECT_TRUE(prompt.entries.empty());
    CaptureHeader expected = written.header();
    expected.formatVersion = 110;
    EXPECT_EQ(read.header(), expected);
    EXPECT_EQ(Held(read), Held(written));
    EXPECT_EQ(read.firstIndex(), 0);
    EXPECT_EQ(read.lastIndex(), 5);

    // An empty store saves a file of no records and loads back empty.
    written.PrepareForLoad();
    ASSERT_TRUE(WriteCaptureFile(path, written.header(), 0, written, {}, prompt));
    EXPECT_EQ(std::filesystem::file_size(path), 299u);
    EXPECT_TRUE(ReadCaptureFile(path, read, prompt));
    EXPECT_EQ(read.Count(), 0);
    EXPECT_EQ(read.lastIndex(), kNoRecord);
    EXPECT_TRUE(prompt.entries.empty());
}

TEST(CaptureFileReader, ReportsAMissingFile) {
    const testing::TempDir dir;
    CCaptureData store(4);
    FillStale(store, 2);
    RecordingPrompt prompt;
    EXPECT_FALSE(ReadCaptureFile(dir / "none.tvd", store, prompt));
    EXPECT_EQ(Held(store), std::vector<RecordWord>(2, kStale));
    ExpectOneWarning(prompt, FileErrorMessage(FileError::NotFound, dir / "none.tvd"));
}

// Old files: a time stamp of 40 payload bits spread 12 + 12 + 12 + 4, here the stamp
// 26/12/10 04:37:59 (payload 0x2649011BD9), its head and continuations carrying junk in the
// bits the new layout does not take.
const std::vector<RecordWord> kOldRecords = {
    0x10410000, 0x72640123, 0x89014567, 0x81BD89AB, 0x89ABCDEF, // SD 'A', stamp
    0x8FFF0000, 0x20420000,                                     // dropped, RD 'B'
};

TEST(CaptureFileReader, RealignsOldTimeStampsAndDropsAFourthContinuation) {
    FileLayout layout;
    layout.version = "0101";
    layout.dataVersion = "0004";
    layout.header.idleDisplay = 2;
    layout.header.timeDisplay = 1;
    layout.records = kOldRecords;
    CCaptureData store;
    RecordingPrompt prompt;
    ASSERT_TRUE(Load(Build(layout), store, prompt));
    const std::vector<RecordWord> expected = {0x10410000, 0x71260000, 0x84900000,
                                              0x811B0000, 0x8D900000, 0x20420000};
    EXPECT_EQ(Held(store), expected);
    EXPECT_EQ(store.lastIndex(), 5);
    EXPECT_EQ(store.bankWord(CaptureBank::A, 4), 0x8D900000u);
    EXPECT_EQ(UnpackTimeStamp(store.word(1), store.word(2), store.word(3), store.word(4)),
              (StampDigits{0x261210, 0x04375900}));
    EXPECT_EQ(store.header().idleDisplay, 0); // no idle item in the file
    EXPECT_EQ(store.header().timeDisplay, 1);
    EXPECT_TRUE(prompt.entries.empty());
}

TEST(CaptureFileReader, OldFilesWithoutStampsTurnTheTimeDisplayOff) {
    FileLayout layout;
    layout.version = "0100";
    layout.dataVersion = "0002";
    layout.records = {0x51000000, 0x60010000, 0x62340000, 0x10410000};
    CCaptureData store;
    RecordingPrompt prompt;
    ASSERT_TRUE(Load(Build(layout), store, prompt));
    EXPECT_EQ(Held(store), layout.records);
    EXPECT_EQ(store.header().idleDisplay, 1);
    EXPECT_EQ(store.header().timeDisplay, 0);
}

struct TruncationCase {
    const char* name;
    const char* version;
    size_t keptBytes;
    bool loads;
    std::vector<RecordWord> held;
    bool reported;
};

TEST(CaptureFileReader, KeepsExactlyTheRecordsBeforeAnEarlyEnd) {
    // 299 bytes of frame; the records begin at byte 281.
    const TruncationCase cases[] = {
        {"empty file", "0110", 0, false, {}, true},
        {"inside the marker", "0110", 10, false, {}, true},
        {"inside the header", "0110", 100, false, {}, true},
        {"inside the count", "0110", 279, false, {}, true},
        {"inside the first record", "0110", 283, true, {}, true},
        {"after two and a half records", "0110", 291, true, {0x10410000, 0x72640123}, true},
        {"without the end marker", "0110", 281 + 28, true, kOldRecords, false},
        {"old file inside the stamp",
         "0101",
         281 + 12,
         true,
         {0x10410000, 0x71260000, 0x84900000},
         true},
    };
    for (const TruncationCase& c : cases) {
        SCOPED_TRACE(c.name);
        FileLayout layout;
        layout.version = c.version;
        layout.dataVersion = "0004";
        layout.records = kOldRecords;
        std::vector<uint8_t> bytes = Build(layout);
        bytes.resize(c.keptBytes);
        CCaptureData store(16);
        FillStale(store, 16);
        RecordingPrompt prompt;
        EXPECT_EQ(Load(bytes, store, prompt), c.loads);
        // A file that fails before its records leaves the capture the store held.
        EXPECT_EQ(Held(store), c.loads ? c.held : std::vector<RecordWord>(16, kStale));
        if (c.reported) {
            ExpectOneWarning(prompt, FileErrorMessage(FileError::EndOfFile, kPath));
        } else {
            EXPECT_TRUE(prompt.entries.empty());
        }
    }
}

TEST(CaptureFileReader, TakesEveryArchiveStringForm) {
    // The marker in the 16-bit length form, the version "0110" as a UTF-16 string.
    std::string prefix = "\xFF\x13";
    prefix += '\0';
    prefix += kCaptureStartMarker;
    prefix += "\xFF\xFE\xFF\x04";
    for (const char ch : kCaptureFileVersionText) {
        prefix += ch;
        prefix += '\0';
    }
    std::vector<uint8_t> bytes(prefix.begin(), prefix.end());
    const std::vector<uint8_t> file = Build({});
    bytes.insert(bytes.end(), file.begin() + 25, file.end()); // header words onwards
    CCaptureData store(8);
    RecordingPrompt prompt;
    EXPECT_TRUE(Load(bytes, store, prompt));
    EXPECT_EQ(store.Count(), 3);
    EXPECT_TRUE(prompt.entries.empty());

    // A marker declaring 4 GB in a file of a few bytes ends as a file error.
    const std::vector<uint8_t> hostile = {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, '<', '<'};
    EXPECT_FALSE(Load(hostile, store, prompt));
    EXPECT_EQ(store.Count(), 3);
    EXPECT_EQ(prompt.texts().back(), FileErrorMessage(FileError::EndOfFile, kPath));
}

// Files built byte by byte outside the program (they also seed the reader's fuzzer).
TEST(CaptureFileReader, LoadsStoredFiles) {
    // CTest names the data folder; run by hand, the test finds it beside its source.
    const char* data = std::getenv("VARNOLT_TEST_DATA");
    const std::filesystem::path folder =
        (data != nullptr ? std::filesystem::path(data)
                         : std::filesystem::path(__FILE__).parent_path() / "../../data") /
        "capture";
    CCaptureData store(64);
    RecordingPrompt prompt;

    ASSERT_TRUE(ReadCaptureFile(folder / "current.tvd", store, prompt));
    const CaptureHeader current{.lineMode = 1,
                                .speed = 9600,
                                .dataBits = 8,
                                .stopBits = 1,
                                .parity = 0,
                                .transmitOutput = 0,
                                .idleDisplay = 1,
                                .timeDisplay = 1,
                                .frameDetectionTime = 100,
                                .delimiters = {{{-1, 0x0D, 0}, {}, {}, {}}},
                                .formatVersion = 110,
                                .recordWidth = 1};
    EXPECT_EQ(store.header(), current);
    EXPECT_EQ(store.Count(), 10);
    EXPECT_EQ(store.word(9), 0xB0390555u);

    ASSERT_TRUE(ReadCaptureFile(folder / "old.tvd", store, prompt));
    EXPECT_EQ(store.header().formatVersion, 2);
    EXPECT_EQ(store.header().speed, 0u); // version-2 speed code 0
    EXPECT_EQ(store.header().idleDisplay, 0);
    EXPECT_EQ(store.header().timeDisplay, 1);
    EXPECT_EQ(Held(store), (std::vector<RecordWord>{0x10410000, 0x71260000, 0x84900000, 0x811B0000,
                                                    0x8D900000, 0x20420000}));
    EXPECT_TRUE(prompt.entries.empty());
}

} // namespace
} // namespace varnolt
