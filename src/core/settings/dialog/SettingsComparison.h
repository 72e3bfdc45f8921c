#pragma once

namespace varnolt {

class CSaParameter;

// Whether writing PAGES to an analyzer that holds ANALYZER would change anything the dialog
// edits: the communication fields, every transmit entry, the timers' and counters' settings
// (not their current values), every trigger field, and the display fields with the frame
// detection time and the on/off and code of each delimiter. The reserved bytes and the
// delimiters' spare bytes are not compared: the dialog never edits them.
[[nodiscard]] bool DiffersForWrite(const CSaParameter& analyzer, const CSaParameter& pages);

} // namespace varnolt
