#include "core/interop/VcdChangeOutput.h"

namespace varnolt {

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
    size_t used = timeText_.size();
    timeText_[--used] = '\n';
    for (auto value = static_cast<uint64_t>(at);;) {
        timeText_[--used] = static_cast<char>('0' + value % 10);
        value /= 10;
        if (value == 0) {
            break;
        }
    }
    timeText_[--used] = '#';
    timeBegin_ = used;
    time_ = at;
}

void VcdChangeOutput::addToTime(uint64_t difference) {
    // The digits run from timeBegin_ + 1 to the line end; a carry past the first digit grows
    // the number by one digit to the left, where the '#' moves.
    size_t at = timeText_.size() - 1;
    unsigned carry = 0;
    while (difference != 0 || carry != 0) {
        --at;
        if (at == timeBegin_) {
            timeText_[at] = '0';
            timeText_[--timeBegin_] = '#';
        }
        unsigned digit = static_cast<unsigned>(timeText_[at] - '0') +
                         static_cast<unsigned>(difference % 10) + carry;
        difference /= 10;
        carry = digit >= 10 ? 1 : 0;
        digit -= 10 * carry;
        timeText_[at] = static_cast<char>('0' + digit);
    }
}

void VcdChangeOutput::flush() {
    out_.writeBytes(buffer_.data(), static_cast<size_t>(cursor_ - buffer_.data()));
    cursor_ = buffer_.data();
}

} // namespace varnolt
