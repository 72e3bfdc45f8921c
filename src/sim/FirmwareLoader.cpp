#include "sim/FirmwareLoader.h"

#include "sim/AnalyzerFirmware.h"
#include "sim/MeasurementEngine.h"

#include <algorithm>
#include <string_view>

namespace varnolt::sim {

namespace {

using Answers = std::vector<AnswerFrame>;

constexpr uint8_t kVerticalTab = 0x0B;
constexpr size_t kHeadCharacters = 3;
constexpr size_t kVersionDigits = 6;

bool IsHexDigit(uint8_t c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// A record as the loader takes it: three characters, then upper-case hex digits.
bool TakeRecord(LoaderState& loader, std::span<const uint8_t> record) {
    if (record.size() < kHeadCharacters ||
        !std::all_of(record.begin() + kHeadCharacters, record.end(), IsHexDigit)) {
        return false;
    }
    const std::string_view head(reinterpret_cast<const char*>(record.data()), kHeadCharacters);
    if (head == "VER" && record.size() >= kHeadCharacters + kVersionDigits) {
        loader.receivedVersion.assign(record.begin() + kHeadCharacters,
                                      record.begin() + kHeadCharacters + kVersionDigits);
    }
    ++loader.records;
    return true;
}

// A line of one record, or a batch: records each ended by a vertical tab. The loader stores
// them before it acknowledges.
Answers TakeRecords(AnalyzerFirmware& state, std::span<const uint8_t> line) {
    LoaderState& loader = state.loader;
    if (!loader.transferring) {
        return {LoaderLine("NAK")};
    }
    ++loader.lines;
    while (!line.empty()) {
        const auto end = std::find(line.begin(), line.end(), kVerticalTab);
        const auto length = static_cast<size_t>(end - line.begin());
        if (!TakeRecord(loader, line.first(length))) {
            return {LoaderLine("NAK")};
        }
        line = line.subspan(std::min(length + 1, line.size()));
    }
    state.later.push_back({loader.options.lineMs, LoaderLine("ACK")});
    return {};
}

// "XEND": the memory is written, and the result reported once the write is done.
Answers EndTransfer(AnalyzerFirmware& state) {
    LoaderState& loader = state.loader;
    if (!loader.transferring && !loader.ended) {
        return {LoaderLine("NAK")};
    }
    loader.transferring = false;
    loader.ended = true;
    loader.written = !loader.options.failWrite && !loader.options.garbleWriteReport;
    loader.report = loader.options.failWrite           ? "W_E"
                    : loader.options.garbleWriteReport ? "ERR"
                                                       : "UP_";
    state.later.push_back({loader.options.writeMs, LoaderLine(loader.report)});
    return {LoaderLine("ACK")};
}

bool Is(std::span<const uint8_t> line, std::string_view text) {
    return std::equal(line.begin(), line.end(), text.begin(), text.end());
}

} // namespace

AnswerFrame LoaderLine(std::string_view text) {
    AnswerFrame line(text.begin(), text.end());
    line.push_back('\n');
    return line;
}

void BootIntoLoader(AnalyzerFirmware& state) {
    LoaderState& loader = state.loader;
    loader.active = true;
    loader.transferring = false;
    loader.ended = false;
    loader.written = false;
    loader.bootTick = state.now;
    state.remoteMode = 0;
    state.runState = 0;
    state.transfer.reset();
    if (state.measurement && state.measurement->measuring()) {
        state.measurement->Stop(state.now);
    }
}

bool LoaderAnswers(AnalyzerFirmware& state) {
    LoaderState& loader = state.loader;
    if (loader.active && loader.programValid && !loader.transferring && !loader.ended &&
        state.now - loader.bootTick > loader.options.bootWindowMs) {
        loader.active = false;
    }
    return loader.active;
}

Answers HandleLoaderLine(AnalyzerFirmware& state, std::span<const uint8_t> line) {
    LoaderState& loader = state.loader;
    if (Is(line, "XWPD")) {
        loader.transferring = true;
        loader.ended = false;
        loader.written = false;
        loader.programValid = false;
        loader.lines = 0;
        loader.records = 0;
        loader.receivedVersion.clear();
        return {LoaderLine("ACK")};
    }
    if (Is(line, "XEND")) {
        return EndTransfer(state);
    }
    if (Is(line, "ACK")) {
        return {};
    }
    if (Is(line, "NAK")) {
        if (!loader.report.empty()) {
            state.later.push_back({loader.options.writeMs, LoaderLine(loader.report)});
        }
        return {};
    }
    return TakeRecords(state, line);
}

} // namespace varnolt::sim

namespace varnolt::sim {

// "WSTOP" stops the program and restarts into the loader; "INI" re-initialises the analyzer
// with the program the loader wrote.
void AddLoaderCommands(AnalyzerFirmware& firmware) {
    firmware.AddCommand(
        "WSTOP", RequestChecksum::Without, [](AnalyzerFirmware& state, const Request&) {
            BootIntoLoader(state);
            state.later.push_back({state.loader.options.restartMs, LoaderLine("POW")});
            return Answers{};
        });
    firmware.AddCommand("INI", RequestChecksum::Without,
                        [](AnalyzerFirmware& state, const Request&) {
                            LoaderState& loader = state.loader;
                            if (!loader.active) {
                                return Answers{Ack()};
                            }
                            if (!loader.written) {
                                return Answers{Nak()};
                            }
                            if (!loader.receivedVersion.empty()) {
                                state.programVersion = loader.receivedVersion;
                            }
                            const LoaderOptions options = loader.options;
                            loader = LoaderState{};
                            loader.options = options;
                            return Answers{Ack()};
                        });
}

} // namespace varnolt::sim
