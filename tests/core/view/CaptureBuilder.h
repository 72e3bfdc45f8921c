#pragma once

#include "core/capture/CCaptureData.h"
#include "core/capture/RecordWord.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

namespace varnolt::test {

// Record words for building captures in tests.
inline RecordWord Sd(uint8_t code, bool lineStart = false) {
    return MakeRecordWord(RecordKind::SdCharacter, code | (lineStart ? 0x100U : 0U));
}
inline RecordWord Rd(uint8_t code, bool lineStart = false) {
    return MakeRecordWord(RecordKind::RdCharacter, code | (lineStart ? 0x100U : 0U));
}
inline RecordWord SdError(uint8_t code) {
    return MakeRecordWord(RecordKind::SdError, code);
}
inline RecordWord RdError(uint8_t code) {
    return MakeRecordWord(RecordKind::RdError, code);
}
inline RecordWord ControlChange(uint16_t before, uint16_t after) {
    return MakeRecordWord(RecordKind::ControlLineChange, before) | (after & 0xFFFU);
}
// The three words of an idle gap of VALUE units at RESOLUTION.
inline std::vector<RecordWord> Idle(uint32_t value, uint8_t resolution = 1) {
    return {MakeRecordWord(RecordKind::IdleHead, uint32_t{resolution} << 8 | (value >> 24 & 0xFF)),
            MakeRecordWord(RecordKind::IdleContinuation, value >> 12 & 0xFFF),
            MakeRecordWord(RecordKind::IdleContinuation, value & 0xFFF)};
}
// The four words of a time stamp of kind KIND with the given payload fields.
inline std::vector<RecordWord> Stamp(uint8_t kind, uint8_t head = 0, uint16_t c1 = 0,
                                     uint16_t c2 = 0, uint16_t c3 = 0) {
    return {MakeRecordWord(RecordKind::StampHead, uint32_t{kind} << 8 | head),
            MakeRecordWord(RecordKind::StampContinuation, c1),
            MakeRecordWord(RecordKind::StampContinuation, c2),
            MakeRecordWord(RecordKind::StampContinuation, c3)};
}

// A stamp in layout B (kinds 2 and 5): month, day, hours, minutes, seconds, hundredths.
inline std::vector<RecordWord> StampB(uint8_t kind, int month, int day, int h, int m, int s,
                                      int cc) {
    const auto head = static_cast<uint8_t>((month / 10) << 6 | (month % 10) << 2 | day / 10);
    const auto c1 =
        static_cast<uint16_t>((day % 10) << 8 | (h / 10) << 6 | (h % 10) << 2 | (m / 10) >> 1);
    const auto c2 =
        static_cast<uint16_t>(((m / 10) & 1) << 11 | (m % 10) << 7 | (s / 10) << 4 | s % 10);
    const auto c3 = static_cast<uint16_t>((cc / 10) << 8 | (cc % 10) << 4);
    return Stamp(kind, head, c1, c2, c3);
}

// A stamp in layout A (kind 1): year, month, day, hours, minutes, seconds.
inline std::vector<RecordWord> StampA(int year, int month, int day, int h, int m, int s) {
    const auto head = static_cast<uint8_t>((year / 10 % 10) << 4 | year % 10);
    const auto c1 =
        static_cast<uint16_t>((month / 10) << 10 | (month % 10) << 6 | (day / 10) << 4 | day % 10);
    const auto c2 =
        static_cast<uint16_t>((h / 10) << 10 | (h % 10) << 6 | (m / 10) << 3 | (m % 10) >> 1);
    const auto c3 = static_cast<uint16_t>(((m % 10) & 1) << 11 | (s / 10) << 8 | (s % 10) << 4);
    return Stamp(1, head, c1, c2, c3);
}

// Collects words and groups in order.
class Words {
public:
    Words& operator<<(RecordWord word) {
        words_.push_back(word);
        return *this;
    }
    Words& operator<<(const std::vector<RecordWord>& group) {
        words_.insert(words_.end(), group.begin(), group.end());
        return *this;
    }
    [[nodiscard]] const std::vector<RecordWord>& words() const { return words_; }

private:
    std::vector<RecordWord> words_;
};

// A capture of CAPACITY records holding WORDS, appended as reception would.
inline std::unique_ptr<CCaptureData> MakeCapture(const std::vector<RecordWord>& words,
                                                 RecordCount capacity = 4096) {
    auto capture = std::make_unique<CCaptureData>(capacity);
    for (const RecordWord word : words) {
        capture->Append(word, 0);
    }
    return capture;
}

} // namespace varnolt::test
