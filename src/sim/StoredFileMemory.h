#pragma once

#include "core/capture/RecordWord.h"
#include "sim/AnalyzerFirmware.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varnolt::sim {

// One entry of the analyzer's file memory: a file, or a slot the list shows by a reserved name
// ("ONLINE" for the online data, "NO_DAT" for an empty slot) that holds no file.
struct StoredFile {
    int32_t number = 0;
    std::string name;    // eight characters, as listed
    std::string created; // YYMMDDhhmm
    // The file as the analyzer sends it: 128 header words, then the record data (one word per
    // record with record width 0, a high and a low word with width 1). Empty for a slot.
    std::vector<uint16_t> words;
    // What the analyzer recorded into it, as the PC's record words.
    std::vector<RecordWord> records;
};

// How a stored file is made from the analyzer's own traffic.
struct StoredFileRecipe {
    int32_t number = 1;
    std::string name = "SAMPLE";
    std::string created = "2405311230";
    int dataFormat = 4; // 2, 3 and 4 are the analyzer's own; others are refused by the PC
    uint16_t recordWidth = 0;
    size_t records = 1000; // at least this many; a time stamp or idle item is not cut
    uint32_t speed = 9600;
    uint64_t seed = 1;
};

[[nodiscard]] StoredFile MakeStoredFile(const StoredFileRecipe& recipe);
[[nodiscard]] StoredFile StoredSlot(int32_t number, std::string name);

// The "サイズ" the list shows: units of 32,768 words (64 KiB), rounded up, four digits.
[[nodiscard]] std::string StoredFileSizeText(const StoredFile& file);

// The analyzer's file memory and its two transfers: the list ("DR", then an "ACK" for each
// entry until "DE") and a file ("FR", then "FD" blocks, each confirmed with "ACK" or asked
// again with "NAK", and "FE").
class StoredFileMemory {
public:
    // Words per "FD" block.
    static constexpr size_t kDefaultBlockWords = 2048;
    // Bytes per millisecond the data blocks cross the link with: a 3 Mbaud UART bridge.
    static constexpr uint32_t kDefaultBytesPerMs = 300;

    // The files in list order. Until changed they are the default ones, made on first use:
    // the online-data slot, files of data formats 2, 3 and 4 with both record widths, an
    // empty slot, a file of a format the PC does not take, and number 9999 last.
    [[nodiscard]] std::vector<StoredFile>& files();

    size_t blockWords = kDefaultBlockWords;
    uint32_t bytesPerMs = kDefaultBytesPerMs; // 0: blocks take no time

    // "DR": the first entry ("DD") or the end ("DE").
    [[nodiscard]] AnswerFrame BeginList();
    // "ACK" in the list: the next entry or the end; none once the end was confirmed.
    [[nodiscard]] std::optional<AnswerFrame> NextListAnswer();

    // "FR": the first block (or "FE" for an empty file); none for a number without a file.
    [[nodiscard]] std::optional<AnswerFrame> BeginFile(int32_t number);
    // "ACK" in a file: the next block or "FE"; none once "FE" was confirmed.
    [[nodiscard]] std::optional<AnswerFrame> NextFileAnswer();
    // "NAK" in a file: the last answer again.
    [[nodiscard]] const AnswerFrame& RepeatFileAnswer() const { return lastFileAnswer_; }

    // Milliseconds ANSWER takes to cross the link.
    [[nodiscard]] uint32_t TransferMs(const AnswerFrame& answer) const;

private:
    [[nodiscard]] AnswerFrame listAnswer() const;
    [[nodiscard]] AnswerFrame fileAnswer() const;

    std::vector<StoredFile> files_;
    bool filled_ = false;
    size_t listNext_ = 0;
    bool listEnded_ = false;
    std::optional<size_t> sending_; // index into files
    size_t nextWord_ = 0;
    bool fileEnded_ = false;
    AnswerFrame lastFileAnswer_;
};

// "FD", the data words most significant byte first, the check byte (the complement of the low
// eight bits of the sum of the data bytes), the terminator.
[[nodiscard]] AnswerFrame FileDataAnswer(const uint16_t* words, size_t count);

} // namespace varnolt::sim
