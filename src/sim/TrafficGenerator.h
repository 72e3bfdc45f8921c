#pragma once

#include "core/capture/RecordWord.h"
#include "sim/TrafficChoice.h"

#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace varnolt::sim {

// The line conditions and recording options the analyzer measures with.
struct TrafficSettings {
    uint32_t speed = 9600; // bit/s on each line
    uint16_t dataBits = 8;
    uint16_t stopBits = 1;
    int32_t parity = 0;             // 0 none, 2 even, 3 odd
    int32_t idleDisplay = 0;        // 0 no idle records; 1, 2, 3: 0.001 s, 0.01 s, 0.1 s
    int32_t timeDisplay = 0;        // 0 no time stamps; 1 to 5 the stamp kind
    uint16_t recordWidth = 0;       // 1: control lines in every word and as change records
    uint32_t frameDetectionMs = 10; // a gap this long starts a new line
    TrafficKind kind = TrafficKind::Exchanges;
    uint32_t longestGapMs = 20;       // idle gaps between exchanges: 0.5 ms to this
    uint32_t errorsPerMillion = 2000; // characters received with a parity or framing error
                                      // (none in Modbus traffic, whose frames stay valid)
    uint64_t seed = 1;
};

// One record of the traffic: its words (one, or a head and its continuations), and when the
// analyzer recorded it, in nanoseconds since the measurement started.
struct TrafficItem {
    uint64_t atNs = 0;
    std::vector<RecordWord> words;
};

// Plausible serial traffic as the analyzer records it, deterministic for a seed: request and
// response exchanges (SD then RD: hexadecimal text frames, some binary) with idle gaps between
// them, time stamps before each request, control-line changes around it (record width 1), now and
// then a character with a parity or framing error. Saturated traffic keeps both lines busy with
// characters back to back. Modbus traffic is a master's requests and its slaves' responses with
// the silences Modbus RTU asks for (the same stamps and control lines, no line errors).
class TrafficGenerator {
public:
    explicit TrafficGenerator(const TrafficSettings& settings);

    // The next item, in time order.
    [[nodiscard]] const TrafficItem& Peek();
    void Pop() { pending_.pop_front(); }

    // The control-line field now (RS in bits 1..0 ... CI in bits 11..10; 1 on, 2 off).
    [[nodiscard]] uint16_t controlLines() const { return lines_; }
    // Nanoseconds a character takes on the line.
    [[nodiscard]] uint64_t characterNs() const { return characterNs_; }

private:
    // The traffic that follows, by kind.
    void Generate();
    void GenerateSaturated();
    void GenerateExchange();
    void GenerateModbus();
    // A gap of GAP_NS, with its idle record, then the stamp and the control lines of a request.
    void BeginRequest(uint64_t gapNs);
    // The characters of FRAME back to back on one line; LINE_START flags the first.
    void EmitFrame(std::string_view frame, bool rd, bool lineStart);
    [[nodiscard]] bool startsLine(uint64_t gapNs) const;
    void Emit(uint64_t atNs, RecordWord word);
    void EmitCharacter(uint64_t atNs, bool rd, bool lineStart);
    void EmitCharacter(uint64_t atNs, bool rd, bool lineStart, uint8_t character);
    [[nodiscard]] std::string MakeRequest();
    [[nodiscard]] std::string MakeResponse(const std::string& request);
    void EmitIdle(uint64_t gapNs);
    void EmitStamp(uint64_t atNs);
    void ChangeLines(uint64_t atNs, uint16_t lines);
    [[nodiscard]] RecordWord withLines(RecordWord word) const;

    TrafficSettings settings_;
    std::mt19937_64 random_;
    uint64_t characterNs_;
    uint64_t clockNs_ = 0; // where the next exchange begins
    uint16_t lines_;
    std::deque<TrafficItem> pending_;
};

// The stamp words for NS after the measurement began (at 05:00:00.00 on 2026-12-10), in the
// layout of STAMP_KIND (1 to 5), low halves 0.
[[nodiscard]] std::vector<RecordWord> TimeStampWords(uint8_t stampKind, uint64_t ns);

} // namespace varnolt::sim
