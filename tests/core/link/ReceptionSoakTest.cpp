// A whole measurement against the virtual analyzer on an accelerated clock: 460,800 bit/s on
// both lines with control-line capture, automatic saving and trigger saves, while the link
// loses and garbles answers. Nothing the analyzer recorded may be lost, doubled or reordered.
#include "core/capture/CaptureFileReader.h"
#include "core/capture/CaptureSaver.h"
#include "core/capture/SaveFileName.h"
#include "core/link/reception/OnlineReception.h"
#include "sim/MeasurementEngine.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "SavingMeasurement.h"

namespace varnolt {
namespace {

using Words = std::vector<RecordWord>;

constexpr RecordCount kRingCapacity = 16'000;

class ReceptionSoakTest : public ::testing::Test, public testing::ReceptionFixture {
protected:
    ReceptionSoakTest() : ReceptionFixture(kRingCapacity) {}
};

TEST_F(ReceptionSoakTest, EveryRecordArrivesOnceAndInOrderDespiteLostAndGarbledAnswers) {
    testing::TempDir folder;
    testing::SaveAutomaticallyInto(*this, folder.path());

    settings.speed = 460'800;
    settings.controlLineCapture = 1;
    settings.idleDisplay = 1;
    settings.timeDisplay = 2;
    // Trigger 1 saves 100 items before and 200 after a framing error on RD; trigger 2 stops
    // the analyzer ten seconds after the first error of any kind.
    testing::SaveAroundErrorsAndStop(settings, 100, 200, 10);
    firmware([](sim::AnalyzerFirmware& state) {
        state.measurement->options().seed = 7;
        state.measurement->options().keepLog = true;
        state.measurement->options().longestGapMs = 1;
    });

    connect();
    ASSERT_TRUE(link.WriteExtSettings(&owner, settings, nullptr));
    ASSERT_TRUE(reception.Start());

    // From here on about one answer in a hundred is lost and one in a hundred garbled, never
    // two within a few requests of each other.
    std::mt19937 random(11);
    analyzer.WithFaults([&](sim::FaultPlan& plan) {
        int quiet = 0;
        for (int request = 0; request < 20'000; ++request) {
            const unsigned draw = random() % 100;
            if (quiet > 4 && draw < 2) {
                plan.Add(draw == 0 ? sim::Fault::Lost : sim::Fault::CorruptChecksum);
                quiet = 0;
            } else {
                plan.Pass(1);
                ++quiet;
            }
        }
    });

    int passes = 0;
    while (link.runState() == CMoniterComm::kRunning && passes < 20'000) {
        ASSERT_NE(tick(), PollResult::CommunicationFailed);
        ++passes;
        // The manual clock runs reception far faster than any disk: give the saver the time a
        // real measurement would after every pass. Waiting only once four saves queued let a
        // pass that completed several trigger stretches on a busy machine find the queue full.
        store.saver().WaitIdle();
    }
    ASSERT_EQ(link.runState(), CMoniterComm::kStopped) << "the analyzer never stopped";
    store.saver().WaitIdle();
    EXPECT_TRUE(owner.entries.empty()) << ::testing::PrintToString(owner.texts());

    Words produced;
    int lostOrGarbled = 0;
    firmware([&](sim::AnalyzerFirmware& state) {
        produced = state.measurement->produced();
        EXPECT_TRUE(state.measurement->overflows().empty());
    });
    for (const sim::ReceivedRequest& request : analyzer.requests()) {
        lostOrGarbled += request.text == "BR" ? 1 : 0;
    }
    EXPECT_GT(lostOrGarbled, 6) << passes << " passes, " << produced.size()
                                << " records"; // the faults struck
    ASSERT_GT(produced.size(), 4U * kRingCapacity);

    // The automatic files, full banks and then the final partial one, hold it all.
    Words saved;
    const auto automatic = testing::Files(folder.path(), kAutoSavePrefix);
    for (const auto& file : automatic) {
        const Words words = testing::FileWords(file);
        saved.insert(saved.end(), words.begin(), words.end());
    }
    EXPECT_EQ(automatic.size(), (produced.size() + kRingCapacity - 1) / kRingCapacity);
    EXPECT_TRUE(saved == produced) << saved.size() << " saved of " << produced.size();
    // The store holds the last partial ring: the end of the same sequence.
    Words held;
    for (RecordCount k = 0; k <= store.lastIndex(); ++k) {
        held.push_back(store.word(k));
    }
    EXPECT_TRUE(std::equal(held.rbegin(), held.rend(), produced.rbegin()));

    // Each trigger file is a stretch of the same sequence.
    const auto triggered = testing::Files(folder.path(), kTriggerSavePrefix);
    EXPECT_FALSE(triggered.empty());
    for (const auto& file : triggered) {
        const Words words = testing::FileWords(file);
        ASSERT_GE(words.size(), 200U);
        EXPECT_NE(std::search(produced.begin(), produced.end(), words.begin(), words.end()),
                  produced.end())
            << file;
    }
}

} // namespace
} // namespace varnolt
