#include "core/interop/VcdChangeOutput.h"

#include <algorithm>

namespace varnolt {

namespace {

constexpr size_t kBufferSize = size_t{1} << 16;

} // namespace

VcdChangeOutput::VcdChangeOutput(BinaryWriter& out)
    : out_(out), buffer_(kBufferSize), cursor_(buffer_.data()) {
    setTime(0);
}

void VcdChangeOutput::writeText(std::string_view text) {
    while (!text.empty()) {
        reserve(1);
        const size_t step =
            std::min(text.size(), static_cast<size_t>(buffer_.data() + buffer_.size() - cursor_));
        cursor_ = std::copy_n(text.data(), step, cursor_);
        text.remove_prefix(step);
    }
}

void VcdChangeOutput::setTime(int64_t at) {
    char digits[20];
    size_t count = 0;
    for (auto value = static_cast<uint64_t>(at);;) {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
        if (value == 0) {
            break;
        }
    }
    timeText_[0] = '#';
    std::reverse_copy(digits, digits + count, timeText_.data() + 1);
    timeText_[count + 1] = '\n';
    timeLength_ = count + 2;
    time_ = at;
    leading_ = at / kLowSpan;
}

void VcdChangeOutput::flush() {
    out_.writeBytes(buffer_.data(), static_cast<size_t>(cursor_ - buffer_.data()));
    cursor_ = buffer_.data();
}

} // namespace varnolt
