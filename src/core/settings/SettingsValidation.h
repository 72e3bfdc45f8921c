#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnolt {

class UserPrompt;

// Caption of every settings validation message.
inline constexpr std::string_view kSettingsCheckCaption = "確認";

inline constexpr std::string_view kSettingEmptyText = "設定値に誤りがあります";
inline constexpr std::string_view kSettingRangeText = "設定値が範囲外です。";

// What a typed settings value may hold and what the user reads when it does not.
struct SettingLimit {
    uint32_t low = 0;
    uint32_t high = 0;
    std::string_view emptyText; // the field holds only blanks (information icon)
    // The value is outside low..high (warning icon); empty: the message names the limits.
    std::string_view rangeText;
};

inline constexpr SettingLimit kSpeedLimit{50, 460'800, kSettingEmptyText, kSettingRangeText};
inline constexpr SettingLimit kTimerSetValueLimit{0, 99'999'999, "タイマー設定値に誤りがあります",
                                                  "タイマー設定値が範囲外です。"};
inline constexpr SettingLimit kCounterSetValueLimit{0, 99'999'999, "カウンタ設定値に誤りがあります",
                                                    "カウンタ設定値が範囲外です。"};
inline constexpr SettingLimit kBacklightOffTimeLimit{0, 250,
                                                     "バックライト自動消灯　設定値に誤りがあります",
                                                     "バックライト自動消灯　設定値が範囲外です。"};
inline constexpr SettingLimit kFrameDetectionTimeLimit{0, 99'999, kSettingEmptyText, {}};
// Trigger idle condition, in 0.01 s.
inline constexpr SettingLimit kIdleTimeLimit{1, 999'999, kSettingEmptyText, kSettingRangeText};
// A timer or counter as the user numbers them (from 1): trigger condition, action, extended save.
inline constexpr SettingLimit kTimerCounterNumberLimit{1, 4, kSettingEmptyText, kSettingRangeText};
inline constexpr SettingLimit kTriggerNumberLimit{1, 8, kSettingEmptyText, kSettingRangeText};
inline constexpr SettingLimit kTransmitNumberLimit{1, 50, kSettingEmptyText, kSettingRangeText};
// Delay, character count and save extents of trigger actions.
inline constexpr SettingLimit kTriggerActionValueLimit{0, 9999, kSettingEmptyText,
                                                       kSettingRangeText};

// The decimal value of the leading digits of TEXT: 0 when it starts with anything else, the
// largest 32-bit value when the digits say more.
[[nodiscard]] uint32_t LeadingDecimal(std::string_view text);

// A typed field read as the dialogs read it: blanks trimmed, then an unsigned decimal number
// from the leading digits (text that is not a number reads as 0, a number too large for 32 bits
// as the largest one). Nothing when only blanks were typed.
[[nodiscard]] std::optional<uint32_t> ReadTypedNumber(std::string_view text);

// "設定値は    0以上、99999以下です。": the limits, each formatted "%5d".
[[nodiscard]] std::string LimitsMessage(uint32_t low, uint32_t high);

// The out-of-range message of LIMIT.
[[nodiscard]] std::string OutOfRangeMessage(const SettingLimit& limit);

// Checks VALUE against LIMIT; when outside, tells the user (warning icon) and returns false.
bool CheckSettingValue(uint32_t value, const SettingLimit& limit, UserPrompt& prompt);

// Reads typed TEXT and checks it against LIMIT: an empty field and a value out of range are
// reported through PROMPT and give nothing.
[[nodiscard]] std::optional<uint32_t>
CheckTypedSetting(std::string_view text, const SettingLimit& limit, UserPrompt& prompt);

} // namespace varnolt
