#include "core/view/StatusLamps.h"

#include <gtest/gtest.h>

#include <set>

namespace varnolt {
namespace {

using P = LampPicture;
using Pictures = std::array<std::optional<LampPicture>, kLampCount>;
constexpr auto X = std::nullopt; // the lamp keeps its picture

// SD, RS, ER, RD, CS, DR, CD, CI: on, off, unknown (0), on, off, unknown (3), on, off.
constexpr LampStates kStates{1, 2, 0, 1, 2, 3, 1, 2};

struct LampCase {
    const char* name;
    int32_t lineMode;
    bool connected;
    bool allLamps;
    Pictures expected;
};

class LampTableTest : public ::testing::TestWithParam<LampCase> {};

TEST_P(LampTableTest, PicturesFollowLineTypeConnectionAndFlag) {
    const LampCase& c = GetParam();
    EXPECT_EQ(LampPicturesOf(c.lineMode, c.connected, kStates, c.allLamps), c.expected);
}

const P I = P::Inactive;
INSTANTIATE_TEST_SUITE_P(
    StatusLamps, LampTableTest,
    ::testing::Values(
        LampCase{"Rs232cConnectedAll", 2, true, true,
                 {P::SendOn, P::SendOff, P::SendUnknown, P::ReceiveOn, P::ReceiveOff,
                  P::ReceiveUnknown, P::ReceiveOn, P::ReceiveOff}},
        LampCase{"Rs232cConnectedSdRdOnly", 1, true, false,
                 {P::SendOn, X, X, P::ReceiveOn, X, X, X, X}},
        LampCase{"Rs232cNotConnected", 1, false, false, {I, I, I, I, I, I, I, I}},
        LampCase{"Rs422ConnectedBothSidesAqua", 3, true, true,
                 {P::ReceiveOn, X, X, P::ReceiveOn, X, X, X, X}},
        LampCase{"Rs422NotConnected", 4, false, true, {I, X, X, I, X, X, X, X}},
        LampCase{"OtherLineModeChangesNothing", 0, true, true, {X, X, X, X, X, X, X, X}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StatusLamps, PanesForEachLineType) {
    const auto rs232c = LampPanesOf(2, true);
    ASSERT_TRUE(rs232c);
    const char* texts[] = {"SD", "RS", "ER", "RD", "CS", "DR", "CD", "CI"};
    for (size_t lamp = 0; lamp < kLampCount; ++lamp) {
        const LampPane& pane = (*rs232c)[lamp];
        EXPECT_EQ(pane.text, texts[lamp]);
        EXPECT_EQ(pane.width, 35);
        EXPECT_EQ(pane.picture, P::Inactive);
        EXPECT_EQ(pane.background, lamp < 3 ? LampBackground::Send : LampBackground::Receive);
    }

    // RS-422/485 keeps SD (send colour) and RD; the control lines collapse.
    const auto rs422 = LampPanesOf(4, true);
    ASSERT_TRUE(rs422);
    EXPECT_EQ((*rs422)[0], (LampPane{P::Inactive, "SD", 35, LampBackground::Send}));
    EXPECT_EQ((*rs422)[3], (LampPane{P::Inactive, "RD", 35, LampBackground::Receive}));
    for (const size_t lamp : {1, 2, 4, 5, 6, 7}) {
        EXPECT_EQ((*rs422)[lamp], (LampPane{P::Blank, "", 0, LampBackground::Menu}));
    }

    // Not connected, every background is the menu colour; other line modes leave the panes.
    const auto offline = LampPanesOf(1, false);
    ASSERT_TRUE(offline);
    for (const LampPane& pane : *offline) {
        EXPECT_EQ(pane.background, LampBackground::Menu);
    }
    EXPECT_FALSE(LampPanesOf(5, true));
}

TEST(StatusLamps, ToolTipsNameTheLineAndTellEveryStateApart) {
    std::set<std::string> tips;
    for (const P picture : {P::Inactive, P::SendOn, P::SendOff, P::SendUnknown}) {
        tips.insert(LampToolTip(1, picture, false));
    }
    EXPECT_EQ(tips.size(), 4U);
    EXPECT_EQ(LampToolTip(1, P::SendOn, false), "RS (送信要求): オン");
    EXPECT_EQ(LampToolTip(7, P::ReceiveOff, false), "CI (被呼表示): オフ");
    EXPECT_EQ(LampToolTip(3, P::ReceiveUnknown, false), "RD (受信データ): 不明");
    EXPECT_EQ(LampToolTip(0, P::Inactive, false), "SD (送信データ): 未接続");
    EXPECT_NE(LampToolTip(2, P::SendOff, true).find("ダブルクリック"), std::string::npos);
    EXPECT_EQ(LampToolTip(4, P::Blank, false), "");

    EXPECT_TRUE(IsToggledLamp(2, 1));
    EXPECT_TRUE(IsToggledLamp(1, 2));
    EXPECT_FALSE(IsToggledLamp(1, 0));
    EXPECT_FALSE(IsToggledLamp(4, 1));
}

} // namespace
} // namespace varnolt
