#include "core/interop/VcdWriter.h"

#include "core/interop/CaptureTimeline.h"
#include "core/interop/InteropText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <deque>
#include <string>
#include <vector>

namespace varnolt {

namespace {

// Signals in the order of their identifiers '!' ... '(' .
enum Signal : size_t { kSd, kRd, kRs, kEr, kCs, kDr, kCd, kCi, kSignalCount };
constexpr std::array<std::string_view, kSignalCount> kSignalNames = {"SD", "RD", "RS", "ER",
                                                                     "CS", "DR", "CD", "CI"};
constexpr char Identifier(size_t signal) {
    return static_cast<char>('!' + signal);
}

// A value change waiting for the changes of the other signals that come before it.
struct Change {
    int64_t at = 0; // in time units after the capture's first record
    char value = '1';
    uint8_t signal = 0;
};

char ValueOf(LineState state) {
    return state == LineState::On ? '1' : state == LineState::Off ? '0' : 'x';
}

class VcdExport {
public:
    VcdExport(const CCaptureData& capture, const TimeBase& base, BinaryWriter& out)
        : capture_(capture), out_(out), timeline_(capture, base),
          unit_(VcdTimeUnitNs(timeline_.speed())) {}

    void run();

private:
    // The output goes through a large buffer of its own: a change is only a few bytes.
    void writeText(std::string_view text) {
        buffer_.append(text);
        if (buffer_.size() >= kBufferFlush) {
            flushBuffer();
        }
    }
    void flushBuffer() {
        out_.writeBytes(buffer_.data(), buffer_.size());
        buffer_.clear();
    }
    void writeHeader(LocalNs origin);
    [[nodiscard]] int64_t unitsAt(LocalNs at) const { return (at - origin_) / unit_; }
    // The moment bit BIT of a character starting at START begins.
    [[nodiscard]] LocalNs bitAt(LocalNs start, int64_t bit) const {
        return start + bitOffsets_[static_cast<size_t>(bit)];
    }
    void queue(size_t queueIndex, uint8_t signal, LocalNs at, char value);
    void drawCharacter(const TimedItem& item);
    void drawControlLines(uint16_t states);
    // Writes every queued change up to AT (ns), in time order.
    void flush(LocalNs at);
    void writeChange(const Change& change);
    // A "#" line: the changes that follow happen at AT.
    void writeTime(int64_t at);

    const CCaptureData& capture_;
    BinaryWriter& out_;
    CaptureTimeline timeline_;
    int64_t unit_;
    LocalNs origin_ = 0;
    LocalNs watermark_ = 0;                    // no change is queued before this any more
    std::array<LocalNs, 2> lineFree_{};        // SD, RD: when the next start bit may come
    std::array<char, kSignalCount> queued_{};  // the value each signal has after its queue
    std::array<std::deque<Change>, 3> queues_; // SD wire, RD wire, control lines
    int64_t written_ = -1;                     // the time of the latest "#" line
    std::vector<DurationNs> bitOffsets_;       // where bit K of a character begins, from its start
    uint16_t drawnLines_ = 0xFFFF;             // the control-line states drawn last
    std::string buffer_;
    static constexpr size_t kBufferFlush = size_t{1} << 20;
};

void VcdExport::writeHeader(LocalNs origin) {
    const CaptureHeader& header = capture_.header();
    static constexpr std::array<std::string_view, 7> kUnits = {"1 ns",  "10 ns",  "100 ns", "1 us",
                                                               "10 us", "100 us", "1 ms"};
    size_t unitIndex = 0;
    for (int64_t u = unit_; u > 1; u /= 10) {
        ++unitIndex;
    }
    std::string text = "$date " + FormatLocalTime(origin) + " $end\n";
    text += "$version ";
    text += WriterName();
    text += " $end\n$comment ";
    text += LineConditionsText(header);
    text += " $end\n$timescale ";
    text += kUnits[unitIndex];
    text += " $end\n$scope module serial $end\n";
    for (size_t signal = 0; signal < kSignalCount; ++signal) {
        text += "$var wire 1 ";
        text += Identifier(signal);
        text += ' ';
        text += kSignalNames[signal];
        text += " $end\n";
    }
    text += "$upscope $end\n$enddefinitions $end\n#0\n$dumpvars\n";
    for (size_t signal = 0; signal < kSignalCount; ++signal) {
        text += queued_[signal];
        text += Identifier(signal);
        text += '\n';
    }
    text += "$end\n";
    writeText(text);
    written_ = 0;
}

void VcdExport::queue(size_t queueIndex, uint8_t signal, LocalNs at, char value) {
    if (queued_[signal] == value) {
        return;
    }
    queued_[signal] = value;
    queues_[queueIndex].push_back({unitsAt(at), value, signal});
}

void VcdExport::drawCharacter(const TimedItem& item) {
    const size_t wire = item.direction == LineDirection::Sd ? 0 : 1;
    const auto signal = static_cast<uint8_t>(wire == 0 ? kSd : kRd);
    const CaptureHeader& header = capture_.header();
    const int dataBits = timeline_.bitsPerCharacter() - 2 - (header.parity != 0 ? 1 : 0) -
                         (header.stopBits == 2 ? 1 : 0);
    const LocalNs start = std::max({item.start, lineFree_[wire], watermark_});
    const int bits = timeline_.bitsPerCharacter();
    if (item.kind == TimedItemKind::Error && item.code == static_cast<uint8_t>(LineError::Break)) {
        queue(wire, signal, start, '0');
        const LocalNs end = bitAt(start, 2 * bits);
        queue(wire, signal, end, '1');
        lineFree_[wire] = bitAt(end, bits);
        return;
    }
    const bool error = item.kind == TimedItemKind::Error;
    const bool wrongParity = error && (item.code == static_cast<uint8_t>(LineError::Parity) ||
                                       item.code == static_cast<uint8_t>(LineError::ParityFraming));
    const bool noStop = error && (item.code == static_cast<uint8_t>(LineError::Framing) ||
                                  item.code == static_cast<uint8_t>(LineError::ParityFraming));
    // An error record keeps no character: draw one of all ones around the faulty bit.
    const uint32_t mask = (1u << dataBits) - 1;
    const uint32_t data = (error ? 0xFFFFFFFFu : item.code) & mask;
    int bit = 0;
    queue(wire, signal, bitAt(start, bit++), '0');
    for (int k = 0; k < dataBits; ++k) {
        queue(wire, signal, bitAt(start, bit++), (data >> k & 1) != 0 ? '1' : '0');
    }
    if (header.parity != 0) {
        const bool odd = (std::popcount(data) & 1) != 0;
        bool parityBit = header.parity == 3 ? !odd : odd;
        if (wrongParity) {
            parityBit = !parityBit;
        }
        queue(wire, signal, bitAt(start, bit++), parityBit ? '1' : '0');
    }
    queue(wire, signal, bitAt(start, bit++), noStop ? '0' : '1');
    queue(wire, signal, bitAt(start, bit), '1');
    const LocalNs end = bitAt(start, bits);
    lineFree_[wire] = error ? bitAt(end, bits) : end;
}

void VcdExport::drawControlLines(uint16_t states) {
    const LocalNs at = watermark_;
    for (size_t k = 0; k < kControlLineCount; ++k) {
        queue(2, static_cast<uint8_t>(kRs + k), at,
              ValueOf(LineStateOf(states, static_cast<ControlLine>(k))));
    }
}

void VcdExport::writeTime(int64_t at) {
    char text[24];
    size_t used = sizeof text;
    text[--used] = '\n';
    for (uint64_t value = static_cast<uint64_t>(at);;) {
        text[--used] = static_cast<char>('0' + value % 10);
        value /= 10;
        if (value == 0) {
            break;
        }
    }
    text[--used] = '#';
    writeText({text + used, sizeof text - used});
    written_ = at;
}

void VcdExport::writeChange(const Change& change) {
    if (change.at != written_) {
        writeTime(change.at);
    }
    const char text[3] = {change.value, Identifier(change.signal), '\n'};
    writeText({text, sizeof text});
}

void VcdExport::flush(LocalNs at) {
    const int64_t limit = unitsAt(at);
    while (true) {
        std::deque<Change>* earliest = nullptr;
        for (std::deque<Change>& queue : queues_) {
            if (!queue.empty() && queue.front().at <= limit &&
                (earliest == nullptr || queue.front().at < earliest->front().at)) {
                earliest = &queue;
            }
        }
        if (earliest == nullptr) {
            return;
        }
        writeChange(earliest->front());
        earliest->pop_front();
    }
}

void VcdExport::run() {
    buffer_.reserve(kBufferFlush + 64);
    // Three characters' worth of bits: a break holds the line for two, then idles for one.
    for (int64_t bit = 0; bit <= 3 * timeline_.bitsPerCharacter(); ++bit) {
        bitOffsets_.push_back(bit * kNsPerSecond / timeline_.speed());
    }
    queued_.fill('x');
    queued_[kSd] = queued_[kRd] = '1';
    TimedItem item;
    bool first = true;
    LocalNs last = 0;
    while (timeline_.next(item) && out_.ok()) {
        if (first) {
            origin_ = watermark_ = item.start;
            lineFree_.fill(item.start);
            if (capture_.header().recordWidth == 1) {
                for (size_t k = 0; k < kControlLineCount; ++k) {
                    queued_[kRs + k] = ValueOf(LineStateOf(
                        item.kind == TimedItemKind::ControlChange ? item.previousLines : item.lines,
                        static_cast<ControlLine>(k)));
                }
            }
            writeHeader(origin_);
            first = false;
        }
        watermark_ = std::max(watermark_, item.start);
        flush(watermark_);
        if (capture_.header().recordWidth == 1 && item.lines != drawnLines_) {
            drawControlLines(item.lines);
            drawnLines_ = item.lines;
        }
        if (item.kind == TimedItemKind::Character ||
            (item.kind == TimedItemKind::Error &&
             item.code != static_cast<uint8_t>(LineError::Overrun) && item.code <= 4)) {
            drawCharacter(item);
        }
        last = std::max({last, item.end, lineFree_[0], lineFree_[1]});
    }
    if (first) {
        writeHeader(0);
    } else {
        flush(last);
        const int64_t end = unitsAt(last);
        if (end > written_) {
            writeTime(end);
        }
    }
    flushBuffer();
}

} // namespace

int64_t VcdTimeUnitNs(uint32_t speed) {
    const int64_t bitNs = kNsPerSecond / std::max<uint32_t>(speed, 1);
    int64_t unit = 1;
    while (unit < kNsPerMs && unit * 10 * 50 <= bitNs) {
        unit *= 10;
    }
    return unit;
}

void WriteVcd(const CCaptureData& capture, const TimeBase& base, BinaryWriter& out) {
    VcdExport(capture, base, out).run();
}

} // namespace varnolt
