#include "core/link/reception/LiveReports.h"

#include <gtest/gtest.h>

#include "AnswerBuilder.h"

namespace varnolt {
namespace {

using testing::CheckedAnswer;

TEST(LiveReportsTest, RunStateReportsGiveTenElevenOrZero) {
    EXPECT_EQ(ParseRunState(CheckedAnswer("PSS0B")), 11);
    EXPECT_EQ(ParseRunState(CheckedAnswer("PSS0A")), 10);
    EXPECT_EQ(ParseRunState(CheckedAnswer("PSS0C")), 0);
    std::vector<uint8_t> corrupted = CheckedAnswer("PSS0B");
    corrupted[5] = 'X';
    EXPECT_EQ(ParseRunState(corrupted), 0);
    EXPECT_EQ(ParseRunState(CheckedAnswer("PS")), 0); // too short to hold a state
}

TEST(LiveReportsTest, TriggerReportsCarryASignedNumberAndTwoDeviceIndexes) {
    EXPECT_EQ(ParseTrigger(CheckedAnswer("PTR030000004000000080")), (TriggerReport{3, 0x40, 0x80}));
    EXPECT_EQ(ParseTrigger(CheckedAnswer("PTRFF0006DDD10006DDD8")),
              (TriggerReport{-1, 450'001, 450'008}));
    std::vector<uint8_t> corrupted = CheckedAnswer("PTR030000004000000080");
    corrupted[21] ^= 1;
    EXPECT_FALSE(ParseTrigger(corrupted));
    EXPECT_FALSE(ParseTrigger(CheckedAnswer("PTR0300000040")));
}

} // namespace
} // namespace varnolt
