#pragma once

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/interop/CaptureTime.h"
#include "sim/TrafficGenerator.h"

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "BenchSupport.h"

namespace varnolt::bench {

// How the capture's time stamps run.
enum class StampClock {
    // Random idle lengths (up to hours) and stamps of random digits: a clock that jumps back and
    // forth every few runs.
    Random,
    // As the analyzer records: idle gaps of up to 0.2 s and stamps of the time reached, so the
    // clock only goes forward.
    Forward,
};

// A realistic capture: runs of characters alternating between SD and RD, an idle gap before
// most runs, a time stamp every few runs, now and then a line error or a control-line change;
// every word carries the control-line states.
inline void FillRealisticCapture(CCaptureData& store, StampClock clock = StampClock::Random) {
    std::mt19937 random(7);
    const auto below = [&](uint32_t n) { return static_cast<uint32_t>(random() % n); };
    uint32_t lines = 0x9; // RS on, ER off
    bool sd = true;
    RecordCount count = 0;
    const auto append = [&](uint32_t word) {
        if (count < store.maxCapacity()) {
            store.Append(word | lines, 0);
            ++count;
        }
    };
    store.header().recordWidth = 1;
    store.header().idleDisplay = 1;
    store.header().timeDisplay = 2;
    // 9600 bit/s, 8 data bits, no parity, one stop bit: ten bits a character.
    constexpr uint64_t kCharacterNs = 10 * kNsPerSecond / 9600;
    constexpr uint64_t kStampStepNs = 10 * kNsPerMs; // the stamps' hundredths
    uint64_t clockNs = 0;                            // Forward: the time reached
    while (count < store.maxCapacity()) {
        if (below(4) != 0) {
            const uint32_t resolution = clock == StampClock::Forward ? 1 : 1 + below(3);
            const uint32_t value = clock == StampClock::Forward ? below(200) : below(200000);
            append(0x50000000 | resolution << 24 | (value >> 24) << 16);
            append(0x60000000 | (value >> 12 & 0xFFF) << 16);
            append(0x60000000 | (value & 0xFFF) << 16);
            clockNs += uint64_t{value} * kNsPerMs;
        }
        if (clock == StampClock::Forward && below(5) == 0) {
            // The line idles up to the stamp's next hundredth, which the stamp then tells.
            clockNs = (clockNs + kStampStepNs - 1) / kStampStepNs * kStampStepNs;
            for (const RecordWord word : sim::TimeStampWords(2, clockNs)) {
                append(word);
            }
        } else if (clock == StampClock::Random && below(5) == 0) {
            const uint32_t kind = 1 + below(5);
            append(0x70000000 | kind << 24 | below(0x100) << 16);
            for (int i = 0; i < 3; ++i) {
                append(0x80000000 | below(0x1000) << 16);
            }
        }
        if (below(10) == 0) {
            const uint32_t next = 0x5 + below(0xFFF);
            append(0xB0000000 | (lines & 0xFFF) << 16 | (next & 0xFFF));
            lines = next & 0xFFF;
        }
        const uint32_t run = 1 + below(40);
        for (uint32_t i = 0; i < run; ++i) {
            const uint32_t direction = sd ? 0 : 1;
            if (below(200) == 0) {
                append((0x30000000 + (direction << 28)) | below(5) << 16);
            } else {
                append((0x10000000 + (direction << 28)) | below(256) << 16 |
                       (below(60) == 0 ? 0x01000000u : 0u));
            }
        }
        clockNs += run * kCharacterNs;
        sd = !sd;
    }
}

// A realistic capture in memory and as the capture file "full.tvd" in a fresh temporary folder
// named from PREFIX, which goes again with everything in it.
class RealisticCaptureFile {
public:
    explicit RealisticCaptureFile(const std::string& prefix, StampClock clock = StampClock::Random)
        : folder_(std::filesystem::temp_directory_path() /
                  (prefix + std::to_string(std::random_device{}()))),
          capture_(folder_ / "full.tvd"), store_(std::make_unique<CCaptureData>()) {
        std::filesystem::create_directories(folder_);
        FillRealisticCapture(*store_, clock);
        AbortingPrompt prompt;
        WriteCaptureFile(capture_, store_->header(), 0, *store_,
                         {SaveSource::Ring, store_->firstIndex(), store_->lastIndex()}, prompt);
    }
    RealisticCaptureFile(const RealisticCaptureFile&) = delete;
    RealisticCaptureFile& operator=(const RealisticCaptureFile&) = delete;
    ~RealisticCaptureFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    [[nodiscard]] const CCaptureData& store() const { return *store_; }
    [[nodiscard]] const std::filesystem::path& capture() const { return capture_; }
    [[nodiscard]] const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path capture_;
    std::unique_ptr<CCaptureData> store_;
};

} // namespace varnolt::bench
