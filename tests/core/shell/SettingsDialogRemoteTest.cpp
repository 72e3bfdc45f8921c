#include "core/capture/CCaptureData.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/settings/dialog/SettingsDialogModel.h"
#include "core/shell/CVarnoltDoc.h"
#include "core/shell/LinkSettingsRemote.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../link/SimulatedLink.h"

namespace varnolt {
namespace {

using Texts = std::vector<std::string>;

class QuietStatus final : public SettingsStatus {
public:
    void setText(std::string_view text) override { last = text; }
    void setProgress(int) override {}
    std::string last;
};

// The settings dialog on a link to the virtual analyzer.
class SettingsDialogRemoteTest : public ::testing::Test, public testing::SimulatedLink {
protected:
    SettingsDialogModel::Context context(bool autoWrite = false) {
        SettingsDialogModel::Context c;
        c.connected = true;
        c.autoWrite = autoWrite;
        c.remote = &remote;
        return c;
    }

    // The request texts, each cut to its command letters.
    Texts commands() const {
        Texts heads;
        for (const std::string& text : requests()) {
            heads.push_back(text.substr(0, 3));
        }
        return heads;
    }

    static Texts Repeated(const char* command, size_t count) { return Texts(count, command); }

    LinkSettingsRemote remote{link, owner};
    QuietStatus status;
};

TEST_F(SettingsDialogRemoteTest, WrittenSettingsComeBackIntoAnotherDialog) {
    SettingsDialogModel writer(CSaParameter{}, context(), status, owner);
    writer.open();
    writer.communication.setOtherSpeed(12'345);
    writer.timers.setSetText(3, "4321");
    writer.triggers.setEnabled(7, true);
    writer.transmit.setCharacters(49, std::vector<PatternElement>(128, {1, 'x'}));
    writer.remoteWrite();
    EXPECT_EQ(status.last, "書込完了");
    EXPECT_EQ(commands(), Repeated("SWE", 27));

    analyzer.ClearRequests();
    SettingsDialogModel reader(CSaParameter{}, context(), status, owner);
    reader.open();
    reader.remoteRead();
    EXPECT_EQ(status.last, "読込完了");
    EXPECT_EQ(commands(), Repeated("SRE", 27));
    EXPECT_EQ(reader.communication.otherSpeedText(), "12345");
    EXPECT_EQ(reader.timers.row(3).setText, "    4321");
    EXPECT_TRUE(reader.triggers.enabled(7));
    ASSERT_TRUE(reader.accept());
    EXPECT_EQ(reader.settings(), writer.settings());
    EXPECT_TRUE(owner.entries.empty());
}

TEST_F(SettingsDialogRemoteTest, AutomaticWriteSendsOnlyWhatTheAnalyzerLacks) {
    // The analyzer powers on with the default settings: a default dialog sends no write.
    SettingsDialogModel same(CSaParameter{}, context(true), status, owner);
    same.open();
    ASSERT_TRUE(same.accept());
    EXPECT_EQ(commands(), Repeated("SRE", 27));

    analyzer.ClearRequests();
    SettingsDialogModel changed(CSaParameter{}, context(true), status, owner);
    changed.open();
    changed.display.displayMode.choose(1);
    ASSERT_TRUE(changed.accept());
    Texts expected = Repeated("SRE", 27);
    expected.insert(expected.end(), 27, "SWE");
    EXPECT_EQ(commands(), expected);
    EXPECT_EQ(status.last, "書込完了");
    EXPECT_EQ(changed.settings().displayMode, 1);
    EXPECT_TRUE(owner.entries.empty());
}

TEST_F(SettingsDialogRemoteTest, CounterResetShowsTheAnalyzersAnswer) {
    firmware([](sim::AnalyzerFirmware& state) { state.counters[1] = 99; });
    SettingsDialogModel dialog(CSaParameter{}, context(), status, owner);
    dialog.open();
    ASSERT_TRUE(dialog.counters.resetCounter(1, remote));
    EXPECT_EQ(dialog.counters.row(1).currentText, "       0");
    ASSERT_EQ(requests().size(), 1U);
    EXPECT_TRUE(requests()[0].starts_with("SWC01"));
    firmware([](sim::AnalyzerFirmware& state) { EXPECT_EQ(state.counters[1], 0U); });

    plan(sim::Fault::Nak, 7);
    firmware([](sim::AnalyzerFirmware& state) { state.counters[2] = 5; });
    dialog.counters.load(CSaParameter{}, true);
    EXPECT_FALSE(dialog.counters.resetCounter(2, remote));
    EXPECT_EQ(dialog.counters.row(2).currentText, "       0");
    EXPECT_EQ(owner.texts(), Texts{std::string(kCommunicationFailedMessage)});
}

// OK of the dialog, as the main frame hands it to the document.
TEST(DocumentAcceptSettings, DisplayModeAndFrameSettingsFollow) {
    testing::TempDir dir;
    testing::RecordingPrompt prompt;
    CVarnoltDoc document(prompt, dir.path());
    document.capture().header().speed = 300; // a loaded capture's own conditions stay
    CSaParameter edited;
    edited.displayMode = 1;
    edited.frameDetectionTime = 2500;
    edited.frameDelimiters[3] = {1, 0x0D, 0};
    edited.speed = 38'400;
    document.AcceptSettings(edited);
    EXPECT_EQ(document.settings(), edited);
    EXPECT_EQ(document.displayState().mode, DisplayMode::Frame);
    EXPECT_EQ(document.capture().header().frameDetectionTime, 2500U);
    EXPECT_EQ(document.capture().header().delimiters[3], (FrameDelimiter{1, 0x0D, 0}));
    EXPECT_EQ(document.capture().header().speed, 300U);
}

} // namespace
} // namespace varnolt
