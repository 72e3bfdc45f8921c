#include "core/link/reception/CTrigger.h"

#include "core/capture/CaptureSaver.h"
#include "support/RecordingSaveWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

constexpr RecordWord kSd = 0x1041'0000;
constexpr RecordWord kIdleHead = 0x5100'0000;
constexpr RecordWord kIdleMore = 0x6000'0000;

// A store with a save folder, filled with records whose device indexes count up from a base.
class CTriggerTest : public ::testing::Test {
protected:
    explicit CTriggerTest(RecordCount capacity = 100) : store(capacity) {
        store.saver().setFolder(folder.path());
    }

    // The one save the trigger asked for, from FIRST to LAST.
    [[nodiscard]] std::vector<SaveOrder> TriggerSave(RingIndex first, RingIndex last) const {
        return {{SaveKind::Trigger, SaveSource::Ring, first, last}};
    }

    // Appends WORD with the next device index; returns its ring index.
    RingIndex receive(RecordWord word = kSd) {
        ++received;
        const RingIndex at = store.Append(word, device);
        device = device + 1 == 900'018 ? 0 : device + 1;
        return at;
    }
    RingIndex receive(int count) {
        RingIndex at = kNoRecord;
        for (int k = 0; k < count; ++k) {
            at = receive();
        }
        return at;
    }
    bool report(int32_t number, int32_t before, int32_t after) {
        return trigger.OnTriggerReport(store, store.lastIndex(), {number, before, after}, received);
    }
    int examine() {
        const int saves = trigger.ExamineSlots(store, received);
        store.saver().WaitIdle();
        return saves;
    }

    testing::TempDir folder;
    CCaptureData store;
    testing::RecordingSaveWriter saved{store.saver()};
    CTrigger trigger;
    int32_t device = 1000;
    ReceivedCount received = 0;
};

TEST_F(CTriggerTest, AStretchIsMappedThroughTheNewestRecordAndSavedOnceReceived) {
    receive(20); // device indexes 1000 ... 1019 at ring indexes 0 ... 19
    ASSERT_TRUE(report(2, 1005, 1025));
    EXPECT_EQ(trigger.start(2), 5);
    EXPECT_EQ(trigger.end(2), 25);
    receive(5);
    EXPECT_EQ(examine(), 0); // index 25 not yet received
    receive(1);
    EXPECT_EQ(examine(), 1);
    EXPECT_EQ(saved.orders(), TriggerSave(5, 25));
    EXPECT_FALSE(trigger.pending(2));
}

TEST_F(CTriggerTest, ReportsThatNameNoSlotOrComeTooEarlyOrFindTheSlotTakenAreIgnored) {
    EXPECT_FALSE(report(0, 1000, 1001)); // nothing received yet
    receive(10);
    EXPECT_FALSE(report(8, 1000, 1001));
    EXPECT_FALSE(report(-1, 1000, 1001));
    ASSERT_TRUE(report(0, 1002, 1020));
    EXPECT_FALSE(report(0, 1003, 1004));
    EXPECT_EQ(trigger.start(0), 2);
    trigger.Clear();
    EXPECT_FALSE(trigger.pending(0));
    EXPECT_EQ(trigger.end(0), kNoRecord);
}

TEST_F(CTriggerTest, TheStretchStartsAtAnItemAndEndsAfterACharacter) {
    receive(3);
    receive(kIdleHead); // index 3
    receive(kIdleMore);
    receive(kIdleMore);
    receive(2);                         // 6, 7
    receive(kIdleHead);                 // 8: the end falls here
    ASSERT_TRUE(report(1, 1005, 1008)); // starts on a continuation word
    EXPECT_EQ(examine(), 0);            // waits for the word after the idle head
    receive(kIdleMore);
    EXPECT_EQ(examine(), 1);
    EXPECT_EQ(saved.orders(), TriggerSave(3, 9));
}

class CTriggerWrappedTest : public CTriggerTest {
protected:
    CTriggerWrappedTest() : CTriggerTest(50) {}
};

TEST_F(CTriggerWrappedTest, AWrappedRingWaitsForTheEndToBeReceivedAgain) {
    receive(70); // wrapped: ring index 19 holds device index 1069
    ASSERT_TRUE(report(3, 1060, 1075));
    EXPECT_EQ(trigger.start(3), 10);
    EXPECT_EQ(trigger.end(3), 25);
    EXPECT_EQ(examine(), 0); // index 25 holds an older record, not the stretch's end
    receive(6);
    EXPECT_EQ(examine(), 1);
    EXPECT_EQ(saved.orders(), TriggerSave(10, 25));
}

TEST_F(CTriggerWrappedTest, TheAnalyzersDeviceIndexWrapDoesNotMoveTheStretch) {
    device = 900'010;
    receive(20); // device indexes 900,010 ... 900,017, then 0 ... 11 at ring indexes 8 ... 19
    ASSERT_TRUE(report(4, 900'015, 3));
    EXPECT_EQ(trigger.start(4), 5);
    EXPECT_EQ(trigger.end(4), 11);
    EXPECT_EQ(examine(), 1);
}

} // namespace
} // namespace varnolt
