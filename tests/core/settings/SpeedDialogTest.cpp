#include "core/settings/dialog/BaudRate.h"
#include "core/settings/dialog/SpeedDialogModel.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace varnolt {
namespace {

struct BaudCase {
    uint32_t requested;
    uint32_t reload;
    uint32_t actual;
    const char* deviation; // "%7.3f"
};

// The generator's edge cases: each range boundary (where the clock, prescaler or divider
// changes and the reload value saturates at 255), the ends of the range, and speeds whose
// reload value rounds.
constexpr BaudCase kBaudCases[] = {
    {50, 143, 50, "  0.000"},       {56, 128, 56, "  0.000"},       {57, 252, 57, "  0.000"},
    {220, 64, 222, "  0.909"},      {223, 64, 222, " -0.448"},      {224, 255, 225, "  0.446"},
    {880, 64, 886, "  0.682"},      {893, 64, 886, " -0.784"},      {894, 255, 900, "  0.671"},
    {3572, 64, 3545, " -0.756"},    {3573, 255, 3600, "  0.756"},   {7179, 127, 7200, "  0.293"},
    {7180, 255, 7200, "  0.279"},   {9600, 191, 9600, "  0.000"},   {12345, 148, 12370, "  0.203"},
    {31250, 58, 31241, " -0.029"},  {250000, 6, 263314, "  5.326"}, {300000, 5, 307200, "  2.400"},
    {460799, 3, 460800, "  0.000"}, {460800, 3, 460800, "  0.000"},
};

TEST(ComputeBaudRate, EdgeCasesOfTheGenerator) {
    for (const BaudCase& c : kBaudCases) {
        SCOPED_TRACE(c.requested);
        const BaudRate rate = ComputeBaudRate(c.requested);
        EXPECT_EQ(rate.reload, c.reload);
        EXPECT_EQ(rate.actual, c.actual);
        char deviation[16];
        std::snprintf(deviation, sizeof deviation, "%7.3f", rate.deviation);
        EXPECT_STREQ(deviation, c.deviation);
    }
}

// Every speed the dialog accepts has a generator setting near it: the reload value fits its
// byte, and the real speed stays within 12.5 % of the request (the worst lies near the top,
// where one reload step is a large part of the speed).
TEST(ComputeBaudRate, WholeRangeStaysNearTheRequest) {
    for (uint32_t speed = 50; speed <= 460'800; ++speed) {
        const BaudRate rate = ComputeBaudRate(speed);
        ASSERT_LE(rate.reload, 255U) << speed;
        ASSERT_LE(std::abs(rate.deviation), 12.5) << speed;
        const double expected = (static_cast<double>(rate.actual) - speed) * 100.0 / speed;
        ASSERT_NEAR(rate.deviation, expected, 1e-9) << speed;
    }
}

TEST(ActualSpeedText, ReadsAsTheDialogShowsIt) {
    EXPECT_EQ(ActualSpeedText(12345), "実際の通信速度： 12370　誤差：  0.203%");
    EXPECT_EQ(ActualSpeedText(250000), "実際の通信速度：263314　誤差：  5.326%");
    EXPECT_EQ(ActualSpeedText(31250), "実際の通信速度： 31241　誤差： -0.029%");
    // A stored speed the analyzer cannot run at has no generator setting to show.
    EXPECT_EQ(ActualSpeedText(0), "");
    EXPECT_EQ(ActualSpeedText(1'000'000), "");
}

TEST(SpeedDialogModel, OpensOnTheListedButtonOrTheArbitrarySpeed) {
    const SpeedDialogModel listed(31'250);
    EXPECT_EQ(listed.choice(), 8);
    EXPECT_EQ(listed.editText(), "");
    EXPECT_FALSE(listed.editEnabled());
    EXPECT_EQ(listed.actualSpeedText(), "");

    const SpeedDialogModel arbitrary(12'345);
    EXPECT_EQ(arbitrary.choice(), SpeedDialogModel::kArbitraryChoice);
    EXPECT_EQ(arbitrary.editText(), "12345");
    EXPECT_TRUE(arbitrary.editEnabled());
    EXPECT_EQ(arbitrary.actualSpeedText(), "実際の通信速度： 12370　誤差：  0.203%");
}

TEST(SpeedDialogModel, ChoosingButtonsMovesTheSpeedThroughTheEdit) {
    testing::RecordingPrompt prompt;
    SpeedDialogModel model(12'345);
    model.choose(12); // 9600
    EXPECT_EQ(model.editText(), "");
    EXPECT_EQ(model.actualSpeedText(), "");
    ASSERT_TRUE(model.apply(prompt));
    EXPECT_EQ(model.speed(), 9600U);

    model.choose(SpeedDialogModel::kArbitraryChoice);
    EXPECT_EQ(model.editText(), "9600");
    EXPECT_EQ(model.actualSpeedText(), ""); // the text line waits for Enter or OK
    model.setEditText(" 250000 ");
    ASSERT_TRUE(model.apply(prompt));
    EXPECT_EQ(model.speed(), 250'000U);
    EXPECT_EQ(model.actualSpeedText(), "実際の通信速度：263314　誤差：  5.326%");
    EXPECT_TRUE(prompt.entries.empty());
}

TEST(SpeedDialogModel, RefusedArbitrarySpeedsKeepTheDialogsSpeed) {
    struct Refusal {
        const char* typed;
        const char* message;
        PromptIcon icon;
    };
    for (const Refusal& r : {Refusal{"49", "設定値が範囲外です。", PromptIcon::Warning},
                             Refusal{"460801", "設定値が範囲外です。", PromptIcon::Warning},
                             Refusal{"fast", "設定値が範囲外です。", PromptIcon::Warning},
                             Refusal{"  ", "設定値に誤りがあります", PromptIcon::Information}}) {
        SCOPED_TRACE(r.typed);
        testing::RecordingPrompt prompt;
        SpeedDialogModel model(12'345);
        model.setEditText(r.typed);
        EXPECT_FALSE(model.apply(prompt));
        EXPECT_EQ(model.speed(), 12'345U);
        ASSERT_EQ(prompt.entries.size(), 1U);
        EXPECT_EQ(prompt.entries[0].text, r.message);
        EXPECT_EQ(prompt.entries[0].caption, "確認");
        EXPECT_EQ(prompt.entries[0].icon, r.icon);
    }
}

} // namespace
} // namespace varnolt
