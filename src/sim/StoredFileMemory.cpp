#include "sim/StoredFileMemory.h"

#include "core/capture/CaptureFileFormat.h"
#include "core/link/protocol/HexFormat.h"
#include "core/link/protocol/RequestFrame.h"
#include "sim/TrafficGenerator.h"

#include <algorithm>

namespace varnolt::sim {

namespace {

constexpr size_t kFileHeaderWords = 128;
constexpr size_t kSizeUnitWords = 32'768;
constexpr uint16_t kVersionTag = 0xA000;
constexpr uint16_t kSpeedByteTag = 0x9100;
constexpr size_t kSpeedWord = 9;
constexpr size_t kRecordWidthWord = 16;
constexpr size_t kFirstUnusedOfOldFormats = 17;

// The version-2 code of SPEED; 9600 when the code table has none for it.
uint8_t Version2SpeedCode(uint32_t speed) {
    for (uint8_t code = 10; code <= 27; ++code) {
        if (SpeedOfVersion2Code(code) == speed) {
            return code;
        }
    }
    return 1;
}

// The header as the analyzer writes it for its data format: versions 2 and 3 leave words 17
// on unused, version 2 keeps the speed as a code in word 9.
CaptureHeaderWords StoredHeaderWords(const StoredFileRecipe& recipe,
                                     const TrafficSettings& traffic) {
    CaptureHeader header;
    header.speed = recipe.speed;
    header.recordWidth = recipe.recordWidth;
    header.idleDisplay = traffic.idleDisplay;
    header.timeDisplay = traffic.timeDisplay;
    header.frameDetectionTime = traffic.frameDetectionMs;
    CaptureHeaderWords words = EncodeCaptureHeader(header, 0);
    const std::string version = FormatDecimal4(recipe.dataFormat);
    for (size_t i = 0; i < kDataFormatWordCount; ++i) {
        words[i] = static_cast<uint16_t>(kVersionTag + static_cast<uint8_t>(version[i]));
    }
    if (recipe.dataFormat == 2) {
        words[kSpeedWord] = kSpeedByteTag + Version2SpeedCode(recipe.speed);
        std::fill(words.begin() + kSpeedWord + 1, words.begin() + kRecordWidthWord, 0);
    }
    if (recipe.dataFormat == 2 || recipe.dataFormat == 3) {
        std::fill(words.begin() + kFirstUnusedOfOldFormats, words.end(), 0);
    }
    return words;
}

} // namespace

StoredFile MakeStoredFile(const StoredFileRecipe& recipe) {
    const bool oldFormat = recipe.dataFormat == 2 || recipe.dataFormat == 3;
    TrafficSettings traffic;
    traffic.speed = recipe.speed;
    traffic.recordWidth = recipe.recordWidth;
    traffic.idleDisplay = oldFormat ? 1 : 2;
    traffic.timeDisplay = oldFormat ? 1 : 3;
    traffic.seed = recipe.seed;
    TrafficGenerator generator(traffic);

    StoredFile file;
    file.number = recipe.number;
    file.name = recipe.name;
    file.name.resize(8, ' ');
    file.created = recipe.created;
    while (file.records.size() < recipe.records) {
        const TrafficItem& item = generator.Peek();
        file.records.insert(file.records.end(), item.words.begin(), item.words.end());
        generator.Pop();
    }
    const CaptureHeaderWords header = StoredHeaderWords(recipe, traffic);
    file.words.assign(header.begin(), header.end());
    // Words 126 and 127: the record count, low half first, as the analyzer's header keeps it.
    const auto count = static_cast<uint32_t>(file.records.size());
    file.words.push_back(static_cast<uint16_t>(count));
    file.words.push_back(static_cast<uint16_t>(count >> 16));
    for (const RecordWord word : file.records) {
        file.words.push_back(static_cast<uint16_t>(word >> 16));
        if (recipe.recordWidth == 1) {
            file.words.push_back(static_cast<uint16_t>(word));
        }
    }
    return file;
}

StoredFile StoredSlot(int32_t number, std::string name) {
    StoredFile slot;
    slot.number = number;
    slot.name = std::move(name);
    slot.name.resize(8, ' ');
    slot.created = "0000000000";
    return slot;
}

std::string StoredFileSizeText(const StoredFile& file) {
    return FormatDecimal4(
        static_cast<int>((file.words.size() + kSizeUnitWords - 1) / kSizeUnitWords));
}

AnswerFrame FileDataAnswer(const uint16_t* words, size_t count) {
    AnswerFrame frame{'F', 'D'};
    frame.reserve(2 + 2 * count + 1 + 4);
    uint8_t sum = 0;
    for (size_t k = 0; k < count; ++k) {
        const auto high = static_cast<uint8_t>(words[k] >> 8);
        const auto low = static_cast<uint8_t>(words[k]);
        frame.push_back(high);
        frame.push_back(low);
        sum = static_cast<uint8_t>(sum + high + low);
    }
    frame.push_back(static_cast<uint8_t>(~sum));
    FinishFrame(frame, FrameChecksum::Without);
    return frame;
}

std::vector<StoredFile>& StoredFileMemory::files() {
    if (!filled_) {
        filled_ = true;
        files_.push_back(StoredSlot(0, "ONLINE"));
        files_.push_back(MakeStoredFile({1, "LINE_V2", "2405311230", 2, 0, 30'000, 19'200, 11}));
        files_.push_back(MakeStoredFile({2, "LINE_V3", "2406021415", 3, 1, 20'000, 38'400, 12}));
        files_.push_back(MakeStoredFile({3, "PLC_V4", "2411180905", 4, 0, 60'000, 9'600, 13}));
        files_.push_back(MakeStoredFile({4, "MODEM_V4", "2512240001", 4, 1, 40'000, 115'200, 14}));
        files_.push_back(StoredSlot(5, "NO_DAT"));
        files_.push_back(MakeStoredFile({6, "NEWFMT", "2612010800", 110, 0, 5'000, 9'600, 15}));
        files_.push_back(
            MakeStoredFile({9999, "LASTRUN", "2612101030", 4, 1, 200'000, 57'600, 16}));
    }
    return files_;
}

AnswerFrame StoredFileMemory::listAnswer() const {
    if (listNext_ >= files_.size()) {
        return BuildFrame("DE", FrameChecksum::Without);
    }
    const StoredFile& file = files_[listNext_];
    return BuildFrame("DD" + FormatDecimal4(file.number) + file.name + StoredFileSizeText(file) +
                          file.created,
                      FrameChecksum::Without);
}

AnswerFrame StoredFileMemory::BeginList() {
    (void)files();
    listNext_ = 0;
    listEnded_ = false;
    return listAnswer();
}

std::optional<AnswerFrame> StoredFileMemory::NextListAnswer() {
    if (listEnded_) {
        return std::nullopt;
    }
    if (listNext_ >= files_.size()) {
        listEnded_ = true;
        return std::nullopt;
    }
    ++listNext_;
    return listAnswer();
}

AnswerFrame StoredFileMemory::fileAnswer() const {
    const std::vector<uint16_t>& words = files_[*sending_].words;
    if (nextWord_ >= words.size()) {
        return BuildFrame("FE", FrameChecksum::Without);
    }
    const size_t count = std::min(std::max<size_t>(blockWords, 1), words.size() - nextWord_);
    return FileDataAnswer(words.data() + nextWord_, count);
}

std::optional<AnswerFrame> StoredFileMemory::BeginFile(int32_t number) {
    std::vector<StoredFile>& all = files();
    const auto found = std::find_if(all.begin(), all.end(), [&](const StoredFile& file) {
        return file.number == number && !file.words.empty();
    });
    if (found == all.end()) {
        sending_.reset();
        return std::nullopt;
    }
    sending_ = static_cast<size_t>(found - all.begin());
    nextWord_ = 0;
    fileEnded_ = false;
    lastFileAnswer_ = fileAnswer();
    return lastFileAnswer_;
}

std::optional<AnswerFrame> StoredFileMemory::NextFileAnswer() {
    if (!sending_ || fileEnded_) {
        return std::nullopt;
    }
    const size_t size = files_[*sending_].words.size();
    if (nextWord_ >= size) {
        fileEnded_ = true;
        return std::nullopt;
    }
    nextWord_ += std::min(std::max<size_t>(blockWords, 1), size - nextWord_);
    lastFileAnswer_ = fileAnswer();
    return lastFileAnswer_;
}

uint32_t StoredFileMemory::TransferMs(const AnswerFrame& answer) const {
    return bytesPerMs == 0 ? 0 : static_cast<uint32_t>(answer.size() / bytesPerMs);
}

} // namespace varnolt::sim
