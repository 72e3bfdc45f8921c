#pragma once

#include "core/platform/BinaryWriter.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace varnolt {

// The value-change part of a dump: "#time" lines and "<value><identifier>" lines, gathered in a
// buffer of its own, since a change is only a few bytes and a full capture makes tens of
// millions of them. The changes of a dump come close after each other, so a time line keeps the
// leading digits of the one before it and only its last four digits are made anew, unless the
// leading digits change.
class VcdChangeOutput {
public:
    explicit VcdChangeOutput(BinaryWriter& out);
    VcdChangeOutput(const VcdChangeOutput&) = delete;
    VcdChangeOutput& operator=(const VcdChangeOutput&) = delete;
    ~VcdChangeOutput() { flush(); }

    // Text outside the changes (the header).
    void writeText(std::string_view text);

    // The time of the latest "#" line.
    [[nodiscard]] int64_t time() const { return time_; }
    // Takes AT (not negative) as the time already written (the header's "#0").
    void setTime(int64_t at);
    // A "#" line: the changes that follow happen at AT (not negative).
    void writeTime(int64_t at) {
        reserve(kLineRoom);
        if (at < kLowSpan || at / kLowSpan != leading_) {
            setTime(at);
            std::memcpy(cursor_, timeText_.data(), timeText_.size());
            cursor_ += timeLength_;
            return;
        }
        // The leading digits as they were, then the last four. A fixed-size copy is faster than
        // one of the line's length; the cursor moves by that. The digits go straight to the
        // output: a copy of the line just after changing it would have to wait for the change.
        std::memcpy(cursor_, timeText_.data(), timeText_.size());
        const auto low = static_cast<size_t>(at - leading_ * kLowSpan);
        std::memcpy(cursor_ + timeLength_ - 5, kLowDigits.data() + 4 * low, 4);
        cursor_ += timeLength_;
        time_ = at;
    }
    // A change of the signal IDENTIFIER to VALUE at AT, after a "#" line when AT is not time().
    void writeChange(int64_t at, char value, char identifier) {
        reserve(kLineRoom);
        if (at != time_) {
            writeTime(at);
        }
        const char line[4] = {value, identifier, '\n', 0};
        std::memcpy(cursor_, line, sizeof line);
        cursor_ += 3;
    }

    // Hands what is gathered to the writer.
    void flush();

private:
    static constexpr int64_t kLowSpan = 10'000; // the digits made anew: the last four
    static constexpr size_t kLineRoom = 32;     // what a time line or a change may write
    // The four digits of each value below kLowSpan: one copy rather than a division. Times come
    // in order, so the part of the table in use moves slowly.
    static constexpr auto kLowDigits = [] {
        std::array<char, 4 * kLowSpan> digits{};
        for (size_t k = 0; k < kLowSpan; ++k) {
            digits[4 * k] = static_cast<char>('0' + k / 1000);
            digits[4 * k + 1] = static_cast<char>('0' + k / 100 % 10);
            digits[4 * k + 2] = static_cast<char>('0' + k / 10 % 10);
            digits[4 * k + 3] = static_cast<char>('0' + k % 10);
        }
        return digits;
    }();

    void reserve(size_t size) {
        if (static_cast<size_t>(buffer_.data() + buffer_.size() - cursor_) < size) {
            flush();
        }
    }

    BinaryWriter& out_;
    int64_t time_ = 0;
    int64_t leading_ = 0; // time_ / kLowSpan
    // The "#" line of the latest time with new leading digits: '#', the digits, '\n', in its
    // first timeLength_ characters.
    std::array<char, 24> timeText_{};
    size_t timeLength_ = 0;
    std::vector<char> buffer_;
    char* cursor_;
};

} // namespace varnolt
