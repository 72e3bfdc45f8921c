#include "core/settings/SettingsValidation.h"

#include "core/platform/UserPrompt.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace varnolt {

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string FormatWidth5(uint32_t value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%5u", static_cast<unsigned>(value));
    return digits;
}

} // namespace

uint32_t LeadingDecimal(std::string_view text) {
    constexpr uint64_t kMax = std::numeric_limits<uint32_t>::max();
    uint64_t value = 0;
    for (const char ch : text) {
        if (ch < '0' || ch > '9') {
            break;
        }
        value = std::min(value * 10 + static_cast<uint64_t>(ch - '0'), kMax);
    }
    return static_cast<uint32_t>(value);
}

std::optional<uint32_t> ReadTypedNumber(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) {
        return std::nullopt;
    }
    return LeadingDecimal(text);
}

std::string LimitsMessage(uint32_t low, uint32_t high) {
    return "設定値は" + FormatWidth5(low) + "以上、" + FormatWidth5(high) + "以下です。";
}

std::string OutOfRangeMessage(const SettingLimit& limit) {
    if (limit.rangeText.empty()) {
        return LimitsMessage(limit.low, limit.high);
    }
    return std::string(limit.rangeText);
}

bool CheckSettingValue(uint32_t value, const SettingLimit& limit, UserPrompt& prompt) {
    if (value >= limit.low && value <= limit.high) {
        return true;
    }
    prompt.message(OutOfRangeMessage(limit), kSettingsCheckCaption, PromptIcon::Warning);
    return false;
}

std::optional<uint32_t> CheckTypedSetting(std::string_view text, const SettingLimit& limit,
                                          UserPrompt& prompt) {
    const std::optional<uint32_t> value = ReadTypedNumber(text);
    if (!value) {
        prompt.message(limit.emptyText, kSettingsCheckCaption, PromptIcon::Information);
        return std::nullopt;
    }
    if (!CheckSettingValue(*value, limit, prompt)) {
        return std::nullopt;
    }
    return value;
}

} // namespace varnolt
