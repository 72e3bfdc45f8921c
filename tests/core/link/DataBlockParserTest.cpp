#include "core/link/reception/DataBlockParser.h"

#include "core/capture/CaptureSaver.h"
#include "core/capture/SaveFileName.h"
#include "core/link/reception/BlockSequence.h"
#include "core/link/reception/ReceivedRecords.h"
#include "support/RecordingSaveWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <vector>

#include "AnswerBuilder.h"

namespace varnolt {
namespace {

using testing::DataBlock;
using testing::TempDir;

struct Stored {
    uint32_t word;
    int32_t deviceIndex;
    friend bool operator==(const Stored&, const Stored&) = default;
};

// Parses ANSWER for STORE's record width and, when it is good, appends it as reception does.
std::optional<RecordCount> Take(const std::vector<uint8_t>& answer, CCaptureData& store,
                                bool automaticSave) {
    const auto block = ParseDataBlock(answer, store.header().recordWidth);
    if (!block) {
        return std::nullopt;
    }
    return AppendDataBlock(store, *block, automaticSave);
}

std::vector<Stored> Records(const CCaptureData& store) {
    std::vector<Stored> records;
    for (RecordCount k = 0; k < store.Count(); ++k) {
        const CaptureRecord& record = store.record(store.WrapIndex(store.firstIndex(), k));
        records.push_back({record.word, record.deviceIndex});
    }
    return records;
}

TEST(DataBlockParserTest, NarrowItemsFillTheHighHalfAndTheirDeviceIndexWraps) {
    CCaptureData store(100);
    const std::vector<uint32_t> words{0x1041'0000, 0x2042'0000, 0x3101'0000};
    EXPECT_EQ(Take(DataBlock(900'017, words, 0), store, false), 3);
    EXPECT_EQ(Records(store),
              (std::vector<Stored>{{0x1041'0000, 900'017}, {0x2042'0000, 0}, {0x3101'0000, 1}}));
}

TEST(DataBlockParserTest, WideItemsAreHalfTheUnitsAndWrapAt450009) {
    CCaptureData store(100);
    store.header().recordWidth = 1;
    const std::vector<uint32_t> words{0x1041'0A55, 0xB155'0955};
    // Five units: the odd one is dropped, two 32-bit items remain.
    EXPECT_EQ(Take(DataBlock(450'008, words, 1, 5), store, false), 2);
    EXPECT_EQ(Records(store), (std::vector<Stored>{{0x1041'0A55, 450'008}, {0xB155'0955, 0}}));
}

TEST(DataBlockParserTest, BadBlocksStoreNothing) {
    const std::vector<uint32_t> words{0x1041'0000, 0x2042'0000};
    std::vector<uint8_t> corrupted = DataBlock(7, words, 0);
    corrupted[corrupted.size() - 5] ^= 1; // the checksum's last character
    std::vector<uint8_t> overclaiming = DataBlock(7, words, 0, 3);
    const std::vector<uint8_t> truncated{'B', 'D', '0', 0xFF, 0x00, 0xFF, 0x00};
    for (const auto& answer : {corrupted, overclaiming, truncated}) {
        CCaptureData store(100);
        EXPECT_FALSE(Take(answer, store, false).has_value());
        EXPECT_TRUE(store.empty());
    }
}

TEST(DataBlockParserTest, ParsingChangesNothingAndHostileDeviceIndexesStayInTheMemory) {
    CCaptureData store(100);
    const std::vector<uint32_t> words{0x1041'0000, 0x2042'0000};
    const std::vector<uint8_t> answer = DataBlock(5, words, 0);
    ASSERT_TRUE(ParseDataBlock(answer, 0).has_value());
    EXPECT_TRUE(store.empty());

    // Indexes no analyzer sends, up to FFFFFFFF: reduced into its memory, counting on from
    // there without overflowing.
    struct Case {
        uint32_t device;
        uint16_t width;
        std::vector<int32_t> expected;
    };
    const Case cases[] = {
        {0x7FFF'FFFF, 0, {0x7FFF'FFFF % 900'018, 0x7FFF'FFFF % 900'018 + 1}},
        {0xFFFF'FFFF, 0, {0xFFFF'FFFFu % 900'018, 0xFFFF'FFFFu % 900'018 + 1}},
        {900'018, 0, {0, 1}},
        {0x7FFF'FFFF, 1, {0x7FFF'FFFF % 450'009, 0x7FFF'FFFF % 450'009 + 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        CCaptureData hostile(100);
        hostile.header().recordWidth = c.width;
        ASSERT_EQ(Take(DataBlock(c.device, words, c.width), hostile, false), 2);
        EXPECT_EQ(hostile.record(0).deviceIndex, c.expected[0]);
        EXPECT_EQ(hostile.record(1).deviceIndex, c.expected[1]);
    }
}

TEST(DataBlockParserTest, AnEmptyBlockIsGood) {
    CCaptureData store(100);
    EXPECT_EQ(Take(DataBlock(3, {}, 0), store, true), 0);
    EXPECT_TRUE(store.empty());
}

TEST(DataBlockParserTest, TheRecordFillingTheRingSavesItsBankAndTheNextGoesToTheOther) {
    TempDir folder;
    CCaptureData store(10);
    store.saver().setFolder(folder.path());
    const testing::RecordingSaveWriter saved(store.saver());
    std::vector<uint32_t> words(12, 0x1030'0000);
    ASSERT_TRUE(Take(DataBlock(0, words, 0), store, true));
    store.saver().WaitIdle();
    EXPECT_EQ(store.activeBank(), CaptureBank::B);
    EXPECT_EQ(store.lastIndex(), 1);
    EXPECT_EQ(saved.orders(),
              (std::vector<SaveOrder>{{SaveKind::Automatic, SaveSource::BankA, 0, 9}}));
    EXPECT_EQ(store.bankWord(CaptureBank::B, 0), 0x1030'0000U);

    // Without automatic saving the banks never change.
    CCaptureData plain(10);
    ASSERT_TRUE(Take(DataBlock(0, words, 0), plain, false));
    EXPECT_EQ(plain.activeBank(), CaptureBank::A);
    EXPECT_FALSE(plain.saveBusy());
}

TEST(DataBlockParserTest, TheOverflowMarkIsAnSdOverrunAtDeviceIndexZero) {
    CCaptureData store(4);
    store.header().recordWidth = 1;
    ASSERT_TRUE(Take(DataBlock(40, std::vector<uint32_t>{0x1041'0000}, 1), store, false));
    AppendOverflowMark(store, false);
    EXPECT_EQ(Records(store), (std::vector<Stored>{{0x1041'0000, 40}, {0x3004'0000, 0}}));
}

// A block is held already when it starts behind the item expected next, also across the
// analyzer's wrap; one that skips ahead (after an overflow) is new.
TEST(BlockSequence, TellsABlockAlreadyHeldFromANewOneAcrossTheWrap) {
    constexpr DeviceIndex wrap = kDeviceIndexWrapNarrow;
    const std::vector<uint8_t> items(2 * 10); // ten 16-bit items
    const auto block = [&](DeviceIndex first) { return DecodedBlock{items, 0, first}; };
    struct Case {
        DeviceIndex taken;
        DeviceIndex next;
        bool repeats;
    };
    const Case cases[] = {
        {100, 110, false},    // the block that follows
        {100, 100, true},     // the same block again
        {100, 105, true},     // a block overlapping the one taken
        {wrap - 5, 5, false}, // the block after the wrap
        {wrap - 5, wrap - 5, true},
        {5, wrap - 15, true}, // the block before the wrap, arriving late
        {100, 50'000, false}, // the analyzer skipped ahead
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.taken) + " then " + std::to_string(c.next));
        BlockSequence sequence;
        EXPECT_FALSE(sequence.Repeats(block(c.taken)));
        sequence.Taken(block(c.taken));
        EXPECT_EQ(sequence.Repeats(block(c.next)), c.repeats);
        sequence.Forget();
        EXPECT_FALSE(sequence.Repeats(block(c.next)));
    }
}

} // namespace
} // namespace varnolt
