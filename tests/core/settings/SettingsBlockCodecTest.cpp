#include "core/settings/SettingsBlockCodec.h"

#include "core/settings/HexText.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "SettingsSamples.h"

namespace varnolt {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kFrameHeader = 7;  // "SWE" and the address
constexpr size_t kFrameTrailer = 6; // checksum and terminator

Bytes Encode(SettingsBlockAddress address, const CSaParameter& model) {
    Bytes frame(kSettingsFrameCapacity);
    frame.resize(EncodeSettingsBlock(frame, address, model));
    return frame;
}

// The payload characters of a request frame, as the analyzer would echo them in an answer.
Bytes PayloadText(const Bytes& frame) {
    return Bytes(frame.begin() + kFrameHeader, frame.end() - kFrameTrailer);
}

// The payload bytes of a request frame, decoded independently of the codec.
Bytes PayloadBytes(const Bytes& frame) {
    const Bytes text = PayloadText(frame);
    Bytes bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        unsigned value = 0;
        const std::string pair(text.begin() + i, text.begin() + i + 2);
        EXPECT_EQ(std::sscanf(pair.c_str(), "%2X", &value), 1);
        EXPECT_TRUE(std::isupper(pair[0]) || std::isdigit(pair[0]));
        bytes.push_back(static_cast<uint8_t>(value));
    }
    return bytes;
}

Bytes Slice(const Bytes& bytes, size_t from, size_t count) {
    return Bytes(bytes.begin() + from, bytes.begin() + from + count);
}

void PutHexByte(Bytes& text, size_t byteIndex, uint8_t value) {
    WriteHexPair(value, &text[2 * byteIndex]);
}

TEST(HexText, ReadsEitherCaseAndCountsForeignCharactersAsZero) {
    EXPECT_EQ(ParseHexPair('1', 'f'), 0x1F);
    EXPECT_EQ(ParseHexPair('a', 'B'), 0xAB);
    EXPECT_EQ(ParseHexPair('G', '7'), 0x07);
    EXPECT_EQ(ParseHexPair('9', 0xFF), 0x90);
}

TEST(EncodeSettingsBlock, DefaultGeneralBlock) {
    const Bytes frame = Encode(kGeneralBlockAddress, CSaParameter{});
    ASSERT_EQ(frame.size(), 2573u);
    EXPECT_EQ(std::string(frame.begin(), frame.begin() + 7), "SWE0000");
    const Bytes payload = PayloadBytes(frame);
    ASSERT_EQ(payload.size(), 1280u);

    EXPECT_EQ(Slice(payload, 0, 16), Bytes(16, 0xFF));
    const Bytes lineSettings{0x00, 0x01, 0x00, 0x00, 0x25, 0x80, 0x00, 0x08, 0x00,
                             0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(Slice(payload, 16, 18), lineSettings);
    EXPECT_EQ(Slice(payload, 34, 14), Bytes(14, 0xFF));
    EXPECT_EQ(Slice(payload, 64, 4), (Bytes{0x00, 0x00, 0x00, 0x64}));
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Slice(payload, 96 + 8 * i, 8), (Bytes{0, 0, 0, 0, 0, 0, 0xFF, 0xFF}));
        EXPECT_EQ(Slice(payload, 128 + 8 * i, 8), (Bytes{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    }
    EXPECT_EQ(Slice(payload, 160, 96), Bytes(96, 0xFF));
    // Trigger 1 begins enabled 00, condition 01; triggers 7 and 8 are not written here.
    EXPECT_EQ(Slice(payload, 256, 2), (Bytes{0x00, 0x01}));
    EXPECT_EQ(Slice(payload, 1024, 256), Bytes(256, 0xFF));

    uint8_t sum = 0;
    for (size_t i = 0; i < frame.size() - kFrameTrailer; ++i) {
        sum = static_cast<uint8_t>(sum + frame[i]);
    }
    char checksum[3];
    std::snprintf(checksum, sizeof checksum, "%02X", sum);
    EXPECT_EQ(std::string(frame.end() - 6, frame.end() - 4), checksum);
    EXPECT_EQ(Slice(frame, frame.size() - 4, 4), (Bytes{0xFF, 0x00, 0xFF, 0x00}));
}

TEST(EncodeSettingsBlock, FrameLengthFollowsTheAddress) {
    const CSaParameter model;
    EXPECT_EQ(Encode(0x0000, model).size(), 2573u);
    EXPECT_EQ(Encode(0x0400, model).size(), 2061u);
    EXPECT_EQ(Encode(0x1000, model).size(), 2061u);
    EXPECT_EQ(Encode(0x7000, model).size(), 2061u);
    EXPECT_EQ(Encode(0x1200, model).size(), 13u);
    const Bytes frame = Encode(0x7400, model);
    const Bytes expected{'S', 'W', 'E', '7', '4', '0', '0', 'B', 'A', 0xFF, 0x00, 0xFF, 0x00};
    EXPECT_EQ(frame, expected);

    Bytes tooSmall(2572, 0xEE);
    EXPECT_EQ(EncodeSettingsBlock(tooSmall, 0x0000, model), 0u);
    EXPECT_EQ(tooSmall, Bytes(2572, 0xEE));
}

TEST(SettingsBlockAddresses, WalkTheTwentySevenBlocksInOrder) {
    EXPECT_EQ(kSettingsBlockAddresses.front(), 0x0000);
    EXPECT_EQ(kSettingsBlockAddresses[1], 0x0400);
    EXPECT_EQ(kSettingsBlockAddresses[2], 0x1000);
    EXPECT_EQ(kSettingsBlockAddresses[3], 0x1400);
    EXPECT_EQ(kSettingsBlockAddresses.back(), 0x7000);
}

TEST(SettingsBlockCodec, EveryBlockRoundTrips) {
    const CSaParameter sample = testing::SampleSettings();
    CSaParameter model;
    for (const SettingsBlockAddress address : kSettingsBlockAddresses) {
        SCOPED_TRACE(address);
        const Bytes text = PayloadText(Encode(address, sample));
        EXPECT_EQ(text.size(), 2 * SettingsBlockPayloadBytes(address));
        EXPECT_TRUE(DecodeSettingsBlock(text, address, model));
    }
    EXPECT_EQ(model, sample);
}

TEST(DecodeSettingsBlock, ReadsLowerCaseHex) {
    const CSaParameter sample = testing::SampleSettings();
    Bytes text = PayloadText(Encode(0x1000, sample));
    for (uint8_t& ch : text) {
        ch = static_cast<uint8_t>(std::tolower(ch));
    }
    CSaParameter model;
    ASSERT_TRUE(DecodeSettingsBlock(text, 0x1000, model));
    EXPECT_EQ(model.transmitEntries[0], sample.transmitEntries[0]);
    EXPECT_EQ(model.transmitEntries[1], sample.transmitEntries[1]);
}

TEST(DecodeSettingsBlock, GeneralBlockAnswerCarriesTriggersSevenAndEight) {
    const CSaParameter sample = testing::SampleSettings();
    Bytes text = PayloadText(Encode(0x0000, sample));
    const Bytes upper = PayloadText(Encode(0x0400, sample));
    std::copy(upper.begin(), upper.begin() + 512, text.begin() + 2048);
    CSaParameter model;
    ASSERT_TRUE(DecodeSettingsBlock(text, 0x0000, model));
    EXPECT_EQ(model.triggers, sample.triggers);
    EXPECT_EQ(model.transmitEntries, CSaParameter{}.transmitEntries);
}

TEST(DecodeSettingsBlock, SignExtendsTimerAndCounterFlags) {
    Bytes text = PayloadText(Encode(0x0000, CSaParameter{}));
    PutHexByte(text, 96 + 4, 0x80);      // timer 1 unit
    PutHexByte(text, 96 + 5, 0xFF);      // timer 1 auto start
    PutHexByte(text, 96 + 8 + 4, 0x7F);  // timer 2 unit
    PutHexByte(text, 128 + 4, 0xFF);     // counter 1 reset at start
    PutHexByte(text, 128 + 8 + 4, 0x00); // counter 2 reset at start
    PutHexByte(text, 48, 0xFF);          // idle display: zero-extended
    CSaParameter model;
    ASSERT_TRUE(DecodeSettingsBlock(text, 0x0000, model));
    EXPECT_EQ(model.timers[0].unit, -128);
    EXPECT_EQ(model.timers[0].autoStart, -1);
    EXPECT_EQ(model.timers[1].unit, 127);
    EXPECT_EQ(model.counters[0].resetAtStart, -1);
    EXPECT_EQ(model.counters[1].resetAtStart, 0);
    EXPECT_EQ(model.idleDisplay, 255);
}

TEST(DecodeSettingsBlock, EchoedAddressChoosesTheEntries) {
    const CSaParameter sample = testing::SampleSettings();
    CSaParameter model;
    ASSERT_TRUE(DecodeSettingsBlock(PayloadText(Encode(0x1400, sample)), 0x1400, model));
    CSaParameter expected;
    expected.transmitEntries[2] = sample.transmitEntries[2];
    expected.transmitEntries[3] = sample.transmitEntries[3];
    EXPECT_EQ(model, expected);
}

TEST(DecodeSettingsBlock, UnknownAddressChangesNothing) {
    const Bytes text = PayloadText(Encode(0x0000, testing::SampleSettings()));
    for (const SettingsBlockAddress address : {0x0200, 0x0800, 0x1200, 0x7400, 0xFFFF}) {
        CSaParameter model;
        EXPECT_TRUE(DecodeSettingsBlock(text, static_cast<SettingsBlockAddress>(address), model));
        EXPECT_EQ(model, CSaParameter{});
    }
}

// An answer cut short is refused whole, and nothing past its end is read (the vectors are
// exactly as long as the answer, so a sanitizer build catches any overread).
TEST(DecodeSettingsBlock, ShortAnswerDecodesNothing) {
    const CSaParameter sample = testing::SampleSettings();
    for (const SettingsBlockAddress address : {0x0000, 0x0400, 0x1000, 0x7000}) {
        SCOPED_TRACE(address);
        const Bytes text = PayloadText(Encode(address, sample));
        for (const size_t length : {size_t{0}, size_t{1}, text.size() / 2, text.size() - 1}) {
            const Bytes cut(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
            CSaParameter model;
            EXPECT_FALSE(DecodeSettingsBlock(cut, address, model));
            EXPECT_EQ(model, CSaParameter{});
        }
    }
}

TEST(DecodeCaptureHeader, FillsTheHeaderFromTheShortAnswer) {
    const CSaParameter sample = testing::SampleSettings();
    const Bytes text = PayloadText(Encode(0x0000, sample));
    const Bytes answer(text.begin(), text.begin() + 160);
    CaptureHeader header;
    header.formatVersion = 110;
    ASSERT_TRUE(DecodeCaptureHeader(answer, header));

    CaptureHeader expected;
    expected.lineMode = 4;
    expected.speed = 460'800;
    expected.dataBits = 7;
    expected.stopBits = 2;
    expected.parity = 3;
    expected.transmitOutput = 1;
    expected.idleDisplay = 2;
    expected.timeDisplay = 5;
    expected.recordWidth = 1;
    expected.frameDetectionTime = 98'765;
    for (size_t i = 0; i < 4; ++i) {
        expected.delimiters[i] = sample.frameDelimiters[i];
    }
    expected.formatVersion = 110;
    EXPECT_EQ(header, expected);

    CaptureHeader untouched;
    EXPECT_FALSE(DecodeCaptureHeader(Bytes(answer.begin(), answer.end() - 1), untouched));
    EXPECT_EQ(untouched, CaptureHeader{});
}

} // namespace
} // namespace varnolt
