#include "sim/TrafficGenerator.h"

#include "sim/ModbusFrames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace varnolt::sim {
namespace {

std::vector<RecordWord> Words(TrafficGenerator& traffic, uint64_t untilNs) {
    std::vector<RecordWord> words;
    while (traffic.Peek().atNs <= untilNs) {
        const TrafficItem& item = traffic.Peek();
        words.insert(words.end(), item.words.begin(), item.words.end());
        traffic.Pop();
    }
    return words;
}

TEST(TrafficGeneratorTest, TheSameSeedGivesTheSameTraffic) {
    TrafficSettings settings;
    settings.speed = 115'200;
    settings.idleDisplay = 1;
    settings.timeDisplay = 2;
    settings.recordWidth = 1;
    TrafficGenerator first(settings);
    TrafficGenerator second(settings);
    settings.seed = 2;
    TrafficGenerator other(settings);
    const std::vector<RecordWord> words = Words(first, 200'000'000);
    EXPECT_GT(words.size(), 500U);
    EXPECT_EQ(words, Words(second, 200'000'000));
    EXPECT_NE(words, Words(other, 200'000'000));
}

TEST(TrafficGeneratorTest, SaturatedTrafficKeepsBothLinesBusyAtTheConfiguredSpeed) {
    TrafficSettings settings;
    settings.speed = 460'800;
    settings.kind = TrafficKind::Saturated;
    TrafficGenerator traffic(settings);
    const std::vector<RecordWord> words = Words(traffic, 100'000'000); // 0.1 s
    // 46,080 ten-bit characters a second on each line.
    EXPECT_NEAR(static_cast<double>(words.size()), 9216.0, 130.0);
}

// Every word is one the PC can take: a known kind, control lines only with record width 1,
// no control-line changes without them, and each idle or stamp head with its continuations.
TEST(TrafficGeneratorTest, EveryItemIsWellFormed) {
    for (const uint16_t width : {uint16_t{0}, uint16_t{1}}) {
        TrafficSettings settings;
        settings.speed = 19'200;
        settings.parity = 2; // even
        settings.idleDisplay = 2;
        settings.timeDisplay = 1;
        settings.recordWidth = width;
        settings.errorsPerMillion = 50'000;
        TrafficGenerator traffic(settings);
        int errors = 0;
        int changes = 0;
        int idles = 0;
        uint16_t lines = width == 1 ? traffic.controlLines() : 0;
        for (int k = 0; k < 5000; ++k) {
            const TrafficItem& item = traffic.Peek();
            const RecordWord head = item.words.front();
            ASSERT_TRUE(IsItemStart(head));
            if (KindOf(head) == RecordKind::ControlLineChange) {
                EXPECT_EQ(PreviousLineStates(head), lines);
                lines = NewLineStates(head);
                ++changes;
            }
            for (const RecordWord word : item.words) {
                EXPECT_EQ(word & 0xFFFF, lines); // the states at the item, 0 without them
            }
            switch (KindOf(head)) {
            case RecordKind::IdleHead:
                ASSERT_EQ(item.words.size(), 3U);
                EXPECT_EQ(IdleResolution(head), 2);
                EXPECT_LE(IdleValue(head, item.words[1], item.words[2]), 3U); // gaps below 21 ms
                ++idles;
                break;
            case RecordKind::StampHead:
                ASSERT_EQ(item.words.size(), 4U);
                break;
            case RecordKind::SdError:
            case RecordKind::RdError:
                EXPECT_LE(CodeOf(head), 1);
                ++errors;
                break;
            default:
                break;
            }
            traffic.Pop();
        }
        EXPECT_GT(errors, 0);
        EXPECT_GT(idles, 0);
        EXPECT_EQ(changes > 0, width == 1);
    }
}

// Modbus traffic as a Modbus RTU receiver checks it: the frames alternate between master (SD)
// and slave (RD), each ends with its CRC, its characters follow each other without a pause, and
// a silence of at least 3.5 character times (1.75 ms above 19,200 bit/s) lies between frames.
TEST(TrafficGeneratorTest, ModbusFramesAreValidAndSeparatedBySilence) {
    for (const uint32_t speed : {9600U, 460'800U}) {
        TrafficSettings settings;
        settings.speed = speed;
        settings.kind = TrafficKind::Modbus;
        settings.recordWidth = 1;
        settings.idleDisplay = 1;
        settings.timeDisplay = 2;
        settings.errorsPerMillion = 1'000'000; // ignored: Modbus frames stay valid
        TrafficGenerator traffic(settings);
        const uint64_t c = traffic.characterNs();
        const uint64_t silence = std::max<uint64_t>(c * 7 / 2, 1'750'000);
        std::vector<uint8_t> frame;
        bool rd = false;
        uint64_t lastNs = 0;
        int frames = 0;
        while (frames < 400) {
            const TrafficItem& item = traffic.Peek();
            const RecordWord head = item.words.front();
            const RecordKind kind = KindOf(head);
            ASSERT_NE(kind, RecordKind::SdError);
            ASSERT_NE(kind, RecordKind::RdError);
            if (kind == RecordKind::SdCharacter || kind == RecordKind::RdCharacter) {
                const bool itemRd = kind == RecordKind::RdCharacter;
                if (!frame.empty() && itemRd != rd) {
                    ASSERT_EQ(ModbusCrc(frame), 0) << "frame " << frames;
                    ASSERT_GE(item.atNs - c - lastNs, silence);
                    frame.clear();
                    ++frames;
                } else if (!frame.empty()) {
                    ASSERT_EQ(item.atNs - lastNs, c); // back to back
                }
                ASSERT_TRUE(frame.empty() || itemRd == rd);
                rd = itemRd;
                frame.push_back(static_cast<uint8_t>(CodeOf(head)));
                lastNs = item.atNs;
            }
            traffic.Pop();
        }
    }
}

TEST(TrafficGeneratorTest, TimeStampsCarryTheTimeOfDayInTheirKindsLayout) {
    // 1 h 2 min 3.45 s after the start at 05:00:00.
    const uint64_t ns = ((3600ULL + 120 + 3) * 1000 + 450) * 1'000'000;
    const std::vector<RecordWord> b = TimeStampWords(2, ns);
    EXPECT_EQ(UnpackTimeStamp(b[0], b[1], b[2], b[3]), (StampDigits{0x1210, 0x06020345}));
    const std::vector<RecordWord> a = TimeStampWords(1, ns);
    EXPECT_EQ(UnpackTimeStamp(a[0], a[1], a[2], a[3]), (StampDigits{0x261210, 0x06020300}));
}

} // namespace
} // namespace varnolt::sim
