#include "core/interop/PcapngWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../view/CaptureBuilder.h"

namespace varnolt {
namespace {

using namespace varnolt::test;

uint32_t U32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
}

struct Packet {
    int64_t micros = 0;
    uint8_t event = 0;
    uint8_t lines = 0;
    std::string data;
    std::string comment;
};

// The blocks of a little-endian pcapng file: its interface's link type and its packets.
struct Pcapng {
    uint16_t linkType = 0;
    std::vector<Packet> packets;
};

Pcapng Parse(const std::vector<uint8_t>& bytes) {
    Pcapng file;
    size_t at = 0;
    while (at + 12 <= bytes.size()) {
        const uint32_t type = U32(bytes, at);
        const uint32_t length = U32(bytes, at + 4);
        EXPECT_EQ(length % 4, 0u);
        EXPECT_EQ(U32(bytes, at + length - 4), length);
        if (type == 1) {
            file.linkType = static_cast<uint16_t>(bytes[at + 8] | bytes[at + 9] << 8);
        } else if (type == 6) {
            Packet packet;
            packet.micros = int64_t{U32(bytes, at + 12)} << 32 | U32(bytes, at + 16);
            const uint32_t captured = U32(bytes, at + 20);
            const size_t data = at + 28;
            packet.event = bytes[data + 8];
            packet.lines = bytes[data + 9];
            packet.data.assign(bytes.begin() + static_cast<long>(data) + 12,
                               bytes.begin() + static_cast<long>(data + captured));
            const size_t options = data + ((captured + 3) & ~3u);
            if (options < at + length - 4 &&
                U32(bytes, options) == (bytes[options + 2] << 16 | 1u)) {
                const size_t size = bytes[options + 2] | bytes[options + 3] << 8;
                packet.comment.assign(bytes.begin() + static_cast<long>(options) + 4,
                                      bytes.begin() + static_cast<long>(options + 4 + size));
            }
            file.packets.push_back(packet);
        }
        at += length;
    }
    EXPECT_EQ(at, bytes.size());
    return file;
}

constexpr uint16_t kRsOnCsOn = 0xA99; // the other four lines off
constexpr uint16_t kAllOff = 0xAAA;

TEST(PcapngWriter, OnePacketPerFrameWithItsEventsAfterIt) {
    Words words;
    words << (Sd('A') | kRsOnCsOn) << (Sd('B') | kRsOnCsOn)
          << (SdError(static_cast<uint8_t>(LineError::Parity)) | kRsOnCsOn) << (Sd('C') | kRsOnCsOn)
          << (ControlChange(kRsOnCsOn, kAllOff) | kAllOff) << (Rd('x') | kAllOff)
          << (RdError(static_cast<uint8_t>(LineError::Break)) | kAllOff) << Idle(20)
          << (Rd('y') | kAllOff) << (Rd('z', true) | kAllOff);
    auto capture = MakeCapture(words.words());
    capture->header().recordWidth = 1;
    std::vector<uint8_t> bytes;
    BinaryWriter out(bytes);
    const TimeBase base{LocalNsOf({2026, 12, 10, 14, 0, 0, 0}), 9 * 3600};
    WritePcapng(*capture, base, out);
    ASSERT_TRUE(out.finish());

    const Pcapng file = Parse(bytes);
    EXPECT_EQ(file.linkType, 250);
    ASSERT_EQ(file.packets.size(), 7u);
    const auto expect = [&](size_t i, uint8_t event, uint8_t lines, const std::string& data,
                            const std::string& comment) {
        SCOPED_TRACE(i);
        EXPECT_EQ(file.packets[i].event, event);
        EXPECT_EQ(file.packets[i].lines, lines);
        EXPECT_EQ(file.packets[i].data, data);
        EXPECT_EQ(file.packets[i].comment, comment);
    };
    // RS is RTS (0x08), CS is CTS (0x01).
    expect(0, 0x01, 0x09, "ABC", "");
    expect(1, 0x08, 0x09, "", "SD: parity error (PE)");
    expect(2, 0x00, 0x00, "", "RS off, CS off");
    expect(3, 0x02, 0x00, "x", "");
    expect(4, 0x09, 0x00, "", "RD: break (BR)");
    expect(5, 0x02, 0x00, "y", ""); // the idle gap ended the frame
    expect(6, 0x02, 0x00, "z", ""); // so did the analyzer's frame-start flag
    // Microseconds of UTC: the capture starts at the file time, 14:00 local being 05:00 UTC.
    const int64_t start = (LocalNsOf({2026, 12, 10, 5, 0, 0, 0})) / kNsPerUs;
    EXPECT_EQ(file.packets[0].micros, start);
    EXPECT_EQ(file.packets[1].micros, start + 2 * 10'000'000 / 9600);
    EXPECT_NEAR(static_cast<double>(file.packets[5].micros - file.packets[3].micros),
                2 * 10'000'000 / 9600.0 + 20'000, 1.0);
}

TEST(PcapngWriter, EmptyCaptureIsAFileWithoutPackets) {
    const auto capture = MakeCapture({});
    std::vector<uint8_t> bytes;
    BinaryWriter out(bytes);
    WritePcapng(*capture, {}, out);
    ASSERT_TRUE(out.finish());
    const Pcapng file = Parse(bytes);
    EXPECT_EQ(file.linkType, 250);
    EXPECT_TRUE(file.packets.empty());
}

} // namespace
} // namespace varnolt
