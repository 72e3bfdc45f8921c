#include "sim/TrafficGenerator.h"

#include "sim/ModbusFrames.h"

#include <algorithm>

namespace varnolt::sim {

namespace {

constexpr uint64_t kNsPerMs = 1'000'000;
// The time of day the simulated clock shows when a measurement begins: 05:00:00.
constexpr uint64_t kStartOfDayNs = 5ULL * 3600 * 1000 * kNsPerMs;

// Control lines: RS in bits 1..0, ER 3..2, CS 5..4, DR 7..6, CD 9..8, CI 11..10.
constexpr uint16_t kOn = 1;
constexpr uint16_t kOff = 2;
constexpr uint16_t Lines(uint16_t rs, uint16_t er, uint16_t cs, uint16_t dr, uint16_t cd,
                         uint16_t ci) {
    return static_cast<uint16_t>(rs | er << 2 | cs << 4 | dr << 6 | cd << 8 | ci << 10);
}
constexpr uint16_t kQuietLines = Lines(kOff, kOn, kOff, kOn, kOff, kOff);
constexpr uint16_t kRequestLines = Lines(kOn, kOn, kOn, kOn, kOff, kOff);

uint32_t Bcd(uint32_t value) {
    return (value / 10) << 4 | value % 10;
}

} // namespace

std::vector<RecordWord> TimeStampWords(uint8_t stampKind, uint64_t ns) {
    const uint64_t dayNs = (kStartOfDayNs + ns) % (24ULL * 3600 * 1000 * kNsPerMs);
    const auto hundredths = static_cast<uint32_t>(dayNs / (10 * kNsPerMs));
    const uint32_t hours = hundredths / 360'000;
    const uint32_t minutes = hundredths / 6000 % 60;
    const uint32_t seconds = hundredths / 100 % 60;
    const uint32_t cents = hundredths % 100;
    const uint32_t year = 26;
    const uint32_t month = 12;
    const uint32_t day = 10;
    uint32_t head = 0;
    uint32_t c1 = 0;
    uint32_t c2 = 0;
    uint32_t c3 = 0;
    if (stampKind == 2 || stampKind == 5) { // month, day, hours, minutes, seconds, hundredths
        head = (month / 10) << 6 | (month % 10) << 2 | day / 10;
        c1 = (day % 10) << 8 | (hours / 10) << 6 | (hours % 10) << 2 | (minutes / 10) >> 1;
        c2 = ((minutes / 10) & 1) << 11 | (minutes % 10) << 7 | (seconds / 10) << 4 | seconds % 10;
        c3 = (cents / 10) << 8 | (cents % 10) << 4;
    } else { // year, month, day, hours, minutes, seconds
        head = Bcd(year);
        c1 = (month / 10) << 10 | (month % 10) << 6 | (day / 10) << 4 | day % 10;
        c2 = (hours / 10) << 10 | (hours % 10) << 6 | (minutes / 10) << 3 | (minutes % 10) >> 1;
        c3 = ((minutes % 10) & 1) << 11 | (seconds / 10) << 8 | (seconds % 10) << 4;
    }
    return {MakeRecordWord(RecordKind::StampHead, uint32_t{stampKind} << 8 | head),
            MakeRecordWord(RecordKind::StampContinuation, c1),
            MakeRecordWord(RecordKind::StampContinuation, c2),
            MakeRecordWord(RecordKind::StampContinuation, c3)};
}

TrafficGenerator::TrafficGenerator(const TrafficSettings& settings)
    : settings_(settings), random_(settings.seed),
      characterNs_(uint64_t{1'000'000'000} *
                   (1U + settings.dataBits + (settings.parity != 0 ? 1U : 0U) + settings.stopBits) /
                   std::max<uint32_t>(settings.speed, 1)),
      lines_(settings.recordWidth == 1 ? kQuietLines : 0) {
}

const TrafficItem& TrafficGenerator::Peek() {
    while (pending_.empty()) {
        Generate();
    }
    return pending_.front();
}

RecordWord TrafficGenerator::withLines(RecordWord word) const {
    return settings_.recordWidth == 1 ? word | lines_ : word;
}

void TrafficGenerator::Emit(uint64_t atNs, RecordWord word) {
    pending_.push_back({atNs, {withLines(word)}});
}

void TrafficGenerator::EmitCharacter(uint64_t atNs, bool rd, bool lineStart) {
    EmitCharacter(atNs, rd, lineStart, static_cast<uint8_t>(random_()));
}

void TrafficGenerator::EmitCharacter(uint64_t atNs, bool rd, bool lineStart, uint8_t character) {
    const uint32_t code = character & (settings_.dataBits == 7 ? 0x7Fu : 0xFFu);
    const uint32_t start = lineStart ? 0x100 : 0;
    // Modbus frames stay valid: a line error would spoil their CRCs.
    if (settings_.kind != TrafficKind::Modbus &&
        random_() % 1'000'000 < settings_.errorsPerMillion) {
        const auto error = static_cast<uint32_t>(
            settings_.parity != 0 && random_() % 2 == 0 ? LineError::Parity : LineError::Framing);
        Emit(atNs, MakeRecordWord(rd ? RecordKind::RdError : RecordKind::SdError, start | error));
        return;
    }
    Emit(atNs,
         MakeRecordWord(rd ? RecordKind::RdCharacter : RecordKind::SdCharacter, start | code));
}

void TrafficGenerator::EmitIdle(uint64_t gapNs) {
    static constexpr uint64_t kResolutionNs[] = {0, kNsPerMs, 10 * kNsPerMs, 100 * kNsPerMs};
    if (settings_.idleDisplay < 1 || settings_.idleDisplay > 3) {
        return;
    }
    const auto resolution = static_cast<uint32_t>(settings_.idleDisplay);
    const auto value = static_cast<uint32_t>(gapNs / kResolutionNs[resolution]);
    if (value == 0) {
        return;
    }
    TrafficItem item{clockNs_, {}};
    item.words.push_back(
        withLines(MakeRecordWord(RecordKind::IdleHead, resolution << 8 | value >> 24)));
    item.words.push_back(withLines(MakeRecordWord(RecordKind::IdleContinuation, value >> 12)));
    item.words.push_back(withLines(MakeRecordWord(RecordKind::IdleContinuation, value)));
    pending_.push_back(std::move(item));
}

void TrafficGenerator::EmitStamp(uint64_t atNs) {
    if (settings_.timeDisplay < 1 || settings_.timeDisplay > 5) {
        return;
    }
    TrafficItem item{atNs, TimeStampWords(static_cast<uint8_t>(settings_.timeDisplay), atNs)};
    for (RecordWord& word : item.words) {
        word = withLines(word);
    }
    pending_.push_back(std::move(item));
}

void TrafficGenerator::ChangeLines(uint64_t atNs, uint16_t lines) {
    if (settings_.recordWidth != 1 || lines == lines_) {
        return;
    }
    const RecordWord change = MakeRecordWord(RecordKind::ControlLineChange, lines_);
    lines_ = lines;
    Emit(atNs, change); // the new states ride in the low half
}

void TrafficGenerator::Generate() {
    switch (settings_.kind) {
    case TrafficKind::Saturated:
        GenerateSaturated();
        break;
    case TrafficKind::Modbus:
        GenerateModbus();
        break;
    case TrafficKind::Exchanges:
        GenerateExchange();
        break;
    }
}

void TrafficGenerator::GenerateSaturated() {
    // Both lines back to back: one character each per character time.
    const int burst = 64;
    for (int k = 0; k < burst; ++k) {
        EmitCharacter(clockNs_, false, false);
        EmitCharacter(clockNs_, true, false);
        clockNs_ += characterNs_;
    }
}

bool TrafficGenerator::startsLine(uint64_t gapNs) const {
    return gapNs >= uint64_t{settings_.frameDetectionMs} * kNsPerMs;
}

void TrafficGenerator::BeginRequest(uint64_t gapNs) {
    clockNs_ += gapNs;
    EmitIdle(gapNs);
    EmitStamp(clockNs_);
    ChangeLines(clockNs_, kRequestLines);
}

void TrafficGenerator::EmitFrame(std::string_view frame, bool rd, bool lineStart) {
    for (size_t k = 0; k < frame.size(); ++k) {
        clockNs_ += characterNs_;
        EmitCharacter(clockNs_, rd, lineStart && k == 0, static_cast<uint8_t>(frame[k]));
    }
}

void TrafficGenerator::GenerateExchange() {
    // Idle gap, 0.5 ms to the longest, then the request with its control lines, a turnaround of one
    // to four character times, and the response.
    const uint64_t gap =
        kNsPerMs / 2 + random_() % (std::max<uint64_t>(settings_.longestGapMs, 1) * kNsPerMs);
    BeginRequest(gap);
    const std::string request = MakeRequest();
    EmitFrame(request, false, startsLine(gap));
    ChangeLines(clockNs_, kQuietLines);
    clockNs_ += characterNs_ * (1 + random_() % 4);
    EmitFrame(MakeResponse(request), true, true);
}

void TrafficGenerator::GenerateModbus() {
    // A frame ends with a silence of at least 3.5 character times; above 19,200 bit/s Modbus fixes
    // it at 1.75 ms instead. The master waits that and up to the longest gap more between
    // transactions; a slave answers after the silence and up to 2 ms of its own.
    const uint64_t silence = std::max<uint64_t>(characterNs_ * 7 / 2, 1'750'000);
    const ModbusTransaction transaction = MakeModbusTransaction(random_);
    const uint64_t gap =
        silence + random_() % (std::max<uint64_t>(settings_.longestGapMs, 1) * kNsPerMs);
    const uint64_t turnaround = silence + random_() % (2 * kNsPerMs);
    const auto text = [](const std::vector<uint8_t>& frame) {
        return std::string_view(reinterpret_cast<const char*>(frame.data()), frame.size());
    };
    BeginRequest(gap);
    EmitFrame(text(transaction.request), false, startsLine(gap));
    ChangeLines(clockNs_, kQuietLines);
    clockNs_ += turnaround;
    EmitIdle(turnaround);
    EmitFrame(text(transaction.response), true, startsLine(turnaround));
}

// The requests of a typical controller on a serial bus: STX, station, command, register and
// data in hexadecimal text, ETX and a two-digit checksum; now and then a line of binary data.
std::string TrafficGenerator::MakeRequest() {
    static constexpr const char* kCommands[] = {"RD", "WR", "ST", "RS", "ID"};
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (random_() % 16 == 0) {
        std::string binary(4 + random_() % 29, '\0');
        for (char& byte : binary) {
            byte = static_cast<char>(random_());
        }
        return binary;
    }
    std::string text = "\x02";
    text += kHex[random_() % 16];
    text += kHex[random_() % 16];
    text += kCommands[random_() % std::size(kCommands)];
    for (int k = 0, n = 4 + 2 * static_cast<int>(random_() % 5); k < n; ++k) {
        text += kHex[random_() % 16];
    }
    text += '\x03';
    unsigned sum = 0;
    for (const char ch : text) {
        sum += static_cast<unsigned char>(ch);
    }
    text += kHex[(sum >> 4) & 0xF];
    text += kHex[sum & 0xF];
    return text;
}

// The answer: ACK with data for a read, a bare ACK, or NAK with an error number; text ends in
// CR LF. Shift-JIS status words now and then, as Japanese equipment sends them.
std::string TrafficGenerator::MakeResponse(const std::string& request) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    static constexpr const char* kStatus[] = {"OK", "BUSY", "READY", "\x90\xB3\x8F\xED",
                                              "\x83\x47\x83\x89\x81\x5B"};
    const unsigned pick = random_() % 10;
    if (pick == 0) {
        return std::string("\x15") + "E" + kHex[random_() % 10] + "\r\n";
    }
    std::string text = "\x06";
    if (request.size() > 3 && request[3] == 'R') {
        for (int k = 0, n = 4 * (1 + static_cast<int>(random_() % 8)); k < n; ++k) {
            text += kHex[random_() % 16];
        }
    } else if (pick < 4) {
        text += kStatus[random_() % std::size(kStatus)];
    }
    return text + "\r\n";
}

} // namespace varnolt::sim
