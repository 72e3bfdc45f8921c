#include "core/link/reception/DataBlockParser.h"

#include "core/capture/CaptureSaver.h"
#include "core/capture/SaveFileName.h"
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
    const DataBlockResult result = ParseDataBlock(DataBlock(900'017, words, 0), store, false);
    EXPECT_TRUE(result.good);
    EXPECT_EQ(result.appended, 3);
    EXPECT_EQ(Records(store),
              (std::vector<Stored>{{0x1041'0000, 900'017}, {0x2042'0000, 0}, {0x3101'0000, 1}}));
}

TEST(DataBlockParserTest, WideItemsAreHalfTheUnitsAndWrapAt450009) {
    CCaptureData store(100);
    store.header().recordWidth = 1;
    const std::vector<uint32_t> words{0x1041'0A55, 0xB155'0955};
    // Five units: the odd one is dropped, two 32-bit items remain.
    const DataBlockResult result = ParseDataBlock(DataBlock(450'008, words, 1, 5), store, false);
    EXPECT_TRUE(result.good);
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
        EXPECT_FALSE(ParseDataBlock(answer, store, false).good);
        EXPECT_TRUE(store.empty());
    }
}

TEST(DataBlockParserTest, AnEmptyBlockIsGood) {
    CCaptureData store(100);
    const DataBlockResult result = ParseDataBlock(DataBlock(3, {}, 0), store, true);
    EXPECT_TRUE(result.good);
    EXPECT_TRUE(store.empty());
}

TEST(DataBlockParserTest, TheRecordFillingTheRingSavesItsBankAndTheNextGoesToTheOther) {
    TempDir folder;
    CCaptureData store(10);
    store.saver().setFolder(folder.path());
    std::vector<uint32_t> words(12, 0x1030'0000);
    ASSERT_TRUE(ParseDataBlock(DataBlock(0, words, 0), store, true).good);
    store.saver().WaitIdle();
    EXPECT_EQ(store.activeBank(), CaptureBank::B);
    EXPECT_EQ(store.lastIndex(), 1);
    EXPECT_EQ(store.saveSource(), SaveSource::BankA);
    EXPECT_EQ(store.saveFirst(), 0);
    EXPECT_EQ(store.saveLast(), 9);
    EXPECT_EQ(store.bankWord(CaptureBank::B, 0), 0x1030'0000U);

    // Without automatic saving the banks never change.
    CCaptureData plain(10);
    ASSERT_TRUE(ParseDataBlock(DataBlock(0, words, 0), plain, false).good);
    EXPECT_EQ(plain.activeBank(), CaptureBank::A);
    EXPECT_FALSE(plain.saveBusy());
}

TEST(DataBlockParserTest, TheOverflowMarkIsAnSdOverrunAtDeviceIndexZero) {
    CCaptureData store(4);
    store.header().recordWidth = 1;
    ASSERT_TRUE(
        ParseDataBlock(DataBlock(40, std::vector<uint32_t>{0x1041'0000}, 1), store, false).good);
    AppendOverflowMark(store);
    EXPECT_EQ(Records(store), (std::vector<Stored>{{0x1041'0000, 40}, {0x3004'0000, 0}}));
}

} // namespace
} // namespace varnolt
