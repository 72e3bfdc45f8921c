#pragma once

#include "core/capture/CCaptureData.h"

#include <cstdint>
#include <filesystem>

namespace varnolt {

// Automatic saving during a measurement cuts the received stream into files of one ring each:
// the ring is sized to a file, and each time reception fills it the full bank is saved while
// the other bank takes the next records.

// How the user set automatic saving up: on or off, the folder of the files, and the size of
// each file in megabytes (1, 2, 4, 8 or 16; the ring is sized to one file).
struct AutoSaveOptions {
    bool enabled = false;
    std::filesystem::path folder;
    int32_t fileSizeMegabytes = 8;
};

// Reception calls this right after appending at APPENDED while automatic saving is on. When
// that filled the ring's last slot, the full bank is saved over 0 ... capacity - 1 and the
// other bank becomes active (also when the save folder has gone, so reception carries on
// alike). Returns whether a save was queued.
bool SaveBankIfFull(CCaptureData& store, RingIndex appended);

// The stop command calls this with automatic saving on, once the analyzer has stopped: saves
// the partial active bank, 0 ... last index. Nothing is saved for an empty store, nor when the
// newest record filled the ring: it has gone out with the full bank, and the active bank holds
// no new record. Returns whether a save was queued.
bool SaveFinalBank(CCaptureData& store);

} // namespace varnolt
