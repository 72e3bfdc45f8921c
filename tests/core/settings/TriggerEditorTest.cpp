#include "core/settings/CSaParameter.h"
#include "core/settings/dialog/TriggerActionModel.h"
#include "core/settings/dialog/TriggerCaptions.h"
#include "core/settings/dialog/TriggerConditionModel.h"
#include "core/settings/dialog/TriggerHistoryModel.h"
#include "core/settings/dialog/TriggerPageModel.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnolt {
namespace {

using testing::RecordingPrompt;
using Field = TriggerActionModel::Field;
using Texts = std::vector<std::string>;

TEST(TriggerCaptions, DefaultTrigger) {
    const SaTriggerEntry trigger;
    EXPECT_EQ(TriggerConditionCaption(trigger), "エラー発生");
    EXPECT_EQ(TriggerActionCaption(trigger), "ブザー");
    EXPECT_EQ(TriggerHistoryCaption(trigger), "□無効");
}

TEST(TriggerCaptions, EveryKindWithItsValues) {
    struct Case {
        uint8_t kind;
        uint32_t value1;
        uint32_t value2;
        const char* caption;
    };
    for (const Case& c : {Case{0, 0, 0, "文字一致"}, Case{2, 0, 0, "制御ライン変化"},
                          Case{3, 500, 0, "アイドル発生：    500"}, Case{4, 0, 0, "タイマー： 1"},
                          Case{5, 3, 0, "カウンター： 4"}, Case{0x20, 0, 0, "条件？： 32"}}) {
        SaTriggerEntry trigger;
        trigger.condition = c.kind;
        trigger.conditionValue = c.value1;
        EXPECT_EQ(TriggerConditionCaption(trigger), c.caption);
    }
    for (const Case& c : {Case{1, 0, 0, "即停止"}, Case{2, 15, 0, "遅延時間後停止：   15 秒"},
                          Case{3, 9999, 0, "一定受信後停止： 9999 文字"},
                          Case{4, 0, 0, "送信： 08"}, Case{5, 100, 200, "保存：－ 100 ：＋ 200"},
                          Case{6, 3, 0, "タイマー： 04"}, Case{7, 0, 0, "カウンタ： 01"},
                          Case{8, 7, 1, "トリガー： 08"}, Case{9, 0, 0, "動作？： 9"}}) {
        SaTriggerEntry trigger;
        trigger.action = c.kind;
        trigger.actionValue1 = static_cast<uint16_t>(c.value1);
        trigger.actionValue2 = static_cast<uint16_t>(c.value2);
        trigger.transmitNumber = 7;
        EXPECT_EQ(TriggerActionCaption(trigger), c.caption);
    }
    SaTriggerEntry history;
    history.historyEnabled = kSaByteOn;
    EXPECT_EQ(TriggerHistoryCaption(history), "■有効");
}

TEST(TriggerConditionModel, IdleToTimerStartsTheNumberAtOne) {
    SaTriggerEntry trigger;
    trigger.condition = kTriggerOnIdle;
    trigger.conditionValue = 500;
    TriggerConditionModel model(trigger);
    EXPECT_EQ(model.idleText(), "   500");
    model.chooseKind(kTriggerOnTimer);
    EXPECT_EQ(model.timerText(), "1");
    RecordingPrompt prompt;
    model.accept(trigger, prompt);
    EXPECT_EQ(trigger.condition, kTriggerOnTimer);
    EXPECT_EQ(trigger.conditionValue, 0U);
    EXPECT_EQ(TriggerConditionCaption(trigger), "タイマー： 1");
    EXPECT_TRUE(prompt.entries.empty());
}

TEST(TriggerConditionModel, OnlyTheChosenKindsFieldsGoBack) {
    SaTriggerEntry trigger;
    trigger.condition = kTriggerOnIdle;
    trigger.conditionValue = 40;
    trigger.errorMask = 0xFF;
    TriggerConditionModel model(trigger);
    model.setErrorBox(5, false); // SD, on the error page
    model.chooseKind(kTriggerOnCounter);
    model.setCounterText("3");
    RecordingPrompt prompt;
    model.accept(trigger, prompt);
    EXPECT_EQ(trigger.condition, kTriggerOnCounter);
    EXPECT_EQ(trigger.conditionValue, 2U);
    EXPECT_EQ(trigger.errorMask, 0xFF); // the error page was not the chosen one
}

TEST(TriggerConditionModel, ErrorBoxesAreTheMasksBits) {
    SaTriggerEntry trigger;
    TriggerConditionModel model(trigger);
    model.setErrorBox(0, false); // PE
    model.setErrorBox(4, false); // OE
    model.setErrorBox(6, false); // RD
    RecordingPrompt prompt;
    SaTriggerEntry cancelled = trigger; // a cancelled dialog writes nothing at all
    model.accept(trigger, prompt);
    EXPECT_EQ(trigger.errorMask, 0x76);
    EXPECT_EQ(cancelled.errorMask, 0xFF);
}

TEST(TriggerConditionModel, LineBoxesKeepTheMasksUpperBits) {
    SaTriggerEntry trigger;
    trigger.condition = kTriggerOnControlLine;
    trigger.riseMask = 0xA004; // ER "Ｈ↑"
    trigger.fallMask = 0x5000;
    TriggerConditionModel model(trigger);
    EXPECT_TRUE(model.riseBox(1));
    EXPECT_FALSE(model.riseBox(0));
    model.setRiseBox(1, false);
    model.setRiseBox(0, true); // RS
    model.setFallBox(5, true); // CI
    RecordingPrompt prompt;
    model.accept(trigger, prompt);
    EXPECT_EQ(trigger.riseMask, 0xA001);
    EXPECT_EQ(trigger.fallMask, 0x5800);
}

TEST(TriggerConditionModel, PatternMatchLinesAndTheShownElements) {
    SaTriggerEntry trigger;
    trigger.condition = kTriggerOnCharacters;
    for (size_t i = 0; i < 16; ++i) {
        trigger.pattern[i] = {kPatternCharacter, static_cast<uint8_t>('A' + i)};
    }
    TriggerConditionModel model(trigger);
    EXPECT_EQ(model.shownPattern().size(), 16U);

    const std::vector<PatternElement> typed{{1, 'X'}, {kPatternAny, 0}, {kPatternRange, 2}};
    std::array<PatternRange, kPatternRangeCount> ranges{};
    ranges[2] = {1, '0', 1, '9'};
    model.takePattern(typed, {}, ranges);
    EXPECT_EQ(model.shownPattern().size(), 3U);
    model.setMatchLine(0, false);
    RecordingPrompt prompt;
    model.accept(trigger, prompt);
    EXPECT_EQ(trigger.pattern[2], (PatternElement{kPatternRange, 2}));
    EXPECT_EQ(trigger.pattern[3], PatternElement{});
    EXPECT_EQ(trigger.ranges[2], ranges[2]);
    EXPECT_EQ(trigger.matchLines, 2);
}

TEST(TriggerConditionModel, RefusedValuesKeepTheCopysValue) {
    struct Refusal {
        uint8_t kind;
        const char* typed;
        uint32_t kept;
        const char* message;
    };
    for (const Refusal& r : {Refusal{kTriggerOnIdle, "0", 1, "設定値が範囲外です。"},
                             Refusal{kTriggerOnIdle, "1000000", 1, "設定値が範囲外です。"},
                             Refusal{kTriggerOnTimer, "5", 0, "設定値が範囲外です。"},
                             Refusal{kTriggerOnCounter, "", 0, "設定値に誤りがあります"}}) {
        SCOPED_TRACE(r.typed);
        SaTriggerEntry trigger; // an error trigger: every chosen kind starts afresh
        TriggerConditionModel model(trigger);
        model.chooseKind(r.kind);
        model.setIdleText(r.typed);
        model.setTimerText(r.typed);
        model.setCounterText(r.typed);
        RecordingPrompt prompt;
        model.accept(trigger, prompt);
        EXPECT_EQ(trigger.condition, r.kind);
        EXPECT_EQ(trigger.conditionValue, r.kept);
        EXPECT_EQ(prompt.texts(), Texts{r.message});
    }
}

TEST(TriggerConditionModel, AForeignConditionChoosesNothingAndWritesNothing) {
    SaTriggerEntry trigger;
    trigger.condition = 0x20;
    TriggerConditionModel model(trigger);
    EXPECT_EQ(model.kind(), -1);
    RecordingPrompt prompt;
    model.accept(trigger, prompt);
    EXPECT_EQ(trigger.condition, 0x20);
}

TEST(TriggerActionModel, SaveRangesRoundTrip) {
    SaTriggerEntry trigger;
    TriggerActionModel model(trigger, nullptr);
    model.chooseKind(kTriggerSave);
    EXPECT_EQ(model.text(Field::SaveBefore), "   0");
    model.setText(Field::SaveBefore, "100");
    model.setText(Field::SaveAfter, "200");
    RecordingPrompt prompt;
    model.accept(trigger, prompt);
    EXPECT_EQ(TriggerActionCaption(trigger), "保存：－ 100 ：＋ 200");
}

TEST(TriggerActionModel, ASendNumberOutOfRangeKeepsNumberAndDelay) {
    SaTriggerEntry trigger;
    trigger.action = kTriggerSend;
    trigger.transmitNumber = 4;
    trigger.actionValue1 = 30;
    TriggerActionModel model(trigger, nullptr);
    EXPECT_EQ(model.text(Field::TransmitNumber), "   5");
    EXPECT_EQ(model.text(Field::TransmitDelay), "  30");
    model.setText(Field::TransmitNumber, "51");
    model.setText(Field::TransmitDelay, "99");
    RecordingPrompt prompt;
    model.accept(trigger, prompt);
    EXPECT_EQ(prompt.texts(), Texts{"設定値が範囲外です。"});
    EXPECT_EQ(trigger.transmitNumber, 4);
    EXPECT_EQ(trigger.actionValue1, 30);
}

TEST(TriggerActionModel, SendShowsTheNamedTransmitEntry) {
    TriggerActionModel::TransmitTable table{};
    table[2].elementCount = 2;
    table[2].elements[0] = {1, 'h'};
    table[2].elements[1] = {1, 'i'};
    SaTriggerEntry trigger;
    trigger.action = kTriggerSend;
    trigger.transmitNumber = 2;
    TriggerActionModel model(trigger, &table);
    EXPECT_EQ(model.transmitCharacters().size(), 2U);
    model.setText(Field::TransmitNumber, "1");
    EXPECT_TRUE(model.transmitCharacters().empty());
    model.setText(Field::TransmitNumber, "70"); // not a number it could send: the stored one
    EXPECT_EQ(model.transmitCharacters().size(), 2U);
}

TEST(TriggerActionModel, OperationsRoundTripWithTheirGroups) {
    struct Case {
        uint8_t action;
        Field number;
        const char* typed;
        int operation;
        uint16_t value1;
    };
    for (const Case& c : {Case{kTriggerTimerOperation, Field::TimerNumber, "4", 2, 3},
                          Case{kTriggerCounterOperation, Field::CounterNumber, "2", 1, 1},
                          Case{kTriggerTriggerOperation, Field::TriggerNumber, "8", 1, 7}}) {
        SCOPED_TRACE(static_cast<int>(c.action));
        SaTriggerEntry trigger;
        TriggerActionModel model(trigger, nullptr);
        model.chooseKind(c.action);
        EXPECT_EQ(model.text(c.number), "1");
        model.setText(c.number, c.typed);
        model.timerOperation.choose(c.operation);
        model.counterOperation.choose(c.operation);
        model.triggerOperation.choose(c.operation);
        RecordingPrompt prompt;
        model.accept(trigger, prompt);
        EXPECT_TRUE(prompt.entries.empty());
        EXPECT_EQ(trigger.action, c.action);
        EXPECT_EQ(trigger.actionValue1, c.value1);
        EXPECT_EQ(trigger.actionValue2, c.operation);
    }
}

TEST(TriggerActionModel, ChoosingAnotherActionClearsItsValues) {
    SaTriggerEntry trigger;
    trigger.action = kTriggerSave;
    trigger.actionValue1 = 10;
    trigger.actionValue2 = 20;
    TriggerActionModel model(trigger, nullptr);
    model.chooseKind(kTriggerStopAfterDelay);
    EXPECT_EQ(model.text(Field::StopDelay), "   0");
    model.chooseKind(kTriggerSave); // back to the stored kind: its page keeps what it showed
    EXPECT_EQ(model.text(Field::SaveBefore), "  10");
    model.chooseKind(kTriggerBuzzer);
    RecordingPrompt prompt;
    model.accept(trigger, prompt);
    EXPECT_EQ(trigger.action, kTriggerBuzzer);
    EXPECT_EQ(trigger.actionValue1, 10); // the buzzer writes back only the action
}

TEST(TriggerActionModel, AForeignOperationIsKeptUnlessChosen) {
    SaTriggerEntry trigger;
    trigger.action = kTriggerTimerOperation;
    trigger.actionValue2 = 9;
    TriggerActionModel model(trigger, nullptr);
    EXPECT_EQ(model.timerOperation.choice(), -1);
    RecordingPrompt prompt;
    model.accept(trigger, prompt);
    EXPECT_EQ(trigger.actionValue2, 9);
}

TEST(TriggerHistoryModel, NumberIsCheckedOnlyWithHistoryAndATarget) {
    SaTriggerEntry trigger;
    TriggerHistoryModel model(trigger);
    EXPECT_FALSE(model.enabled());
    EXPECT_EQ(model.extendedSave.choice(), 0);
    EXPECT_EQ(model.numberText(), "1");
    model.extendedSave.choose(2);
    model.setNumberText("9");
    RecordingPrompt prompt;
    model.accept(trigger, prompt); // history off: the number is not looked at
    EXPECT_TRUE(prompt.entries.empty());
    EXPECT_EQ(trigger.extendedSave, 2);
    EXPECT_EQ(trigger.historyEnabled, kSaByteOff);

    model.setEnabled(true);
    model.accept(trigger, prompt);
    EXPECT_EQ(prompt.texts(), Texts{"設定値が範囲外です。"});
    EXPECT_EQ(trigger.extendedSaveNumber, 0);
    model.setNumberText("3");
    model.accept(trigger, prompt);
    EXPECT_EQ(trigger.historyEnabled, kSaByteOn);
    EXPECT_EQ(trigger.extendedSaveNumber, 2);
}

TEST(TriggerPageModel, EnabledBoxesAndTheTable) {
    CSaParameter model;
    model.triggers[3].enabled = 0x01; // neither on nor off: shown off
    TriggerPageModel page;
    page.load(model, nullptr);
    EXPECT_FALSE(page.enabled(3));
    page.setEnabled(0, true);
    CSaParameter saved;
    page.save(saved);
    EXPECT_EQ(saved.triggers[0].enabled, kSaByteOn);
    EXPECT_EQ(saved.triggers[3].enabled, 0x01);
}

} // namespace
} // namespace varnolt
