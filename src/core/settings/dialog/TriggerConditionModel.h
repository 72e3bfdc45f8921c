#pragma once

#include "core/settings/SaTriggerEntry.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace varnolt {

class UserPrompt;

// Control lines of the condition "制御ライン変化", in the order of their 2-bit mask fields.
inline constexpr size_t kTriggerLineCount = 6;
inline constexpr std::array<std::string_view, kTriggerLineCount> kTriggerLineNames = {
    "RS", "ER", "CS", "DR", "CD", "CI"};
inline constexpr std::array<std::string_view, kTriggerLineCount> kTriggerLinePinNames = {
    "(RTS)", "(DTR)", "(CTS)", "(DSR)", "(DCD)", "(RI)"};

// Bits of the error condition's mask, in the order of the page's check boxes: "PE", "FE",
// "PF", "BR", "OE" under "有効エラー種類", then "SD", "RD" under "有効ライン".
inline constexpr size_t kTriggerErrorBoxCount = 7;
inline constexpr std::array<uint8_t, kTriggerErrorBoxCount> kTriggerErrorBits = {
    0x80, 0x40, 0x20, 0x10, 0x08, 0x02, 0x01};

// What the dialog "トリガー　条件" decides for one trigger. It edits a copy of the trigger; on
// OK the page of the chosen kind checks its fields and only that kind's fields go back into
// the trigger.
class TriggerConditionModel {
public:
    static constexpr std::string_view kTitle = "トリガー　条件";

    explicit TriggerConditionModel(const SaTriggerEntry& trigger);

    // The drop-down list: the condition, −1 for a stored condition outside the list.
    [[nodiscard]] int kind() const { return kind_; }
    // Choosing idle, timer or counter while the trigger's stored condition is another kind
    // starts that kind's value afresh (idle time 1, number 1) and refills its page.
    void chooseKind(int kind);

    // "文字一致": the pattern as shown (up to the element that ends it), the whole pattern
    // with its bit masks and ranges for the character input dialog, and the match lines.
    [[nodiscard]] std::span<const PatternElement> shownPattern() const;
    [[nodiscard]] const SaTriggerEntry& copy() const { return copy_; }
    // The input dialog's result: up to sixteen elements (the rest become (0, 0)), the bit
    // masks and the ranges.
    void takePattern(std::span<const PatternElement> elements,
                     const std::array<PatternBitMask, kPatternBitMaskCount>& bitMasks,
                     const std::array<PatternRange, kPatternRangeCount>& ranges);
    [[nodiscard]] bool matchLine(int line) const; // 0 SD, 1 RD
    void setMatchLine(int line, bool on);

    // "エラー発生": box I of kTriggerErrorBits.
    [[nodiscard]] bool errorBox(size_t box) const;
    void setErrorBox(size_t box, bool on);

    // "制御ライン変化": "Ｈ↑" and "Ｌ↓" of line I.
    [[nodiscard]] bool riseBox(size_t line) const { return rise_.at(line); }
    [[nodiscard]] bool fallBox(size_t line) const { return fall_.at(line); }
    void setRiseBox(size_t line, bool on) { rise_.at(line) = on; }
    void setFallBox(size_t line, bool on) { fall_.at(line) = on; }

    // The edits of "アイドル発生" ("%6d"), "タイマー" and "カウンタ" ("%1d", shown from 1).
    [[nodiscard]] const std::string& idleText() const { return idleText_; }
    [[nodiscard]] const std::string& timerText() const { return timerText_; }
    [[nodiscard]] const std::string& counterText() const { return counterText_; }
    void setIdleText(std::string_view text) { idleText_ = text; }
    void setTimerText(std::string_view text) { timerText_ = text; }
    void setCounterText(std::string_view text) { counterText_ = text; }

    // Enter: the shown page's check, without closing.
    void checkPage(UserPrompt& prompt);
    // OK: the shown page's check, then its kind's fields into TRIGGER. A value that fails its
    // check keeps the copy's previous value; the dialog closes either way.
    void accept(SaTriggerEntry& trigger, UserPrompt& prompt);

private:
    void fillPage(int kind);

    SaTriggerEntry copy_;
    uint8_t storedCondition_;
    int kind_;
    std::array<bool, kTriggerLineCount> rise_{};
    std::array<bool, kTriggerLineCount> fall_{};
    std::string idleText_;
    std::string timerText_;
    std::string counterText_;
};

} // namespace varnolt
