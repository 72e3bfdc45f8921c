#include "core/interop/StampYearOfCapture.h"

#include "core/interop/CaptureTimeline.h"

namespace varnolt {

int YearOfStampsWithoutYear(const CCaptureData& capture, const TimeBase& base) {
    // The time line decides the year (that of a stamp with one, else the file's, nearest the
    // clock); the clock right after the first whole stamp without a year shows which it chose.
    CaptureTimeline timeline(capture, base);
    TimedItem item;
    while (timeline.nextRun(item)) {
        if (item.kind == TimedItemKind::Stamp && item.continuations == 3 &&
            LayoutOfStampKind(SubKindOf(capture.word(item.index))) == StampLayout::B) {
            return CivilTimeOf(item.start).year;
        }
    }
    return CivilTimeOf(base.fileTime).year;
}

} // namespace varnolt
