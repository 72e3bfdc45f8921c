#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

namespace varnolt {

// Items in the order they came, stored in blocks of a fixed size that are kept for reuse once
// read: a queue that grows long (a waveform line drawn far ahead of the others) neither moves
// what it holds nor touches more memory than its longest length needs.
template <typename T>
class BlockQueue {
public:
    [[nodiscard]] bool empty() const { return head_ == tail_ && blocks_.size() <= 1; }
    [[nodiscard]] T& front() { return blocks_.front()[head_]; }

    void push(const T& item) {
        if (blocks_.empty() || tail_ == kBlockSize) {
            if (spare_.empty()) {
                blocks_.push_back(std::make_unique_for_overwrite<T[]>(kBlockSize));
            } else {
                blocks_.push_back(std::move(spare_.back()));
                spare_.pop_back();
            }
            tail_ = 0;
        }
        blocks_.back()[tail_++] = item;
    }

    void pop() {
        ++head_;
        if (blocks_.size() == 1) {
            if (head_ == tail_) {
                head_ = tail_ = 0; // empty: the block stays for the next push
            }
        } else if (head_ == kBlockSize) {
            spare_.push_back(std::move(blocks_.front()));
            blocks_.pop_front();
            head_ = 0;
        }
    }

private:
    static constexpr size_t kBlockSize = 4096;
    std::deque<std::unique_ptr<T[]>> blocks_; // oldest first
    std::vector<std::unique_ptr<T[]>> spare_;
    size_t head_ = 0; // the first unread item of the oldest block
    size_t tail_ = 0; // the items in the newest block
};

} // namespace varnolt
