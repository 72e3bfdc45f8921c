#pragma once

// Shared by the fuzz targets: their check, a prompt that shows nothing, and arbitrary bytes cut
// into analyzer answers the way the link cuts them, each held in a buffer of exactly its size so
// that a read past it is caught.

#include "core/capture/CCaptureData.h"
#include "core/link/protocol/FrameTerminator.h"
#include "core/platform/UserPrompt.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace varnolt::fuzz {

// Calls TAKE with each answer of BYTES: the bytes up to and including each terminator, and what
// is left after the last one.
template <typename Take>
void ForEachAnswer(std::span<const uint8_t> bytes, Take take) {
    size_t start = 0;
    for (size_t end = 1; end <= bytes.size(); ++end) {
        const std::span<const uint8_t> answer = bytes.subspan(start, end - start);
        if (EndsWithTerminator(answer) || end == bytes.size()) {
            const std::vector<uint8_t> exact(answer.begin(), answer.end());
            take(std::span<const uint8_t>(exact));
            start = end;
        }
    }
}

inline void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// Readers report refusals and file errors through a prompt; the targets check what they return.
class SilentPrompt final : public UserPrompt {
public:
    void message(std::string_view, std::string_view, PromptIcon) override {}
    PromptAnswer ask(std::string_view, std::string_view, PromptButtons, PromptIcon) override {
        return PromptAnswer::Ok;
    }
};

// Empties RING and WHOLE under HEADER, gives RING the capacity RINGCAPACITY, appends the
// little-endian words of BYTES (a last partial word left out) to it, so that it wraps when they
// are more than it holds, and loads the words it then holds, oldest first, into WHOLE in one
// piece. Returns the words held.
inline std::vector<RecordWord> FillRingAndWhole(const CaptureHeader& header,
                                                RecordCount ringCapacity,
                                                std::span<const uint8_t> bytes, CCaptureData& ring,
                                                CCaptureData& whole) {
    for (CCaptureData* store : {&ring, &whole}) {
        store->PrepareForLoad();
        store->header() = header;
    }
    ring.setCapacity(ringCapacity);
    for (size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        (void)ring.Append(static_cast<RecordWord>(bytes[at] | bytes[at + 1] << 8 |
                                                  bytes[at + 2] << 16 |
                                                  static_cast<uint32_t>(bytes[at + 3]) << 24),
                          0);
    }
    std::vector<RecordWord> held;
    for (RecordCount k = 0; k < ring.Count(); ++k) {
        held.push_back(ring.word(ring.WrapIndex(ring.firstIndex(), k)));
    }
    Check(whole.AppendLoaded(held) == static_cast<RecordCount>(held.size()));
    return held;
}

} // namespace varnolt::fuzz
