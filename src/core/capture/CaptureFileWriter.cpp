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

namespace {

// Writes the whole file around COUNT records, the K-th (from 0) being WORDAT(K) for K in order.
template <typename WordAt>
void WriteFramed(BinaryWriter& out, const CaptureHeaderWords& words, RecordCount count,
                 WordAt wordAt) {
    out.writeArchiveString(kCaptureStartMarker);
    out.writeArchiveString(kCaptureFileVersionText);
    for (const uint16_t word : words) {
        out.writeU16(word);
    }
    out.writeU32(static_cast<uint32_t>(count));
    std::array<uint8_t, kBlockWords * 4> block;
    for (RecordCount done = 0; done < count && out.ok();) {
        const auto step = static_cast<size_t>(std::min<RecordCount>(count - done, kBlockWords));
        for (size_t i = 0; i < step; ++i) {
            const RecordWord word = wordAt(done + static_cast<RecordCount>(i));
            block[4 * i] = static_cast<uint8_t>(word);
            block[4 * i + 1] = static_cast<uint8_t>(word >> 8);
            block[4 * i + 2] = static_cast<uint8_t>(word >> 16);
            block[4 * i + 3] = static_cast<uint8_t>(word >> 24);
        }
        out.writeBytes(block.data(), step * 4);
        done += static_cast<RecordCount>(step);
    }
    out.writeArchiveString(kCaptureEndMarker);
}

} // namespace

void WriteCapture(BinaryWriter& out, const CaptureHeader& header, int displayMode,
                  const CCaptureData& store, const CaptureSaveRange& range) {
    const RecordCount capacity = store.capacity();
    assert(range.first >= 0 && range.first < capacity && range.last < capacity);
    RingIndex index = range.first;
    WriteFramed(out, EncodeCaptureHeader(header, displayMode),
                SaveRecordCount(range.first, range.last, capacity), [&](RecordCount) {
                    const RecordWord word = store.sourceWord(range.source, index);
                    if (++index >= capacity) {
                        index = 0;
                    }
                    return word;
                });
}

void WriteCapture(BinaryWriter& out, const CaptureHeaderWords& words,
                  std::span<const RecordWord> records) {
    WriteFramed(out, words, static_cast<RecordCount>(records.size()),
                [&](RecordCount k) { return records[static_cast<size_t>(k)]; });
}

bool WriteCaptureFile(const std::filesystem::path& path, const CaptureHeader& header,
                      int displayMode, const CCaptureData& store, const CaptureSaveRange& range,
                      UserPrompt& prompt) {
    const FileError error = WriteBinaryFile(
        path, [&](BinaryWriter& out) { WriteCapture(out, header, displayMode, store, range); });
    if (error != FileError::None) {
        prompt.message(FileErrorMessage(error, path), kAppCaption, PromptIcon::Warning);
        return false;
    }
    return true;
}

} // namespace varnolt
