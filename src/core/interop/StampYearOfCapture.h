#pragma once

#include "core/capture/CCaptureData.h"
#include "core/interop/CaptureTime.h"

namespace varnolt {

// The year in which the time line (statistics, pcapng, VCD) places the capture's first time
// stamp without year digits (layout B shows month and day only), so that a date search can
// compare such stamps in that year. A capture without such a stamp gives the year of BASE's
// file time.
[[nodiscard]] int YearOfStampsWithoutYear(const CCaptureData& capture, const TimeBase& base);

} // namespace varnolt
