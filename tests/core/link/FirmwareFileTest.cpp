#include "core/link/firmware/FirmwareFile.h"

#include "sim/FirmwareImage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnolt {
namespace {

using Kind = FirmwareProblem::Kind;

// A record of TEXTLENGTH characters with data bytes 0x00, 0x11, 0x22, ...
FirmwareRecord Record(int32_t textLength, std::vector<uint8_t>& storage) {
    storage.clear();
    for (int32_t k = 0; k < RecordDataBytes(textLength); ++k) {
        storage.push_back(static_cast<uint8_t>(0x11 * k));
    }
    FirmwareRecord record;
    record.textLength = textLength;
    record.head = {'S', '1', '2'};
    record.data = storage;
    return record;
}

TEST(FirmwareRecords, LengthByteGivesTheTextAndTheDataBytes) {
    struct Case {
        uint8_t lengthByte;
        int32_t text;
        int32_t data;
    };
    const Case cases[] = {
        {105, 41, 19}, {107, 42, 20}, {29, 3, 0}, {30, 3, 0},
        {31, 4, 1},    {127, 52, 25}, {28, 2, 0}, {0x80, -75, -39},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lengthByte);
        EXPECT_EQ(RecordTextLength(c.lengthByte), c.text);
        if (c.text >= kMinRecordText) {
            EXPECT_EQ(RecordDataBytes(c.text), c.data);
        }
    }
}

TEST(FirmwareRecords, TheLineCarriesTheTextAndItsEnd) {
    std::vector<uint8_t> data;
    std::string line;
    AppendRecordText(line, Record(41, data), 0x0A);
    ASSERT_EQ(line.size(), 42U);
    EXPECT_EQ(line.substr(0, 9), "S12001122");
    EXPECT_EQ(line[41], '\n');

    // An even length: 39 hex digits, the last byte's low digit stays home.
    line.clear();
    AppendRecordText(line, Record(42, data), 0x0B);
    ASSERT_EQ(line.size(), 43U);
    // ... 0x21 (byte 17), 0x32, then only the 4 of 0x43, and the vertical tab.
    EXPECT_EQ(line.substr(37, 6), "21324\x0B");
}

TEST(FirmwareFileCheck, AGoodFileIsDescribed) {
    const std::vector<uint8_t> file =
        sim::BuildFirmwareImage({.headerRecords = 3, .dataRecords = 25});
    const FirmwareFileCheck check = CheckFirmwareFile(file);
    ASSERT_TRUE(check.ok()) << DescribeFirmwareProblem(check.problem);
    EXPECT_EQ(check.version, "100300");
    EXPECT_EQ(check.records, 3 + 1 + 25);
    EXPECT_EQ(check.markRecord, 5); // the version record is 1
    EXPECT_EQ(check.singleLines, 3);
    EXPECT_EQ(check.batches, 3);
}

TEST(FirmwareFileCheck, DamagedFilesAreRefusedWithThePlaceOfTheProblem) {
    const std::vector<uint8_t> good =
        sim::BuildFirmwareImage({.headerRecords = 2, .dataRecords = 4});
    // Record 1 (the version) takes 4 bytes, record 2 ("VER", 3 data bytes) 7: record 3 starts
    // at 11. The last record (8) holds 20 data bytes.
    const size_t thirdRecord = 4 + 7;
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        Kind kind;
        int32_t record;
        size_t offset;
        const char* text;
    };
    auto with = [&](auto change) {
        std::vector<uint8_t> file = good;
        change(file);
        return file;
    };
    const Case cases[] = {
        {"three bytes",
         {0x1D, 0x10, 0x03},
         Kind::NoVersion,
         1,
         0,
         "先頭のバージョンレコードがありません"},
        {"a length byte of 28 gives 2 characters", with([&](auto& f) { f[thirdRecord] = 28; }),
         Kind::ShortRecord, 3, thirdRecord,
         "レコード 3（オフセット 0xB）: 長さバイト 0x1C では文字数が 3 未満です"},
        {"a length byte of 0x80 is negative", with([&](auto& f) { f[thirdRecord] = 0x80; }),
         Kind::ShortRecord, 3, thirdRecord,
         "レコード 3（オフセット 0xB）: 長さバイト 0x80 では文字数が 3 未満です"},
        {"the file ends inside the last record", with([](auto& f) { f.pop_back(); }),
         Kind::Truncated, 8, good.size() - 24, nullptr},
        {"the file ends after a length byte", with([](auto& f) { f.push_back(105); }),
         Kind::Truncated, 9, good.size(), nullptr},
        {"a line feed among the three characters",
         with([&](auto& f) { f[thirdRecord + 2] = 0x0A; }), Kind::LineEndInHead, 3, thirdRecord,
         nullptr},
        {"no MK record", sim::BuildFirmwareImage({.dataRecords = 4, .withMark = false}),
         Kind::NoMark, 0, 0, "MK レコードがありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FirmwareFileCheck check = CheckFirmwareFile(c.file);
        EXPECT_FALSE(check.ok());
        EXPECT_EQ(check.problem.kind, c.kind);
        if (c.kind != Kind::NoMark) {
            EXPECT_EQ(check.problem.record, c.record);
            EXPECT_EQ(check.problem.offset, c.offset);
        }
        if (c.text != nullptr) {
            EXPECT_EQ(DescribeFirmwareProblem(check.problem), c.text);
        }
    }
}

} // namespace
} // namespace varnolt
