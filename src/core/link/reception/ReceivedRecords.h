#pragma once

#include "core/capture/CCaptureData.h"
#include "core/link/reception/DataBlockParser.h"

namespace varnolt {

// What reception does with what the analyzer sends: the records go into the capture store.

// Appends BLOCK's items to STORE, each with its device index, which counts up and wraps as
// the analyzer's memory does. With AUTOMATIC_SAVE the record that fills the ring's last slot
// hands the full bank to the background save and the other bank takes over. Returns the
// records appended.
RecordCount AppendDataBlock(CCaptureData& store, const DecodedBlock& block, bool automaticSave);

// The analyzer reported that the PC fell behind ("BO"): an SD overrun record with device index
// 0 marks the gap in the capture. Like any record, with AUTOMATIC_SAVE a mark that fills the
// ring's last slot hands the full bank to the background save.
void AppendOverflowMark(CCaptureData& store, bool automaticSave);

} // namespace varnolt
