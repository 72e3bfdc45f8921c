#include "core/link/reception/LineStates.h"

#include "core/capture/RecordWord.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

TEST(LineStates, ControlLinesFromARecordsField) {
    LineStates states{};
    states[kLineSd] = 1;
    states[kLineRd] = 2;
    // RS on, ER off, CS unknown (0), DR on, CD off, CI unknown (3).
    SetLineStatesFromControlField(states, 0b11'10'01'00'10'01);
    const LineStates expected{1, 1, 2, 2, 0, 1, 2, 3};
    EXPECT_EQ(states, expected);
}

RecordWord Character(RecordKind kind, uint16_t lines) {
    return MakeRecordWord(kind, 'A') | lines;
}

// The lamps follow the newest character of a received block, wherever it lies in the ring and
// whatever follows it; a block without characters leaves them.
TEST(LineStates, NewestControlLineFieldOfAReceivedBlock) {
    CCaptureData capture(8);
    capture.header().recordWidth = 1;
    for (uint16_t k = 0; k < 6; ++k) {
        capture.Append(Character(RecordKind::SdCharacter, k), 0);
    }
    EXPECT_EQ(NewestControlLineField(capture, 2, 5), 5);
    // A block that wraps round the ring's end: newest character at index 1, an error after it.
    capture.Append(Character(RecordKind::RdCharacter, 0x40), 0);
    capture.Append(Character(RecordKind::SdCharacter, 0x41), 0);
    capture.Append(Character(RecordKind::RdCharacter, 0x42), 0);
    capture.Append(MakeRecordWord(RecordKind::RdError, 2), 0);
    ASSERT_EQ(capture.lastIndex(), 1);
    EXPECT_EQ(NewestControlLineField(capture, 6, 1), 0x42);
    // Only the error: nothing to take, and the walk stays inside the block.
    EXPECT_EQ(NewestControlLineField(capture, 1, 1), std::nullopt);

    // Record width 0 keeps no control lines with its characters.
    CCaptureData narrow(8);
    narrow.Append(Character(RecordKind::SdCharacter, 0x15), 0);
    EXPECT_EQ(NewestControlLineField(narrow, 0, 0), std::nullopt);
}

} // namespace
} // namespace varnolt
