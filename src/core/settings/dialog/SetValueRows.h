#pragma once

#include "core/settings/SettingsValidation.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnolt {

class UserPrompt;

// A timer's or counter's value as its row shows it ("%8d"; the fields are unsigned).
[[nodiscard]] std::string SetValueText(uint32_t value);

// The typed set values of ROWS (anything with a setText).
template <typename Row>
[[nodiscard]] std::array<std::string_view, 4> SetTextsOf(const std::array<Row, 4>& rows) {
    std::array<std::string_view, 4> texts;
    for (size_t i = 0; i < rows.size(); ++i) {
        texts[i] = rows[i].setText;
    }
    return texts;
}

// The set values typed in four rows, each checked against LIMIT with one message per bad row;
// nothing unless all four are good.
[[nodiscard]] std::optional<std::array<uint32_t, 4>>
CheckSetValues(const std::array<std::string_view, 4>& texts, const SettingLimit& limit,
               UserPrompt& prompt);

} // namespace varnolt
