#include "core/interop/StampYearsOfCapture.h"

#include "core/interop/CaptureTimeline.h"
#include "core/view/ViewTypes.h"

namespace varnolt {

StampYears StampYearsOf(const CCaptureData& capture, const TimeBase& base) {
    // The time line decides each stamp's year; the clock right after a whole stamp without a year
    // shows which it chose.
    StampYears years;
    CaptureTimeline timeline(capture, base);
    TimedItem item;
    while (timeline.nextRun(item)) {
        if (item.kind == TimedItemKind::Stamp && item.continuations == 3 &&
            LayoutOfStampKind(SubKindOf(capture.word(item.index))) == StampLayout::B) {
            years.Note(OffsetFromOldest(capture, item.index), CivilTimeOf(item.start).year);
        }
    }
    return years;
}

} // namespace varnolt
