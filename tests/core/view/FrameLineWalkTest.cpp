#include "core/view/FrameLineWalker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CaptureBuilder.h"

namespace varnolt {
namespace {

using namespace varnolt::test;

struct WalkCase {
    const char* name;
    std::vector<RecordWord> words;
    CellColumn columns;
    FrameDelimiters delimiters;
    std::vector<int> lineStarts; // offsets of the records that start a line
};

FrameDelimiters Delimiters(int slot, uint8_t code) {
    FrameDelimiters delimiters{};
    delimiters[static_cast<size_t>(slot)] = {1, code, 0};
    return delimiters;
}

std::vector<WalkCase> Cases() {
    const RecordWord a = Sd('A');
    const RecordWord b = Sd('B');
    return {
        {"FlagRightAfterIdleOpensNoSecondLine",
         (Words() << a << b << Idle(5) << Sd('C', true) << Sd('D')).words(),
         40,
         {},
         {0, 2}},
        {"RdAfterIdleContinuesItsLine",
         (Words() << a << Idle(5) << Rd('x') << Rd('y')).words(),
         40,
         {},
         {0, 1}},
        {"IdleInsideSdLineEndsItAndNextSdFillsIdleLine",
         (Words() << a << b << Idle(5) << Sd('C') << Sd('D') << Rd('r')).words(),
         40,
         {},
         {0, 2, 7}},
        {"FlagAndDirectionChangeStartLines",
         (Words() << a << Sd('B', true) << Rd('r') << Rd('s') << a).words(),
         40,
         {},
         {0, 1, 2, 4}},
        {"EndCodeClosesLineButEqualErrorDoesNot",
         (Words() << a << SdError(1) << b << Sd(1) << Sd('C')).words(),
         40,
         Delimiters(1, 1),
         {0, 4}},
        {"StartCodeOpensLine", (Words() << a << Sd(2) << b).words(), 40, Delimiters(0, 2), {0, 1}},
        {"RdDelimitersLeaveSdAlone",
         (Words() << a << Sd(2) << Rd(2) << Rd('x')).words(),
         40,
         Delimiters(3, 2),
         {0, 2, 3}},
        {"OverflowWraps", (Words() << a << b << a << b << a << b << a).words(), 3, {}, {0, 3, 6}},
        {"ControlChangeTakesACellAndKeepsDirection",
         (Words() << a << ControlChange(5, 6) << b << a).words(),
         3,
         {},
         {0, 3}},
        {"IdleAndStampShareOneLine",
         (Words() << a << Idle(7) << Stamp(1) << b).words(),
         40,
         {},
         {0, 1}},
        {"BreakBeforeIdleGivesOneLine",
         (Words() << Sd(0x0D) << Idle(3) << a << b).words(),
         40,
         Delimiters(1, 0x0D),
         {0, 1}},
        {"CaptureStartingWithIdle", (Words() << Idle(3) << a << Rd('r')).words(), 40, {}, {0, 4}},
    };
}

class FrameLineWalkTest : public testing::TestWithParam<WalkCase> {};

TEST_P(FrameLineWalkTest, StartsLinesWhereTheRulesSay) {
    const WalkCase& c = GetParam();
    FrameLineWalker walker(c.columns, c.delimiters);
    std::vector<int> starts;
    for (size_t i = 0; i < c.words.size(); ++i) {
        if (walker.Step(c.words[i])) {
            starts.push_back(static_cast<int>(i));
        }
    }
    EXPECT_EQ(starts, c.lineStarts);
}

INSTANTIATE_TEST_SUITE_P(Cases, FrameLineWalkTest, testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace varnolt
