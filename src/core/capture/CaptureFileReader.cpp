#include "core/capture/CaptureFileReader.h"

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileFormat.h"
#include "core/capture/OldRecordConverter.h"
#include "core/platform/UserPrompt.h"

#include <algorithm>
#include <string>
#include <vector>

namespace varnolt {

namespace {

// Records are read in blocks of this many words: the only buffer of a load besides the store.
constexpr size_t kBlockWords = 16384;

bool IsOldFileVersion(int version) {
    return version >= 100 && version <= 102;
}

class CaptureLoad {
public:
    CaptureLoad(BinaryReader& in, CCaptureData& store, UserPrompt& prompt,
                const std::filesystem::path& path)
        : in_(in), store_(store), prompt_(prompt), path_(path) {}

    bool run();
    [[nodiscard]] bool complete() const { return complete_; }
    [[nodiscard]] uint32_t fileRecords() const { return fileRecords_; }

private:
    bool refuse(std::string_view text) {
        prompt_.message(text, kAppCaption, PromptIcon::Warning);
        return false;
    }
    bool reportFileError() {
        prompt_.message(FileErrorMessage(in_.error(), path_), kAppCaption, PromptIcon::Warning);
        return false;
    }
    bool readWords(uint16_t* words, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            if (!in_.readU16(words[i])) {
                return false;
            }
        }
        return true;
    }
    void readRecords(uint32_t count, bool old);

    BinaryReader& in_;
    CCaptureData& store_;
    UserPrompt& prompt_;
    const std::filesystem::path& path_;
    bool complete_ = true;
    uint32_t fileRecords_ = 0;
};

// Nothing in the store changes until the file has passed every check before its records: a
// file that is refused, or fails before them, leaves the capture the user had.
bool CaptureLoad::run() {
    std::string marker;
    if (!in_.readArchiveString(marker)) {
        return reportFileError();
    }
    if (marker != kCaptureStartMarker) {
        return refuse(kWrongFileFormatMessage);
    }
    std::string versionText;
    if (!in_.readArchiveString(versionText)) {
        return reportFileError();
    }
    const int fileVersion = DecimalPrefix(versionText);
    const bool old = IsOldFileVersion(fileVersion);
    if (!old && fileVersion != kCaptureFileVersion) {
        return refuse(kWrongFileVersionMessage);
    }

    CaptureHeaderWords words{};
    if (!readWords(words.data(), kDataFormatWordCount)) {
        return reportFileError();
    }
    const int dataVersion = DataFormatVersionOf(words.data());
    if (old && (dataVersion < 2 || dataVersion > 4)) {
        return refuse(kWrongFileVersionMessage);
    }
    if (!IsKnownDataFormat(dataVersion)) {
        // A current file from an analyzer of unknown format: an empty capture, no message.
        store_.PrepareForLoad();
        store_.header().formatVersion = dataVersion;
        return true;
    }
    uint32_t count = 0;
    if (!readWords(words.data() + kDataFormatWordCount,
                   kCaptureHeaderWordCount - kDataFormatWordCount) ||
        !in_.readU32(count)) {
        return reportFileError();
    }
    if (count > static_cast<uint32_t>(store_.maxCapacity())) {
        return refuse(kWrongFileFormatMessage);
    }
    store_.PrepareForLoad();
    DecodeCaptureHeader(words, store_.header());
    fileRecords_ = count;
    readRecords(count, old);
    if (!in_.ok()) {
        complete_ = false;
        reportFileError();
    }
    return true;
}

// Appends the records as they are read, so that a file ending early leaves exactly the
// records before the end.
void CaptureLoad::readRecords(uint32_t count, bool old) {
    std::vector<RecordWord> block(std::min<size_t>(count, kBlockWords));
    OldRecordConverter converter;
    for (uint32_t left = count; left > 0;) {
        const size_t want = std::min<size_t>(left, block.size());
        const size_t got = in_.readU32Words(block.data(), want);
        const size_t kept = old ? converter.convertInPlace({block.data(), got}) : got;
        store_.AppendLoaded({block.data(), kept});
        left -= static_cast<uint32_t>(got);
        if (got < want) {
            break;
        }
    }
    if (old) {
        CaptureHeader& header = store_.header();
        if (!converter.idleSeen()) {
            header.idleDisplay = 0;
        }
        if (!converter.stampSeen()) {
            header.timeDisplay = 0;
        }
    }
}

} // namespace

bool ReadCapture(BinaryReader& in, CCaptureData& store, UserPrompt& prompt,
                 const std::filesystem::path& path) {
    return CaptureLoad(in, store, prompt, path).run();
}

CaptureLoadResult LoadCaptureFile(const std::filesystem::path& path, CCaptureData& store,
                                  UserPrompt& prompt) {
    BinaryReader in(path);
    if (!in.ok()) {
        prompt.message(FileErrorMessage(in.error(), path), kAppCaption, PromptIcon::Warning);
        return {false, false, 0};
    }
    CaptureLoad load(in, store, prompt, path);
    const bool loaded = load.run();
    return {loaded, loaded && load.complete(), load.fileRecords()};
}

bool ReadCaptureFile(const std::filesystem::path& path, CCaptureData& store, UserPrompt& prompt) {
    return LoadCaptureFile(path, store, prompt).loaded;
}

} // namespace varnolt
