#include "core/settings/listing/SettingsListing.h"

#include "core/settings/CSaParameter.h"
#include "core/settings/listing/SettingsReport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnolt {
namespace {

TEST(SettingsListing, TriggerConditionsSpelledOut) {
    SaTriggerEntry characters;
    characters.condition = kTriggerOnCharacters;
    characters.matchLines = 2;
    characters.pattern[0] = {kPatternCharacter, '<'};
    characters.pattern[1] = {kPatternError, 1};
    characters.pattern[2] = {kPatternAny, 0};
    characters.pattern[3] = {kPatternBitMask, 1};
    characters.pattern[4] = {kPatternRange, 0};
    characters.pattern[5] = {7, 'Z'}; // ends the pattern
    characters.bitMasks[1] = {0x81, 0x40};
    characters.ranges[0] = {1, 0x30, 0, 0x39};
    EXPECT_EQ(TriggerConditionText(characters),
              "characters \"<3C><error FE><any><bits 10?????1><range 0x30..>\" on RD");

    SaTriggerEntry lines;
    lines.condition = kTriggerOnControlLine;
    lines.riseMask = 0xF001;
    lines.fallMask = 0x0800;
    EXPECT_EQ(TriggerConditionText(lines), "control-line change: RS to on, CI to off");

    SaTriggerEntry error;
    error.errorMask = 0x42;
    EXPECT_EQ(TriggerConditionText(error), "error FE on SD");
    error.condition = kTriggerOnIdle;
    error.conditionValue = 1234;
    EXPECT_EQ(TriggerConditionText(error), "idle 12.34 s");
    error.condition = 9;
    EXPECT_EQ(TriggerConditionText(error), "unknown (9)");
}

TEST(SettingsListing, TriggerActionsAndHistory) {
    struct Case {
        uint8_t action;
        uint16_t value1;
        uint16_t value2;
        const char* text;
    };
    for (const Case& c : {Case{kTriggerStopAfterDelay, 15, 0, "stop after 15 s"},
                          Case{kTriggerSend, 30, 0, "send transmit 50 after 0.30 s"},
                          Case{kTriggerSave, 100, 200, "save 100 before and 200 after the trigger"},
                          Case{kTriggerTimerOperation, 3, 1, "timer 4 reset and start"},
                          Case{kTriggerTriggerOperation, 0, 5, "trigger 1 unknown (5)"}}) {
        SaTriggerEntry trigger;
        trigger.action = c.action;
        trigger.actionValue1 = c.value1;
        trigger.actionValue2 = c.value2;
        trigger.transmitNumber = 49;
        EXPECT_EQ(TriggerActionText(trigger), c.text);
    }
    SaTriggerEntry history;
    EXPECT_EQ(TriggerHistoryText(history), "off");
    history.historyEnabled = kSaByteOn;
    history.extendedSave = 2;
    history.extendedSaveNumber = 1;
    EXPECT_EQ(TriggerHistoryText(history), "on, extended save: counter 2");
}

TEST(SettingsListing, EveryFieldOnceInPageOrder) {
    const std::vector<SettingLine> lines = ListSettings(CSaParameter{});
    ASSERT_EQ(lines.size(), 19U + 8 * 4 + 4 * 2 + 4 * 2 + 50);
    EXPECT_EQ(lines.front(), (SettingLine{"line mode", "RS-232C monitor"}));
    EXPECT_EQ(lines[18], (SettingLine{"RD end code", "off"}));
    EXPECT_EQ(lines[19], (SettingLine{"trigger 1", "off"}));
    EXPECT_EQ(lines.back(), (SettingLine{"transmit 50", "\"\""}));
}

TEST(SettingsReport, JsonEscapesQuotesAndControlCharacters) {
    const std::vector<SettingLine> lines{{"a \"b\"", "c\\d\x01"}};
    EXPECT_EQ(SettingsJson(lines), "{\n  \"a \\\"b\\\"\": \"c\\\\d\\u0001\"\n}\n");
    const std::vector<SettingLine> other{{"a \"b\"", "e"}};
    EXPECT_EQ(DifferencesJson(DiffSettings(lines, other)),
              "{\n  \"a \\\"b\\\"\": [\"c\\\\d\\u0001\", \"e\"]\n}\n");
}

} // namespace
} // namespace varnolt
