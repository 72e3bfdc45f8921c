#include "core/capture/CCaptureData.h"

#include "core/capture/CaptureSaver.h"

#include <algorithm>

namespace varnolt {

std::optional<RecordCount> RingCapacityForFileSize(int megabytes) {
    switch (megabytes) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
        return megabytes * 250'000;
    default:
        return std::nullopt;
    }
}

RingIndex WrapRingIndex(RingIndex index, RecordCount n, RecordCount capacity) {
    const int64_t sum = int64_t{index} + n;
    if (sum >= capacity) {
        return static_cast<RingIndex>(sum - capacity);
    }
    if (sum < 0) {
        return static_cast<RingIndex>(sum + capacity);
    }
    return static_cast<RingIndex>(sum);
}

CCaptureData::CCaptureData(RecordCount maxCapacity)
    : maxCapacity_(std::clamp(maxCapacity, RecordCount{1}, kMaxRingCapacity)),
      capacity_(maxCapacity_), saver_(std::make_unique<CaptureSaver>()) {
    // Left uninitialised: only entries up to the last index are ever read, and untouched pages
    // cost no memory until a capture reaches them.
    ring_ = std::make_unique_for_overwrite<CaptureRecord[]>(static_cast<size_t>(maxCapacity_));
    bankA_ = std::make_unique_for_overwrite<RecordWord[]>(static_cast<size_t>(maxCapacity_));
    bankB_ = std::make_unique_for_overwrite<RecordWord[]>(static_cast<size_t>(maxCapacity_));
}

CCaptureData::~CCaptureData() = default;

void CCaptureData::setCapacity(RecordCount capacity) {
    capacity_.store(std::clamp(capacity, RecordCount{1}, maxCapacity_), std::memory_order_relaxed);
}

void CCaptureData::applyAutoSaveFileSize(int megabytes) {
    if (const auto capacity = RingCapacityForFileSize(megabytes)) {
        setCapacity(*capacity);
    }
}

void CCaptureData::PrepareForLoad() {
    setCapacity(maxCapacity_);
    wrapped_.store(false, std::memory_order_relaxed);
    first_ = 0;
    last_ = kNoRecord;
    overwritten_ = 0;
    activeBank_ = CaptureBank::A;
}

void CCaptureData::Reset(const CaptureConditions& conditions) {
    PrepareForLoad();
    header_.apply(conditions);
}

RingIndex CCaptureData::Append(RecordWord word, int32_t deviceIndex) {
    RingIndex next = last_ + 1;
    if (next >= capacity()) {
        next = 0;
    }
    ring_[next] = {word, deviceIndex};
    activeBankWords()[next] = word;
    if (last_ != kNoRecord && next == 0) {
        wrapped_.store(true, std::memory_order_relaxed);
    }
    last_ = next;
    if (wrapped()) {
        first_ = WrapIndex(last_, 1);
        ++overwritten_;
    }
    return last_;
}

RecordCount CCaptureData::AppendLoaded(std::span<const RecordWord> words) {
    const RingIndex start = last_ + 1;
    const auto room = static_cast<size_t>(capacity() - start);
    const size_t count = std::min(words.size(), room);
    CaptureRecord* ring = ring_.get() + start;
    for (size_t i = 0; i < count; ++i) {
        ring[i] = {words[i], 0};
    }
    std::copy_n(words.data(), count, activeBankWords() + start);
    last_ += static_cast<RingIndex>(count);
    return static_cast<RecordCount>(count);
}

std::optional<CaptureBank> CCaptureData::SwitchBankIfFull(RingIndex appended) {
    if (appended != capacity() - 1) {
        return std::nullopt;
    }
    const CaptureBank full = activeBank_;
    activeBank_ = OtherBank(full);
    return full;
}

RecordCount CCaptureData::Count() const {
    if (last_ < 0) {
        return 0;
    }
    if (first_ == last_) {
        return wrapped() ? capacity() : 1;
    }
    if (first_ < last_) {
        return last_ - first_ + 1;
    }
    return last_ - first_ + capacity() + 1;
}

RingIndex CCaptureData::Advance(RingIndex index, RecordCount n) const {
    const int64_t moved = int64_t{index} + n;
    if (!wrapped()) {
        return last_ < 0 ? kNoRecord : static_cast<RingIndex>(std::min<int64_t>(moved, last_));
    }
    // From the newest record on there is nothing further; the slots after it hold the oldest.
    if (index <= last_) {
        return static_cast<RingIndex>(std::min<int64_t>(moved, last_));
    }
    if (moved < capacity()) {
        return static_cast<RingIndex>(moved);
    }
    return static_cast<RingIndex>(std::min<int64_t>(moved - capacity(), last_));
}

RecordWord CCaptureData::bankWord(CaptureBank bank, RingIndex index) const {
    return bank == CaptureBank::A ? bankA_[index] : bankB_[index];
}

RecordWord CCaptureData::sourceWord(SaveSource source, RingIndex index) const {
    switch (source) {
    case SaveSource::BankA:
        return bankA_[index];
    case SaveSource::BankB:
        return bankB_[index];
    default:
        return ring_[index].word;
    }
}

void CCaptureData::CopyWords(SaveSource source, RingIndex first, RecordCount count,
                             std::vector<RecordWord>& out) const {
    out.reserve(out.size() + static_cast<size_t>(count));
    const RecordWord* bank = source == SaveSource::BankA   ? bankA_.get()
                             : source == SaveSource::BankB ? bankB_.get()
                                                           : nullptr;
    RingIndex index = first;
    while (count > 0) {
        const RecordCount run = std::min(count, capacity() - index);
        if (bank != nullptr) {
            out.insert(out.end(), bank + index, bank + index + run);
        } else {
            for (RingIndex i = index; i < index + run; ++i) {
                out.push_back(ring_[i].word);
            }
        }
        count -= run;
        index = 0;
    }
}

bool CCaptureData::saveBusy() const {
    return saver_->busy();
}

bool CCaptureData::StartSave(SaveRequest request, RingIndex first, RingIndex last) {
    SaveOrder order{SaveKind::Automatic, SaveSource::Ring, first, last};
    switch (request) {
    case SaveRequest::TriggerRing:
    case SaveRequest::Trigger:
        order.kind = SaveKind::Trigger;
        break;
    case SaveRequest::BankA:
        order.source = SaveSource::BankA;
        break;
    case SaveRequest::BankB:
        order.source = SaveSource::BankB;
        break;
    case SaveRequest::ActiveBank:
        order.source = SaveSourceOf(activeBank_);
        break;
    default:
        return false;
    }
    return saver_->Submit(*this, order);
}

} // namespace varnolt
