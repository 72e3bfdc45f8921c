#pragma once

#include "core/capture/CCaptureData.h"
#include "core/link/reception/LiveReports.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace varnolt {

// The number of records received since the measurement started; the serial of a record is
// the count before it arrived. Unlike ring indexes it never wraps, so it tells whether a
// record lies ahead of reception even once the ring has gone round.
using ReceivedCount = int64_t;

// The trigger-save slots: the analyzer reports each trigger that asks for a save with the
// stretch of its memory to save ("PTR"); the stretch waits in the trigger's slot until
// reception has reached its end, and is then saved as a trigger file.
//
// One pending save per trigger number: a report for a trigger whose slot is taken is ignored,
// and so are trigger numbers outside 0 to 7 and reports that arrive before any record.
class CTrigger {
public:
    static constexpr size_t kSlotCount = 8;

    // A measurement starts: every slot free.
    void Clear();

    // Maps REPORT's device indexes to ring indexes through the newest record NEWEST (the
    // RECEIVED-th record of the measurement) and keeps the stretch in the trigger's slot.
    // Returns whether it was kept.
    bool OnTriggerReport(const CCaptureData& store, RingIndex newest, const TriggerReport& report,
                         ReceivedCount received);

    // After every measuring pass: saves each pending stretch that reception has completed
    // (RECEIVED records so far), starting at the first word of an item and ending after a
    // character, error or control-line record, and frees its slot. Returns the saves started.
    int ExamineSlots(CCaptureData& store, ReceivedCount received);

    // The slot of trigger N: ring indexes of its stretch, kNoRecord while free.
    [[nodiscard]] RingIndex start(size_t n) const { return slots_[n].start; }
    [[nodiscard]] RingIndex end(size_t n) const { return slots_[n].end; }
    [[nodiscard]] bool pending(size_t n) const { return slots_[n].start != kNoRecord; }

private:
    struct Slot {
        RingIndex start = kNoRecord;
        RingIndex end = kNoRecord;
        ReceivedCount startSerial = 0;
        ReceivedCount endSerial = 0;
    };

    std::array<Slot, kSlotCount> slots_{};
};

} // namespace varnolt
