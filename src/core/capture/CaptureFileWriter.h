#pragma once

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileFormat.h"
#include "core/platform/BinaryWriter.h"

#include <filesystem>
#include <span>

namespace varnolt {

class UserPrompt;

// What a capture file is written from: an array of the store and an inclusive ring range.
struct CaptureSaveRange {
    SaveSource source = SaveSource::Ring;
    RingIndex first = 0;
    RingIndex last = kNoRecord;
};

// Records in the inclusive ring range FIRST ... LAST: none when LAST < 0, counted through the
// ring's end when FIRST > LAST. FIRST = LAST is one record even in a ring that has wrapped: the
// final save of a bank that got one record after the switch, or a one-record trigger stretch,
// must not write a whole ring of older words.
[[nodiscard]] RecordCount SaveRecordCount(RingIndex first, RingIndex last, RecordCount capacity);

// Writes a capture file onto OUT: HEADER (word 17 = DISPLAYMODE) and the records of RANGE from
// STORE, oldest first, stepping through the ring's end. RANGE.first and RANGE.last must lie in
// 0 ... capacity - 1 (last may be -1). Errors stick in OUT.
void WriteCapture(BinaryWriter& out, const CaptureHeader& header, int displayMode,
                  const CCaptureData& store, const CaptureSaveRange& range);

// Writes a capture file onto OUT with header words taken over unchanged (those of a file
// received from the analyzer) and RECORDS, which must number at most kMaxRingCapacity.
void WriteCapture(BinaryWriter& out, const CaptureHeaderWords& words,
                  std::span<const RecordWord> records);

// Writes the capture file at PATH, replacing a file there only once the whole capture is written
// (WriteBinaryFile); a file that cannot be created or written is reported through PROMPT, gives
// false and leaves what PATH held.
bool WriteCaptureFile(const std::filesystem::path& path, const CaptureHeader& header,
                      int displayMode, const CCaptureData& store, const CaptureSaveRange& range,
                      UserPrompt& prompt);

} // namespace varnolt
