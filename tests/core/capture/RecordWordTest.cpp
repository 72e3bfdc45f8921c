#include "core/capture/RecordWord.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

struct StampCase {
    const char* name;
    RecordWord head, first, second, third;
    StampDigits expected;
};

// Words built by hand from the bit layouts; low halves carry control-line states and bits
// 3..0 of the third continuation are set, both of which the digits must ignore.
const StampCase kStampCases[] = {
    // Layout A, 26/12/10 04:37:59: minute units 7 = c2 bits 2..0 (011) then c3 bit 11 (1).
    {"layout A", 0x71260555, 0x84900555, 0x811B0555, 0x8D9F0555, {0x261210, 0x04375900}},
    // Layout B, 12/10 23:45:17.89: minute tens 4 = c1 bits 1..0 (10) then c2 bit 11 (0).
    {"layout B", 0x72490AAA, 0x808E0AAA, 0x82970AAA, 0x889A0AAA, {0x1210, 0x23451789}},
    // Layout B (time only), 09/30 19:57:08.06: minute tens 5 takes c2 bit 11 = 1.
    {"layout B kind 5", 0x75270000, 0x80660000, 0x8B880000, 0x80600000, {0x0930, 0x19570806}},
    // Kind 4 (time only) is layout A.
    {"layout A kind 4", 0x74260000, 0x84900000, 0x811B0000, 0x8D900000, {0x261210, 0x04375900}},
};

TEST(RecordWord, UnpacksTimeStampsOfBothLayouts) {
    for (const StampCase& c : kStampCases) {
        EXPECT_EQ(UnpackTimeStamp(c.head, c.first, c.second, c.third), c.expected) << c.name;
    }
    EXPECT_EQ(LayoutOfStampKind(1), StampLayout::A);
    EXPECT_EQ(LayoutOfStampKind(3), StampLayout::A);
    EXPECT_EQ(LayoutOfStampKind(2), StampLayout::B);
    EXPECT_EQ(DigitAt(0x04375900, 5), 3u);
}

TEST(RecordWord, DecodesFields) {
    const RecordWord rdCharacter = 0x2141ABCD; // line start, 'A', control-line field ABCD
    EXPECT_EQ(KindOf(rdCharacter), RecordKind::RdCharacter);
    EXPECT_EQ(CodeOf(rdCharacter), 0x41);
    EXPECT_TRUE(IsLineStart(rdCharacter));
    EXPECT_FALSE(IsLineStart(0x20410000));
    EXPECT_EQ(ControlLineFieldOf(rdCharacter), 0xABCD);
    EXPECT_EQ(KindOf(0xF0000000), static_cast<RecordKind>(15));

    // Idle 0x12345678 units of 0.001 s.
    EXPECT_EQ(IdleResolution(0x51120000), 1);
    EXPECT_EQ(IdleValue(0x51120000, 0x63450000, 0x66780000), 0x12345678u);

    // Control-line change: before RS on, ER off, CS unknown (3); after all six on.
    const RecordWord change = 0xB0390555;
    EXPECT_EQ(PreviousLineStates(change), 0x039);
    EXPECT_EQ(NewLineStates(change), 0x555);
    EXPECT_EQ(LineStateOf(PreviousLineStates(change), ControlLine::RS), LineState::On);
    EXPECT_EQ(LineStateOf(PreviousLineStates(change), ControlLine::ER), LineState::Off);
    EXPECT_EQ(LineStateOf(PreviousLineStates(change), ControlLine::CS), LineState::Unknown);
    EXPECT_EQ(LineStateOf(PreviousLineStates(change), ControlLine::CI), LineState::Unknown);
    EXPECT_EQ(LineStateOf(NewLineStates(change), ControlLine::CI), LineState::On);

    EXPECT_EQ(MakeRecordWord(RecordKind::StampContinuation, 0xABC), 0x8ABC0000u);
}

TEST(RecordWord, ItemStartsAreCharactersErrorsHeadsAndLineChanges) {
    const bool starts[16] = {false, true,  true,  true, true,  true,  false, true,
                             false, false, false, true, false, false, false, false};
    for (uint32_t kind = 0; kind < 16; ++kind) {
        EXPECT_EQ(IsItemStart(kind << 28 | 0x00FF0000), starts[kind]) << "kind " << kind;
    }
}

} // namespace
} // namespace varnolt
