#include "core/capture/CCaptureData.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/settings/CSaParameter.h"
#include "core/settings/SettingsBlockCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimulatedLink.h"

namespace varnolt {
namespace {

using sim::Fault;
using testing::SimulatedLink;
using Texts = std::vector<std::string>;

class RecordingProgress final : public SettingsProgress {
public:
    void showText(std::string_view text) override { steps.push_back(std::string(text)); }
    void setProgress(int percent) override { steps.push_back(std::to_string(percent)); }
    std::vector<std::string> steps;
};

// Settings that differ from the defaults in every block: general block, triggers 1 and 8
// (block 0000 and 0400) and the first and last transmit entries.
CSaParameter EditedSettings() {
    CSaParameter settings;
    settings.speed = 115'200;
    settings.parity = kParityOdd;
    settings.frameDetectionTime = 2500;
    settings.timers[3].setValue = 0x01020304;
    settings.triggers[0].enabled = 0xFF;
    settings.triggers[0].conditionValue = 0x11223344;
    settings.triggers[7].enabled = 0xFF;
    settings.triggers[7].actionValue2 = 0x7788;
    settings.transmitEntries[0].elementCount = 3;
    settings.transmitEntries[0].elements[2] = {1, 0x41};
    settings.transmitEntries[49].elementCount = 128;
    settings.transmitEntries[49].elements[127] = {1, 0x7E};
    return settings;
}

// Everything the blocks carry of SETTINGS, as the analyzer would be sent it.
std::vector<std::vector<uint8_t>> Blocks(const CSaParameter& settings) {
    std::vector<std::vector<uint8_t>> frames;
    std::vector<uint8_t> frame(kSettingsFrameCapacity);
    for (const SettingsBlockAddress address : kSettingsBlockAddresses) {
        frames.emplace_back(frame.begin(),
                            frame.begin() + static_cast<std::ptrdiff_t>(
                                                EncodeSettingsBlock(frame, address, settings)));
    }
    return frames;
}

Texts BlockRequests(std::string_view command) {
    Texts texts;
    for (const SettingsBlockAddress address : kSettingsBlockAddresses) {
        std::string text(command);
        AppendHex(text, address, 4);
        texts.push_back(text);
    }
    return texts;
}

class SettingsExchangeTest : public ::testing::Test, public SimulatedLink {
protected:
    // The request texts up to their address digits.
    Texts requestHeads() const {
        Texts heads;
        for (const std::string& text : requests()) {
            heads.push_back(text.substr(0, 7));
        }
        return heads;
    }
};

TEST_F(SettingsExchangeTest, AllBlocksAreWrittenAndReadBack) {
    const CSaParameter edited = EditedSettings();
    RecordingProgress progress;
    ASSERT_TRUE(link.WriteExtSettings(&owner, edited, &progress));
    EXPECT_EQ(requestHeads(), BlockRequests("SWE"));

    Texts expectedSteps{"書込中", "5", "10", "10"};
    for (int block = 0; block < 25; ++block) {
        expectedSteps.push_back(std::to_string(10 + 4 * block));
    }
    expectedSteps.insert(expectedSteps.end(), {"書込中", "100"});
    EXPECT_EQ(progress.steps, expectedSteps);

    analyzer.ClearRequests();
    CSaParameter read;
    progress.steps.clear();
    ASSERT_TRUE(link.ReadExtSettings(&owner, read, &progress));
    EXPECT_EQ(requests().size(), 27U);
    EXPECT_EQ(requestHeads(), BlockRequests("SRE"));
    EXPECT_EQ(progress.steps.back(), "106");
    EXPECT_EQ(Blocks(read), Blocks(edited));
    EXPECT_EQ(read.triggers[7], edited.triggers[7]);
    EXPECT_EQ(read.transmitEntries[49], edited.transmitEntries[49]);
    EXPECT_TRUE(owner.entries.empty());
}

TEST_F(SettingsExchangeTest, AFailedBlockEndsTheReadAndLeavesTheSettingsAsTheyWere) {
    ASSERT_TRUE(link.WriteExtSettings(&owner, EditedSettings(), nullptr));
    analyzer.ClearRequests();
    analyzer.WithFaults([](sim::FaultPlan& plan) {
        plan.Pass(2);
        plan.Add(Fault::CorruptChecksum); // the first transmit block: one failed attempt,
        plan.Pass(1);                     // then the repetition passes
        plan.Add(Fault::Lost, 4);         // the second transmit block: every attempt lost
    });
    CSaParameter read;
    EXPECT_FALSE(link.ReadExtSettings(&owner, read, nullptr));
    EXPECT_EQ(requests().size(), 2U + 2U + 4U);
    EXPECT_EQ(owner.texts(), Texts{std::string(kCommunicationFailedMessage)});
    EXPECT_EQ(read.speed, CSaParameter().speed);
    EXPECT_EQ(read.transmitEntries[0], CSaParameter().transmitEntries[0]);
}

TEST_F(SettingsExchangeTest, ARefusedBlockWriteIsRepeatedSixTimes) {
    analyzer.WithFaults([](sim::FaultPlan& plan) {
        plan.Pass(1);
        plan.Add(Fault::Nak, 7);
    });
    EXPECT_FALSE(link.WriteExtSettings(&owner, EditedSettings(), nullptr));
    EXPECT_EQ(requestHeads(), (Texts{"SWE0000", "SWE0400", "SWE0400", "SWE0400", "SWE0400",
                                     "SWE0400", "SWE0400", "SWE0400"}));
    EXPECT_EQ(owner.texts(), Texts{std::string(kCommunicationFailedMessage)});
}

// The answer names the block it carries; that block is decoded whatever was asked for.
TEST_F(SettingsExchangeTest, TheEchoedAddressDecidesWhichBlockIsDecoded) {
    ASSERT_TRUE(link.WriteExtSettings(&owner, EditedSettings(), nullptr));
    firmware([](sim::AnalyzerFirmware& state) {
        state.AddCommand("SRE", sim::RequestChecksum::With,
                         [](sim::AnalyzerFirmware& firmware, const sim::Request&) {
                             std::string text = "SRE7000";
                             for (const uint8_t byte : firmware.settings.block(0x7000)) {
                                 AppendHex(text, byte, 2);
                             }
                             return std::vector<sim::AnswerFrame>{sim::Answer(text, true)};
                         });
    });
    CSaParameter read;
    ASSERT_TRUE(link.ReadExtSettings(&owner, read, nullptr));
    EXPECT_EQ(read.speed, CSaParameter().speed);
    EXPECT_EQ(read.transmitEntries[49], EditedSettings().transmitEntries[49]);
}

TEST_F(SettingsExchangeTest, ShortSettingsFillTheCaptureHeader) {
    ASSERT_TRUE(link.WriteExtSettings(&owner, EditedSettings(), nullptr));
    analyzer.ClearRequests();
    CCaptureData store;
    ASSERT_TRUE(link.ReadSettings(&owner, store, true));
    EXPECT_EQ(store.header().speed, 115'200U);
    EXPECT_EQ(store.header().parity, kParityOdd);
    EXPECT_EQ(store.header().frameDetectionTime, 2500U);
    ASSERT_TRUE(link.ReadSettings(&owner, store, false));
    EXPECT_EQ(requests(), (Texts{testing::Checksummed("SRG"), testing::Checksummed("SRF")}));
}

TEST_F(SettingsExchangeTest, AShortSettingsAnswerCutShortIsAFailedAttempt) {
    int answered = 0;
    firmware([&answered](sim::AnalyzerFirmware& state) {
        state.AddCommand("SRG", sim::RequestChecksum::With,
                         [&answered](sim::AnalyzerFirmware&, const sim::Request&) {
                             const std::string payload(answered++ == 0 ? 20 : 160, 'F');
                             return std::vector<sim::AnswerFrame>{
                                 sim::Answer("SRG" + payload, true)};
                         });
    });
    CCaptureData store;
    ASSERT_TRUE(link.ReadSettings(&owner, store, true));
    EXPECT_EQ(requests().size(), 2U);
}

} // namespace
} // namespace varnolt
