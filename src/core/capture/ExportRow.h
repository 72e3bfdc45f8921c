#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace varnolt {

// One row of export text under construction. Its storage only grows, so that after the first
// blocks appending a cell is a bounds check and a copy of a few bytes.
class ExportRow {
public:
    void clear() { size_ = 0; }
    void assign(std::string_view text) {
        size_ = 0;
        append(text);
    }
    void append(std::string_view text) {
        if (!text.empty()) { // an empty view may have no data pointer
            std::memcpy(Grow(text.size()), text.data(), text.size());
        }
    }
    void append(size_t count, char c) { std::memset(Grow(count), c, count); }
    void push_back(char c) { *Grow(1) = c; }
    ExportRow& operator+=(char c) {
        push_back(c);
        return *this;
    }
    ExportRow& operator+=(std::string_view text) {
        append(text);
        return *this;
    }

    [[nodiscard]] std::string_view view() const { return {storage_.data(), size_}; }
    operator std::string_view() const { return view(); }

private:
    char* Grow(size_t more) {
        if (size_ + more > storage_.size()) [[unlikely]] {
            storage_.resize(std::max<size_t>(256, 2 * (size_ + more)));
        }
        char* at = storage_.data() + size_;
        size_ += more;
        return at;
    }

    std::string storage_;
    size_t size_ = 0;
};

} // namespace varnolt
