#include "core/settings/SettingsBlockCodec.h"

#include "core/settings/HexText.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace varnolt {

namespace {

constexpr size_t kGeneralBlockBytes = 1280;
constexpr size_t kBlockBytes = 1024;
constexpr size_t kTriggerRecordBytes = 128;
constexpr size_t kTxRecordBytes = 512;
constexpr size_t kGeneralSettingsBytes = 256; // triggers follow from here in block 0000
constexpr size_t kTriggersInGeneralWrite = 6; // block 0000 is written with triggers 1 to 6
constexpr size_t kFirstUpperTrigger = 6;      // block 0400 holds triggers 7 and 8
constexpr uint8_t kFillByte = 0xFF;

constexpr std::string_view kWriteCommand = "SWE";
constexpr size_t kAddressDigits = 4;
constexpr size_t kHeaderLength = 3 + kAddressDigits;
constexpr uint8_t kTerminator[] = {0xFF, 0x00, 0xFF, 0x00};

// Positions in the general block.
constexpr size_t kLineModeAt = 16;
constexpr size_t kSpeedAt = 18;
constexpr size_t kDataBitsAt = 22;
constexpr size_t kStopBitsAt = 24;
constexpr size_t kParityAt = 26;
constexpr size_t kTransmitOutputAt = 30;
constexpr size_t kIdleDisplayAt = 48;
constexpr size_t kTimeDisplayAt = 49;
constexpr size_t kControlLineCaptureAt = 50;
constexpr size_t kControlLineDrawingAt = 51;
constexpr size_t kDisplayModeAt = 52;
constexpr size_t kOperationKeysAt = 53;
constexpr size_t kCharacterSizeAt = 58;
constexpr size_t kBacklightOffTimeAt = 59;
constexpr size_t kFrameDetectionTimeAt = 64;
constexpr size_t kDelimitersAt = 68; // four of 3 bytes
constexpr size_t kTimersAt = 96;     // four of 8 bytes
constexpr size_t kCountersAt = 128;  // four of 8 bytes
constexpr size_t kTimerCounterBytes = 8;

// Positions in a trigger record.
constexpr size_t kPatternAt = 18;
constexpr size_t kBitMasksAt = 50;
constexpr size_t kRangesAt = 58;

// Positions in a transmit record.
constexpr size_t kTxElementsAt = 128;

using BlockBytes = std::array<uint8_t, kGeneralBlockBytes>;

// Puts model fields into a payload, each as the low bytes of its value, big-endian.
class PayloadWriter {
public:
    explicit PayloadWriter(std::span<uint8_t> bytes) : bytes_(bytes) {}

    template <size_t Width, typename Field>
    void field(size_t at, const Field& value) const {
        const auto raw = static_cast<uint32_t>(value);
        for (size_t i = 0; i < Width; ++i) {
            bytes_[at + i] = static_cast<uint8_t>(raw >> (8 * (Width - 1 - i)));
        }
    }
    // A one-byte field that is read back sign-extended.
    template <typename Field>
    void signedByte(size_t at, const Field& value) const {
        field<1>(at, value);
    }

    [[nodiscard]] PayloadWriter at(size_t offset) const {
        return PayloadWriter(bytes_.subspan(offset));
    }

private:
    std::span<uint8_t> bytes_;
};

// Takes model fields from a payload: big-endian, zero-extended unless stated.
class PayloadReader {
public:
    explicit PayloadReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    template <size_t Width, typename Field>
    void field(size_t at, Field& value) const {
        uint32_t raw = 0;
        for (size_t i = 0; i < Width; ++i) {
            raw = raw << 8 | bytes_[at + i];
        }
        value = static_cast<Field>(raw);
    }
    template <typename Field>
    void signedByte(size_t at, Field& value) const {
        value = static_cast<Field>(static_cast<int8_t>(bytes_[at]));
    }

    [[nodiscard]] PayloadReader at(size_t offset) const {
        return PayloadReader(bytes_.subspan(offset));
    }

private:
    std::span<const uint8_t> bytes_;
};

// The line settings that both the general block and the short settings answer begin with;
// MODEL is a CSaParameter or a CaptureHeader.
template <typename Payload, typename Model>
void TransferLineSettings(const Payload& payload, Model& model) {
    payload.template field<2>(kLineModeAt, model.lineMode);
    payload.template field<4>(kSpeedAt, model.speed);
    payload.template field<2>(kDataBitsAt, model.dataBits);
    payload.template field<2>(kStopBitsAt, model.stopBits);
    payload.template field<4>(kParityAt, model.parity);
    payload.template field<4>(kTransmitOutputAt, model.transmitOutput);
    payload.template field<1>(kIdleDisplayAt, model.idleDisplay);
    payload.template field<1>(kTimeDisplayAt, model.timeDisplay);
}

template <typename Payload, typename Delimiters>
void TransferDelimiters(const Payload& payload, Delimiters& delimiters) {
    for (size_t i = 0; i < delimiters.size(); ++i) {
        const size_t at = kDelimitersAt + 3 * i;
        payload.template field<1>(at, delimiters[i].enabled);
        payload.template field<1>(at + 1, delimiters[i].code);
        payload.template field<1>(at + 2, delimiters[i].spare);
    }
}

// Bytes 0 to 255 of block 0000.
template <typename Payload, typename Model>
void TransferGeneralSettings(const Payload& payload, Model& model) {
    TransferLineSettings(payload, model);
    payload.template field<1>(kControlLineCaptureAt, model.controlLineCapture);
    payload.template field<1>(kControlLineDrawingAt, model.controlLineDrawing);
    payload.template field<1>(kDisplayModeAt, model.displayMode);
    payload.template field<1>(kOperationKeysAt, model.operationKeys);
    payload.template field<1>(kCharacterSizeAt, model.characterSize);
    payload.template field<1>(kBacklightOffTimeAt, model.backlightOffTime);
    payload.template field<4>(kFrameDetectionTimeAt, model.frameDetectionTime);
    TransferDelimiters(payload, model.frameDelimiters);
    for (size_t i = 0; i < kTimerCount; ++i) {
        const size_t at = kTimersAt + kTimerCounterBytes * i;
        payload.template field<4>(at, model.timers[i].setValue);
        payload.signedByte(at + 4, model.timers[i].unit);
        payload.signedByte(at + 5, model.timers[i].autoStart);
    }
    for (size_t i = 0; i < kCounterCount; ++i) {
        const size_t at = kCountersAt + kTimerCounterBytes * i;
        payload.template field<4>(at, model.counters[i].setValue);
        payload.signedByte(at + 4, model.counters[i].resetAtStart);
    }
}

template <typename Payload, typename Trigger>
void TransferTrigger(const Payload& payload, Trigger& trigger) {
    payload.template field<1>(0, trigger.enabled);
    payload.template field<1>(1, trigger.condition);
    payload.template field<2>(2, trigger.riseMask);
    payload.template field<2>(4, trigger.fallMask);
    payload.template field<1>(6, trigger.action);
    payload.template field<1>(7, trigger.errorMask);
    payload.template field<4>(8, trigger.conditionValue);
    payload.template field<2>(12, trigger.actionValue1);
    payload.template field<2>(14, trigger.actionValue2);
    payload.template field<1>(16, trigger.transmitNumber);
    payload.template field<1>(17, trigger.matchLines);
    for (size_t j = 0; j < kTriggerPatternLength; ++j) {
        payload.template field<1>(kPatternAt + 2 * j, trigger.pattern[j].kind);
        payload.template field<1>(kPatternAt + 2 * j + 1, trigger.pattern[j].value);
    }
    for (size_t k = 0; k < kPatternBitMaskCount; ++k) {
        payload.template field<1>(kBitMasksAt + 2 * k, trigger.bitMasks[k].mustBeOne);
        payload.template field<1>(kBitMasksAt + 2 * k + 1, trigger.bitMasks[k].mustBeZero);
    }
    for (size_t k = 0; k < kPatternRangeCount; ++k) {
        const size_t at = kRangesAt + 4 * k;
        payload.template field<1>(at, trigger.ranges[k].lowEnabled);
        payload.template field<1>(at + 1, trigger.ranges[k].low);
        payload.template field<1>(at + 2, trigger.ranges[k].highEnabled);
        payload.template field<1>(at + 3, trigger.ranges[k].high);
    }
    payload.template field<1>(74, trigger.historyEnabled);
    payload.template field<1>(75, trigger.extendedSave);
    payload.template field<1>(76, trigger.extendedSaveNumber);
}

template <typename Payload, typename Entry>
void TransferTxEntry(const Payload& payload, Entry& entry) {
    payload.template field<4>(0, entry.elementCount);
    for (size_t j = 0; j < kTxEntryCapacity; ++j) {
        payload.template field<1>(kTxElementsAt + 2 * j, entry.elements[j].kind);
        payload.template field<1>(kTxElementsAt + 2 * j + 1, entry.elements[j].value);
    }
}

template <typename Payload, typename Triggers>
void TransferTriggers(const Payload& payload, Triggers& triggers, size_t first, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        TransferTrigger(payload.at(kTriggerRecordBytes * i), triggers[first + i]);
    }
}

bool IsTxBlock(SettingsBlockAddress address) {
    return address >= kFirstTxBlockAddress && address <= kLastTxBlockAddress &&
           (address - kFirstTxBlockAddress) % kSettingsBlockStep == 0;
}

// Index of the first of the two transmit entries of a transmit block.
size_t FirstTxEntryOf(SettingsBlockAddress address) {
    return (address - kFirstTxBlockAddress) / (kSettingsBlockStep / 2);
}

// Block ADDRESS as written, into PAYLOAD (its payload size).
void BuildPayload(std::span<uint8_t> payload, SettingsBlockAddress address,
                  const CSaParameter& model) {
    std::fill(payload.begin(), payload.end(), kFillByte);
    const PayloadWriter writer(payload);
    if (address == kGeneralBlockAddress) {
        TransferGeneralSettings(writer, model);
        TransferTriggers(writer.at(kGeneralSettingsBytes), model.triggers, 0,
                         kTriggersInGeneralWrite);
    } else if (address == kUpperTriggerBlockAddress) {
        TransferTriggers(writer, model.triggers, kFirstUpperTrigger,
                         kTriggerCount - kFirstUpperTrigger);
    } else if (IsTxBlock(address)) {
        const size_t first = FirstTxEntryOf(address);
        TransferTxEntry(writer, model.transmitEntries[first]);
        TransferTxEntry(writer.at(kTxRecordBytes), model.transmitEntries[first + 1]);
    }
}

// The first BYTES.size() bytes of an answer's hex text.
void ParseHexBytes(std::span<const uint8_t> text, std::span<uint8_t> bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = ParseHexPair(text[2 * i], text[2 * i + 1]);
    }
}

} // namespace

size_t SettingsBlockPayloadBytes(SettingsBlockAddress address) {
    if (address == kGeneralBlockAddress) {
        return kGeneralBlockBytes;
    }
    if (address == kUpperTriggerBlockAddress || IsTxBlock(address)) {
        return kBlockBytes;
    }
    return 0;
}

size_t EncodeSettingsBlock(std::span<uint8_t> frame, SettingsBlockAddress address,
                           const CSaParameter& model) {
    const size_t payloadBytes = SettingsBlockPayloadBytes(address);
    const size_t checksumAt = kHeaderLength + 2 * payloadBytes;
    const size_t length = checksumAt + 2 + sizeof kTerminator;
    if (frame.size() < length) {
        return 0;
    }
    std::memcpy(frame.data(), kWriteCommand.data(), kWriteCommand.size());
    WriteHexPair(static_cast<uint8_t>(address >> 8), &frame[3]);
    WriteHexPair(static_cast<uint8_t>(address), &frame[5]);

    BlockBytes payload{};
    BuildPayload(std::span<uint8_t>(payload).first(payloadBytes), address, model);
    for (size_t i = 0; i < payloadBytes; ++i) {
        WriteHexPair(payload[i], &frame[kHeaderLength + 2 * i]);
    }
    WriteHexPair(ByteSum(frame.first(checksumAt)), &frame[checksumAt]);
    std::memcpy(&frame[checksumAt + 2], kTerminator, sizeof kTerminator);
    return length;
}

bool DecodeSettingsBlock(std::span<const uint8_t> answerData, SettingsBlockAddress address,
                         CSaParameter& model) {
    const size_t payloadBytes = SettingsBlockPayloadBytes(address);
    if (payloadBytes == 0) {
        return true;
    }
    if (answerData.size() < 2 * payloadBytes) {
        return false;
    }
    BlockBytes payload{};
    ParseHexBytes(answerData, std::span<uint8_t>(payload).first(payloadBytes));
    const PayloadReader reader(payload);
    if (address == kGeneralBlockAddress) {
        // Read back, the block's last 256 bytes are triggers 7 and 8.
        TransferGeneralSettings(reader, model);
        TransferTriggers(reader.at(kGeneralSettingsBytes), model.triggers, 0, kTriggerCount);
    } else if (address == kUpperTriggerBlockAddress) {
        TransferTriggers(reader, model.triggers, kFirstUpperTrigger,
                         kTriggerCount - kFirstUpperTrigger);
    } else {
        const size_t first = FirstTxEntryOf(address);
        TransferTxEntry(reader, model.transmitEntries[first]);
        TransferTxEntry(reader.at(kTxRecordBytes), model.transmitEntries[first + 1]);
    }
    return true;
}

bool DecodeCaptureHeader(std::span<const uint8_t> answerData, CaptureHeader& header) {
    if (answerData.size() < 2 * kCaptureHeaderPayloadBytes) {
        return false;
    }
    std::array<uint8_t, kCaptureHeaderPayloadBytes> payload{};
    ParseHexBytes(answerData, payload);
    const PayloadReader reader(payload);
    TransferLineSettings(reader, header);
    reader.field<1>(kControlLineCaptureAt, header.recordWidth);
    reader.field<4>(kFrameDetectionTimeAt, header.frameDetectionTime);
    TransferDelimiters(reader, header.delimiters);
    return true;
}

} // namespace varnolt
