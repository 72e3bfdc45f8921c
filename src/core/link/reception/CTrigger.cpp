#include "core/link/reception/CTrigger.h"

#include "core/link/reception/DataBlockParser.h"

#include <algorithm>

namespace varnolt {

namespace {

// DELTA between two device indexes brought into (-wrap / 2, wrap / 2]: the analyzer's memory
// wraps, so a stretch that began before the wrap and a newest record after it are close
// together, not a whole memory apart.
int64_t NearestDeviceDistance(int64_t delta, DeviceIndex wrap) {
    delta %= wrap;
    if (delta > wrap / 2) {
        delta -= wrap;
    } else if (delta <= -wrap / 2) {
        delta += wrap;
    }
    return delta;
}

// The record at END is one a stretch may end with: a character, an error or a control-line
// change.
bool EndsAnItem(RecordWord word) {
    switch (KindOf(word)) {
    case RecordKind::SdCharacter:
    case RecordKind::RdCharacter:
    case RecordKind::SdError:
    case RecordKind::RdError:
    case RecordKind::ControlLineChange:
        return true;
    default:
        return false;
    }
}

// START stepped back to the first word of its item: through the ring's start once it has
// wrapped, no further than index 0 before. At most a ring's worth of steps.
RingIndex ItemStart(const CCaptureData& store, RingIndex start) {
    for (RecordCount steps = 0; steps < store.capacity() && !IsItemStart(store.word(start));
         ++steps) {
        if (start == store.firstIndex()) {
            break; // the oldest record held
        }
        start = start == 0 ? store.capacity() - 1 : start - 1;
    }
    return start;
}

} // namespace

void CTrigger::Clear() {
    slots_.fill(Slot{});
}

bool CTrigger::OnTriggerReport(const CCaptureData& store, RingIndex newest,
                               const TriggerReport& report, ReceivedCount received) {
    if (report.number < 0 || report.number >= static_cast<int32_t>(kSlotCount) || newest < 0 ||
        newest >= store.capacity() || store.empty() || received <= 0) {
        return false;
    }
    Slot& slot = slots_[static_cast<size_t>(report.number)];
    if (slot.start != kNoRecord) {
        return false;
    }
    const DeviceIndex wrap = DeviceIndexWrap(store.header().recordWidth);
    const int64_t newestDevice = store.record(newest).deviceIndex;
    int64_t toStart = NearestDeviceDistance(report.before - newestDevice, wrap);
    const int64_t toEnd = NearestDeviceDistance(report.after - newestDevice, wrap);
    // The part of the stretch that the ring no longer holds is gone: start at the oldest.
    toStart = std::max<int64_t>(toStart, -(store.Count() - 1));
    if (toEnd < toStart || toEnd - toStart >= store.capacity()) {
        return false;
    }
    slot.start = store.WrapIndex(newest, static_cast<RecordCount>(toStart));
    slot.end = store.WrapIndex(newest, static_cast<RecordCount>(toEnd));
    slot.startSerial = received - 1 + toStart;
    slot.endSerial = received - 1 + toEnd;
    return true;
}

int CTrigger::ExamineSlots(CCaptureData& store, ReceivedCount received) {
    int saves = 0;
    const ReceivedCount newestSerial = received - 1;
    for (Slot& slot : slots_) {
        if (slot.start == kNoRecord || newestSerial < slot.endSerial) {
            continue;
        }
        if (!EndsAnItem(store.word(slot.end))) {
            if (newestSerial < slot.endSerial + 1) {
                continue; // the record after the end has not arrived yet
            }
            slot.end = store.WrapIndex(slot.end, 1);
        }
        // Reception has run a whole ring past the stretch: its records are overwritten.
        if (newestSerial - slot.startSerial < store.capacity() &&
            store.StartSave(SaveRequest::Trigger, ItemStart(store, slot.start), slot.end)) {
            ++saves;
        }
        slot = Slot{};
    }
    return saves;
}

} // namespace varnolt
