#pragma once

#include "core/capture/CCaptureData.h"
#include "core/interop/CaptureTime.h"
#include "core/platform/BinaryWriter.h"

namespace varnolt {

// Writes CAPTURE onto OUT as a pcapng file that Wireshark dissects: one interface of link type
// 250 (RTAC serial), one packet per frame (the characters of one direction as frame display
// groups them, never wrapped at a width) with event DATA_TX_START for SD and DATA_RX_START for
// RD, a STATUS_CHANGE packet for every control-line change, and an error packet
// (FRAMING_ERROR, PARITY_ERROR, SERIAL_BREAK_EVENT, SERIAL_OVERFLOW_EVENT) for every line
// error, with the line named in its comment. The control-line bits of each packet's header come
// from the records when the capture has them. Time stamps come from the capture's timeline
// (CaptureTimeline) in microseconds. Errors stick in OUT.
void WritePcapng(const CCaptureData& capture, const TimeBase& base, BinaryWriter& out);

} // namespace varnolt
