#include "sim/ModbusFrames.h"

#include <gtest/gtest.h>

#include <set>

namespace varnolt::sim {
namespace {

// Whether FRAME ends with the CRC of what comes before it, low byte first.
bool CrcHolds(const std::vector<uint8_t>& frame) {
    if (frame.size() < 4) {
        return false;
    }
    const uint16_t crc = ModbusCrc(std::span(frame).first(frame.size() - 2));
    return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == crc >> 8;
}

uint32_t Word(const std::vector<uint8_t>& frame, size_t at) {
    return uint32_t{frame[at]} << 8 | frame[at + 1];
}

TEST(ModbusFrames, TheCrcIsModbusRtus) {
    // Read ten holding registers from 0 at slave 1: the frame every Modbus text shows.
    const std::vector<uint8_t> request{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};
    EXPECT_TRUE(CrcHolds(request));
    EXPECT_EQ(ModbusCrc(std::span(request)), 0); // a whole frame's CRC comes out 0
}

// Each response answers its request: same slave and function, a read returns as many bytes as
// the quantity asked for, a write echoes address and quantity, an exception carries code 2.
TEST(ModbusFrames, EveryResponseAnswersItsRequestAndEveryCrcHolds) {
    std::mt19937_64 random(7);
    std::set<uint8_t> functions;
    int exceptions = 0;
    for (int k = 0; k < 2000; ++k) {
        const ModbusTransaction t = MakeModbusTransaction(random);
        const auto& q = t.request;
        const auto& r = t.response;
        ASSERT_TRUE(CrcHolds(q));
        ASSERT_TRUE(CrcHolds(r));
        ASSERT_GE(q[0], 1);
        ASSERT_LE(q[0], 247);
        ASSERT_EQ(r[0], q[0]);
        const uint8_t function = q[1];
        functions.insert(function);
        if (r[1] == (function | 0x80)) {
            EXPECT_EQ(r.size(), 5U);
            EXPECT_EQ(r[2], 2);
            ++exceptions;
            continue;
        }
        ASSERT_EQ(r[1], function);
        const uint32_t quantity = Word(q, 4);
        switch (function) {
        case 1:
            EXPECT_EQ(q.size(), 8U);
            EXPECT_EQ(r[2], (quantity + 7) / 8);
            EXPECT_EQ(r.size(), 5U + r[2]);
            break;
        case 3:
        case 4:
            EXPECT_EQ(q.size(), 8U);
            EXPECT_EQ(r[2], 2 * quantity);
            EXPECT_EQ(r.size(), 5U + r[2]);
            break;
        case 5:
            EXPECT_TRUE(quantity == 0xFF00 || quantity == 0);
            EXPECT_EQ(r, q);
            break;
        case 6:
            EXPECT_EQ(r, q);
            break;
        case 15:
        case 16:
            EXPECT_EQ(q[6], function == 15 ? (quantity + 7) / 8 : 2 * quantity);
            EXPECT_EQ(q.size(), 9U + q[6]);
            EXPECT_EQ(r.size(), 8U);
            EXPECT_EQ(Word(r, 2), Word(q, 2));
            EXPECT_EQ(Word(r, 4), quantity);
            break;
        default:
            ADD_FAILURE() << "function " << int{function};
        }
    }
    EXPECT_EQ(functions, (std::set<uint8_t>{1, 3, 4, 5, 6, 15, 16}));
    EXPECT_GT(exceptions, 0);
}

} // namespace
} // namespace varnolt::sim
