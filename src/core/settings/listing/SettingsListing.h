#pragma once

#include <string>
#include <vector>

namespace varnolt {

class CSaParameter;
struct PatternElement;
struct SaTriggerEntry;
struct SaTxEntry;

// One setting as an engineer reads it: "speed" and "9600 bit/s".
struct SettingLine {
    std::string name;
    std::string value;

    friend bool operator==(const SettingLine&, const SettingLine&) = default;
};

// Every setting of MODEL, in the order of the settings dialog's pages: communication,
// display, frame recognition, triggers, timers, counters, transmit entries. Values outside
// their lists read "unknown (N)".
[[nodiscard]] std::vector<SettingLine> ListSettings(const CSaParameter& model);

// The condition, action and history of TRIGGER spelled out ("characters \"AB\" on SD and RD",
// "send transmit 3 after 0.30 s", "on, extended save: timer 2").
[[nodiscard]] std::string TriggerConditionText(const SaTriggerEntry& trigger);
[[nodiscard]] std::string TriggerActionText(const SaTriggerEntry& trigger);
[[nodiscard]] std::string TriggerHistoryText(const SaTriggerEntry& trigger);

// Characters as quoted text: printable ASCII as itself, anything else (and '"', '<') as its
// code in hex between angle brackets: "OK<0D><0A>".
[[nodiscard]] std::string QuotedCharacters(const SaTxEntry& entry);

} // namespace varnolt
