#include "core/link/savedfile/ReceivedCaptureFile.h"

#include "core/capture/CaptureFileFormat.h"
#include "core/capture/CaptureFileReader.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/platform/BinaryWriter.h"
#include "core/platform/FileError.h"
#include "core/platform/UserPrompt.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

namespace varnolt {

namespace {

constexpr size_t kRecordWidthWord = 16;

uint16_t LowNibble(uint16_t word) {
    return word & 0xF;
}

std::vector<RecordWord> RecordsOf(std::span<const uint16_t> data, uint16_t recordWidth) {
    std::vector<RecordWord> records;
    if (recordWidth == 1) {
        records.reserve(data.size() / 2);
        for (size_t k = 0; k + 1 < data.size(); k += 2) {
            records.push_back(RecordWord{data[k]} << 16 | data[k + 1]);
        }
    } else {
        records.reserve(data.size());
        for (const uint16_t word : data) {
            records.push_back(RecordWord{word} << 16);
        }
    }
    return records;
}

} // namespace

int ReceivedFileVersion(std::span<const uint16_t> words) {
    if (words.size() < kDataFormatWordCount) {
        return -1;
    }
    return LowNibble(words[0]) * 1000 + LowNibble(words[1]) * 100 + LowNibble(words[2]) * 10 +
           LowNibble(words[3]);
}

bool IsReceivableFile(std::span<const uint16_t> words) {
    if (words.size() < kReceivedHeaderWords) {
        return false;
    }
    const int version = ReceivedFileVersion(words);
    return (version == 2 || version == 3 || version == 4) &&
           DataFormatVersionOf(words.data()) == version && LowNibble(words[kRecordWidthWord]) <= 1;
}

bool WriteReceivedWords(BinaryWriter& out, std::span<const uint16_t> words) {
    if (!IsReceivableFile(words)) {
        return false;
    }
    CaptureHeaderWords header;
    std::copy_n(words.begin(), header.size(), header.begin());
    WriteCapture(
        out, header,
        RecordsOf(words.subspan(kReceivedHeaderWords), LowNibble(words[kRecordWidthWord])));
    return true;
}

bool WriteReceivedCapture(const std::filesystem::path& path, std::span<const uint16_t> words,
                          UserPrompt& prompt) {
    if (!IsReceivableFile(words)) {
        prompt.message(kWrongFileVersionMessage, kAppCaption, PromptIcon::Warning);
        return false;
    }
    const FileError error =
        WriteBinaryFile(path, [words](BinaryWriter& out) { WriteReceivedWords(out, words); });
    if (error != FileError::None) {
        prompt.message(FileErrorMessage(error, path), kAppCaption, PromptIcon::Warning);
        return false;
    }
    return true;
}

} // namespace varnolt
