#include "core/view/FrameLineIndex.h"

namespace varnolt {

void FrameLineIndex::Clear(const CCaptureData& capture, CellColumn columns,
                           const FrameDelimiters& delimiters) {
    pairs_.fill(Pair{});
    offsets_.fill(0);
    size_ = 0;
    builtFirst_ = capture.firstIndex();
    builtWrapped_ = capture.wrapped();
    builtCapacity_ = capture.capacity();
    builtColumns_ = columns;
    builtDelimiters_ = delimiters;
}

void FrameLineIndex::Store(RingIndex record, LineNumber line, RecordCount offset) {
    pairs_[static_cast<size_t>(size_)] = {record, line};
    offsets_[static_cast<size_t>(size_)] = offset;
    ++size_;
}

bool FrameLineIndex::ValidFor(const CCaptureData& capture, CellColumn columns,
                              const FrameDelimiters& delimiters) const {
    return builtColumns_ == columns && builtFirst_ == capture.firstIndex() &&
           builtWrapped_ == capture.wrapped() && builtCapacity_ == capture.capacity() &&
           builtDelimiters_ == delimiters;
}

FrameLineIndex::Pair FrameLineIndex::StartForLine(const CCaptureData& capture,
                                                  LineNumber target) const {
    Pair start{capture.firstIndex(), 1};
    for (int i = 0; i < size_ && pairs_[static_cast<size_t>(i)].line <= target; ++i) {
        start = pairs_[static_cast<size_t>(i)];
    }
    return start;
}

FrameLineIndex::Pair FrameLineIndex::StartForOffset(const CCaptureData& capture,
                                                    RecordCount offset) const {
    Pair start{capture.firstIndex(), 1};
    for (int i = 0; i < size_ && offsets_[static_cast<size_t>(i)] <= offset; ++i) {
        start = pairs_[static_cast<size_t>(i)];
    }
    return start;
}

} // namespace varnolt
