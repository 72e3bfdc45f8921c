#include "core/link/reception/StatusAnswer.h"

#include "core/link/protocol/AnswerCode.h"
#include "core/link/protocol/HexDigits.h"
#include "core/settings/CSaParameter.h"

namespace varnolt {

namespace {

constexpr size_t kLineStatesOffset = 2;
constexpr size_t kIdleOffset = 10;
constexpr size_t kTimersOffset = 18;
constexpr size_t kCountersOffset = 50;
constexpr size_t kCountsOffset = 82;
constexpr size_t kTriggerCountsOffset = 138;

// The line-state block slot of each line character, in the order the answer sends them.
constexpr std::array<LineSlot, 8> kAnswerLineOrder{kLineSd, kLineRd, kLineCi, kLineCd,
                                                   kLineDr, kLineCs, kLineEr, kLineRs};

int32_t LineStateOfCharacter(uint8_t character) {
    switch (character) {
    case '1':
        return 2; // off
    case '2':
        return 1; // on
    default:
        return 0;
    }
}

} // namespace

bool ParseStatus(std::span<const uint8_t> answer, const StatusTargets& targets,
                 uint32_t& idleValue) {
    if (answer.size() < kStatusAnswerBytes || !VerifyAnswerChecksum(answer)) {
        return false;
    }
    for (size_t k = 0; k < kAnswerLineOrder.size(); ++k) {
        targets.lineStates[kAnswerLineOrder[k]] =
            LineStateOfCharacter(answer[kLineStatesOffset + k]);
    }
    idleValue = ReadHexDigits(answer, kIdleOffset, 8);
    for (size_t k = 0; k < kTimerCount; ++k) {
        targets.settings.timers[k].currentValue = ReadHexDigits(answer, kTimersOffset + 8 * k, 8);
    }
    for (size_t k = 0; k < kCounterCount; ++k) {
        targets.settings.counters[k].currentValue =
            ReadHexDigits(answer, kCountersOffset + 8 * k, 8);
    }
    for (size_t k = 0; k < kStatusCountCount; ++k) {
        targets.status.counts[k] =
            static_cast<int32_t>(ReadHexDigits(answer, kCountsOffset + 8 * k, 8));
    }
    for (size_t k = 0; k < kTriggerCountCount; ++k) {
        targets.status.triggerCounts[k] =
            static_cast<uint16_t>(ReadHexDigits(answer, kTriggerCountsOffset + 4 * k, 4));
    }
    return true;
}

} // namespace varnolt
