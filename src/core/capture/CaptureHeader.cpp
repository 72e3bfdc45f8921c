#include "core/capture/CaptureHeader.h"

namespace varnolt {

void CaptureHeader::apply(const CaptureConditions& conditions) {
    lineMode = conditions.lineMode;
    speed = conditions.speed;
    dataBits = conditions.dataBits;
    stopBits = conditions.stopBits;
    parity = conditions.parity;
    transmitOutput = conditions.transmitOutput;
    recordWidth = conditions.recordWidth;
}

} // namespace varnolt
