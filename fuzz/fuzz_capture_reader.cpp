// Loads arbitrary bytes as a capture file: the reader must refuse or report them without
// reading past the end or leaving an index outside the ring, and whatever it loads must save
// and load again unchanged. Seed corpus: tests/data/capture.

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileReader.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/platform/BinaryReader.h"
#include "core/platform/BinaryWriter.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzSupport.h"

using namespace varnolt;
using fuzz::Check;
using fuzz::SilentPrompt;

namespace {

// Small rings keep each run fast; larger counts take the refusal path.
constexpr RecordCount kFuzzCapacity = 4096;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CCaptureData store(kFuzzCapacity);
    static CCaptureData again(kFuzzCapacity);
    SilentPrompt prompt;

    BinaryReader in(std::span<const uint8_t>(data, size));
    const bool loaded = ReadCapture(in, store, prompt, "fuzz.tvd");
    Check(store.lastIndex() >= kNoRecord && store.lastIndex() < kFuzzCapacity);
    Check(!store.wrapped() && store.firstIndex() == 0);
    Check(store.Count() == store.lastIndex() + 1);
    if (!loaded || store.empty()) {
        return 0;
    }

    std::vector<uint8_t> bytes;
    BinaryWriter out(bytes);
    WriteCapture(out, store.header(), 0, store, {SaveSource::Ring, 0, store.lastIndex()});
    BinaryReader back(bytes);
    Check(ReadCapture(back, again, prompt, "again.tvd"));
    Check(again.lastIndex() == store.lastIndex());
    for (RingIndex i = 0; i <= store.lastIndex(); ++i) {
        Check(again.word(i) == store.word(i));
    }
    CaptureHeader expected = store.header();
    expected.formatVersion = 110;
    Check(again.header() == expected);
    return 0;
}
