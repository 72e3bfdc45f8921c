#include "core/interop/VcdWriter.h"

#include "core/interop/BlockQueue.h"
#include "core/interop/CaptureTimeline.h"
#include "core/interop/InteropText.h"
#include "core/interop/VcdChangeOutput.h"
#include "core/interop/VcdWireQueue.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
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

// A control-line change waiting for the changes on the wires that come before it.
struct Change {
    int64_t at = 0; // in time units after the capture's first record
    char value = '1';
    uint8_t signal = 0;
};

char ValueOf(LineState state) {
    return state == LineState::On ? '1' : state == LineState::Off ? '0' : 'x';
}

// N divided by UNIT, one of 1, 10 ... 1,000,000 ns: a division by a constant in each case,
// which the compiler makes a multiplication.
int64_t DivideByUnit(int64_t n, int64_t unit) {
    switch (unit) {
    case 1:
        return n;
    case 10:
        return n / 10;
    case 100:
        return n / 100;
    case 1'000:
        return n / 1'000;
    case 10'000:
        return n / 10'000;
    case 100'000:
        return n / 100'000;
    case 1'000'000:
        return n / 1'000'000;
    default:
        return n / unit;
    }
}

class VcdExport {
public:
    VcdExport(const CCaptureData& capture, const TimeBase& base, BinaryWriter& out)
        : capture_(capture), out_(out), changes_(out), timeline_(capture, base),
          unit_(VcdTimeUnitNs(timeline_.speed())) {}

    void run();

private:
    // The queues of changes, merged by time: SD wire, RD wire, control lines.
    enum Source : size_t { kSdWire, kRdWire, kControlLines, kSourceCount };
    static constexpr int64_t kNever = std::numeric_limits<int64_t>::max();

    // The header, dated FIRSTRECORD, and the values at time 0.
    void writeHeader(LocalNs firstRecord);
    [[nodiscard]] int64_t unitsAt(LocalNs at) const { return DivideByUnit(at - origin_, unit_); }
    // The moment bit BIT of a character starting at START begins.
    [[nodiscard]] LocalNs bitAt(LocalNs start, int64_t bit) const {
        return start + bitOffsets_[static_cast<size_t>(bit)];
    }
    // Draws on WIRE, from START, the levels LEVELS (bit K from bit K on; the highest bit set is
    // the idle level after the character).
    void drawLevels(size_t wire, LocalNs start, uint32_t levels);
    void drawCharacter(const TimedItem& item);
    void queueControl(uint8_t signal, LocalNs at, char value);
    void drawControlLines(uint16_t states);
    // The time of the first unwritten edge of QUEUE's first character.
    [[nodiscard]] int64_t firstEdgeAt(const VcdWireQueue& queue) const {
        return unitsAt(bitAt(queue.frontStart(), std::countr_zero(queue.frontEdges())));
    }
    // The time of the next change of the wire's queue.
    void findNextEdge(size_t wire);
    // Writes the changes of WIRE up to UNTIL (inclusive, in units).
    void writeWire(size_t wire, int64_t until);
    // Writes the control-line changes up to UNTIL (inclusive, in units).
    void writeControlLines(int64_t until);
    // Writes every queued change up to AT (ns), in time order.
    void flush(LocalNs at);

    const CCaptureData& capture_;
    BinaryWriter& out_;
    VcdChangeOutput changes_;
    CaptureTimeline timeline_;
    int64_t unit_;
    LocalNs origin_ = 0;
    LocalNs watermark_ = 0;                   // no change is queued before this any more
    std::array<LocalNs, 2> lineFree_{};       // SD, RD: when the next start bit may come
    std::array<char, kSignalCount> queued_{}; // the value each signal has after its queue
    std::array<VcdWireQueue, 2> wires_;
    BlockQueue<Change> controlChanges_;
    std::array<int64_t, kSourceCount> nextAt_{kNever, kNever, kNever}; // first queued change
    std::vector<DurationNs> bitOffsets_; // where bit K of a character begins, from its start
    int dataBits_ = 8;
    uint16_t drawnLines_ = 0xFFFF; // the control-line states drawn last
};

void VcdExport::writeHeader(LocalNs firstRecord) {
    const CaptureHeader& header = capture_.header();
    static constexpr std::array<std::string_view, 7> kUnits = {"1 ns",  "10 ns",  "100 ns", "1 us",
                                                               "10 us", "100 us", "1 ms"};
    size_t unitIndex = 0;
    for (int64_t u = unit_; u > 1; u /= 10) {
        ++unitIndex;
    }
    std::string text = "$date " + FormatLocalTime(firstRecord) + " $end\n";
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
    changes_.writeText(text);
    changes_.setTime(0);
}

void VcdExport::drawLevels(size_t wire, LocalNs start, uint32_t levels) {
    wires_[wire].push(start, levels);
    if (nextAt_[wire] == kNever) {
        findNextEdge(wire);
    }
}

void VcdExport::drawCharacter(const TimedItem& item) {
    const size_t wire = item.direction == LineDirection::Sd ? kSdWire : kRdWire;
    const int bits = timeline_.bitsPerCharacter();
    const LocalNs start = std::max({item.start, lineFree_[wire], watermark_});
    if (item.kind == TimedItemKind::Error && item.code == static_cast<uint8_t>(LineError::Break)) {
        // Low for two characters, then idle for one.
        drawLevels(wire, start, 1u << 2 * bits);
        lineFree_[wire] = bitAt(bitAt(start, 2 * bits), bits);
        return;
    }
    const bool error = item.kind == TimedItemKind::Error;
    const bool wrongParity = error && (item.code == static_cast<uint8_t>(LineError::Parity) ||
                                       item.code == static_cast<uint8_t>(LineError::ParityFraming));
    const bool noStop = error && (item.code == static_cast<uint8_t>(LineError::Framing) ||
                                  item.code == static_cast<uint8_t>(LineError::ParityFraming));
    // An error record keeps no character: draw one of all ones around the faulty bit.
    const uint32_t mask = (1u << dataBits_) - 1;
    const uint32_t data = (error ? 0xFFFFFFFFu : item.code) & mask;
    // The start bit, the data bits least significant first, the parity bit, the stop bit and the
    // idle level after it.
    uint32_t levels = data << 1;
    int bit = 1 + dataBits_;
    const int parity = capture_.header().parity;
    if (parity != 0) {
        const bool odd = (std::popcount(data) & 1) != 0;
        const bool parityBit = (parity == 3 ? !odd : odd) != wrongParity;
        levels |= uint32_t{parityBit} << bit++;
    }
    levels |= uint32_t{!noStop} << bit++;
    levels |= 1u << bit;
    drawLevels(wire, start, levels);
    const LocalNs end = bitAt(start, bits);
    lineFree_[wire] = error ? bitAt(end, bits) : end;
}

void VcdExport::queueControl(uint8_t signal, LocalNs at, char value) {
    if (queued_[signal] == value) {
        return;
    }
    queued_[signal] = value;
    controlChanges_.push({unitsAt(at), value, signal});
    if (nextAt_[kControlLines] == kNever) {
        nextAt_[kControlLines] = controlChanges_.front().at;
    }
}

void VcdExport::drawControlLines(uint16_t states) {
    const LocalNs at = watermark_;
    for (size_t k = 0; k < kControlLineCount; ++k) {
        queueControl(static_cast<uint8_t>(kRs + k), at,
                     ValueOf(LineStateOf(states, static_cast<ControlLine>(k))));
    }
}

void VcdExport::findNextEdge(size_t wire) {
    const VcdWireQueue& queue = wires_[wire];
    nextAt_[wire] = queue.empty() ? kNever : firstEdgeAt(queue);
}

void VcdExport::writeControlLines(int64_t until) {
    while (nextAt_[kControlLines] <= until) {
        const Change change = controlChanges_.front();
        changes_.writeChange(change.at, change.value, Identifier(change.signal));
        controlChanges_.pop();
        nextAt_[kControlLines] = controlChanges_.empty() ? kNever : controlChanges_.front().at;
    }
}

void VcdExport::writeWire(size_t wire, int64_t until) {
    VcdWireQueue& queue = wires_[wire];
    const char identifier = Identifier(wire == kSdWire ? kSd : kRd);
    while (nextAt_[wire] <= until) {
        // The first character's edges, in a loop of their own: a full capture has tens of
        // millions of them.
        const LocalNs start = queue.frontStart();
        const uint32_t levels = queue.frontLevels();
        uint32_t edges = queue.frontEdges();
        int64_t at = nextAt_[wire];
        do {
            const int bit = std::countr_zero(edges);
            changes_.writeChange(at, (levels >> bit & 1) != 0 ? '1' : '0', identifier);
            edges &= edges - 1;
            if (edges == 0) {
                break;
            }
            at = unitsAt(bitAt(start, std::countr_zero(edges)));
        } while (at <= until);
        queue.edgesLeft(edges);
        nextAt_[wire] = edges != 0 ? at : queue.empty() ? kNever : firstEdgeAt(queue);
    }
}

void VcdExport::flush(LocalNs at) {
    const int64_t limit = unitsAt(at);
    // Without control-line changes waiting, the two wires alone take turns: one writes until
    // the other's next change comes first (SD first on a tie).
    while (nextAt_[kControlLines] == kNever) {
        const bool rd = nextAt_[kRdWire] < nextAt_[kSdWire];
        const size_t wire = rd ? kRdWire : kSdWire;
        if (nextAt_[wire] > limit) {
            return;
        }
        const int64_t other = rd ? nextAt_[kSdWire] - 1 : nextAt_[kRdWire];
        writeWire(wire, std::min(limit, other));
    }
    while (true) {
        // The source whose first change comes first; on a tie, the one listed first.
        size_t earliest = 0;
        for (size_t k = 1; k < kSourceCount; ++k) {
            if (nextAt_[k] < nextAt_[earliest]) {
                earliest = k;
            }
        }
        if (nextAt_[earliest] > limit) {
            return;
        }
        // Its changes go out until one of another source comes first.
        int64_t until = limit; // inclusive
        for (size_t k = 0; k < kSourceCount; ++k) {
            if (k != earliest) {
                until = std::min(until, k < earliest ? nextAt_[k] - 1 : nextAt_[k]);
            }
        }
        if (earliest == kControlLines) {
            writeControlLines(until);
        } else {
            writeWire(earliest, until);
        }
    }
}

void VcdExport::run() {
    const int bits = timeline_.bitsPerCharacter();
    const CaptureHeader& header = capture_.header();
    dataBits_ = bits - 2 - (header.parity != 0 ? 1 : 0) - (header.stopBits == 2 ? 1 : 0);
    // Three characters' worth of bits: a break holds the line for two, then idles for one.
    for (int64_t bit = 0; bit <= 3 * bits; ++bit) {
        bitOffsets_.push_back(bit * kNsPerSecond / timeline_.speed());
    }
    queued_.fill('x');
    queued_[kSd] = queued_[kRd] = '1';
    TimedItem item;
    bool first = true;
    LocalNs last = 0;
    while (timeline_.next(item) && out_.ok()) {
        if (first) {
            // Time 0 lies one character time before the first record: a decoder must see the
            // line idle before the first start bit, or it cannot tell where the first frame
            // begins. The header's date stays the first record's own time.
            origin_ = item.start - timeline_.characterTime();
            watermark_ = item.start;
            lineFree_.fill(item.start);
            if (header.recordWidth == 1) {
                for (size_t k = 0; k < kControlLineCount; ++k) {
                    queued_[kRs + k] = ValueOf(LineStateOf(
                        item.kind == TimedItemKind::ControlChange ? item.previousLines : item.lines,
                        static_cast<ControlLine>(k)));
                }
            }
            writeHeader(item.start);
            first = false;
        }
        watermark_ = std::max(watermark_, item.start);
        flush(watermark_);
        if (header.recordWidth == 1 && item.lines != drawnLines_) {
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
        if (end > changes_.time()) {
            changes_.writeTime(end);
        }
    }
    changes_.flush();
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
