#include "core/settings/CSaParameter.h"
#include "core/settings/dialog/CommunicationPageModel.h"
#include "core/settings/dialog/CounterPageModel.h"
#include "core/settings/dialog/DisplayPageModel.h"
#include "core/settings/dialog/SettingsRemote.h"
#include "core/settings/dialog/TimerPageModel.h"
#include "core/settings/dialog/TransmitPageModel.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnolt {
namespace {

using testing::RecordingPrompt;
using Texts = std::vector<std::string>;

TEST(CommunicationPage, SpeedsSelectTheirChoiceOrOther) {
    struct SpeedCase {
        uint32_t speed;
        int choice;
        const char* otherText;
    };
    for (const SpeedCase& c : {SpeedCase{230'400, 0, ""}, SpeedCase{9600, 7, ""},
                               SpeedCase{600, 11, ""}, SpeedCase{31'250, 12, "31250"},
                               SpeedCase{460'800, 12, "460800"}, SpeedCase{7, 12, "7"}}) {
        SCOPED_TRACE(c.speed);
        CSaParameter model;
        model.speed = c.speed;
        CommunicationPageModel page;
        page.load(model);
        EXPECT_EQ(page.speedChoice(), c.choice);
        EXPECT_EQ(page.otherSpeedText(), c.otherText);
        CSaParameter saved;
        page.save(saved);
        EXPECT_EQ(saved.speed, c.speed);
    }
}

TEST(CommunicationPage, GroupsMapToTheirFields) {
    CSaParameter model;
    model.lineMode = kLineRs422Simulation;
    model.dataBits = 7;
    model.parity = kParityOdd;
    model.stopBits = 2;
    model.transmitOutput = 1;
    CommunicationPageModel page;
    page.load(model);
    EXPECT_EQ(page.lineType(), 1);
    EXPECT_EQ(page.lineModeChoice(), 1);
    EXPECT_EQ(page.dataBits.choice(), 0);
    EXPECT_EQ(page.parity.choice(), 2);
    EXPECT_EQ(page.stopBits.choice(), 1);
    EXPECT_EQ(page.transmitOutput.choice(), 1);

    page.chooseLineType(0);
    page.chooseListedSpeed(1);
    page.parity.choose(1);
    CSaParameter saved;
    page.save(saved);
    EXPECT_EQ(saved.lineMode, kLineRs232cSimulation);
    EXPECT_EQ(saved.speed, 115'200U);
    EXPECT_EQ(saved.parity, kParityEven);
    EXPECT_EQ(saved.dataBits, 7);
}

// A remote read does not normalize: a value outside a group's list selects nothing and goes
// back unchanged, unless the user chooses.
TEST(CommunicationPage, ForeignValuesShowNoChoiceAndAreKept) {
    CSaParameter model;
    model.lineMode = 9;
    model.parity = 1;
    model.dataBits = 5;
    CommunicationPageModel page;
    page.load(model);
    EXPECT_EQ(page.lineType(), -1);
    EXPECT_EQ(page.lineModeChoice(), -1);
    EXPECT_EQ(page.parity.choice(), -1);
    CSaParameter saved;
    page.save(saved);
    EXPECT_EQ(saved.lineMode, 9);
    EXPECT_EQ(saved.parity, 1);
    EXPECT_EQ(saved.dataBits, 5);

    page.chooseMode(1); // the type group then shows (and gives) its first choice
    EXPECT_EQ(page.lineType(), 0);
    page.save(saved);
    EXPECT_EQ(saved.lineMode, kLineRs232cSimulation);
}

TEST(CommunicationPage, SpeedDialogResultKeepsTheOtherChoices) {
    CommunicationPageModel page;
    page.load(CSaParameter{});
    page.parity.choose(2);
    page.setOtherSpeed(12'345);
    EXPECT_EQ(page.speedChoice(), CommunicationPageModel::kOtherSpeedChoice);
    EXPECT_EQ(page.otherSpeedText(), "12345");
    EXPECT_EQ(page.parity.choice(), 2);
    page.setOtherSpeed(57'600); // a listed speed selects its own choice
    EXPECT_EQ(page.speedChoice(), 2);
    EXPECT_EQ(page.otherSpeedText(), "");
}

TEST(DisplayPage, TimeDisplayFollowsTheDateAndTimeGroups) {
    struct TimeCase {
        int32_t timeDisplay;
        int date;
        int time;
    };
    for (const TimeCase& c : {TimeCase{1, 1, 1}, TimeCase{2, 1, 2}, TimeCase{3, 1, 0},
                              TimeCase{4, 0, 1}, TimeCase{5, 0, 2}, TimeCase{0, 0, 0}}) {
        SCOPED_TRACE(c.timeDisplay);
        CSaParameter model;
        model.timeDisplay = c.timeDisplay;
        DisplayPageModel page;
        page.load(model);
        EXPECT_EQ(page.dateChoice(), c.date);
        EXPECT_EQ(page.timeChoice(), c.time);

        DisplayPageModel chosen;
        chosen.load(CSaParameter{});
        chosen.chooseDate(c.date);
        chosen.chooseTime(c.time);
        RecordingPrompt prompt;
        CSaParameter saved;
        ASSERT_TRUE(chosen.save(saved, prompt));
        EXPECT_EQ(saved.timeDisplay, c.timeDisplay);
    }
}

TEST(DisplayPage, IdleChoicesAreNoneThenCoarseToFine) {
    const int32_t idleOfChoice[] = {0, 3, 2, 1}; // 無し, 0.1秒, 0.01秒, 0.001秒
    for (int choice = 0; choice < 4; ++choice) {
        CSaParameter model;
        model.idleDisplay = idleOfChoice[choice];
        DisplayPageModel page;
        page.load(model);
        EXPECT_EQ(page.idleDisplay.choice(), choice);
    }
}

TEST(DisplayPage, ForeignValuesShowNoChoiceAndAreKept) {
    CSaParameter model;
    model.timeDisplay = 9;
    model.controlLineCapture = 2;
    model.idleDisplay = 7;
    DisplayPageModel page;
    page.load(model);
    EXPECT_EQ(page.dateChoice(), -1);
    EXPECT_EQ(page.timeChoice(), -1);
    EXPECT_EQ(page.controlLineCapture.choice(), -1);
    RecordingPrompt prompt;
    CSaParameter saved;
    ASSERT_TRUE(page.save(saved, prompt));
    EXPECT_EQ(saved.timeDisplay, 9);
    EXPECT_EQ(saved.controlLineCapture, 2);
    EXPECT_EQ(saved.idleDisplay, 7);
}

TEST(DisplayPage, BacklightIsCheckedBeforeAnythingIsStored) {
    CSaParameter model;
    model.backlightOffTime = 30;
    DisplayPageModel page;
    page.load(model);
    EXPECT_EQ(page.backlightText(), " 30");
    page.displayMode.choose(1);
    for (const char* typed : {"251", ""}) {
        page.setBacklightText(typed);
        RecordingPrompt prompt;
        CSaParameter saved;
        EXPECT_FALSE(page.save(saved, prompt));
        EXPECT_EQ(saved.displayMode, 0);
        EXPECT_EQ(saved.backlightOffTime, 0);
    }
    page.setBacklightText("250");
    RecordingPrompt prompt;
    CSaParameter saved;
    ASSERT_TRUE(page.save(saved, prompt));
    EXPECT_EQ(saved.displayMode, 1);
    EXPECT_EQ(saved.backlightOffTime, 250);
}

TEST(DisplayPage, FrameDetailTakesTimeAndCodesButNotTheSpareBytes) {
    CSaParameter model;
    model.frameDelimiters[0] = {0, 0, 0x55};
    DisplayPageModel page;
    page.load(model);
    FrameDetailModel detail = page.frameDetail();
    EXPECT_EQ(detail.timeText(), "  100");
    detail.takeInput(DelimiterSlot::RdEnd, PatternElement{kPatternCharacter, 0x0D});
    detail.setTimeText("250");
    RecordingPrompt prompt;
    detail.accept(prompt);
    page.takeFrameDetail(detail);
    CSaParameter saved = model;
    ASSERT_TRUE(page.save(saved, prompt));
    EXPECT_EQ(saved.frameDetectionTime, 250);
    EXPECT_EQ(saved.frameDelimiters[3], (FrameDelimiter{1, 0x0D, 0}));
    EXPECT_EQ(saved.frameDelimiters[0], (FrameDelimiter{0, 0, 0x55}));
    EXPECT_TRUE(prompt.entries.empty());
}

TEST(FrameDetail, CodesAndTheTimeCheck) {
    FrameDetailModel::Delimiters delimiters{};
    delimiters[1] = {1, 0x03, 0};
    FrameDetailModel detail(100, delimiters);
    EXPECT_EQ(detail.inputElement(DelimiterSlot::SdStart), std::nullopt);
    EXPECT_EQ(detail.inputElement(DelimiterSlot::SdEnd), (PatternElement{1, 0x03}));
    EXPECT_EQ(detail.shownElement(DelimiterSlot::SdEnd), (PatternElement{1, 0x03}));
    detail.takeInput(DelimiterSlot::SdEnd, std::nullopt);
    EXPECT_EQ(detail.delimiters()[1], (FrameDelimiter{0, 0, 0}));

    RecordingPrompt prompt;
    detail.setTimeText("100000");
    detail.accept(prompt);
    detail.setTimeText(" ");
    detail.accept(prompt);
    EXPECT_EQ(detail.frameDetectionTime(), 100);
    ASSERT_EQ(prompt.entries.size(), 2U);
    EXPECT_EQ(prompt.entries[0].text, "設定値は    0以上、99999以下です。");
    EXPECT_EQ(prompt.entries[0].icon, PromptIcon::Warning);
    EXPECT_EQ(prompt.entries[1].text, "設定値に誤りがあります");
    EXPECT_EQ(prompt.entries[1].icon, PromptIcon::Information);
}

TEST(TimerPage, RowsShowValuesUnitsAndAutoStart) {
    CSaParameter model;
    model.timers[0] = {99'999'999, 12, kSaFlagOn, kTimerUnitMillisecond};
    model.timers[1].unit = 7; // outside the list
    TimerPageModel page;
    page.load(model);
    EXPECT_EQ(page.row(0).setText, "99999999");
    EXPECT_EQ(page.row(0).currentText, "      12");
    EXPECT_EQ(page.row(0).unit.choice(), 3);
    EXPECT_TRUE(page.row(0).autoStart);
    EXPECT_EQ(page.row(1).unit.choice(), -1);

    page.setAutoStart(0, false);
    page.chooseUnit(2, 1);
    page.setSetText(3, " 42 ");
    RecordingPrompt prompt;
    CSaParameter saved;
    ASSERT_TRUE(page.save(saved, prompt));
    EXPECT_EQ(saved.timers[0].autoStart, kSaFlagOff);
    EXPECT_EQ(saved.timers[1].unit, 7);
    EXPECT_EQ(saved.timers[2].unit, kTimerUnitTenth);
    EXPECT_EQ(saved.timers[3].setValue, 42U);
}

TEST(TimerPage, OneBadRowStoresNothingAndEachBadRowIsReported) {
    TimerPageModel page;
    page.load(CSaParameter{});
    page.setSetText(0, "5");
    page.setSetText(1, "100000000");
    page.setSetText(3, "");
    RecordingPrompt prompt;
    CSaParameter saved;
    EXPECT_FALSE(page.save(saved, prompt));
    EXPECT_EQ(saved.timers[0].setValue, 0U);
    EXPECT_EQ(prompt.texts(),
              (Texts{"タイマー設定値が範囲外です。", "タイマー設定値に誤りがあります"}));
}

class FakeRemote final : public SettingsRemote {
public:
    bool read(CSaParameter&, SettingsStatus&) override { return true; }
    bool write(const CSaParameter&, SettingsStatus&) override { return true; }
    int64_t resetCounter(int32_t counter) override {
        resets.push_back(counter);
        return answer;
    }
    std::vector<int32_t> resets;
    int64_t answer = 0;
};

TEST(CounterPage, ResetShowsTheAnswerOnlyWhileConnected) {
    CSaParameter model;
    model.counters[2].currentValue = 77;
    CounterPageModel page;
    FakeRemote remote;
    page.load(model, false);
    EXPECT_FALSE(page.resetEnabled());
    EXPECT_FALSE(page.resetCounter(2, remote));
    EXPECT_TRUE(remote.resets.empty());

    page.load(model, true);
    remote.answer = -1; // the exchange failed
    EXPECT_FALSE(page.resetCounter(2, remote));
    EXPECT_EQ(page.row(2).currentText, "      77");
    remote.answer = 3;
    EXPECT_TRUE(page.resetCounter(2, remote));
    EXPECT_EQ(page.row(2).currentText, "       3");
    EXPECT_EQ(remote.resets, (std::vector<int32_t>{2, 2}));

    RecordingPrompt prompt;
    CSaParameter saved;
    ASSERT_TRUE(page.save(saved, prompt));
    EXPECT_EQ(saved.counters[2].currentValue, 3U);
}

TEST(CounterPage, ResetAtStartAndTheSetValueCheck) {
    CounterPageModel page;
    page.load(CSaParameter{}, false);
    EXPECT_TRUE(page.row(0).resetAtStart); // on by default
    page.setResetAtStart(0, false);
    page.setSetText(1, "");
    RecordingPrompt prompt;
    CSaParameter saved;
    EXPECT_FALSE(page.save(saved, prompt));
    EXPECT_EQ(prompt.texts(), Texts{"カウンタ設定値に誤りがあります"});
    EXPECT_EQ(saved.counters[0].resetAtStart, kSaFlagOn);
    page.setSetText(1, "99999999");
    ASSERT_TRUE(page.save(saved, prompt));
    EXPECT_EQ(saved.counters[0].resetAtStart, kSaFlagOff);
    EXPECT_EQ(saved.counters[1].setValue, 99'999'999U);
}

TEST(TransmitPage, EditCopyPasteAndErase) {
    TransmitPageModel page;
    page.load(CSaParameter{});
    const std::vector<PatternElement> text{{1, 'O'}, {1, 'K'}, {1, 0x0D}};
    page.setCharacters(1, text);
    page.setCharacters(4, text);
    page.copy(1);
    page.paste(8);
    page.erase(4);
    CSaParameter saved;
    page.save(saved);
    EXPECT_EQ(saved.transmitEntries[8], saved.transmitEntries[1]);
    EXPECT_EQ(saved.transmitEntries[1].elementCount, 3);
    EXPECT_EQ(saved.transmitEntries[1].elements[2], (PatternElement{1, 0x0D}));
    EXPECT_EQ(saved.transmitEntries[4], SaTxEntry{});
    EXPECT_EQ(saved.transmitEntries[0], SaTxEntry{});

    // The clipboard starts empty: pasting it empties the row.
    TransmitPageModel fresh;
    fresh.load(saved);
    fresh.paste(1);
    EXPECT_EQ(fresh.entry(1), SaTxEntry{});
}

} // namespace
} // namespace varnolt
