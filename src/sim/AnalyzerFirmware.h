#pragma once

#include "sim/FirmwareLoader.h"
#include "sim/HostTransfer.h"
#include "sim/SettingsMemory.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnolt::sim {

class MeasurementEngine;
class StoredFileMemory;

// One request frame as the firmware sees it: the command letters and the parameters between
// them and the checksum (or the terminator when the command carries no checksum).
struct Request {
    std::string_view command;
    std::span<const uint8_t> parameters;

    [[nodiscard]] std::string_view parameterText() const {
        return {reinterpret_cast<const char*>(parameters.data()), parameters.size()};
    }
};

// A complete answer frame, terminator included.
using AnswerFrame = std::vector<uint8_t>;

// Whether a request carries a checksum that the firmware checks before acting on it.
enum class RequestChecksum { Without, With };

// The analyzer's firmware: its state and one handler per command. The handlers run under the
// device's lock, one request at a time; they return the answers to send (none for a one-way
// request). Later features register their commands with AddCommand.
class AnalyzerFirmware {
public:
    using Handler = std::function<std::vector<AnswerFrame>(AnalyzerFirmware&, const Request&)>;

    static constexpr int32_t kPowerOnPage = 10;
    static constexpr int kCounters = 4;

    AnalyzerFirmware();
    // The measurement engine counts into this object's counters.
    AnalyzerFirmware(const AnalyzerFirmware&) = delete;
    AnalyzerFirmware& operator=(const AnalyzerFirmware&) = delete;

    // Registers COMMAND (two or three upper-case letters); a later registration of the same
    // letters replaces the earlier one.
    void AddCommand(std::string_view command, RequestChecksum checksum, Handler handler);

    // Carries out one request frame (without its terminator) and returns the answers. An
    // unknown command, or a checksum that does not match, is refused with "NAK". While the
    // loader runs, only its own frames are answered.
    [[nodiscard]] std::vector<AnswerFrame> Handle(std::span<const uint8_t> frame);
    // Carries out one text line (without its line feed) that reached the loader.
    [[nodiscard]] std::vector<AnswerFrame> HandleLine(std::span<const uint8_t> line);
    // Whether what arrives now is read as text lines (the loader runs) rather than frames.
    [[nodiscard]] bool readsLines() { return LoaderAnswers(*this); }
    // The refusal of a request: "NAK" as a frame, or as a text LINE for the loader's lines.
    [[nodiscard]] static AnswerFrame Refusal(bool line);

    // The state the requests change and report.
    uint8_t remoteMode = 0;
    int32_t page = kPowerOnPage;
    int32_t runState = 0;
    std::string programVersion = "1.02  "; // six characters
    std::string formatVersion = "0110";    // four characters
    int32_t storedAmount = 0;              // blocks of stored online data
    // Counted while measuring (see MeasurementEngine::countInto); "SWC" clears one.
    std::array<uint32_t, kCounters> counters{};
    uint8_t erOutput = '2';
    uint8_t rsOutput = '2';
    SettingsMemory settings;
    // The analyzer's tick count when the request being handled arrived.
    uint32_t now = 0;
    // Measuring: traffic, memory, triggers and the blocks for the PC.
    std::shared_ptr<MeasurementEngine> measurement;
    // The transfer towards the PC that "ACK", "NAK" and "ESC" steer, if one runs.
    std::shared_ptr<HostTransfer> transfer;
    // The files kept in the analyzer's memory.
    std::shared_ptr<StoredFileMemory> storedFiles;
    // Set by a handler whose answers take this long to cross the link (a large transfer).
    uint32_t answerDelayMs = 0;
    // The loader that takes a new program.
    LoaderState loader;
    // Answers a handler sends some time after the request (a restart, a memory write); they
    // leave in order once the analyzer's clock has moved on by their delay.
    struct LaterAnswer {
        uint32_t delayMs = 0;
        AnswerFrame bytes;
    };
    std::vector<LaterAnswer> later;

private:
    struct Command {
        std::string letters;
        RequestChecksum checksum;
        Handler handler;
    };

    [[nodiscard]] const Command* find(std::span<const uint8_t> frame) const;

    std::vector<Command> commands_;
};

// The answer frames: TEXT then the terminator, with the checksum before it when asked for.
[[nodiscard]] AnswerFrame Answer(std::string_view text, bool checksum = false);
[[nodiscard]] AnswerFrame Ack();
[[nodiscard]] AnswerFrame Nak();

} // namespace varnolt::sim
