#include "core/interop/PcapngWriter.h"

#include "core/interop/CaptureTimeline.h"
#include "core/interop/FrameTracker.h"
#include "core/interop/InteropText.h"

#include <string>
#include <vector>

namespace varnolt {

namespace {

constexpr uint32_t kSectionHeaderBlock = 0x0A0D0D0A;
constexpr uint32_t kInterfaceBlock = 1;
constexpr uint32_t kEnhancedPacketBlock = 6;
constexpr uint32_t kByteOrderMagic = 0x1A2B3C4D;
constexpr uint16_t kLinkTypeRtacSerial = 250;

constexpr uint16_t kOptionEnd = 0;
constexpr uint16_t kOptionComment = 1;
constexpr uint16_t kShbUserApplication = 4;
constexpr uint16_t kIfName = 2;
constexpr uint16_t kIfDescription = 3;
constexpr uint16_t kIfTimestampResolution = 9;

// Event types of the RTAC serial header.
enum class RtacEvent : uint8_t {
    StatusChange = 0x00,
    DataTxStart = 0x01,
    DataRxStart = 0x02,
    FramingError = 0x07,
    ParityError = 0x08,
    SerialBreak = 0x09,
    SerialOverflow = 0x0A,
};

// The RTAC serial header: arrival time (seconds, microseconds, big-endian), event type,
// control-line bits, footer.
constexpr size_t kRtacHeaderSize = 12;

size_t Padded(size_t size) {
    return (size + 3) & ~size_t{3};
}

// The control-line bits of the RTAC header for the six states of a record.
uint8_t RtacControlLines(uint16_t states) {
    static constexpr struct {
        ControlLine line;
        uint8_t bit;
    } kBits[] = {{ControlLine::CS, 0x01}, {ControlLine::CD, 0x02}, {ControlLine::DR, 0x04},
                 {ControlLine::RS, 0x08}, {ControlLine::ER, 0x10}, {ControlLine::CI, 0x20}};
    uint8_t bits = 0;
    for (const auto& entry : kBits) {
        if (LineStateOf(states, entry.line) == LineState::On) {
            bits |= entry.bit;
        }
    }
    return bits;
}

bool ErrorEvent(uint8_t code, RtacEvent& event) {
    switch (static_cast<LineError>(code)) {
    case LineError::Parity:
        event = RtacEvent::ParityError;
        return true;
    case LineError::Framing:
    case LineError::ParityFraming:
        event = RtacEvent::FramingError;
        return true;
    case LineError::Break:
        event = RtacEvent::SerialBreak;
        return true;
    case LineError::Overrun:
        event = RtacEvent::SerialOverflow;
        return true;
    }
    return false;
}

std::string_view DirectionName(LineDirection direction) {
    return direction == LineDirection::Sd ? "SD" : "RD";
}

// "RS on, CS off": the lines whose state a change record changes.
std::string ChangeComment(uint16_t before, uint16_t after) {
    std::string text;
    for (int i = 0; i < kControlLineCount; ++i) {
        const auto line = static_cast<ControlLine>(i);
        const LineState state = LineStateOf(after, line);
        if (state == LineStateOf(before, line)) {
            continue;
        }
        if (!text.empty()) {
            text += ", ";
        }
        text += ControlLineName(line);
        text += state == LineState::On ? " on" : state == LineState::Off ? " off" : " unknown";
    }
    return text.empty() ? "control lines unchanged" : text;
}

// An event packet waiting for the frame it happened in to be written first.
struct PendingEvent {
    LocalNs at = 0;
    RtacEvent event = RtacEvent::StatusChange;
    uint16_t lines = 0;
    std::string comment;
};

class PcapngExport {
public:
    PcapngExport(const CCaptureData& capture, const TimeBase& base, BinaryWriter& out)
        : capture_(capture), base_(base), out_(out) {}

    void run();

private:
    void writeSectionHeader();
    void writeInterface();
    void writeOption(uint16_t code, const void* value, size_t size);
    void writeOption(uint16_t code, std::string_view text) {
        writeOption(code, text.data(), text.size());
    }
    void writePacket(LocalNs at, RtacEvent event, uint16_t lines, const std::vector<uint8_t>& data,
                     std::string_view comment);
    void writeFrame(const SerialFrame& frame);
    void event(const PendingEvent& pending);

    const CCaptureData& capture_;
    const TimeBase& base_;
    BinaryWriter& out_;
    FrameTracker frames_;
    std::vector<uint8_t> payload_; // the characters of the open frame
    std::vector<PendingEvent> pending_;
    const std::vector<uint8_t> none_;
};

void PcapngExport::writeOption(uint16_t code, const void* value, size_t size) {
    static constexpr uint8_t kZeros[4] = {};
    out_.writeU16(code);
    out_.writeU16(static_cast<uint16_t>(size));
    out_.writeBytes(value, size);
    out_.writeBytes(kZeros, Padded(size) - size);
}

void PcapngExport::writeSectionHeader() {
    const std::string_view application = WriterName();
    const auto length = static_cast<uint32_t>(28 + 4 + Padded(application.size()) + 4);
    out_.writeU32(kSectionHeaderBlock);
    out_.writeU32(length);
    out_.writeU32(kByteOrderMagic);
    out_.writeU16(1); // version 1.0
    out_.writeU16(0);
    out_.writeU32(0xFFFFFFFF); // section length not given
    out_.writeU32(0xFFFFFFFF);
    writeOption(kShbUserApplication, application);
    writeOption(kOptionEnd, nullptr, 0);
    out_.writeU32(length);
}

void PcapngExport::writeInterface() {
    const std::string_view name = "SD/RD";
    const std::string description = LineConditionsText(capture_.header());
    const uint8_t microseconds = 6;
    const auto length = static_cast<uint32_t>(20 + 4 + Padded(name.size()) + 4 +
                                              Padded(description.size()) + 4 + 4 + 4);
    out_.writeU32(kInterfaceBlock);
    out_.writeU32(length);
    out_.writeU16(kLinkTypeRtacSerial);
    out_.writeU16(0);
    out_.writeU32(0); // no snapshot limit
    writeOption(kIfName, name);
    writeOption(kIfDescription, description);
    writeOption(kIfTimestampResolution, &microseconds, 1);
    writeOption(kOptionEnd, nullptr, 0);
    out_.writeU32(length);
}

void PcapngExport::writePacket(LocalNs at, RtacEvent event, uint16_t lines,
                               const std::vector<uint8_t>& data, std::string_view comment) {
    static constexpr uint8_t kZeros[4] = {};
    const size_t captured = kRtacHeaderSize + data.size();
    const size_t options = comment.empty() ? 0 : 4 + Padded(comment.size()) + 4;
    const auto length = static_cast<uint32_t>(32 + Padded(captured) + options);
    const int64_t micros = base_.utcMicroseconds(at);
    const auto seconds = static_cast<uint32_t>(micros / 1'000'000);
    const auto fraction = static_cast<uint32_t>(micros % 1'000'000);
    const uint8_t header[kRtacHeaderSize] = {static_cast<uint8_t>(seconds >> 24),
                                             static_cast<uint8_t>(seconds >> 16),
                                             static_cast<uint8_t>(seconds >> 8),
                                             static_cast<uint8_t>(seconds),
                                             static_cast<uint8_t>(fraction >> 24),
                                             static_cast<uint8_t>(fraction >> 16),
                                             static_cast<uint8_t>(fraction >> 8),
                                             static_cast<uint8_t>(fraction),
                                             static_cast<uint8_t>(event),
                                             RtacControlLines(lines),
                                             0,
                                             0};
    out_.writeU32(kEnhancedPacketBlock);
    out_.writeU32(length);
    out_.writeU32(0); // the one interface
    out_.writeU32(static_cast<uint32_t>(static_cast<uint64_t>(micros) >> 32));
    out_.writeU32(static_cast<uint32_t>(micros));
    out_.writeU32(static_cast<uint32_t>(captured));
    out_.writeU32(static_cast<uint32_t>(captured));
    out_.writeBytes(header, kRtacHeaderSize);
    out_.writeBytes(data.data(), data.size());
    out_.writeBytes(kZeros, Padded(captured) - captured);
    if (!comment.empty()) {
        writeOption(kOptionComment, comment);
        writeOption(kOptionEnd, nullptr, 0);
    }
    out_.writeU32(length);
}

void PcapngExport::event(const PendingEvent& pending) {
    if (frames_.open()) {
        pending_.push_back(pending); // after the packet of the frame it happened in
    } else {
        writePacket(pending.at, pending.event, pending.lines, none_, pending.comment);
    }
}

void PcapngExport::writeFrame(const SerialFrame& frame) {
    if (!payload_.empty()) {
        writePacket(frame.start,
                    frame.direction == LineDirection::Sd ? RtacEvent::DataTxStart
                                                         : RtacEvent::DataRxStart,
                    frame.lines, payload_, {});
    }
    payload_.clear();
    for (const PendingEvent& pending : pending_) {
        writePacket(pending.at, pending.event, pending.lines, none_, pending.comment);
    }
    pending_.clear();
}

void PcapngExport::run() {
    writeSectionHeader();
    writeInterface();
    CaptureTimeline timeline(capture_, base_);
    TimedItem item;
    while (timeline.next(item) && out_.ok()) {
        if (const std::optional<SerialFrame> closed = frames_.add(item)) {
            // The item starts a new line: the frame before it goes out with its events.
            writeFrame(*closed);
        }
        switch (item.kind) {
        case TimedItemKind::Character:
            payload_.push_back(item.code);
            break;
        case TimedItemKind::Error: {
            RtacEvent type{};
            if (ErrorEvent(item.code, type)) {
                std::string comment(DirectionName(item.direction));
                comment += ": ";
                comment += ErrorDescription(item.code);
                comment += " (";
                comment += ErrorName(item.code);
                comment += ")";
                event({item.start, type, item.lines, std::move(comment)});
            }
            break;
        }
        case TimedItemKind::ControlChange:
            event({item.start, RtacEvent::StatusChange, item.lines,
                   ChangeComment(item.previousLines, item.lines)});
            break;
        default:
            break;
        }
    }
    if (const std::optional<SerialFrame> last = frames_.finish()) {
        writeFrame(*last);
    }
}

} // namespace

void WritePcapng(const CCaptureData& capture, const TimeBase& base, BinaryWriter& out) {
    PcapngExport(capture, base, out).run();
}

} // namespace varnolt
