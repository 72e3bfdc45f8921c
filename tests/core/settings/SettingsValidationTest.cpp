#include "core/settings/SettingsValidation.h"

#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace varnolt {
namespace {

TEST(ReadTypedNumber, ReadsUnsignedDecimalAfterTrimmingBlanks) {
    EXPECT_EQ(ReadTypedNumber("  42\t"), 42u);
    EXPECT_EQ(ReadTypedNumber("0099"), 99u);
    EXPECT_EQ(ReadTypedNumber("12ab"), 12u);
    EXPECT_EQ(ReadTypedNumber("abc"), 0u);
    EXPECT_EQ(ReadTypedNumber("-5"), 0u);
    EXPECT_EQ(ReadTypedNumber("99999999999999999999"), 4'294'967'295u);
    EXPECT_EQ(ReadTypedNumber(" \t "), std::nullopt);
    EXPECT_EQ(ReadTypedNumber(""), std::nullopt);
}

TEST(LimitsMessage, PadsEachLimitToFiveColumns) {
    EXPECT_EQ(LimitsMessage(0, 99'999), "設定値は    0以上、99999以下です。");
    EXPECT_EQ(OutOfRangeMessage(kFrameDetectionTimeLimit), "設定値は    0以上、99999以下です。");
}

struct CheckCase {
    const char* name;
    const char* text;
    const SettingLimit* limit;
    std::optional<uint32_t> value;
    const char* message; // nullptr: none
    PromptIcon icon;
};

class CheckTypedSettingTable : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckTypedSettingTable, AcceptsOrExplains) {
    const CheckCase& c = GetParam();
    testing::RecordingPrompt prompt;
    EXPECT_EQ(CheckTypedSetting(c.text, *c.limit, prompt), c.value);
    if (c.message == nullptr) {
        EXPECT_TRUE(prompt.entries.empty());
        return;
    }
    ASSERT_EQ(prompt.entries.size(), 1u);
    EXPECT_EQ(prompt.entries[0].text, c.message);
    EXPECT_EQ(prompt.entries[0].caption, "確認");
    EXPECT_EQ(prompt.entries[0].icon, c.icon);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, CheckTypedSettingTable,
    ::testing::Values(
        CheckCase{"speed_low", "50", &kSpeedLimit, 50u, nullptr, PromptIcon::None},
        CheckCase{"speed_high", " 460800 ", &kSpeedLimit, 460'800u, nullptr, PromptIcon::None},
        CheckCase{"speed_below", "49", &kSpeedLimit, std::nullopt, "設定値が範囲外です。",
                  PromptIcon::Warning},
        CheckCase{"speed_text", "fast", &kSpeedLimit, std::nullopt, "設定値が範囲外です。",
                  PromptIcon::Warning},
        CheckCase{"speed_empty", "  ", &kSpeedLimit, std::nullopt, "設定値に誤りがあります",
                  PromptIcon::Information},
        CheckCase{"timer_above", "100000000", &kTimerSetValueLimit, std::nullopt,
                  "タイマー設定値が範囲外です。", PromptIcon::Warning},
        CheckCase{"timer_empty", "", &kTimerSetValueLimit, std::nullopt,
                  "タイマー設定値に誤りがあります", PromptIcon::Information},
        CheckCase{"counter_above", "100000000", &kCounterSetValueLimit, std::nullopt,
                  "カウンタ設定値が範囲外です。", PromptIcon::Warning},
        CheckCase{"counter_empty", "", &kCounterSetValueLimit, std::nullopt,
                  "カウンタ設定値に誤りがあります", PromptIcon::Information},
        CheckCase{"backlight_above", "251", &kBacklightOffTimeLimit, std::nullopt,
                  "バックライト自動消灯　設定値が範囲外です。", PromptIcon::Warning},
        CheckCase{"backlight_empty", "", &kBacklightOffTimeLimit, std::nullopt,
                  "バックライト自動消灯　設定値に誤りがあります", PromptIcon::Information},
        CheckCase{"frame_time_above", "100000", &kFrameDetectionTimeLimit, std::nullopt,
                  "設定値は    0以上、99999以下です。", PromptIcon::Warning},
        CheckCase{"idle_zero", "0", &kIdleTimeLimit, std::nullopt, "設定値が範囲外です。",
                  PromptIcon::Warning},
        CheckCase{"timer_number_5", "5", &kTimerCounterNumberLimit, std::nullopt,
                  "設定値が範囲外です。", PromptIcon::Warning},
        CheckCase{"trigger_number_8", "8", &kTriggerNumberLimit, 8u, nullptr, PromptIcon::None},
        CheckCase{"transmit_number_51", "51", &kTransmitNumberLimit, std::nullopt,
                  "設定値が範囲外です。", PromptIcon::Warning},
        CheckCase{"action_value_10000", "10000", &kTriggerActionValueLimit, std::nullopt,
                  "設定値が範囲外です。", PromptIcon::Warning}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace varnolt
