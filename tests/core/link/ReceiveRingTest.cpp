#include "core/link/port/ReceiveRing.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace varnolt {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> bytes;
    for (const int value : values) {
        bytes.push_back(static_cast<uint8_t>(value));
    }
    return bytes;
}

// Moves both indexes to POSITION by passing that many bytes through the ring.
void Advance(ReceiveRing& ring, int32_t position) {
    std::vector<uint8_t> filler(static_cast<size_t>(position), 0x11);
    ring.append(filler);
    std::vector<uint8_t> area(150'000);
    int32_t count = 0;
    while (ReadRing(ring, area, 0, count) != RingReadStatus::Nothing) {
    }
    ASSERT_EQ(ring.readIndex(), position);
}

TEST(ReceiveRing, AChunkStraddlingTheEndWrapsAfter399999) {
    ReceiveRing ring;
    Advance(ring, 399'995);
    std::vector<uint8_t> chunk(10);
    for (size_t i = 0; i < chunk.size(); ++i) {
        chunk[i] = static_cast<uint8_t>(0x40 + i);
    }
    ring.append(chunk);
    EXPECT_EQ(ring.writeIndex(), 5); // 399,995 + 10 wraps from 399,999 to 0
    std::vector<uint8_t> area(32);
    int32_t count = 0;
    EXPECT_EQ(ReadRing(ring, area, 0, count), RingReadStatus::Taken);
    EXPECT_EQ(count, 10);
    EXPECT_EQ(std::vector<uint8_t>(area.begin(), area.begin() + 10), chunk);
    EXPECT_EQ(ring.readIndex(), 5);
}

TEST(ReceiveRing, ReadRingStopsAfterATerminatorThatFollowsAByte) {
    ReceiveRing ring(64);
    std::vector<uint8_t> area(64, 0xEE);
    int32_t count = -1;
    EXPECT_EQ(ReadRing(ring, area, 0, count), RingReadStatus::Nothing);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(area[0], 0xEE);

    // Two answers back to back are taken one at a time.
    ring.append(Bytes({'A', 'C', 'K', 0xFF, 0, 0xFF, 0, 'N', 'A', 'K', 0xFF, 0, 0xFF, 0}));
    EXPECT_EQ(ReadRing(ring, area, 0, count), RingReadStatus::Taken);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(ReadRing(ring, area, 7, count), RingReadStatus::Taken);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(area[7], 'N');
    EXPECT_TRUE(ring.empty());
}

TEST(ReceiveRing, ABareTerminatorEndsNothingOnItsOwn) {
    ReceiveRing ring(64);
    std::vector<uint8_t> area(64);
    int32_t count = 0;
    ring.append(Bytes({0xFF, 0, 0xFF, 0}));
    EXPECT_EQ(ReadRing(ring, area, 0, count), RingReadStatus::Taken); // the ring ran empty
    EXPECT_EQ(count, 4);

    ring.append(Bytes({0xFF, 0, 0xFF, 0, 'B', 'C', 0xFF, 0, 0xFF, 0, 'X'}));
    EXPECT_EQ(ReadRing(ring, area, 0, count), RingReadStatus::Taken);
    EXPECT_EQ(count, 10); // read on past the first terminator, stopped after the second
    EXPECT_EQ(ring.unreadBytes(), 1);
}

TEST(ReceiveRing, AnAreaHolding149991BytesTakesOneMoreAndIsFull) {
    ReceiveRing ring(64);
    std::vector<uint8_t> area(150'000);
    ring.append(Bytes({'a', 'b'}));
    int32_t count = 0;
    EXPECT_EQ(ReadRing(ring, area, kAnswerAreaLimit - 1, count), RingReadStatus::AreaFull);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(area[kAnswerAreaLimit - 1], 'a');
    EXPECT_EQ(ring.unreadBytes(), 1);
}

TEST(ReceiveRing, ReadRingNeverWritesPastTheArea) {
    ReceiveRing ring(64);
    ring.append(Bytes({1, 2, 3, 4, 5, 6}));
    std::vector<uint8_t> area(4);
    int32_t count = 0;
    EXPECT_EQ(ReadRing(ring, area, 2, count), RingReadStatus::AreaFull);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(ReadRing(ring, area, 4, count), RingReadStatus::AreaFull);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ring.unreadBytes(), 4);
}

TEST(ReceiveRing, TheProducerIsOfferedOnlyRoomThatHoldsNoUnreadByte) {
    ReceiveRing ring(8);
    EXPECT_EQ(ring.freeBytes(), 7);
    ring.append(Bytes({1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(ring.freeBytes(), 0);
    std::vector<uint8_t> area(3);
    int32_t count = 0;
    (void)ReadRing(ring, area, 0, count);
    EXPECT_EQ(ring.freeBytes(), 3);
    ring.append(Bytes({8, 9, 10}));
    std::vector<uint8_t> rest(16);
    (void)ReadRing(ring, rest, 0, count);
    EXPECT_EQ(std::vector<uint8_t>(rest.begin(), rest.begin() + count),
              Bytes({4, 5, 6, 7, 8, 9, 10}));
}

// The producer appends a running byte sequence while the consumer discards and reads: after
// a discard every read continues the sequence without a gap, and no byte is read twice.
TEST(ReceiveRing, DiscardInputDoesNotRaceWithTheProducer) {
    ReceiveRing ring(1024);
    std::atomic<bool> stop{false};
    std::thread producer([&] {
        uint8_t next = 0;
        std::vector<uint8_t> chunk(37);
        while (!stop.load()) {
            if (ring.freeBytes() < static_cast<int32_t>(chunk.size())) {
                std::this_thread::yield();
                continue;
            }
            for (uint8_t& byte : chunk) {
                byte = next++;
            }
            ring.append(chunk);
        }
    });
    std::vector<uint8_t> area(4096);
    int reads = 0;
    for (int round = 0; round < 2000 && reads < 200; ++round) {
        DiscardInput(ring);
        while (ring.empty()) {
            std::this_thread::yield();
        }
        int32_t count = 0;
        if (ReadRing(ring, area, 0, count) == RingReadStatus::Nothing) {
            continue;
        }
        ++reads;
        for (int32_t i = 1; i < count; ++i) {
            ASSERT_EQ(static_cast<uint8_t>(area[i - 1] + 1), area[i]);
        }
    }
    stop.store(true);
    producer.join();
    EXPECT_GT(reads, 0);
}

} // namespace
} // namespace varnolt
