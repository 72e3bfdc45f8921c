#include "core/settings/listing/SettingsListing.h"

#include "core/settings/CSaParameter.h"
#include "core/settings/listing/ListingText.h"

#include <array>
#include <string_view>

namespace varnolt {

namespace {

constexpr std::array<std::string_view, 4> kLineModes = {
    "RS-232C monitor", "RS-232C simulation", "RS-422/485 monitor", "RS-422/485 simulation"};
constexpr std::array<std::string_view, 4> kIdleDisplays = {"off", "0.001 s", "0.01 s", "0.1 s"};
constexpr std::array<std::string_view, 6> kTimeDisplays = {
    "off",       "date and time to 1 s", "date and time to 0.01 s",
    "date only", "time to 1 s",          "time to 0.01 s"};
constexpr std::array<std::string_view, 4> kDelimiterNames = {"SD start code", "SD end code",
                                                             "RD start code", "RD end code"};
constexpr std::array<std::string_view, 4> kTimerUnits = {"1 s", "0.1 s", "0.01 s", "0.001 s"};

std::string ParityText(int32_t parity) {
    switch (parity) {
    case kParityNone:
        return "none";
    case kParityEven:
        return "even";
    case kParityOdd:
        return "odd";
    default:
        return UnknownValue(parity);
    }
}

std::string FlagText(int64_t value, int64_t on, int64_t off) {
    return value == on ? "on" : value == off ? "off" : UnknownValue(value);
}

std::string DelimiterText(const FrameDelimiter& delimiter) {
    if (delimiter.enabled == 0) {
        return "off";
    }
    const std::string code = HexByte(delimiter.code);
    return delimiter.enabled == 1 ? code : code + " (" + UnknownValue(delimiter.enabled) + ")";
}

std::string Numbered(std::string_view what, size_t index, std::string_view field = {}) {
    std::string name = std::string(what) + " " + std::to_string(index + 1);
    if (!field.empty()) {
        name += " ";
        name += field;
    }
    return name;
}

void ListGeneral(const CSaParameter& m, std::vector<SettingLine>& lines) {
    const auto add = [&lines](std::string_view name, std::string value) {
        lines.push_back({std::string(name), std::move(value)});
    };
    add("line mode", NameOf(kLineModes, m.lineMode - 1));
    add("speed", std::to_string(m.speed) + " bit/s");
    add("data bits", std::to_string(m.dataBits));
    add("parity", ParityText(m.parity));
    add("stop bits", std::to_string(m.stopBits));
    add("RS-422/485 transmit output",
        NameOf(std::array<std::string_view, 2>{"while sending", "always"}, m.transmitOutput));
    add("display mode",
        NameOf(std::array<std::string_view, 2>{"continuous", "frame"}, m.displayMode));
    add("idle display", NameOf(kIdleDisplays, m.idleDisplay));
    add("time display", NameOf(kTimeDisplays, m.timeDisplay));
    add("control-line capture", FlagText(m.controlLineCapture, 1, 0));
    add("control-line drawing",
        NameOf(std::array<std::string_view, 2>{"line", "filled"}, m.controlLineDrawing));
    add("operation keys",
        NameOf(std::array<std::string_view, 2>{"one row", "two rows"}, m.operationKeys));
    add("character size",
        NameOf(std::array<std::string_view, 2>{"standard", "small"}, m.characterSize));
    add("backlight off time",
        m.backlightOffTime == 0 ? "never" : std::to_string(m.backlightOffTime) + " min");
    add("frame detection time", std::to_string(m.frameDetectionTime) + " ms");
    for (size_t i = 0; i < m.frameDelimiters.size(); ++i) {
        add(kDelimiterNames[i], DelimiterText(m.frameDelimiters[i]));
    }
}

} // namespace

std::string QuotedCharacters(const SaTxEntry& entry) {
    std::string text = "\"";
    for (const PatternElement& element : entry.usedElements()) {
        text += CharacterText(element.value);
    }
    return text + "\"";
}

std::vector<SettingLine> ListSettings(const CSaParameter& m) {
    std::vector<SettingLine> lines;
    ListGeneral(m, lines);
    for (size_t i = 0; i < m.triggers.size(); ++i) {
        const SaTriggerEntry& trigger = m.triggers[i];
        lines.push_back({Numbered("trigger", i), FlagText(trigger.enabled, kSaByteOn, kSaByteOff)});
        lines.push_back({Numbered("trigger", i, "condition"), TriggerConditionText(trigger)});
        lines.push_back({Numbered("trigger", i, "action"), TriggerActionText(trigger)});
        lines.push_back({Numbered("trigger", i, "history"), TriggerHistoryText(trigger)});
    }
    for (size_t i = 0; i < m.timers.size(); ++i) {
        const SaTimerEntry& timer = m.timers[i];
        lines.push_back({Numbered("timer", i, "set value"),
                         std::to_string(timer.setValue) + " x " + NameOf(kTimerUnits, timer.unit)});
        lines.push_back(
            {Numbered("timer", i, "auto start"), FlagText(timer.autoStart, kSaFlagOn, kSaFlagOff)});
    }
    for (size_t i = 0; i < m.counters.size(); ++i) {
        const SaCounterEntry& counter = m.counters[i];
        lines.push_back({Numbered("counter", i, "set value"), std::to_string(counter.setValue)});
        lines.push_back({Numbered("counter", i, "reset at start"),
                         FlagText(counter.resetAtStart, kSaFlagOn, kSaFlagOff)});
    }
    for (size_t i = 0; i < m.transmitEntries.size(); ++i) {
        lines.push_back({Numbered("transmit", i), QuotedCharacters(m.transmitEntries[i])});
    }
    return lines;
}

} // namespace varnolt
