#pragma once

#include "core/platform/BinaryWriter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace varnolt {

// The value-change part of a dump: "#time" lines and "<value><identifier>" lines, gathered in a
// buffer of its own, since a change is only a few bytes and a full capture makes tens of
// millions of them. The changes of a dump come close after each other, so the text of a time is
// made from the one written before it by adding the difference in decimal, digit by digit,
// rather than formatted anew.
class VcdChangeOutput {
public:
    explicit VcdChangeOutput(BinaryWriter& out)
        : out_(out), buffer_(kBufferSize), cursor_(buffer_.data()) {
        setTime(0);
    }
    VcdChangeOutput(const VcdChangeOutput&) = delete;
    VcdChangeOutput& operator=(const VcdChangeOutput&) = delete;
    ~VcdChangeOutput() { flush(); }

    // Text outside the changes (the header).
    void writeText(std::string_view text);

    // The time of the latest "#" line.
    [[nodiscard]] int64_t time() const { return time_; }
    // Takes AT as the time already written (the header's "#0").
    void setTime(int64_t at);
    // A "#" line: the changes that follow happen at AT, which is later than time().
    void writeTime(int64_t at) {
        reserve(kTimeText.size());
        if (at > time_) {
            addToTime(static_cast<uint64_t>(at - time_));
        } else {
            setTime(at);
        }
        time_ = at;
        const size_t length = timeText_.size() - timeBegin_;
        std::copy_n(timeText_.data() + timeBegin_, length, cursor_);
        cursor_ += length;
    }
    // A change of the signal IDENTIFIER to VALUE at AT, after a "#" line when AT is not time().
    void writeChange(int64_t at, char value, char identifier) {
        if (at != time_) {
            writeTime(at);
        }
        reserve(3);
        cursor_[0] = value;
        cursor_[1] = identifier;
        cursor_[2] = '\n';
        cursor_ += 3;
    }

    // Hands what is gathered to the writer.
    void flush();

private:
    // "#" and up to 20 digits of a time, and the line end.
    static constexpr std::string_view kTimeText = "#18446744073709551615\n";

    void reserve(size_t size) {
        if (static_cast<size_t>(buffer_.data() + buffer_.size() - cursor_) < size) {
            flush();
        }
    }
    void addToTime(uint64_t difference);

    BinaryWriter& out_;
    int64_t time_ = 0;
    // The latest "#" line, right-aligned: timeText_[timeBegin_] is its '#'.
    std::array<char, kTimeText.size()> timeText_{};
    size_t timeBegin_ = 0;
    static constexpr size_t kBufferSize = size_t{1} << 16;
    std::vector<char> buffer_;
    char* cursor_;
};

} // namespace varnolt
