#include "core/settings/dialog/FrameDetailModel.h"

#include "core/settings/SettingsValidation.h"
#include "core/settings/dialog/DialogFormat.h"

namespace varnolt {

FrameDetailModel::FrameDetailModel(int32_t frameDetectionTime, const Delimiters& delimiters)
    : time_(frameDetectionTime), delimiters_(delimiters),
      timeText_(PrintfText("%5d", frameDetectionTime)) {
}

PatternElement FrameDetailModel::shownElement(DelimiterSlot slot) const {
    const FrameDelimiter& delimiter = delimiters_[static_cast<size_t>(slot)];
    return {static_cast<uint8_t>(delimiter.enabled), delimiter.code};
}

std::optional<PatternElement> FrameDetailModel::inputElement(DelimiterSlot slot) const {
    const FrameDelimiter& delimiter = delimiters_[static_cast<size_t>(slot)];
    if (delimiter.enabled == 0) {
        return std::nullopt;
    }
    return PatternElement{kPatternCharacter, delimiter.code};
}

void FrameDetailModel::takeInput(DelimiterSlot slot, std::optional<PatternElement> element) {
    FrameDelimiter& delimiter = delimiters_[static_cast<size_t>(slot)];
    delimiter.enabled = element ? static_cast<int8_t>(element->kind) : 0;
    delimiter.code = element ? element->value : 0;
}

void FrameDetailModel::accept(UserPrompt& prompt) {
    if (const auto typed = CheckTypedSetting(timeText_, kFrameDetectionTimeLimit, prompt)) {
        time_ = static_cast<int32_t>(*typed);
    }
}

} // namespace varnolt
