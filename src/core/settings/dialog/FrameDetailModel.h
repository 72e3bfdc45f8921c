#pragma once

#include "core/capture/CaptureHeader.h"
#include "core/settings/PatternElement.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnolt {

class UserPrompt;

// What the dialog "フレーム詳細" decides: the frame detection time and the start and end codes
// of the SD and RD frames, each entered as one code through the character input dialog.
class FrameDetailModel {
public:
    static constexpr std::string_view kTitle = "フレーム詳細";
    using Delimiters = std::array<FrameDelimiter, 4>; // indexed by DelimiterSlot

    FrameDetailModel(int32_t frameDetectionTime, const Delimiters& delimiters);

    [[nodiscard]] const std::string& timeText() const { return timeText_; }
    void setTimeText(std::string_view text) { timeText_ = text; }

    // What a code field shows: the one-element pattern (kind = enabled, value = code), whose
    // display text is the code's glyph when enabled is 1 and nothing when it is 0.
    [[nodiscard]] PatternElement shownElement(DelimiterSlot slot) const;
    // What the character input dialog opens with: the code when the delimiter is on, nothing
    // when it is off.
    [[nodiscard]] std::optional<PatternElement> inputElement(DelimiterSlot slot) const;
    // The input dialog's result: its one element switches the delimiter on with that code;
    // nothing switches it off.
    void takeInput(DelimiterSlot slot, std::optional<PatternElement> element);

    // OK: checks the typed time (an empty field or one above 99,999 is reported and keeps the
    // previous time). The dialog closes with OK either way.
    void accept(UserPrompt& prompt);

    [[nodiscard]] int32_t frameDetectionTime() const { return time_; }
    [[nodiscard]] const Delimiters& delimiters() const { return delimiters_; }

private:
    int32_t time_;
    Delimiters delimiters_;
    std::string timeText_;
};

} // namespace varnolt
