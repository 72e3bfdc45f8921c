#include "core/capture/ExportRecords.h"

namespace varnolt {

int ExportRecords::DistanceToHead(RecordPosition position, RecordKind head, int maxDistance) const {
    for (int distance = 1; distance <= maxDistance; ++distance) {
        if (KindOf(At(position - distance)) == head) {
            return distance;
        }
    }
    return 0;
}

IdleGap ExportRecords::IdleAt(RecordPosition head) const {
    const RecordWord word = At(head);
    return {IdleResolution(word), IdleValue(word, At(head + 1), At(head + 2))};
}

TimeStamp ExportRecords::StampAt(RecordPosition head) const {
    const RecordWord word = At(head);
    return {SubKindOf(word), UnpackTimeStamp(word, At(head + 1), At(head + 2), At(head + 3))};
}

} // namespace varnolt
