#include "core/interop/VcdWriter.h"

#include "core/interop/VcdWireQueue.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../view/CaptureBuilder.h"

namespace varnolt {
namespace {

using namespace varnolt::test;

// The value changes of a VCD file, by signal identifier: (time, value) in order.
struct Waves {
    std::map<std::string, char> identifiers; // signal name -> identifier
    std::map<char, std::vector<std::pair<int64_t, char>>> changes;
    std::string timescale;

    [[nodiscard]] char valueAt(const std::string& name, double at) const {
        char value = 'x';
        for (const auto& [time, v] : changes.at(identifiers.at(name))) {
            if (time > at) {
                break;
            }
            value = v;
        }
        return value;
    }
};

Waves Parse(const std::string& text) {
    Waves waves;
    std::istringstream in(text);
    std::string line;
    int64_t time = 0;
    while (std::getline(in, line)) {
        if (line.starts_with("$var wire 1 ")) {
            std::istringstream var(line.substr(12));
            char id = 0;
            std::string name;
            var >> id >> name;
            waves.identifiers[name] = id;
        } else if (line.starts_with("$timescale")) {
            waves.timescale = line.substr(11, line.size() - 16);
        } else if (line.starts_with("#")) {
            const int64_t next = std::stoll(line.substr(1));
            EXPECT_GE(next, time) << "times must not go back";
            time = next;
        } else if (line.size() == 2 && std::string("01x").find(line[0]) != std::string::npos) {
            waves.changes[line[1]].push_back({time, line[0]});
        }
    }
    return waves;
}

// What a receiver samples from a wire, frame by frame: the start at each falling edge, every bit
// in its middle.
struct Frame {
    double start = 0;
    unsigned data = 0;
    int parity = 0;
    int stop = 0;
};

std::vector<Frame> Receive(const Waves& waves, const std::string& wire, double bit, int dataBits,
                           bool parity) {
    const int stopBit = dataBits + 1 + (parity ? 1 : 0);
    std::vector<Frame> frames;
    double after = -1;
    for (const auto& [time, value] : waves.changes.at(waves.identifiers.at(wire))) {
        if (value != '0' || time <= after) {
            continue;
        }
        Frame frame;
        frame.start = static_cast<double>(time);
        for (int k = 0; k < dataBits; ++k) {
            frame.data |= (waves.valueAt(wire, time + (k + 1.5) * bit) == '1' ? 1u : 0u) << k;
        }
        frame.parity = waves.valueAt(wire, time + (dataBits + 1.5) * bit) == '1';
        frame.stop = waves.valueAt(wire, time + (stopBit + 0.5) * bit) == '1';
        frames.push_back(frame);
        after = time + (stopBit + 0.5) * bit;
    }
    return frames;
}

std::string Vcd(const CCaptureData& capture) {
    std::vector<uint8_t> bytes;
    BinaryWriter out(bytes);
    WriteVcd(capture, {}, out);
    EXPECT_TRUE(out.finish());
    return {bytes.begin(), bytes.end()};
}

TEST(VcdWriter, LinesAreDrawnBitByBitWithErrorsAsTheWireShowedThem) {
    auto capture =
        MakeCapture({Sd('A'), SdError(static_cast<uint8_t>(LineError::Parity)), Sd('B'), Rd('a'),
                     RdError(static_cast<uint8_t>(LineError::Framing)), Rd('b')});
    capture->header().parity = 2; // even
    const Waves waves = Parse(Vcd(*capture));
    EXPECT_EQ(waves.timescale, "1 us");
    const double bit = 1e6 / 9600;
    const std::vector<Frame> sd = Receive(waves, "SD", bit, 8, true);
    ASSERT_EQ(sd.size(), 3u);
    EXPECT_EQ(sd[0].data, 'A');
    EXPECT_EQ(sd[0].parity, 0); // 'A' has two ones
    EXPECT_EQ(sd[1].parity, 1); // wrong: the error frame is all ones
    EXPECT_EQ(sd[1].stop, 1);
    EXPECT_EQ(sd[2].data, 'B');
    const std::vector<Frame> rd = Receive(waves, "RD", bit, 8, true);
    ASSERT_EQ(rd.size(), 3u);
    EXPECT_EQ(rd[0].data, 'a');
    EXPECT_EQ(rd[1].stop, 0);
    EXPECT_EQ(rd[2].data, 'b');
    EXPECT_EQ(rd[2].stop, 1);
    // The line idles a whole character after the error before the next start bit.
    EXPECT_GE(rd[2].start - rd[1].start, 2 * 11 * bit - 1);
    EXPECT_LT(rd[1].start - rd[0].start, 11 * bit + 1);
}

TEST(VcdWriter, BreakHoldsTheLineLowAndControlLinesFollowTheRecords) {
    constexpr uint16_t kRsOn = 0xAA9;
    constexpr uint16_t kAllOff = 0xAAA;
    auto capture =
        MakeCapture({Sd('A') | kRsOn, ControlChange(kRsOn, kAllOff) | kAllOff,
                     SdError(static_cast<uint8_t>(LineError::Break)) | kAllOff, Sd('B') | kAllOff});
    capture->header().recordWidth = 1;
    const Waves waves = Parse(Vcd(*capture));
    const double bit = 1e6 / 9600;
    const double lead = 10 * bit; // the idle character before the first record
    EXPECT_EQ(waves.valueAt("RS", 0), '1');
    EXPECT_EQ(waves.valueAt("RS", lead + 10 * bit + 1), '0');
    EXPECT_EQ(waves.valueAt("CI", 0), '0');
    // The break starts after 'A' and keeps the line low for two characters.
    for (const double at : {11.0, 20.0, 29.0}) {
        EXPECT_EQ(waves.valueAt("SD", lead + at * bit), '0') << at;
    }
    EXPECT_EQ(waves.valueAt("SD", lead + 31 * bit), '1');
    const std::vector<Frame> sd = Receive(waves, "SD", bit, 8, false);
    ASSERT_EQ(sd.size(), 3u);
    EXPECT_EQ(sd[1].stop, 0);
    EXPECT_EQ(sd[2].data, 'B');

    capture->header().recordWidth = 0;
    EXPECT_EQ(Parse(Vcd(*capture)).valueAt("RS", 0), 'x');
}

TEST(VcdWriter, TheLineIdlesOneCharacterBeforeACaptureThatStartsWithAStartBit) {
    // The first record is a character at the capture's first instant: a decoder needs the idle
    // level before its start bit to find the frame.
    auto capture = MakeCapture({Sd(0x20), Rd('b')});
    const std::string text = Vcd(*capture);
    // The date is still the first record's own time.
    EXPECT_NE(text.find("$date 1970-01-01 00:00:00.000000 $end"), std::string::npos) << text;
    const Waves waves = Parse(text);
    const double bit = 1e6 / 9600;
    const auto& sd = waves.changes.at(waves.identifiers.at("SD"));
    ASSERT_GE(sd.size(), 2U);
    EXPECT_EQ(sd[0], (std::pair<int64_t, char>{0, '1'}));
    EXPECT_EQ(sd[1].second, '0');
    EXPECT_GE(static_cast<double>(sd[1].first), 10 * bit - 1);
    const std::vector<Frame> frames = Receive(waves, "SD", bit, 8, false);
    ASSERT_EQ(frames.size(), 1U);
    EXPECT_EQ(frames[0].data, 0x20U);
    EXPECT_EQ(frames[0].stop, 1);
}

TEST(VcdWireQueue, CharactersComeBackWithTheirStartsAndEdgesAcrossLongSteps) {
    // Steps below and beyond the four seconds an entry holds, and a queue that empties and fills
    // again from an earlier time than it held.
    const LocalNs year = 365 * kNsPerDay;
    const LocalNs starts[] = {5, 1'000'005, 11 * kNsPerSecond, year, year + 1};
    VcdWireQueue queue;
    for (const LocalNs start : starts) {
        queue.push(start, 0b1'1010'0110u); // start bit, 8 data bits ending high, idle
    }
    for (const LocalNs start : starts) {
        ASSERT_FALSE(queue.empty());
        EXPECT_EQ(queue.frontStart(), start);
        EXPECT_EQ(queue.frontLevels(), 0b1'1010'0110u);
        // Each change of level from the idle level before: bits 0, 1, 3, 5, 6 and 7.
        EXPECT_EQ(queue.frontEdges(), 0b0'1110'1011u);
        for (int edge = 0; edge < 6; ++edge) {
            queue.edgeWritten();
        }
    }
    EXPECT_TRUE(queue.empty());
    queue.push(-7, 0b10u);
    EXPECT_EQ(queue.frontStart(), -7);
    EXPECT_EQ(queue.frontEdges(), 0b11u);
}

} // namespace
} // namespace varnolt
