#include "core/link/reception/StatusAnswer.h"

#include "core/link/protocol/HexFormat.h"
#include "core/settings/CSaParameter.h"

#include <gtest/gtest.h>

#include "AnswerBuilder.h"

namespace varnolt {
namespace {

using testing::CheckedAnswer;

// A status answer: line characters SD, RD, CI, CD, DR, CS, ER, RS; then the idle value, four
// timers, four counters, seven counts and eight trigger counts.
std::string StatusText(std::string_view lines) {
    std::string text = "BL";
    text += lines;
    text += FormatHex32(0x1234); // idle
    for (uint32_t k = 0; k < 4; ++k) {
        text += FormatHex32(100 + k); // timers
    }
    for (uint32_t k = 0; k < 4; ++k) {
        text += FormatHex32(k == 3 ? 0xFFFF'FFFF : 200 + k); // counters
    }
    for (uint32_t k = 0; k < 7; ++k) {
        text += FormatHex32(1000 + k); // SD, RD, PE, FE, PF, BR, OE
    }
    for (uint32_t k = 0; k < 8; ++k) {
        AppendHex(text, k == 7 ? 0x0FFF : k, 4); // trigger counts
    }
    return text;
}

struct StatusAnswerTest : ::testing::Test {
    LineStates lines{};
    CSaParameter settings;
    StatusBlock status;
    uint32_t idle = 0;
    StatusTargets targets{lines, settings, status};
};

TEST_F(StatusAnswerTest, EveryFieldIsStored) {
    const std::vector<uint8_t> answer = CheckedAnswer(StatusText("12x12212"));
    ASSERT_EQ(answer.size(), kStatusAnswerBytes);
    ASSERT_TRUE(ParseStatus(answer, targets, idle));
    // SD '1' → off (2), RD '2' → on (1), CI 'x' → 0, CD '1', DR '2', CS '2', ER '1', RS '2'.
    EXPECT_EQ(lines, (LineStates{2, 1, 2, 1, 1, 1, 2, 0}));
    EXPECT_EQ(idle, 0x1234U);
    EXPECT_EQ(settings.timers[2].currentValue, 102U);
    EXPECT_EQ(static_cast<int32_t>(settings.counters[3].currentValue), -1);
    EXPECT_EQ(settings.counters[0].currentValue, 200U);
    EXPECT_EQ(status.counts[kCountSd], 1000);
    EXPECT_EQ(status.counts[kCountOe], 1006);
    EXPECT_EQ(status.triggerCounts[0], 0);
    EXPECT_EQ(status.triggerCounts[7], 4095);
}

TEST_F(StatusAnswerTest, AWrongChecksumOrAShortAnswerChangesNothing) {
    std::vector<uint8_t> corrupted = CheckedAnswer(StatusText("22222222"));
    corrupted[171] = corrupted[171] == '0' ? '1' : '0';
    EXPECT_FALSE(ParseStatus(corrupted, targets, idle));
    EXPECT_FALSE(ParseStatus(CheckedAnswer("BL2222222200001234"), targets, idle));
    EXPECT_EQ(lines, LineStates{});
    EXPECT_EQ(idle, 0U);
    EXPECT_EQ(status, StatusBlock{});
    EXPECT_EQ(settings, CSaParameter{});
}

} // namespace
} // namespace varnolt
