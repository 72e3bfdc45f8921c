#include "core/settings/SettingsCapture.h"

#include <algorithm>

namespace varnolt {

CaptureConditions CaptureConditionsOf(const CSaParameter& settings) {
    CaptureConditions conditions;
    conditions.lineMode = static_cast<uint16_t>(settings.lineMode);
    conditions.speed = settings.speed;
    conditions.dataBits = static_cast<uint16_t>(settings.dataBits);
    conditions.stopBits = static_cast<uint16_t>(settings.stopBits);
    conditions.parity = settings.parity;
    conditions.transmitOutput = settings.transmitOutput;
    conditions.recordWidth = settings.controlLineCapture;
    return conditions;
}

void ApplyFrameSettings(const CSaParameter& settings, CaptureHeader& header) {
    header.frameDetectionTime = static_cast<uint32_t>(settings.frameDetectionTime);
    std::copy(settings.frameDelimiters.begin(), settings.frameDelimiters.end(),
              header.delimiters.begin());
}

} // namespace varnolt
