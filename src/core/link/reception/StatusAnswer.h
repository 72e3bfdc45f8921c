#pragma once

#include "core/link/reception/CDeviceEtc.h"
#include "core/link/reception/LineStates.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace varnolt {

class CSaParameter;

// Length of a complete status answer ("BL"): 170 characters, the checksum and the terminator.
inline constexpr size_t kStatusAnswerBytes = 176;

// Where a status answer is stored.
struct StatusTargets {
    LineStates& lineStates; // SD, RS, ER, RD, CS, DR, CD, CI: 1 on, 2 off, 0 not reported
    CSaParameter& settings; // the timers' and counters' current values
    StatusBlock& status;    // the counts
};

// Stores the status answer ANSWER: the eight line states (sent SD, RD, CI, CD, DR, CS, ER, RS;
// '1' is off, '2' on), the running idle value into IDLE_VALUE, the current values of the four
// timers and four counters, the seven counts and the eight trigger counts. False, storing
// nothing, when the checksum fails or the answer is shorter than a status answer.
bool ParseStatus(std::span<const uint8_t> answer, const StatusTargets& targets,
                 uint32_t& idleValue);

} // namespace varnolt
