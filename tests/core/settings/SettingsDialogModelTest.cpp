#include "core/settings/dialog/SettingsDialogModel.h"

#include "core/settings/dialog/SettingsRemote.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsSamples.h"

namespace varnolt {
namespace {

using testing::RecordingPrompt;
using Texts = std::vector<std::string>;

class RecordingStatus final : public SettingsStatus {
public:
    void setText(std::string_view text) override { steps.push_back("text:" + std::string(text)); }
    void setProgress(int percent) override { steps.push_back(std::to_string(percent)); }
    Texts steps;
};

// An analyzer that holds one settings model; each exchange is recorded and may be refused.
class FakeAnalyzer final : public SettingsRemote {
public:
    bool read(CSaParameter& target, SettingsStatus& status) override {
        calls.push_back("read");
        status.setText("書込中");
        if (failReads) {
            return false;
        }
        target = held;
        return true;
    }
    bool write(const CSaParameter& source, SettingsStatus&) override {
        calls.push_back("write");
        held = source;
        return true;
    }
    int64_t resetCounter(int32_t) override { return 0; }

    CSaParameter held;
    Texts calls;
    bool failReads = false;
};

struct DialogFixture : ::testing::Test {
    SettingsDialogModel::Context context(bool connected, bool autoRead, bool autoWrite) {
        SettingsDialogModel::Context c;
        c.connected = connected;
        c.autoRead = autoRead;
        c.autoWrite = autoWrite;
        c.remote = &analyzer;
        c.storeSyncFlags = [this](bool read, bool write) {
            storedFlags.push_back(std::to_string(read) + std::to_string(write));
        };
        return c;
    }

    FakeAnalyzer analyzer;
    RecordingStatus status;
    RecordingPrompt prompt;
    Texts storedFlags;
};

TEST_F(DialogFixture, AutomaticReadFillsThePagesWhenConnected) {
    analyzer.held.speed = 31'250;
    SettingsDialogModel dialog(CSaParameter{}, context(true, true, false), status, prompt);
    dialog.open();
    EXPECT_EQ(analyzer.calls, Texts{"read"});
    EXPECT_EQ(dialog.communication.otherSpeedText(), "31250");
    EXPECT_EQ(status.steps, (Texts{"text:", "0", "text:書込中", "text:読込完了", "0"}));

    SettingsDialogModel offline(CSaParameter{}, context(false, true, false), status, prompt);
    offline.open();
    EXPECT_EQ(analyzer.calls, Texts{"read"});
    EXPECT_EQ(offline.communication.speedChoice(), 7); // 9600
}

TEST_F(DialogFixture, RemoteCommandsDoNothingWhileNotConnected) {
    SettingsDialogModel dialog(CSaParameter{}, context(false, false, false), status, prompt);
    dialog.open();
    EXPECT_FALSE(dialog.remoteEnabled());
    dialog.remoteRead();
    dialog.remoteWrite();
    EXPECT_TRUE(analyzer.calls.empty());
    EXPECT_TRUE(status.steps.empty());
    EXPECT_TRUE(prompt.entries.empty());
}

TEST_F(DialogFixture, AFailedReadClearsTheStatusAndStillLoadsThePages) {
    analyzer.failReads = true;
    SettingsDialogModel dialog(CSaParameter{}, context(true, false, false), status, prompt);
    dialog.open();
    dialog.timers.setSetText(0, "12");
    dialog.remoteRead();
    EXPECT_EQ(status.steps, (Texts{"text:", "0", "text:書込中", "text:", "0"}));
    EXPECT_EQ(dialog.timers.row(0).setText, "       0");
}

TEST_F(DialogFixture, RemoteWriteSendsThePagesEvenWhenAPageRefusesItsValues) {
    SettingsDialogModel dialog(CSaParameter{}, context(true, false, false), status, prompt);
    dialog.open();
    dialog.communication.chooseListedSpeed(0);
    dialog.display.setBacklightText("300");
    dialog.remoteWrite();
    EXPECT_EQ(analyzer.calls, Texts{"write"});
    EXPECT_EQ(analyzer.held.speed, 230'400U);
    EXPECT_EQ(prompt.texts(), Texts{"バックライト自動消灯　設定値が範囲外です。"});
    EXPECT_EQ(status.steps.back(), "0");
    EXPECT_EQ(status.steps[status.steps.size() - 2], "text:書込完了");
}

TEST_F(DialogFixture, OkStoresTheFlagsEvenWhenItStaysOpen) {
    SettingsDialogModel dialog(CSaParameter{}, context(false, false, false), status, prompt);
    dialog.open();
    dialog.setAutoRead(true);
    dialog.timers.setSetText(0, "100000000");
    dialog.counters.setSetText(1, "");
    EXPECT_FALSE(dialog.accept());
    EXPECT_EQ(prompt.texts(),
              (Texts{"タイマー設定値が範囲外です。", "カウンタ設定値に誤りがあります"}));
    EXPECT_EQ(storedFlags, Texts{"10"});
    dialog.timers.setSetText(0, "7");
    dialog.counters.setSetText(1, "8");
    EXPECT_TRUE(dialog.accept());
    EXPECT_EQ(dialog.settings().timers[0].setValue, 7U);
    EXPECT_EQ(dialog.settings().counters[1].setValue, 8U);
}

TEST_F(DialogFixture, AutomaticWriteSendsOnlyWhatTheAnalyzerLacks) {
    analyzer.held = testing::SampleSettings();
    analyzer.held.triggers[0].condition = kTriggerOnIdle; // values the pages can show
    SettingsDialogModel same(analyzer.held, context(true, false, true), status, prompt);
    same.open();
    ASSERT_TRUE(same.accept());
    EXPECT_EQ(analyzer.calls, Texts{"read"});

    analyzer.calls.clear();
    SettingsDialogModel changed(analyzer.held, context(true, false, true), status, prompt);
    changed.open();
    changed.triggers.setEnabled(5, false);
    ASSERT_TRUE(changed.accept());
    EXPECT_EQ(analyzer.calls, (Texts{"read", "write"}));
    EXPECT_EQ(analyzer.held.triggers[5].enabled, kSaByteOff);
    EXPECT_EQ(changed.settings().triggers[5].enabled, kSaByteOff);
    EXPECT_TRUE(prompt.entries.empty());
}

TEST_F(DialogFixture, InitializeAsksFirst) {
    SettingsDialogModel dialog(testing::SampleSettings(), context(false, false, false), status,
                               prompt);
    dialog.open();
    prompt.answers.push_back(PromptAnswer::Cancel);
    EXPECT_FALSE(dialog.initialize());
    EXPECT_EQ(dialog.communication.otherSpeedText(), "460800");
    EXPECT_TRUE(dialog.initialize());
    EXPECT_EQ(dialog.communication.speedChoice(), 7);
    EXPECT_EQ(dialog.communication.otherSpeedText(), "");
    ASSERT_EQ(prompt.entries.size(), 2U);
    EXPECT_EQ(prompt.entries[0].text, "全設定を削除し、初期化します。\nよろしいですか？");
    EXPECT_EQ(prompt.entries[0].caption, "確認");
    EXPECT_EQ(prompt.entries[0].buttons, PromptButtons::OkCancel);
    EXPECT_EQ(prompt.entries[0].icon, PromptIcon::Information);
    ASSERT_TRUE(dialog.accept());
    EXPECT_EQ(dialog.settings().speed, 9600U);
    EXPECT_EQ(dialog.settings().triggers[0].enabled, kSaByteOff);
    EXPECT_EQ(dialog.settings().triggers[0].riseMask, 0xA000); // the analyzer's own bits stay
    EXPECT_EQ(dialog.settings().transmitEntries[0], SaTxEntry{});
    EXPECT_TRUE(analyzer.calls.empty());
}

// What the pages show of a file is what they save into the next file.
TEST_F(DialogFixture, FilesRoundTripThroughThePages) {
    testing::TempDir folder;
    CSaParameter sample = testing::SampleSettings();
    sample.Normalize(); // the sample's trigger kinds lie outside the lists on purpose
    SettingsDialogModel writer(sample, context(false, false, false), status, prompt);
    writer.open();
    writer.saveFile(folder / "a.tvs");

    SettingsDialogModel reader(CSaParameter{}, context(false, false, false), status, prompt);
    reader.open();
    reader.loadFile(folder / "a.tvs");
    ASSERT_TRUE(reader.accept());
    EXPECT_EQ(reader.settings(), sample);
    EXPECT_TRUE(prompt.entries.empty());

    reader.loadFile(folder / "missing.tvs");
    EXPECT_EQ(prompt.texts(),
              Texts{"ファイルが見つかりません。\nファイル名を確認して再実行してください。"});
    EXPECT_EQ(reader.communication.otherSpeedText(), "460800");
}

} // namespace
} // namespace varnolt
