#pragma once

#include "core/capture/CCaptureData.h"
#include "core/interop/CaptureTime.h"
#include "core/view/StampYears.h"

namespace varnolt {

// The years in which the time line (statistics, pcapng, VCD) places the capture's time stamps
// without year digits (layout B shows month and day only), so that a date search compares such
// stamps in those years: the year of a stamp that has one, else that of BASE's file time, moved
// to the year before or after where the clock crosses New Year.
[[nodiscard]] StampYears StampYearsOf(const CCaptureData& capture, const TimeBase& base);

} // namespace varnolt
