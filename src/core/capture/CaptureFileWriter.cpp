#include "core/capture/CaptureFileWriter.h"

#include "core/capture/CaptureFileFormat.h"
#include "core/platform/UserPrompt.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace varnolt {

namespace {

// Records go out in blocks of this many words.
constexpr size_t kBlockWords = 4096;

} // namespace

RecordCount SaveRecordCount(RingIndex first, RingIndex last, RecordCount capacity) {
    if (last < 0) {
        return 0;
    }
    if (first <= last) {
        return last - first + 1;
    }
    return last - first + capacity + 1;
}

void WriteCapture(BinaryWriter& out, const CaptureHeader& header, int displayMode,
                  const CCaptureData& store, const CaptureSaveRange& range) {
    const RecordCount capacity = store.capacity();
    assert(range.first >= 0 && range.first < capacity && range.last < capacity);

    out.writeArchiveString(kCaptureStartMarker);
    out.writeArchiveString(kCaptureFileVersionText);
    for (const uint16_t word : EncodeCaptureHeader(header, displayMode)) {
        out.writeU16(word);
    }
    const RecordCount count = SaveRecordCount(range.first, range.last, capacity);
    out.writeU32(static_cast<uint32_t>(count));

    std::array<uint8_t, kBlockWords * 4> block;
    RingIndex index = range.first;
    for (RecordCount done = 0; done < count && out.ok();) {
        const auto step = static_cast<size_t>(std::min<RecordCount>(count - done, kBlockWords));
        for (size_t i = 0; i < step; ++i) {
            const RecordWord word = store.sourceWord(range.source, index);
            block[4 * i] = static_cast<uint8_t>(word);
            block[4 * i + 1] = static_cast<uint8_t>(word >> 8);
            block[4 * i + 2] = static_cast<uint8_t>(word >> 16);
            block[4 * i + 3] = static_cast<uint8_t>(word >> 24);
            if (++index >= capacity) {
                index = 0;
            }
        }
        out.writeBytes(block.data(), step * 4);
        done += static_cast<RecordCount>(step);
    }
    out.writeArchiveString(kCaptureEndMarker);
}

bool WriteCaptureFile(const std::filesystem::path& path, const CaptureHeader& header,
                      int displayMode, const CCaptureData& store, const CaptureSaveRange& range,
                      UserPrompt& prompt) {
    BinaryWriter out(path);
    if (out.ok()) {
        WriteCapture(out, header, displayMode, store, range);
    }
    if (!out.finish()) {
        prompt.message(FileErrorMessage(out.error(), path), kAppCaption, PromptIcon::Warning);
        return false;
    }
    return true;
}

} // namespace varnolt
