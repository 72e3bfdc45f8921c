// The panes' and lamps' requests against the virtual analyzer: the RS and ER outputs and the
// transmit entries.
#include "core/link/panes/LineOutputs.h"
#include "core/link/panes/TransmitSelection.h"
#include "sim/MeasurementEngine.h"

#include <gtest/gtest.h>

#include "ReceptionFixture.h"

namespace varnolt {
namespace {

using testing::Checksummed;

class PaneAnalyzerTest : public ::testing::Test, public testing::ReceptionFixture {
protected:
    PaneAnalyzerTest() : ReceptionFixture(200'000) {}

    // Gives the analyzer SETTINGS (in a simulation line mode) and connects.
    void prepare(int16_t lineMode, uint16_t controlLineCapture) {
        settings.lineMode = lineMode;
        settings.controlLineCapture = controlLineCapture;
        settings.idleDisplay = 0;
        SaTxEntry& entry = settings.transmitEntries[kEntry];
        for (const uint8_t character : {'x', 'y', 'z'}) {
            entry.elements[static_cast<size_t>(entry.elementCount++)] = {kPatternCharacter,
                                                                         character};
        }
        ASSERT_TRUE(link.WriteExtSettings(&owner, settings, nullptr));
        connect();
        firmware([](sim::AnalyzerFirmware& state) {
            state.measurement->options().errorsPerMillion = 0;
        });
    }

    // Polls while stopped until a status answer came in.
    void pollStatus() {
        const int before = view.statusRefreshes;
        for (int k = 0; k < 50 && view.statusRefreshes == before; ++k) {
            tick();
        }
        ASSERT_GT(view.statusRefreshes, before);
    }

    // The SD characters of the capture, in order.
    [[nodiscard]] std::string sdCharacters() const {
        std::string characters;
        for (RingIndex k = store.firstIndex(), n = 0; n < store.Count();
             k = store.WrapIndex(k, 1), ++n) {
            const RecordWord word = store.record(k).word;
            if (KindOf(word) == RecordKind::SdCharacter) {
                characters += static_cast<char>(CodeOf(word));
            }
        }
        return characters;
    }

    static constexpr size_t kEntry = 12;
};

TEST_F(PaneAnalyzerTest, OutputTogglesReachTheAnalyzerAndComeBackInTheStatusAnswer) {
    prepare(kLineRs232cSimulation, 0);
    analyzer.ClearRequests();
    ToggleLineOutput(link, lines, kLineRs); // unknown → on
    EXPECT_EQ(lines[kLineRs], 1);
    ToggleLineOutput(link, lines, kLineEr); // unknown → on
    ToggleLineOutput(link, lines, kLineEr); // on → off
    EXPECT_EQ(lines[kLineEr], 2);
    ToggleLineOutput(link, lines, kLineCs); // not an output: nothing
    EXPECT_EQ(requests(),
              (std::vector<std::string>{Checksummed("GL00000021"), Checksummed("GL00000011"),
                                        Checksummed("GL00000021")}));

    lines.fill(0);
    pollStatus();
    EXPECT_EQ(lines[kLineRs], 1);
    EXPECT_EQ(lines[kLineEr], 2);
    ToggleLineOutput(link, lines, kLineRs);
    pollStatus();
    EXPECT_EQ(lines[kLineRs], 2);
}

TEST_F(PaneAnalyzerTest, ASelectedEntryIsSentAndRecordedAsSdCharacters) {
    prepare(kLineRs232cSimulation, 0);
    ASSERT_TRUE(reception.Start());
    ticks(20);
    analyzer.ClearRequests();
    TransmitSelection selection;
    for (const int32_t row : {0, 49}) {
        link.SendTransmit(*selection.Selected(row));
    }
    EXPECT_EQ(requests(), (std::vector<std::string>{Checksummed("GT0000"), Checksummed("GT0031")}));
    EXPECT_EQ(sdCharacters().find("xyz"), std::string::npos);

    const int32_t sdBefore = device.status().counts[kCountSd];
    link.SendTransmit(static_cast<int32_t>(kEntry));
    ticks(100);
    ASSERT_TRUE(reception.Stop());
    EXPECT_NE(sdCharacters().find("xyz"), std::string::npos);
    EXPECT_GE(device.status().counts[kCountSd], sdBefore + 3);
}

TEST_F(PaneAnalyzerTest, AnOutputChangeIsRecordedWithTheControlLines) {
    prepare(kLineRs232cSimulation, 1);
    ASSERT_TRUE(reception.Start());
    ticks(20);
    ToggleLineOutput(link, lines, kLineRs);
    ticks(60);
    ASSERT_TRUE(reception.Stop());

    bool changed = false;
    RecordWord last = 0;
    for (RingIndex k = store.firstIndex(), n = 0; n < store.Count();
         k = store.WrapIndex(k, 1), ++n) {
        const RecordWord word = store.record(k).word;
        if (KindOf(word) == RecordKind::ControlLineChange &&
            LineStateOf(PreviousLineStates(word), ControlLine::RS) == LineState::Off &&
            LineStateOf(NewLineStates(word), ControlLine::RS) == LineState::On) {
            changed = true;
        }
        last = word;
    }
    EXPECT_TRUE(changed);
    EXPECT_EQ(LineStateOf(ControlLineFieldOf(last), ControlLine::RS), LineState::On);
}

TEST_F(PaneAnalyzerTest, AMonitorModeIgnoresTransmitRequests) {
    prepare(kLineRs232cMonitor, 0);
    ASSERT_TRUE(reception.Start());
    ticks(20);
    link.SendTransmit(static_cast<int32_t>(kEntry));
    ticks(100);
    ASSERT_TRUE(reception.Stop());
    EXPECT_EQ(sdCharacters().find("xyz"), std::string::npos);
}

} // namespace
} // namespace varnolt
