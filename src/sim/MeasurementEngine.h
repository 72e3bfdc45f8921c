#pragma once

#include "core/capture/RecordWord.h"
#include "core/settings/CSaParameter.h"
#include "sim/AnalyzerFirmware.h"
#include "sim/TrafficGenerator.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace varnolt::sim {

// What a test or the simulator's user may change about a measurement.
struct MeasurementOptions {
    uint64_t seed = 1;
    // Items the analyzer keeps unread before it reports an overflow; 0: its whole memory.
    int32_t unreadLimit = 0;
    // 16-bit units per data block at most (the answer's count is 16-bit).
    int32_t blockUnits = 0xFFFE;
    TrafficKind traffic = TrafficKind::Exchanges;
    uint32_t longestGapMs = 20; // idle gaps between exchanges
    // While data keeps waiting, "BS" and "BN" are answered with the status instead of a block
    // once this long has passed since the last status, so the PC's lamps and panes stay current
    // on a busy line; 0: the status only when nothing waits.
    uint32_t statusEveryMs = 100;
    uint32_t errorsPerMillion = 2000;
    // Keep every recorded item for tests (produced()); off by default, since a long simulated
    // measurement would otherwise grow it without end.
    bool keepLog = false;
};

// A trigger report the analyzer has made, as it sent it.
struct TriggerFired {
    int32_t number = 0;
    int64_t serial = 0; // the item that fired it, counted from the measurement's start
    int32_t before = 0; // device indexes of the stretch to save
    int32_t after = 0;
};

// The analyzer measuring: it records the traffic of its TrafficGenerator into its memory (a
// ring of 900,018 sixteen-bit or 450,009 thirty-two-bit items, the device index being the
// position in it) as the analyzer's clock advances, watches its triggers, and hands what it
// recorded to the PC block by block. All times are the analyzer's millisecond tick count.
//
// Delivery: "BS" and "BN" answer the next thing the PC should have, in this order: an overflow
// report ("BO") once everything recorded before the overflow was delivered, a trigger report
// ("PTR") once its item was delivered, a data block of unread items, the stop report ("PSS"
// 0B) once the analyzer has stopped by itself and everything was delivered, or else the status
// ("BL"). The status also goes out in place of a block when none went out for statusEveryMs.
// "BN" first takes the previous block as received; "BR" repeats the last answer.
class MeasurementEngine {
public:
    explicit MeasurementEngine(MeasurementOptions options = {});

    // "PSW0A": starts measuring afresh with SETTINGS at NOW.
    void Start(const CSaParameter& settings, uint32_t now);
    // "PSW0B": stops; the memory keeps what was recorded, for the stored-data download.
    void Stop(uint32_t now);
    [[nodiscard]] bool measuring() const { return measuring_; }

    // The live answers; STATE gives the counters the status carries.
    [[nodiscard]] AnswerFrame FirstBlock(uint32_t now, const AnalyzerFirmware& state); // "BS"
    [[nodiscard]] AnswerFrame NextBlock(uint32_t now, const AnalyzerFirmware& state);  // "BN"
    // "BR": the last answer again, live or stored.
    [[nodiscard]] AnswerFrame RepeatBlock(uint32_t now, const AnalyzerFirmware& state);
    [[nodiscard]] AnswerFrame Status(uint32_t now, const AnalyzerFirmware& state); // "BL"

    // ---- What the analyzer does on the line in a simulation line mode (2 or 4) ---------------
    // "GL": the RS and ER outputs it drives (1 on, 2 off). While it measures with control lines
    // in a simulation mode, the change is recorded at NOW and every later record carries them.
    void SetLineOutputs(uint16_t rs, uint16_t er, uint32_t now);
    [[nodiscard]] uint16_t rsOutput() const { return rsOutput_; }
    [[nodiscard]] uint16_t erOutput() const { return erOutput_; }
    // "GT": sends CHARACTERS on SD from NOW on, one character time apart; while it measures they
    // are recorded as SD characters and counted.
    void Transmit(std::span<const uint8_t> characters, uint32_t now);

    // The analyzer's four counters, which the engine counts into while measuring: counter 1 the
    // frames (a character that starts a line), counter 2 the control-line changes, counter 3 the
    // idle gaps, counter 4 the time stamps. A start clears those whose settings say so. Null:
    // nothing is counted.
    using Counters = std::array<uint32_t, AnalyzerFirmware::kCounters>;
    void countInto(Counters* counters) { counters_ = counters; }

    // Stored data: hundredths of the memory in use, and its blocks oldest first ("BA" starts
    // over, "BB" goes on); "BL" after the last.
    [[nodiscard]] int32_t storedAmount() const;
    [[nodiscard]] AnswerFrame StoredFirst(const AnalyzerFirmware& state);
    [[nodiscard]] AnswerFrame StoredNext(const AnalyzerFirmware& state);

    // ---- For tests ---------------------------------------------------------------------------
    [[nodiscard]] MeasurementOptions& options() { return options_; }
    // Every item recorded since the start, in order (with keepLog).
    [[nodiscard]] const std::vector<RecordWord>& produced() const { return log_; }
    // Where overflows interrupted the recording: the number of items recorded before each.
    [[nodiscard]] const std::vector<int64_t>& overflows() const { return overflowLog_; }
    [[nodiscard]] const std::vector<TriggerFired>& triggersFired() const { return firedLog_; }
    [[nodiscard]] uint16_t recordWidth() const { return recordWidth_; }
    // Items recorded, and items the PC has taken.
    [[nodiscard]] int64_t recorded() const { return written_; }
    [[nodiscard]] int64_t delivered() const { return read_; }

private:
    void CatchUp(uint32_t now);
    // The next item in time: a transmitted character or the generator's traffic.
    [[nodiscard]] const TrafficItem& PeekItem();
    void PopItem();
    // OWN_LINES: the item already carries the outputs (a change of them).
    void Record(const TrafficItem& item, bool ownLines = false);
    // The RS and ER outputs laid over the control lines of WORD (simulation mode, width 1).
    [[nodiscard]] RecordWord withOutputs(RecordWord word) const;
    void CountItem(const TrafficItem& item);
    void WatchTriggers(const TrafficItem& item);
    void Fire(size_t trigger);
    [[nodiscard]] AnswerFrame NextAnswer(uint32_t now, const AnalyzerFirmware& state);
    [[nodiscard]] int64_t itemsPerBlock() const;
    [[nodiscard]] int64_t memoryItems() const;
    [[nodiscard]] AnswerFrame Block(int64_t from, int64_t count);
    [[nodiscard]] int32_t deviceIndexOf(int64_t serial) const;
    [[nodiscard]] uint64_t elapsedNs(uint32_t now) const;

    MeasurementOptions options_;
    CSaParameter settings_;
    std::unique_ptr<TrafficGenerator> traffic_;
    uint16_t recordWidth_ = 0;
    bool measuring_ = false;
    bool stoppedByTrigger_ = false;
    std::optional<uint64_t> stopAtNs_;
    std::optional<int64_t> stopAfterCharacters_;
    uint32_t startTick_ = 0;
    uint32_t lastStatusTick_ = 0; // when the status last answered "BS" or "BN"
    uint64_t lastItemNs_ = 0;
    std::optional<uint64_t> stoppedAtNs_; // the timers stand still from here
    bool simulating_ = false;             // a simulation line mode: RS and ER are outputs
    uint16_t rsOutput_ = 2;
    uint16_t erOutput_ = 2;
    uint16_t lastLines_ = 0; // the control-line field of the last record
    std::deque<TrafficItem> transmitted_;
    Counters* counters_ = nullptr;

    std::vector<RecordWord> memory_;
    int64_t written_ = 0; // items recorded
    int64_t read_ = 0;    // items the PC has confirmed
    int64_t lastBlockItems_ = 0;
    AnswerFrame lastAnswer_;
    std::deque<int64_t> overflowsDue_;
    std::deque<TriggerFired> reportsDue_;
    std::vector<RecordWord> log_;
    std::vector<int64_t> overflowLog_;
    std::vector<TriggerFired> firedLog_;
    int64_t storedNext_ = 0;
    int64_t storedLastItems_ = 0;
    std::array<std::deque<uint8_t>, 2> recentCharacters_; // SD, RD: for character triggers
    int64_t characters_ = 0;
    // When the last character or error passed on SD and on RD.
    std::array<std::optional<uint64_t>, 2> lastCharacterNs_{};

    // Status counts: SD, RD, PE, FE, PF, BR, OE, and the trigger counts.
    std::array<uint32_t, 7> counts_{};
    std::array<uint16_t, kTriggerCount> triggerCounts_{};
};

} // namespace varnolt::sim
