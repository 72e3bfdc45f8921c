#include "sim/MeasurementEngine.h"

#include "core/link/protocol/HexFormat.h"
#include "core/link/protocol/RequestFrame.h"
#include "core/link/reception/DataBlockParser.h"
#include "core/link/reception/OnlineDownload.h"

#include <algorithm>

namespace varnolt::sim {

namespace {

constexpr uint64_t kNsPerMs = 1'000'000;
constexpr uint64_t kNsPerSecond = 1'000'000'000;
constexpr uint8_t kPatternCharacter = 1;
constexpr uint8_t kPatternAny = 10;
// A line counts as carrying traffic for this long after its last character. The PC hears the
// status only once it has taken every block, that is in a pause: a pause shorter than this
// still shows the line on, a longer one shows it off, so the lamps follow the bursts.
constexpr uint64_t kLineActiveNs = 20 * kNsPerMs;

// The status answer's line character: '2' on, '1' off, '0' unknown.
char LineCharacter(uint16_t lines, ControlLine line) {
    switch (LineStateOf(lines, line)) {
    case LineState::On:
        return '2';
    case LineState::Off:
        return '1';
    default:
        return '0';
    }
}

// Milliseconds per unit of a timer.
uint32_t TimerUnitMs(int16_t unit) {
    switch (unit) {
    case kTimerUnitSecond:
        return 1000;
    case kTimerUnitTenth:
        return 100;
    case kTimerUnitHundredth:
        return 10;
    default:
        return 1;
    }
}

} // namespace

MeasurementEngine::MeasurementEngine(MeasurementOptions options) : options_(options) {
}

int32_t MeasurementEngine::deviceIndexOf(int64_t serial) const {
    return static_cast<int32_t>(serial % DeviceIndexWrap(recordWidth_));
}

int64_t MeasurementEngine::memoryItems() const {
    return DeviceIndexWrap(recordWidth_);
}

int64_t MeasurementEngine::itemsPerBlock() const {
    const int64_t units = std::clamp(options_.blockUnits, 2, 0xFFFF);
    return recordWidth_ == 1 ? units / 2 : units;
}

uint64_t MeasurementEngine::elapsedNs(uint32_t now) const {
    return uint64_t{now - startTick_} * kNsPerMs;
}

void MeasurementEngine::Start(const CSaParameter& settings, uint32_t now) {
    settings_ = settings;
    recordWidth_ = settings.controlLineCapture == 1 ? 1 : 0;
    TrafficSettings traffic;
    traffic.speed = settings.speed;
    traffic.dataBits = static_cast<uint16_t>(settings.dataBits);
    traffic.stopBits = static_cast<uint16_t>(settings.stopBits);
    traffic.parity = settings.parity;
    traffic.idleDisplay = settings.idleDisplay;
    traffic.timeDisplay = settings.timeDisplay;
    traffic.recordWidth = recordWidth_;
    traffic.frameDetectionMs = static_cast<uint32_t>(std::max(settings.frameDetectionTime, 0));
    traffic.kind = options_.traffic;
    traffic.longestGapMs = options_.longestGapMs;
    traffic.errorsPerMillion = options_.errorsPerMillion;
    traffic.seed = options_.seed;
    traffic_ = std::make_unique<TrafficGenerator>(traffic);
    memory_.assign(static_cast<size_t>(memoryItems()), 0);
    measuring_ = true;
    simulating_ =
        settings.lineMode == kLineRs232cSimulation || settings.lineMode == kLineRs422Simulation;
    stoppedAtNs_.reset();
    transmitted_.clear();
    lastLines_ = 0;
    for (size_t k = 0; counters_ != nullptr && k < counters_->size(); ++k) {
        if (settings.counters[k].resetAtStart != kSaFlagOff) {
            (*counters_)[k] = 0;
        }
    }
    stoppedByTrigger_ = false;
    stopAtNs_.reset();
    stopAfterCharacters_.reset();
    startTick_ = lastStatusTick_ = now;
    lastItemNs_ = 0;
    written_ = read_ = lastBlockItems_ = 0;
    storedNext_ = storedLastItems_ = 0;
    characters_ = 0;
    lastCharacterNs_ = {};
    lastAnswer_.clear();
    overflowsDue_.clear();
    reportsDue_.clear();
    log_.clear();
    overflowLog_.clear();
    firedLog_.clear();
    counts_.fill(0);
    triggerCounts_.fill(0);
    for (auto& recent : recentCharacters_) {
        recent.clear();
    }
}

void MeasurementEngine::Stop(uint32_t now) {
    CatchUp(now);
    if (measuring_ && traffic_) {
        stoppedAtNs_ = elapsedNs(now);
    }
    measuring_ = false;
}

const TrafficItem& MeasurementEngine::PeekItem() {
    const TrafficItem& generated = traffic_->Peek();
    if (!transmitted_.empty() && transmitted_.front().atNs <= generated.atNs) {
        return transmitted_.front();
    }
    return generated;
}

void MeasurementEngine::PopItem() {
    if (!transmitted_.empty() && transmitted_.front().atNs <= traffic_->Peek().atNs) {
        transmitted_.pop_front();
    } else {
        traffic_->Pop();
    }
}

RecordWord MeasurementEngine::withOutputs(RecordWord word) const {
    if (!simulating_ || recordWidth_ != 1) {
        return word;
    }
    // RS in bits 1..0 and ER in bits 3..2 of the control-line field; a change record also
    // carries the states before it in bits 27..16.
    constexpr uint32_t kOutputBits = 0xF;
    const uint32_t outputs = uint32_t{rsOutput_} | uint32_t{erOutput_} << 2;
    word = (word & ~kOutputBits) | outputs;
    if (KindOf(word) == RecordKind::ControlLineChange) {
        word = (word & ~(kOutputBits << 16)) | outputs << 16;
    }
    return word;
}

void MeasurementEngine::SetLineOutputs(uint16_t rs, uint16_t er, uint32_t now) {
    CatchUp(now);
    const RecordWord before = withOutputs(lastLines_);
    rsOutput_ = rs;
    erOutput_ = er;
    if (!measuring_ || !simulating_ || recordWidth_ != 1 || !traffic_) {
        return;
    }
    const RecordWord after = withOutputs(lastLines_);
    if (ControlLineFieldOf(before) != ControlLineFieldOf(after)) {
        const RecordWord change =
            MakeRecordWord(RecordKind::ControlLineChange, ControlLineFieldOf(before)) |
            ControlLineFieldOf(after);
        Record({std::max(elapsedNs(now), lastItemNs_), {change}}, true);
    }
}

void MeasurementEngine::Transmit(std::span<const uint8_t> characters, uint32_t now) {
    CatchUp(now);
    if (!measuring_ || !traffic_) {
        return; // sent on the line, but nothing records it
    }
    uint64_t atNs = std::max(elapsedNs(now), lastItemNs_);
    if (!transmitted_.empty()) {
        atNs = std::max(atNs, transmitted_.back().atNs);
    }
    const uint32_t mask = settings_.dataBits == 7 ? 0x7F : 0xFF;
    for (const uint8_t character : characters) {
        atNs += traffic_->characterNs();
        const RecordWord word = MakeRecordWord(RecordKind::SdCharacter, character & mask);
        transmitted_.push_back({atNs, {recordWidth_ == 1 ? word | lastLines_ : word}});
    }
}

void MeasurementEngine::CatchUp(uint32_t now) {
    if (!measuring_ || !traffic_) {
        return;
    }
    const uint64_t until = elapsedNs(now);
    for (;;) {
        const TrafficItem& item = PeekItem();
        if (item.atNs > until) {
            break;
        }
        if ((stopAtNs_ && item.atNs >= *stopAtNs_) ||
            (stopAfterCharacters_ && characters_ >= *stopAfterCharacters_)) {
            measuring_ = false;
            stoppedByTrigger_ = true;
            stoppedAtNs_ = item.atNs;
            return;
        }
        Record(item);
        PopItem();
    }
}

void MeasurementEngine::Record(const TrafficItem& item, bool ownLines) {
    const RecordWord head = ownLines ? item.words.front() : withOutputs(item.words.front());
    if (KindOf(head) == RecordKind::ControlLineChange &&
        PreviousLineStates(head) == NewLineStates(head)) {
        return; // only the outputs changed, and they are the analyzer's own
    }
    const auto size = static_cast<int64_t>(item.words.size());
    const int64_t limit = options_.unreadLimit > 0
                              ? std::min<int64_t>(options_.unreadLimit, memoryItems() - 1)
                              : memoryItems() - 1;
    if (written_ - read_ + size > limit) {
        // The PC has fallen behind: this item is lost, and the gap reported in its place.
        if (overflowsDue_.empty() || overflowsDue_.back() != written_) {
            overflowsDue_.push_back(written_);
            overflowLog_.push_back(written_);
            ++counts_[6];
        }
        return;
    }
    for (const RecordWord raw : item.words) {
        const RecordWord word = ownLines ? raw : withOutputs(raw);
        memory_[static_cast<size_t>(written_ % memoryItems())] = word;
        lastLines_ = recordWidth_ == 1 ? ControlLineFieldOf(word) : 0;
        if (options_.keepLog) {
            log_.push_back(word);
        }
        ++written_;
    }
    lastItemNs_ = item.atNs;
    CountItem(item);
    const RecordWord first = item.words.front();
    switch (KindOf(first)) {
    case RecordKind::SdCharacter:
    case RecordKind::RdCharacter:
        ++characters_;
        ++counts_[KindOf(first) == RecordKind::SdCharacter ? 0 : 1];
        lastCharacterNs_[KindOf(first) == RecordKind::SdCharacter ? 0 : 1] = item.atNs;
        break;
    case RecordKind::SdError:
    case RecordKind::RdError:
        ++counts_[2 + std::min<uint8_t>(CodeOf(first), 4)];
        lastCharacterNs_[KindOf(first) == RecordKind::SdError ? 0 : 1] = item.atNs;
        break;
    default:
        break;
    }
    WatchTriggers(item);
}

void MeasurementEngine::CountItem(const TrafficItem& item) {
    if (counters_ == nullptr) {
        return;
    }
    Counters& counters = *counters_;
    const RecordWord first = item.words.front();
    switch (KindOf(first)) {
    case RecordKind::SdCharacter:
    case RecordKind::RdCharacter:
    case RecordKind::SdError:
    case RecordKind::RdError:
        counters[0] += IsLineStart(first) ? 1 : 0;
        break;
    case RecordKind::ControlLineChange:
        ++counters[1];
        break;
    case RecordKind::IdleHead:
        ++counters[2];
        break;
    case RecordKind::StampHead:
        ++counters[3];
        break;
    default:
        break;
    }
}

void MeasurementEngine::WatchTriggers(const TrafficItem& item) {
    const RecordWord word = item.words.front();
    const RecordKind kind = KindOf(word);
    const bool character = kind == RecordKind::SdCharacter || kind == RecordKind::RdCharacter;
    const bool error = kind == RecordKind::SdError || kind == RecordKind::RdError;
    const bool rd = kind == RecordKind::RdCharacter || kind == RecordKind::RdError;
    if (character) {
        auto& recent = recentCharacters_[rd ? 1 : 0];
        recent.push_back(CodeOf(word));
        if (recent.size() > kTriggerPatternLength) {
            recent.pop_front();
        }
    }
    for (size_t t = 0; t < kTriggerCount; ++t) {
        const SaTriggerEntry& trigger = settings_.triggers[t];
        if (trigger.enabled == kSaByteOff) {
            continue;
        }
        bool fires = false;
        if (trigger.condition == kTriggerOnError && error) {
            const uint8_t errorBit =
                static_cast<uint8_t>(0x80 >> std::min<uint8_t>(CodeOf(word), 4));
            const uint8_t lineBit = rd ? 0x01 : 0x02;
            fires = (trigger.errorMask & errorBit) != 0 && (trigger.errorMask & lineBit) != 0;
        } else if (trigger.condition == kTriggerOnCharacters && character &&
                   (trigger.matchLines & (rd ? 2 : 1)) != 0) {
            size_t length = 0;
            while (length < kTriggerPatternLength &&
                   (trigger.pattern[length].kind == kPatternCharacter ||
                    trigger.pattern[length].kind == kPatternAny)) {
                ++length;
            }
            const auto& recent = recentCharacters_[rd ? 1 : 0];
            fires = length > 0 && recent.size() >= length;
            for (size_t k = 0; fires && k < length; ++k) {
                const PatternElement& element = trigger.pattern[k];
                fires = element.kind == kPatternAny ||
                        recent[recent.size() - length + k] == element.value;
            }
        }
        if (fires) {
            Fire(t);
        }
    }
}

void MeasurementEngine::Fire(size_t t) {
    const SaTriggerEntry& trigger = settings_.triggers[t];
    ++triggerCounts_[t];
    const int64_t serial = written_ - 1; // the item that fired it, just recorded
    switch (trigger.action) {
    case kTriggerStop:
        if (!stopAtNs_) {
            stopAtNs_ = lastItemNs_ + 1;
        }
        break;
    case kTriggerStopAfterDelay:
        if (!stopAtNs_) {
            stopAtNs_ = lastItemNs_ + uint64_t{trigger.actionValue1} * kNsPerSecond;
        }
        break;
    case kTriggerStopAfterCharacters:
        if (!stopAfterCharacters_) {
            stopAfterCharacters_ = characters_ + trigger.actionValue1;
        }
        break;
    case kTriggerSave: {
        TriggerFired report;
        report.number = static_cast<int32_t>(t);
        report.serial = serial;
        report.before = deviceIndexOf(std::max<int64_t>(0, serial - trigger.actionValue1));
        report.after = deviceIndexOf(serial + trigger.actionValue2);
        reportsDue_.push_back(report);
        firedLog_.push_back(report);
        break;
    }
    default:
        break; // buzzer, transmit, timer, counter and trigger operations change no data
    }
}

AnswerFrame MeasurementEngine::Block(int64_t from, int64_t count) {
    std::string head = "BD";
    AppendHex(head, static_cast<uint32_t>(recordWidth_ == 1 ? 2 * count : count), 4);
    head += FormatHex32(static_cast<uint32_t>(deviceIndexOf(from)));
    AnswerFrame frame;
    frame.reserve(head.size() + static_cast<size_t>(count) * 4 + 6);
    frame.assign(head.begin(), head.end());
    for (int64_t k = 0; k < count; ++k) {
        const RecordWord word = memory_[static_cast<size_t>((from + k) % memoryItems())];
        frame.push_back(static_cast<uint8_t>(word >> 24));
        frame.push_back(static_cast<uint8_t>(word >> 16));
        if (recordWidth_ == 1) {
            frame.push_back(static_cast<uint8_t>(word >> 8));
            frame.push_back(static_cast<uint8_t>(word));
        }
    }
    FinishFrame(frame, FrameChecksum::With);
    return frame;
}

AnswerFrame MeasurementEngine::NextAnswer(uint32_t now, const AnalyzerFirmware& state) {
    lastBlockItems_ = 0;
    if (!overflowsDue_.empty() && overflowsDue_.front() <= read_) {
        overflowsDue_.pop_front();
        lastAnswer_ = Answer("BO");
    } else if (!reportsDue_.empty() && reportsDue_.front().serial < read_) {
        const TriggerFired report = reportsDue_.front();
        reportsDue_.pop_front();
        std::string text = "PTR";
        AppendHex(text, static_cast<uint32_t>(report.number), 2);
        text += FormatHex32(static_cast<uint32_t>(report.before));
        text += FormatHex32(static_cast<uint32_t>(report.after));
        lastAnswer_ = Answer(text, true);
    } else {
        const int64_t end = overflowsDue_.empty() ? written_ : overflowsDue_.front();
        const bool statusDue =
            options_.statusEveryMs > 0 && now - lastStatusTick_ >= options_.statusEveryMs;
        if (end > read_ && !statusDue) {
            lastBlockItems_ = std::min(end - read_, itemsPerBlock());
            lastAnswer_ = Block(read_, lastBlockItems_);
        } else if (stoppedByTrigger_ && end <= read_) {
            lastAnswer_ = Answer("PSS0B", true);
        } else {
            lastStatusTick_ = now;
            lastAnswer_ = Status(now, state);
        }
    }
    return lastAnswer_;
}

AnswerFrame MeasurementEngine::FirstBlock(uint32_t now, const AnalyzerFirmware& state) {
    CatchUp(now);
    return NextAnswer(now, state);
}

AnswerFrame MeasurementEngine::NextBlock(uint32_t now, const AnalyzerFirmware& state) {
    CatchUp(now);
    read_ += lastBlockItems_;
    return NextAnswer(now, state);
}

AnswerFrame MeasurementEngine::RepeatBlock(uint32_t now, const AnalyzerFirmware& state) {
    CatchUp(now);
    return lastAnswer_.empty() ? NextAnswer(now, state) : lastAnswer_;
}

AnswerFrame MeasurementEngine::Status(uint32_t now, const AnalyzerFirmware& state) {
    CatchUp(now);
    uint16_t lines = traffic_ ? traffic_->controlLines() : 0;
    const int16_t lineMode = state.settings.decoded(false).lineMode;
    if (lineMode == kLineRs232cSimulation || lineMode == kLineRs422Simulation) {
        // RS and ER are the analyzer's own outputs.
        lines = static_cast<uint16_t>((lines & ~0xFU) | rsOutput_ | erOutput_ << 2);
    }
    // SD and RD are on while characters pass on them.
    std::string text = "BL";
    for (const std::optional<uint64_t>& last : lastCharacterNs_) {
        const bool active = measuring_ && last && elapsedNs(now) <= *last + kLineActiveNs;
        text += active ? '2' : '1';
    }
    for (const ControlLine line : {ControlLine::CI, ControlLine::CD, ControlLine::DR,
                                   ControlLine::CS, ControlLine::ER, ControlLine::RS}) {
        text += LineCharacter(lines, line);
    }
    static constexpr uint64_t kIdleUnitNs[] = {10 * kNsPerMs, kNsPerMs, 10 * kNsPerMs,
                                               100 * kNsPerMs};
    // The timers run while measuring and stand still once it stopped.
    const uint64_t sinceStart = !traffic_ ? 0 : stoppedAtNs_ ? *stoppedAtNs_ : elapsedNs(now);
    const uint64_t idleNs = measuring_ && sinceStart > lastItemNs_ ? sinceStart - lastItemNs_ : 0;
    const auto resolution = static_cast<size_t>(std::clamp(settings_.idleDisplay, 0, 3));
    text += FormatHex32(static_cast<uint32_t>(idleNs / kIdleUnitNs[resolution]));
    for (const SaTimerEntry& timer : settings_.timers) {
        const uint64_t ms = sinceStart / kNsPerMs;
        text += FormatHex32(timer.autoStart != kSaFlagOff
                                ? static_cast<uint32_t>(ms / TimerUnitMs(timer.unit))
                                : 0);
    }
    for (const uint32_t counter : state.counters) {
        text += FormatHex32(counter);
    }
    for (const uint32_t count : counts_) {
        text += FormatHex32(count);
    }
    for (const uint16_t count : triggerCounts_) {
        AppendHex(text, count, 4);
    }
    return Answer(text, true);
}

int32_t MeasurementEngine::storedAmount() const {
    const int64_t full = recordWidth_ == 1 ? kFullMemoryRecordsWide : kFullMemoryRecordsNarrow;
    const int64_t stored = std::min(written_, memoryItems() - 1);
    return static_cast<int32_t>((stored * 100 + full - 1) / full);
}

AnswerFrame MeasurementEngine::StoredFirst(const AnalyzerFirmware& state) {
    storedNext_ = std::max<int64_t>(0, written_ - (memoryItems() - 1));
    storedLastItems_ = 0;
    return StoredNext(state);
}

AnswerFrame MeasurementEngine::StoredNext(const AnalyzerFirmware& state) {
    storedNext_ += storedLastItems_;
    storedLastItems_ = std::min(written_ - storedNext_, itemsPerBlock());
    if (storedLastItems_ <= 0) {
        storedLastItems_ = 0;
        lastAnswer_ = Status(startTick_, state);
    } else {
        lastAnswer_ = Block(storedNext_, storedLastItems_);
    }
    return lastAnswer_;
}

} // namespace varnolt::sim
