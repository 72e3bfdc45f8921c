#pragma once

#include "core/settings/SaTriggerEntry.h"

#include <array>
#include <string>
#include <string_view>

namespace varnolt {

// The kinds as the drop-down lists of the condition and action dialogs name them.
inline constexpr std::array<std::string_view, kTriggerConditionCount> kTriggerConditionNames = {
    "文字一致", "エラー発生", "制御ライン変化", "アイドル発生", "タイマー", "カウンタ"};
inline constexpr size_t kTriggerActionCount = 9;
inline constexpr std::array<std::string_view, kTriggerActionCount> kTriggerActionNames = {
    "ブザー", "即停止",   "遅延時間後停止", "一定受信後停止", "送信",
    "保存",   "タイマー", "カウンタ",       "トリガー"};

// The captions of a trigger row's buttons: its condition ("アイドル発生：    500"), its action
// ("保存：－ 100 ：＋ 200") and its history ("■有効" or "□無効"). Numbers stored from 0 are
// shown from 1. A condition or action outside the lists (a remote read does not normalize) is
// shown as the number it is ("条件？： 32").
[[nodiscard]] std::string TriggerConditionCaption(const SaTriggerEntry& trigger);
[[nodiscard]] std::string TriggerActionCaption(const SaTriggerEntry& trigger);
[[nodiscard]] std::string TriggerHistoryCaption(const SaTriggerEntry& trigger);

} // namespace varnolt
