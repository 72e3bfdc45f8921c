// Feeds arbitrary bytes as the data answers of a saved-file download: each block is inspected,
// and an intact one appended to the download buffer as the download does, until one does not
// fit. A block never claims more words than its bytes fill. What was received, when it is a file
// the program takes, becomes a capture file that reads back with exactly the records the
// analyzer sent; any other file writes nothing.

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileReader.h"
#include "core/link/savedfile/FileDataBlock.h"
#include "core/link/savedfile/ReceivedCaptureFile.h"
#include "core/platform/BinaryReader.h"
#include "core/platform/BinaryWriter.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzSupport.h"

using namespace varnolt;
using fuzz::Check;
using fuzz::SilentPrompt;

namespace {

// Small enough to keep each run fast, large enough that a received file always fits the store.
constexpr size_t kDataWords = 1024;
constexpr RecordCount kFuzzCapacity = kDataWords;
constexpr size_t kRecordWidthWord = 16;

void CheckBlock(std::span<const uint8_t> answer, const FileDataBlock& block) {
    constexpr size_t kFraming = 2 + 1 + kFrameTerminator.size();
    if (answer.size() < kFraming) {
        Check(!block.intact && block.data.empty());
        return;
    }
    Check(block.data.data() == answer.data() + 2 && block.data.size() == answer.size() - kFraming);
    Check(block.check == answer[answer.size() - kFrameTerminator.size() - 1]);
    Check(2 * block.wordCount() >= block.data.size() &&
          2 * block.wordCount() <= block.data.size() + 1);
}

// The records WORDS (a receivable file) hold, as the analyzer recorded them.
std::vector<RecordWord> SentRecords(std::span<const uint16_t> words) {
    const std::span<const uint16_t> data = words.subspan(kReceivedHeaderWords);
    std::vector<RecordWord> records;
    if ((words[kRecordWidthWord] & 0xF) == 1) {
        for (size_t k = 0; k + 1 < data.size(); k += 2) {
            records.push_back(RecordWord{data[k]} << 16 | data[k + 1]);
        }
    } else {
        for (const uint16_t word : data) {
            records.push_back(RecordWord{word} << 16);
        }
    }
    return records;
}

void CheckWrittenFile(std::span<const uint16_t> words) {
    std::vector<uint8_t> bytes;
    BinaryWriter out(bytes);
    const bool written = WriteReceivedWords(out, words);
    Check(written == IsReceivableFile(words));
    if (!written) {
        Check(bytes.empty());
        return;
    }
    static CCaptureData store(kFuzzCapacity);
    SilentPrompt prompt;
    BinaryReader in(bytes);
    Check(ReadCapture(in, store, prompt, "received.tvd") && in.ok());
    const std::vector<RecordWord> sent = SentRecords(words);
    Check(store.Count() == static_cast<RecordCount>(sent.size()));
    for (size_t k = 0; k < sent.size(); ++k) {
        Check(store.word(static_cast<RingIndex>(k)) == sent[k]);
    }
    Check(store.header().recordWidth == (words[kRecordWidthWord] & 0xF));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::array<uint16_t, kReceivedHeaderWords + kDataWords> buffer{};
    size_t received = 0;
    bool tooLarge = false;
    fuzz::ForEachAnswer({data, size}, [&](std::span<const uint8_t> answer) {
        if (tooLarge) {
            return;
        }
        const FileDataBlock block = InspectFileDataBlock(answer);
        CheckBlock(answer, block);
        if (!block.intact) {
            return;
        }
        if (block.wordCount() > buffer.size() - received) {
            tooLarge = true;
            return;
        }
        UnpackFileDataBlock(block,
                            std::span<uint16_t>(buffer).subspan(received, block.wordCount()));
        received += block.wordCount();
    });
    if (!tooLarge) {
        CheckWrittenFile(std::span<const uint16_t>(buffer).first(received));
    }
    return 0;
}
