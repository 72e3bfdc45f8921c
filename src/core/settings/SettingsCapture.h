#pragma once

#include "core/capture/CaptureHeader.h"
#include "core/settings/CSaParameter.h"

namespace varnolt {

// The communication conditions a capture store takes over from the analyzer settings when it
// is reset: the line settings, and the control-line capture setting as the record width.
[[nodiscard]] CaptureConditions CaptureConditionsOf(const CSaParameter& settings);

// Copies the frame detection time and the four frame delimiters of SETTINGS into HEADER, as
// when edited settings are confirmed; the other header fields keep their values.
void ApplyFrameSettings(const CSaParameter& settings, CaptureHeader& header);

} // namespace varnolt
