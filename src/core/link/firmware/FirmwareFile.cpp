#include "core/link/firmware/FirmwareFile.h"

#include "core/link/protocol/HexFormat.h"
#include "core/platform/BinaryReader.h"

#include <cstdio>

namespace varnolt {

namespace {

constexpr size_t kHeadBytes = 3;
constexpr uint8_t kLineFeed = 0x0A;
constexpr uint8_t kVerticalTab = 0x0B;
// Larger files are no firmware; they are not read into memory.
constexpr uint64_t kLargestFile = 64U << 20;

std::string Place(const FirmwareProblem& problem) {
    char text[80];
    std::snprintf(text, sizeof text, "レコード %d（オフセット 0x%zX）: ", problem.record,
                  problem.offset);
    return text;
}

} // namespace

int32_t RecordTextLength(uint8_t lengthByte) {
    const auto signedLength = static_cast<int32_t>(static_cast<int8_t>(lengthByte));
    return ((signedLength - 9) / 2) - 7;
}

int32_t RecordDataBytes(int32_t textLength) {
    const int32_t pairs = (textLength - 3) / 2;
    return textLength % 2 == 0 ? pairs + 1 : pairs;
}

void AppendRecordText(std::string& line, const FirmwareRecord& record, uint8_t end) {
    line.append(record.head.begin(), record.head.end());
    std::string digits;
    for (const uint8_t byte : record.data) {
        AppendHex(digits, byte, 2);
    }
    digits.resize(static_cast<size_t>(record.textLength - kMinRecordText));
    line += digits;
    line += static_cast<char>(end);
}

bool FirmwareFileReader::ReadVersion(std::string& version, FirmwareProblem& problem) {
    offset_ = 0;
    records_ = 1;
    if (file_.size() < 1 + kHeadBytes) {
        problem = {FirmwareProblem::Kind::NoVersion, 1, 0, file_.empty() ? uint8_t{0} : file_[0]};
        return false;
    }
    version.clear();
    for (size_t k = 1; k <= kHeadBytes; ++k) {
        AppendHex(version, file_[k], 2);
    }
    offset_ = 1 + kHeadBytes;
    return true;
}

FirmwareFileReader::Step FirmwareFileReader::Next(FirmwareRecord& record,
                                                  FirmwareProblem& problem) {
    if (atEnd()) {
        return Step::End;
    }
    const uint8_t lengthByte = file_[offset_];
    const int32_t number = records_ + 1;
    const auto fail = [&](FirmwareProblem::Kind kind) {
        problem = {kind, number, offset_, lengthByte};
        return Step::Problem;
    };
    const int32_t textLength = RecordTextLength(lengthByte);
    if (textLength < kMinRecordText) {
        return fail(FirmwareProblem::Kind::ShortRecord);
    }
    if (textLength > kMaxRecordText) {
        return fail(FirmwareProblem::Kind::LongRecord);
    }
    const auto dataBytes = static_cast<size_t>(RecordDataBytes(textLength));
    if (file_.size() - offset_ < 1 + kHeadBytes + dataBytes) {
        return fail(FirmwareProblem::Kind::Truncated);
    }
    record.number = number;
    record.offset = offset_;
    record.textLength = textLength;
    for (size_t k = 0; k < kHeadBytes; ++k) {
        record.head[k] = file_[offset_ + 1 + k];
        if (record.head[k] == kLineFeed || record.head[k] == kVerticalTab) {
            return fail(FirmwareProblem::Kind::LineEndInHead);
        }
    }
    record.data = file_.subspan(offset_ + 1 + kHeadBytes, dataBytes);
    offset_ += 1 + kHeadBytes + dataBytes;
    records_ = number;
    return Step::Record;
}

FirmwareFileCheck CheckFirmwareFile(std::span<const uint8_t> file) {
    FirmwareFileCheck check;
    FirmwareFileReader reader(file);
    if (!reader.ReadVersion(check.version, check.problem)) {
        return check;
    }
    // What was read up to the end or up to the first damaged record.
    int32_t afterMark = 0;
    FirmwareRecord record;
    FirmwareFileReader::Step step;
    while ((step = reader.Next(record, check.problem)) == FirmwareFileReader::Step::Record) {
        ++check.records;
        if (check.markRecord != 0) {
            ++afterMark;
        } else if (record.isMark()) {
            check.markRecord = record.number;
        } else {
            ++check.singleLines;
        }
    }
    check.batches = (afterMark + kRecordsPerBatch - 1) / kRecordsPerBatch;
    if (step == FirmwareFileReader::Step::End && check.markRecord == 0) {
        check.problem = {FirmwareProblem::Kind::NoMark, check.records + 2, file.size(), 0};
    }
    return check;
}

bool LoadFirmwareFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    BinaryReader in(path);
    if (!in.ok() || in.remaining() > kLargestFile) {
        return false;
    }
    bytes.resize(static_cast<size_t>(in.remaining()));
    if (!in.readBytes(bytes.data(), bytes.size())) {
        bytes.clear();
        return false;
    }
    return true;
}

std::string DescribeFirmwareProblem(const FirmwareProblem& problem) {
    char text[160];
    switch (problem.kind) {
    case FirmwareProblem::Kind::None:
        return {};
    case FirmwareProblem::Kind::NoVersion:
        return "先頭のバージョンレコードがありません";
    case FirmwareProblem::Kind::ShortRecord:
        std::snprintf(text, sizeof text, "長さバイト 0x%02X では文字数が %d 未満です",
                      problem.lengthByte, kMinRecordText);
        return Place(problem) + text;
    case FirmwareProblem::Kind::LongRecord:
        std::snprintf(text, sizeof text, "長さバイト 0x%02X では文字数が %d を超えます",
                      problem.lengthByte, kMaxRecordText);
        return Place(problem) + text;
    case FirmwareProblem::Kind::LineEndInHead:
        return Place(problem) + "先頭の 3 文字に改行または垂直タブがあります";
    case FirmwareProblem::Kind::Truncated:
        return Place(problem) + "レコードの途中でファイルが終わっています";
    case FirmwareProblem::Kind::NoMark:
        return "MK レコードがありません";
    }
    return {};
}

} // namespace varnolt
