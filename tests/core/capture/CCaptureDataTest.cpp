#include "core/capture/CCaptureData.h"

#include <gtest/gtest.h>

#include <vector>

namespace varnolt {
namespace {

constexpr RecordCount kSmall = 5;

RecordWord Item(int n) {
    return 0x10000000u | static_cast<uint32_t>(n) << 16;
}

// The state of a store right after construction, a reset or the start of a load.
void ExpectEmpty(const CCaptureData& store) {
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.firstIndex(), 0);
    EXPECT_EQ(store.lastIndex(), kNoRecord);
    EXPECT_FALSE(store.wrapped());
    EXPECT_EQ(store.overwritten(), 0);
    EXPECT_EQ(store.capacity(), store.maxCapacity());
    EXPECT_EQ(store.activeBank(), CaptureBank::A);
    EXPECT_EQ(store.Advance(0, 3), kNoRecord);
}

TEST(CCaptureData, NewStoreIsEmptyWithDocumentDefaults) {
    const CCaptureData store(kSmall);
    ExpectEmpty(store);
    EXPECT_FALSE(store.saveBusy());
    const CaptureHeader expected{.lineMode = 1,
                                 .speed = 9600,
                                 .dataBits = 8,
                                 .stopBits = 1,
                                 .parity = 0,
                                 .transmitOutput = 0,
                                 .formatVersion = 0,
                                 .recordWidth = 0};
    EXPECT_EQ(store.header(), expected);
    EXPECT_EQ(CCaptureData().capacity(), 4'000'000);
}

// After each of capacity + 2 appends: the index written, first index, count, wrapped flag,
// records overwritten.
struct AppendStep {
    RingIndex last;
    RingIndex first;
    RecordCount count;
    bool wrapped;
    int64_t overwritten;
};

TEST(CCaptureData, AppendWrapsAfterCapacityAndOverwritesTheOldest) {
    const AppendStep steps[] = {
        {0, 0, 1, false, 0}, {1, 0, 2, false, 0}, {2, 0, 3, false, 0}, {3, 0, 4, false, 0},
        {4, 0, 5, false, 0}, {0, 1, 5, true, 1},  {1, 2, 5, true, 2},
    };
    CCaptureData store(kSmall);
    int n = 0;
    for (const AppendStep& step : steps) {
        EXPECT_EQ(store.Append(Item(n), 100 + n), step.last) << "append " << n;
        EXPECT_EQ(store.lastIndex(), step.last);
        EXPECT_EQ(store.firstIndex(), step.first) << "append " << n;
        EXPECT_EQ(store.Count(), step.count) << "append " << n;
        EXPECT_EQ(store.wrapped(), step.wrapped) << "append " << n;
        EXPECT_EQ(store.overwritten(), step.overwritten) << "append " << n;
        ++n;
    }
    // Items 0 and 1 are overwritten; the oldest held is item 2.
    EXPECT_EQ(store.word(0), Item(5));
    EXPECT_EQ(store.record(1).deviceIndex, 106);
    EXPECT_EQ(store.word(store.firstIndex()), Item(2));
    for (RecordCount k = 0; k < store.Count(); ++k) {
        const RingIndex index = store.WrapIndex(store.firstIndex(), k);
        EXPECT_EQ(store.word(index), Item(2 + k));
        EXPECT_EQ(store.bankWord(CaptureBank::A, index), Item(2 + k));
    }
}

struct AdvanceCase {
    int appended; // items appended to a ring of 5
    RingIndex index;
    RecordCount n;
    RingIndex expected;
};

TEST(CCaptureData, AdvanceStopsAtTheNewestRecord) {
    const AdvanceCase cases[] = {
        {3, 0, 1, 1}, {3, 0, 2, 2}, {3, 1, 9, 2}, // not wrapped: min(index + n, last)
        {7, 0, 1, 1}, {7, 0, 5, 1},               // wrapped (last 1), index below last
        {7, 2, 2, 4}, {7, 3, 2, 0}, {7, 3, 3, 1}, // index past last: through the end
        {7, 4, 9, 1}, {7, 1, 0, 1},               // never past the newest
        {7, 1, 1, 1}, {7, 1, 3, 1},               // from the newest: not on into the oldest
    };
    for (const AdvanceCase& c : cases) {
        CCaptureData store(kSmall);
        for (int i = 0; i < c.appended; ++i) {
            store.Append(Item(i), 0);
        }
        EXPECT_EQ(store.Advance(c.index, c.n), c.expected)
            << c.appended << " items, Advance(" << c.index << ", " << c.n << ")";
    }
}

TEST(CCaptureData, WrapIndexAddsOrSubtractsTheCapacityOnce) {
    const CCaptureData store(kSmall);
    EXPECT_EQ(store.WrapIndex(4, 1), 0);
    EXPECT_EQ(store.WrapIndex(3, 4), 2);
    EXPECT_EQ(store.WrapIndex(0, -1), 4);
    EXPECT_EQ(store.WrapIndex(2, 2), 4);
    EXPECT_EQ(store.WrapIndex(kNoRecord, 0), 4);
    EXPECT_EQ(WrapRingIndex(3'999'999, 1, kMaxRingCapacity), 0);
}

TEST(CCaptureData, CapacityFollowsTheAutoSaveFileSizeUntilTheNextReset) {
    const std::pair<int, std::optional<RecordCount>> sizes[] = {
        {1, 250'000},    {2, 500'000},      {4, 1'000'000},    {8, 2'000'000},
        {16, 4'000'000}, {0, std::nullopt}, {3, std::nullopt}, {32, std::nullopt},
    };
    for (const auto& [megabytes, capacity] : sizes) {
        EXPECT_EQ(RingCapacityForFileSize(megabytes), capacity) << megabytes << " MB";
    }

    CCaptureData store;
    store.applyAutoSaveFileSize(4);
    EXPECT_EQ(store.capacity(), 1'000'000);
    store.applyAutoSaveFileSize(3);
    EXPECT_EQ(store.capacity(), 1'000'000);
    store.PrepareForLoad();
    EXPECT_EQ(store.capacity(), 4'000'000);

    // A small store never goes past its arrays.
    CCaptureData small(kSmall);
    small.applyAutoSaveFileSize(1);
    EXPECT_EQ(small.capacity(), kSmall);
}

TEST(CCaptureData, ResetEmptiesTheRingAndTakesTheConditions) {
    CCaptureData store(kSmall);
    for (int i = 0; i < 7; ++i) {
        store.Append(Item(i), 0);
    }
    ASSERT_EQ(store.SwitchBankIfFull(kSmall - 1), CaptureBank::A);
    store.header().idleDisplay = 2;
    store.header().formatVersion = 110;
    store.setCapacity(3);

    store.Reset({.lineMode = 3,
                 .speed = 115200,
                 .dataBits = 7,
                 .stopBits = 2,
                 .parity = 2,
                 .transmitOutput = 1,
                 .recordWidth = 1});
    ExpectEmpty(store);
    // Idle display and format version are no communication conditions: kept.
    const CaptureHeader expected{.lineMode = 3,
                                 .speed = 115200,
                                 .dataBits = 7,
                                 .stopBits = 2,
                                 .parity = 2,
                                 .transmitOutput = 1,
                                 .idleDisplay = 2,
                                 .formatVersion = 110,
                                 .recordWidth = 1};
    EXPECT_EQ(store.header(), expected);
    // The first record after a reset does not count as a wrap.
    EXPECT_EQ(store.Append(Item(0), 0), 0);
    EXPECT_FALSE(store.wrapped());
    EXPECT_EQ(store.Count(), 1);
}

TEST(CCaptureData, FullRingHandsOverItsBankAndReceptionGoesOnInTheOther) {
    CCaptureData store(kSmall);
    for (int i = 0; i < kSmall - 1; ++i) {
        EXPECT_EQ(store.SwitchBankIfFull(store.Append(Item(i), 0)), std::nullopt);
    }
    EXPECT_EQ(store.SwitchBankIfFull(store.Append(Item(4), 0)), CaptureBank::A);
    EXPECT_EQ(store.activeBank(), CaptureBank::B);
    EXPECT_EQ(store.Append(Item(5), 0), 0);
    EXPECT_EQ(store.bankWord(CaptureBank::B, 0), Item(5));
    EXPECT_EQ(store.sourceWord(SaveSource::BankA, 0), Item(0)); // the saved bank is untouched
    EXPECT_EQ(store.sourceWord(SaveSource::Ring, 0), Item(5));
    for (int i = 6; i < 10; ++i) {
        store.Append(Item(i), 0);
    }
    EXPECT_EQ(store.SwitchBankIfFull(store.lastIndex()), CaptureBank::B);
    EXPECT_EQ(store.activeBank(), CaptureBank::A);
}

TEST(CCaptureData, LoadedWordsStopAtTheRingsEnd) {
    CCaptureData store(kSmall);
    const std::vector<RecordWord> words = {Item(0), Item(1), Item(2)};
    EXPECT_EQ(store.AppendLoaded(words), 3);
    EXPECT_EQ(store.AppendLoaded(words), 2);
    EXPECT_EQ(store.lastIndex(), kSmall - 1);
    EXPECT_EQ(store.Count(), kSmall);
    EXPECT_FALSE(store.wrapped());
    EXPECT_EQ(store.word(4), Item(1));
    EXPECT_EQ(store.record(4).deviceIndex, 0);
    EXPECT_EQ(store.bankWord(CaptureBank::A, 4), Item(1));
}

} // namespace
} // namespace varnolt
