#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace varnolt {

// A firmware file (.tvy) is a sequence of records: a length byte L, three characters, then
// data bytes. The first record is the version: its three bytes, with no data part. Every other
// record travels to the analyzer's loader as a text line of c characters (the three characters,
// then hex digits of the data bytes), with c = ((L − 9) / 2) − 7 taken on L as a signed byte.

// The shortest and the longest text a record can have.
inline constexpr int32_t kMinRecordText = 3;
inline constexpr int32_t kMaxRecordText = 52;
// Records of one batch line.
inline constexpr int32_t kRecordsPerBatch = 10;

// The text length c of a record with length byte L (L taken as signed, divisions truncating).
[[nodiscard]] int32_t RecordTextLength(uint8_t lengthByte);
// The data bytes of a record whose text has C characters: (c − 3) / 2, one more when c is
// even (the last byte then gives only its high digit).
[[nodiscard]] int32_t RecordDataBytes(int32_t textLength);

struct FirmwareRecord {
    int32_t number = 0; // in the file, the version record being 1
    size_t offset = 0;  // of its length byte
    int32_t textLength = 0;
    std::array<uint8_t, 3> head{};
    std::span<const uint8_t> data;

    // The record that ends the single lines: "MK" as its second and third characters.
    [[nodiscard]] bool isMark() const { return head[1] == 'M' && head[2] == 'K'; }
};

// Appends the text of RECORD to LINE: its three characters, then textLength − 3 upper-case
// hex digits of its data bytes, high digit first, then END (a line feed or a vertical tab).
void AppendRecordText(std::string& line, const FirmwareRecord& record, uint8_t end);

// What is wrong with a firmware file, and where.
struct FirmwareProblem {
    enum class Kind {
        None,
        NoVersion,     // shorter than the version record
        ShortRecord,   // a length byte that gives fewer than 3 characters
        LongRecord,    // a length byte that gives more characters than a line holds
        LineEndInHead, // a line feed or vertical tab among the three characters
        Truncated,     // the file ends inside a record
        NoMark,        // no "MK" record
    };
    Kind kind = Kind::None;
    int32_t record = 0;
    size_t offset = 0;
    uint8_t lengthByte = 0;
};

// Walks the records of a firmware file held in memory, the version record first.
class FirmwareFileReader {
public:
    enum class Step { Record, End, Problem };

    explicit FirmwareFileReader(std::span<const uint8_t> file) : file_(file) {}

    // The version: the six upper-case hex digits of the first record's three bytes; false when
    // the file is shorter than that record. Reading starts after it.
    bool ReadVersion(std::string& version, FirmwareProblem& problem);
    // The next record; End at the end of the file, Problem (with PROBLEM filled) for a record
    // that cannot be sent. After a problem the reader stays at the damaged record.
    Step Next(FirmwareRecord& record, FirmwareProblem& problem);

    [[nodiscard]] size_t offset() const { return offset_; }
    [[nodiscard]] bool atEnd() const { return offset_ >= file_.size(); }

private:
    std::span<const uint8_t> file_;
    size_t offset_ = 0;
    int32_t records_ = 0;
};

// The offline check of a whole firmware file: what the update would send, and the first
// problem that makes the update refuse the file.
struct FirmwareFileCheck {
    std::string version;
    int32_t records = 0;     // after the version record
    int32_t markRecord = 0;  // the number of the "MK" record, 0 when there is none
    int32_t singleLines = 0; // records sent one per line, before the "MK" record
    int32_t batches = 0;     // batch lines after the "MK" record
    FirmwareProblem problem;

    [[nodiscard]] bool ok() const { return problem.kind == FirmwareProblem::Kind::None; }
};

[[nodiscard]] FirmwareFileCheck CheckFirmwareFile(std::span<const uint8_t> file);

// Reads the whole firmware file at PATH into BYTES; false when it cannot be opened or read, or
// is far larger than any firmware (BYTES is then empty).
bool LoadFirmwareFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes);

// Where and what the problem is, for the user: "レコード 5（オフセット 0x1C）: ...".
[[nodiscard]] std::string DescribeFirmwareProblem(const FirmwareProblem& problem);

} // namespace varnolt
