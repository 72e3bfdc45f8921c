#include "core/capture/CaptureFileFormat.h"

#include <climits>

namespace varnolt {

namespace {

// Tags of the header words; a word holds its tag plus a small value.
constexpr uint16_t kVersionTag = 0xA000;
constexpr uint16_t kLineModeTag = 0x9000;
constexpr uint16_t kDataBitsTag = 0x9010;
constexpr uint16_t kParityTag = 0x9020;
constexpr uint16_t kStopBitsTag = 0x9030;
constexpr uint16_t kTransmitOutputTag = 0x9040;
constexpr uint16_t kSpeedByteTag = 0x9100;
constexpr uint16_t kRecordWidthTag = 0x9200;
constexpr uint16_t kDisplayModeTag = 0x9210;
constexpr uint16_t kIdleDisplayTag = 0x9220;
constexpr uint16_t kTimeDisplayTag = 0x9230;
constexpr uint16_t kFiller = 0x9F00;

enum Word : size_t {
    kLineModeWord = 4,
    kDataBitsWord = 5,
    kParityWord = 6,
    kStopBitsWord = 7,
    kTransmitOutputWord = 8,
    kSpeedWord = 9, // 9 ... 12, most significant byte first
    kRecordWidthWord = 16,
    kDisplayModeWord = 17,
    kIdleDisplayWord = 18,
    kTimeDisplayWord = 19,
    kFrameTimeHighWord = 24,
    kFrameTimeLowWord = 25,
    kDelimiterWord = 26, // 26 ... 33: enabled word, code word, for each delimiter
    kFillerWord = 34,
};

uint16_t Tagged(uint16_t tag, uint32_t value) {
    return static_cast<uint16_t>(tag + value);
}
uint16_t TaggedNibble(uint16_t tag, int32_t value) {
    return static_cast<uint16_t>(tag + (static_cast<uint32_t>(value) & 0xF));
}
uint16_t LowNibble(uint16_t word) {
    return word & 0xF;
}
uint8_t LowByte(uint16_t word) {
    return static_cast<uint8_t>(word);
}

} // namespace

int DecimalPrefix(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > INT_MAX) {
            value = INT_MAX;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

int DataFormatVersionOf(const uint16_t* words) {
    char text[kDataFormatWordCount];
    for (size_t i = 0; i < kDataFormatWordCount; ++i) {
        text[i] = static_cast<char>(LowByte(words[i]));
    }
    return DecimalPrefix({text, kDataFormatWordCount});
}

bool IsKnownDataFormat(int version) {
    return version == 2 || version == 3 || version == 4 || version == 110;
}

uint32_t SpeedOfVersion2Code(uint8_t code) {
    switch (code) {
    case 0:
        return 0;
    case 10:
        return 110;
    case 11:
        return 150;
    case 12:
        return 300;
    case 13:
        return 600;
    case 14:
        return 1200;
    case 15:
        return 2400;
    case 16:
        return 4800;
    case 18:
        return 14400;
    case 19:
        return 19200;
    case 20:
        return 28800;
    case 21:
        return 38400;
    case 22:
        return 57600;
    case 23:
        return 115200;
    case 24:
        return 230400;
    case 25:
        return 460800;
    case 26:
        return 921600;
    case 27:
        return 1843200;
    default:
        return 9600;
    }
}

CaptureHeaderWords EncodeCaptureHeader(const CaptureHeader& header, int displayMode) {
    CaptureHeaderWords words{};
    for (size_t i = 0; i < kDataFormatWordCount; ++i) {
        words[i] = Tagged(kVersionTag, static_cast<uint8_t>(kCaptureFileVersionText[i]));
    }
    words[kLineModeWord] = Tagged(kLineModeTag, header.lineMode);
    words[kDataBitsWord] = Tagged(kDataBitsTag, header.dataBits);
    words[kParityWord] = Tagged(kParityTag, static_cast<uint32_t>(header.parity));
    words[kStopBitsWord] = Tagged(kStopBitsTag, header.stopBits);
    words[kTransmitOutputWord] =
        Tagged(kTransmitOutputTag, static_cast<uint32_t>(header.transmitOutput));
    for (size_t i = 0; i < 4; ++i) {
        words[kSpeedWord + i] = Tagged(kSpeedByteTag, header.speed >> (24 - 8 * i) & 0xFF);
    }
    words[kRecordWidthWord] = TaggedNibble(kRecordWidthTag, header.recordWidth);
    words[kDisplayModeWord] = TaggedNibble(kDisplayModeTag, displayMode);
    words[kIdleDisplayWord] = TaggedNibble(kIdleDisplayTag, header.idleDisplay);
    words[kTimeDisplayWord] = TaggedNibble(kTimeDisplayTag, header.timeDisplay);
    words[kFrameTimeHighWord] = static_cast<uint16_t>(header.frameDetectionTime >> 16);
    words[kFrameTimeLowWord] = static_cast<uint16_t>(header.frameDetectionTime);
    for (size_t i = 0; i < header.delimiters.size(); ++i) {
        const FrameDelimiter& delimiter = header.delimiters[i];
        words[kDelimiterWord + 2 * i] = static_cast<uint16_t>(int16_t{delimiter.enabled});
        words[kDelimiterWord + 2 * i + 1] =
            static_cast<uint16_t>(delimiter.code << 8 | delimiter.spare);
    }
    for (size_t i = kFillerWord; i < kCaptureHeaderWordCount; ++i) {
        words[i] = kFiller;
    }
    return words;
}

bool DecodeCaptureHeader(const CaptureHeaderWords& words, CaptureHeader& header) {
    const int version = DataFormatVersionOf(words.data());
    header.formatVersion = version;
    if (!IsKnownDataFormat(version)) {
        return false;
    }
    header.lineMode = LowNibble(words[kLineModeWord]);
    header.dataBits = LowNibble(words[kDataBitsWord]);
    header.parity = LowNibble(words[kParityWord]);
    header.stopBits = LowNibble(words[kStopBitsWord]);
    header.transmitOutput = LowNibble(words[kTransmitOutputWord]);
    if (version == 2) {
        header.speed = SpeedOfVersion2Code(LowByte(words[kSpeedWord]));
    } else {
        header.speed = 0;
        for (size_t i = 0; i < 4; ++i) {
            header.speed = header.speed << 8 | LowByte(words[kSpeedWord + i]);
        }
    }
    header.recordWidth = LowNibble(words[kRecordWidthWord]);
    if (version == 2 || version == 3) {
        // Old analyzers had no such settings: idle times and time stamps are shown as recorded.
        header.idleDisplay = 1;
        header.timeDisplay = 1;
        header.delimiters = {};
        return true;
    }
    header.idleDisplay = LowNibble(words[kIdleDisplayWord]);
    header.timeDisplay = LowNibble(words[kTimeDisplayWord]);
    header.frameDetectionTime =
        uint32_t{words[kFrameTimeHighWord]} << 16 | words[kFrameTimeLowWord];
    for (size_t i = 0; i < header.delimiters.size(); ++i) {
        const uint16_t code = words[kDelimiterWord + 2 * i + 1];
        header.delimiters[i] = {static_cast<int8_t>(LowByte(words[kDelimiterWord + 2 * i])),
                                static_cast<uint8_t>(code >> 8), LowByte(code)};
    }
    return true;
}

} // namespace varnolt
