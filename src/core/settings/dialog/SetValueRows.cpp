#include "core/settings/dialog/SetValueRows.h"

#include "core/settings/dialog/DialogFormat.h"

namespace varnolt {

std::string SetValueText(uint32_t value) {
    return PrintfText("%8u", static_cast<unsigned>(value));
}

std::optional<std::array<uint32_t, 4>> CheckSetValues(const std::array<std::string_view, 4>& texts,
                                                      const SettingLimit& limit,
                                                      UserPrompt& prompt) {
    std::array<uint32_t, 4> values{};
    bool allGood = true;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::optional<uint32_t> value = CheckTypedSetting(texts[i], limit, prompt);
        if (value) {
            values[i] = *value;
        } else {
            allGood = false;
        }
    }
    if (!allGood) {
        return std::nullopt;
    }
    return values;
}

} // namespace varnolt
